// "Other Parameters" from the main window's slot to the result table, over the simulated fleet.
#include "DeviceManager.h"
#include "MainFrame.h"
#include "MainWindowTestSupport.h"
#include "ProgressBarDialog.h"
#include "ShowResultDialog.h"
#include "TipDialog.h"

#include "camsim/SimControl.h"
#include "Cmodifyresultmodel.h"
#include "ozmlogic/ParamsMgr.h"
#include "Cmodifytableview.h"
#include "tarsel/CTableView.h"

#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

class OtherParamButtonTest : public mwtest::MainWindowTest {
protected:
    void SetUp() override {
        mwtest::MainWindowTest::SetUp();
        oldPath = qgetenv("PATH");
        qputenv("PATH", qgetenv("CORVANE_BIN_DIR") + "/simping:" + oldPath);
        camsim::resetWorld();
        camsim::useFleet(camsim::defaultFleet(3));
        ozmParamsMgr()->setSearchTime(5);
        ozmParamsMgr()->setSearchFullNetcom(0);
        // The busy indicator stays until the run ends; tips and result tables are recorded.
        closer().setDecider([this](QWidget* widget) {
            if (qobject_cast<ProgressBarDialog*>(widget))
                return harness::ModalCloser::Action::Leave;
            if (auto* tip = qobject_cast<TipDialog*>(widget))
                tips << tip->textLabel->text();
            if (auto* dialog = qobject_cast<ShowResultDialog*>(widget)) {
                Cmodifyresultmodel* model = dialog->table()->resultModel();
                QStringList headers;
                for (int c = 0; c < model->columnCount(); ++c)
                    headers << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
                tables << QList<QStringList>{headers};
                for (int r = 0; r < dialog->table()->rowCount(); ++r) {
                    QStringList row;
                    for (int c = 0; c < model->columnCount(); ++c)
                        row << dialog->table()->getData(r, c).toString();
                    tables.back() << row;
                }
            }
            return harness::ModalCloser::Action::Accept;
        });
    }
    void TearDown() override {
        camsim::resetWorld();
        qputenv("PATH", oldPath);
        mwtest::MainWindowTest::TearDown();
    }
    static void searchAndLogin(MainFrame& frame) {
        auto* box = frame.findChild<QComboBox*>("networkCardTypeBox");
        ASSERT_NE(box, nullptr);
        box->setCurrentIndex(box->findText("[127.0.0.1]", Qt::MatchContains));
        frame.onSearchDevices();
        CTableView* table = frame.deviceTable();
        ASSERT_TRUE(harness::waitFor(
            [&] {
                int loggedIn = 0;
                for (int row = 0; row < table->rowCount(); ++row)
                    loggedIn += table->getData(row, CTableView::ColStatus).toString() == "Login Successful";
                return loggedIn == 3;
            },
            20000));
    }

    QByteArray oldPath;
    QStringList tips;
    QList<QList<QStringList>> tables; // per table: headers, then rows
};

TEST_F(OtherParamButtonTest, ButtonRunsTheStoredFamiliesOnTheCheckedRows) {
    ParamsMgr* store = ozmParamsMgr();
    OZM::_SC_TCP_IP_DATA tcp{};
    std::strcpy(tcp.ip, "127.0.6.1");
    std::strcpy(tcp.mask, "255.0.0.0");
    std::strcpy(tcp.gateway, "127.0.0.1");
    std::strcpy(tcp.dns, "127.0.0.1");
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
    EXPECT_EQ(tips, QStringList{"Please select the device first!"});
    EXPECT_TRUE(tables.isEmpty());

    searchAndLogin(frame);
    frame.deviceTable()->setRowChecked(0, true);
    frame.deviceTable()->setRowChecked(2, true);
    const QVector<QStringList> checked = frame.checkedRows();
    ASSERT_EQ(checked.size(), 2);
    camsim::clearCallLog();
    tips.clear();
    frame.onModifyOtherParameters();

    EXPECT_TRUE(tips.isEmpty()) << tips.join("; ").toStdString();
    ASSERT_EQ(tables.size(), 1);
    const QList<QStringList>& table = tables[0];
    EXPECT_EQ(table.value(0), (QStringList{"IP", "Setting OSD", "Setting TCP/IP", "Setting Port"}));
    ASSERT_EQ(table.size(), 3);
    // Rows in the checked order with the addresses they had; new addresses in the same order.
    const QString newIps[] = {"127.0.6.1", "127.0.6.2"};
    std::set<std::string> changed;
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const QString mac = checked[i].value(8);
        EXPECT_EQ(table[i + 1], (QStringList{checked[i].value(1), "Success", "Success", "Success"}));
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
