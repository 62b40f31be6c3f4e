// The audio, account, time, timed-restart and audio/light board pages: round trips of their
// records through a fresh store (stored value -> shown -> stored again), the password rules,
// the restart period's day list, and the two values shared between pages.
#include "ParamDialogTestSupport.h"
#include "ParamDialogPageEdits.h"
#include "SettingPagesTestAccess.h"

#include <QTest>

#include <string>
#include <vector>

using namespace paramtest;
using S = SettingPagesTestAccess;

namespace {

template <typename T> T reload(void (ParamsMgr::*get)(T*) const) {
    T record{};
    (ParamsMgr(storeFolder()).*get)(&record);
    return record;
}

QStringList itemsOf(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

const QString kMismatch = "Account Password twice inconsistent!";
const QString kRule =
    "Account Minimum passwork 8 Characters and a maximum 31 Characters,It must contain numbers and letters!";

} // namespace

TEST_F(ParamDialogTest, AudioPageRoundTrips) {
    struct Case {
        OZM::_SC_SETAUDIO_DATA_ stored;
        const char* input;
        const char* codec;
        OZM::_SC_SETAUDIO_DATA_ saved;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0}, "Mic", "G711A", {0, 0, 0, 0, 0}},
        {{1, 1, 1, 35, 80}, "Line in", "G711U", {1, 1, 1, 35, 80}},
        {{5, 2, 9, 150, -5}, "Mic", "G711A", {1, 0, 0, 100, 0}}, // out of range: first item, range ends
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.inputVolume);
        ozmParamsMgr()->setAudioInfo(&c.stored);
        auto d = open();
        EXPECT_EQ(c.stored.enable != 0, S::audioOpen(*d)->isChecked());
        EXPECT_EQ(c.input, S::audioInput(*d)->currentText());
        EXPECT_EQ(c.codec, S::audioCodec(*d)->currentText());
        EXPECT_EQ(c.saved.inputVolume, S::inputVolumeBox(*d)->value());
        EXPECT_EQ(c.saved.outputVolume, S::outputVolumeSlider(*d)->value());
        const std::vector<QWidget*> dependents{S::audioInput(*d),         S::audioCodec(*d),
                                               S::inputVolumeSlider(*d),  S::inputVolumeBox(*d),
                                               S::outputVolumeSlider(*d), S::outputVolumeBox(*d)};
        for (QWidget* w : dependents)
            EXPECT_EQ(c.stored.enable != 0, w->isEnabled());
        S::saveAudio(*d);
        EXPECT_TRUE(sameBytes(c.saved, reload(&ParamsMgr::getAudioInfo)));

        // Switching audio off disables the six and keeps their values; slider and box follow
        // each other both ways.
        S::audioOpen(*d)->setChecked(true);
        S::audioOpen(*d)->setChecked(false);
        for (QWidget* w : dependents)
            EXPECT_FALSE(w->isEnabled());
        S::inputVolumeSlider(*d)->setValue(42);
        S::outputVolumeBox(*d)->setValue(35);
        EXPECT_EQ(42, S::inputVolumeBox(*d)->value());
        EXPECT_EQ(35, S::outputVolumeSlider(*d)->value());
        S::saveAudio(*d);
        const auto off = reload(&ParamsMgr::getAudioInfo);
        EXPECT_EQ(0, off.enable);
        EXPECT_EQ(c.saved.input, off.input);
        EXPECT_EQ(42, off.inputVolume);
        EXPECT_EQ(35, off.outputVolume);
    }
}

TEST_F(ParamDialogTest, AudioBoardPageRoundTrips) {
    struct Case {
        OZM::_SC_SETAUDIOINPUT_DATA_ stored;
        const char* mode;
        OZM::_SC_SETAUDIOINPUT_DATA_ saved;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 0, 0, 0}, "Infrared Light Board", {0, 0, 0, 0, 0, 0, 0, 0}},
        {{1, 1, 1, 1, 1, 2, 2, 37}, "Infrared + Warm Light", {1, 1, 1, 1, 1, 2, 2, 37}},
        {{7, 0, 3, 0, 5, 3, 1, 250}, "Warm Light Board", {1, 0, 1, 0, 1, 0, 1, 100}},
        // Modes 3 and 4 are offered, so they survive a save.
        {{0, 0, 1, 0, 0, 1, 3, 60}, "Infrared + White Light", {0, 0, 1, 0, 0, 1, 3, 60}},
        {{0, 0, 1, 0, 0, 1, 4, 60}, "Hard Photosensitive", {0, 0, 1, 0, 0, 1, 4, 60}},
        {{0, 0, 0, 0, 0, 0, 9, 60}, "Infrared Light Board", {0, 0, 0, 0, 0, 0, 0, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.lightBoardMode);
        ozmParamsMgr()->setAudioBoard(&c.stored);
        auto d = open();
        EXPECT_EQ(c.mode, S::boardMode(*d)->currentText());
        const bool modeOn = c.stored.applyLightBoardMode != 0;
        EXPECT_EQ(modeOn, S::boardBrightnessCheck(*d)->isEnabled());
        EXPECT_EQ(modeOn, S::boardSlider(*d)->isEnabled());
        EXPECT_FALSE(S::boardBox(*d)->isEnabled());
        EXPECT_EQ(static_cast<int>(c.saved.brightness), S::boardBox(*d)->value());
        S::saveBoard(*d);
        EXPECT_TRUE(sameBytes(c.saved, reload(&ParamsMgr::getAudioBoard)));

        // The mode check box switches the brightness row; the number box stays disabled.
        S::boardModeCheck(*d)->setChecked(!modeOn);
        EXPECT_EQ(!modeOn, S::boardBrightnessCheck(*d)->isEnabled());
        EXPECT_EQ(!modeOn, S::boardSlider(*d)->isEnabled());
        EXPECT_FALSE(S::boardBox(*d)->isEnabled());
    }
    auto d = open();
    EXPECT_EQ(QStringList({"Infrared Light Board", "Warm Light Board", "Infrared + Warm Light",
                           "Infrared + White Light", "Hard Photosensitive"}),
              itemsOf(S::boardMode(*d)));
}

TEST_F(ParamDialogTest, AccountPasswordRulesAndRoundTrip) {
    const QString max31(31, 'a');
    struct Case {
        QString password;
        QString confirm;
        QString message; // empty: stored
    };
    const std::vector<Case> cases = {
        {"", "", kRule},
        {"abcdef1", "abcdef1", kRule},                    // 7
        {"abcdefg1", "abcdefg1", ""},                     // 8
        {max31.left(30) + "1", max31.left(30) + "1", ""}, // 31
        {"Secret42", "secret42", kMismatch},              // case differs
        {"short", "other", kMismatch},                    // mismatch comes first
        {"abcdefgh", "abcdefgh", kRule},                  // no digit
        {"12345678", "12345678", kRule},                  // no letter
        {"pass word1", "pass word1", kRule},              // space
        {"pass\u00e9word1", "pass\u00e9word1", kRule},    // not stored byte for byte
        {"#Pa55-w0rd!", "#Pa55-w0rd!", ""},               // marks are fine
    };
    OZM::_SC_ACCOUNT_DATA before{};
    setField(before.user, "keep");
    setField(before.password, "Keep1234");
    setField(before.passwordConfirm, "Keep1234");
    before.userType = 7; // out of range: "Admin", stored back as 0
    auto d = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password.toStdString() + " / " + c.confirm.toStdString());
        ozmParamsMgr()->setAccountInfo(&before);
        S::password(*d)->setText(c.password);
        S::confirm(*d)->setText(c.confirm);
        bool ok = false;
        const QStringList messages = messagesOf([&] { ok = S::saveAccount(*d); });
        EXPECT_EQ(c.message.isEmpty(), ok);
        EXPECT_EQ(c.message.isEmpty() ? QStringList() : QStringList{c.message}, messages);
        const auto stored = reload(&ParamsMgr::getAccountInfo);
        if (c.message.isEmpty()) {
            EXPECT_EQ(c.password.toStdString(), std::string(stored.password));
        } else {
            EXPECT_TRUE(sameBytes(before, stored));
        }
    }

    // Any stored type past "Guest" (2) shows "Admin" and is stored back as 0.
    for (std::uint32_t type : {3u, 7u, 255u}) {
        SCOPED_TRACE(type);
        OZM::_SC_ACCOUNT_DATA odd = before;
        odd.userType = type;
        ozmParamsMgr()->setAccountInfo(&odd);
        d = open();
        EXPECT_EQ("Admin", S::userType(*d)->currentText());
        ASSERT_TRUE(S::saveAccount(*d));
        EXPECT_EQ(0u, reload(&ParamsMgr::getAccountInfo).userType);
    }

    // A stored account comes back as shown; the user name stops at 31 characters.
    ozmParamsMgr()->setAccountInfo(&before);
    d = open();
    EXPECT_EQ("Admin", S::userType(*d)->currentText());
    EXPECT_EQ(QLineEdit::Password, S::password(*d)->echoMode());
    EXPECT_EQ("Keep1234", S::confirm(*d)->text());
    S::user(*d)->setText(QString(40, 'u'));
    EXPECT_EQ(QString(31, 'u'), S::user(*d)->text());
    S::userType(*d)->setCurrentIndex(2);
    ASSERT_TRUE(S::saveAccount(*d));
    OZM::_SC_ACCOUNT_DATA expected{};
    setField(expected.user, std::string(31, 'u').c_str());
    setField(expected.password, "Keep1234");
    setField(expected.passwordConfirm, "Keep1234");
    expected.userType = 2;
    EXPECT_TRUE(sameBytes(expected, reload(&ParamsMgr::getAccountInfo)));
    d = open();
    EXPECT_EQ("Guest", S::userType(*d)->currentText());
    EXPECT_EQ(QString(31, 'u'), S::user(*d)->text());
}

// The time and motion savers report false when their page widget is missing: nothing to store.
TEST_F(ParamDialogTest, WidgetPageSaversFailWithoutTheirWidget) {
    OZM::_SC_SETTIME_DATA_ time{};
    time.ntpInterval = 60; // valid, so the widget's own check passes
    ozmParamsMgr()->setTimeInfo(&time);
    auto d = open();
    bool ok[4] = {};
    const QStringList messages = messagesOf([&] {
        ok[0] = S::saveTimeWithoutWidget(*d, false);
        ok[1] = S::saveTimeWithoutWidget(*d, true);
        ok[2] = S::saveMotionWithoutWidget(*d, false);
        ok[3] = S::saveMotionWithoutWidget(*d, true);
    });
    EXPECT_TRUE(messages.isEmpty()) << messages.join("; ").toStdString();
    EXPECT_TRUE(ok[0]) << "time, with the widget";
    EXPECT_FALSE(ok[1]) << "time, without";
    EXPECT_TRUE(ok[2]) << "motion, with the widget";
    EXPECT_FALSE(ok[3]) << "motion, without";
}

TEST_F(ParamDialogTest, MaintainPageRoundTrips) {
    using R = OZM::_SC_SETRESTARTREGULARLY_DATA_;
    struct Case {
        R stored;
        const char* period;
        const char* day;  // nullptr: hidden
        const char* time; // nullptr: hidden
        R saved;
    };
    const std::uint32_t minus2 = static_cast<std::uint32_t>(-2);
    const Case cases[] = {
        {{0, 1, 4, 5, 6, 77, 2}, "Never", nullptr, nullptr, {0, 1, 4, 0, 0, 77, 2}},
        {{1, 0, 0, 7, 5, 0, 0}, "Every", nullptr, "07:05", {1, 0, 0, 7, 5, 0, 0}}, // no leading zeros
        {{1, 0, 0, 23, 59, 0, 0}, "Every", nullptr, "23:59", {1, 0, 0, 23, 59, 0, 0}},
        {{1, 1, 0, 3, 9, 0, 3}, "Weekly", "Wed", "03:09", {1, 1, 0, 3, 9, 0, 3}},
        {{1, 1, 0, 3, 9, 0, 9}, "Weekly", "Sun", "03:09", {1, 1, 0, 3, 9, 0, 0}}, // weekday out of range
        {{1, 2, 45, 1, 2, 5, 1}, "Monthly", "30", "01:02", {1, 2, 30, 1, 2, 5, 1}},
        {{1, 2, minus2, 1, 2, 0, 0}, "Monthly", "0", "01:02", {1, 2, 0, 1, 2, 0, 0}},
        {{1, 7, 12, 30, 70, 0, 0}, "Monthly", "12", "23:59", {1, 2, 12, 23, 59, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.period) + " " + (c.day ? c.day : "-"));
        ozmParamsMgr()->setMaintainInfo(&c.stored);
        auto d = open();
        EXPECT_EQ(c.period, S::period(*d)->currentText());
        EXPECT_EQ(c.day != nullptr, !S::day(*d)->isHidden());
        if (c.day) {
            EXPECT_EQ(c.day, S::day(*d)->currentText());
        }
        EXPECT_EQ(c.time != nullptr, !S::restartTime(*d)->isHidden());
        if (c.time) {
            EXPECT_EQ(c.time, S::restartTime(*d)->text());
        }
        S::saveMaintain(*d);
        EXPECT_TRUE(sameBytes(c.saved, reload(&ParamsMgr::getMaintainInfo)));
        // A second save from the same dialog stores the same record.
        S::saveMaintain(*d);
        EXPECT_TRUE(sameBytes(c.saved, reload(&ParamsMgr::getMaintainInfo)));
    }
}

// The restart time takes what the operator types after a single click into the box.
TEST_F(ParamDialogTest, RestartTimeTakesTypedDigits) {
    const OZM::_SC_SETRESTARTREGULARLY_DATA_ every{1, 0, 0, 0, 0, 0, 0};
    const struct {
        const char* typed;
        int clickX; // where in the box the single click lands
        std::uint32_t hour, minute;
    } cases[] = {{"0330", 20, 3, 30}, {"03:30", 20, 3, 30}, {"2159", 50, 21, 59}, {"0330", 90, 3, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " at x " + std::to_string(c.clickX));
        ozmParamsMgr()->setMaintainInfo(&every);
        auto d = open();
        d->show();
        A::stack(*d)->setCurrentIndex(OZM::FamilyMaintain);
        QDateTimeEdit* edit = S::restartTime(*d);
        ASSERT_TRUE(edit->isVisible());
        QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(c.clickX, edit->height() / 2));
        QCoreApplication::processEvents(); // the event loop runs between a click and a key
        QTest::keyClicks(edit, c.typed);
        S::saveMaintain(*d);
        const auto saved = reload(&ParamsMgr::getMaintainInfo);
        EXPECT_EQ((std::vector<std::uint32_t>{saved.hour, saved.minute}),
                  (std::vector<std::uint32_t>{c.hour, c.minute}))
            << edit->text().toStdString();
    }
}

// The tail of the save sequence: video is stored whether or not its family is enabled; an enabled
// time page that fails stops the save before the account, timed-restart and board pages, and an
// enabled account page that fails stops it before the last two.
TEST_F(ParamDialogTest, SaveSequenceTailStopsAtTimeThenAccount) {
    struct Case {
        const char* name;
        std::vector<int> enabled;
        bool badTime, badAccount;
        QString message;
        // Stored afterwards: video, account, time, timed restart, audio board.
        std::vector<bool> stored;
    };
    const std::vector<Case> cases = {
        {"all disabled", {}, false, false, "Save Success!", {true, false, false, true, true}},
        {"time and account fail",
         {11, 12},
         true,
         true,
         "The effective value of time interval is from 1 to 10080!",
         {true, false, false, false, false}},
        {"account fails",
         {11, 12},
         false,
         true,
         "Account Password twice inconsistent!",
         {true, false, true, false, false}},
        {"both pass", {11, 12}, false, false, "Save Success!", {true, true, true, true, true}},
    };
    const std::vector<PageEdit> edits = everyPageEdit();
    const int pages[] = {OZM::FamilyVideo, OZM::FamilyAccount, OZM::FamilyTime, OZM::FamilyMaintain,
                         OZM::FamilyAudioBoard};
    auto records = [] {
        auto bytes = [](const auto& r) { return QByteArray(reinterpret_cast<const char*>(&r), sizeof r); };
        return std::vector<QByteArray>{
            bytes(freshRecord(&ParamsMgr::getVideoInfo)), bytes(freshRecord(&ParamsMgr::getAccountInfo)),
            bytes(freshRecord(&ParamsMgr::getTimeInfo)), bytes(freshRecord(&ParamsMgr::getMaintainInfo)),
            bytes(freshRecord(&ParamsMgr::getAudioBoard))};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        storeValidNetworkRecords();
        {
            const OZM::_SC_SETVIDEO_DATA_ video{};
            const OZM::_SC_ACCOUNT_DATA account{};
            const OZM::_SC_SETTIME_DATA_ time{};
            const OZM::_SC_SETRESTARTREGULARLY_DATA_ maintain{};
            const OZM::_SC_SETAUDIOINPUT_DATA_ board{};
            ozmParamsMgr()->setVideoInfo(&video);
            ozmParamsMgr()->setAccountInfo(&account);
            ozmParamsMgr()->setTimeInfo(&time);
            ozmParamsMgr()->setMaintainInfo(&maintain);
            ozmParamsMgr()->setAudioBoard(&board);
        }
        const std::vector<QByteArray> before = records();
        auto d = open();
        for (int page : pages) {
            for (const PageEdit& e : edits) {
                if (e.page == page) {
                    ASSERT_TRUE(e.edit(*d)) << page;
                }
            }
        }
        for (int i : c.enabled)
            A::enable(*d, i)->setChecked(true);
        if (c.badTime)
            S::time(*d)->intervalEdit()->setText("0");
        if (c.badAccount)
            S::confirm(*d)->setText("Other123");
        EXPECT_EQ(QStringList{c.message}, messagesOf([&] { A::saveButton(*d)->click(); }));
        const std::vector<QByteArray> after = records();
        for (std::size_t i = 0; i < c.stored.size(); ++i)
            EXPECT_EQ(c.stored[i], after[i] != before[i]) << "page " << pages[i];
    }
}

TEST_F(ParamDialogTest, RestartPeriodRebuildsTheDayList) {
    const OZM::_SC_SETRESTARTREGULARLY_DATA_ stored{1, 0, 45, 6, 30, 0, 4};
    ozmParamsMgr()->setMaintainInfo(&stored);
    auto d = open();
    QComboBox* period = S::period(*d);
    QComboBox* day = S::day(*d);
    ASSERT_EQ("Every", period->currentText());
    ASSERT_TRUE(day->isHidden());

    QStringList monthDays;
    for (int i = 0; i <= 30; ++i)
        monthDays << QString::number(i);
    struct Step {
        int period;
        QStringList items; // empty: hidden
        const char* selected;
        bool timeShown;
    };
    const Step steps[] = {
        {2, {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}, "Thu", true},
        {3, monthDays, "30", true}, // the stored 45 is corrected in the dialog's record
        {1, {}, nullptr, true},
        {0, {}, nullptr, false},
        {3, monthDays, "30", true},
        {2, {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}, "Thu", true},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.period);
        period->setCurrentIndex(s.period);
        EXPECT_EQ(s.items.isEmpty(), day->isHidden());
        if (!s.items.isEmpty()) {
            EXPECT_EQ(s.items, itemsOf(day));
            EXPECT_EQ(s.selected, day->currentText());
        }
        EXPECT_EQ(s.timeShown, !S::restartTime(*d)->isHidden());
        if (s.timeShown) {
            EXPECT_EQ("06:30", S::restartTime(*d)->text());
        }
    }
    EXPECT_EQ(30u, S::maintainRecord(*d).dayOfMonth);

    // Weekly on Friday, saved; then "Every" keeps the saved weekday, and the next "Weekly"
    // shows it.
    day->setCurrentIndex(5);
    S::saveMaintain(*d);
    EXPECT_EQ(5u, reload(&ParamsMgr::getMaintainInfo).weekday);
    period->setCurrentIndex(1);
    S::saveMaintain(*d);
    const auto every = reload(&ParamsMgr::getMaintainInfo);
    EXPECT_EQ(0u, every.period);
    EXPECT_EQ(5u, every.weekday);
    EXPECT_EQ(30u, every.dayOfMonth);
    period->setCurrentIndex(2);
    EXPECT_EQ("Fri", day->currentText());
}

TEST_F(ParamDialogTest, AudioInputFollowsBetweenPages) {
    const OZM::_SC_SETAUDIO_DATA_ audio{1, 1, 0, 50, 50};
    const OZM::_SC_SETAUDIOINPUT_DATA_ board{1, 0, 0, 0, 0, 0, 0, 50};
    ozmParamsMgr()->setAudioInfo(&audio);
    ozmParamsMgr()->setAudioBoard(&board);
    auto d = open();
    // Each page shows its own stored input until one of them changes.
    EXPECT_EQ("Line in", S::audioInput(*d)->currentText());
    EXPECT_EQ("Mic", S::boardInput(*d)->currentText());

    struct Step {
        QComboBox* (*combo)(OtherParamConfigDlg&);
        int index;
        const char* both;
    };
    const Step steps[] = {
        {S::boardInput, 1, "Line in"}, {S::boardInput, 0, "Mic"},     {S::audioInput, 1, "Line in"},
        {S::audioInput, 0, "Mic"},     {S::boardInput, 1, "Line in"},
    };
    for (const Step& s : steps) {
        s.combo(*d)->setCurrentIndex(s.index);
        EXPECT_EQ(s.both, S::audioInput(*d)->currentText());
        EXPECT_EQ(s.both, S::boardInput(*d)->currentText());
    }
    S::saveAudio(*d);
    S::saveBoard(*d);
    EXPECT_EQ(1, reload(&ParamsMgr::getAudioInfo).input);
    EXPECT_EQ(1u, reload(&ParamsMgr::getAudioBoard).input);
}

TEST_F(ParamDialogTest, LightBrightnessLinksImageAndBoardPages) {
    OZM::_SC_IMAGE_DATA_ image{};
    image.lightBrightness = 70;
    ozmParamsMgr()->setImageInfo(&image);
    const OZM::_SC_SETAUDIOINPUT_DATA_ board{0, 0, 1, 1, 0, 0, 0, 37};
    ozmParamsMgr()->setAudioBoard(&board);
    auto d = open();
    LockerWidget* locker = S::locker(*d);
    // Loading moved nothing across: 37 is not snapped, the image page keeps its own value. The
    // image page snaps its own brightness to tens as well.
    EXPECT_EQ(37, S::boardSlider(*d)->value());
    EXPECT_EQ(70, locker->brightnessBox()->value());
    S::saveBoard(*d);
    EXPECT_EQ(37u, reload(&ParamsMgr::getAudioBoard).brightness);

    struct Step {
        bool fromBoard; // else from the image page
        int value;
        int board;
        int image;
    };
    const Step steps[] = {
        {true, 47, 40, 40},  {true, 90, 90, 90},    {false, 57, 50, 50},
        {false, 30, 30, 30}, {true, 100, 100, 100}, {false, 0, 0, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.fromBoard) + " " + std::to_string(s.value));
        if (s.fromBoard)
            S::boardSlider(*d)->setValue(s.value);
        else
            locker->brightnessBox()->setValue(s.value);
        EXPECT_EQ(s.board, S::boardSlider(*d)->value());
        EXPECT_EQ(s.board, S::boardBox(*d)->value());
        EXPECT_EQ(s.image, locker->brightnessBox()->value());
    }
    locker->brightnessBox()->setValue(57);
    S::saveBoard(*d);
    EXPECT_EQ(50u, reload(&ParamsMgr::getAudioBoard).brightness);
}

TEST_F(ParamDialogTest, TimePageIsPlacedAndSavedWhenEnabled) {
    OZM::_SC_SETTIME_DATA_ time{};
    time.ntpInterval = 0; // automatic sync on with no interval: the time page refuses it
    ozmParamsMgr()->setTimeInfo(&time);
    OZM::_SC_ACCOUNT_DATA account{};
    ozmParamsMgr()->setAccountInfo(&account); // empty password: the account page refuses it
    auto d = open();
    ASSERT_NE(nullptr, S::time(*d));
    EXPECT_TRUE(A::frame(*d, OZM::FamilyTime)->isAncestorOf(S::time(*d)));

    const QString success = "Save Success!";
    const QString timeWarning = "The effective value of time interval is from 1 to 10080!";
    struct Case {
        bool timeOn;
        bool accountOn;
        const char* interval;
        QStringList messages;
    };
    const Case cases[] = {
        {false, false, "0", {success}},
        {true, true, "0", {timeWarning}}, // time comes before account
        {false, true, "0", {kRule}},
        {true, false, "90", {success}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.timeOn) + std::to_string(c.accountOn));
        A::enable(*d, OZM::FamilyTime)->setChecked(c.timeOn);
        A::enable(*d, OZM::FamilyAccount)->setChecked(c.accountOn);
        S::time(*d)->intervalEdit()->setText(c.interval);
        EXPECT_EQ(c.messages, messagesOf([&] { A::saveButton(*d)->click(); }));
    }
    EXPECT_EQ(90, reload(&ParamsMgr::getTimeInfo).ntpInterval);
}
