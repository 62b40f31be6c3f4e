// One device's results of the other-parameter run.
#pragma once

#include <cstddef>
#include <cstdint>

// Family index order: 0 TCP/IP, 1 Port, 2 DDNS, 3 P2P, 4 GB28181, 5 Video, 6 Audio, 7 OSD,
// 8 Image, 9 Privacy Mask, 10 Motion Detect, 11 Account, 12 Time, 13 Maintain, 14 Audio Board.
struct OtherParamResultInfo {
    std::int32_t flags[15];   // copy of the run's enable flags
    std::int32_t results[15]; // 0 pending, 1 success, 2 failed, 3 timed out
    char ip[16];              // address when the run started
    char mac[18];             // key for all lookups
    std::int32_t kind;        // 7
};
static_assert(sizeof(OtherParamResultInfo) == 160, "OtherParamResultInfo layout");
static_assert(offsetof(OtherParamResultInfo, results) == 60, "OtherParamResultInfo layout");
static_assert(offsetof(OtherParamResultInfo, ip) == 120, "OtherParamResultInfo layout");
static_assert(offsetof(OtherParamResultInfo, mac) == 136, "OtherParamResultInfo layout");
static_assert(offsetof(OtherParamResultInfo, kind) == 156, "OtherParamResultInfo layout");
