#include "winport/WinPort.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long long realMsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

class WinPortTest : public ::testing::Test {
protected:
    void TearDown() override { winport::setTimeScale(0); }
};

} // namespace

TEST_F(WinPortTest, SleepAndTickCountScaleTogether) {
    winport::setTimeScale(0.01);
    const auto realStart = Clock::now();
    const std::uint64_t tickStart = GetTickCount();
    Sleep(3000);
    const long long realMs = realMsSince(realStart);
    const std::uint64_t ticks = GetTickCount() - tickStart;
    EXPECT_GE(realMs, 29);
    EXPECT_LT(realMs, 1000);
    EXPECT_GE(ticks, 3000u);
    // The tick count is real time divided by the scale.
    EXPECT_NEAR(static_cast<double>(ticks), realMs * 100.0, 200.0);

    winport::setTimeScale(1);
    const auto realStart1 = Clock::now();
    const std::uint64_t tickStart1 = GetTickCount();
    Sleep(30);
    const long long realMs1 = realMsSince(realStart1);
    const std::uint64_t ticks1 = GetTickCount() - tickStart1;
    EXPECT_GE(realMs1, 29);
    EXPECT_GE(ticks1, 29u);
    EXPECT_LT(ticks1, 1000u);
}

TEST_F(WinPortTest, TickCountStaysMonotonicAcrossScaleChanges) {
    winport::setTimeScale(0.001);
    std::uint64_t last = GetTickCount();
    for (double scale : {1.0, 0.01, 1000.0, 0.001, 1.0}) {
        winport::sleepRealMs(5);
        winport::setTimeScale(scale);
        const std::uint64_t now = GetTickCount();
        EXPECT_GE(now, last) << scale;
        last = now;
        EXPECT_GE(GetTickCount64(), last);
    }
}

TEST_F(WinPortTest, TimerIntervalFollowsTheScale) {
    winport::setTimeScale(1);
    EXPECT_EQ(2000, winport::timerInterval(2000));
    EXPECT_EQ(1, winport::timerInterval(0));
    EXPECT_EQ(1, winport::timerInterval(-5));
    winport::setTimeScale(0.01);
    EXPECT_EQ(20, winport::timerInterval(2000));
    EXPECT_EQ(1, winport::timerInterval(40)); // never 0: a zero interval would spin
    EXPECT_EQ(1800, winport::timerInterval(180000));
    EXPECT_EQ(200u, winport::toRealMs(20000));
    winport::setTimeScale(1000);
    EXPECT_EQ(0x7FFFFFFF, winport::timerInterval(0x7FFFFFFF));
}

TEST_F(WinPortTest, EnvironmentScaleIsParsedStrictly) {
    struct Case {
        const char* text;
        double scale;
    } cases[] = {{"0.01", 0.01}, {"2", 2.0},  {"1e-3", 0.001}, {"1000", 1000.0}, {"", 1.0},    {"abc", 1.0},
                 {"0", 1.0},     {"-1", 1.0}, {"1001", 1.0},   {"0.5x", 1.0},    {"nan", 1.0}, {"inf", 1.0}};
    for (const Case& c : cases) {
        ASSERT_EQ(0, setenv("WINPORT_TEST_SCALE", c.text, 1));
        EXPECT_DOUBLE_EQ(c.scale, winport::envTimeScale("WINPORT_TEST_SCALE")) << c.text;
    }
    unsetenv("WINPORT_TEST_SCALE");
    EXPECT_DOUBLE_EQ(1.0, winport::envTimeScale("WINPORT_TEST_SCALE"));
    EXPECT_DOUBLE_EQ(1.0, winport::envTimeScale(nullptr));
}

TEST_F(WinPortTest, AutoResetEventReleasesOneWaitThenResets) {
    HANDLE ev = CreateEvent(nullptr, 0, 0, nullptr);
    ASSERT_NE(nullptr, ev);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(ev, 0));
    EXPECT_EQ(1, SetEvent(ev));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ev, 0));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(ev, 0));

    // Two waiters, one SetEvent: exactly one is released.
    winport::setTimeScale(1);
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 2; ++i)
        waiters.emplace_back([&] {
            if (WaitForSingleObject(ev, 300) == WAIT_OBJECT_0)
                ++released;
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    SetEvent(ev);
    for (auto& t : waiters)
        t.join();
    EXPECT_EQ(1, released.load());
    EXPECT_EQ(1, CloseHandle(ev));
}

TEST_F(WinPortTest, ManualResetEventStaysSignaledUntilReset) {
    HANDLE ev = CreateEvent(nullptr, 1, 1, nullptr);
    ASSERT_NE(nullptr, ev);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ev, 0));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ev, 0));
    EXPECT_EQ(1, ResetEvent(ev));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(ev, 0));

    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] {
            if (WaitForSingleObject(ev, INFINITE) == WAIT_OBJECT_0)
                ++released;
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    SetEvent(ev);
    for (auto& t : waiters)
        t.join();
    EXPECT_EQ(3, released.load());
    CloseHandle(ev);
}

TEST_F(WinPortTest, WaitTimesOutInProgramTime) {
    winport::setTimeScale(0.01);
    HANDLE ev = CreateEvent(nullptr, 0, 0, nullptr);
    const auto realStart = Clock::now();
    const std::uint64_t tickStart = GetTickCount();
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(ev, 10000));
    const long long realMs = realMsSince(realStart);
    EXPECT_GE(realMs, 99);
    EXPECT_LT(realMs, 2000);
    EXPECT_GE(GetTickCount() - tickStart, 9900u);

    // A set from another thread ends the wait early.
    std::thread setter([ev] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        SetEvent(ev);
    });
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ev, 1000000)); // 10 s real
    setter.join();
    CloseHandle(ev);
}

TEST_F(WinPortTest, NullHandlesFail) {
    EXPECT_EQ(WAIT_FAILED, WaitForSingleObject(nullptr, 0));
    EXPECT_EQ(WAIT_FAILED, winport::waitEventRealMs(nullptr, 0));
    EXPECT_EQ(0, SetEvent(nullptr));
    EXPECT_EQ(0, ResetEvent(nullptr));
    EXPECT_EQ(1, CloseHandle(nullptr));
}

TEST_F(WinPortTest, UnscaledCallsIgnoreTheScale) {
    winport::setTimeScale(0.01);
    const auto realStart = Clock::now();
    const std::uint64_t realTickStart = winport::realTickMs();
    winport::sleepRealMs(30);
    EXPECT_GE(realMsSince(realStart), 29);
    const std::uint64_t elapsed = winport::realTickMs() - realTickStart;
    EXPECT_GE(elapsed, 29u);
    EXPECT_LT(elapsed, 1000u);
    std::int64_t out = 0;
    const std::int64_t now = _time64(&out);
    EXPECT_EQ(now, out);
    EXPECT_GT(now, 1600000000);
}
