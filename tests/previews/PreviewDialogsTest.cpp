// The four preview dialogs against the simulated fleet: login records, stream choice, every
// way of closing, PTZ codes, voice records and the image test's own device list.
#include "ImageTestDialog.h"
#include "FleetTest.h"
#include "PlayCheckDeviceDialog.h"
#include "PlayDialog.h"
#include "PreviewTestSupport.h"
#include "PtzAndAudioDeviceDialog.h"
#include "SetOsdDialog.h"

#include "ozmlogic/ParamsMgr.h"

#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <memory>

using namespace previewtest;

namespace {

enum class Kind { Grid, Ptz, Image, Play };

const char* kindName(Kind kind) {
    switch (kind) {
    case Kind::Grid:
        return "grid";
    case Kind::Ptz:
        return "ptz";
    case Kind::Image:
        return "image";
    case Kind::Play:
        return "play";
    }
    return "?";
}

// One preview dialog of any kind, started on rows.
struct AnyPreview {
    QDialog* dialog = nullptr;
    QPushButton* closeButton = nullptr;
    const PreviewSession* session = nullptr;
    ImageTestDialog* image = nullptr;

    static AnyPreview open(Kind kind, const QVector<QStringList>& rows, int gridRows = 2,
                           int gridColumns = 2) {
        AnyPreview p;
        switch (kind) {
        case Kind::Grid: {
            auto* d = new PlayCheckDeviceDialog(gridRows, gridColumns);
            d->startPlay(rows);
            p = {d, d->closeButton, &d->session()};
            break;
        }
        case Kind::Ptz: {
            auto* d = new PtzAndAudioDeviceDialog(gridRows, gridColumns);
            d->startPlay(rows);
            p = {d, d->closeButton, &d->session()};
            break;
        }
        case Kind::Image: {
            auto* d = new ImageTestDialog;
            d->setDeviceList(rows);
            p = {d, d->closeButton, &d->session(), d};
            break;
        }
        case Kind::Play: {
            auto* d = new PlayDialog;
            d->setAttribute(Qt::WA_DeleteOnClose, false); // the test owns it
            d->playDevice(rows.value(0));
            p = {d, d->closeButton, &d->session()};
            break;
        }
        }
        return p;
    }
};

class PreviewDialogsTest : public mwtest::FleetTest {
protected:
    void SetUp() override {
        mwtest::FleetTest::SetUp();
        if (HasFatalFailure())
            return;
        ozmParamsMgr()->setStream(1);
        m_startups = camsim::startupCount();
    }
    int m_startups = 0;
};

TEST_F(PreviewDialogsTest, LoginRecordsCarryTheRowCutToTheirFields) {
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    QVector<QStringList> rows = fleetRows(4);
    rows[1][17] = QString(40, 'u');         // 40 bytes: cut to 31
    rows[1][18] = QString(32, 'p');         // one byte too long
    rows[2][17] = QString(20, QChar(0xE9)); // 40 bytes of UTF-8: cut before a split character
    rows[2][12] = "80x";                    // not a number: port 0
    rows[3][12] = "8080";
    rows[3][1] = QString(140, '7'); // address cut to 127

    PlayCheckDeviceDialog dialog(2, 2);
    dialog.startPlay(rows);
    const std::vector<camsim::CallRecord> logins = camsim::calls("KVX_NET_Login");
    ASSERT_EQ(logins.size(), 4u);

    struct Expect {
        std::string address, user, password;
        std::uint32_t port;
    } expected[] = {
        {fleet[0].ip, fleet[0].user, fleet[0].password, 80},
        {fleet[1].ip, std::string(31, 'u'), std::string(31, 'p'), 80},
        {fleet[2].ip, QString(15, QChar(0xE9)).toStdString(), fleet[2].password, 0},
        {std::string(127, '7'), fleet[3].user, fleet[3].password, 8080},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const std::vector<std::uint8_t>& in = logins[static_cast<std::size_t>(i)].in;
        ASSERT_GE(in.size(), 212u);
        EXPECT_EQ(text(in, 0, 128), expected[i].address);
        EXPECT_EQ(u32(in, 128), expected[i].port);
        EXPECT_EQ(u32(in, 132), 0u) << "four rows: main stream";
        EXPECT_EQ(text(in, 136, 32), expected[i].user);
        EXPECT_EQ(text(in, 168, 32), expected[i].password);
        EXPECT_EQ(u32(in, 200), static_cast<std::uint32_t>(dialog.panes()[i]->winId()));
        EXPECT_EQ(in[204], 1);
        EXPECT_EQ(in[206], 1);
        EXPECT_EQ(in[207], 0);
        EXPECT_EQ(in[208], 0);
        EXPECT_EQ(in[210] | in[211], 0);
    }
    EXPECT_EQ(dialog.session().loginRecord().callback, &PreviewSession::messageCallback);
    EXPECT_EQ(dialog.session().loginRecord().userData, &dialog);
}

TEST_F(PreviewDialogsTest, StreamFollowsTheDeviceCountOrTheSetting) {
    struct Case {
        Kind kind;
        int rows;
        int setting;
        std::uint32_t stream;
        int logins; // devices that fit the grid
        int gridRows, gridColumns;
    } cases[] = {
        {Kind::Grid, 1, 1, 0, 1, 1, 1}, {Kind::Grid, 4, 1, 0, 4, 2, 2},  {Kind::Grid, 5, 0, 1, 5, 3, 4},
        {Kind::Grid, 8, 1, 1, 4, 2, 2}, // more rows than panes: only the panes are played
        {Kind::Ptz, 4, 1, 0, 4, 2, 2},  {Kind::Ptz, 5, 0, 1, 5, 3, 4},   {Kind::Play, 1, 0, 0, 1, 1, 1},
        {Kind::Play, 1, 1, 1, 1, 1, 1}, {Kind::Image, 3, 1, 0, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kindName(c.kind)) + " rows " + std::to_string(c.rows) + " setting " +
                     std::to_string(c.setting));
        camsim::clearCallLog();
        ozmParamsMgr()->setStream(c.setting);
        AnyPreview p = AnyPreview::open(c.kind, fleetRows(c.rows), c.gridRows, c.gridColumns);
        const std::vector<camsim::CallRecord> logins = camsim::calls("KVX_NET_Login");
        const std::vector<camsim::CallRecord> starts = camsim::calls("KVX_NET_ClientStart");
        EXPECT_EQ(static_cast<int>(logins.size()), c.logins);
        EXPECT_EQ(static_cast<int>(starts.size()), c.logins);
        for (const auto& r : logins)
            EXPECT_EQ(u32(r.in, 132), c.stream);
        for (const auto& r : starts)
            EXPECT_EQ(u32(r.in, 132), c.stream);
        EXPECT_EQ(camsim::streamCount(), c.logins);
        delete p.dialog;
        EXPECT_EQ(camsim::sessionCount(), 0);
    }
}

// Every way out of every preview dialog, with one login refused at once and one camera whose
// stream fails after a good login: nothing stays logged in or playing, the SDK is cleaned up
// once, and no call reaches a handle the SDK does not know.
TEST_F(PreviewDialogsTest, EveryWayOutReleasesEverythingOnce) {
    enum class Way { CloseButton, Escape, Done, DoubleClick, Destructor };
    const char* wayNames[] = {"close button", "Escape", "done", "double click", "destructor"};
    const Kind kinds[] = {Kind::Grid, Kind::Ptz, Kind::Image, Kind::Play};
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    for (Kind kind : kinds) {
        for (Way way : {Way::CloseButton, Way::Escape, Way::Done, Way::DoubleClick, Way::Destructor}) {
            if (kind == Kind::Play && way == Way::DoubleClick)
                continue; // the single preview has no double click
            SCOPED_TRACE(std::string(kindName(kind)) + " by " + wayNames[static_cast<int>(way)]);
            camsim::clearInjections();
            camsim::clearCallLog();
            camsim::inject({fleet[0].mac, "KVX_NET_ClientStart", true}); // logged in, no stream
            camsim::inject({fleet[1].mac, "KVX_NET_Login", true});       // refused at once
            const QVector<QStringList> rows = fleetRows(3);
            AnyPreview p = AnyPreview::open(kind, rows);
            ASSERT_NE(p.dialog, nullptr);
            EXPECT_EQ(camsim::startupCount(), m_startups + 1);
            const std::vector<camsim::CallRecord> waits = camsim::calls("KVX_NET_SetWaitTime");
            ASSERT_EQ(waits.size(), 1u);
            EXPECT_EQ(waits[0].args, (std::vector<long long>{2, -1, 2}));
            EXPECT_TRUE(p.session->loggedIn(0));
            EXPECT_FALSE(p.session->playing(0));
            p.dialog->show();
            ASSERT_TRUE(harness::waitFor([] { return camsim::liveSessionCount() >= 1; }, 5000));
            // A double click while the image test's first device starts is not a way out.
            if (p.image && way == Way::DoubleClick) {
                ASSERT_TRUE(harness::waitFor([&] { return !p.image->starting(); }, 5000))
                    << "the first device counted as shown";
            }

            switch (way) {
            case Way::CloseButton:
                p.closeButton->click();
                break;
            case Way::Escape:
                QTest::keyClick(p.dialog, Qt::Key_Escape);
                break;
            case Way::Done:
                p.dialog->done(QDialog::Accepted);
                break;
            case Way::DoubleClick:
                QTest::mouseDClick(p.dialog, Qt::LeftButton, Qt::NoModifier, QPoint(20, 200));
                break;
            case Way::Destructor:
                break;
            }
            if (way != Way::Destructor) {
                EXPECT_FALSE(p.dialog->isVisible());
                EXPECT_EQ(camsim::sessionCount(), 0) << "before destruction";
                EXPECT_EQ(camsim::streamCount(), 0);
            }
            delete p.dialog;
            EXPECT_EQ(camsim::sessionCount(), 0);
            EXPECT_EQ(camsim::streamCount(), 0);
            EXPECT_EQ(camsim::startupCount(), m_startups);
            EXPECT_EQ(countCalls("KVX_NET_Cleanup"), 1);
            EXPECT_EQ(countCalls("KVX_NET_Startup"), 1);
            EXPECT_EQ(callsOnUnknownHandles(), std::vector<std::string>{});
            QCoreApplication::processEvents();
            EXPECT_EQ(camsim::pictureCount(), 0);
        }
    }
}

TEST_F(PreviewDialogsTest, PtzButtonsSendTheirCodesOnPressAndStopOnRelease) {
    // The pad as the operator knows it: caption, grid cell, command code and whether the button
    // is held (press sends the code, release 0) or clicked (the code once, no stop).
    const struct {
        const char* caption;
        int row, column, code;
        bool hold;
    } pad[] = {
        {"LeftUp", 1, 0, 14, true},      {"Up", 1, 1, 10, true},           {"RightUp", 1, 2, 16, true},
        {"Zoom+", 1, 3, 20, true},       {"Zoom-", 1, 4, 21, true},        {"Left", 2, 0, 12, true},
        {"Right", 2, 2, 13, true},       {"Focus+", 2, 3, 22, true},       {"Focus-", 2, 4, 23, true},
        {"LeftDown", 3, 0, 15, true},    {"Down", 3, 1, 11, true},         {"RightDown", 3, 2, 17, true},
        {"Aperture+", 3, 3, 24, false},  {"Aperture-", 3, 4, 25, false},   {"InitLines", 3, 5, 32, false},
        {"Open Voice", 1, 5, -1, false}, {"Close Voice", 2, 5, -1, false},
    };
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    camsim::inject({fleet[1].mac, "KVX_NET_Login", true}); // gets no command
    PtzAndAudioDeviceDialog dialog(2, 2);
    dialog.startPlay(fleetRows(3));
    dialog.show();
    ASSERT_TRUE(harness::waitFor([] { return camsim::liveSessionCount() == 2; }, 5000));
    const int loginA = dialog.session().loginHandle(0);
    const int loginC = dialog.session().loginHandle(2);
    auto sentSince = [] {
        std::vector<std::vector<long long>> sent;
        for (const camsim::CallRecord& r : camsim::calls("KVX_NET_PTZCtrl")) {
            EXPECT_EQ(r.in.size(), 3u);
            EXPECT_EQ(r.result, 1);
            if (r.in.size() == 3u)
                sent.push_back({r.args[0], r.in[0], r.in[1], r.in[2]});
        }
        return sent;
    };

    for (const auto& entry : pad) {
        SCOPED_TRACE(entry.caption);
        QPushButton* button = dialog.ptzButton(entry.caption);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible());
        EXPECT_EQ(button->size(), QSize(75, 25));
        auto* grid = qobject_cast<QGridLayout*>(button->parentWidget()->layout());
        ASSERT_NE(grid, nullptr);
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(button), &row, &column, &rowSpan, &columnSpan);
        EXPECT_EQ(std::make_pair(row, column), std::make_pair(entry.row, entry.column));
        if (entry.code < 0)
            continue;
        const std::vector<long long> codeA = {loginA, 0, entry.code, 0}, codeC = {loginC, 0, entry.code, 0};
        const std::vector<long long> stopA = {loginA, 0, 0, 0}, stopC = {loginC, 0, 0, 0};
        camsim::clearCallLog();
        QTest::mousePress(button, Qt::LeftButton);
        EXPECT_EQ(sentSince(), entry.hold ? (std::vector<std::vector<long long>>{codeA, codeC})
                                          : std::vector<std::vector<long long>>{})
            << "on press";
        camsim::clearCallLog();
        QTest::mouseRelease(button, Qt::LeftButton);
        EXPECT_EQ(sentSince(), entry.hold ? (std::vector<std::vector<long long>>{stopA, stopC})
                                          : (std::vector<std::vector<long long>>{codeA, codeC}))
            << "on release";
    }
    dialog.onCloseBtnClicked();
    EXPECT_TRUE(dialog.keptRows().isEmpty());

    // Five devices: the sub stream, also in the PTZ record.
    camsim::clearInjections();
    PtzAndAudioDeviceDialog five(3, 4);
    five.startPlay(fleetRows(5));
    ASSERT_TRUE(harness::waitFor([] { return camsim::liveSessionCount() == 5; }, 5000));
    camsim::clearCallLog();
    QTest::mouseClick(five.ptzButton("InitLines"), Qt::LeftButton);
    const auto calls = camsim::calls("KVX_NET_PTZCtrl");
    ASSERT_EQ(calls.size(), 5u);
    for (const auto& r : calls)
        EXPECT_EQ((std::vector<int>{r.in[0], r.in[1]}), (std::vector<int>{1, 32}));
}

// The PTZ dialog as drawn, from the screen's available size W x H: flags, title bar, the video
// area above the bottom panel, and the pad and record box side by side in the panel.
TEST_F(PreviewDialogsTest, PtzDialogLayoutAsDrawn) {
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    const int W = screen.width(), H = screen.height();
    PtzAndAudioDeviceDialog dialog(2, 2);
    dialog.show();
    EXPECT_EQ(dialog.size(), screen);
    EXPECT_EQ(dialog.windowFlags() & ~Qt::WindowType_Mask, Qt::FramelessWindowHint);
    EXPECT_EQ(dialog.windowType(), Qt::Dialog);
    EXPECT_EQ(dialog.closeButton->parentWidget()->geometry(), QRect(0, 0, W, 30));
    EXPECT_EQ(dialog.closeButton->geometry(), QRect(W - 30, 0, 30, 30));
    QWidget* video = dialog.panes().value(0)->parentWidget();
    EXPECT_EQ(video->geometry(), QRect(0, 30, W, H - 180));
    EXPECT_TRUE(video->testAttribute(Qt::WA_StyledBackground));
    EXPECT_EQ(QColor(video->grab().toImage().pixel(W / 2, 100)).name(), "#606060");
    for (QWidget* pane : dialog.panes())
        EXPECT_TRUE(pane->testAttribute(Qt::WA_TransparentForMouseEvents));
    auto* box = dialog.findChild<QGroupBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->title(), "PTZ");
    EXPECT_EQ(box->geometry(), QRect(0, 0, 500, 130));
    QWidget* padContainer = box->parentWidget();
    EXPECT_EQ(padContainer->size(), QSize(500, 180));
    QWidget* panel = padContainer->parentWidget();
    EXPECT_EQ(panel->geometry(), QRect(0, H - 150, W, 180));
    EXPECT_EQ(dialog.recordBox()->geometry(), QRect(0, 0, 200, 120));
    EXPECT_EQ(dialog.recordBox()->parentWidget()->size(), QSize(200, 170));
    EXPECT_EQ(dialog.recordBox()->parentWidget()->parentWidget(), panel);
    EXPECT_TRUE(dialog.recordBox()->isReadOnly());
    EXPECT_EQ(dialog.recordBox()->toPlainText(), "[-Operation record-]");
    // The pad, then the record box, between two stretches.
    EXPECT_LT(padContainer->geometry().right(), dialog.recordBox()->parentWidget()->x());
    EXPECT_GT(padContainer->x(), 0);
    EXPECT_LT(dialog.recordBox()->parentWidget()->geometry().right(), W - 1);
    dialog.onCloseBtnClicked();
}

// A movement still held when the dialog ends is stopped on every device before the streams stop
// and the devices log out, whichever way the dialog ends.
TEST_F(PreviewDialogsTest, PtzMovementHeldAtTheEndIsStoppedBeforeTheLogout) {
    enum class Way { Escape, CloseButton, DoubleClick };
    for (Way way : {Way::Escape, Way::CloseButton, Way::DoubleClick}) {
        SCOPED_TRACE(static_cast<int>(way));
        camsim::clearCallLog();
        PtzAndAudioDeviceDialog dialog(2, 2);
        dialog.startPlay(fleetRows(2));
        dialog.show();
        ASSERT_TRUE(harness::waitFor([] { return camsim::liveSessionCount() == 2; }, 5000));
        QPushButton* up = dialog.ptzButton("Up");
        QTest::mousePress(up, Qt::LeftButton);
        switch (way) {
        case Way::Escape:
            QTest::keyClick(&dialog, Qt::Key_Escape);
            break;
        case Way::CloseButton:
            dialog.closeButton->click();
            break;
        case Way::DoubleClick:
            QTest::mouseDClick(&dialog, Qt::LeftButton, Qt::NoModifier, QPoint(20, 200));
            break;
        }
        EXPECT_FALSE(dialog.isVisible());
        std::vector<std::string> sequence;
        for (const camsim::CallRecord& r : camsim::callLog()) {
            if (r.function == "KVX_NET_PTZCtrl" && r.in.size() == 3u)
                sequence.push_back("PTZ " + std::to_string(r.in[1]));
            else if (r.function == "KVX_NET_ClientStop" || r.function == "KVX_NET_Logout")
                sequence.push_back(r.function);
        }
        EXPECT_EQ(sequence,
                  (std::vector<std::string>{"PTZ 10", "PTZ 10", "PTZ 0", "PTZ 0", "KVX_NET_ClientStop",
                                            "KVX_NET_Logout", "KVX_NET_ClientStop", "KVX_NET_Logout"}));
        QTest::mouseRelease(up, Qt::LeftButton); // late: reaches no device
        EXPECT_EQ(countCalls("KVX_NET_PTZCtrl"), 4);
    }
}

// In Chinese the pad speaks Chinese, and the lists that other pages take through tr() (the image
// page's shutter times and number lists, the schedule's weekdays) have their entries.
TEST_F(PreviewDialogsTest, PadCaptionsAndPageListsAreTranslated) {
    QTranslator chinese;
    ASSERT_TRUE(chinese.load(qEnvironmentVariable("CORVANE_BIN_DIR") + "/translations/corvane_zh_CN.qm"));
    const char* const pad[] = {"LeftUp", "Up",        "RightUp",   "Zoom+",     "Zoom-",       "Open Voice",
                               "Left",   "Right",     "Focus+",    "Focus-",    "Close Voice", "LeftDown",
                               "Down",   "RightDown", "Aperture+", "Aperture-", "InitLines"};
    QCoreApplication::installTranslator(&chinese);
    {
        PtzAndAudioDeviceDialog dialog(1, 1);
        for (const char* caption : pad) {
            SCOPED_TRACE(caption);
            const QString chineseCaption = chinese.translate("PtzAndAudioDeviceDialog", caption);
            EXPECT_FALSE(chineseCaption.isEmpty());
            EXPECT_NE(chineseCaption, QString(caption));
            EXPECT_NE(dialog.ptzButton(chineseCaption), nullptr);
        }
    }
    QCoreApplication::removeTranslator(&chinese);
    const std::vector<std::pair<const char*, QStringList>> lists = {
        {"LockerWidget",
         {"1/25", "1/30", "1/75", "1/100", "1/120", "1/150", "1/250", "1/300", "1/425", "1/600", "1/1000",
          "1/1250", "1/1750", "1/2500", "1/3500", "1/6000", "1/10000"}},
        {"LockerWidget", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
        {"CScheduleSet", {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}},
    };
    for (const auto& list : lists) {
        for (const QString& text : list.second)
            EXPECT_FALSE(chinese.translate(list.first, text.toUtf8().constData()).isEmpty())
                << list.first << " " << text.toStdString();
    }
    EXPECT_EQ(chinese.translate("CScheduleSet", "Sun"), QString::fromUtf8("\u5468\u65e5"));
}

TEST_F(PreviewDialogsTest, VoiceWritesOneLinePerDeviceInRowOrderAndStopsBeforeTheStream) {
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    camsim::inject({fleet[1].mac, "KVX_NET_Login", true});       // not logged in
    camsim::inject({fleet[3].mac, "KVX_NET_ClientStart", true}); // logged in, no stream
    PtzAndAudioDeviceDialog dialog(2, 2);
    dialog.startPlay(fleetRows(4));
    dialog.show();
    ASSERT_TRUE(harness::waitFor([] { return camsim::liveSessionCount() == 3; }, 5000));

    auto recordLines = [&] { return dialog.recordBox()->toPlainText().split('\n'); };
    QTest::mouseClick(dialog.ptzButton("Open Voice"), Qt::LeftButton);
    QTest::mouseClick(dialog.ptzButton("Close Voice"), Qt::LeftButton);
    EXPECT_EQ(camsim::paramBytes(fleet[0].mac, "audio"), (std::vector<std::uint8_t>{0, 50, 50, 0, 0}))
        << "only the switch changes";
    EXPECT_EQ(camsim::paramBytes(fleet[2].mac, "audio").at(0), 0);
    EXPECT_EQ(camsim::paramBytes(fleet[3].mac, "audio").at(0), 1) << "no stream: audio left alone";
    QTest::mouseClick(dialog.ptzButton("Open Voice"), Qt::LeftButton);
    EXPECT_EQ(recordLines(),
              (QStringList{"[-Operation record-]", "Open Voice Success", "Open Voice Fail",
                           "Open Voice Success", "Open Voice Fail", "Close Voice Success", "Close Voice Fail",
                           "Close Voice Success", "Close Voice Fail", "Open Voice Success", "Open Voice Fail",
                           "Open Voice Success", "Open Voice Fail"}));
    EXPECT_EQ(camsim::paramBytes(fleet[0].mac, "audio").at(0), 1);
    EXPECT_EQ(camsim::paramBytes(fleet[2].mac, "audio").at(0), 1);
    // Talk starts with the stream handle, 0 and 17; the audio records go through channel 0.
    const std::set<long long> streams = {dialog.session().playHandle(0), dialog.session().playHandle(2)};
    const std::vector<camsim::CallRecord> talks = camsim::calls("KVX_NET_ClientStartTalk2");
    EXPECT_EQ(talks.size(), 4u) << "two voice openings of the two streaming devices";
    for (const camsim::CallRecord& r : talks) {
        ASSERT_EQ(r.args.size(), 3u);
        EXPECT_EQ(streams.count(r.args[0]), 1u);
        EXPECT_EQ((std::vector<long long>{r.args[1], r.args[2]}), (std::vector<long long>{0, 17}));
    }
    for (const char* function : {"KVX_NET_GetAudioEx", "KVX_NET_SetAudioEx"}) {
        for (const camsim::CallRecord& r : camsim::calls(function)) {
            ASSERT_EQ(r.args.size(), 2u) << function;
            EXPECT_EQ(r.args[1], 0) << function;
        }
    }
    EXPECT_EQ(callsOnUnknownHandles(), std::vector<std::string>{})
        << "no audio or talk call without a stream";

    // Closing with voice on stops the audio and talk of each stream before the stream itself.
    const int streamA = dialog.session().playHandle(0);
    const int streamC = dialog.session().playHandle(2);
    camsim::clearCallLog();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    std::vector<std::string> sequence;
    for (const camsim::CallRecord& r : camsim::callLog()) {
        if (isStreamCall(r.function))
            sequence.push_back(r.function + " " + std::to_string(r.args[0]));
    }
    const std::string a = std::to_string(streamA), c = std::to_string(streamC);
    EXPECT_EQ(sequence,
              (std::vector<std::string>{"KVX_NET_ClientStopAudio " + a, "KVX_NET_ClientStopTalk " + a,
                                        "KVX_NET_ClientStop " + a, "KVX_NET_ClientStopAudio " + c,
                                        "KVX_NET_ClientStopTalk " + c, "KVX_NET_ClientStop " + c}));
    EXPECT_EQ(camsim::sessionCount(), 0);
}

TEST_F(PreviewDialogsTest, ImageTestKeepsItsOwnListAndMovesPastAnEmptyMac) {
    QVector<QStringList> owner = fleetRows(3);
    owner[0][8].clear(); // a row without a MAC is never removed by its owner
    ImageTestDialog dialog;
    QStringList titles;
    QVector<QPair<QString, int>> removed;
    QObject::connect(&dialog, &ImageTestDialog::removeRow, [&](QString mac, int size) {
        removed.append({mac, size});
        titles << dialog.titleLabel->text();
        if (mac.isEmpty())
            return;
        for (int i = 0; i < owner.size(); ++i) {
            if (owner[i].value(8) == mac) {
                owner.remove(i);
                break;
            }
        }
    });
    const QVector<QStringList> shown = owner;
    auto reported = [&](int count) {
        return harness::waitFor([&] { return removed.size() == count; }, 5000);
    };
    dialog.setDeviceList(owner);
    dialog.show();
    EXPECT_TRUE(removed.isEmpty()) << "reported only once it has been on screen";
    ASSERT_TRUE(reported(1)) << "the first device reported";
    EXPECT_FALSE(dialog.nextButton()->isHidden());
    dialog.startPreview();
    dialog.startPreview(); // while the second device starts: no advance
    EXPECT_EQ(countCalls("KVX_NET_Login"), 2);
    ASSERT_TRUE(reported(2)) << "the second device reported";
    EXPECT_FALSE(dialog.nextButton()->isHidden());
    dialog.startPreview();
    EXPECT_TRUE(dialog.nextButton()->isHidden());
    ASSERT_TRUE(reported(3)) << "the third device reported";
    dialog.startPreview(); // nothing left: nothing happens
    EXPECT_EQ(titles, (QStringList{shown[0][1], shown[1][1], shown[2][1]}));
    EXPECT_EQ(removed, (QVector<QPair<QString, int>>{{"", 2}, {shown[1][8], 1}, {shown[2][8], 0}}));
    EXPECT_EQ(countCalls("KVX_NET_Login"), 3);
    EXPECT_EQ(camsim::sessionCount(), 1) << "only the device on screen";
    EXPECT_EQ(dialog.remaining(), 0);
    dialog.stopPreview();

    // An empty list shows nothing and can be closed.
    camsim::clearCallLog();
    ImageTestDialog empty;
    int emitted = 0;
    QObject::connect(&empty, &ImageTestDialog::removeRow, [&] { ++emitted; });
    empty.setDeviceList({});
    empty.startPreview();
    EXPECT_TRUE(empty.nextButton()->isHidden());
    EXPECT_EQ(emitted, 0);
    EXPECT_EQ(countCalls("KVX_NET_Login"), 0);
    empty.stopPreview();
    EXPECT_EQ(countCalls("KVX_NET_Cleanup"), 1);
}

// A double click on the arrow moves on by one device; its second half, on the arrow or (once the
// arrow is gone) on the dialog, neither advances nor closes, and a device counts as shown only
// once it has been on screen.
TEST_F(PreviewDialogsTest, ImageTestDoubleClickOnTheArrowShowsOneDevice) {
    for (int devices : {3, 2}) {
        SCOPED_TRACE(devices);
        camsim::clearCallLog();
        ImageTestDialog dialog;
        QStringList removed;
        QObject::connect(&dialog, &ImageTestDialog::removeRow, [&](QString mac, int) { removed << mac; });
        const QVector<QStringList> rows = fleetRows(devices);
        dialog.setDeviceList(rows);
        dialog.show();
        ASSERT_TRUE(harness::waitFor([&] { return removed.size() == 1; }, 5000)) << "first device";

        QPushButton* next = dialog.nextButton();
        const QPoint arrow = next->geometry().center();
        QTest::mouseClick(next, Qt::LeftButton);
        // The second press of the double click: on the arrow while it is there, else on the
        // dialog beneath it.
        if (next->isVisible())
            QTest::mouseDClick(next, Qt::LeftButton);
        else
            QTest::mouseDClick(&dialog, Qt::LeftButton, Qt::NoModifier, arrow);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.titleLabel->text(), rows[1][1]);
        EXPECT_EQ(countCalls("KVX_NET_Login"), 2);
        EXPECT_EQ(removed, QStringList{rows[0][8]}) << "the second device is not yet done";
        ASSERT_TRUE(harness::waitFor([&] { return removed.size() == 2; }, 5000)) << "second device";
        EXPECT_EQ(removed.last(), rows[1][8]);
        EXPECT_EQ(dialog.remaining(), devices - 2);

        // Closing while the next device starts leaves it unreported.
        if (devices == 3) {
            next->click();
            EXPECT_EQ(dialog.titleLabel->text(), rows[2][1]);
            dialog.stopPreview();
            EXPECT_FALSE(dialog.starting()) << "nothing left to report";
            QCoreApplication::processEvents();
            EXPECT_EQ(removed.size(), 2);
        }
    }
}

// With the skin's style sheet, as in the program, the single preview's logo and address sit at
// the left of its title bar, one after the other; so do those of the other frames.
TEST_F(PreviewDialogsTest, SinglePreviewTitleSitsAtTheLeft) {
    QFile skin(qEnvironmentVariable("CORVANE_SOURCE_DIR") + "/skin/client/default/MainFrame/main.qss");
    ASSERT_TRUE(skin.open(QIODevice::ReadOnly));
    const QString before = qApp->styleSheet();
    qApp->setStyleSheet(QString::fromUtf8(skin.readAll()));
    {
        QWidget owner;
        PlayDialog dialog(&owner);
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.titleLabel->setText("127.0.0.11");
        dialog.show();
        dialog.titleLogoLabel->parentWidget()->layout()->activate();
        const QRect logo = dialog.titleLogoLabel->geometry();
        const QRect address = dialog.titleLabel->geometry();
        EXPECT_EQ(logo.x(), 0);
        EXPECT_LE(logo.width(), 40) << "the skin's 22-pixel logo with its margins";
        EXPECT_EQ(address.x(), logo.right() + 1);
        EXPECT_EQ(dialog.titleLogoLabel->parentWidget()->geometry(), QRect(0, 0, 534, 30));
        // The other frames alike.
        SetOsdDialog osd(&owner);
        osd.show();
        osd.titleLogoLabel->parentWidget()->layout()->activate();
        EXPECT_LE(osd.titleLogoLabel->width(), 40);
        EXPECT_EQ(osd.titleLabel->x(), osd.titleLogoLabel->geometry().right() + 1);
    }
    qApp->setStyleSheet(before);
}

TEST_F(PreviewDialogsTest, SinglePreviewSetsItsWindowOnlyOnARunningStream) {
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    camsim::inject({fleet[0].mac, "KVX_NET_ClientStart", true});
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        camsim::clearCallLog();
        auto* dialog = new PlayDialog;
        dialog->playDevice(rowOf(fleet[static_cast<std::size_t>(i)]));
        const auto setWnd = camsim::calls("KVX_NET_ClientSetWnd");
        if (i == 0) {
            EXPECT_TRUE(setWnd.empty());
        } else {
            ASSERT_EQ(setWnd.size(), 1u);
            EXPECT_EQ(setWnd[0].args,
                      (std::vector<long long>{dialog->session().playHandle(0),
                                              static_cast<long long>(static_cast<std::uint32_t>(
                                                  dialog->videoWidget()->winId()))}));
        }
        QPointer<PlayDialog> guard(dialog);
        dialog->closeButton->click(); // accepts; deleted on close
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(guard.isNull());
        EXPECT_EQ(camsim::sessionCount(), 0);
        EXPECT_EQ(countCalls("KVX_NET_Cleanup"), 1);
    }
}

} // namespace
