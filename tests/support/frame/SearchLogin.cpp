#include "SearchLogin.h"

#include "LongLimits.h"

#include "MainFrame.h"
#include "harness/QtApp.h"
#include "harness/Watchdog.h"
#include "tarsel/CTableView.h"

#include <QComboBox>

#include <cstdio>

namespace frametest {

int rowsWithStatus(const MainFrame& frame, const char* status) {
    const CTableView* table = frame.deviceTable();
    int count = 0;
    for (int row = 0; row < table->rowCount(); ++row)
        count += table->getData(row, CTableView::ColStatus).toString() == QLatin1String(status);
    return count;
}

bool searchAndLogin(MainFrame& frame, int loggedIn, int refused, int timeoutMs) {
    auto* box = frame.findChild<QComboBox*>(QStringLiteral("networkCardTypeBox"));
    const int loopback = box ? box->findText(QStringLiteral("[127.0.0.1]"), Qt::MatchContains) : -1;
    if (loopback < 0) {
        std::fprintf(stderr, "searchAndLogin: no loopback card to search on\n");
        return false;
    }
    box->setCurrentIndex(loopback);
    const harness::Step step("search for " + std::to_string(loggedIn + refused) + " cameras");
    const LongLimits limits;
    frame.onSearchDevices();
    const bool done = harness::waitFor(
        [&] {
            return rowsWithStatus(frame, "Login Successful") == loggedIn &&
                   rowsWithStatus(frame, "Login Failed") == refused;
        },
        timeoutMs);
    if (!done) {
        const CTableView* table = frame.deviceTable();
        for (int row = 0; row < table->rowCount(); ++row)
            std::fprintf(stderr, "  row %d: %s %s\n", row, qPrintable(table->getData(row, 1).toString()),
                         qPrintable(table->getData(row, CTableView::ColStatus).toString()));
    }
    return done;
}

} // namespace frametest
