// Search of a simulated fleet into the main window's device table: the time from the first
// search answer to the last row shown and to the last device name shown (the names come a
// second after each login call), for 250 and 1000 cameras, and the ratio of the two.
// Usage: mainwindow_search_bench [LARGE_COUNT] [TIME_SCALE]
#include "DeviceManager.h"
#include "MainFrame.h"
#include "camsim/SimControl.h"
#include "kvxnet/DscSearch.h"
#include "ozmlogic/OzmLogic.h"
#include "tarsel/CTableView.h"
#include "winport/WinPort.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Probe {
    MainFrame* frame = nullptr;
    QElapsedTimer clock;
    std::atomic<qint64> firstAnswerNs{-1};
    std::atomic<int> answers{0};
    std::atomic<bool> ended{false};
};

// Stands between the search library and the window to note the first answer's time.
int onAnswer(const DSC_SEARCH_RESPONSE_INFO* record, void* user) {
    auto* probe = static_cast<Probe*>(user);
    if (record && probe->answers.fetch_add(1) == 0)
        probe->firstAnswerNs = probe->clock.nsecsElapsed();
    const int result = MainFrame::onDeviceFound(record, probe->frame);
    if (!record)
        probe->ended = true;
    return result;
}

struct Figures {
    double rowsMs = 0;
    double namesMs = 0;
};

bool allNamed(MainFrame& frame, int count) {
    for (int i = 0; i < count; ++i) {
        if (frame.deviceTable()->rowData(i).value(CTableView::ColName).isEmpty())
            return false;
    }
    return true;
}

Figures searchMs(MainFrame& frame, int count) {
    camsim::useFleet(camsim::defaultFleet(count));
    camsim::Timing timing = camsim::timing();
    timing.searchFirstAnswerMs = 0;
    timing.searchAnswerStepMs = 0;
    camsim::setTiming(timing);
    frame.deviceTable()->clear();
    frame.engine()->logoutAll(); // as the window does before its own searches
    Probe probe;
    probe.frame = &frame;
    probe.clock.start();
    KVX_NET_StartSearchDevice(10, "127.0.0.1", &onAnswer, &probe, 0);
    qint64 lastRowNs = 0;
    while (frame.deviceTable()->rowCount() < count) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (probe.clock.elapsed() > 120000) {
            std::fprintf(stderr, "only %d of %d rows\n", frame.deviceTable()->rowCount(), count);
            std::exit(1);
        }
    }
    lastRowNs = probe.clock.nsecsElapsed();
    while (!allNamed(frame, count)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (probe.clock.elapsed() > 120000) {
            std::fprintf(stderr, "names missing after 120 s\n");
            std::exit(1);
        }
    }
    const qint64 lastNameNs = probe.clock.nsecsElapsed();
    // Let the run end and its end reach the window before the next run starts.
    while (!probe.ended)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
    Figures figures;
    figures.rowsMs = static_cast<double>(lastRowNs - probe.firstAnswerNs.load()) / 1e6;
    figures.namesMs = static_cast<double>(lastNameNs - probe.firstAnswerNs.load()) / 1e6;
    return figures;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir dir;
    qputenv("CORVANE_CONFIG_DIR", dir.path().toUtf8());
    qputenv("CORVANE_PROGRAM_DIR", dir.path().toUtf8());
    qputenv("CORVANE_LOG_DIR", dir.path().toUtf8());
    // No fixture here: a closed loopback port, never the fixture's own address.
    qputenv("CORVANE_FIXTURE_HOST", "127.0.0.1");
    qputenv("CORVANE_FIXTURE_PORT", "1");
    QApplication app(argc, argv);
    const int large = argc > 1 ? std::atoi(argv[1]) : 1000;
    const double scale = argc > 2 ? std::atof(argv[2]) : 0.001;
    winport::setTimeScale(scale > 0 ? scale : 0.001);
    const int small = large / 4;
    if (!OzmLogic::instance()->init(&app))
        return 1;
    double smallMs = 0;
    double largeMs = 0;
    double smallNamesMs = 0;
    double largeNamesMs = 0;
    {
        MainFrame frame;
        frame.show();
        searchMs(frame, 16); // warm-up
        std::vector<double> smallRuns;
        std::vector<double> largeRuns;
        std::vector<double> smallNames;
        std::vector<double> largeNames;
        for (int run = 0; run < 5; ++run) {
            const Figures s = searchMs(frame, small);
            const Figures l = searchMs(frame, large);
            smallRuns.push_back(s.rowsMs);
            largeRuns.push_back(l.rowsMs);
            smallNames.push_back(s.namesMs);
            largeNames.push_back(l.namesMs);
        }
        smallMs = median(smallRuns);
        largeMs = median(largeRuns);
        smallNamesMs = median(smallNames);
        largeNamesMs = median(largeNames);
        frame.close();
    }
    std::printf(
        "first answer to last row shown (median of 5): %d cameras %.1f ms, %d cameras %.1f ms, ratio %.2f "
        "(linear growth: 4.00)\n",
        small, smallMs, large, largeMs, largeMs / smallMs);
    std::printf("first answer to last name shown at time scale %g (median of 5; one name pause %.1f ms): "
                "%d cameras %.1f ms, %d cameras %.1f ms\n",
                scale, 1000.0 * scale, small, smallNamesMs, large, largeNamesMs);
    return 0;
}
