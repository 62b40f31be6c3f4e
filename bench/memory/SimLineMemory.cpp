// The program left running on the simulated line: one window searches the fleet (default 256
// cameras) over and over and runs a batch after each search (time sync and OSD in turn), for a
// number of seconds (default 90). Resident memory is printed every few seconds; the run fails
// when it ends more than 25 MB above where it stood after 10 s.
//   bench_sim_line_memory [cameras] [seconds]
#include "LineBench.h"
#include "LineDriver.h"
#include "MainFrame.h"

#include "camsim/SimControl.h"
#include "harness/TestDir.h"
#include "harness/Watchdog.h"

#include <QElapsedTimer>
#include <QLoggingCategory>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr qint64 kBaselineMs = 10000;
constexpr long kAllowedGrowthKb = 25 * 1024;

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 256;
    const int seconds = argc > 2 ? std::max(11, std::atoi(argv[2])) : 90;
    harness::TestDir dir;
    if (!benchline::enterLine(dir))
        return 2;
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); // as main() does
    camsim::useFleet(camsim::defaultFleet(count));

    QElapsedTimer clock;
    clock.start();
    long baseline = -1;
    long last = benchline::rssKb();
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
            last = benchline::rssKb();
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
