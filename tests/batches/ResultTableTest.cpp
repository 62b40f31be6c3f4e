// Result tables: rows, colours and counts of each fill operation.
#include <gtest/gtest.h>

#include <QColor>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QTimer>

#include <cstdlib>
#include <cstring>

#include "frame/FamilyCaptions.h"
#include "harness/QtApp.h"
#include "Cmodifyresultmodel.h"
#include "Cmodifytableview.h"
#include "ShowResultDialog.h"

namespace {

const QColor kGrey(51, 51, 51);
const QColor kRed(247, 63, 46);

using ResultTable = harness::QtTest;

QString cell(const ShowResultDialog& dialog, int row, int column) {
    return dialog.table()->getData(row, column).toString();
}

QVariant colour(const ShowResultDialog& dialog, int row, int column) {
    Cmodifyresultmodel* model = dialog.table()->resultModel();
    return model->data(model->index(row, column), Qt::ForegroundRole);
}

template <typename T> T zeroed() {
    T record;
    std::memset(&record, 0, sizeof record);
    return record;
}

DeviceResultInfo device(const char* ip, int status) {
    auto record = zeroed<DeviceResultInfo>();
    std::strncpy(record.ip, ip, sizeof record.ip - 1);
    record.status = status;
    return record;
}

TEST_F(ResultTable, BatchResultRowsColoursAndCounts) {
    ShowResultDialog dialog({"IP", "Set SyncTime"}, nullptr, 354, 239);
    EXPECT_EQ(dialog.size(), QSize(354, 239));
    EXPECT_EQ(dialog.table()->geometry(), QRect(14, 72, 354 - 46, 239 - 118));
    dialog.showBatchResult({});
    EXPECT_EQ(dialog.table()->rowCount(), 0);
    EXPECT_EQ(dialog.deviceCountText(), "0");
    EXPECT_EQ(dialog.failedCountText(), "0");
    dialog.showBatchResult({device("127.0.0.1", 1), device("127.0.0.2", 2), device("127.0.0.3", 3)});
    ASSERT_EQ(dialog.table()->rowCount(), 3);
    EXPECT_EQ(cell(dialog, 0, 0), "127.0.0.1");
    EXPECT_EQ(cell(dialog, 0, 1), "Success");
    EXPECT_EQ(cell(dialog, 1, 1), "Failed");
    EXPECT_EQ(cell(dialog, 2, 1), "Receive Timeout");
    EXPECT_EQ(colour(dialog, 0, 1).value<QColor>(), kGrey);
    EXPECT_EQ(colour(dialog, 1, 1).value<QColor>(), kRed);
    EXPECT_EQ(colour(dialog, 2, 1).value<QColor>(), kRed);
    EXPECT_FALSE(colour(dialog, 0, 0).isValid()); // the IP column is never coloured
    EXPECT_EQ(dialog.deviceCountText(), "3");
    EXPECT_EQ(dialog.failedCountText(), "2");
    Cmodifyresultmodel* model = dialog.table()->resultModel();
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Set SyncTime");
    EXPECT_FALSE(model->headerData(2, Qt::Horizontal, Qt::DisplayRole).isValid());
    EXPECT_EQ(model->data(model->index(0, 1), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_EQ(dialog.table()->horizontalHeader()->height(), 32);
    EXPECT_EQ(dialog.table()->columnWidth(1), 150);
}

// Status 1 alone counts as done; an address field without a terminator stops at its size.
TEST_F(ResultTable, SetIpResultCountsStatusOneOnly) {
    ShowResultDialog dialog({"IP", "Set IP"}, nullptr, 354, 239);
    auto a = zeroed<NetInfoResultInfo>();
    auto b = zeroed<NetInfoResultInfo>();
    std::memset(a.ip, '7', sizeof a.ip);
    std::strcpy(a.mac, "AA:BB");
    a.status = 1;
    std::strcpy(b.ip, "127.0.0.6");
    b.status = 3;
    dialog.showSetIpResult({a, b});
    EXPECT_EQ(cell(dialog, 0, 0), QString(16, '7'));
    EXPECT_EQ(cell(dialog, 0, 1), "Success");
    EXPECT_EQ(cell(dialog, 1, 1), "Receive Timeout");
    EXPECT_EQ(dialog.deviceCountText(), "2");
    EXPECT_EQ(dialog.failedCountText(), "1");
}

TEST_F(ResultTable, OtherParamColumnsFollowTitleOrder) {
    ShowResultDialog dialog({"IP", "Setting DDNS", "Setting Time", "Setting TCP/IP"}, nullptr, 1280, 720);
    auto record = zeroed<OtherParamResultInfo>();
    std::strcpy(record.ip, "127.0.0.9");
    record.flags[0] = 1;  // TCP/IP: last column
    record.flags[2] = 1;  // DDNS: first column
    record.flags[12] = 1; // Time
    record.results[0] = 1;
    record.results[2] = 1;
    record.results[12] = 3;
    auto allGood = record;
    allGood.results[12] = 1;
    dialog.showOtherParamResult({record, allGood}, 3);
    ASSERT_EQ(dialog.table()->rowCount(), 2);
    EXPECT_EQ(cell(dialog, 0, 1), "Success"); // DDNS
    EXPECT_EQ(cell(dialog, 0, 2), "Failed");  // Time
    EXPECT_EQ(cell(dialog, 0, 3), "Success"); // TCP/IP
    EXPECT_EQ(colour(dialog, 0, 2).value<QColor>(), kRed);
    EXPECT_EQ(cell(dialog, 1, 2), "Success");
    EXPECT_EQ(dialog.deviceCountText(), "2");
    EXPECT_EQ(dialog.failedCountText(), "1");
}

// With every family enabled each title shows whole, the result column keeps at least 150, and
// the table keeps its place in the 1280 x 720 dialog.
TEST_F(ResultTable, OtherParamTitlesShowWhole) {
    const QStringList titles = frametest::resultTitles();
    ShowResultDialog dialog(titles, nullptr, 1280, 720);
    dialog.show();
    Cmodifytableview* table = dialog.table();
    EXPECT_EQ(table->geometry(), QRect(14, 72, 1280 - 46, 720 - 118));
    QHeaderView* header = table->horizontalHeader();
    const QFontMetrics metrics(header->font());
    for (int c = 0; c < titles.size(); ++c) {
        SCOPED_TRACE(titles[c].toStdString());
        EXPECT_GE(header->sectionSize(c), metrics.horizontalAdvance(titles[c]) + 8);
    }
    EXPECT_GE(table->columnWidth(1), 150);
}

TEST_F(ResultTable, AudioResultCountsOkOnly) {
    ShowResultDialog dialog({"IP", "Audio"}, nullptr, 720, 576);
    auto ok = zeroed<FixturePendingInfo>();
    auto missing = zeroed<FixturePendingInfo>();
    std::strcpy(ok.ip, "127.0.0.1");
    std::strcpy(ok.audio, "OK");
    std::strcpy(missing.ip, "127.0.0.2");
    std::strcpy(missing.audio, "NOGET");
    auto okIp = ok;
    std::strcpy(okIp.ip, "OK"); // an address column reading OK stays uncoloured
    dialog.showAudioTestResult({ok, missing, okIp});
    EXPECT_EQ(colour(dialog, 0, 1).value<QColor>(), kGrey);
    EXPECT_FALSE(colour(dialog, 2, 0).isValid());
    EXPECT_EQ(cell(dialog, 1, 1), "NOGET");
    EXPECT_EQ(colour(dialog, 1, 1).value<QColor>(), kRed);
    EXPECT_EQ(dialog.failedCountText(), "1");
}

TEST_F(ResultTable, SdCardCapacityTextAndCounts) {
    ShowResultDialog dialog({"IP", "check SD card"}, nullptr, 400, 239);
    auto good = zeroed<SdCardResultInfo>();
    std::strcpy(good.ip, "127.0.0.1");
    good.status = 1;
    good.totalCapacity = 1000;
    good.freeCapacity = 200;
    auto unavailable = good;
    unavailable.cardUnavailable = 1;
    auto failed = zeroed<SdCardResultInfo>();
    failed.status = 2;
    auto silent = zeroed<SdCardResultInfo>();
    silent.status = 3;
    auto large = good;
    large.totalCapacity = 0xFFFFFFFFu;
    large.freeCapacity = 0;
    dialog.showSDCardResult({good, unavailable, failed, silent, large});
    EXPECT_EQ(cell(dialog, 4, 1), "SD total capacity : 4294967295 | SD surplus capacity : 0");
    EXPECT_EQ(cell(dialog, 0, 1), "SD total capacity : 1000 | SD surplus capacity : 200");
    EXPECT_EQ(colour(dialog, 0, 1).value<QColor>(), kGrey);
    EXPECT_EQ(cell(dialog, 1, 1), "SD card unavailable");
    EXPECT_EQ(colour(dialog, 1, 1).value<QColor>(), kRed);
    EXPECT_EQ(cell(dialog, 2, 1), "Failed");
    EXPECT_EQ(cell(dialog, 3, 1), "Receive Timeout");
    EXPECT_EQ(dialog.deviceCountText(), "5");
    EXPECT_EQ(dialog.failedCountText(), "3");
}

TEST_F(ResultTable, TestDetailColoursColumnTwoAndHidesCounts) {
    ShowResultDialog dialog({"Interface", "Features", "Test Result"}, nullptr, 720, 576);
    FixtureGpioItem items[2];
    std::memset(items, 0, sizeof items);
    std::strcpy(items[0].name, "GPIO1");
    std::strcpy(items[0].function, "IR-CUT");
    std::strcpy(items[0].status, "OK");
    std::strcpy(items[1].name, "GPIO2");
    std::strcpy(items[1].function, "OK");
    std::strcpy(items[1].status, "NG");
    dialog.showTestDetail(items, 2);
    EXPECT_FALSE(dialog.countsVisible());
    ASSERT_EQ(dialog.table()->rowCount(), 2);
    EXPECT_EQ(cell(dialog, 1, 0), "GPIO2");
    EXPECT_EQ(colour(dialog, 0, 2).value<QColor>(), kGrey);
    EXPECT_EQ(colour(dialog, 1, 2).value<QColor>(), kRed);
    EXPECT_FALSE(colour(dialog, 1, 1).isValid());
    EXPECT_FALSE(colour(dialog, 1, 0).isValid());
}

TEST_F(ResultTable, TestDetailClampsCount) {
    static FixturePendingInfo record; // zeroed, 128 items
    std::strcpy(record.gpio[127].name, "last");
    ShowResultDialog dialog({"Interface", "Features", "Test Result"}, nullptr, 720, 576);
    dialog.showTestDetail(record.gpio, 100000);
    EXPECT_EQ(dialog.table()->rowCount(), 128);
    EXPECT_EQ(cell(dialog, 127, 0), "last");
    ShowResultDialog negative({"Interface", "Features", "Test Result"}, nullptr, 720, 576);
    negative.showTestDetail(record.gpio, -5);
    EXPECT_EQ(negative.table()->rowCount(), 0);
    negative.showTestDetail(nullptr, 3);
    EXPECT_EQ(negative.table()->rowCount(), 0);
}

TEST_F(ResultTable, ModelChecksEachRowsOwnCellCount) {
    Cmodifytableview view({}, nullptr);
    view.appendRow({"127.0.0.1", "Success", "extra"});
    view.appendRow({"127.0.0.2"});
    Cmodifyresultmodel* model = view.resultModel();
    EXPECT_EQ(model->columnCount(), 3); // no titles: the first row's cell count
    EXPECT_EQ(model->data(model->index(0, 2)).toString(), "extra");
    EXPECT_FALSE(model->data(model->index(1, 1)).isValid());
    EXPECT_FALSE(model->data(model->index(1, 2)).isValid());
    EXPECT_FALSE(model->getData(1, 1).isValid());
    EXPECT_FALSE(model->getData(5, 0).isValid());
    EXPECT_TRUE(model->setData(model->index(0, 0), "x"));
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), "127.0.0.1");
}

TEST_F(ResultTable, UpdateTotalFollowsRowCount) {
    Cmodifytableview view({"IP", "Reboot"}, nullptr);
    int last = -1;
    QObject::connect(&view, &Cmodifytableview::updateTotal, [&](int count) { last = count; });
    view.appendRow({"a", "b"});
    view.appendRow({"c", "d"});
    EXPECT_EQ(last, 2);
    view.clearRows();
    EXPECT_EQ(last, 0);
    EXPECT_EQ(view.rowCount(), 0);
}

// Whether the area holds a pixel near the colour (anti-aliased text still has its core colour).
bool holdsColour(const QImage& image, const QRect& area, const QColor& wanted) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) < 12 && std::abs(c.green() - wanted.green()) < 12 &&
                std::abs(c.blue() - wanted.blue()) < 12)
                return true;
        }
    return false;
}

TEST_F(ResultTable, SelectedRowKeepsCellColours) {
    ShowResultDialog dialog({"IP", "Reboot"}, nullptr, 354, 239);
    dialog.showBatchResult({device("127.0.0.1", 1), device("127.0.0.2", 2)});
    dialog.show();
    Cmodifytableview* view = dialog.table();
    view->selectRow(1);
    QApplication::processEvents();
    const QImage image = view->viewport()->grab().toImage();
    const QRect failedCell = view->visualRect(view->resultModel()->index(1, 1));
    ASSERT_TRUE(failedCell.isValid());
    EXPECT_TRUE(holdsColour(image, failedCell, kRed));
}

TEST_F(ResultTable, CloseButtonEndsExec) {
    ShowResultDialog dialog({"IP", "Reboot"}, nullptr, 354, 239);
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.onCloseBtnClicked(); });
    dialog.exec();
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
