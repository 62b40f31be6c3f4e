#include "MainFrame.h"
#include "MainWindowTestSupport.h"
#include "NetInfoBatch.h"
#include "RowTexts.h"

#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"
#include "tarsel/SwitchControl.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QTextCodec>
#include <QTranslator>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

class MainFrameTestAccess {
public:
    static int reloginReceivers(MainFrame& frame) {
        return frame.receivers(SIGNAL(reLoginReq(DSC_SEARCH_RESPONSE_INFO)));
    }
    static QPushButton* searchButton(MainFrame& frame) { return frame._searchBtn; }
    static QLabel* totalLabel(MainFrame& frame) { return frame._totalCountLabel; }
    static QLabel* selectedLabel(MainFrame& frame) { return frame._selectedCountLabel; }
    static SwitchControl* streamSwitch(MainFrame& frame) { return frame._mainStreamSwitch; }
    static SwitchControl* fullNetcomSwitch(MainFrame& frame) { return frame._fullNetcomSwitch; }
    static QComboBox* cardBox(MainFrame& frame) { return frame._networkCardTypeBox; }
    static PendingList<DeviceResultInfo>& rebootList(MainFrame& frame) { return frame._rebootList; }
    static NetInfoBatch& netBatch(MainFrame& frame) { return *frame._netBatch; }
};

namespace {

using Access = MainFrameTestAccess;
using mwtest::addRow;

// A search record as the search library delivers it.
struct RecordBuilder {
    DSC_SEARCH_RESPONSE_INFO record{};
    unsigned char* bytes() { return reinterpret_cast<unsigned char*>(&record); }
    RecordBuilder& text(std::size_t offset, const char* value, std::size_t width) {
        std::memset(bytes() + offset, 0, width);
        std::memcpy(bytes() + offset, value, std::min(width, std::strlen(value)));
        return *this;
    }
    RecordBuilder& u8(std::size_t offset, std::uint8_t value) {
        bytes()[offset] = value;
        return *this;
    }
    RecordBuilder& raw32(std::size_t offset, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2,
                         std::uint8_t b3) {
        bytes()[offset] = b0;
        bytes()[offset + 1] = b1;
        bytes()[offset + 2] = b2;
        bytes()[offset + 3] = b3;
        return *this;
    }
    static RecordBuilder camera(const char* ip, const char* mac, const char* serial = "SN0001") {
        RecordBuilder b;
        b.text(0, "searching..", 12).u8(12, 11).text(24, ip, 16).text(104, mac, 18).text(448, serial, 32);
        b.text(40, "255.0.0.0", 16).text(56, "127.0.0.1", 16).text(72, "127.0.0.53", 16);
        b.raw32(240, 0, 0, 0, 0x50).raw32(244, 0, 0, 0x02, 0x2A);
        b.text(480, "admin", 32).text(512, "123456", 32).text(384, "IPC-MODEL-1", 64);
        return b;
    }
};

class MainFrameTest : public mwtest::MainWindowTest {
protected:
    void SetUp() override {
        mwtest::MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        ozmParamsMgr()->setStream(1);
        ozmParamsMgr()->setSearchFullNetcom(0);
    }

    static void deliver(MainFrame& frame, const RecordBuilder& b) { frame.onSearchResult(&b.record); }
    static void settle() {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    static void notify(MainFrame& frame, int type, QStringList texts) {
        OZM::_NOTIFY_PARAM param;
        param.type = type;
        param.data = &texts;
        MainFrame::notifyCallback(&param, &frame);
    }
};

TEST_F(MainFrameTest, LayoutCaptionsSizesAndStartState) {
    ozmParamsMgr()->setStream(0);
    ozmParamsMgr()->setSearchFullNetcom(3);
    MainFrame frame;
    EXPECT_EQ(frame.size(), QSize(1336, 760));
    EXPECT_TRUE(Access::streamSwitch(frame)->isToggled());
    EXPECT_TRUE(Access::fullNetcomSwitch(frame)->isToggled());
    EXPECT_EQ(ozmParamsMgr()->getStream(), 0) << "start-up writes nothing back";
    EXPECT_EQ(ozmParamsMgr()->getSearchFullNetcom(), 3 != 0 ? ozmParamsMgr()->getSearchFullNetcom() : 0);

    QStringList captions;
    for (QPushButton* button : frame.findChildren<QPushButton*>()) {
        if (button->objectName() == "commonBtn")
            captions << button->text();
    }
    const QStringList single =
        QString("System Configuration|Device Search|Set IP|Open FullNetcom|Close FullNetcom|Open DHCP|"
                "Close DHCP|PtzAndAudio Setting|Check Device SD Card|Play Check Device|Sync time|Reboot|"
                "Simple Recovery|Full Recovery|Audio Detection|GPIO Detection|Config Parm|Set OSD|Image Test|"
                "Ten Zoom|Label Printing|Browse|File Upgrade")
            .split('|');
    for (const QString& caption : single)
        EXPECT_EQ(captions.count(caption), 1) << caption.toStdString();
    EXPECT_EQ(captions.count("Modify"), 3);

    auto* box = frame.findChild<QGroupBox*>("groupBoxArea");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), "Operationl Insruction");
    EXPECT_EQ(box->size(), QSize(288, 510));
    auto* table = frame.findChild<CTableView*>("QTableView");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->size(), QSize(1007, 460));
    EXPECT_EQ(Access::totalLabel(frame)->text(), "0");
    EXPECT_EQ(Access::selectedLabel(frame)->text(), "0");

    frame.show();
    for (QPushButton* button : frame.findChildren<QPushButton*>()) {
        const bool detection = button->text() == "Audio Detection" || button->text() == "GPIO Detection";
        if (button->objectName() == "commonBtn") {
            EXPECT_EQ(button->isVisible(), !detection) << button->text().toStdString();
        }
        EXPECT_TRUE(button->isEnabled() || button->objectName() == "maxNormalBtn")
            << button->text().toStdString();
    }

    // The operation buttons show their full 30 px height and their caption inside a padding.
    ASSERT_FALSE(frame.styleSheet().isEmpty()) << "the skin's style sheet";
    int checked = 0;
    for (QPushButton* button : box->findChildren<QPushButton*>()) {
        if (!button->isVisible())
            continue;
        SCOPED_TRACE(button->text().toStdString());
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect face = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        EXPECT_EQ(button->height(), 30);
        EXPECT_GE(face.height(), 28);
        EXPECT_GE(face.left(), 3);
        EXPECT_LE(face.right(), button->width() - 4);
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), face.width());
        ++checked;
    }
    EXPECT_EQ(checked, 21);
}

TEST_F(MainFrameTest, SwitchesStartFromTheStoreAndWriteOnlyOnClick) {
    ozmParamsMgr()->setStream(1);
    ozmParamsMgr()->setSearchFullNetcom(0);
    MainFrame frame;
    frame.show();
    EXPECT_FALSE(Access::streamSwitch(frame)->isToggled());
    EXPECT_FALSE(Access::fullNetcomSwitch(frame)->isToggled());
    QTest::mouseClick(Access::streamSwitch(frame), Qt::LeftButton);
    EXPECT_EQ(ozmParamsMgr()->getStream(), 0);
    QTest::mouseClick(Access::fullNetcomSwitch(frame), Qt::LeftButton);
    EXPECT_EQ(ozmParamsMgr()->getSearchFullNetcom(), 1);
    QTest::mouseClick(Access::streamSwitch(frame), Qt::LeftButton);
    EXPECT_EQ(ozmParamsMgr()->getStream(), 1);
}

TEST(MainFrameStatic, NetworkCardItemsAndSearchAddress) {
    QList<MainFrame::NetworkCard> cards;
    cards << MainFrame::NetworkCard{"lo", true, true, true, {"127.0.0.1"}};
    cards << MainFrame::NetworkCard{"Ethernet", true, true, false, {"10.0.0.5"}};
    cards << MainFrame::NetworkCard{"vmware network adapter", true, true, false, {"10.1.1.1"}};
    cards << MainFrame::NetworkCard{"down0", false, true, false, {"10.2.2.2"}};
    cards << MainFrame::NetworkCard{"idle0", true, false, false, {"10.3.3.3"}};
    cards << MainFrame::NetworkCard{"Wi-Fi", true, true, false, {"192.0.2.7", "198.51.100.1"}};
    const QStringList items = MainFrame::networkCardItems(cards);
    EXPECT_EQ(items, QStringList({"[Ethernet][10.0.0.5]", "[Wi-Fi][192.0.2.7]", "[Wi-Fi][198.51.100.1]",
                                  "[lo][127.0.0.1]"}));
    EXPECT_EQ(MainFrame::searchAddress("[Ethernet][10.0.0.5]"), "10.0.0.5");
    EXPECT_EQ(MainFrame::searchAddress("[a[b]][127.0.0.1]"), "127.0.0.1");
    EXPECT_EQ(MainFrame::searchAddress(""), "");
}

TEST_F(MainFrameTest, CardBoxListsTheLoopbackCard) {
    MainFrame frame;
    QComboBox* box = Access::cardBox(frame);
    ASSERT_GE(box->count(), 1);
    EXPECT_GE(box->findText("127.0.0.1", Qt::MatchContains), 0);
    EXPECT_EQ(box->currentIndex(), box->count() >= 2 ? 1 : 0);
}

TEST(MainFrameStatic, RowIsBuiltByteExactly) {
    RecordBuilder b = RecordBuilder::camera("127.0.3.4", "00:11:22:33:44:55", "SN-77");
    b.u8(20, 1).u8(22, 1).u8(23, 1).u8(296, 4).raw32(300, 0x10, 0x27, 0, 0);
    QStringList row = MainFrame::buildDeviceRow(b.record);
    ASSERT_EQ(row.size(), 19);
    // Port 80 is 00 00 00 50 in network order; 10000 is as stored.
    EXPECT_EQ(row.join('|').toStdString(), "|127.0.3.4|Enable|Yes||IPC-MODEL-1||SN-77|00:11:22:33:44:55|"
                                           "255.0.0.0|127.0.0.1|127.0.0.53|80|554|4|Open|10000|admin|123456");

    b.u8(20, 0).u8(22, 0).u8(23, 2);
    row = MainFrame::buildDeviceRow(b.record);
    EXPECT_EQ(row[15], "Close");
    EXPECT_EQ(row[2], "Disable");
    EXPECT_EQ(row[3], "");
    b.u8(20, 2);
    EXPECT_EQ(MainFrame::buildDeviceRow(b.record)[15], "");

    // Fields without a terminator stop at their width; Latin-1 bytes map one to one.
    std::memset(b.bytes() + 24, '7', 16);
    std::memset(b.bytes() + 448, 'S', 32);
    b.u8(480, 0xE9).u8(481, 0);
    row = MainFrame::buildDeviceRow(b.record);
    EXPECT_EQ(row[1], QString(16, '7'));
    EXPECT_EQ(row[7], QString(32, 'S'));
    EXPECT_EQ(row[17], QString(QChar(0xE9)));
    EXPECT_EQ(MainFrame::toHostOrder(0x50000000u), 0x50u);
    EXPECT_EQ(MainFrame::toHostOrder(0x11223344u), 0x44332211u);
}

TEST_F(MainFrameTest, AnswersFromTheSearchThreadBecomeRowsInOrder) {
    MainFrame frame;
    CTableView* table = frame.deviceTable();
    std::thread searchThread([&frame] {
        deliver(frame, RecordBuilder::camera("127.0.5.1", "AA:00:00:00:05:01"));
        deliver(frame, RecordBuilder::camera("127.0.5.2", "AA:00:00:00:05:02"));
        deliver(frame, RecordBuilder::camera("127.0.5.1", "AA:00:00:00:05:01")); // the same camera again
        deliver(frame, RecordBuilder::camera("127.0.5.1", "AA:00:00:00:05:03")); // same IP, other MAC
        deliver(frame, RecordBuilder::camera("127.0.5.9", "AA:00:00:00:05:01")); // same MAC, new IP
        deliver(frame, RecordBuilder::camera("127.0.5.4", ""));                  // no MAC
        RecordBuilder wrongTag = RecordBuilder::camera("127.0.5.5", "AA:00:00:00:05:05");
        wrongTag.text(0, "modifying..", 12);
        deliver(frame, wrongTag);
        RecordBuilder wrongType = RecordBuilder::camera("127.0.5.6", "AA:00:00:00:05:06");
        wrongType.u8(12, 12);
        deliver(frame, wrongType);
    });
    searchThread.join();
    EXPECT_EQ(table->rowCount(), 0) << "rows are added on the GUI thread only";
    settle();
    ASSERT_EQ(table->rowCount(), 4);
    EXPECT_EQ(table->getData(0, 1).toString(), "127.0.5.1");
    EXPECT_EQ(table->getData(1, 1).toString(), "127.0.5.2");
    EXPECT_EQ(table->getData(2, 8).toString(), "AA:00:00:00:05:03");
    EXPECT_EQ(table->getData(3, 1).toString(), "127.0.5.9");
    EXPECT_EQ(Access::totalLabel(frame)->text(), "4");
}

TEST_F(MainFrameTest, NullAnswerEndsTheSearchAndReportsTheRowCount) {
    MainFrame frame;
    QSignalSpy end(&frame, &MainFrame::searchDevEnd);
    Access::searchButton(frame)->setEnabled(false);
    deliver(frame, RecordBuilder::camera("127.0.6.1", "AA:00:00:00:06:01"));
    std::thread([&frame] { frame.onSearchResult(nullptr); }).join();
    settle();
    EXPECT_EQ(end.size(), 1);
    EXPECT_TRUE(Access::searchButton(frame)->isEnabled());
}

TEST_F(MainFrameTest, CheckedRowsAndTheLabelIni) {
    MainFrame frame;
    addRow(frame, "127.0.7.1", "AA:00:00:00:07:01", "SN-A");
    addRow(frame, "127.0.7.2", "AA:00:00:00:07:02", "SN-B");
    settle();
    CTableView* table = frame.deviceTable();
    const QString iniPath = dir() + "/Pellora/PelloraInfo.ini";

    table->setRowChecked(1, true);
    EXPECT_EQ(frame.checkedRows().size(), 1);
    EXPECT_EQ(Access::selectedLabel(frame)->text(), "1");
    {
        QSettings ini(iniPath, QSettings::IniFormat);
        ini.setIniCodec(QTextCodec::codecForName("GBK"));
        EXPECT_EQ(ini.value("CHINESEPRODUCTINFO/SN").toString(), "SN-B");
        EXPECT_EQ(ini.value("CHINESEPRODUCTINFO/MAC").toString(), "AA:00:00:00:07:02");
    }
    table->setRowChecked(0, true);
    EXPECT_EQ(frame.checkedRows().size(), 2);
    EXPECT_EQ(Access::selectedLabel(frame)->text(), "2");
    {
        QSettings ini(iniPath, QSettings::IniFormat);
        EXPECT_EQ(ini.value("CHINESEPRODUCTINFO/SN").toString(), "SN-B")
            << "two rows leave the earlier values";
    }
    frame.updateCheckState(CTableView::TableCleared, frame.checkedRows());
    EXPECT_TRUE(frame.checkedRows().isEmpty());
    EXPECT_EQ(Access::selectedLabel(frame)->text(), "0");
}

TEST_F(MainFrameTest, NotificationsUpdateCheckedRowsAndReachTheTable) {
    MainFrame frame;
    addRow(frame, "127.0.8.1", "AA:00:00:00:08:01");
    addRow(frame, "127.0.8.2", "AA:00:00:00:08:02");
    settle();
    frame.deviceTable()->setIsCheckAll(true);
    const QString mac = "AA:00:00:00:08:02";

    notify(frame, 8, {mac, "127.0.8.22", "New IP:127.0.8.22"});
    notify(frame, 9, {mac, "8080", "5554"});
    notify(frame, 14, {mac, "root", "pw2"});
    notify(frame, 1, {mac, "Gate"});
    notify(frame, 8, {"AA:FF:FF:FF:FF:FF", "127.0.9.9", "New IP:127.0.9.9"});
    const QStringList row = frame.checkedRows().at(1);
    EXPECT_EQ(row[1], "127.0.8.22");
    EXPECT_EQ(row[12], "8080");
    EXPECT_EQ(row[13], "5554");
    EXPECT_EQ(row[17], "root");
    EXPECT_EQ(row[18], "pw2");
    EXPECT_EQ(frame.checkedRows().at(0)[1], "127.0.8.1");
    CTableView* table = frame.deviceTable();
    EXPECT_EQ(table->getData(1, 1).toString(), "127.0.8.22");
    EXPECT_EQ(table->getData(1, CTableView::ColName).toString(), "Gate");
    EXPECT_EQ(table->getData(1, 17).toString(), "root");
}

// Every row text has a Chinese text of its own. In Chinese the table shows the known texts
// translated in the columns that show them only (a camera named "Open" keeps its name); the rows
// keep the English texts.
TEST_F(MainFrameTest, RowTextsShowTranslatedInTheirOwnColumnsOnly) {
    QTranslator chinese;
    ASSERT_TRUE(chinese.load(qEnvironmentVariable("CORVANE_BIN_DIR") + "/translations/corvane_zh_CN.qm"));
    ASSERT_FALSE(RowTexts::entries().empty());
    for (const RowTexts::Entry& entry : RowTexts::entries()) {
        const QString translated = chinese.translate(RowTexts::context(), entry.source);
        EXPECT_FALSE(translated.trimmed().isEmpty()) << entry.source;
        EXPECT_NE(translated, QString::fromLatin1(entry.source)) << entry.source;
    }

    QCoreApplication::installTranslator(&chinese);
    MainFrame frame;
    CTableView* table = frame.deviceTable();
    RecordBuilder on = RecordBuilder::camera("127.0.8.1", "AA:00:00:00:08:01");
    on.u8(20, 1).u8(22, 1).u8(23, 1);
    RecordBuilder off = RecordBuilder::camera("127.0.8.2", "AA:00:00:00:08:02");
    table->addRow(MainFrame::buildDeviceRow(on.record));
    table->addRow(MainFrame::buildDeviceRow(off.record));
    notify(frame, 1, {"AA:00:00:00:08:01", "Open"});
    notify(frame, 1, {"AA:00:00:00:08:02", "Yes"});
    notify(frame, 2, {"AA:00:00:00:08:01", "Login Failed"});
    notify(frame, 8, {"AA:00:00:00:08:02", "127.0.8.22", "New IP:127.0.8.22"});
    settle();
    auto shown = [table](int row, int column) {
        return table->model()->index(row, column).data().toString();
    };
    struct Cell {
        int row;
        int column;
        const char* shown;
        const char* stored;
    } cells[] = {
        {0, CTableView::ColName, "Open", "Open"},
        {1, CTableView::ColName, "Yes", "Yes"},
        {0, CTableView::ColStatus, "登录失败", "Login Failed"},
        {1, CTableView::ColStatus, "新IP：127.0.8.22", "New IP:127.0.8.22"},
        {0, CTableView::ColFullNetcom, "启用", "Enable"},
        {1, CTableView::ColFullNetcom, "禁用", "Disable"},
        {0, CTableView::ColNetcomFlag, "是", "Yes"},
        {1, CTableView::ColNetcomFlag, "", ""},
        {0, CTableView::ColDhcp, "开启", "Open"},
        {1, CTableView::ColDhcp, "关闭", "Close"},
    };
    for (const Cell& c : cells) {
        SCOPED_TRACE(std::to_string(c.row) + "/" + std::to_string(c.column));
        EXPECT_EQ(shown(c.row, c.column), QString::fromUtf8(c.shown));
        EXPECT_EQ(table->getData(c.row, c.column).toString(), QString::fromUtf8(c.stored));
    }
    // A known text in a column that does not show it stays as it is.
    notify(frame, 1, {"AA:00:00:00:08:01", "Login Failed"});
    notify(frame, 2, {"AA:00:00:00:08:02", "Enable"});
    settle();
    EXPECT_EQ(shown(0, CTableView::ColName), "Login Failed");
    EXPECT_EQ(shown(1, CTableView::ColStatus), "Enable");
    QCoreApplication::removeTranslator(&chinese);
    EXPECT_EQ(shown(0, CTableView::ColFullNetcom), "Enable");
}

// Notifications find their checked row by MAC however the checked rows changed since the
// last one: fewer rows, a removed row, a repeated MAC, a new selection.
TEST_F(MainFrameTest, CheckedRowOfAMacFollowsEveryChangeOfTheRows) {
    MainFrame frame;
    addRow(frame, "127.0.12.1", "AA:00:00:00:12:01");
    addRow(frame, "127.0.12.2", "AA:00:00:00:12:02");
    addRow(frame, "127.0.12.3", "AA:00:00:00:12:01"); // the same MAC again
    settle();
    CTableView* table = frame.deviceTable();
    table->setIsCheckAll(true);
    const QString a = "AA:00:00:00:12:01";
    const QString b = "AA:00:00:00:12:02";
    auto ips = [&frame] {
        QStringList out;
        for (const QStringList& row : frame.checkedRows())
            out << row[1];
        return out;
    };

    notify(frame, 8, {b, "127.0.12.22", "x"});
    notify(frame, 8, {a, "127.0.12.11", "x"});
    EXPECT_EQ(ips(), (QStringList{"127.0.12.11", "127.0.12.22", "127.0.12.3"})) << "the first row of a MAC";

    table->setRowChecked(0, false); // b moves to the front
    notify(frame, 8, {b, "127.0.12.23", "x"});
    notify(frame, 8, {a, "127.0.12.31", "x"});
    EXPECT_EQ(ips(), (QStringList{"127.0.12.23", "127.0.12.31"}));

    frame.onRemoveData(b, 1);
    notify(frame, 9, {a, "8081", "5555"});
    notify(frame, 8, {b, "127.0.12.24", "x"});
    ASSERT_EQ(frame.checkedRows().size(), 1);
    EXPECT_EQ(frame.checkedRows().at(0)[1], "127.0.12.31");
    EXPECT_EQ(frame.checkedRows().at(0)[12], "8081");

    frame.updateCheckState(CTableView::TableCleared, frame.checkedRows());
    notify(frame, 8, {a, "127.0.12.32", "x"});
    EXPECT_TRUE(frame.checkedRows().isEmpty());
    table->setIsCheckAll(true);
    notify(frame, 8, {a, "127.0.12.12", "x"});
    EXPECT_EQ(ips().value(0), "127.0.12.12");

    // A new selection of as many rows as before, of other cameras: their answers land. The
    // table changes the selection a row at a time; the last one comes in one step.
    const QStringList macs{"AA:00:00:00:12:04", "AA:00:00:00:12:05", "AA:00:00:00:12:06",
                           "AA:00:00:00:12:07"};
    const int first = table->rowCount();
    for (int i = 0; i < macs.size(); ++i)
        addRow(frame, QString("127.0.12.%1").arg(4 + i), macs.at(i));
    settle();
    table->setIsCheckAll(false);
    for (int batch = 0; batch < 3; ++batch) {
        SCOPED_TRACE(batch);
        const int pair = batch % 2;
        if (batch < 2) {
            for (int i = 0; i < macs.size(); ++i)
                table->setRowChecked(first + i, i / 2 == pair);
        } else {
            frame.updateCheckState(CTableView::RowCheckChanged,
                                   {table->rowData(first), table->rowData(first + 1)});
        }
        ASSERT_EQ(frame.checkedRows().size(), 2);
        for (int i = 0; i < 2; ++i) {
            const QString& mac = macs.at(pair * 2 + i);
            notify(frame, 8, {mac, QString("127.0.13.%1").arg(batch * 2 + i), "x"});
            notify(frame, 9, {mac, QString::number(8082 + batch), "5556"});
            notify(frame, 14, {mac, "root", "pw3"});
        }
        ASSERT_EQ(frame.checkedRows().size(), 2);
        for (int i = 0; i < 2; ++i) {
            const QStringList row = frame.checkedRows().at(i);
            EXPECT_EQ(row[8], macs.at(pair * 2 + i));
            EXPECT_EQ(row[1], QString("127.0.13.%1").arg(batch * 2 + i));
            EXPECT_EQ(row[12], QString::number(8082 + batch));
            EXPECT_EQ(row[13], "5556");
            EXPECT_EQ(row[17], "root");
            EXPECT_EQ(row[18], "pw3");
        }
    }
}

TEST_F(MainFrameTest, ForeignThreadNotificationsApplyInArrivalOrder) {
    MainFrame frame;
    addRow(frame, "127.0.10.1", "AA:00:00:00:10:01");
    settle();
    frame.deviceTable()->setIsCheckAll(true);
    const QString mac = "AA:00:00:00:10:01";
    std::thread worker([&frame, mac] {
        for (int i = 0; i < 300; ++i)
            notify(frame, 8, {mac, QString("127.0.10.%1").arg(i % 250), "x"});
        notify(frame, 2, {mac, "last"});
    });
    worker.join();
    EXPECT_EQ(frame.checkedRows().at(0)[1], "127.0.10.1") << "nothing applied off the GUI thread";
    settle();
    EXPECT_EQ(frame.checkedRows().at(0)[1], QString("127.0.10.%1").arg(299 % 250));
    EXPECT_EQ(frame.deviceTable()->getData(0, CTableView::ColStatus).toString(), "last");
}

TEST_F(MainFrameTest, CodeSixClosesTheSearchDialogAndMalformedMessagesAreIgnored) {
    MainFrame frame;
    addRow(frame, "127.0.11.1", "AA:00:00:00:11:01");
    settle();
    frame.deviceTable()->setIsCheckAll(true);
    QSignalSpy close(&frame, &MainFrame::closeSearchDialog);
    OZM::_NOTIFY_PARAM six;
    six.type = 6;
    MainFrame::notifyCallback(&six, &frame);
    EXPECT_EQ(close.size(), 1);
    EXPECT_EQ(MainFrame::notifyCallback(&six, nullptr), 0);
    EXPECT_EQ(close.size(), 1);

    const QStringList before = frame.checkedRows().at(0);
    OZM::_NOTIFY_PARAM empty;
    empty.type = 8;
    MainFrame::notifyCallback(&empty, &frame);
    MainFrame::notifyCallback(nullptr, &frame);
    notify(frame, 8, {"AA:00:00:00:11:01"});
    notify(frame, 9, {"AA:00:00:00:11:01", "81"});
    notify(frame, 14, {"AA:00:00:00:11:01", "user-only"});
    notify(frame, 2, {});
    EXPECT_EQ(frame.checkedRows().at(0), before);
    EXPECT_EQ(frame.deviceTable()->rowData(0).mid(1), before.mid(1));
}

DeviceResultInfo pendingReboot(std::uint32_t kind, const char* mac) {
    DeviceResultInfo record{};
    record.kind = kind;
    std::snprintf(record.mac, sizeof(record.mac), "%s", mac);
    return record;
}

TEST_F(MainFrameTest, ResultCodesUpdateThePendingRecordsOfTheirMac) {
    MainFrame frame;
    auto& reboots = Access::rebootList(frame);
    NetInfoBatch& netBatch = Access::netBatch(frame);
    const auto netLogin = [&netBatch] { return netBatch.records().at(0).loginState; };
    const char* a = "AA:00:00:00:13:01";
    const char* b = "AA:00:00:00:13:02";
    reboots = {pendingReboot(6, a), pendingReboot(6, a), pendingReboot(6, b)};
    NetInfoResultInfo net{};
    net.kind = 4;
    std::snprintf(net.mac, sizeof(net.mac), "%s", a);
    netBatch.add(net);

    notify(frame, 11, {a, "Reboot Success"});
    EXPECT_EQ(reboots[0].status, 1);
    EXPECT_EQ(reboots[1].status, 1) << "every record of the MAC";
    EXPECT_EQ(reboots[2].status, 0);
    notify(frame, 11, {b, "Reboot Failed"});
    EXPECT_EQ(reboots[2].status, 2);
    notify(frame, 12, {a, "Full Recovery Success"});
    EXPECT_EQ(reboots[0].status, 1);
    notify(frame, 13, {a, "Full Recovery Success"});
    EXPECT_EQ(reboots[0].status, 2) << "simple recovery compares its own text";
    notify(frame, 13, {b, "SimpleRecovery Success"});
    EXPECT_EQ(reboots[2].status, 1);

    // An IP change's record ends on its own relogin only, never on another login's answer.
    notify(frame, 10, {a, "Login Successful"});
    EXPECT_EQ(reboots[0].loginState, 1001);
    EXPECT_EQ(netLogin(), 0);
    EXPECT_EQ(reboots[2].loginState, 0);
    notify(frame, 10, {a, "Login Failed"});
    EXPECT_EQ(reboots[1].loginState, 1002);
    EXPECT_EQ(netLogin(), 0);

    // Lists replaced or refilled: the records of a MAC are found in the new lists only.
    const char* question = "AA:00:00:00:13:0?";
    reboots = {pendingReboot(6, b), pendingReboot(6, a), pendingReboot(6, question)};
    notify(frame, 11, {a, "Reboot Success"});
    EXPECT_EQ(reboots[0].status, 0);
    EXPECT_EQ(reboots[1].status, 1);
    notify(frame, 10, {QString::fromUtf8("AA:00:00:00:13:0\u0101"), "Login Successful"}); // not Latin-1
    EXPECT_EQ(reboots[2].loginState, 0);
    notify(frame, 10, {question, "Login Successful"});
    EXPECT_EQ(reboots[2].loginState, 1001);

    // A new search empties the lists. The next batch's records, of other cameras and one of the
    // earlier ones, take the places of the earlier records: a late answer for a camera of the
    // earlier batch only marks nothing, and an answer marks only the records of its own MAC.
    frame.onSearchDevices();
    EXPECT_TRUE(reboots.empty());
    EXPECT_TRUE(netBatch.records().empty());
    const char* c = "AA:00:00:00:13:03";
    const char* d = "AA:00:00:00:13:04";
    reboots.push_back(pendingReboot(6, c));
    reboots.push_back(pendingReboot(6, d));
    reboots.push_back(pendingReboot(6, b));
    std::snprintf(net.mac, sizeof(net.mac), "%s", c);
    netBatch.add(net);
    notify(frame, 11, {a, "Reboot Success"});
    notify(frame, 10, {a, "Login Successful"});
    notify(frame, 11, {question, "Reboot Success"});
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(reboots[i].status, 0) << i;
        EXPECT_EQ(reboots[i].loginState, 0) << i;
    }
    EXPECT_EQ(netLogin(), 0);
    notify(frame, 11, {b, "Reboot Failed"});
    notify(frame, 11, {d, "Reboot Success"});
    notify(frame, 10, {c, "Login Failed"});
    EXPECT_EQ(reboots[0].status, 0);
    EXPECT_EQ(reboots[0].loginState, 1002);
    EXPECT_EQ(reboots[1].status, 1);
    EXPECT_EQ(reboots[1].loginState, 0);
    EXPECT_EQ(reboots[2].status, 2);
    EXPECT_EQ(reboots[2].loginState, 0);
    EXPECT_EQ(netLogin(), 0);
}

TEST_F(MainFrameTest, BrowserAddressIsValidatedFirst) {
    EXPECT_EQ(MainFrame::browserUrl("127.0.0.1", "80").toString(), "http://127.0.0.1:80");
    EXPECT_EQ(MainFrame::browserUrl("127.0.0.1", "65535").toString(), "http://127.0.0.1:65535");
    EXPECT_TRUE(MainFrame::browserUrl("127.0.0.1", "0").isEmpty());
    EXPECT_TRUE(MainFrame::browserUrl("127.0.0.1", "65536").isEmpty());
    EXPECT_TRUE(MainFrame::browserUrl("127.0.0.1", "-1").isEmpty());
    EXPECT_TRUE(MainFrame::browserUrl("127.0.0.1", "80/evil").isEmpty());
    EXPECT_TRUE(MainFrame::browserUrl("127.0.0.1@evil.example", "80").isEmpty());
    EXPECT_TRUE(MainFrame::browserUrl("127.1", "80").isEmpty());
    EXPECT_TRUE(MainFrame::browserUrl("256.0.0.1", "80").isEmpty());
    EXPECT_TRUE(MainFrame::browserUrl("", "80").isEmpty());
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

TEST_F(MainFrameTest, RightClickActionsOpenTheBrowserAndTheQrView) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("http", &catcher, "open");
    MainFrame frame;
    addRow(frame, "127.0.12.1", "AA:00:00:00:12:01", "SN-QR");
    addRow(frame, "127.0.12.2", "AA:00:00:00:12:02");
    frame.deviceTable()->setNotify(nullptr);
    {
        QStringList ports{"AA:00:00:00:12:02", "0", "554"};
        OZM::_NOTIFY_PARAM param;
        param.type = 9;
        param.data = &ports;
        frame.handleDeviceEvent(&param);
    }
    settle();
    frame.show();
    CTableView* table = frame.deviceTable();
    auto rightClick = [table](int row) {
        const QRect cell = table->visualRect(table->model()->index(row, 1));
        QContextMenuEvent event(QContextMenuEvent::Mouse, cell.center(),
                                table->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(table->viewport(), &event);
        table->contextMenu()->close();
    };
    rightClick(0);
    table->browserAction()->trigger();
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls.at(0).toString(), "http://127.0.12.1:80");
    rightClick(1);
    table->browserAction()->trigger();
    EXPECT_EQ(catcher.urls.size(), 1) << "port 0 opens nothing";

    rightClick(0);
    table->qrcodeAction()->trigger();
    ASSERT_EQ(modals().size(), 1);
    EXPECT_EQ(modals().at(0).className, "ViewQRcodeDialog");
    EXPECT_TRUE(modals().at(0).labels.contains("SN-QR"));
    EXPECT_TRUE(modals().at(0).labels.contains("Android & IOS APP"));
    QDesktopServices::unsetUrlHandler("http");
}

TEST_F(MainFrameTest, InitModulesTwiceConnectsReloginOnce) {
    MainFrame frame;
    frame.initModules();
    frame.initModules();
    EXPECT_EQ(Access::reloginReceivers(frame), 1);
    EXPECT_NE(frame.checkTimer(), nullptr);
    frame.close();
    EXPECT_EQ(frame.checkTimer(), nullptr);
}

TEST_F(MainFrameTest, WarningAndSettingsWindows) {
    MainFrame frame;
    frame.showTextInfo();
    ASSERT_EQ(modalTexts().size(), 1);
    EXPECT_EQ(modalTexts().at(0), "Please select the device first!");
    for (QPushButton* button : frame.findChildren<QPushButton*>()) {
        if (button->text() == "System Configuration")
            button->click();
    }
    ASSERT_EQ(modals().size(), 2);
    EXPECT_EQ(modals().at(1).className, "SysConfigDialog");
}

} // namespace

#include "MainFrameTest.moc"
