// The device search against the simulated fleet: rows, logins, stale answers, relogin; the
// search and the window's focus order driven by the keyboard.
#include "DeviceManager.h"
#include "MainFrame.h"
#include "LongLimits.h"
#include "FleetTest.h"
#include "SearchLogin.h"

#include "camsim/SimControl.h"
#include "harness/LogCapture.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cstring>

namespace {

using frametest::button;
using SearchTest = mwtest::FleetTest;

// A search answer of a camera at ip with mac.
DSC_SEARCH_RESPONSE_INFO answer(const std::string& ip, const std::string& mac) {
    DSC_SEARCH_RESPONSE_INFO info{};
    std::memcpy(info.tag, "searching..", 12);
    info.type = 11;
    std::strcpy(info.ip, ip.c_str());
    std::strcpy(info.mac, mac.c_str());
    return info;
}

TEST_F(SearchTest, EightCamerasAreListedAndLoggedIn) {
    MainFrame frame;
    frame.show();
    ASSERT_TRUE(frametest::chooseLoopback(frame));
    QSignalSpy loginsDone(&frame, &MainFrame::closeSearchDialog);
    QPushButton* search = button(frame, "Device Search");
    ASSERT_NE(search, nullptr);
    const frametest::LongLimits limits;
    search->click();
    EXPECT_FALSE(search->isEnabled());
    CTableView* table = frame.deviceTable();
    ASSERT_TRUE(harness::waitFor([&] { return search->isEnabled(); }, 20000));
    EXPECT_EQ(table->rowCount(), 8);
    ASSERT_TRUE(
        harness::waitFor([&] { return frametest::rowsWithStatus(frame, "Login Successful") == 8; }, 20000))
        << frametest::rowsWithStatus(frame, "Login Successful");
    EXPECT_TRUE(harness::waitFor([&] { return loginsDone.size() >= 1; }, 5000))
        << "code 5 reached the engine";

    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    ASSERT_EQ(fleet.size(), 8u);
    for (int row = 0; row < 8; ++row) {
        EXPECT_EQ(table->getData(row, 1).toString().toStdString(), fleet[row].ip);
        EXPECT_EQ(table->getData(row, 8).toString().toStdString(), fleet[row].mac);
        EXPECT_EQ(table->getData(row, 12).toString(), QString::number(fleet[row].httpPort));
    }
    const auto starts = camsim::calls("KVX_NET_StartSearchDevice");
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].text, "127.0.0.1");
    EXPECT_EQ(starts[0].args, (std::vector<long long>{5, 0}));
    EXPECT_EQ(frame.engine()->loginCount(), 8);
}

TEST_F(SearchTest, AnswersOfAnEarlierSearchAreDropped) {
    camsim::useFleet({});
    MainFrame frame;
    ASSERT_TRUE(frametest::chooseLoopback(frame));
    DSC_SEARCH_RESPONSE_INFO late = answer("127.0.0.99", "02:00:00:00:00:99");
    frame.onSearchResult(&late); // queued, then a new search starts before it is applied
    frame.onSearchResult(nullptr);
    QPushButton* search = button(frame, "Device Search");
    search->click();
    EXPECT_FALSE(search->isEnabled()) << "the old search's end does not re-enable the new one";
    ASSERT_TRUE(harness::waitFor([&] { return search->isEnabled(); }, 20000));
    EXPECT_EQ(frame.deviceTable()->rowCount(), 0);
}

TEST_F(SearchTest, RefusedSearchStartReenablesTheButtonAndLogs) {
    camsim::inject({"*", "KVX_NET_StartSearchDevice:start", true, false, 0, 1});
    MainFrame frame;
    ASSERT_TRUE(frametest::chooseLoopback(frame));
    harness::LogCapture log;
    QPushButton* search = button(frame, "Device Search");
    ASSERT_NE(search, nullptr);
    search->click();
    EXPECT_TRUE(search->isEnabled());
    EXPECT_TRUE(log.contains("MainFrame::onSearchDevices", "KVX_NET_StartSearchDevice failed"));
    EXPECT_EQ(frame.deviceTable()->rowCount(), 0);

    // The next start is accepted again.
    search->click();
    EXPECT_FALSE(search->isEnabled());
    ASSERT_TRUE(harness::waitFor([&] { return search->isEnabled(); }, 20000));
    EXPECT_EQ(frame.deviceTable()->rowCount(), 8);
}

TEST_F(SearchTest, EveryAnswerIsLoggedInAlsoARepeatedOne) {
    camsim::useFleet(camsim::defaultFleet(1));
    MainFrame frame;
    ASSERT_TRUE(frametest::chooseLoopback(frame));
    button(frame, "Device Search")->click();
    ASSERT_TRUE(harness::waitFor([&] { return frame.deviceTable()->rowCount() == 1; }, 20000));
    // The same camera answers once more in this search.
    const camsim::CameraProfile camera = camsim::fleet().at(0);
    DSC_SEARCH_RESPONSE_INFO again = answer(camera.ip, camera.mac);
    again.httpPort = htonl(80);
    frame.onSearchResult(&again);
    ASSERT_TRUE(harness::waitFor([&] { return camsim::calls("KVX_NET_Login").size() == 2; }, 20000));
    EXPECT_EQ(frame.deviceTable()->rowCount(), 1);
}

TEST_F(SearchTest, ReloginRequestUsesTheStoredRecordWithTheNewAddress) {
    camsim::useFleet(camsim::defaultFleet(2));
    MainFrame frame;
    ASSERT_TRUE(frametest::searchAndCheck(frame));
    const camsim::CameraProfile camera = camsim::fleet().at(1);

    DSC_MODIFY_NETINFO_RESPONSE resp{};
    std::strcpy(resp.mac, camera.mac.c_str());
    std::strcpy(resp.newIp, "127.0.0.201");
    // The relogin's 20 s delay, several seconds of real time: it is still pending when counted.
    const frametest::LongLimits limits;
    QSignalSpy spy(&frame, &MainFrame::reLoginReq);
    frame.reLoginDevice(&resp);
    ASSERT_EQ(spy.size(), 1);
    const auto record = spy.at(0).at(0).value<DSC_SEARCH_RESPONSE_INFO>();
    EXPECT_STREQ(record.ip, "127.0.0.201");
    EXPECT_STREQ(record.mac, camera.mac.c_str());
    const auto stored = frame.engine()->findSearchInfo(camera.mac);
    ASSERT_NE(stored, nullptr);
    EXPECT_STREQ(stored->ip, "127.0.0.201") << "the relogin reads the stored record";
    EXPECT_EQ(frame.engine()->pendingRelogins(), 1) << "connected once although initModules ran twice";

    harness::LogCapture log;
    std::strcpy(resp.mac, "02:FF:FF:FF:FF:FF");
    frame.reLoginDevice(&resp);
    EXPECT_EQ(spy.size(), 1);
    EXPECT_TRUE(log.contains("MainFrame::reLoginDevice", "cannot findSearchInfo, mac:02:FF:FF:FF:FF:FF"));
}

// The window driven by keys alone, sent to whatever has the focus: Space on "Device Search"
// searches, and the focus comes back to it afterwards, so that Space searches again. Tab leaves the
// device table (the arrow keys move between its cells) for the operation buttons, in their order on
// screen, and goes on to the upgrade row; Shift+Tab goes back.
TEST_F(SearchTest, KeyboardSearchesAgainAndTabLeavesTheTable) {
    camsim::useFleet(camsim::defaultFleet(3));
    MainFrame frame;
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(harness::waitFor([&] { return frame.isActiveWindow(); }, 5000));
    ASSERT_TRUE(frametest::chooseLoopback(frame));
    QPushButton* search = button(frame, "Device Search");
    ASSERT_NE(search, nullptr);
    search->setFocus(Qt::TabFocusReason);
    auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, key, modifiers);
    };
    auto focusName = []() -> QString {
        QWidget* focused = QApplication::focusWidget();
        if (auto* b = qobject_cast<QPushButton*>(focused))
            return b->text();
        return focused ? focused->metaObject()->className() : "nothing";
    };
    auto names = [](const QStringList& list) { return list.join(" | ").toStdString(); };

    for (std::size_t run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        press(Qt::Key_Space);
        EXPECT_FALSE(search->isEnabled());
        ASSERT_TRUE(harness::waitFor([&] { return search->isEnabled(); }, 20000));
        EXPECT_EQ(camsim::calls("KVX_NET_StartSearchDevice").size(), run);
        EXPECT_EQ(focusName().toStdString(), "Device Search");
    }
    // A focus the operator moves on during a search stays where it was put.
    press(Qt::Key_Space);
    ASSERT_FALSE(search->isEnabled());
    press(Qt::Key_Tab);
    ASSERT_TRUE(harness::waitFor([&] { return search->isEnabled(); }, 20000));
    EXPECT_EQ(camsim::calls("KVX_NET_StartSearchDevice").size(), 3u);
    EXPECT_EQ(focusName().toStdString(), "Modify");
    EXPECT_TRUE(modals().empty()) << modals().front().className.toStdString();
    CTableView* table = frame.deviceTable();
    ASSERT_EQ(table->rowCount(), 3);

    // Into the table as with the mouse; the arrows move the current cell.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier,
                      table->visualRect(table->model()->index(0, 1)).center());
    ASSERT_EQ(QApplication::focusWidget(), table);
    press(Qt::Key_Right);
    EXPECT_EQ(table->currentIndex(), table->model()->index(0, 2));
    press(Qt::Key_Down);
    EXPECT_EQ(table->currentIndex(), table->model()->index(1, 2));
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(table->currentIndex(), table->model()->index(1, 2)) << "Ctrl+Tab moves no cell";

    // Forward from the table: every operation button top to bottom and left to right, then the
    // upgrade row.
    const QStringList forward =
        QString("Device Search|Set IP|Modify|Open FullNetcom|Close FullNetcom|Open DHCP|Close DHCP|Sync time|"
                "Reboot|Simple Recovery|Full Recovery|Config Parm|Modify|Set OSD|Modify|PtzAndAudio Setting|"
                "Check Device SD Card|Ten Zoom|Play Check Device|Image Test|Label Printing|QLineEdit|Browse|"
                "File Upgrade")
            .split('|');
    QStringList reached;
    for (int i = 0; i < forward.size(); ++i) {
        press(Qt::Key_Tab);
        reached << focusName();
    }
    EXPECT_EQ(names(reached), names(forward));
    EXPECT_EQ(table->currentIndex(), table->model()->index(1, 2)) << "Tab moved no cell on its way out";
    // And back again to the table, and past it to the top bar.
    QStringList back;
    for (int i = 0; i <= forward.size(); ++i) {
        press(Qt::Key_Backtab, Qt::ShiftModifier);
        back << focusName();
    }
    QStringList expectedBack(forward.rbegin() + 1, forward.rend());
    expectedBack << "CTableView"
                 << "System Configuration";
    EXPECT_EQ(names(back), names(expectedBack));
    EXPECT_TRUE(modals().empty());
}

TEST_F(SearchTest, PingHostUsesTheSystemPingHelper) {
    const QByteArray simPing = qgetenv("CORVANE_BIN_DIR") + "/simping";
    qputenv("PATH", simPing + ":" + qgetenv("PATH"));
    camsim::useFleet(camsim::defaultFleet(1));
    MainFrame frame;
    using newaddress::Verdict;
    EXPECT_EQ(frame.pingHost(camsim::fleet().at(0).ip), Verdict::Used) << "a camera holds the address";
    EXPECT_EQ(frame.pingHost("127.0.0.250"), Verdict::Free);
    EXPECT_EQ(frame.pingHost(""), Verdict::Used);
    EXPECT_EQ(frame.pingHost("127.0.0.1; touch x"), Verdict::Used);
    EXPECT_EQ(frame.pingHost("127.1"), Verdict::Used);
}

} // namespace
