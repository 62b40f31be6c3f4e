// A mutex whose waits can end at a deadline, built on a plain mutex and a condition variable (the
// thread checkers follow these; a timed mutex's clock-based lock they may not).
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace tremix {

class DeadlineMutex {
public:
    void lock() {
        std::unique_lock<std::mutex> state(m_state);
        m_free.wait(state, [this] { return !m_held; });
        m_held = true;
    }
    bool try_lock() {
        std::lock_guard<std::mutex> state(m_state);
        if (m_held)
            return false;
        m_held = true;
        return true;
    }
    template <typename Rep, typename Period>
    bool try_lock_for(const std::chrono::duration<Rep, Period>& wait) {
        std::unique_lock<std::mutex> state(m_state);
        if (!m_free.wait_for(state, wait, [this] { return !m_held; }))
            return false;
        m_held = true;
        return true;
    }
    void unlock() {
        {
            std::lock_guard<std::mutex> state(m_state);
            m_held = false;
        }
        m_free.notify_one();
    }

private:
    std::mutex m_state;
    std::condition_variable m_free;
    bool m_held = false;
};

} // namespace tremix
