// A plain (non-recursive) mutex of the thread library.
#pragma once

#include <chrono>
#include <mutex>
#include <thread>

namespace ThreadLib {

class ThreadMutex {
public:
    ThreadMutex() = default;
    ThreadMutex(const ThreadMutex&) = delete;
    ThreadMutex& operator=(const ThreadMutex&) = delete;

    void Lock() { m_mutex.lock(); }
    void Unlock() { m_mutex.unlock(); }
    bool TryLock() { return m_mutex.try_lock(); }
    // Waits at most that long for the lock; true when it is held. Polls (a timed wait of the
    // system's would hide the lock from ThreadSanitizer).
    bool TryLockFor(std::chrono::nanoseconds wait) {
        const auto until = std::chrono::steady_clock::now() + wait;
        for (int tries = 0;; ++tries) {
            if (m_mutex.try_lock())
                return true;
            if (std::chrono::steady_clock::now() >= until)
                return false;
            if (tries < 64)
                std::this_thread::yield();
            else
                std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }

    // BasicLockable, so that std::lock_guard<ThreadMutex> works.
    void lock() { Lock(); }
    void unlock() { Unlock(); }

private:
    std::mutex m_mutex;
};

} // namespace ThreadLib
