// The audio and GPIO tests of the main window, driven through their (hidden) buttons against the
// fake fixture and the simulated fleet: results, unknown devices, completion, the time limit,
// the fixture going away and coming back, and a late answer of an earlier test.
#include "CShowtableviewEx.h"
#include "Cmodifyresultmodel.h"
#include "Cmodifytableview.h"
#include "CmodifyresultmodelEx.h"
#include "MainFrame.h"
#include "NetInfoBatch.h"
#include "FleetTest.h"
#include "ProgressBarDialog.h"
#include "ShowResultDialog.h"
#include "SearchLogin.h"
#include "ShowResultDlgEx.h"

#include "FixtureSim.h"
#include "camsim/SimControl.h"
#include "harness/LogCapture.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"
#include "winport/WinPort.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>

class MainFrameTestAccess {
public:
    static auto& rebootList(MainFrame& frame) { return frame._rebootList; }
    static NetInfoBatch& netBatch(MainFrame& frame) { return *frame._netBatch; }
    static std::mutex& pendingMutex(MainFrame& frame) { return frame._pendingMutex; }
    // Puts the fixture timer's start elapsedMs of program time back and runs one GPIO sweep.
    static void sweepGpioAfter(MainFrame& frame, std::int64_t elapsedMs, int count) {
        frame._ftTimerStartMs.store(static_cast<std::int64_t>(GetTickCount64()) - elapsedMs);
        frame.checkGpioTimeout(count);
    }
};

namespace {

using frametest::button;

using Access = MainFrameTestAccess;

// Debug lines from any thread (the fixture events arrive on the library's threads).
std::mutex g_debugMutex;
QStringList g_debugLines;

void captureDebug(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg)
        return;
    std::lock_guard<std::mutex> lock(g_debugMutex);
    g_debugLines << text;
}

// A list of its own: a shared copy, released after the lock, would race with the next append's
// growth of the list (the list's sharing count is not a lock).
QStringList debugLines() {
    std::lock_guard<std::mutex> lock(g_debugMutex);
    QStringList copy;
    copy.reserve(g_debugLines.size());
    for (const QString& line : g_debugLines)
        copy << line;
    return copy;
}

// What one result dialog showed.
struct Shown {
    QString className;
    QStringList headers;
    QList<QStringList> rows;
    QString devices;
    QString failed;
};

template <typename Model> QStringList headersOf(const Model* model) {
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c)
        headers << model->headerData(c, Qt::Horizontal).toString();
    return headers;
}

template <typename View> QList<QStringList> rowsOf(const View* view, int columns) {
    QList<QStringList> rows;
    for (int r = 0; r < view->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row << view->getData(r, c).toString();
        rows << row;
    }
    return rows;
}

// The program time at which the first busy indicator was shown.
class ShowClock : public QObject {
public:
    std::int64_t at = -1;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (at < 0 && event->type() == QEvent::Show && qobject_cast<ProgressBarDialog*>(watched))
            at = static_cast<std::int64_t>(GetTickCount64());
        return false;
    }
};

class FixtureTests : public mwtest::FleetTest {
protected:
    void SetUp() override {
        mwtest::FleetTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(sim.start());
        qputenv("CORVANE_FIXTURE_PORT", QByteArray::number(sim.port()));
        {
            std::lock_guard<std::mutex> lock(g_debugMutex);
            g_debugLines.clear();
        }
        previousHandler = qInstallMessageHandler(captureDebug);
        closer().setDecider([this](QWidget* widget) { return decide(widget); });
    }
    void TearDown() override {
        qInstallMessageHandler(previousHandler);
        sim.stop();
        qputenv("CORVANE_FIXTURE_PORT", "1");
        mwtest::FleetTest::TearDown();
    }

    // The busy indicator stays until the test closes it; result tables are read, then closed.
    // With openDetail, the GPIO table's row openDetail-1 is double-clicked once first.
    harness::ModalCloser::Action decide(QWidget* widget) {
        using Action = harness::ModalCloser::Action;
        if (auto* progress = qobject_cast<ProgressBarDialog*>(widget)) {
            if (progressSeenAt < 0) {
                progressSeenAt = static_cast<std::int64_t>(GetTickCount64());
                progressSeenReal = std::chrono::steady_clock::now();
                progressTitles << progress->titleLabel->text();
            }
            return Action::Leave;
        }
        if (auto* table = qobject_cast<ShowResultDlgEx*>(widget)) {
            if (openDetail > 0) {
                const int row = openDetail - 1;
                openDetail = 0;
                QTimer::singleShot(0, table, [table, row] {
                    CShowtableviewEx* view = table->table();
                    const QPoint at = view->visualRect(view->resultModel()->index(row, 0)).center();
                    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
                });
                return Action::Leave;
            }
            shown.push_back({"ShowResultDlgEx", headersOf(table->table()->resultModel()),
                             rowsOf(table->table(), 2), table->deviceCountText(), table->failedCountText()});
            return Action::Reject;
        }
        if (auto* table = qobject_cast<ShowResultDialog*>(widget)) {
            const QStringList headers = headersOf(table->table()->resultModel());
            shown.push_back({"ShowResultDialog", headers, rowsOf(table->table(), headers.size()),
                             table->deviceCountText(), table->failedCountText()});
            return Action::Reject;
        }
        return Action::Reject;
    }

    // Runs a test through its button; returns the program time from the showing of its busy
    // indicator (taken from the show event, not from the closer's later look, which a busy machine
    // delays) to its end; -1 when it did not run.
    std::int64_t run(MainFrame& frame, const QString& caption) {
        QPushButton* start = button(frame, caption);
        EXPECT_NE(start, nullptr);
        EXPECT_FALSE(start->isVisible()) << "the detection row stays hidden";
        std::int64_t endedAt = -1;
        endedReal = {};
        const QMetaObject::Connection c =
            QObject::connect(&frame, &MainFrame::modifyParamEnd, [&endedAt, this](int) {
                endedAt = static_cast<std::int64_t>(GetTickCount64());
                endedReal = std::chrono::steady_clock::now();
            });
        progressSeenAt = -1;
        ShowClock shown;
        qApp->installEventFilter(&shown);
        start->click(); // returns when the test's result table has been closed
        qApp->removeEventFilter(&shown);
        QObject::disconnect(c);
        return endedAt < 0 || progressSeenAt < 0 || shown.at < 0 ? -1 : endedAt - shown.at;
    }

    QString rowStatus(MainFrame& frame, int row) {
        return frame.deviceTable()->getData(row, CTableView::ColStatus).toString();
    }

    FixtureSim sim;
    QtMessageHandler previousHandler = nullptr;
    QStringList progressTitles;
    std::int64_t progressSeenAt = -1;
    std::chrono::steady_clock::time_point progressSeenReal;
    std::chrono::steady_clock::time_point endedReal; // when the last run ended

    // Real time from the fixture's last question to the end of the last run. A run that waits for
    // its limit once every row is answered ends seconds after it; a busy machine may slow the
    // questions themselves, which this does not count.
    std::int64_t msFromLastQuestionToEnd() const {
        std::uint64_t last = 0;
        for (const FixtureSim::Request& r : sim.requests())
            last = r.cmd == "test_result" ? std::max(last, r.atMs) : last;
        const auto ended =
            std::chrono::duration_cast<std::chrono::milliseconds>(endedReal.time_since_epoch());
        return last == 0 || endedReal == std::chrono::steady_clock::time_point{}
                   ? -1
                   : static_cast<std::int64_t>(ended.count()) - static_cast<std::int64_t>(last);
    }
    std::vector<Shown> shown;
    int openDetail = 0;
};

// One failing item between passing ones: the device is "NG" whichever item fails.
const char* const kNgResult = R"({"audio":"NG","gpio":[{"name":"GPIO1","function":"IR-CUT","status":"OK"},)"
                              R"({"name":"GPIO2","function":"LED","status":"NG"},)"
                              R"({"name":"GPIO3","function":"ALARM","status":"OK"}]})";
const char* const kNoItemsResult = R"({"audio":"OK","gpio":[]})";
// A status is OK only when the whole text is "OK".
const char* const kZeroByteResult = R"({"audio":"OK\u0000NG","gpio":[{"name":"G1","status":"OK\u0000NG"}]})";

TEST_F(FixtureTests, ResultsOfEveryRowUnknownDevicesAndTheDetailView) {
    camsim::useFleet(camsim::defaultFleet(6));
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    sim.setResult(fleet[1].mac, kNgResult);
    sim.setResult(fleet[5].mac, kZeroByteResult);
    // More items than a record holds (128 are shown; the ones past them fail, and the first of
    // those takes the last place), and an over-long audio text.
    std::string many = R"({"audio":"ABCDEFGHIJKLMNOPQRSTUVWXYZ","gpio":[)";
    for (int i = 0; i < 130; ++i)
        many += std::string(i ? "," : "") + R"({"name":"G)" + std::to_string(i) +
                R"(","function":"F","status":")" + (i < 128 ? "OK" : "NG") + "\"}";
    sim.setResult(fleet[4].mac, many + "]}");
    sim.setResult(fleet[2].mac, kNoItemsResult);
    sim.setUnknown(FixtureSim::Unknown::NoMac); // answers, but not for this device
    sim.setResult(fleet[0].mac, FixtureSim::passResult(fleet[0].mac));
    // A row answers well after the others, but within the limit.
    sim.setMacDelayMs(fleet[2].mac, 250);

    MainFrame frame;
    ASSERT_TRUE(frametest::searchAndCheck(frame, 6));
    ASSERT_TRUE(FixtureSim::waitFor([&] { return sim.clients() == 1; }, 5000));
    EXPECT_NE(frame.fixtureHandle(), 0u);

    sim.clearRequests();
    const std::int64_t audioMs = run(frame, "Audio Detection");
    EXPECT_GE(audioMs, 0);
    // The limit of six rows is 120 s; a run that waits for it ends at 120 s from the timer's
    // start, seconds after the last row's answer.
    EXPECT_GE(msFromLastQuestionToEnd(), 0);
    EXPECT_LT(msFromLastQuestionToEnd(), 2000) << "ends when every row is done, before the limit";
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].className, "ShowResultDialog");
    EXPECT_EQ(shown[0].headers, (QStringList{"IP", "Audio"}));
    const QString ip0 = QString::fromStdString(fleet[0].ip), ip1 = QString::fromStdString(fleet[1].ip),
                  ip2 = QString::fromStdString(fleet[2].ip), ip3 = QString::fromStdString(fleet[3].ip),
                  ip4 = QString::fromStdString(fleet[4].ip), ip5 = QString::fromStdString(fleet[5].ip);
    ASSERT_EQ(shown[0].rows.size(), 6);
    EXPECT_EQ(shown[0].rows.mid(0, 5),
              (QList<QStringList>{
                  {ip0, "OK"}, {ip1, "NG"}, {ip2, "OK"}, {ip3, "NOGET"}, {ip4, "ABCDEFGHIJKLMNO"}}));
    EXPECT_EQ(shown[0].rows.at(5).value(0), ip5);
    EXPECT_NE(shown[0].rows.at(5).value(1), "OK") << "\"OK\\u0000NG\" is not OK";
    EXPECT_TRUE(shown[0].rows.at(5).value(1).startsWith("OK")) << "what came is shown";
    EXPECT_EQ(shown[0].devices, "6");
    EXPECT_EQ(shown[0].failed, "4");
    std::vector<FixturePendingInfo> records = frame.fixtureRecords();
    ASSERT_EQ(records.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(records[i].kind, 1);
        EXPECT_EQ(records[i].status, i == 3 ? 6 : 5) << i;
        EXPECT_STREQ(records[i].mac, fleet[i].mac.c_str());
    }

    openDetail = 2; // the NG device's items
    sim.clearRequests();
    run(frame, "GPIO Detection");
    EXPECT_GE(msFromLastQuestionToEnd(), 0);
    EXPECT_LT(msFromLastQuestionToEnd(), 2000);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1].headers, (QStringList{"Interface", "Features", "Test Result"}));
    EXPECT_EQ(
        shown[1].rows,
        (QList<QStringList>{{"GPIO1", "IR-CUT", "OK"}, {"GPIO2", "LED", "NG"}, {"GPIO3", "ALARM", "OK"}}));
    EXPECT_EQ(shown[2].className, "ShowResultDlgEx");
    EXPECT_EQ(shown[2].headers, (QStringList{"IP", "GPIO Port"}));
    // No items is not OK, nor a status with a zero byte inside, nor items that fail past the
    // 128 a record holds.
    EXPECT_EQ(shown[2].rows,
              (QList<QStringList>{
                  {ip0, "OK"}, {ip1, "NG"}, {ip2, "NG"}, {ip3, "NOGET"}, {ip4, "NG"}, {ip5, "NG"}}));
    EXPECT_EQ(shown[2].failed, "5");
    records = frame.fixtureRecords();
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[4].gpioCount, 128) << "128 items are shown";
    EXPECT_STREQ(records[4].gpio[126].name, "G126");
    EXPECT_STREQ(records[4].gpio[127].name, "G128") << "the first failing item past them";
    EXPECT_STREQ(records[4].gpio[127].status, "NG");
    EXPECT_EQ(records[0].gpioCount, 4);
    EXPECT_EQ(records[2].gpioCount, 0);
    EXPECT_EQ(records[3].gpioCount, 0);
    EXPECT_EQ(progressTitles, (QStringList{"Audio Detecting....", "GPIO Detecting...."}));
}

// A GPIO result is OK only with at least one item, each with a name and the status "OK" (the
// whole text), also when more came than the 128 a record shows. Anything else is NG, and the
// detail view shows the items that came, the failing one included.
TEST_F(FixtureTests, GpioIsOkOnlyForWellFormedItemsThatAreAllOk) {
    // n items named G0.., all OK but the last one when lastNg and those in ng; item nameless has
    // no name.
    const auto items = [](int n, bool lastNg, int nameless = -1, std::vector<int> ng = {}) {
        std::string list;
        for (int i = 0; i < n; ++i) {
            const bool failing = (lastNg && i == n - 1) || std::find(ng.begin(), ng.end(), i) != ng.end();
            list += std::string(i ? "," : "") + R"({"name":")" +
                    (i == nameless ? "" : "G" + std::to_string(i)) + R"(","status":")" +
                    (failing ? "NG" : "OK") + "\"}";
        }
        return R"({"gpio":[)" + list + "]}";
    };
    struct Case {
        const char* what;
        std::string json;
        const char* result;
        int shownItems;
    };
    const std::vector<Case> cases = {
        {"two items OK",
         R"({"gpio":[{"name":"G1","function":"LED","status":"OK"},{"name":"G2","status":"OK"}]})", "OK", 2},
        {"128 items OK", items(128, false), "OK", 128},
        {"128 items, the last NG", items(128, true), "NG", 128},
        {"129 items OK", items(129, false), "OK", 128},
        {"129 items, the last NG", items(129, true), "NG", 128},
        {"300 items OK", items(300, false), "OK", 128},
        {"300 items, the last NG", items(300, true), "NG", 128},
        {"no gpio key", R"({"audio":"OK"})", "NG", 0},
        {"empty list", R"({"gpio":[]})", "NG", 0},
        {"a text", R"({"gpio":"NG"})", "NG", 0},
        {"an object", R"({"gpio":{"name":"G1","status":"OK"}})", "NG", 0},
        {"items of other types", R"({"gpio":[5,"OK",null]})", "NG", 3},
        {"NG item without a name", R"({"gpio":[{"name":"G1","status":"OK"},{"name":"","status":"NG"}]})",
         "NG", 2},
        {"numeric name", R"({"gpio":[{"name":5,"status":"OK"}]})", "NG", 1},
        {"numeric status", R"({"gpio":[{"name":"G1","status":0}]})", "NG", 1},
        {"status in other case", R"({"gpio":[{"name":"G1","status":"ok"}]})", "NG", 1},
        {"status with a zero byte inside", R"({"gpio":[{"name":"G1","status":"OK\u0000NG"}]})", "NG", 1},
        {"status OK and a zero byte", R"({"gpio":[{"name":"G1","status":"OK\u0000"}]})", "NG", 1},
        {"name of a zero byte only", R"({"gpio":[{"name":"\u0000","status":"OK"}]})", "NG", 1},
        {"an OK item without a name", R"({"gpio":[{"name":"G1","status":"OK"},{"name":"","status":"OK"}]})",
         "NG", 2},
        {"129 items, the last OK without a name", items(129, false, 128), "NG", 128},
        {"300 items, NG at 5 and at 200", items(300, false, -1, {5, 200}), "NG", 128},
    };
    const int detailRow = 4; // 129 items, the last NG
    camsim::useFleet(camsim::defaultFleet(static_cast<int>(cases.size())));
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    for (std::size_t i = 0; i < cases.size(); ++i)
        sim.setResult(fleet[i].mac, cases[i].json);
    MainFrame frame;
    ASSERT_TRUE(frametest::searchAndCheck(frame, static_cast<int>(cases.size())));
    ASSERT_TRUE(FixtureSim::waitFor([&] { return sim.clients() == 1; }, 5000));
    openDetail = detailRow + 1;
    run(frame, "GPIO Detection");
    ASSERT_EQ(shown.size(), 2u);
    const std::vector<FixturePendingInfo> records = frame.fixtureRecords();
    ASSERT_EQ(records.size(), cases.size());
    int failed = 0;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EXPECT_EQ(records[i].status, 5);
        EXPECT_STREQ(records[i].result, cases[i].result);
        EXPECT_EQ(shown[1].rows.value(static_cast<int>(i)).value(1), cases[i].result);
        EXPECT_EQ(records[i].gpioCount, cases[i].shownItems);
        failed += std::strcmp(cases[i].result, "OK") != 0;
    }
    EXPECT_EQ(shown[1].failed, QString::number(failed));
    // The NG item past the 128 shown is there to be seen, in the last line of the detail view.
    ASSERT_EQ(shown[0].rows.size(), 128);
    EXPECT_EQ(shown[0].rows.value(126).value(0), "G126");
    EXPECT_EQ(shown[0].rows.value(127).value(0), "G128");
    EXPECT_EQ(shown[0].rows.value(127).value(2), "NG");
    EXPECT_STREQ(records[6].gpio[127].name, "G299");
    EXPECT_STREQ(records[6].gpio[127].status, "NG");
    // The nameless items are there to be seen: among the kept ones, and past them in the last entry.
    EXPECT_STREQ(records[12].gpio[1].name, "");
    EXPECT_STREQ(records[12].gpio[1].status, "NG");
    EXPECT_STREQ(records[19].gpio[1].name, "");
    EXPECT_STREQ(records[20].gpio[127].name, "");
    EXPECT_STREQ(records[20].gpio[127].status, "OK");
    // A failure among the kept entries: they stay as they came.
    EXPECT_STREQ(records[21].gpio[5].status, "NG");
    EXPECT_STREQ(records[21].gpio[127].name, "G127");
}

TEST_F(FixtureTests, TimeLimitIsTwentyFiveSecondsPerRowUpToTwoMinutes) {
    sim.setUnknown(FixtureSim::Unknown::Silent); // no answer: each request waits out its 10 s
    MainFrame frame;
    struct Case {
        int rows;
        std::int64_t limitMs;
    } cases[] = {{1, 25000}, {3, 75000}, {8, 120000}};
    bool searched = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        if (!searched) {
            ASSERT_TRUE(frametest::searchAndCheck(frame, 8));
            searched = true;
        }
        for (int row = 0; row < 8; ++row)
            frame.deviceTable()->setRowChecked(row, row < c.rows);
        ASSERT_EQ(frame.checkedRows().size(), c.rows);
        shown.clear();
        const std::int64_t elapsed = run(frame, "GPIO Detection");
        EXPECT_GE(elapsed, c.limitMs - 1000);
        EXPECT_LT(elapsed, c.limitMs + 15000);
        const std::vector<FixturePendingInfo> records = frame.fixtureRecords();
        ASSERT_EQ(records.size(), static_cast<std::size_t>(c.rows)) << "one record per row from the start";
        int timedOut = 0;
        for (int i = 0; i < c.rows; ++i) {
            EXPECT_TRUE(records[i].status == 6 || records[i].status == 7) << records[i].status;
            if (records[i].status == 7) {
                ++timedOut;
                EXPECT_EQ(rowStatus(frame, i), "Get GPIO State Timeout");
            }
        }
        EXPECT_GE(timedOut, 1) << "rows still waiting at the limit are timed out";
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].rows.size(), c.rows);
    }
}

// The limit is exactly 25 s per row (120 s at most): a sweep just before it leaves the waiting
// rows waiting, a sweep at it times them out and ends the test. The sweeps are run by hand with
// the fixture timer stopped, so the program's pace does not matter.
TEST_F(FixtureTests, SweepTimesOutAtExactlyTwentyFiveSecondsPerRow) {
    sim.setUnknown(FixtureSim::Unknown::Silent); // rows stay waiting while the requests wait
    MainFrame frame;
    ASSERT_TRUE(frametest::searchAndCheck(frame, 8));
    const struct {
        int rows;
        std::int64_t limitMs;
    } cases[] = {{1, 25000}, {3, 75000}, {5, 120000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        for (int row = 0; row < 8; ++row)
            frame.deviceTable()->setRowChecked(row, row < c.rows);
        std::vector<int> before, after;
        bool ended = false;
        const QMetaObject::Connection end =
            QObject::connect(&frame, &MainFrame::modifyParamEnd, [&](int) { ended = true; });
        closer().setDecider([&](QWidget* widget) {
            if (qobject_cast<ProgressBarDialog*>(widget)) {
                if (!before.empty() || !frame.checkFtTimer())
                    return harness::ModalCloser::Action::Leave;
                frame.checkFtTimer()->stop();
                before.push_back(-1); // taken
                // Outside the closer's poll: the end opens the result table, which it closes.
                QTimer::singleShot(0, &frame, [&] {
                    auto statuses = [&] {
                        std::vector<int> out;
                        for (const FixturePendingInfo& r : frame.fixtureRecords())
                            out.push_back(r.status);
                        return out;
                    };
                    Access::sweepGpioAfter(frame, c.limitMs - 1000, c.rows);
                    before = statuses();
                    EXPECT_FALSE(ended) << "a second before the limit";
                    Access::sweepGpioAfter(frame, c.limitMs, c.rows);
                    after = statuses();
                    EXPECT_TRUE(ended) << "at the limit";
                    if (!ended)
                        Access::sweepGpioAfter(frame, 1000000, c.rows); // end it all the same
                });
                return harness::ModalCloser::Action::Leave;
            }
            return harness::ModalCloser::Action::Reject; // the result table
        });
        button(frame, "GPIO Detection")->click();
        QObject::disconnect(end);
        closer().setDecider([this](QWidget* widget) { return decide(widget); }); // no dangling captures
        EXPECT_EQ(before, std::vector<int>(static_cast<std::size_t>(c.rows), 4)) << "still waiting";
        EXPECT_EQ(after, std::vector<int>(static_cast<std::size_t>(c.rows), 7)) << "timed out";
    }
}

// A test's start empties the reboot/recovery and net-info pending lists, whose sweep would
// otherwise take them for its own.
TEST_F(FixtureTests, TestStartEmptiesTheOtherPendingLists) {
    MainFrame frame;
    ASSERT_TRUE(frametest::searchAndCheck(frame, 1));
    {
        std::lock_guard<std::mutex> lock(Access::pendingMutex(frame));
        Access::rebootList(frame).push_back(DeviceResultInfo{});
    }
    Access::netBatch(frame).add(NetInfoResultInfo{});
    std::size_t reboot = 99, netInfo = 99;
    closer().setDecider([&](QWidget* widget) {
        if (qobject_cast<ProgressBarDialog*>(widget) && reboot == 99) {
            netInfo = Access::netBatch(frame).records().size();
            std::lock_guard<std::mutex> lock(Access::pendingMutex(frame));
            reboot = Access::rebootList(frame).size();
        }
        return decide(widget);
    });
    run(frame, "Audio Detection");
    closer().setDecider([this](QWidget* widget) { return decide(widget); }); // no dangling captures
    EXPECT_EQ(reboot, 0u);
    EXPECT_EQ(netInfo, 0u);
}

TEST_F(FixtureTests, FixtureDownAtStartUpLostMidTestAndBack) {
    camsim::useFleet(camsim::defaultFleet(2));
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    const std::uint16_t port = sim.port();
    sim.stop();
    MainFrame frame;
    EXPECT_NE(frame.fixtureHandle(), 0u) << "the session exists; its connection comes later";

    // Nothing checked: the warning, no test.
    EXPECT_EQ(run(frame, "Audio Detection"), -1);
    EXPECT_EQ(modalTexts(), QStringList{"Please select the device first!"});

    ASSERT_TRUE(frametest::searchAndCheck(frame, 2));
    const std::int64_t downMs = run(frame, "Audio Detection");
    EXPECT_GE(downMs, 0);
    EXPECT_LT(downMs, 40000) << "a fixture that is down answers every row at once";
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rows.value(0).value(1), "NOGET");
    EXPECT_EQ(shown[0].rows.value(1).value(1), "NOGET");

    ASSERT_TRUE(sim.start(port));
    ASSERT_TRUE(FixtureSim::waitFor([&] { return sim.clients() == 1; }, 5000));
    ASSERT_TRUE(harness::waitFor([] { return debugLines().contains("1"); }, 5000));
    EXPECT_TRUE(debugLines().contains("6")) << debugLines().join(",").toStdString();

    // Lost while the second row's answer is on its way.
    sim.setMacDelayMs(fleet[1].mac, 500);
    QTimer::singleShot(200, [this] {
        sim.setRefusing(true);
        sim.closeClients();
    });
    shown.clear();
    const std::int64_t lostMs = run(frame, "GPIO Detection");
    EXPECT_LT(lostMs, 40000);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rows.value(0).value(1), "OK");
    EXPECT_EQ(shown[0].rows.value(1).value(1), "NOGET");

    const int connectedBefore = static_cast<int>(debugLines().count("1"));
    sim.setMacDelayMs(fleet[1].mac, 0);
    sim.setRefusing(false);
    ASSERT_TRUE(harness::waitFor([&] { return debugLines().count("1") > connectedBefore; }, 5000));
    // The second row's question is still open: the fixture may yet send the answer it owes on the
    // new link, so the row is not asked again meanwhile.
    const int asked = sim.count("test_result");
    shown.clear();
    run(frame, "GPIO Detection");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rows.value(0).value(1), "OK");
    EXPECT_NE(shown[0].rows.value(1).value(1), "OK");
    EXPECT_EQ(sim.count("test_result"), asked + 1) << "only the first row was asked";
    // The owed answer comes on the new link: it closes the question and decides nothing.
    harness::LogCapture dropped;
    sim.sendFrame(1, FixtureSim::passResult(fleet[1].mac));
    ASSERT_TRUE(harness::waitFor(
        [&] {
            return dropped.contains("CLoginAccess::ProcessCMD", "answer to an earlier question, dropped");
        },
        5000));
    shown.clear();
    run(frame, "GPIO Detection");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rows.value(0).value(1), "OK");
    EXPECT_EQ(shown[0].rows.value(1).value(1), "OK");

    // After shut-down no session can be made: the test refuses at once, without a busy indicator.
    frame.uninitModules();
    EXPECT_EQ(frame.fixtureHandle(), 0u);
    harness::LogCapture log;
    progressTitles.clear();
    EXPECT_EQ(run(frame, "GPIO Detection"), -1);
    EXPECT_TRUE(progressTitles.isEmpty());
    EXPECT_TRUE(log.contains("MainFrame::onGPIOPortDetection", "PTQ_FT_Login failed _fixTureLogin:0"));
}

TEST_F(FixtureTests, ALateAnswerOfAnEarlierTestGoesNowhere) {
    camsim::useFleet(camsim::defaultFleet(1));
    const std::string mac = camsim::fleet().at(0).mac;
    sim.setResult(mac, R"({"audio":"LATE"})");
    sim.setMacDelayMs(mac, 1600); // after the 25 s limit (1.25 s), within the request wait (2 s)
    MainFrame frame;
    ASSERT_TRUE(frametest::searchAndCheck(frame, 1));
    ASSERT_TRUE(FixtureSim::waitFor([&] { return sim.clients() == 1; }, 5000));

    run(frame, "Audio Detection");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rows, (QList<QStringList>{{QString::fromStdString(camsim::fleet().at(0).ip), ""}}));
    EXPECT_EQ(rowStatus(frame, 0), "Get Audio State Timeout");
    // The answer arrives while the reader still waits for it; the ended test keeps its record.
    ASSERT_TRUE(FixtureSim::waitFor([&] { return sim.count("test_result") == 1; }, 1000));
    QTest::qWait(1500);
    std::vector<FixturePendingInfo> records = frame.fixtureRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].status, 7);
    EXPECT_STREQ(records[0].audio, "");

    // The next test, of the other kind, sees only its own answer.
    sim.setMacDelayMs(mac, 0);
    sim.setResult(mac, FixtureSim::passResult(mac));
    shown.clear();
    run(frame, "GPIO Detection");
    records = frame.fixtureRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].kind, 0);
    EXPECT_EQ(records[0].status, 5);
    EXPECT_STREQ(records[0].result, "OK");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rows.value(0).value(1), "OK");
}

// A test started while the reader of an earlier one still waits for the fixture's answer starts at
// once and takes its own answer, not the earlier one's late one; the shut-down does not wait for
// a reader's request either.
TEST_F(FixtureTests, ANewTestNeitherWaitsForNorTakesAnEarlierAnswer) {
    camsim::useFleet(camsim::defaultFleet(4));
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    const std::string mac = fleet[0].mac;
    const char* const okResult = R"({"gpio":[{"name":"GPIO1","function":"LED","status":"OK"}]})";
    // After the first test's limit (1.25 s) and its request's wait (2 s).
    sim.setResult(mac, okResult);
    sim.setMacDelayMs(mac, 2600);
    MainFrame frame;
    ASSERT_TRUE(frametest::searchAndCheck(frame, 1));
    ASSERT_TRUE(FixtureSim::waitFor([&] { return sim.clients() == 1; }, 5000));
    run(frame, "GPIO Detection");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(frame.fixtureRecords().at(0).status, 7);

    // The fixture's answer now is NG; its late OK to the first test is still on its way.
    sim.setMacDelayMs(mac, 0);
    sim.setResult(mac, kNgResult);
    for (int row = 0; row < 4; ++row)
        frame.deviceTable()->setRowChecked(row, true);
    shown.clear();
    progressSeenReal = {};
    const auto clicked = std::chrono::steady_clock::now();
    run(frame, "GPIO Detection");
    ASSERT_NE(progressSeenReal, std::chrono::steady_clock::time_point{});
    EXPECT_LT(progressSeenReal - clicked, std::chrono::milliseconds(400))
        << "the busy indicator does not wait for the earlier reader";
    ASSERT_EQ(shown.size(), 1u);
    const std::vector<FixturePendingInfo> records = frame.fixtureRecords();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].status, 5);
    EXPECT_STREQ(records[0].result, "NG") << "the earlier test's late OK answers nothing";
    EXPECT_EQ(shown[0].rows.value(0).value(1), "NG");

    // No answer at all: the test ends at its limit while the reader still waits; the shut-down
    // wakes it instead of waiting out its request.
    sim.clearResults();
    sim.setUnknown(FixtureSim::Unknown::Silent);
    for (int row = 1; row < 4; ++row)
        frame.deviceTable()->setRowChecked(row, false);
    shown.clear();
    run(frame, "GPIO Detection");
    EXPECT_EQ(frame.fixtureRecords().at(0).status, 7);
    const auto closing = std::chrono::steady_clock::now();
    frame.uninitModules();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::milliseconds(500));
    EXPECT_EQ(frame.fixtureHandle(), 0u);
}

// A fixture that measures each request as it comes and answers out of order: its first answer (an
// OK) comes 1.6 request waits late, its later ones (NG) after half a wait. GPIO three times on one
// row: the first run gets nothing, the next two their own NG; the late OK never decides a run.
// Run at the tests' time scale (Corvane's and Tremix's alike) and once at real time.
class FixtureOrder : public FixtureTests {};

TEST_F(FixtureOrder, ThreeGpioRunsOnOneRowNeverTakeALateOk) {
    const double scale = winport::timeScale();
    const int waitMs = static_cast<int>(10000 * scale);
    const int trials = scale >= 1 ? 1 : 50;
    camsim::useFleet(camsim::defaultFleet(1));
    const std::string mac = camsim::fleet().at(0).mac;
    sim.setUnknown(FixtureSim::Unknown::Silent);
    MainFrame frame;
    ASSERT_TRUE(frametest::searchAndCheck(frame, 1));
    ASSERT_TRUE(FixtureSim::waitFor([&] { return sim.clients() == 1; }, 5000));
    const QStringList expected{"NOGET", "NG", "NG"};
    int falseOk = 0;
    for (int trial = 0; trial < trials; ++trial) {
        SCOPED_TRACE(trial);
        const FixtureSim::Answer ng{1, kNgResult, waitMs / 2};
        sim.scriptAnswers(mac, {{{1, FixtureSim::passResult(mac), waitMs * 16 / 10}}, {ng}, {ng}});
        QStringList seen;
        for (int i = 0; i < 3; ++i) {
            shown.clear();
            run(frame, "GPIO Detection");
            ASSERT_EQ(shown.size(), 1u);
            seen << shown[0].rows.value(0).value(1);
        }
        falseOk += static_cast<int>(seen.count("OK"));
        EXPECT_EQ(seen, expected);
    }
    EXPECT_EQ(falseOk, 0);
}

} // namespace
