// The offscreen QApplication of a test process.
#pragma once

#include <QApplication>
#include <functional>
#include <gtest/gtest.h>

namespace harness {

// Creates the process's QApplication on first use (QT_QPA_PLATFORM defaults to "offscreen").
QApplication* qtApp();

// Runs the event loop until condition holds or timeoutMs passes; returns the condition. A wait that
// runs out prints its call site and the open windows; one held up past its limit (a modal loop
// that never returns inside it) ends the process with the watchdog's report.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000,
             const char* file = __builtin_FILE(), int line = __builtin_LINE());

// Keeps the calling (GUI) thread, from the first turn of the next event loop it enters (say, an
// operation's modal loop), until condition holds or limitMs of real time passed, serving no events: timers of
// that loop (a time limit, a sweep) cannot fire meanwhile, however slowly the machine starts the
// threads and processes the condition waits for. *held tells whether the condition held. A hold
// whose loop did not come before its test ended is dropped: it never runs in a later test.
void holdGuiThreadUntil(std::function<bool()> condition, bool* held, int limitMs = 20000);

// The open top-level windows, one line each (class, title, texts; "modal" for modal ones).
// Main thread only.
std::string describeWindows();

// Lets the watchdog list the open windows of this process's QApplication (qtApp() does it).
void watchWindows();

// Base fixture for widget tests: the application exists, and windows left open by a test are
// closed afterwards.
class QtTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace harness
