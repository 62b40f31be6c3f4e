// The program fails a login still unanswered after 30 s of program time. Tests run the program's
// time fast; while a LoginTime exists, that limit is several seconds of real time, so a loaded
// machine does not fail logins whose success the test needs.
#pragma once

namespace frametest {

class LoginTime {
public:
    // Real time the login limit gets at least.
    static constexpr int kLoginLimitRealMs = 6000;

    // Raises the time scale where needed (never lowers it); the earlier scale comes back at the end.
    LoginTime();
    ~LoginTime();

    LoginTime(const LoginTime&) = delete;
    LoginTime& operator=(const LoginTime&) = delete;

private:
    double _before;
};

} // namespace frametest
