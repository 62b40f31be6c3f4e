// Per-device results of the engine's batches, read by the result tables.
#pragma once

#include <cstddef>
#include <cstdint>

// One device's result of a batch (time sync, OSD) or a pending reboot/recovery of the main
// window. A new record is all zeros.
struct DeviceResultInfo {
    std::uint32_t kind;      // operation kind; the engine leaves it 0
    char ip[16];             // NUL-terminated
    char mac[18];            // NUL-terminated; empty in the OSD batch
    std::int32_t status;     // 1 success, 2 failed, 3 no answer
    std::int32_t loginState; // used by the main window's pending list
};
static_assert(sizeof(DeviceResultInfo) == 48, "DeviceResultInfo layout");
static_assert(offsetof(DeviceResultInfo, ip) == 4, "DeviceResultInfo layout");
static_assert(offsetof(DeviceResultInfo, mac) == 20, "DeviceResultInfo layout");
static_assert(offsetof(DeviceResultInfo, status) == 40, "DeviceResultInfo layout");
static_assert(offsetof(DeviceResultInfo, loginState) == 44, "DeviceResultInfo layout");

// One device's SD-card check.
struct SdCardResultInfo {
    char ip[16];                  // NUL-terminated
    std::int32_t status;          // 1 read, 2 failed, 3 no answer
    std::uint8_t cardUnavailable; // 1 = no usable card
    std::uint32_t totalCapacity;
    std::uint32_t freeCapacity;
};
static_assert(sizeof(SdCardResultInfo) == 32, "SdCardResultInfo layout");
static_assert(offsetof(SdCardResultInfo, status) == 16, "SdCardResultInfo layout");
static_assert(offsetof(SdCardResultInfo, cardUnavailable) == 20, "SdCardResultInfo layout");
static_assert(offsetof(SdCardResultInfo, totalCapacity) == 24, "SdCardResultInfo layout");
static_assert(offsetof(SdCardResultInfo, freeCapacity) == 28, "SdCardResultInfo layout");
