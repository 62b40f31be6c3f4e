// Firmware-upgrade window: counts, close refusal and the stall time-out.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include "harness/ModalCloser.h"
#include "harness/QtApp.h"
#include "Cmodifyupgradeview.h"
#include "modifyupgradewidget.h"
#include "winport/WinPort.h"

#include <algorithm>
#include <cmath>
#include <malloc.h>

namespace {

class UpgradeWindow : public harness::QtTest {
protected:
    void TearDown() override {
        winport::setTimeScale(0);
        harness::QtTest::TearDown();
    }
};

QString progress(const modifyupgradewidget& window, int row) {
    return window.view()->getData(row, 1).toString();
}

// Sends a close event straight to the window, as the window manager would.
bool tryClose(modifyupgradewidget& window) {
    QCloseEvent event;
    QApplication::sendEvent(&window, &event);
    return event.isAccepted();
}

TEST_F(UpgradeWindow, RefillSetsCounts) {
    modifyupgradewidget window;
    window.setUpgradeResults({{"127.0.0.1", "37", "Upgrading..."}, {"127.0.0.2", "0", "Connect Failed!"}});
    window.refreshView();
    EXPECT_EQ(window.modifyNumberText(), "0");
    window.setUpgradeResults({{"127.0.0.1", "100", "Upgrade Success!"},
                              {"127.0.0.2", "0", "Connect Failed!"},
                              {"127.0.0.3", "abc", "?"}});
    EXPECT_EQ(window.view()->rowCount(), 3);
    EXPECT_EQ(window.view()->columnWidth(1), 200);
    EXPECT_EQ(window.modifyNumberText(), "3");
    EXPECT_EQ(window.failedNumberText(), "2"); // "0" and a text that is not a number
    window.setUpgradeResults({});
    EXPECT_EQ(window.view()->rowCount(), 3);
    EXPECT_EQ(window.failedNumberText(), "2");
    // The rows' text stands out from both row greys (contrast at least 4.5:1).
    window.show();
    const QImage shot = window.view()->viewport()->grab().toImage();
    auto luminance = [](QRgb c) {
        auto channel = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
    };
    for (int row = 0; row < 2; ++row) {
        const QRect cell =
            window.view()->visualRect(static_cast<QTableView*>(window.view())->model()->index(row, 0));
        const double back = luminance(shot.pixel(cell.left() + 2, cell.top() + 2));
        double best = 1.0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const double l = luminance(shot.pixel(x, y));
                best = std::max(best, (std::max(l, back) + 0.05) / (std::min(l, back) + 0.05));
            }
        }
        EXPECT_GE(best, 4.5) << "row " << row;
    }
}

TEST_F(UpgradeWindow, CloseRefusedWhileUpgrading) {
    modifyupgradewidget window;
    window.show();
    window.setUpgradeResults({{"127.0.0.1", "37", "Upgrading..."}, {"127.0.0.2", "100", "Upgrade Success!"}});
    {
        harness::ModalCloser closer(harness::ModalCloser::Action::Accept, 5);
        EXPECT_FALSE(tryClose(window));
        ASSERT_EQ(closer.count(), 1);
        EXPECT_EQ(closer.seen()[0].title, "Hint");
        EXPECT_EQ(closer.seen()[0].text, "Please wait for device upgrade!");
    }
    EXPECT_TRUE(window.isVisible());

    window.refreshView();
    window.setUpgradeResults(
        {{"127.0.0.1", "0", "Upgrade failed!"}, {"127.0.0.2", "100", "Upgrade Success!"}});
    harness::ModalCloser closer(harness::ModalCloser::Action::Accept, 5);
    EXPECT_TRUE(tryClose(window));
    EXPECT_TRUE((closer.count() == 0));
}

TEST_F(UpgradeWindow, EscapeIsRefusedWhileUpgrading) {
    modifyupgradewidget window;
    window.show();
    window.setUpgradeResults({{"127.0.0.1", "37", "Upgrading..."}});
    {
        harness::ModalCloser closer(harness::ModalCloser::Action::Accept, 5);
        QTest::keyClick(&window, Qt::Key_Escape);
        ASSERT_EQ(closer.count(), 1);
        EXPECT_EQ(closer.seen()[0].text, "Please wait for device upgrade!");
    }
    EXPECT_TRUE(window.isVisible());

    window.refreshView();
    window.setUpgradeResults({{"127.0.0.1", "100", "Upgrade Success!"}});
    harness::ModalCloser closer(harness::ModalCloser::Action::Accept, 5);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closer.count(), 0);
}

TEST_F(UpgradeWindow, EndStatesAllowClose) {
    modifyupgradewidget window;
    window.show();
    window.setUpgradeResults(
        {{"a", "-1", ""}, {"b", "-2", ""}, {"c", "-3", ""}, {"d", "0", ""}, {"e", "100", ""}});
    harness::ModalCloser closer(harness::ModalCloser::Action::Accept, 5);
    EXPECT_TRUE(tryClose(window));
    EXPECT_TRUE((closer.count() == 0));
}

TEST_F(UpgradeWindow, NonNumericProgressBlocksClose) {
    modifyupgradewidget window;
    window.show();
    window.setUpgradeResults({{"a", "abc", ""}});
    harness::ModalCloser closer(harness::ModalCloser::Action::Accept, 5);
    EXPECT_FALSE(tryClose(window));
    EXPECT_EQ(closer.count(), 1);
}

TEST_F(UpgradeWindow, HiddenWindowClosesWithoutChecks) {
    modifyupgradewidget window;
    window.setUpgradeResults({{"a", "37", "Upgrading..."}});
    harness::ModalCloser closer(harness::ModalCloser::Action::Accept, 5);
    EXPECT_TRUE(tryClose(window));
    EXPECT_TRUE((closer.count() == 0));
}

TEST_F(UpgradeWindow, StalledDeviceTimesOutAndWindowCloses) {
    winport::setTimeScale(0.001); // 120 s of program time in 120 ms
    modifyupgradewidget window;
    QSignalSpy stalled(&window, &modifyupgradewidget::upgradeStalled);
    window.show();
    window.setUpgradeResults({{"127.0.0.1", "37", "Upgrading..."}, {"127.0.0.2", "100", "Upgrade Success!"}});
    QElapsedTimer clock;
    clock.start();
    while (stalled.isEmpty() && clock.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_EQ(stalled.size(), 1);
    EXPECT_EQ(stalled[0][0].toString(), "127.0.0.1");
    EXPECT_GE(clock.elapsed(), 100); // not before the limit
    EXPECT_EQ(progress(window, 0), "0");
    EXPECT_EQ(window.view()->getData(0, 2).toString(), "Upgrade failed!");
    EXPECT_EQ(progress(window, 1), "100");
    EXPECT_EQ(window.failedNumberText(), "1");
    harness::ModalCloser closer(harness::ModalCloser::Action::Accept, 5);
    EXPECT_TRUE(tryClose(window));
}

TEST_F(UpgradeWindow, ProgressResetsTheStallClock) {
    winport::setTimeScale(0.01); // the limit is 1.2 s of real time
    modifyupgradewidget window;
    QSignalSpy stalled(&window, &modifyupgradewidget::upgradeStalled);
    window.show();
    QElapsedTimer clock;
    clock.start();
    int step = 1;
    // A changing report every 20 ms (2 s of program time) keeps the device alive past the limit.
    while (clock.elapsed() < 1500) {
        window.refreshView();
        window.setUpgradeResults({{"127.0.0.1", QString::number(step++ % 99 + 1), "Upgrading..."}});
        QElapsedTimer pause;
        pause.start();
        while (pause.elapsed() < 20)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_TRUE(stalled.isEmpty());
}

// Bytes the heap holds now.
long long heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);
}

// A window opened for each upgrade run: once it is gone, what was drawn for it is gone too.
TEST_F(UpgradeWindow, ClosedWindowsLeaveNoMemoryBehind) {
    auto openPaintClose = [] {
        modifyupgradewidget window;
        window.resize(3000, 406);
        for (int c = 0; c < 3; ++c)
            window.view()->setColumnWidth(c, 900);
        window.setUpgradeResults({{"127.0.0.1", "37", "Upgrading..."}});
        window.show();
        window.grab();
    };
    openPaintClose(); // fonts and the style's own first-use state
    const long long before = heapInUse();
    for (int i = 0; i < 10; ++i)
        openPaintClose();
    // Ten windows' header drawings alone would hold over 3 MB.
    EXPECT_LT(heapInUse() - before, 1024 * 1024);
}

} // namespace
