// Camera SDK records. Little-endian, byte layouts fixed; reserved bytes are the SDK's own.
// Records without pointers are packed and checked byte by byte below.
#pragma once

#include <cstddef>
#include <cstdint>

// Messages of the login record's callback.
constexpr int KVX_MSG_UPGRADE_PROGRESS = 1280; // param: int* percentage
constexpr int KVX_MSG_UPGRADE_DONE = 1281;
constexpr int KVX_MSG_UPGRADE_FAILED = 1282;
constexpr int KVX_MSG_LOGIN_OK = 1536;
constexpr int KVX_MSG_LOGIN_FAILED = 1537;

// Result of KVX_NET_GetUpgradeFileProperty for a rejected package.
constexpr int KVX_UPGRADE_PACKAGE_REJECTED = 2;

// Protocol codes of KvxAgreementProperty::protocol.
constexpr std::uint8_t KVX_AGREEMENT_RTSP = 1;
constexpr std::uint8_t KVX_AGREEMENT_ONVIF = 8;
constexpr std::uint8_t KVX_AGREEMENT_HTTP = 16;
constexpr std::uint8_t KVX_AGREEMENT_HTTPS = 64;

// Message callback: (login handle, message, parameter, user pointer of the login record).
typedef void (*KvxMessageCallBack)(int loginHandle, int message, void* param, void* user);

// Login record of KVX_NET_Login. Holds pointers, so it keeps the natural layout of the
// platform; every field before the pointers sits at its fixed offset.
struct KvxLoginInfo {
    char address[128];           // 0
    std::uint32_t port;          // 128
    std::uint32_t stream;        // 132: 0 main, 1 sub
    char user[32];               // 136
    char password[32];           // 168
    std::uint32_t window;        // 200: native window id for the video, 0 for none
    std::uint8_t flag204;        // 204
    std::uint8_t reserved205;    // 205
    std::uint8_t flag206;        // 206
    std::uint8_t deviceTypeFlag; // 207: 0 "IPCAMERA", 1 other
    std::uint8_t flag208;        // 208
    std::uint8_t reserved209;    // 209
    std::uint16_t flag210;       // 210
    std::uint8_t reserved212[4]; // 212
    void* userData;              // 216: handed back to the callback
    KvxMessageCallBack callback; // the login's message callback
};
static_assert(offsetof(KvxLoginInfo, port) == 128, "KvxLoginInfo layout");
static_assert(offsetof(KvxLoginInfo, stream) == 132, "KvxLoginInfo layout");
static_assert(offsetof(KvxLoginInfo, user) == 136, "KvxLoginInfo layout");
static_assert(offsetof(KvxLoginInfo, password) == 168, "KvxLoginInfo layout");
static_assert(offsetof(KvxLoginInfo, window) == 200, "KvxLoginInfo layout");
static_assert(offsetof(KvxLoginInfo, flag204) == 204, "KvxLoginInfo layout");
static_assert(offsetof(KvxLoginInfo, flag206) == 206, "KvxLoginInfo layout");
static_assert(offsetof(KvxLoginInfo, deviceTypeFlag) == 207, "KvxLoginInfo layout");
static_assert(offsetof(KvxLoginInfo, flag208) == 208, "KvxLoginInfo layout");
static_assert(offsetof(KvxLoginInfo, flag210) == 210, "KvxLoginInfo layout");
static_assert(offsetof(KvxLoginInfo, userData) == 216, "KvxLoginInfo layout");

#pragma pack(push, 1)

// OSD record (KVX_NET_GetOSD2 / KVX_NET_SetOSD2); also carries mirroring and shutter.
struct KvxOsdInfo {
    std::uint8_t reserved0;
    std::uint8_t mirror;  // 1
    std::uint8_t shutter; // 2
    std::uint8_t reserved3[5];
    std::uint8_t position;   // 8
    std::uint8_t showTime;   // 9
    std::uint8_t dateFormat; // 10
    std::uint8_t showText;   // 11
    char text[201];          // 12: local 8-bit (GBK)
};
static_assert(sizeof(KvxOsdInfo) == 213, "KvxOsdInfo size");
static_assert(offsetof(KvxOsdInfo, position) == 8 && offsetof(KvxOsdInfo, text) == 12, "KvxOsdInfo layout");

// Time record (KVX_NET_GetTimeParam / KVX_NET_SetTimeParam). The SDK reads and writes the
// first KVX_TIME_PARAM_SDK_BYTES bytes; the last byte is the caller's.
constexpr std::size_t KVX_TIME_PARAM_SDK_BYTES = 212;
struct KvxTimeParam {
    std::uint16_t year;        // 0
    std::uint8_t month;        // 2
    std::uint8_t day;          // 3
    std::uint8_t hour;         // 4
    std::uint8_t minute;       // 5
    std::uint8_t second;       // 6
    std::uint8_t updateMethod; // 7
    std::uint8_t timeZone;     // 8
    std::uint8_t nvrSync;      // 9
    std::uint8_t ntpFlags;     // 10
    std::uint8_t ntpInterval;  // 11
    char ntpServer[200];       // 12
    std::uint8_t reserved212;  // 212
};
static_assert(sizeof(KvxTimeParam) == 213, "KvxTimeParam size");
static_assert(offsetof(KvxTimeParam, updateMethod) == 7 && offsetof(KvxTimeParam, ntpServer) == 12,
              "KvxTimeParam layout");

// Restore record (KVX_NET_RestoreDefaultNew): full = 0 simple recovery, 1 full recovery.
struct KvxRestoreInfo {
    std::uint8_t reserved0;
    std::uint8_t full; // 1
    std::uint8_t reserved2[254];
};
static_assert(sizeof(KvxRestoreInfo) == 256, "KvxRestoreInfo size");

// Storage record (KVX_NET_GetStorageInfo2).
struct KvxStorageInfo {
    std::uint8_t reserved0;
    std::uint8_t cardUnavailable; // 1: 1 = no usable card
    std::uint8_t reserved2[2];
    std::uint32_t totalCapacity; // 4
    std::uint32_t freeCapacity;  // 8
    std::uint8_t reserved12[4];
};
static_assert(sizeof(KvxStorageInfo) == 16, "KvxStorageInfo size");
static_assert(offsetof(KvxStorageInfo, totalCapacity) == 4 && offsetof(KvxStorageInfo, freeCapacity) == 8,
              "KvxStorageInfo layout");

// CPLD block (KVX_NET_GetCpldData / KVX_NET_SetCpldData).
constexpr std::uint32_t KVX_CPLD_TEN_ZOOM_ON = 0x01060001u;
struct KvxCpldData {
    std::uint8_t reserved0[144];
    std::uint32_t tenZoom; // 144
    std::uint8_t reserved148[124];
    std::uint32_t audioInput; // 272
    std::uint8_t reserved276[28];
    std::uint32_t lightBoard; // 304
    std::uint8_t reserved308[3788];
};
static_assert(sizeof(KvxCpldData) == 4096, "KvxCpldData size");
static_assert(offsetof(KvxCpldData, tenZoom) == 144 && offsetof(KvxCpldData, audioInput) == 272 &&
                  offsetof(KvxCpldData, lightBoard) == 304,
              "KvxCpldData layout");

// Upgrade file property record (KVX_NET_GetUpgradeFileProperty): the package's first bytes.
struct KvxUpgradeFileProperty {
    std::uint8_t reserved0[8];
    std::uint8_t header[1024]; // 8
};
static_assert(sizeof(KvxUpgradeFileProperty) == 1032, "KvxUpgradeFileProperty size");

// Network property record (KVX_NET_GetNetPropertyEx / KVX_NET_SetNetPropertyEx).
struct KvxNetProperty {
    std::uint8_t reserved0[2];
    std::uint8_t dhcp; // 2
    std::uint8_t reserved3[13];
    char ip[16];      // 16
    char mask[16];    // 32
    char gateway[16]; // 48
    char dns[16];     // 64
    std::uint8_t reserved80[168];
    std::uint8_t fullNetcom; // 248
    std::uint8_t reserved249[35];
};
static_assert(sizeof(KvxNetProperty) == 284, "KvxNetProperty size");
static_assert(offsetof(KvxNetProperty, ip) == 16 && offsetof(KvxNetProperty, dns) == 64 &&
                  offsetof(KvxNetProperty, fullNetcom) == 248,
              "KvxNetProperty layout");

// One protocol's port (KVX_NET_SetAgreementProperty).
struct KvxAgreementProperty {
    std::uint8_t enable;   // 0
    std::uint8_t protocol; // 1: KVX_AGREEMENT_*
    std::uint16_t port;    // 2
    std::uint8_t reserved4;
    std::uint8_t onvifEnable; // 5
};
static_assert(sizeof(KvxAgreementProperty) == 6, "KvxAgreementProperty size");

// DDNS record (KVX_NET_GetDDNS2 / KVX_NET_SetDDNS2).
struct KvxDdnsInfo {
    std::uint8_t enable;   // 0
    std::uint8_t provider; // 1
    std::uint8_t reserved2[38];
    char domain[32]; // 40
    std::uint8_t reserved72[32];
    char user[32];     // 104
    char password[32]; // 136
    std::uint8_t reserved168[40];
};
static_assert(sizeof(KvxDdnsInfo) == 208, "KvxDdnsInfo size");
static_assert(offsetof(KvxDdnsInfo, domain) == 40 && offsetof(KvxDdnsInfo, user) == 104 &&
                  offsetof(KvxDdnsInfo, password) == 136,
              "KvxDdnsInfo layout");

// P2P record (KVX_NET_GetP2P / KVX_NET_SetP2P).
struct KvxP2pInfo {
    std::uint8_t enable; // 0
    std::uint8_t reserved1[619];
};
static_assert(sizeof(KvxP2pInfo) == 620, "KvxP2pInfo size");

// GB28181 record (KVX_NET_GetGB28181Params / KVX_NET_SetGB28181Params).
struct KvxGb28181Params {
    std::uint8_t reserved0;
    std::uint8_t enable;       // 1
    std::uint8_t accessMethod; // 2
    std::uint8_t reserved3;
    char serverId[40];         // 4
    char serverDomain[40];     // 44
    char serverAddress[20];    // 84
    std::int32_t serverPort;   // 104
    char user[40];             // 108
    char authId[40];           // 148
    char password[40];         // 188
    std::int32_t localSipPort; // 228
    std::uint8_t reserved232[40];
    std::uint8_t status;    // 272
    std::uint8_t stream;    // 273
    std::uint8_t transport; // 274
    std::uint8_t reserved275;
    std::int32_t regValidity;          // 276
    std::int32_t heartbeatPeriod;      // 280
    std::int32_t regInterval;          // 284
    std::int32_t maxHeartbeatTimeouts; // 288
    char alarmId[40];                  // 292
    std::uint8_t reserved332[692];
};
static_assert(sizeof(KvxGb28181Params) == 1024, "KvxGb28181Params size");
static_assert(offsetof(KvxGb28181Params, serverPort) == 104 &&
                  offsetof(KvxGb28181Params, localSipPort) == 228 &&
                  offsetof(KvxGb28181Params, status) == 272 &&
                  offsetof(KvxGb28181Params, regValidity) == 276 &&
                  offsetof(KvxGb28181Params, alarmId) == 292,
              "KvxGb28181Params layout");

// One entry of an encoding scope table.
struct KvxScopeEntry {
    std::uint32_t width;  // 0
    std::uint32_t height; // 4
    std::uint8_t reserved8[8];
    std::uint32_t maxFrameRate; // 16
    std::uint8_t reserved20[44];
};
static_assert(sizeof(KvxScopeEntry) == 64, "KvxScopeEntry size");

// One stream's block of the encoding scope record.
struct KvxEncodingScopeBlock {
    std::uint8_t reserved0[33];
    std::uint8_t codec1Count; // 33
    std::uint8_t reserved34[6];
    KvxScopeEntry codec1[9]; // 40
    std::uint8_t reserved616[61];
    std::uint8_t codec2Count; // 677
    std::uint8_t reserved678[6];
    KvxScopeEntry codec2[20]; // 684
};
static_assert(sizeof(KvxEncodingScopeBlock) == 1964, "KvxEncodingScopeBlock size");
static_assert(offsetof(KvxEncodingScopeBlock, codec1) == 40 &&
                  offsetof(KvxEncodingScopeBlock, codec2Count) == 677 &&
                  offsetof(KvxEncodingScopeBlock, codec2) == 684,
              "KvxEncodingScopeBlock layout");

// Encoding scope record (KVX_NET_GetEncodingScopeProperty): main stream, sub stream, third.
struct KvxEncodingScope {
    KvxEncodingScopeBlock block[3];
};
static_assert(sizeof(KvxEncodingScope) == 5892, "KvxEncodingScope size");

// One stream's encoding entry.
struct KvxStreamEncoding {
    std::uint8_t codec; // 0: 0 first codec, 1 second codec
    std::uint8_t reserved1[3];
    std::uint16_t width;          // 4
    std::uint16_t height;         // 6
    std::uint16_t frameRate;      // 8
    std::uint16_t bitrate;        // 10
    std::uint16_t iFrameInterval; // 12
    std::uint8_t bitrateMode;     // 14
    std::uint8_t reserved15;
    std::uint8_t h265Plus; // 16
    std::uint8_t reserved17[47];
};
static_assert(sizeof(KvxStreamEncoding) == 64, "KvxStreamEncoding size");
static_assert(offsetof(KvxStreamEncoding, bitrateMode) == 14 && offsetof(KvxStreamEncoding, h265Plus) == 16,
              "KvxStreamEncoding layout");

// Video property record (KVX_NET_GetEncodingPropertyPro / KVX_NET_SetEncodingPropertyPro).
struct KvxEncodingPropertyPro {
    std::uint8_t reserved0[64];
    KvxStreamEncoding mainStream; // 64
    KvxStreamEncoding subStream;  // 128
    std::uint8_t reserved192[64];
};
static_assert(sizeof(KvxEncodingPropertyPro) == 256, "KvxEncodingPropertyPro size");

// Audio record (KVX_NET_GetAudioEx / KVX_NET_SetAudioEx).
struct KvxAudioInfo {
    std::uint8_t enable;       // 0
    std::uint8_t outputVolume; // 1
    std::uint8_t inputVolume;  // 2
    std::uint8_t input;        // 3
    std::uint8_t reserved4;
};
static_assert(sizeof(KvxAudioInfo) == 5, "KvxAudioInfo size");

// Audio encoding record (KVX_NET_GetEncodingProperty2 / KVX_NET_SetEncodingProperty2).
struct KvxAudioEncoding {
    std::uint8_t selector; // 0: 52 = audio stream
    std::uint8_t reserved1;
    std::uint8_t codec; // 2
    std::uint8_t reserved3[15];
};
static_assert(sizeof(KvxAudioEncoding) == 18, "KvxAudioEncoding size");

// Fill-light record (KVX_NET_GetFillLightSettings / KVX_NET_SetFillLightSettings).
struct KvxFillLightSettings {
    std::int32_t dawnTime; // 0
    std::int32_t darkTime; // 4
    std::uint8_t reserved8;
    std::uint8_t mode;       // 9
    std::uint8_t brightness; // 10
    std::uint8_t reserved11;
    std::uint8_t sensitivity; // 12
    std::uint8_t filterTime;  // 13
    std::uint8_t reserved14;
    std::uint8_t autoLight; // 15
    std::uint8_t reserved16;
    std::uint8_t keepColor; // 17
    std::uint8_t reserved18[18];
};
static_assert(sizeof(KvxFillLightSettings) == 36, "KvxFillLightSettings size");
static_assert(offsetof(KvxFillLightSettings, mode) == 9 && offsetof(KvxFillLightSettings, keepColor) == 17,
              "KvxFillLightSettings layout");

// Video-parameter record (KVX_NET_ClientGetVideoParam2 / KVX_NET_ClientSetVideoParam2).
struct KvxVideoParam {
    std::uint8_t reserved0[2];
    std::uint8_t luminance;    // 2
    std::uint8_t contrast;     // 3
    std::uint8_t saturation;   // 4
    std::uint8_t sharpness;    // 5
    std::uint8_t gain;         // 6
    std::uint8_t redGain;      // 7
    std::uint8_t greenGain;    // 8
    std::uint8_t blueGain;     // 9
    std::uint8_t whiteBalance; // 10
    std::uint8_t blc;          // 11
    std::uint8_t backlight;    // 12
    std::uint8_t exposureMode; // 13
    std::uint8_t wdrOn;        // 14
    std::uint8_t wdrLevel;     // 15
    std::uint8_t reserved16;
    std::uint8_t flicker; // 17
    std::uint8_t nrMode;  // 18
    std::uint8_t nr2d;    // 19
    std::uint8_t reserved20;
    std::uint8_t nr3d;        // 21
    std::uint8_t dehazeMode;  // 22
    std::uint8_t dehazeLevel; // 23
    std::uint8_t reserved24[6];
    std::uint8_t distortion;      // 30
    std::uint8_t distortionLevel; // 31
    std::uint8_t autoGain;        // 32
    std::uint8_t reserved33[3];
};
static_assert(sizeof(KvxVideoParam) == 36, "KvxVideoParam size");
static_assert(offsetof(KvxVideoParam, flicker) == 17 && offsetof(KvxVideoParam, nr3d) == 21 &&
                  offsetof(KvxVideoParam, autoGain) == 32,
              "KvxVideoParam layout");

// Privacy areas in percent of the frame (KVX_NET_ClientGetVideoCover / ...SetVideoCover).
struct KvxCoverArea {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};
struct KvxVideoCover {
    std::uint8_t reserved0[12];
    KvxCoverArea areas[3]; // 12
    std::uint8_t reserved60[144];
};
static_assert(sizeof(KvxVideoCover) == 204, "KvxVideoCover size");
static_assert(offsetof(KvxVideoCover, areas) == 12, "KvxVideoCover layout");

// Motion record (KVX_NET_ClientGetMDInfoEx2 / KVX_NET_ClientSetMDInfoEx2).
struct KvxMotionDetectInfo {
    std::uint8_t reserved0;
    std::uint8_t enable;      // 1
    std::uint8_t sensitivity; // 2
    std::uint8_t reserved3[5];
    std::uint32_t area[32]; // 8
    std::uint8_t reserved136[388];
};
static_assert(sizeof(KvxMotionDetectInfo) == 524, "KvxMotionDetectInfo size");
static_assert(offsetof(KvxMotionDetectInfo, area) == 8, "KvxMotionDetectInfo layout");

// Alarm record (KVX_NET_GetAlarmPropertyEx / KVX_NET_SetAlarmPropertyEx).
struct KvxAlarmProperty {
    std::uint8_t byte0; // 0
    std::uint8_t byte1; // 1
    std::uint8_t reserved2[30];
    std::uint8_t schedule[448]; // 32: 7 days x 8 periods x 8 bytes
    std::uint8_t reserved480[80];
};
static_assert(sizeof(KvxAlarmProperty) == 560, "KvxAlarmProperty size");
static_assert(offsetof(KvxAlarmProperty, schedule) == 32, "KvxAlarmProperty layout");

// Account record (KVX_NET_UserConfig).
struct KvxUserConfig {
    char user[32];         // 0
    char password[32];     // 32
    std::uint8_t userType; // 64
    std::uint8_t reserved65[7];
};
static_assert(sizeof(KvxUserConfig) == 72, "KvxUserConfig size");

// Summer-time record (KVX_NET_GetDstProperty / KVX_NET_SetDstProperty).
struct KvxDstProperty {
    std::uint8_t enable; // 0
    std::uint8_t reserved1;
    std::uint8_t startMonth; // 2
    std::uint8_t reserved3;
    std::uint8_t startHour;    // 4
    std::uint8_t startWeekday; // 5
    std::uint8_t startWeek;    // 6
    std::uint8_t reserved7[16];
    std::uint8_t endMonth; // 23
    std::uint8_t reserved24;
    std::uint8_t endHour;    // 25
    std::uint8_t endWeekday; // 26
    std::uint8_t endWeek;    // 27
    std::uint8_t reserved28[16];
    std::uint8_t offsetMinutes; // 44
    std::uint8_t reserved45[16];
};
static_assert(sizeof(KvxDstProperty) == 61, "KvxDstProperty size");
static_assert(offsetof(KvxDstProperty, endMonth) == 23 && offsetof(KvxDstProperty, endWeek) == 27 &&
                  offsetof(KvxDstProperty, offsetMinutes) == 44,
              "KvxDstProperty layout");

// Timed-restart record (KVX_NET_GetSystemRebootExProperty / ...SetSystemRebootExProperty).
struct KvxRebootExProperty {
    std::uint8_t enable;  // 0
    std::uint8_t period;  // 1
    std::uint8_t day;     // 2
    std::uint8_t hour;    // 3
    std::uint8_t minute;  // 4
    std::uint8_t spare;   // 5
    std::uint8_t weekday; // 6
    std::uint8_t reserved7[57];
};
static_assert(sizeof(KvxRebootExProperty) == 64, "KvxRebootExProperty size");

// PTZ command record (KVX_NET_PTZCtrl).
struct KvxPtzCommand {
    std::uint8_t stream;  // 0
    std::uint8_t command; // 1: 0 stops the movement
    std::uint8_t reserved2;
};
static_assert(sizeof(KvxPtzCommand) == 3, "KvxPtzCommand size");

#pragma pack(pop)
