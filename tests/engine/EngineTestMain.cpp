// Runs the tests inside the harness's offscreen QApplication (pictures, timers, widgets).
#include "harness/QtApp.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    harness::qtApp();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
