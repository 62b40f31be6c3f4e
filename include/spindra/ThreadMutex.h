// A plain (non-recursive) mutex of the thread library.
#pragma once

#include <chrono>
#include <mutex>

namespace ThreadLib {

class ThreadMutex {
public:
    ThreadMutex() = default;
    ThreadMutex(const ThreadMutex&) = delete;
    ThreadMutex& operator=(const ThreadMutex&) = delete;

    void Lock() { m_mutex.lock(); }
    void Unlock() { m_mutex.unlock(); }
    bool TryLock() { return m_mutex.try_lock(); }
    // Waits at most that long for the lock; true when it is held.
    bool TryLockFor(std::chrono::nanoseconds wait) { return m_mutex.try_lock_for(wait); }

    // BasicLockable, so that std::lock_guard<ThreadMutex> works.
    void lock() { Lock(); }
    void unlock() { Unlock(); }

private:
    std::timed_mutex m_mutex;
};

} // namespace ThreadLib
