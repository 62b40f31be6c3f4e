// LAN search library records: the answer for one found camera and the network-information
// change request and answer. Little-endian, packed, byte layouts fixed.
#pragma once

#include <cstddef>
#include <cstdint>

// Tag of every search and modify record.
constexpr char DSC_TAG[] = "searching..";
constexpr std::uint8_t DSC_TYPE_FOUND = 11;
constexpr std::uint8_t DSC_TYPE_MODIFY_REQUEST = 12;
constexpr std::uint8_t DSC_TYPE_MODIFY_RESPONSE = 14;

// Change-mask bits of a modify request.
constexpr std::uint32_t DSC_CHANGE_DHCP = 2;
constexpr std::uint32_t DSC_CHANGE_IP = 4;
constexpr std::uint32_t DSC_CHANGE_MASK = 8;
constexpr std::uint32_t DSC_CHANGE_GATEWAY = 16;
constexpr std::uint32_t DSC_CHANGE_FULL_NETCOM = 256;

#pragma pack(push, 1)

// One found camera. The ports are in network byte order as delivered.
struct DSC_SEARCH_RESPONSE_INFO {
    char tag[12];      // 0: "searching.."
    std::uint8_t type; // 12: 11 = found device
    std::uint8_t reserved13[7];
    std::uint8_t dhcp; // 20
    std::uint8_t reserved21;
    std::uint8_t fullNetcom;  // 22
    std::uint8_t column3Flag; // 23
    char ip[16];              // 24
    char mask[16];            // 40
    char gateway[16];         // 56
    char dns[16];             // 72
    std::uint8_t reserved88[16];
    char mac[18]; // 104
    std::uint8_t reserved122[118];
    std::uint32_t httpPort; // 240
    std::uint32_t rtspPort; // 244
    std::uint8_t reserved248[48];
    std::uint8_t number296; // 296
    std::uint8_t reserved297[3];
    std::uint32_t number300; // 300
    char deviceType[16];     // 304: "IPCAMERA"
    std::uint8_t reserved320[64];
    char text384[64];  // 384
    char serial[32];   // 448
    char user[32];     // 480
    char password[32]; // 512
};
static_assert(sizeof(DSC_SEARCH_RESPONSE_INFO) == 544, "DSC_SEARCH_RESPONSE_INFO size");
static_assert(offsetof(DSC_SEARCH_RESPONSE_INFO, type) == 12 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, dhcp) == 20 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, fullNetcom) == 22 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, column3Flag) == 23,
              "DSC_SEARCH_RESPONSE_INFO flags");
static_assert(offsetof(DSC_SEARCH_RESPONSE_INFO, ip) == 24 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, mask) == 40 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, gateway) == 56 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, dns) == 72 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, mac) == 104,
              "DSC_SEARCH_RESPONSE_INFO addresses");
static_assert(offsetof(DSC_SEARCH_RESPONSE_INFO, httpPort) == 240 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, rtspPort) == 244 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, number296) == 296 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, number300) == 300 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, deviceType) == 304,
              "DSC_SEARCH_RESPONSE_INFO numbers");
static_assert(offsetof(DSC_SEARCH_RESPONSE_INFO, text384) == 384 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, serial) == 448 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, user) == 480 &&
                  offsetof(DSC_SEARCH_RESPONSE_INFO, password) == 512,
              "DSC_SEARCH_RESPONSE_INFO texts");

// Network-information change request (KVX_NET_ModifyNetInfo).
struct DSC_MODIFY_NETINFO_REQUEST {
    char tag[12];      // 0: "searching.."
    std::uint8_t type; // 12: 12 = request
    std::uint8_t reserved13[3];
    char access[16];          // 16
    char mac[18];             // 32
    char ip[16];              // 50: current address
    char mac2[18];            // 66
    std::uint32_t changeMask; // 84: DSC_CHANGE_*
    std::uint8_t dhcp;        // 88
    std::uint8_t reserved89;
    std::uint8_t fullNetcom; // 90
    std::uint8_t reserved91;
    char newIp[16];    // 92
    char mask[16];     // 108
    char gateway[16];  // 124
    char address4[16]; // 140
    std::uint8_t reserved156[16];
    char mac3[18]; // 172
    std::uint8_t reserved190[18];
    std::uint32_t reserved208; // 208
    std::uint8_t reserved212[148];
    char user[32];     // 360
    char password[32]; // 392
};
static_assert(sizeof(DSC_MODIFY_NETINFO_REQUEST) == 424, "DSC_MODIFY_NETINFO_REQUEST size");
static_assert(offsetof(DSC_MODIFY_NETINFO_REQUEST, access) == 16 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, mac) == 32 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, ip) == 50 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, mac2) == 66 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, changeMask) == 84,
              "DSC_MODIFY_NETINFO_REQUEST head");
static_assert(offsetof(DSC_MODIFY_NETINFO_REQUEST, dhcp) == 88 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, fullNetcom) == 90 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, newIp) == 92 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, mask) == 108 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, gateway) == 124 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, address4) == 140,
              "DSC_MODIFY_NETINFO_REQUEST change");
static_assert(offsetof(DSC_MODIFY_NETINFO_REQUEST, mac3) == 172 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, reserved208) == 208 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, user) == 360 &&
                  offsetof(DSC_MODIFY_NETINFO_REQUEST, password) == 392,
              "DSC_MODIFY_NETINFO_REQUEST tail");

// Answer of one camera to a change request.
struct DSC_MODIFY_NETINFO_RESPONSE {
    char tag[12];        // 0: "searching.."
    std::uint8_t type;   // 12: 14 = response
    std::uint8_t result; // 13: 0 = applied
    std::uint8_t reserved14[18];
    char mac[20];            // 32
    std::int32_t changeMask; // 52
    std::uint8_t dhcp;       // 56
    std::uint8_t reserved57;
    std::uint8_t fullNetcom;  // 58
    std::uint8_t column3Flag; // 59
    char newIp[16];           // 60
    std::uint8_t reserved76[64];
    char mac2[18]; // 140
    std::uint8_t reserved158[266];
};
static_assert(sizeof(DSC_MODIFY_NETINFO_RESPONSE) == 424, "DSC_MODIFY_NETINFO_RESPONSE size");
static_assert(offsetof(DSC_MODIFY_NETINFO_RESPONSE, result) == 13 &&
                  offsetof(DSC_MODIFY_NETINFO_RESPONSE, mac) == 32 &&
                  offsetof(DSC_MODIFY_NETINFO_RESPONSE, changeMask) == 52 &&
                  offsetof(DSC_MODIFY_NETINFO_RESPONSE, dhcp) == 56 &&
                  offsetof(DSC_MODIFY_NETINFO_RESPONSE, fullNetcom) == 58 &&
                  offsetof(DSC_MODIFY_NETINFO_RESPONSE, column3Flag) == 59 &&
                  offsetof(DSC_MODIFY_NETINFO_RESPONSE, newIp) == 60 &&
                  offsetof(DSC_MODIFY_NETINFO_RESPONSE, mac2) == 140,
              "DSC_MODIFY_NETINFO_RESPONSE layout");

#pragma pack(pop)
