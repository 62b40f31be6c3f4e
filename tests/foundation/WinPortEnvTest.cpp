// Runs with CORVANE_TIME_SCALE=0.01 in the environment.
#include "winport/WinPort.h"

#include <gtest/gtest.h>

#include <chrono>

TEST(WinPortEnv, ScaleComesFromTheEnvironment) {
    EXPECT_DOUBLE_EQ(0.01, winport::timeScale());
    EXPECT_EQ(20, winport::timerInterval(2000));
    const auto start = std::chrono::steady_clock::now();
    const std::uint64_t ticks = GetTickCount();
    Sleep(2000);
    const auto realMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    EXPECT_GE(realMs, 19);
    EXPECT_LT(realMs, 1000);
    EXPECT_GE(GetTickCount() - ticks, 2000u);

    // A test override wins; clearing it restores the environment's value.
    winport::setTimeScale(0.5);
    EXPECT_DOUBLE_EQ(0.5, winport::timeScale());
    winport::setTimeScale(0);
    EXPECT_DOUBLE_EQ(0.01, winport::timeScale());
}
