// Tests run the program's time fast (CORVANE_TIME_SCALE), so its limits are short in real time. While
// a LongLimits exists, they get a larger share: the login limit (30 s of program time) is several
// seconds of real time, and so is every longer limit (sweeps, the fixture's, the upgrade stall). For
// the parts of a test whose verdict needs such a limit not to fire on a loaded machine.
#pragma once

namespace frametest {

class LongLimits {
public:
    // Real time the login limit gets at least.
    static constexpr int kLoginLimitRealMs = 6000;

    // Raises the time scale where needed (never lowers it); the earlier scale comes back at the end.
    LongLimits();
    ~LongLimits();

    LongLimits(const LongLimits&) = delete;
    LongLimits& operator=(const LongLimits&) = delete;

private:
    double _before;
};

} // namespace frametest
