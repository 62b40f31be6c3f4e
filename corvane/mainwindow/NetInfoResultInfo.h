// One camera of a network-information batch (IP change, DHCP switch, full netcom).
#pragma once

#include <cstddef>
#include <cstdint>

// Zeroed when created.
struct NetInfoResultInfo {
    std::int32_t kind;       // 4 IP change / DHCP, 5 full netcom
    char ip[16];             // address when the request was sent
    char mac[18];            // key by which answers and notifications find the record
    std::int32_t status;     // 0 sent, 1 applied, 2 refused, 3 no answer in time
    std::int32_t loginState; // 0 none yet, 1001 logged in again, 1002 login failed, 1003 given up
    std::int32_t startTime;  // seconds since the epoch, low 32 bits
};
static_assert(sizeof(NetInfoResultInfo) == 52, "NetInfoResultInfo layout");
static_assert(offsetof(NetInfoResultInfo, ip) == 4, "NetInfoResultInfo layout");
static_assert(offsetof(NetInfoResultInfo, mac) == 20, "NetInfoResultInfo layout");
static_assert(offsetof(NetInfoResultInfo, status) == 40, "NetInfoResultInfo layout");
static_assert(offsetof(NetInfoResultInfo, loginState) == 44, "NetInfoResultInfo layout");
static_assert(offsetof(NetInfoResultInfo, startTime) == 48, "NetInfoResultInfo layout");
