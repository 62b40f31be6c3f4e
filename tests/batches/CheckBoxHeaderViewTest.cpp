// Check-box header: toggling by a press on section 0, setChecked, sort arrows.
#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>

#include "CheckBoxHeaderView.h"
#include "harness/QtApp.h"
#include "harness/TestDir.h"

namespace {

class CheckBoxHeader : public harness::QtTest {
protected:
    void SetUp() override {
        harness::QtTest::SetUp();
        ASSERT_TRUE(dir.enter()); // the skin is read relative to the working directory
        model.setHorizontalHeaderLabels({"", "IP", "A title much too long for its narrow section"});
    }

    // A table with the header, three 80-pixel sections.
    QTableView* table(CheckBoxHeaderView* header) {
        auto* view = new QTableView;
        view->setModel(&model);
        view->setHorizontalHeader(header);
        for (int i = 0; i < 3; ++i)
            view->setColumnWidth(i, 80);
        view->resize(400, 200);
        view->show();
        views.emplace_back(view);
        return view;
    }

    static void press(CheckBoxHeaderView* header, int section) {
        const QPoint at(header->sectionViewportPosition(section) + 10, header->height() / 2);
        QMouseEvent event(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(header->viewport(), &event);
    }

    static QImage render(CheckBoxHeaderView* header) { return header->viewport()->grab().toImage(); }

    harness::TestDir dir;
    QStandardItemModel model{1, 3};
    std::vector<std::unique_ptr<QTableView>> views;
};

TEST_F(CheckBoxHeader, PressOnSectionZeroTogglesAndEmits) {
    auto* header = new CheckBoxHeaderView(Qt::Horizontal, true);
    table(header);
    QSignalSpy clicked(header, &CheckBoxHeaderView::checkBoxClicked);
    press(header, 1);
    EXPECT_EQ(clicked.size(), 0);
    EXPECT_FALSE(header->checked());
    press(header, 0);
    ASSERT_EQ(clicked.size(), 1);
    EXPECT_TRUE(clicked[0][0].toBool());
    press(header, 0);
    ASSERT_EQ(clicked.size(), 2);
    EXPECT_FALSE(clicked[1][0].toBool());
}

TEST_F(CheckBoxHeader, SetCheckedRepaintsWithoutSignal) {
    auto* header = new CheckBoxHeaderView(Qt::Horizontal, true);
    table(header);
    QSignalSpy clicked(header, &CheckBoxHeaderView::checkBoxClicked);
    const QImage before = render(header);
    header->setChecked(true);
    EXPECT_TRUE(header->checked());
    EXPECT_EQ(clicked.size(), 0);
    EXPECT_NE(render(header), before); // the other pixmap is drawn
}

TEST_F(CheckBoxHeader, NotCheckableNeverShowsOrEmits) {
    auto* header = new CheckBoxHeaderView(Qt::Horizontal, false);
    table(header);
    QSignalSpy clicked(header, &CheckBoxHeaderView::checkBoxClicked);
    press(header, 0);
    header->setChecked(true);
    EXPECT_EQ(clicked.size(), 0);
    EXPECT_FALSE(header->checked());
}

TEST_F(CheckBoxHeader, SortArrowDrawnAtSectionCornerButNotOnTheBox) {
    auto* header = new CheckBoxHeaderView(Qt::Horizontal, true);
    table(header);
    const QImage plain = render(header);

    header->setSortIndicatorShown(true);
    header->setSortIndicator(0, Qt::DescendingOrder);
    EXPECT_EQ(render(header), plain); // no arrow on the check-box section

    header->setSortIndicator(2, Qt::DescendingOrder);
    const QImage down = render(header);
    const QRect arrow(header->sectionViewportPosition(2) + 5, 2, 9, 5);
    bool changedInside = false;
    bool changedOutside = false;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != down.pixel(x, y))
                (arrow.contains(x, y) ? changedInside : changedOutside) = true;
    EXPECT_TRUE(changedInside);
    EXPECT_FALSE(changedOutside);

    header->setSortIndicator(2, Qt::AscendingOrder);
    EXPECT_NE(render(header), down); // the other arrow
}

} // namespace
