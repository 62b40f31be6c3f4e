#include "PageWidgetsTestSupport.h"
#include "harness/LogCapture.h"
#include "ozmlogic/ParamRecords.h"
#include "tarsel/CScheduleSet.h"
#include "MotionDetectSetWidget.h"

#include <gtest/gtest.h>

#include <random>

using OZM::_SC_ALARM_DATA_;
using pwtest::zeroed;

namespace {

class ScheduleSetTest : public pwtest::PageTest {};

void setPeriod(_SC_ALARM_DATA_& info, int day, int slot, int begin, int end) {
    auto& p = info.schedule[day][slot];
    p.beginHour = begin / 3600;
    p.beginMinute = begin % 3600 / 60;
    p.beginSecond = begin % 60;
    p.endHour = end / 3600;
    p.endMinute = end % 3600 / 60;
    p.endSecond = end % 60;
}

// setSchedule then getIotSchedule, read back into a record, gives the same table.
TEST_F(ScheduleSetTest, TableRoundTripsThroughTheScheduleText) {
    std::mt19937 gen(17);
    for (int round = 0; round < 20; ++round) {
        auto in = zeroed<_SC_ALARM_DATA_>();
        for (int d = 0; d < 7; ++d) {
            for (int s = 0; s < 8; ++s) {
                if (gen() % 3 == 0)
                    continue;
                const int begin = static_cast<int>(gen() % 86400);
                const int end = begin + static_cast<int>(gen() % (86400 - begin));
                setPeriod(in, d, s, begin, end == 0 ? 1 : end);
            }
        }
        CScheduleSet editor;
        editor.setSchedule(&in);
        auto out = zeroed<_SC_ALARM_DATA_>();
        MotionDetectSetWidget::applyIotSchedule(editor.getIotSchedule(), &out);
        ASSERT_TRUE(pwtest::sameBytes(in, out)) << "round " << round;
    }

    CScheduleSet empty;
    auto zero = zeroed<_SC_ALARM_DATA_>();
    empty.setSchedule(&zero);
    EXPECT_EQ("", empty.getIotSchedule()) << "only non-empty periods are emitted";
}

TEST_F(ScheduleSetTest, BadStoredPeriodsAreDropped) {
    auto in = zeroed<_SC_ALARM_DATA_>();
    setPeriod(in, 0, 0, 3600, 7200);
    in.schedule[0][1] = {24, 0, 0, 0, 25, 0, 0, 0}; // hour 24
    in.schedule[0][2] = {1, 60, 0, 0, 2, 0, 0, 0};  // minute 60
    setPeriod(in, 0, 3, 7200, 3600);                // ends before it begins
    harness::LogCapture log;
    CScheduleSet editor;
    editor.setSchedule(&in);
    EXPECT_EQ(1, editor.periodCount(0));
    EXPECT_EQ(3, log.count("bad period"));
    EXPECT_EQ(R"({"beginTime":3600,"dayOfWeek":0,"endTime":7200,"planNum":0})", editor.getIotSchedule());
    editor.setSchedule(nullptr);
    EXPECT_EQ(0, editor.periodCount(0));
}

TEST_F(ScheduleSetTest, EditingMergesOverlapsAndKeepsEightPeriods) {
    CScheduleSet editor;
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(editor.addPeriod(2, i * 7200, i * 7200 + 1800)) << i;
    EXPECT_EQ(8, editor.periodCount(2));
    EXPECT_FALSE(editor.addPeriod(2, 4000, 4100)) << "a ninth separate period is refused";
    EXPECT_EQ(8, editor.periodCount(2));
    // Overlapping periods 1 and 2 and touching period 3 merge into one.
    EXPECT_TRUE(editor.addPeriod(2, 7300, 3 * 7200 - 1));
    EXPECT_EQ(6, editor.periodCount(2));
    EXPECT_TRUE(editor.period(2, 1).used);
    EXPECT_EQ(7200, editor.period(2, 1).begin);
    EXPECT_EQ(3 * 7200 + 1800, editor.period(2, 1).end);
    EXPECT_TRUE(editor.addPeriod(2, 4000, 4100)) << "a freed slot takes a new period";
    EXPECT_FALSE(editor.addPeriod(7, 0, 10));
    EXPECT_FALSE(editor.addPeriod(0, 10, 5));
    EXPECT_FALSE(editor.addPeriod(0, 0, 86400));
    EXPECT_TRUE(editor.removePeriodAt(2, 7300));
    EXPECT_FALSE(editor.removePeriodAt(2, 7300));

    // A left drag along a row adds a half-hour aligned period; a right click removes it.
    CScheduleSet shown;
    shown.resize(726, 400);
    const QRect row = shown.dayRect(4);
    const int y = row.center().y();
    pwtest::drag(&shown, QPoint(shown.xOfSecond(6 * 3600) + 2, y),
                 {QPoint(shown.xOfSecond(9 * 3600) - 2, y)});
    ASSERT_EQ(1, shown.periodCount(4));
    EXPECT_EQ(6 * 3600, shown.period(4, 0).begin);
    EXPECT_EQ(9 * 3600 - 1, shown.period(4, 0).end);
    pwtest::press(&shown, QPoint(shown.xOfSecond(7 * 3600), y), Qt::RightButton);
    EXPECT_EQ(0, shown.periodCount(4));
}

} // namespace
