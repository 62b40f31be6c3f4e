// A thread object with a virtual body, in the style of the thread library's Windows thread.
#pragma once

#include "spindra/Thread.h"

#include <atomic>

namespace ThreadLib {

class CThread_Windows : public Thread {
public:
    CThread_Windows() = default;
    // Derived classes must end their thread (DestroyThread) in their own destructor.
    ~CThread_Windows() override;

    // Starts a thread that runs Run() and then OnAutoDeleteObj(). Both arguments are kept for the
    // interface (joinable, stack size) and do not change the behaviour. False when a thread is
    // still running or the start failed.
    bool CreateThread(bool joinable = true, int stackSize = 0);
    // Asks the body to end (Exit) and waits for the thread. Returns false, after the request, when
    // called on the thread itself, which cannot wait for itself.
    bool DestroyThread();
    // The body is running.
    bool IsThreadRunning() const { return m_active.load(); }

protected:
    virtual void Run() = 0;
    virtual void Exit() {}
    virtual void OnAutoDeleteObj() {}

private:
    void ThreadProc();

    std::atomic<bool> m_active{false};
};

} // namespace ThreadLib
