#include "AreaWndWidget.h"
#include "MotionDetectSetWidget.h"
#include "PageWidgetsTestSupport.h"
#include "harness/LogCapture.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CScheduleSet.h"

#include <QCheckBox>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QStringList>
#include <QSlider>
#include <QSpinBox>
#include <QStackedLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

using OZM::_SC_ALARM_DATA_;
using pwtest::zeroed;

namespace {

using Cells = std::set<std::pair<int, int>>;

Cells block(int r0, int c0, int r1, int c1) {
    Cells cells;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            cells.insert({r, c});
    return cells;
}

// Collects the debug output while it exists (the test's environment switches it off otherwise).
class DebugCapture {
public:
    DebugCapture() {
        s_lines.clear();
        m_previous = qInstallMessageHandler(&DebugCapture::handle);
        s_previousFilter = QLoggingCategory::installFilter(&DebugCapture::filter);
    }
    ~DebugCapture() {
        QLoggingCategory::installFilter(s_previousFilter);
        qInstallMessageHandler(m_previous);
    }
    int count(const QString& part) const {
        return static_cast<int>(std::count_if(s_lines.begin(), s_lines.end(),
                                              [&](const QString& line) { return line.contains(part); }));
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtDebugMsg)
            s_lines << text;
    }
    static void filter(QLoggingCategory* category) {
        if (s_previousFilter)
            s_previousFilter(category);
        if (qstrcmp(category->categoryName(), "default") == 0)
            category->setEnabled(QtDebugMsg, true);
    }
    static QStringList s_lines;
    static QLoggingCategory::CategoryFilter s_previousFilter;
    QtMessageHandler m_previous = nullptr;
};
QStringList DebugCapture::s_lines;
QLoggingCategory::CategoryFilter DebugCapture::s_previousFilter = nullptr;

Cells selected(const AreaWndWidget& grid) {
    Cells cells;
    for (int r = 0; r < AreaWndWidget::kRows; ++r)
        for (int c = 0; c < AreaWndWidget::kColumns; ++c)
            if (grid.cell(r, c))
                cells.insert({r, c});
    return cells;
}

class MotionDetectTest : public pwtest::PageTest {};

TEST_F(MotionDetectTest, GridDragSelectsTheBlockUnderThePointer) {
    const struct {
        const char* name;
        QPoint press;
        std::vector<QPoint> moves;
        Qt::MouseButton button;
        Cells expected;
        bool draggingAfter;
    } cases[] = {
        {"one cell", {0, 0}, {{23, 16}}, Qt::LeftButton, block(0, 0, 0, 0), true},
        {"two by two", {0, 0}, {{23, 16}, {24, 17}}, Qt::LeftButton, block(0, 0, 1, 1), true},
        {"above and left selects nothing", {100, 100}, {{50, 50}}, Qt::LeftButton, {}, true},
        {"up-left then down-right",
         {100, 100},
         {{50, 50}, {150, 120}},
         Qt::LeftButton,
         block(6, 4, 7, 6),
         true},
        // Hit-testing counts whole 23 x 16 cells: the hit grid is 506 x 288 pixels.
        {"entered third row", {0, 0}, {{23, 33}}, Qt::LeftButton, block(0, 0, 2, 0), true},
        {"whole grid", {1, 1}, {{506, 288}}, Qt::LeftButton, block(0, 0, 17, 21), true},
        {"bottom right cell", {500, 287}, {{506, 288}}, Qt::LeftButton, block(17, 21, 17, 21), true},
        {"below the hit grid ends the drag", {0, 0}, {{300, 290}, {40, 20}}, Qt::LeftButton, {}, false},
        {"y 289 ends the drag", {0, 0}, {{23, 289}}, Qt::LeftButton, {}, false},
        {"x 507 ends the drag", {0, 0}, {{507, 16}}, Qt::LeftButton, {}, false},
        {"leaving the frame ends the drag", {0, 0}, {{600, 20}, {40, 20}}, Qt::LeftButton, {}, false},
        {"right button starts nothing", {0, 0}, {{200, 200}}, Qt::RightButton, {}, false},
    };
    for (const auto& c : cases) {
        AreaWndWidget grid;
        pwtest::press(&grid, c.press, c.button);
        for (const QPoint& p : c.moves)
            pwtest::moveTo(&grid, p, c.button);
        EXPECT_EQ(c.expected, selected(grid)) << c.name;
        EXPECT_EQ(c.draggingAfter, grid.isDragging()) << c.name;
        pwtest::release(&grid, c.moves.back());
        EXPECT_FALSE(grid.isDragging()) << c.name;
    }

    // A press outside the frame starts no drag; selectAll ends one, clearAll does not.
    AreaWndWidget grid;
    pwtest::press(&grid, QPoint(-3, 10));
    EXPECT_FALSE(grid.isDragging()) << "a press outside the frame";
    pwtest::press(&grid, QPoint(10, 10));
    grid.clearAll();
    EXPECT_TRUE(grid.isDragging());
    grid.selectAll();
    EXPECT_FALSE(grid.isDragging());
    EXPECT_EQ(18 * 22, grid.selectedCount());
}

TEST_F(MotionDetectTest, AreaMaskRoundTrip) {
    auto in = zeroed<_SC_ALARM_DATA_>();
    for (int r = 0; r < 18; ++r)
        in.area[r] = (0x2A5A5Au * (r + 1)) | 0xFFC00000u; // bits above 21 are ignored
    in.area[5] = 0;
    in.area[17] = 0x3FFFFF;
    in.area[20] = 0xDEAD; // rows past 17 are not the grid's
    AreaWndWidget grid;
    AreaMaskToGrid(&grid, &in);
    EXPECT_EQ(grid.cell(17, 21), true);
    EXPECT_EQ(grid.cell(5, 3), false);
    auto out = zeroed<_SC_ALARM_DATA_>();
    out.area[20] = 7;
    AreaGridToMask(&grid, &out);
    for (int r = 0; r < 18; ++r)
        EXPECT_EQ(in.area[r] & 0x3FFFFFu, out.area[r]) << r;
    EXPECT_EQ(7u, out.area[20]) << "other fields untouched";
    AreaGridToMask(&grid, nullptr);
    AreaMaskToGrid(nullptr, &in);

    grid.selectAll();
    AreaGridToMask(&grid, &out);
    for (int r = 0; r < 18; ++r)
        EXPECT_EQ(4194303u, out.area[r]);
}

TEST_F(MotionDetectTest, ScheduleTextParsing) {
    struct Expect {
        int day, plan;
        int bh, bm, bs, eh, em, es;
    };
    const struct {
        const char* name;
        const char* text;
        int written;
        std::vector<Expect> periods;
        int logLines;
    } cases[] = {
        {"empty", "", 0, {}, 0},
        {"one part with seconds",
         R"({"dayOfWeek":2,"planNum":3,"beginTime":3661,"endTime":86399})",
         1,
         {{2, 3, 1, 1, 1, 23, 59, 59}},
         0},
        {"two parts and empty parts",
         R"(;{"dayOfWeek":0,"planNum":0,"beginTime":0,"endTime":60};;{"dayOfWeek":6,"planNum":7,"beginTime":7200,"endTime":7201};)",
         2,
         {{0, 0, 0, 0, 0, 0, 1, 0}, {6, 7, 2, 0, 0, 2, 0, 1}},
         0},
        {"a later part overwrites",
         R"({"dayOfWeek":1,"planNum":1,"beginTime":60,"endTime":120};{"dayOfWeek":1,"planNum":1,"beginTime":3600,"endTime":7200})",
         2,
         {{1, 1, 1, 0, 0, 2, 0, 0}},
         0},
        {"bad days and periods are skipped",
         R"({"dayOfWeek":7,"planNum":0,"beginTime":1,"endTime":2};{"dayOfWeek":-1,"planNum":0,"beginTime":1,"endTime":2};)"
         R"({"dayOfWeek":0,"planNum":8,"beginTime":1,"endTime":2};{"dayOfWeek":0,"planNum":-3,"beginTime":1,"endTime":2};)"
         R"({"dayOfWeek":100000,"planNum":100000,"beginTime":1,"endTime":2})",
         0,
         {},
         5},
        {"malformed JSON is skipped and clears nothing",
         R"({"dayOfWeek":0,"planNum":0,"beginTime":60,"endTime":120};{"dayOfWeek":3,"planNum":2,"beginTime":60,"endTime":120};{"dayOfWeek":;[1,2];42;{"dayOfWeek":"3","planNum":2,"beginTime":1,"endTime":2})",
         2,
         {{0, 0, 0, 1, 0, 0, 2, 0}, {3, 2, 0, 1, 0, 0, 2, 0}},
         4},
        {"times out of range",
         R"({"dayOfWeek":0,"planNum":0,"beginTime":-1,"endTime":2};{"dayOfWeek":0,"planNum":1,"beginTime":0,"endTime":86400};)"
         R"({"dayOfWeek":0,"planNum":2,"beginTime":0.5,"endTime":2})",
         0,
         {},
         3},
    };
    for (const auto& c : cases) {
        harness::LogCapture log;
        DebugCapture debug;
        auto info = zeroed<_SC_ALARM_DATA_>();
        EXPECT_EQ(c.written, MotionDetectSetWidget::applyIotSchedule(QString::fromUtf8(c.text), &info))
            << c.name;
        auto expected = zeroed<_SC_ALARM_DATA_>();
        for (const Expect& e : c.periods) {
            auto& p = expected.schedule[e.day][e.plan];
            p.beginHour = e.bh;
            p.beginMinute = e.bm;
            p.beginSecond = e.bs;
            p.endHour = e.eh;
            p.endMinute = e.em;
            p.endSecond = e.es;
        }
        EXPECT_TRUE(pwtest::sameBytes(expected, info)) << c.name;
        // A trace for the developer: the debug output, not the log file.
        EXPECT_EQ(c.logLines, debug.count("schedule part skipped")) << c.name;
        EXPECT_TRUE(log.lines().empty()) << c.name;
    }
}

TEST_F(MotionDetectTest, PageLoadsEditsAndSaves) {
    auto in = zeroed<_SC_ALARM_DATA_>();
    in.enable = 1;
    in.sensitivity = 7;
    in.area[0] = 0x3;
    in.area[17] = 0x200000;
    in.schedule[0][2] = {8, 30, 0, 0, 17, 45, 30, 0};
    in.schedule[6][7] = {0, 0, 1, 0, 23, 59, 59, 0};
    ozmParamsMgr()->setAlarmInfo(&in);

    MotionDetectSetWidget page;
    EXPECT_EQ(1, page.pages()->currentIndex()) << "the arming tab is shown first";
    EXPECT_TRUE(page.enableCheck()->isChecked());
    EXPECT_EQ(7, page.sensitivitySlider()->value());
    ASSERT_TRUE(page.saveMotionDetect());
    auto out = zeroed<_SC_ALARM_DATA_>();
    ozmParamsMgr()->getAlarmInfo(&out);
    EXPECT_TRUE(pwtest::sameBytes(in, out)) << "load then save keeps the record";

    page.regionButton()->click();
    EXPECT_EQ(0, page.pages()->currentIndex());
    const QString styled = page.regionMarker()->styleSheet();
    page.regionMarker()->setStyleSheet("");
    page.regionButton()->click();
    EXPECT_EQ("", page.regionMarker()->styleSheet()) << "pressing the active tab again changes nothing";
    EXPECT_EQ("background: #006AFE;", styled);

    page.sensitivitySlider()->setValue(3);
    EXPECT_EQ(3, page.sensitivityBox()->value());
    page.enableCheck()->setChecked(false);
    page.regionSelectAll()->click();
    page.armingCleanAll()->click();
    ASSERT_TRUE(page.saveMotionDetect());
    ozmParamsMgr()->getAlarmInfo(&out);
    EXPECT_EQ(0, out.enable);
    EXPECT_EQ(3, out.sensitivity);
    for (int r = 0; r < 18; ++r)
        EXPECT_EQ(4194303u, out.area[r]);
    for (int r = 18; r < 32; ++r)
        EXPECT_EQ(0u, out.area[r]);
    auto noSchedule = zeroed<_SC_ALARM_DATA_>();
    EXPECT_EQ(0, std::memcmp(noSchedule.schedule, out.schedule, sizeof out.schedule));

    page.regionCleanAll()->click();
    page.armingSelectAll()->click();
    ASSERT_TRUE(page.saveMotionDetect());
    ozmParamsMgr()->getAlarmInfo(&out);
    EXPECT_EQ(0u, out.area[0]);
    for (int d = 0; d < 7; ++d) {
        EXPECT_EQ(0, out.schedule[d][0].beginHour);
        EXPECT_EQ(23, out.schedule[d][0].endHour);
        EXPECT_EQ(59, out.schedule[d][0].endSecond);
        EXPECT_EQ(0, out.schedule[d][1].endHour);
    }
}

} // namespace
