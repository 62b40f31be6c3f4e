// The program left running on the simulated line: one window searches the fleet (default 256
// cameras) over and over and runs a batch after each search (time sync and OSD in turn), for a
// number of seconds (default 90). Resident memory is printed every few seconds; the run fails
// when it ends more than 25 MB above where it stood after 10 s.
//   bench_sim_line_memory [cameras] [seconds]
#include "LineDriver.h"
#include "MainFrame.h"
#include "MallocArenas.h"

#include "camsim/SimControl.h"
#include "harness/QtApp.h"
#include "harness/TestDir.h"
#include "harness/Watchdog.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

long rssKb() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

constexpr qint64 kBaselineMs = 10000;
constexpr long kAllowedGrowthKb = 25 * 1024;

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 256;
    const int seconds = argc > 2 ? std::max(11, std::atoi(argv[2])) : 90;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    corvane::capMallocArenas(); // as the program's main() does
    // No fixture: a closed loopback port, never the fixture's own address.
    qputenv("CORVANE_FIXTURE_HOST", "127.0.0.1");
    qputenv("CORVANE_FIXTURE_PORT", "1");
    if (qEnvironmentVariableIsEmpty("CORVANE_TIME_SCALE"))
        qputenv("CORVANE_TIME_SCALE", "0.01");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    harness::qtApp();
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); // as main() does
    harness::TestDir dir;
    if (!dir.enter()) {
        std::fprintf(stderr, "cannot enter a temporary folder\n");
        return 2;
    }
    dir.setEnv("CORVANE_PROGRAM_DIR", dir.path().toUtf8());
    OzmLogic::instance()->init(harness::qtApp());
    ozmParamsMgr()->setSearchTime(5);
    ozmParamsMgr()->setCurrentLanCode("en_US");
    camsim::useFleet(camsim::defaultFleet(count));

    QElapsedTimer clock;
    clock.start();
    long baseline = -1;
    long last = rssKb();
    int searches = 0, batches = 0;
    std::printf("start: %d cameras, %d s, RSS %ld kB\n", count, seconds, last);
    {
        MainFrame frame;
        line::LineDriver driver(frame, 120000);
        qint64 nextPrint = 0;
        while (clock.elapsed() < seconds * 1000LL) {
            if (!driver.search(count, 120000)) {
                std::printf("search %d: %d of %d logged in\n", searches + 1, driver.loggedIn(), count);
                return 1;
            }
            ++searches;
            driver.checkAll(true);
            if (batches % 2 == 0)
                driver.run("time sync", [&] { frame.onSyncTime(); });
            else
                driver.run("OSD", [&] { frame.onModifyOSD(); });
            ++batches;
            if (driver.stuck()) {
                std::printf("batch %d stuck\n", batches);
                return 1;
            }
            last = rssKb();
            if (baseline < 0 && clock.elapsed() >= kBaselineMs) {
                baseline = last;
                std::printf("%6.1f s: baseline RSS %ld kB\n", clock.elapsed() / 1000.0, baseline);
            }
            if (clock.elapsed() >= nextPrint) {
                std::printf("%6.1f s: %d searches, %d batches, RSS %ld kB\n", clock.elapsed() / 1000.0,
                            searches, batches, last);
                nextPrint = clock.elapsed() + 5000;
            }
        }
    }
    const long growth = last - baseline;
    std::printf("after %.1f s: %d searches and %d batches of %d cameras; RSS %ld kB, %+ld kB from the "
                "baseline at 10 s (limit %+ld kB)\n",
                clock.elapsed() / 1000.0, searches, batches, count, last, growth, kAllowedGrowthKb);
    const bool flat = growth <= kAllowedGrowthKb;
    std::printf("%s\n", flat ? "MEMORY FLAT" : "MEMORY GREW");
    return flat ? 0 : 1;
}
