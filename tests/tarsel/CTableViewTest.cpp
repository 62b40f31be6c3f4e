#include "tarsel/CTableView.h"
#include "tarsel/SwitchControl.h"

#include "harness/QtApp.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <random>
#include <thread>

namespace {

QApplication& app() {
    return *harness::qtApp();
}

QStringList deviceRow(const QString& ip, const QString& mac, const QString& serial = "SN1") {
    QStringList row;
    for (int i = 0; i < CTableView::ColumnCount; ++i)
        row << QString();
    row[1] = ip;
    row[7] = serial;
    row[8] = mac;
    row[12] = "80";
    row[13] = "554";
    row[17] = "admin";
    row[18] = "pw";
    return row;
}

void notify(CTableView& table, int type, const QStringList& texts) {
    OZM::_NOTIFY_PARAM param;
    param.type = type;
    QStringList copy = texts;
    param.data = &copy;
    table.setNotify(&param);
}

struct AppReady {
    AppReady() { app(); }
};

class CTableViewTest : public ::testing::Test, private AppReady {
protected:
    void SetUp() override {
        table.addRow(deviceRow("127.0.1.1", "AA:00:00:00:00:01", "S1"));
        table.addRow(deviceRow("127.0.1.2", "AA:00:00:00:00:02", "S2"));
        table.addRow(deviceRow("127.0.1.3", "AA:00:00:00:00:03", "S3"));
    }
    CTableView table;
};

TEST_F(CTableViewTest, RowsKeepTheirTextsAndArePaddedOrCut) {
    EXPECT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.getData(1, 1).toString(), "127.0.1.2");
    EXPECT_EQ(table.getData(1, 8).toString(), "AA:00:00:00:00:02");
    EXPECT_FALSE(table.getData(3, 1).isValid());
    EXPECT_FALSE(table.getData(0, 19).isValid());
    EXPECT_FALSE(table.getData(-1, 0).isValid());

    QSignalSpy count(&table, &CTableView::updateCount);
    table.addRow({"", "10.0.0.1"});
    QStringList longRow;
    for (int i = 0; i < 25; ++i)
        longRow << "x";
    table.addRow(longRow);
    EXPECT_EQ(table.rowData(3).size(), CTableView::ColumnCount);
    EXPECT_EQ(table.rowData(4).size(), CTableView::ColumnCount);
    ASSERT_EQ(count.size(), 2);
    EXPECT_EQ(count.at(1).at(0).toInt(), 5);
}

TEST_F(CTableViewTest, CheckingRowsReportsTheCheckedRows) {
    QSignalSpy spy(&table, &CTableView::update_checkstate);
    table.setRowChecked(0, true);
    table.setRowChecked(2, true);
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy.at(1).at(0).toInt(), int(CTableView::RowCheckChanged));
    auto rows = spy.at(1).at(1).value<QVector<QStringList>>();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][7], "S1");
    EXPECT_EQ(rows[1][7], "S3");
    EXPECT_FALSE(table.isCheckAll());
    table.setRowChecked(1, true);
    EXPECT_TRUE(table.isCheckAll()) << "header box follows when every row is checked";
    table.setRowChecked(1, false);
    EXPECT_FALSE(table.isCheckAll());
}

TEST_F(CTableViewTest, CheckAllAndHeaderClick) {
    QSignalSpy spy(&table, &CTableView::update_checkstate);
    table.setIsCheckAll(true);
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), int(CTableView::CheckAllChanged));
    EXPECT_EQ(spy.at(0).at(1).value<QVector<QStringList>>().size(), 3);
    emit table.horizontalHeader()->sectionClicked(0);
    EXPECT_FALSE(table.isCheckAll());
    EXPECT_TRUE(table.checkedRows().isEmpty());
    emit table.horizontalHeader()->sectionClicked(3);
    EXPECT_EQ(spy.size(), 2) << "other header sections do not check";

    // A row that arrives while every row is checked comes unchecked: the box is no longer "all",
    // and the next header click checks every row, the new one too.
    emit table.horizontalHeader()->sectionClicked(0);
    ASSERT_TRUE(table.isCheckAll());
    table.addRow(deviceRow("127.0.1.4", "AA:00:00:00:00:04", "S4"));
    EXPECT_FALSE(table.isCheckAll()) << "3 of 4 rows checked";
    EXPECT_EQ(table.checkedRows().size(), 3);
    emit table.horizontalHeader()->sectionClicked(0);
    EXPECT_TRUE(table.isCheckAll());
    EXPECT_EQ(table.checkedRows().size(), 4);
}

TEST_F(CTableViewTest, ClearEmptiesAndReportsStateTwo) {
    table.setIsCheckAll(true);
    QSignalSpy spy(&table, &CTableView::update_checkstate);
    QSignalSpy count(&table, &CTableView::updateCount);
    table.clear();
    EXPECT_EQ(table.rowCount(), 0);
    EXPECT_FALSE(table.isCheckAll());
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), int(CTableView::TableCleared));
    ASSERT_EQ(count.size(), 1);
    EXPECT_EQ(count.at(0).at(0).toInt(), 0);
}

TEST_F(CTableViewTest, RemoveDataRemovesTheFirstRowOfTheMac) {
    table.addRow(deviceRow("127.0.9.9", "AA:00:00:00:00:02", "S2b"));
    table.setRowChecked(1, true);
    QSignalSpy spy(&table, &CTableView::update_checkstate);
    QSignalSpy count(&table, &CTableView::updateCount);
    table.removeData("AA:00:00:00:00:02");
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_EQ(table.getData(1, 1).toString(), "127.0.1.3");
    EXPECT_EQ(table.getData(2, 7).toString(), "S2b");
    ASSERT_EQ(spy.size(), 1);
    EXPECT_TRUE(spy.at(0).at(1).value<QVector<QStringList>>().isEmpty());
    EXPECT_EQ(count.at(0).at(0).toInt(), 3);
    table.removeData("no such mac");
    EXPECT_EQ(table.rowCount(), 3);
}

TEST_F(CTableViewTest, EachNotificationCodeReachesItsColumn) {
    const QString mac = "AA:00:00:00:00:02";
    notify(table, 1, {mac, "Front door"});
    EXPECT_EQ(table.getData(1, CTableView::ColName).toString(), "Front door");
    notify(table, 2, {mac, "Logging in..."});
    EXPECT_EQ(table.getData(1, CTableView::ColStatus).toString(), "Logging in...");
    notify(table, 3, {mac, "Enable"});
    EXPECT_EQ(table.getData(1, 2).toString(), "Enable");
    notify(table, 7, {mac, ""});
    EXPECT_EQ(table.getData(1, 3).toString(), "");
    notify(table, 7, {mac, "Yes"});
    EXPECT_EQ(table.getData(1, 3).toString(), "Yes");
    notify(table, 8, {mac, "127.0.5.5", "New IP:127.0.5.5"});
    EXPECT_EQ(table.getData(1, 1).toString(), "127.0.5.5");
    EXPECT_EQ(table.getData(1, CTableView::ColStatus).toString(), "New IP:127.0.5.5");
    notify(table, 9, {mac, "8080", "5554"});
    EXPECT_EQ(table.getData(1, 12).toString(), "8080");
    EXPECT_EQ(table.getData(1, 13).toString(), "5554");
    for (int code : {10, 11, 12, 13}) {
        const QString text = QString("result %1").arg(code);
        notify(table, code, {mac, text});
        EXPECT_EQ(table.getData(1, CTableView::ColStatus).toString(), text);
    }
    notify(table, 14, {mac, "root", "secret"});
    EXPECT_EQ(table.getData(1, 17).toString(), "root");
    EXPECT_EQ(table.getData(1, 18).toString(), "secret");
    // Other rows untouched.
    EXPECT_EQ(table.getData(0, 1).toString(), "127.0.1.1");
    EXPECT_EQ(table.getData(2, 17).toString(), "admin");

    // A display text changes what the cells show, not what the table keeps and reports.
    notify(table, 10, {mac, "Login Successful"});
    table.setDisplayText([](int column, const QString& text) {
        return column == CTableView::ColStatus ? "[" + text + "]" : text;
    });
    const QModelIndex status = table.model()->index(1, CTableView::ColStatus);
    EXPECT_EQ(status.data(Qt::DisplayRole).toString(), "[Login Successful]");
    EXPECT_EQ(status.data(Qt::ToolTipRole).toString(), "[Login Successful]");
    EXPECT_EQ(table.model()->index(1, 1).data().toString(), "127.0.5.5");
    EXPECT_EQ(table.getData(1, CTableView::ColStatus).toString(), "Login Successful");
    EXPECT_EQ(table.rowData(1).value(CTableView::ColStatus), "Login Successful");
    table.setRowChecked(1, true);
    EXPECT_EQ(table.checkedRows().value(0).value(CTableView::ColStatus), "Login Successful");
}

TEST_F(CTableViewTest, DeviceLookupFollowsAddsChangesAndRemovals) {
    EXPECT_TRUE(table.containsDevice("127.0.1.2", "AA:00:00:00:00:02"));
    EXPECT_FALSE(table.containsDevice("127.0.1.2", "AA:00:00:00:00:01"));
    EXPECT_FALSE(table.containsDevice("127.0.1.2", "aa:00:00:00:00:02")) << "case-sensitive";
    table.addRow(deviceRow("127.0.1.2", "AA:00:00:00:00:02", "twin"));
    notify(table, 8, {"AA:00:00:00:00:02", "127.0.7.7", "New IP:127.0.7.7"});
    EXPECT_TRUE(table.containsDevice("127.0.7.7", "AA:00:00:00:00:02"));
    EXPECT_FALSE(table.containsDevice("127.0.1.2", "AA:00:00:00:00:02"));
    table.removeData("AA:00:00:00:00:02");
    EXPECT_TRUE(table.containsDevice("127.0.7.7", "AA:00:00:00:00:02")) << "the second row is still there";
    table.removeData("AA:00:00:00:00:02");
    EXPECT_FALSE(table.containsDevice("127.0.7.7", "AA:00:00:00:00:02"));
    table.clear();
    EXPECT_FALSE(table.containsDevice("127.0.1.1", "AA:00:00:00:00:01"));
}

TEST_F(CTableViewTest, MalformedNotificationsAreIgnored) {
    const QStringList before = table.rowData(0);
    const QString mac = "AA:00:00:00:00:01";
    OZM::_NOTIFY_PARAM param;
    param.type = 2;
    table.setNotify(&param); // no data
    table.setNotify(nullptr);
    notify(table, 2, {});
    notify(table, 2, {mac});
    notify(table, 9, {mac, "8080"});
    notify(table, 14, {mac, "root"});
    notify(table, 42, {mac, "x", "y"});
    param.type = 5;
    param.data = reinterpret_cast<void*>(intptr_t(3));
    table.setNotify(&param);
    EXPECT_EQ(table.rowData(0), before);
}

TEST_F(CTableViewTest, ForeignThreadNotificationsApplyOnGuiThreadInOrder) {
    const QString mac = "AA:00:00:00:00:03";
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i)
            notify(table, 2, {mac, QString("step %1").arg(i)});
    });
    worker.join();
    EXPECT_EQ(table.getData(2, CTableView::ColStatus).toString(), "") << "not applied off the GUI thread";
    QCoreApplication::processEvents();
    EXPECT_EQ(table.getData(2, CTableView::ColStatus).toString(), "step 199");
}

TEST_F(CTableViewTest, RightClickMenuActsOnItsRow) {
    table.resize(1007, 460);
    table.show();
    QSignalSpy browser(&table, &CTableView::onOpenTheDeviceBrowser);
    QSignalSpy qr(&table, &CTableView::onViewDeviceQRcode);
    EXPECT_EQ(table.menuRow(), -1);
    const QRect cell = table.visualRect(table.model()->index(1, 1));
    QContextMenuEvent event(QContextMenuEvent::Mouse, cell.center(),
                            table.viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(table.viewport(), &event);
    EXPECT_EQ(table.menuRow(), 1);
    EXPECT_EQ(table.menuRowData().value(7), "S2");
    table.browserAction()->trigger();
    table.qrcodeAction()->trigger();
    EXPECT_EQ(browser.size(), 1);
    EXPECT_EQ(qr.size(), 1);
    table.contextMenu()->close();
    table.removeData("AA:00:00:00:00:01");
    EXPECT_EQ(table.menuRow(), 0) << "menu row follows the removal of an earlier row";
    table.removeData("AA:00:00:00:00:02");
    EXPECT_EQ(table.menuRow(), -1);
}

TEST_F(CTableViewTest, LeftDoubleClickReportsTheRow) {
    table.resize(1007, 460);
    table.show();
    QSignalSpy spy(&table, &CTableView::leftdoubleClicked);
    const QRect cell = table.visualRect(table.model()->index(2, 5));
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 2);
    EXPECT_EQ(table.doubleClickedRowData().value(1), "127.0.1.3");
    QTest::mouseDClick(table.viewport(), Qt::RightButton, Qt::NoModifier, cell.center());
    EXPECT_EQ(spy.size(), 1);
}

TEST(SwitchControlTest, ClickAndSpaceToggleAndSetToggleIsSilent) {
    app();
    SwitchControl sw(28, 16);
    EXPECT_EQ(sw.size(), QSize(28, 16));
    QSignalSpy spy(&sw, &SwitchControl::toggled);
    sw.setToggle(true);
    EXPECT_TRUE(sw.isToggled());
    EXPECT_EQ(spy.size(), 0);
    sw.show();
    QTest::mouseClick(&sw, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
    EXPECT_FALSE(sw.isToggled());
    ASSERT_EQ(spy.size(), 1);
    EXPECT_FALSE(spy.at(0).at(0).toBool());
    QTest::mouseClick(&sw, Qt::RightButton, Qt::NoModifier, QPoint(5, 8));
    EXPECT_EQ(spy.size(), 1);
    QTest::mouseClick(&sw, Qt::LeftButton, Qt::NoModifier, QPoint(5, 8));
    EXPECT_TRUE(sw.isToggled());
    EXPECT_TRUE(spy.at(1).at(0).toBool());
    // Tab reaches it and Space toggles it as a click does.
    EXPECT_TRUE(sw.focusPolicy() & Qt::TabFocus);
    QTest::keyClick(&sw, Qt::Key_Space);
    EXPECT_FALSE(sw.isToggled());
    ASSERT_EQ(spy.size(), 3);
    EXPECT_FALSE(spy.at(2).at(0).toBool());
}

} // namespace

// The MAC index follows every add, removal, clear and notification, against a plain list.
TEST(CTableViewIndex, RandomEditsMatchAPlainList) {
    app();
    CTableView table;
    struct Ref {
        QString mac;
        QString ip;
        QString name;
    };
    std::vector<Ref> ref;
    std::mt19937 gen(7);
    auto macOf = [](unsigned k) { return QString("AA:00:00:00:00:%1").arg(k, 2, 16, QChar('0')); };
    for (int step = 0; step < 3000; ++step) {
        const unsigned op = gen() % 100;
        const QString mac = macOf(gen() % 12);
        if (op < 40) {
            const QString ip = QString("127.0.3.%1").arg(step % 250 + 1);
            table.addRow(deviceRow(ip, mac));
            ref.push_back({mac, ip, QString()});
        } else if (op < 60) {
            table.removeData(mac);
            const auto it = std::find_if(ref.begin(), ref.end(), [&](const Ref& r) { return r.mac == mac; });
            if (it != ref.end())
                ref.erase(it);
        } else if (op < 85) {
            const QString name = QString("n%1").arg(step);
            notify(table, 1, {mac, name});
            for (Ref& r : ref)
                if (r.mac == mac)
                    r.name = name;
        } else if (op < 98) {
            const QString ip = QString("127.0.4.%1").arg(step % 250 + 1);
            notify(table, 8, {mac, ip, "New IP"});
            for (Ref& r : ref)
                if (r.mac == mac)
                    r.ip = ip;
        } else {
            table.clear();
            ref.clear();
        }
        ASSERT_EQ(table.rowCount(), static_cast<int>(ref.size())) << step;
        for (std::size_t row = 0; row < ref.size(); ++row) {
            const int r = static_cast<int>(row);
            ASSERT_EQ(table.getData(r, CTableView::ColMac).toString(), ref[row].mac) << step;
            ASSERT_EQ(table.getData(r, CTableView::ColIp).toString(), ref[row].ip) << step;
            ASSERT_EQ(table.getData(r, CTableView::ColName).toString(), ref[row].name) << step;
            ASSERT_TRUE(table.containsDevice(ref[row].ip, ref[row].mac)) << step;
        }
    }
}

// A notification finds its row in constant time: as many notifications cost about the same in a
// table sixteen times larger (a scan per notification would cost sixteen times as much). Measured
// on this thread's CPU clock, so other processes' load does not count; best of three.
TEST(CTableViewIndex, NamingEveryRowGrowsLinearly) {
    app();
    auto threadCpuMs = [] {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    };
    const int notifications = 16000;
    auto namingMs = [&](int rows) {
        CTableView table;
        for (int i = 0; i < rows; ++i)
            table.addRow(deviceRow("127.0.0.1", QString("MAC-%1").arg(i)));
        const double start = threadCpuMs();
        for (int i = 0; i < notifications; ++i)
            notify(table, 1, {QString("MAC-%1").arg(i % rows), QString("Camera%1").arg(i / rows)});
        const double spent = threadCpuMs() - start;
        EXPECT_EQ(table.getData(rows - 1, CTableView::ColName).toString(),
                  QString("Camera%1").arg(notifications / rows - 1));
        return spent;
    };
    double small = 1e9;
    double large = 1e9;
    for (int run = 0; run < 3; ++run) {
        small = std::min(small, namingMs(1000));
        large = std::min(large, namingMs(16000));
    }
    EXPECT_LT(large, 6 * small) << small << " ms in 1000 rows, " << large << " ms in 16000";
}
