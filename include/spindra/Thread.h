// One native thread, owned by the object that started it.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace ThreadLib {

class Thread {
public:
    Thread() = default;
    // Waits for a thread still running (never call it on that thread itself).
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts body on a new thread. A thread that has already ended is joined first.
    // False when a thread is still attached or the start failed.
    bool Start(std::function<void()> body);
    // Waits for the thread to end. False when there is none or when called on the thread itself.
    bool Join();
    // The calling thread is this object's thread.
    bool IsCurrentThread() const { return m_id.load() == std::this_thread::get_id(); }

private:
    std::thread m_thread;
    // The running thread's id, readable from any thread (the thread itself sets it first).
    std::atomic<std::thread::id> m_id {};
};

} // namespace ThreadLib
