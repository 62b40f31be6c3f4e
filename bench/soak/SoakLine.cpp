// The line over a large simulated fleet with faults: some cameras drop out during a batch, the
// fixture restarts once, one camera refuses every set. Every batch must end with a result for
// every checked camera; memory and thread count must come back once the window is gone: the
// resident memory (and the heap in use) is printed after every round, and from the second round
// on it must grow by less than 100 kB a round on average.
//   bench_soak_line [cameras] [rounds]
#include "LineBench.h"
#include "LineDriver.h"
#include "MainFrame.h"
#include "SetIPDialog.h"

#include "FixtureSim.h"
#include "camsim/SimControl.h"
#include "harness/QtApp.h"
#include "harness/TestDir.h"
#include "harness/Watchdog.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"
#include "winport/WinPort.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <thread>

namespace {

using benchline::rssKb;
using benchline::statusField;
// Bytes the heap hands out now (what is still referenced), in kB: growth here is held memory,
// growth of RSS alone is the allocator's.
long heapKb() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}
long threads() {
    return statusField("Threads:");
}

void settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    malloc_trim(0);
}

struct Tally {
    int rows = 0;
    int missing = 0; // rows without a result, or checked cameras without a row
    std::map<QString, int> results;
};

// Every checked camera has a row, every result cell holds something.
Tally tally(const std::vector<line::ShownTable>& tables, int expected, const char* what) {
    Tally t;
    if (tables.size() != 1) {
        std::printf("  %-18s %zu tables (expected 1)\n", what, tables.size());
        t.missing = expected;
        return t;
    }
    const line::ShownTable& table = tables[0];
    t.rows = table.rows.size();
    t.missing = std::max(0, expected - t.rows);
    for (const QStringList& row : table.rows) {
        for (int c = 1; c < row.size(); ++c) {
            if (row[c].isEmpty())
                ++t.missing;
            ++t.results[row[c]];
        }
    }
    std::printf("  %-18s rows %d, missing %d:", what, t.rows, t.missing);
    for (const auto& r : t.results)
        std::printf(" [%s] %d", r.first.toUtf8().constData(), r.second);
    std::printf("\n");
    return t;
}

const char* const kSetCalls[] = {"KVX_NET_ModifyNetInfo",
                                 "KVX_NET_SetTimeParam",
                                 "KVX_NET_SetOSD2",
                                 "KVX_NET_Upgrade",
                                 "KVX_NET_SetDDNS2",
                                 "KVX_NET_SetGB28181Params",
                                 "KVX_NET_SetAudioEx",
                                 "KVX_NET_SetSystemRebootExProperty",
                                 "KVX_NET_SetP2P",
                                 "KVX_NET_SetNetPropertyEx",
                                 "KVX_NET_SetCpldData",
                                 "KVX_NET_SetEncodingProperty2",
                                 "KVX_NET_SetEncodingPropertyPro"};

// One round of the line; returns the number of missing results (or -1 on a hang).
int round(int count, FixtureSim& fixture, int roundNo, const QString& package) {
    camsim::resetWorld();
    camsim::useFleet(camsim::defaultFleet(count));
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    const std::string refuser = fleet[count / 2].mac;
    for (const char* call : kSetCalls)
        camsim::inject({refuser, call, true, false, 0, -1});

    QElapsedTimer clock;
    clock.start();
    int missing = 0;
    bool hung = false;
    {
        MainFrame frame;
        line::LineDriver driver(frame, 300000);
        if (!driver.search(count, 120000)) {
            std::printf("  search: %d of %d logged in\n", driver.loggedIn(), count);
            return -1;
        }
        driver.checkAll(true);
        std::printf("round %d: %d cameras logged in after %lld ms\n", roundNo, driver.loggedIn(),
                    static_cast<long long>(clock.elapsed()));

        OZM::_SC_SETIP_DATA_ start{};
        start.mode = 1;
        std::strcpy(start.ip, "127.1.0.10");
        std::strcpy(start.mask, "255.0.0.0");
        std::strcpy(start.gateway, "127.0.0.1");
        ozmParamsMgr()->setIpInfo(&start);
        auto step = [&](const char* what, const std::function<void()>& slot, int expected) {
            QElapsedTimer t;
            t.start();
            const auto tables = driver.run(what, slot);
            const Tally result = tally(tables, expected, what);
            missing += result.missing;
            hung = hung || driver.stuck();
            // Objects a run leaves under the window, or windows it leaves open, add up run after run.
            std::printf("  %-18s %lld ms%s, objects under the window %d, top-level widgets %d\n", "",
                        static_cast<long long>(t.elapsed()), driver.stuck() ? " STUCK" : "",
                        frame.findChildren<QObject*>().size(), QApplication::topLevelWidgets().size());
        };
        step(
            "IP change", [&] { frame.onModifyIP(); }, count);
        harness::waitFor([&] { return driver.loggedIn() >= count - 1; }, 60000);
        step(
            "time sync", [&] { frame.onSyncTime(); }, count);

        // Five families; 5 % of the cameras drop out a moment into the run.
        ParamsMgr* store = ozmParamsMgr();
        OZM::_SC_DDNS_DATA ddns{};
        ddns.enable = 1;
        std::strcpy(ddns.domain, "soak.example");
        store->setDDNSInfo(&ddns);
        OZM::_SC_SETAUDIO_DATA_ audio{1, 1, 1, 70, 80};
        store->setAudioInfo(&audio);
        OZM::_SC_SETOSD_DATA_ osd{};
        osd.showText = 1;
        std::strcpy(osd.text, "Soak");
        store->setOsdInfo(&osd);
        OZM::_SC_SETRESTARTREGULARLY_DATA_ maintain{1, 1, 15, 3, 30, 9, 5};
        store->setMaintainInfo(&maintain);
        OZM::_SC_GB28181_DATA gb{};
        gb.enable = 1;
        std::strcpy(gb.sipServerId, "SOAK");
        store->setGb28181Info(&gb);
        OZM::SC_OTHERPARAMENABLE flags{};
        for (int f :
             {OZM::FamilyDdns, OZM::FamilyGb28181, OZM::FamilyAudio, OZM::FamilyOsd, OZM::FamilyMaintain})
            flags.flag[f] = 1;
        store->setOtherParamEnable(&flags);
        const int drop = std::max(1, count / 20);
        std::thread dropper([&fleet, drop] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            for (int i = 0; i < drop; ++i)
                camsim::setOnline(fleet[static_cast<std::size_t>(i * 20 + 3) % fleet.size()].mac, false);
        });
        step(
            "other parameters", [&] { frame.onModifyOtherParameters(); }, count);
        dropper.join();

        // The fixture restarts during the audio test.
        const std::uint16_t port = fixture.port();
        std::thread restarter([&fixture, port] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            fixture.stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            fixture.start(port);
        });
        step(
            "audio test", [&] { frame.onAudioDetection(); }, count);
        restarter.join();
        FixtureSim::waitFor([&] { return fixture.clients() >= 1; }, 20000);
        step(
            "GPIO test", [&] { frame.onGPIOPortDetection(); }, count);
        step(
            "OSD", [&] { frame.onModifyOSD(); }, count);

        qputenv("CORVANE_OPEN_FILE", package.toUtf8());
        driver.run("Browse", [&] { frame.onSelectFilePath(); });
        step(
            "upgrade", [&] { frame.onUpgrade(); }, count);
        if (!driver.tips().isEmpty())
            std::printf("  message boxes: %s\n", driver.tips().join(" | ").toUtf8().constData());
    }
    std::printf("  round %d: %lld ms\n", roundNo, static_cast<long long>(clock.elapsed()));
    return hung ? -1 : missing;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 256;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
    if (qEnvironmentVariableIsEmpty("TREMIX_TIME_SCALE"))
        qputenv("TREMIX_TIME_SCALE", "0.1");
    harness::TestDir dir;
    if (!benchline::enterLine(dir))
        return 2;
    const QString package = dir.file("firmware.bin");
    {
        QFile file(package);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(4096, 'f'));
    }
    FixtureSim fixture;
    if (!fixture.start()) {
        std::fprintf(stderr, "cannot start the fixture\n");
        return 2;
    }
    dir.setEnv("CORVANE_FIXTURE_PORT", QByteArray::number(fixture.port()));
    camsim::useFleet(camsim::defaultFleet(count));
    {
        // The harness's watchdog thread runs from the first wait on: start it before counting.
        harness::Deadline first("the bench to start", 60000);
    }
    settle(500);
    const long rss0 = rssKb(), threads0 = threads();
    std::printf("start: %d cameras, time scale %s, RSS %ld kB, heap %ld kB, threads %ld\n", count,
                qgetenv("CORVANE_TIME_SCALE").constData(), rss0, heapKb(), threads0);
    int failures = 0;
    long rssLast = rss0;
    long rssRound2 = 0, heapRound2 = 0;
    for (int r = 1; r <= rounds; ++r) {
        const int missing = round(count, fixture, r, package);
        // The fake fixture's own record of requests is the bench's, not the program's.
        fixture.clearRequests();
        settle(3000);
        const long rss = rssKb(), heap = heapKb(), th = threads();
        std::printf("after round %d: missing results %d, RSS %ld kB (%+ld from start, %+ld from the previous "
                    "round; anonymous %ld kB, files %ld kB), heap %ld kB, threads %ld (%+ld)\n",
                    r, missing, rss, rss - rss0, rss - rssLast, statusField("RssAnon:"),
                    statusField("RssFile:"), heap, th, th - threads0);
        rssLast = rss;
        if (r == 2) {
            rssRound2 = rss;
            heapRound2 = heap;
        }
        if (missing != 0)
            ++failures;
        if (th != threads0)
            ++failures;
    }
    // Memory is level after the second round: under 100 kB a round on average from there on.
    if (rounds >= 10) {
        const double rssPerRound = static_cast<double>(rssLast - rssRound2) / (rounds - 2);
        const double heapPerRound = static_cast<double>(heapKb() - heapRound2) / (rounds - 2);
        std::printf("from round 2 to %d: RSS %+.1f kB a round, heap %+.1f kB a round (goal under 100)\n",
                    rounds, rssPerRound, heapPerRound);
        if (rssPerRound >= 100.0)
            ++failures;
    }
    fixture.stop();
    std::printf("%s\n", failures ? "SOAK FAILED" : "SOAK PASSED");
    return failures ? 1 : 0;
}
