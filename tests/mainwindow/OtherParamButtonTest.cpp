// "Other Parameters" from the main window's slot to the result table, over the simulated fleet.
#include "DeviceManager.h"
#include "MainFrame.h"
#include "FleetTest.h"
#include "RunCloser.h"
#include "SearchLogin.h"
#include "TcpIpRecord.h"

#include "camsim/SimControl.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

class OtherParamButtonTest : public mwtest::FleetTest {
protected:
    void SetUp() override {
        mwtest::FleetTest::SetUp();
        if (HasFatalFailure())
            return;
        oldPath = qgetenv("PATH");
        qputenv("PATH", qgetenv("CORVANE_BIN_DIR") + "/simping:" + oldPath);
        camsim::useFleet(camsim::defaultFleet(3));
        // The busy indicator stays until the run ends; tips and result tables are recorded.
        closer().setDecider([this](QWidget* widget) { return run.decide(widget); });
    }
    void TearDown() override {
        if (!oldPath.isNull()) // SetUp got that far
            qputenv("PATH", oldPath);
        mwtest::FleetTest::TearDown();
    }
    QByteArray oldPath;
    frametest::RunRecorder run{60000};
};

TEST_F(OtherParamButtonTest, ButtonRunsTheStoredFamiliesOnTheCheckedRows) {
    ParamsMgr* store = ozmParamsMgr();
    OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord("127.0.6.1");
    store->setTcpIpInfo(&tcp);
    OZM::_SC_PORT_DATA port{8081, 8555, 8443, 8899, 1};
    store->setPortParamInfo(&port);
    OZM::_SC_SETOSD_DATA_ osd{};
    std::strcpy(osd.text, "line-7");
    store->setOsdInfo(&osd);
    // The longest wait time: at a small time scale under a slow (sanitized) build the restart
    // waits' real ping processes would otherwise reach the run's time limit first.
    store->setWaitInfo(86400);
    OZM::SC_OTHERPARAMENABLE flags{};
    flags.flag[OZM::FamilyTcpIp] = 1;
    flags.flag[OZM::FamilyPort] = 1;
    flags.flag[OZM::FamilyOsd] = 1;
    flags.flag[OZM::FamilyTime] = 2; // counts only when exactly 1
    store->setOtherParamEnable(&flags);
    camsim::useFleet(camsim::defaultFleet(3));

    MainFrame frame;
    // Nothing checked: the selection warning, no run.
    frame.onModifyOtherParameters();
    EXPECT_EQ(run.tips, QStringList{"Please select the device first!"});
    EXPECT_TRUE(run.tables.empty());

    ASSERT_TRUE(frametest::searchAndLogin(frame, 3));
    frame.deviceTable()->setRowChecked(0, true);
    frame.deviceTable()->setRowChecked(2, true);
    const QVector<QStringList> checked = frame.checkedRows();
    ASSERT_EQ(checked.size(), 2);
    camsim::clearCallLog();
    run.tips.clear();
    frame.onModifyOtherParameters();

    EXPECT_TRUE(run.tips.isEmpty()) << run.tips.join("; ").toStdString();
    ASSERT_EQ(run.tables.size(), 1u);
    const frametest::ShownTable& table = run.tables[0];
    EXPECT_EQ(table.headers, (QStringList{"IP", "Setting OSD", "Setting TCP/IP", "Setting Port"}));
    ASSERT_EQ(table.rows.size(), 2);
    // Rows in the checked order with the addresses they had; new addresses in the same order.
    const QString newIps[] = {"127.0.6.1", "127.0.6.2"};
    std::set<std::string> changed;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const QString mac = checked[i].value(8);
        EXPECT_EQ(table.rows[i], (QStringList{checked[i].value(1), "Success", "Success", "Success"}));
        camsim::CameraProfile now;
        ASSERT_TRUE(camsim::findCamera(mac.toStdString(), &now));
        EXPECT_EQ(now.ip, newIps[i].toStdString());
        EXPECT_EQ(now.httpPort, 8081);
        EXPECT_EQ(now.rtspPort, 8555);
        // The main window follows the notifications: new address and ports in its checked rows.
        const QStringList row = frame.checkedRows().value(i);
        EXPECT_EQ(row.value(1), newIps[i]);
        EXPECT_EQ(row.value(12), "8081");
        EXPECT_EQ(row.value(13), "8555");
        changed.insert(mac.toStdString());
    }
    // The unchecked camera was left alone; no family with a flag other than 1 ran.
    std::set<std::string> reached;
    for (const char* call : {"KVX_NET_SetOSD2", "KVX_NET_SetAgreementProperty", "KVX_NET_SetNetPropertyEx"})
        for (const camsim::CallRecord& record : camsim::calls(call))
            reached.insert(record.camera);
    EXPECT_EQ(reached, changed);
    EXPECT_TRUE(camsim::calls("KVX_NET_SetTimeParam").empty());
}

} // namespace
