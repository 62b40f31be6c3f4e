// A thread whose body (RunOnce) runs again and again until an exit is requested.
#pragma once

#include "spindra/CThread_Windows.h"

#include <atomic>

namespace ThreadLib {

class CRepetition : public CThread_Windows {
public:
    CRepetition() = default;
    ~CRepetition() override;

    // true: the repetition ends after the current pass; false clears the request (before a new start).
    void SetExit(bool exit) { m_exit.store(exit); }
    bool IsExit() const { return m_exit.load(); }

protected:
    // Runs once on the new thread before the first pass; false ends the thread at once.
    virtual bool Init() { return true; }
    // Init, then RunProc until an exit is requested, then ExitRun.
    void Run() override;
    // One pass of the body.
    virtual void RunOnce() = 0;
    // Runs on the thread after the last pass.
    virtual void ExitRun() {}
    void Exit() override { SetExit(true); }
    virtual void RunProc() { RunOnce(); }

private:
    std::atomic<bool> m_exit{false};
};

} // namespace ThreadLib
