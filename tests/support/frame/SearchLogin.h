// The search of a main-window test: the loopback card, the search button's slot, and the wait until
// the rows show their logins.
#pragma once

#include <QString>

class MainFrame;
class QPushButton;

namespace frametest {

// Picks the loopback card, searches and waits until `loggedIn` rows say "Login Successful" and
// `refused` rows "Login Failed"; the login limit gets several seconds of real time meanwhile
// (LongLimits). False, with the rows printed, when the card is missing or the wait runs out.
[[nodiscard]] bool searchAndLogin(MainFrame& frame, int loggedIn, int refused = 0, int timeoutMs = 30000);

// Picks the loopback card, clicks "Device Search", waits until the button is enabled again (the
// search is over; logins may still run) and checks the first `checked` rows. False, with the reason
// printed, when the card is missing, the wait runs out or fewer rows were found.
[[nodiscard]] bool searchAndCheck(MainFrame& frame, int checked = 0, int timeoutMs = 20000);

// Picks the loopback card; false when it is missing.
[[nodiscard]] bool chooseLoopback(MainFrame& frame);

// The frame's push button captioned `text`, or null.
QPushButton* button(const MainFrame& frame, const QString& text);

// The rows whose status column says `status`.
int rowsWithStatus(const MainFrame& frame, const char* status);

} // namespace frametest
