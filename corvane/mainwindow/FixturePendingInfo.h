// One checked device of an audio or GPIO detection through the test fixture.
#pragma once

#include <cstddef>
#include <cstdint>

#if __has_include("tremix/Tremix.h")
#include "tremix/Tremix.h" // FixtureGpioItem
#else
// One GPIO entry of a fixture test result, as the fixture library lays it out.
struct FixtureGpioItem {
    char name[20];
    char function[32];
    char status[16];
};
#endif
static_assert(sizeof(FixtureGpioItem) == 68, "FixtureGpioItem layout");
static_assert(offsetof(FixtureGpioItem, function) == 20, "FixtureGpioItem layout");
static_assert(offsetof(FixtureGpioItem, status) == 52, "FixtureGpioItem layout");

constexpr int kFixtureGpioMax = 128;

// A new record is all zeros before it is filled.
struct FixturePendingInfo {
    std::int32_t kind;      // 1 audio detection, 0 GPIO detection
    char ip[16];            // UTF-8 bytes
    char mac[18];           // UTF-8 bytes
    char audio[16];         // audio result text or "NOGET"; empty for GPIO
    std::int32_t gpioCount; // number of filled items, 0..128
    FixtureGpioItem gpio[kFixtureGpioMax];
    char result[16];     // GPIO: "OK", "NG" or "NOGET"; empty for audio
    std::int32_t start;  // seconds since 1970, low 32 bits
    std::int32_t status; // 4 waiting, 5 result got, 6 no result, 7 timed out
};
static_assert(sizeof(FixturePendingInfo) == 8788, "FixturePendingInfo layout");
static_assert(offsetof(FixturePendingInfo, audio) == 38, "FixturePendingInfo layout");
static_assert(offsetof(FixturePendingInfo, gpioCount) == 56, "FixturePendingInfo layout");
static_assert(offsetof(FixturePendingInfo, gpio) == 60, "FixturePendingInfo layout");
static_assert(offsetof(FixturePendingInfo, result) == 8764, "FixturePendingInfo layout");
static_assert(offsetof(FixturePendingInfo, start) == 8780, "FixturePendingInfo layout");
static_assert(offsetof(FixturePendingInfo, status) == 8784, "FixturePendingInfo layout");
