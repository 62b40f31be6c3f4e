// GPIO result table: overall results per device, mouse handling, and the nested detail view.
#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTest>

#include <cstring>

#include "harness/ModalCloser.h"
#include "harness/QtApp.h"
#include "CShowtableviewEx.h"
#include "Cmodifyresultmodel.h"
#include "Cmodifytableview.h"
#include "CmodifyresultmodelEx.h"
#include "ShowResultDialog.h"
#include "ShowResultDlgEx.h"

namespace {

class GpioResultDialog : public harness::QtTest {};

FixturePendingInfo gpioRecord(const char* ip, const char* result,
                              std::initializer_list<const char*> statuses) {
    FixturePendingInfo record;
    std::memset(&record, 0, sizeof record);
    std::strcpy(record.ip, ip);
    std::strcpy(record.result, result);
    for (const char* status : statuses) {
        FixtureGpioItem& item = record.gpio[record.gpioCount++];
        std::snprintf(item.name, sizeof item.name, "%s-G%d", ip, record.gpioCount);
        std::strcpy(item.function, "LED");
        std::strcpy(item.status, status);
    }
    return record;
}

QPoint cellCentre(CShowtableviewEx* view, int row, int column) {
    return view->visualRect(view->resultModel()->index(row, column)).center();
}

// Double-clicks a row of the shown dialog and returns the rows of the detail view that opens
// (empty when none opens).
QList<QStringList> detailAfter(ShowResultDlgEx& dialog, const QPoint& at, Qt::MouseButton button) {
    QList<QStringList> rows;
    int opened = 0;
    harness::ModalCloser closer(harness::ModalCloser::Action::Reject);
    closer.setDecider([&](QWidget* widget) {
        if (auto* detail = qobject_cast<ShowResultDialog*>(widget)) {
            ++opened;
            EXPECT_FALSE(detail->countsVisible());
            for (int r = 0; r < detail->table()->rowCount(); ++r)
                rows << QStringList{detail->table()->getData(r, 0).toString(),
                                    detail->table()->getData(r, 1).toString(),
                                    detail->table()->getData(r, 2).toString()};
            const QAbstractItemModel* model = detail->table()->resultModel();
            EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "Test Result");
        }
        return harness::ModalCloser::Action::Reject;
    });
    QTest::mouseDClick(dialog.table()->viewport(), button, Qt::NoModifier, at);
    EXPECT_LE(opened, 1);
    return rows;
}

TEST_F(GpioResultDialog, RowsColoursCountsAndDetailOnLeftDoubleClick) {
    ShowResultDlgEx dialog({"IP", "GPIO Port"}, nullptr, 720, 576);
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(720, 576));
    dialog.showGpioTestResult({gpioRecord("127.0.0.11", "OK", {"OK", "OK"}),
                               gpioRecord("127.0.0.12", "NG", {"OK", "NG", "OK"}),
                               gpioRecord("127.0.0.12", "OK", {"OK"})});
    CShowtableviewEx* view = dialog.table();
    ASSERT_EQ(view->rowCount(), 3);
    EXPECT_EQ(dialog.deviceCountText(), "3");
    EXPECT_EQ(dialog.failedCountText(), "1");
    CmodifyresultmodelEx* model = view->resultModel();
    struct Expect {
        int row;
        QColor colour;
    } expects[] = {{0, QColor(0, 106, 254)}, {1, QColor(247, 63, 46)}};
    for (const Expect& e : expects) {
        EXPECT_EQ(model->data(model->index(e.row, 1), Qt::ForegroundRole).value<QColor>(), e.colour);
        EXPECT_TRUE(model->data(model->index(e.row, 1), Qt::FontRole).value<QFont>().underline());
        EXPECT_FALSE(model->data(model->index(e.row, 0), Qt::ForegroundRole).isValid());
        EXPECT_FALSE(model->data(model->index(e.row, 0), Qt::FontRole).isValid());
    }
    EXPECT_EQ(view->horizontalHeader()->height(), 32);

    // A click or a drag selects nothing.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cellCentre(view, 0, 0));
    EXPECT_FALSE(view->selectionModel()->hasSelection());

    // The second row's items; the same address again shows the first record's items.
    const QList<QStringList> detail = detailAfter(dialog, cellCentre(view, 1, 0), Qt::LeftButton);
    ASSERT_EQ(detail.size(), 3);
    EXPECT_EQ(detail[0], (QStringList{"127.0.0.12-G1", "LED", "OK"}));
    EXPECT_EQ(detail[1], (QStringList{"127.0.0.12-G2", "LED", "NG"}));
    EXPECT_EQ(detailAfter(dialog, cellCentre(view, 2, 1), Qt::LeftButton).size(), 3);
    EXPECT_TRUE(detailAfter(dialog, cellCentre(view, 0, 0), Qt::RightButton).isEmpty());
    EXPECT_TRUE(detailAfter(dialog, QPoint(5, view->viewport()->height() - 5), Qt::LeftButton).isEmpty());

    // A row whose address matches no record, or is empty, opens nothing.
    dialog.onDoubleClickedShow({"127.0.0.99", "OK"});
    dialog.onDoubleClickedShow({"", "OK"});
    dialog.onDoubleClickedShow({});
}

TEST_F(GpioResultDialog, EmptyListLeavesTableAndCountsEmpty) {
    ShowResultDlgEx dialog({"IP", "GPIO Port"}, nullptr, 720, 576);
    dialog.show();
    dialog.showGpioTestResult({});
    EXPECT_EQ(dialog.table()->rowCount(), 0);
    EXPECT_EQ(dialog.deviceCountText(), "0");
    EXPECT_EQ(dialog.failedCountText(), "0");
    EXPECT_TRUE(detailAfter(dialog, QPoint(20, 20), Qt::LeftButton).isEmpty());
}

} // namespace
