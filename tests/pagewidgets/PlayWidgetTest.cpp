#include "PageWidgetsTestSupport.h"
#include "PlayWidget.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <climits>

#include <vector>

namespace {

class PlayWidgetTest : public pwtest::PageTest {
protected:
    void SetUp() override {
        pwtest::PageTest::SetUp();
        qRegisterMetaType<QRect*>("QRect*");
    }
};

TEST_F(PlayWidgetTest, DragGivesTheNormalisedClampedRectangle) {
    const struct {
        const char* name;
        QPoint from;
        std::vector<QPoint> moves;
        QRect expected;
    } cases[] = {
        {"down right", {10, 10}, {{20, 30}}, QRect(10, 10, 11, 21)},
        {"up left", {20, 30}, {{10, 10}}, QRect(10, 10, 11, 21)},
        {"down left", {200, 10}, {{150, 40}}, QRect(150, 10, 51, 31)},
        {"follows the last move", {10, 10}, {{300, 200}, {40, 50}}, QRect(10, 10, 31, 41)},
        // The editor is 507 x 300: a drag stops at x 507 and y 300, so a drag from x 0 across
        // the whole editor gives width 508 (height likewise 301).
        {"past the right edge", {0, 0}, {{900, 100}}, QRect(0, 0, 508, 101)},
        {"past the bottom edge", {5, 5}, {{30, 700}}, QRect(5, 5, 26, 296)},
        {"past the top left", {100, 100}, {{-50, -60}}, QRect(0, 0, 101, 101)},
        {"whole picture", {0, 0}, {{506, 299}}, QRect(0, 0, 507, 300)},
        {"across the whole editor", {0, 0}, {{800, 900}}, QRect(0, 0, 508, 301)},
    };
    for (const auto& c : cases) {
        PlayWidget editor;
        // No paint between the events: the area is taken on the move itself.
        pwtest::drag(&editor, c.from, c.moves);
        EXPECT_EQ(c.expected, editor.area(0)) << c.name;
        EXPECT_TRUE(editor.inUse(0)) << c.name;
        EXPECT_FALSE(editor.drawing(0)) << c.name;
        EXPECT_LE(editor.area(0).right(), PlayWidget::kWidth) << c.name;
        EXPECT_LE(editor.area(0).bottom(), PlayWidget::kHeight) << c.name;
        QSignalSpy spy(&editor, SIGNAL(posChanged(int, QRect*)));
        editor.normalizeAreas();
        ASSERT_EQ(1, spy.count()) << c.name;
        EXPECT_EQ(0, spy.at(0).at(0).toInt());
        EXPECT_EQ(c.expected, editor.area(0)) << "normalising again keeps it: " << c.name;
    }
}

// A left press outside the 507 x 300 editor begins no area.
TEST_F(PlayWidgetTest, PressOutsideBeginsNoArea) {
    for (QPoint outside : {QPoint(507, 10), QPoint(10, 300), QPoint(-1, 5), QPoint(600, 400)}) {
        PlayWidget editor;
        pwtest::press(&editor, outside);
        for (int i = 0; i < 3; ++i)
            EXPECT_FALSE(editor.inUse(i)) << outside.x() << "," << outside.y() << " area " << i;
        pwtest::press(&editor, QPoint(10, 10));
        EXPECT_TRUE(editor.inUse(0)) << "the next press inside takes the first area";
    }
}

TEST_F(PlayWidgetTest, ThreeAreasFourthRefusedDeleteFreesOne) {
    PlayWidget editor;
    std::vector<std::pair<int, QRect>> reported;
    QObject::connect(&editor, &PlayWidget::posChanged,
                     [&](int index, QRect* rect) { reported.emplace_back(index, *rect); });
    editor.normalizeAreas();
    ASSERT_EQ(1u, reported.size());
    EXPECT_EQ(0, reported[0].first) << "area 0 is current right after construction";
    EXPECT_EQ(QRect(0, 0, 0, 0), reported[0].second);

    pwtest::drag(&editor, {10, 10}, {{20, 20}});
    pwtest::drag(&editor, {100, 10}, {{120, 20}});
    pwtest::drag(&editor, {200, 10}, {{220, 20}});
    EXPECT_EQ(QRect(200, 10, 21, 11), editor.area(2));
    EXPECT_EQ(2, editor.currentIndex());

    pwtest::drag(&editor, {300, 200}, {{400, 250}});
    EXPECT_EQ(3, editor.currentIndex()) << "no fourth area";
    reported.clear();
    editor.normalizeAreas();
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(QRect(10, 10, 11, 11), editor.area(0));
    EXPECT_EQ(QRect(100, 10, 21, 11), editor.area(1));
    EXPECT_EQ(QRect(200, 10, 21, 11), editor.area(2));

    EXPECT_EQ(-1, editor.clearArea(3));
    EXPECT_EQ(-1, editor.clearArea(-1));
    EXPECT_EQ(0, editor.clearArea(1));
    EXPECT_FALSE(editor.inUse(1));
    EXPECT_EQ(QRect(0, 0, 0, 0), editor.area(1));
    pwtest::drag(&editor, {50, 150}, {{60, 170}});
    EXPECT_EQ(1, editor.currentIndex()) << "the freed area is taken next";
    EXPECT_EQ(QRect(50, 150, 11, 21), editor.area(1));
    EXPECT_EQ(QRect(10, 10, 11, 11), editor.area(0));

    // A right-button press takes no area; a click without a move takes one but keeps its rectangle.
    editor.clearArea(2);
    pwtest::press(&editor, QPoint(5, 5), Qt::RightButton);
    EXPECT_FALSE(editor.inUse(2));
    pwtest::press(&editor, QPoint(5, 5));
    pwtest::release(&editor, QPoint(5, 5));
    EXPECT_TRUE(editor.inUse(2));
    EXPECT_EQ(QRect(0, 0, 0, 0), editor.area(2));
    editor.refreshAreas();
    EXPECT_FALSE(editor.inUse(2)) << "an empty area is free after a refresh";
}

TEST_F(PlayWidgetTest, SetAreaValueAndRefresh) {
    PlayWidget editor;
    const int stored[12] = {10, 20, 30, 40, 0, 0, 0, 0, 5, 0, 0, 0};
    for (int field = 0; field < 12; ++field)
        editor.setAreaValue(field, stored[field]);
    editor.setAreaValue(12, 99);
    editor.setAreaValue(-1, 99);
    EXPECT_EQ(QRect(10, 20, 30, 40), editor.area(0));
    EXPECT_EQ(QRect(0, 0, 0, 0), editor.area(1));
    EXPECT_EQ(5, editor.area(2).x());
    editor.refreshAreas();
    EXPECT_TRUE(editor.inUse(0));
    EXPECT_FALSE(editor.inUse(1));
    EXPECT_TRUE(editor.inUse(2)) << "a non-zero x alone counts as in use";

    pwtest::drag(&editor, {300, 100}, {{310, 110}});
    EXPECT_EQ(1, editor.currentIndex());

    PlayWidget other;
    other.setAreaValue(0, 10);
    other.setAreaValue(2, 11);
    other.setAreaValue(0, 50); // keeps the right edge at 20
    EXPECT_EQ(50, other.area(0).x());
    EXPECT_EQ(-29, other.area(0).width());

    // Values far outside the editor do not overflow: the edge stops at the end of int.
    PlayWidget far;
    far.setAreaValue(0, INT_MAX);
    far.setAreaValue(1, INT_MIN);
    far.setAreaValue(2, INT_MAX);
    far.setAreaValue(3, INT_MIN);
    EXPECT_EQ(INT_MAX, far.area(0).right());
    EXPECT_EQ(INT_MIN, far.area(0).bottom());
}

} // namespace
