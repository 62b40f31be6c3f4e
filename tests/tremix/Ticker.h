// Records when the process ran (see stalledNs), for bounds that must not count the machine's stalls.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// Records when the process ran: a tick every millisecond. A gap between ticks is time the machine
// gave none of it to this process, which a call's bound does not count.
class Ticker {
public:
    Ticker() : m_thread([this] { run(); }) {}
    ~Ticker() {
        m_stop.store(true);
        m_thread.join();
    }
    // Of [from, to], the time this process stood still.
    std::uint64_t stalledNs(std::uint64_t from, std::uint64_t to) {
        std::lock_guard<std::mutex> lock(m_lock);
        std::uint64_t stalled = 0;
        for (std::size_t i = 1; i < m_ticks.size(); ++i) {
            const std::uint64_t a = std::max(m_ticks[i - 1], from), b = std::min(m_ticks[i], to);
            if (b > a && b - a > kTickNs)
                stalled += b - a - kTickNs;
        }
        return stalled;
    }

private:
    static constexpr std::uint64_t kTickNs = 2'000'000;
    void run() {
        while (!m_stop.load()) {
            {
                std::lock_guard<std::mutex> lock(m_lock);
                m_ticks.push_back(
                    static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                   std::chrono::steady_clock::now().time_since_epoch())
                                                   .count()));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    std::atomic<bool> m_stop{false};
    std::mutex m_lock;
    std::vector<std::uint64_t> m_ticks;
    std::thread m_thread;
};
