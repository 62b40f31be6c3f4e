// One edit on each of the dialog's fifteen pages, as the operator makes it, and how the reopened
// dialog shows it. The values are chosen so that each reaches a camera field of its own.
#pragma once

#include "OtherParamConfigDlg.h"

#include <QRect>

#include <functional>
#include <vector>

namespace paramtest {

namespace typed {
inline const char* const kStartAddress = "127.0.0.21";
constexpr int kHttpPort = 8081;
inline const char* const kDomain = "gate.example";
constexpr int kGbLocalPort = 5070;
constexpr int kMainBitrate = 4096;
constexpr int kOutputVolume = 33;
inline const char* const kOsdText = "Gate 7";
constexpr int kBrightness = 60;
// Dragged on the privacy editor from (10, 10) to (20, 30).
inline const QRect kPrivacyArea(10, 10, 11, 21);
constexpr int kSensitivity = 7;
inline const char* const kUser = "line";
inline const char* const kPassword = "Line1234";
constexpr int kNtpInterval = 45;
// Weekly, on Tuesdays, at 04:20.
constexpr int kRestartWeekday = 2;
constexpr int kRestartHour = 4;
constexpr int kRestartMinute = 20;
// "Hard Photosensitive", applied.
constexpr int kBoardMode = 4;
} // namespace typed

struct PageEdit {
    int page;
    // Edits the page; false when the page's widgets are not there.
    std::function<bool(OtherParamConfigDlg&)> edit;
    // Checks the reopened dialog.
    std::function<void(OtherParamConfigDlg&)> check;
};

// The edits in page order, one per page.
std::vector<PageEdit> everyPageEdit();

// Opens the dialog, enables every family, makes each page's edit and saves; then reopens it and
// finds every family enabled (tree included), every value again and the first page shown.
void editSaveAndReopenEveryPage();

} // namespace paramtest
