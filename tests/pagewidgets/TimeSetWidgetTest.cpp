#include "PageWidgetsTestSupport.h"
#include "TimeSetWidget.h"
#include "harness/ModalCloser.h"
#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPointer>
#include <QStackedLayout>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using OZM::_SC_SETTIME_DATA_;
using pwtest::zeroed;

namespace {

_SC_SETTIME_DATA_ sampleRecord() {
    auto r = zeroed<_SC_SETTIME_DATA_>();
    r.year = 2031;
    r.month = 2;
    r.day = 28;
    r.hour = 23;
    r.minute = 4;
    r.second = 59;
    r.updateMethod = 1;
    r.timeZone = 48;
    r.syncNvr = 1;
    r.ntpAutoSync = 0;
    r.ntpInterval = 10080;
    r.ntpServerIndex = 5;
    std::strcpy(r.ntpServer, "ntp.line-7.example");
    r.summerTime = 0; // off: the values show greyed out and are saved back unchanged
    r.summerStartMonth = 2;
    r.summerStartHour = 2;
    r.summerStartWeekday = 0;
    r.summerStartWeek = 4;
    r.summerEndMonth = 9;
    r.summerEndHour = 3;
    r.summerEndWeekday = 6;
    r.summerEndWeek = 1;
    r.summerOffset = 3;
    return r;
}

_SC_SETTIME_DATA_ stored() {
    auto r = zeroed<_SC_SETTIME_DATA_>();
    ozmParamsMgr()->getTimeInfo(&r);
    return r;
}

class TimeSetWidgetTest : public pwtest::PageTest {};

TEST_F(TimeSetWidgetTest, ZoneListAndRoundTrip) {
    const auto record = sampleRecord();
    ozmParamsMgr()->setTimeInfo(&record);
    TimeSetWidget widget;

    ASSERT_EQ(49, widget.zoneCombo()->count());
    const struct {
        int index;
        const char* prefix;
    } zones[] = {{0, "GMT-12 "},        {1, "GMT-11.5"},       {23, "GMT-0.5"},  {24, "GMT+00 Dublin"},
                 {26, "GMT+01 Berlin"}, {40, "GMT+08 Taipei"}, {47, "GMT+11.5"}, {48, "GMT+12 Fiji"}};
    for (const auto& z : zones)
        EXPECT_TRUE(widget.zoneCombo()->itemText(z.index).startsWith(z.prefix)) << z.index;

    EXPECT_EQ(1, widget.middleStack()->currentIndex());
    EXPECT_EQ("ntp.line-7.example", widget.serverEdit()->text());
    for (QWidget* control : widget.summerControls())
        EXPECT_FALSE(control->isEnabled());
    EXPECT_FALSE(widget.zoneCombo()->isEnabled()) << "manual correction disables the zone";

    ASSERT_TRUE(widget.saveTimeInfo());
    EXPECT_TRUE(pwtest::sameBytes(record, stored()));
}

TEST_F(TimeSetWidgetTest, IntervalIsCheckedOnlyWhileAutomaticSyncIsOn) {
    const struct {
        int autoSync;
        int method;
        const char* text;
        bool saved;
        int interval;
    } cases[] = {
        {0, 0, "0", false, 0},        {0, 0, "10081", false, 0}, {0, 0, "", false, 0},
        {0, 1, "0", false, 0},        {0, 2, "abc", false, 0},   {0, 0, "1", true, 1},
        {0, 2, "10080", true, 10080}, {1, 0, "", true, 0},       {1, 0, "99999", true, 99999},
        {1, 1, "x7", true, 0},
    };
    for (const auto& c : cases) {
        auto before = zeroed<_SC_SETTIME_DATA_>();
        before.ntpInterval = -7; // a marker: a refused save leaves it
        ozmParamsMgr()->setTimeInfo(&before);
        TimeSetWidget widget;
        widget.methodCombo()->setCurrentIndex(c.method);
        widget.autoSyncCombo()->setCurrentIndex(c.autoSync);
        widget.intervalEdit()->setValidator(nullptr); // as if typed past the validator
        widget.intervalEdit()->setText(c.text);
        harness::ModalCloser closer(harness::ModalCloser::Action::Accept);
        EXPECT_EQ(c.saved, widget.saveTimeInfo()) << c.text;
        if (c.saved) {
            EXPECT_EQ(0, closer.count()) << c.text;
            EXPECT_EQ(c.interval, stored().ntpInterval) << c.text;
        } else {
            ASSERT_EQ(1, closer.count()) << c.text;
            EXPECT_TRUE(
                closer.seen()[0].labels.contains("The effective value of time interval is from 1 to 10080!"));
            EXPECT_EQ(-7, stored().ntpInterval) << c.text;
        }
    }
}

TEST_F(TimeSetWidgetTest, MethodServerAndSummerSlots) {
    auto record = zeroed<_SC_SETTIME_DATA_>();
    record.ntpInterval = 60;
    std::strcpy(record.ntpServer, "typed.example");
    ozmParamsMgr()->setTimeInfo(&record);
    TimeSetWidget widget;
    EXPECT_FALSE(widget.serverEdit()->isEnabled());
    EXPECT_EQ("typed.example", widget.serverEdit()->text()) << "the stored name is set last";

    const struct {
        int method;
        int page;
        int height;
        bool ntpEnabled;
        bool setTimeEnabled;
    } methods[] = {{1, 1, 67, false, true}, {2, 2, 68, false, false}, {0, 0, 212, true, false}};
    for (const auto& m : methods) {
        widget.methodCombo()->setCurrentIndex(m.method);
        EXPECT_EQ(m.page, widget.middleStack()->currentIndex());
        EXPECT_EQ(m.height, widget.middleSection()->maximumHeight());
        EXPECT_EQ(m.ntpEnabled, widget.serverCombo()->isEnabled());
        EXPECT_EQ(m.ntpEnabled, widget.serverEdit()->isEnabled())
            << "NTP enables the name whatever the entry";
        EXPECT_EQ(m.setTimeEnabled, widget.setTimeEdit()->isEnabled());
    }

    widget.serverCombo()->setCurrentIndex(5);
    EXPECT_TRUE(widget.serverEdit()->isEnabled());
    EXPECT_EQ("typed.example", widget.serverEdit()->text()) << "Customize keeps the text";
    widget.serverCombo()->setCurrentIndex(3);
    EXPECT_FALSE(widget.serverEdit()->isEnabled());
    EXPECT_EQ(TimeSetWidget::presetServers().at(3), widget.serverEdit()->text());

    widget.autoSyncCombo()->setCurrentIndex(1);
    EXPECT_FALSE(widget.intervalEdit()->isEnabled());
    widget.autoSyncCombo()->setCurrentIndex(0);
    EXPECT_TRUE(widget.intervalEdit()->isEnabled());

    widget.summerCheck()->click();
    for (QWidget* control : widget.summerControls())
        EXPECT_TRUE(control->isEnabled());
    widget.summerCheck()->click();
    for (QWidget* control : widget.summerControls())
        EXPECT_FALSE(control->isEnabled());
}

// A name longer than the 200-byte field is cut to 199 bytes with its terminating zero; the
// bytes behind it in the record stay intact.
// A stored NVR flag other than 0 opens checked and saves as 1; a stored preset server with a name
// of its own shows that name (the name is set after the list, whose change rewrites the edit).
TEST_F(TimeSetWidgetTest, NvrFlagAndPresetServerWithItsOwnName) {
    for (std::uint8_t preset : {1, 4}) {
        SCOPED_TRACE(preset);
        auto record = zeroed<_SC_SETTIME_DATA_>();
        record.ntpInterval = 60;
        record.syncNvr = 2;
        record.ntpServerIndex = preset;
        std::strcpy(record.ntpServer, "own.example");
        ozmParamsMgr()->setTimeInfo(&record);
        TimeSetWidget widget;
        EXPECT_TRUE(widget.nvrCheck()->isChecked());
        EXPECT_EQ(preset, widget.serverCombo()->currentIndex());
        EXPECT_EQ("own.example", widget.serverEdit()->text());
        ASSERT_TRUE(widget.saveTimeInfo());
        EXPECT_EQ(1, stored().syncNvr);
        EXPECT_STREQ("own.example", stored().ntpServer);
    }
}

TEST_F(TimeSetWidgetTest, LongServerNameIsBoundedToItsField) {
    auto record = zeroed<_SC_SETTIME_DATA_>();
    record.ntpInterval = 5;
    ozmParamsMgr()->setTimeInfo(&record);
    TimeSetWidget widget;
    widget.serverCombo()->setCurrentIndex(5);
    widget.summerCheck()->setChecked(true);
    widget.serverEdit()->setText(QString(300, QChar('n')));
    EXPECT_EQ(TimeSetWidget::kServerNameMax, widget.serverEdit()->text().size());
    widget.serverEdit()->setMaxLength(32767); // even past the edit's own limit
    widget.serverEdit()->setText(QString(300, QChar('m')));
    ASSERT_TRUE(widget.saveTimeInfo());
    const auto saved = stored();
    EXPECT_EQ(199u, std::strlen(saved.ntpServer));
    EXPECT_EQ('\0', saved.ntpServer[199]);
    EXPECT_EQ(1, saved.summerTime) << "the field after the name is not overwritten";

    // A stored name that fills the field without a zero byte loads as at most 199 characters.
    auto full = zeroed<_SC_SETTIME_DATA_>();
    std::memset(full.ntpServer, 'q', sizeof full.ntpServer);
    full.summerTime = 'q';
    ozmParamsMgr()->setTimeInfo(&full);
    TimeSetWidget reloaded;
    EXPECT_EQ(QString(199, QChar('q')), reloaded.serverEdit()->text());
}

// The computer-time line shows the time from construction, so saving "Synchronize With
// Computer" at once stores today's date, not a parse of an empty line.
TEST_F(TimeSetWidgetTest, ComputerTimeIsSavedRightAfterConstruction) {
    auto record = zeroed<_SC_SETTIME_DATA_>();
    record.updateMethod = 2;
    record.ntpAutoSync = 1;
    ozmParamsMgr()->setTimeInfo(&record);
    const QDate before = QDate::currentDate();
    TimeSetWidget widget;
    EXPECT_FALSE(widget.computerTimeEdit()->text().isEmpty());
    widget.setTimeEdit()->setDateTime(QDateTime(QDate(2001, 1, 1), QTime(1, 1, 1)));
    ASSERT_TRUE(widget.saveTimeInfo());
    const QDate after = QDate::currentDate();
    const auto saved = stored();
    const QDate savedDate(saved.year, saved.month, saved.day);
    EXPECT_TRUE(savedDate == before || savedDate == after) << saved.year << "-" << int(saved.month);

    // An empty line (cleared by hand) still stores the current time.
    widget.computerTimeEdit()->clear();
    ASSERT_TRUE(widget.saveTimeInfo());
    EXPECT_GE(stored().year, before.year());
}

// The one-second clock belongs to the page: it runs while the page exists and goes with it.
TEST_F(TimeSetWidgetTest, ClockTimerStopsWithThePage) {
    auto record = zeroed<_SC_SETTIME_DATA_>();
    ozmParamsMgr()->setTimeInfo(&record);
    auto parent = std::make_unique<QWidget>();
    auto* widget = new TimeSetWidget(parent.get());
    QPointer<QTimer> timer = widget->clockTimer();
    ASSERT_FALSE(timer.isNull());
    EXPECT_TRUE(timer->isActive());
    EXPECT_LE(timer->interval(), 20) << "the interval follows the time scale";
    widget->computerTimeEdit()->clear();
    EXPECT_TRUE(harness::waitFor([&] { return !widget->computerTimeEdit()->text().isEmpty(); }, 5000));
    delete widget;
    EXPECT_TRUE(timer.isNull());
    QCoreApplication::processEvents();
    EXPECT_TRUE(parent->findChildren<QTimer*>().isEmpty());
}

} // namespace
