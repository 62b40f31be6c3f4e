// How many times slower than a plain build the code under test runs: the build sets
// CORVANE_TEST_SLOWDOWN for instrumented builds. Tests that set their own time scale multiply it, so
// that the program's limits keep their share of real time.
#pragma once

#ifndef CORVANE_TEST_SLOWDOWN
#define CORVANE_TEST_SLOWDOWN 1
#endif

namespace harness {
constexpr double kSlowdown = CORVANE_TEST_SLOWDOWN;
} // namespace harness
