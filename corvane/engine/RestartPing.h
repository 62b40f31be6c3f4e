// The ping loop of the wait for a restarted device, on clocks and probes of the caller's
// choice (program time in the engine).
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>

namespace otherparam {

struct RestartPing {
    int limitMs = 60000; // how long the device is pinged, from the first ping's start
    int pauseMs = 1000;  // from the start of one ping to the start of the next
    int answers = 9;     // answers that count as "back"

    // True at the answer that completes the count; false when the time is up or sleep(ms)
    // returns false (the engine is stopping).
    bool run(const std::function<bool()>& ping, const std::function<std::uint64_t()>& now,
             const std::function<bool(int)>& sleep) const {
        const std::uint64_t start = now();
        int answered = 0;
        std::uint64_t due = start;
        while (now() - start < static_cast<std::uint64_t>(limitMs)) {
            if (ping() && ++answered >= answers)
                return true;
            // One ping per pause, counted from the start of the last one: a slow probe does not
            // stretch the wait, and a late one is not made up for by a burst.
            const std::uint64_t t = now();
            due = std::max(due + static_cast<std::uint64_t>(pauseMs), t);
            if (!sleep(static_cast<int>(due - t)))
                return false;
        }
        return false;
    }
};

} // namespace otherparam
