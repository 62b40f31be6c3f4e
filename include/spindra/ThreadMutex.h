// A plain (non-recursive) mutex of the thread library.
#pragma once

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

    // BasicLockable, so that std::lock_guard<ThreadMutex> works.
    void lock() { Lock(); }
    void unlock() { Unlock(); }

private:
    std::mutex m_mutex;
};

} // namespace ThreadLib
