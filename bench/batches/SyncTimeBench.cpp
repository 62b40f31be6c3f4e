// Time sync of N simulated cameras (default 256) at a time scale (default 0.001): logs the
// fleet in, then measures the batch until its result table is up, and the table's fill alone.
// Usage: bench_sync_time [cameras] [scale]
#include "BenchFleet.h"
#include "DeviceManager.h"
#include "ShowResultDialog.h"
#include "camsim/SimControl.h"
#include "winport/WinPort.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    QTemporaryDir config;
    benchfleet::prepareEnvironment(config);
    QApplication app(argc, argv);
    const int cameras = argc > 1 ? std::atoi(argv[1]) : 256;
    const double scale = argc > 2 ? std::atof(argv[2]) : 0.001;
    winport::setTimeScale(scale);
    camsim::useFleet(camsim::defaultFleet(cameras));

    QElapsedTimer clock;
    DeviceManager engine;
    clock.start();
    QVector<QStringList> rows = benchfleet::loginFleet(engine);
    // The login table has kLoginSlots slots: the cameras beyond them are refused at once.
    const int loginable = std::min(cameras, DeviceManager::kLoginSlots);
    const int loggedIn = benchfleet::waitForLogins(engine, rows, loginable, clock, 120000, 5);
    const qint64 loginMs = clock.elapsed();

    // The batch: its result table is closed as soon as it is up.
    qint64 tableUpMs = -1;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<ShowResultDialog*>(QApplication::activeModalWidget())) {
            if (tableUpMs < 0)
                tableUpMs = clock.elapsed();
            dialog->accept();
        }
    });
    closer.start(0);
    clock.restart();
    engine.batchSyncTime(rows);
    const qint64 batchMs = clock.elapsed();
    closer.stop();

    // The fill alone, with as many records as the batch had.
    std::vector<DeviceResultInfo> records(static_cast<std::size_t>(cameras));
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::memset(&records[i], 0, sizeof records[i]);
        std::snprintf(records[i].ip, sizeof records[i].ip, "%s", rows[int(i)][1].toLatin1().constData());
        records[i].status = 1;
    }
    ShowResultDialog dialog({"IP", "Set SyncTime"}, nullptr, 354, 239);
    QElapsedTimer fill;
    fill.start();
    dialog.showBatchResult(records);
    const double fillMs = fill.nsecsElapsed() / 1e6;

    // The same fill into a table on screen, with the repaint.
    ShowResultDialog shown({"IP", "Set SyncTime"}, nullptr, 354, 239);
    shown.show();
    QApplication::processEvents();
    fill.restart();
    shown.showBatchResult(records);
    QApplication::processEvents();
    const double shownFillMs = fill.nsecsElapsed() / 1e6;

    std::printf("cameras %d, time scale %g, logged in %d of %d that fit the login table in %lld ms\n",
                cameras, scale, loggedIn, loginable, static_cast<long long>(loginMs));
    std::printf("time sync batch: %lld ms to the result table, %lld ms until it returned\n",
                static_cast<long long>(tableUpMs), static_cast<long long>(batchMs));
    std::printf("result table fill (%d rows): %.1f ms; into a visible table with repaint: %.1f ms\n", cameras,
                fillMs, shownFillMs);
    return loggedIn == loginable ? 0 : 1;
}
