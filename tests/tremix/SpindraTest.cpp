// The thread library: repetition until exit, restart, destroy from the thread itself.
#include "spindra/CRepetition.h"
#include "spindra/ThreadMutex.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

class Counter : public ThreadLib::CRepetition {
public:
    ~Counter() override { DestroyThread(); }
    std::atomic<int> passes{0};
    std::atomic<int> stopAt{-1};
    std::atomic<int> inits{0};
    std::atomic<int> exits{0};
    std::atomic<bool> selfDestroy{false};
    std::atomic<int> selfDestroyResult{-1};

protected:
    bool Init() override {
        inits.fetch_add(1);
        return true;
    }
    void RunOnce() override {
        const int n = passes.fetch_add(1) + 1;
        if (n == stopAt.load())
            SetExit(true);
        if (selfDestroy.load()) {
            selfDestroyResult.store(DestroyThread() ? 1 : 0);
            selfDestroy.store(false);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    void ExitRun() override { exits.fetch_add(1); }
};

} // namespace

TEST(Spindra, RepeatsUntilExitAndRestarts) {
    Counter c;
    c.stopAt.store(5);
    ASSERT_TRUE(c.CreateThread(true, 0));
    for (int i = 0; i < 2000 && c.IsThreadRunning(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(c.IsThreadRunning());
    EXPECT_EQ(c.passes.load(), 5);
    EXPECT_EQ(c.exits.load(), 1);

    // A new start needs the exit request cleared; the ended thread is joined first.
    c.SetExit(false);
    c.stopAt.store(-1);
    ASSERT_TRUE(c.CreateThread(true, 0));
    EXPECT_FALSE(c.CreateThread(true, 0)); // already running
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(c.DestroyThread());
    EXPECT_FALSE(c.IsThreadRunning());
    EXPECT_EQ(c.inits.load(), 2);
    EXPECT_EQ(c.exits.load(), 2);
}

TEST(Spindra, DestroyFromOwnThreadDoesNotWaitForItself) {
    Counter c;
    c.selfDestroy.store(true);
    ASSERT_TRUE(c.CreateThread(true, 0));
    for (int i = 0; i < 2000 && c.IsThreadRunning(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(c.selfDestroyResult.load(), 0);
    EXPECT_FALSE(c.IsThreadRunning()); // the exit request still ended it
    EXPECT_TRUE(c.DestroyThread());
}

TEST(Spindra, MutexSerialises) {
    ThreadLib::ThreadMutex mutex;
    int total = 0;
    std::thread a([&] {
        for (int i = 0; i < 10000; ++i) {
            std::lock_guard<ThreadLib::ThreadMutex> lock(mutex);
            ++total;
        }
    });
    for (int i = 0; i < 10000; ++i) {
        mutex.Lock();
        ++total;
        mutex.Unlock();
    }
    a.join();
    EXPECT_EQ(total, 20000);
}
