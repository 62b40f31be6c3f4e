// The search of a main-window test: the loopback card, the search button's slot, and the wait until
// the rows show their logins.
#pragma once

class MainFrame;

namespace frametest {

// Picks the loopback card, searches and waits until `loggedIn` rows say "Login Successful" and
// `refused` rows "Login Failed"; the login limit gets several seconds of real time meanwhile
// (LongLimits). False, with the rows printed, when the card is missing or the wait runs out.
[[nodiscard]] bool searchAndLogin(MainFrame& frame, int loggedIn, int refused = 0, int timeoutMs = 30000);

// The rows whose status column says `status`.
int rowsWithStatus(const MainFrame& frame, const char* status);

} // namespace frametest
