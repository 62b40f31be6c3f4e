#include "SearchLogin.h"

#include "LongLimits.h"

#include "MainFrame.h"
#include "harness/QtApp.h"
#include "harness/Watchdog.h"
#include "tarsel/CTableView.h"

#include <QComboBox>
#include <QPushButton>

#include <cstdio>

namespace frametest {

int rowsWithStatus(const MainFrame& frame, const char* status) {
    const CTableView* table = frame.deviceTable();
    int count = 0;
    for (int row = 0; row < table->rowCount(); ++row)
        count += table->getData(row, CTableView::ColStatus).toString() == QLatin1String(status);
    return count;
}

QPushButton* button(const MainFrame& frame, const QString& text) {
    for (QPushButton* b : frame.findChildren<QPushButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

bool chooseLoopback(MainFrame& frame) {
    auto* box = frame.findChild<QComboBox*>(QStringLiteral("networkCardTypeBox"));
    const int loopback = box ? box->findText(QStringLiteral("[127.0.0.1]"), Qt::MatchContains) : -1;
    if (loopback < 0) {
        std::fprintf(stderr, "no loopback card to search on\n");
        return false;
    }
    box->setCurrentIndex(loopback);
    return true;
}

bool searchAndCheck(MainFrame& frame, int checked, int timeoutMs) {
    QPushButton* search = button(frame, QStringLiteral("Device Search"));
    if (!search || !chooseLoopback(frame))
        return false;
    search->click();
    if (!harness::waitFor([&] { return search->isEnabled(); }, timeoutMs)) {
        std::fprintf(stderr, "searchAndCheck: the search did not end\n");
        return false;
    }
    CTableView* table = frame.deviceTable();
    if (table->rowCount() < checked) {
        std::fprintf(stderr, "searchAndCheck: %d rows, %d wanted\n", table->rowCount(), checked);
        return false;
    }
    for (int row = 0; row < checked; ++row)
        table->setRowChecked(row, true);
    return frame.checkedRows().size() == checked;
}

bool searchAndLogin(MainFrame& frame, int loggedIn, int refused, int timeoutMs) {
    if (!chooseLoopback(frame))
        return false;
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
