// The preview grid with N simulated cameras (default 10, so the sub stream): frames drawn per
// pane per second and the process's CPU use over a measured interval.
//   preview_grid_bench [cameras] [seconds]
// Run it under Xvfb on one core for the figure, e.g.
//   taskset -c 0 xvfb-run -a -s "-screen 0 1920x1080x24" build/bin/preview_grid_bench 10 10
#include "PlayCheckDeviceDialog.h"
#include "camsim/SimControl.h"
#include "camsim/SimVideoWidget.h"
#include "ozmlogic/OzmLogic.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for ms, sleeping while no event is due (processEvents with a time limit
// would poll and count its own spinning as the grid's CPU).
void pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The test picture shown in each pane, in pane order (null when the pane shows none).
std::vector<SimVideoWidget*> pictures(const PlayCheckDeviceDialog& dialog) {
    std::vector<SimVideoWidget*> out;
    for (QWidget* pane : dialog.panes()) {
        SimVideoWidget* found = nullptr;
        for (QWidget* child : pane->findChildren<QWidget*>()) {
            if (auto* picture = dynamic_cast<SimVideoWidget*>(child))
                found = picture;
        }
        out.push_back(found);
    }
    return out;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const int cameras = std::max(1, std::min(10, argc > 1 ? std::atoi(argv[1]) : 10));
    const int seconds = std::max(1, argc > 2 ? std::atoi(argv[2]) : 10);
    if (!OzmLogic::instance()->init(&app)) {
        std::fprintf(stderr, "the client framework failed to start\n");
        return 1;
    }
    camsim::useFleet(camsim::defaultFleet(cameras));
    QVector<QStringList> rows;
    for (const camsim::CameraProfile& camera : camsim::fleet()) {
        QStringList row;
        for (int i = 0; i < 19; ++i)
            row << QString();
        row[1] = QString::fromStdString(camera.ip);
        row[8] = QString::fromStdString(camera.mac);
        row[12] = QString::number(camera.httpPort);
        row[17] = QString::fromStdString(camera.user);
        row[18] = QString::fromStdString(camera.password);
        rows << row;
    }
    const int gridRows = cameras == 1 ? 1 : cameras <= 4 ? 2 : 3;
    const int gridColumns = cameras == 1 ? 1 : cameras <= 4 ? 2 : 4;
    int status = 0;
    {
        PlayCheckDeviceDialog dialog(gridRows, gridColumns);
        dialog.startPlay(rows);
        dialog.show();
        pump(1500); // logins, first frames
        std::vector<SimVideoWidget*> shown = pictures(dialog);
        std::vector<quint64> before;
        for (SimVideoWidget* p : shown)
            before.push_back(p ? p->paintedFrames() : 0);
        const double cpu0 = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        pump(seconds * 1000);
        const double elapsed = static_cast<double>(wall.elapsed()) / 1000.0;
        const double cpu = cpuSeconds() - cpu0;
        shown = pictures(dialog);
        double lowest = 1e9;
        int playing = 0;
        std::printf("preview grid %dx%d, %d cameras, %s stream, %.1f s, screen %dx%d\n", gridRows,
                    gridColumns, cameras, cameras > 4 ? "sub" : "main", elapsed, dialog.dialogWidth,
                    dialog.dialogHeight);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (!shown[i]) {
                std::printf("  pane %2zu: empty\n", i);
                continue;
            }
            const double fps = static_cast<double>(shown[i]->paintedFrames() - before[i]) / elapsed;
            lowest = std::min(lowest, fps);
            ++playing;
            std::printf("  pane %2zu: %5.1f frames/s\n", i, fps);
        }
        std::printf("panes playing %d, lowest %.1f frames/s, CPU %.1f %% of one core\n", playing,
                    playing ? lowest : 0.0, 100.0 * cpu / elapsed);
        if (playing != cameras)
            status = 1;
        dialog.onCloseBtnClicked();
    }
    return status;
}
