// The offscreen QApplication of a test process.
#pragma once

#include <QApplication>
#include <functional>
#include <gtest/gtest.h>

namespace harness {

// Creates the process's QApplication on first use (QT_QPA_PLATFORM defaults to "offscreen").
QApplication* qtApp();

// Runs the event loop until condition holds or timeoutMs passes; returns the condition.
bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// Base fixture for widget tests: the application exists, and windows left open by a test are
// closed afterwards.
class QtTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

} // namespace harness
