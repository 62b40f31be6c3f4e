// One native thread, owned by the object that started it.
#pragma once

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
    // A thread has been started and not joined yet (it may have ended).
    bool Joinable() const { return m_thread.joinable(); }
    // The calling thread is this object's thread.
    bool IsCurrentThread() const {
        return m_thread.joinable() && m_thread.get_id() == std::this_thread::get_id();
    }

private:
    std::thread m_thread;
};

} // namespace ThreadLib
