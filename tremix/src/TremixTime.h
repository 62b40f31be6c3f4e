// The library's waits and their time scale (TREMIX_TIME_SCALE), all on a steady clock.
#pragma once

#include <cstdint>

namespace tremix {

constexpr std::uint64_t kHeartbeatMs = 5000;
constexpr std::uint64_t kRequestWaitMs = 10000;
constexpr std::uint64_t kSilenceLimitMs = 50000;
// Socket time-outs never go below this (0 would mean "block forever").
constexpr std::uint64_t kMinSocketWaitMs = 20;

// TREMIX_TIME_SCALE, read once (a number in (0, 1000], else 1), unless overridden.
double timeScale();
// Overrides the scale for this process; <= 0 restores the environment's value.
void setTimeScale(double scale);
// A library time span in real milliseconds.
std::uint64_t scaledMs(std::uint64_t ms);
// The connect and socket time-out in real milliseconds for a wait time in milliseconds.
int socketWaitMs(int waitMs);
// Real milliseconds on a steady clock.
std::uint64_t nowMs();
// Real nanoseconds on the same clock.
std::uint64_t nowNs();

} // namespace tremix
