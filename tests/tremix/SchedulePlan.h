// The plan of a random schedule (ScheduleTest.cpp): its times, calls and the adversary's events.
#pragma once

#include "harness/Slowdown.h"

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace schedule {

// The request wait W is 20 ms of real time at this scale, the silence limit L 100 ms.
inline const double kScale = 0.002 * harness::kSlowdown;
inline const std::uint64_t kW = static_cast<std::uint64_t>(10e9 * kScale);
inline const std::uint64_t kL = 5 * kW;
// A call returns within one question wait and one request wait; what a loaded machine adds.
inline const std::uint64_t kCallBound = 2 * kW;
inline const std::uint64_t kSlack = kW / 2 + static_cast<std::uint64_t>(30e6 * harness::kSlowdown);
// A question closes within the silence limit, plus one request wait for an incomplete frame that
// holds the bytes behind it.
inline const std::uint64_t kBlockBound = kL + 2 * kW;

inline std::uint64_t nowNs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

inline const char* const kDevListKey = "#device_list";

// A MAC in its five spellings: as the operator's table has it, lower case, dashes, bare, and with
// a trailing space.
std::vector<std::string> spellings(std::uint64_t seed, int device);

struct Action {
    bool devList = false;
    int device = 0;
    int spelling = 0;
    std::uint64_t pauseNs = 0;
    int disturb = 0; // just before the send: 0 nothing, 1 drop the link, 2 wait for it to be up
};

struct Event {
    // The last four are attacks of their own on one device (see Schedule::attack).
    enum Kind { Reconnect, Broken, Garbage, Push, Relogin, Early, Stream, Stall, Alias } kind;
    std::uint64_t atNs = 0;
    int device = 0;
    int spelling = 0;
    bool ok = true;
};

struct Plan {
    int devices = 0;
    std::vector<std::vector<Action>> threads;
    std::vector<Event> events;
};

inline std::uint64_t uniform(std::mt19937_64& rng, std::uint64_t from, std::uint64_t to) {
    return from + (to > from ? rng() % (to - from) : 0);
}

// The plan of a seed.
Plan makePlan(std::uint64_t seed);

} // namespace schedule
