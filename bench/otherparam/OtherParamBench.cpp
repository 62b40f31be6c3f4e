// The other-parameter run with all fifteen families over N simulated cameras (default 256) at
// a time scale (default 0.01): wall time from the start to the result table against the
// longest wait chain one camera must go through, peak thread count and peak memory.
// Usage: bench_other_param [cameras] [scale] [all|norestart]
// "norestart" runs only the eleven families that never restart a camera (no pings): the
// engine's own cost against its mandated pauses.
#include "BenchFleet.h"
#include "DeviceManager.h"
#include "ProgressBarDialog.h"
#include "ShowResultDialog.h"
#include "camsim/SimControl.h"
#include "ozmlogic/ParamsMgr.h"
#include "winport/WinPort.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace {

int threadCount() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("Threads:"))
            return line.mid(8).trimmed().toInt();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir config;
    benchfleet::prepareEnvironment(config);
    QApplication app(argc, argv);
    benchfleet::useSimPing();
    const int cameras = argc > 1 ? std::atoi(argv[1]) : 256;
    const double scale = argc > 2 ? std::atof(argv[2]) : 0.01;
    const bool noRestart = argc > 3 && std::strcmp(argv[3], "norestart") == 0;
    winport::setTimeScale(scale);
    camsim::useFleet(camsim::defaultFleet(cameras));
    camsim::setCallRecording(false); // the stand-in would keep every call's bytes

    // Every family, each with a change that restarts the camera where one can.
    ParamsMgr* store = ozmParamsMgr();
    store->setWaitInfo(ParamsMgr::kWaitTimeMax);
    OZM::SC_OTHERPARAMENABLE all{};
    for (int f = 0; f < OZM::FamilyCount; ++f)
        all.flag[f] = 1;
    if (noRestart) {
        for (int f : {OZM::FamilyTcpIp, OZM::FamilyPort, OZM::FamilyVideo, OZM::FamilyImage})
            all.flag[f] = 0;
    }
    store->setOtherParamEnable(&all);
    OZM::_SC_TCP_IP_DATA tcp{};
    std::strcpy(tcp.ip, "127.1.0.1");
    std::strcpy(tcp.mask, "255.0.0.0");
    std::strcpy(tcp.gateway, "127.0.0.1");
    std::strcpy(tcp.dns, "127.0.0.1");
    store->setTcpIpInfo(&tcp);
    OZM::_SC_PORT_DATA port{8080, 8554, 8443, 8899, 1};
    store->setPortParamInfo(&port);
    OZM::_SC_SETVIDEO_DATA_ video{};
    video.mainResolution = 0;
    video.mainFrameRate = 20;
    store->setVideoInfo(&video);
    OZM::_SC_IMAGE_DATA_ image{};
    image.flicker = 0;
    store->setImageInfo(&image);
    OZM::_SC_SETOSD_DATA_ osd{};
    std::strcpy(osd.text, "bench");
    store->setOsdInfo(&osd);
    OZM::_SC_ACCOUNT_DATA account{};
    std::strcpy(account.user, "admin");
    std::strcpy(account.password, "12345");
    store->setAccountInfo(&account);
    OZM::_SC_SETAUDIOINPUT_DATA_ board{1, 0, 1, 0, 0, 0, 1, 0};
    store->setAudioBoard(&board);
    store->setP2pInfo(1);

    DeviceManager engine;
    QVector<QStringList> rows = benchfleet::loginFleet(engine);
    QElapsedTimer clock;
    clock.start();
    const int loggedIn = benchfleet::waitForLogins(engine, rows, cameras, clock, 600000, 20);

    int peakThreads = 0;
    int succeeded = 0;
    int rowsShown = 0;
    int failed[OZM::FamilyCount] = {};
    int timedOut[OZM::FamilyCount] = {};
    qint64 tableMs = -1;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        peakThreads = std::max(peakThreads, threadCount());
        if (auto* dialog = qobject_cast<ShowResultDialog*>(QApplication::activeModalWidget())) {
            tableMs = clock.elapsed();
            for (const OtherParamResultInfo& r : engine.otherParamResults()) {
                bool ok = true;
                for (int f = 0; f < OZM::FamilyCount; ++f) {
                    ok = ok && (r.flags[f] != 1 || r.results[f] == 1);
                    failed[f] += r.flags[f] == 1 && r.results[f] == 2 ? 1 : 0;
                    timedOut[f] += r.flags[f] == 1 && r.results[f] == 3 ? 1 : 0;
                }
                succeeded += ok ? 1 : 0;
                ++rowsShown;
            }
            dialog->accept();
        }
    });
    watch.start(5);
    double loadBefore[3] = {0, 0, 0};
    getloadavg(loadBefore, 3); // the machine's load before the run adds its own
    clock.restart();
    engine.startOtherParamConfig(rows);
    watch.stop();

    // One camera's mandated waits: 14 pauses, three restarts (settle, nine answers a pause
    // apart, settle) and the address change (settle, nine answers).
    const double chainMs =
        noRestart ? 10 * DeviceManager::kOtherStepGapMs * scale
                  : (14 * DeviceManager::kOtherStepGapMs +
                     3 * (2 * DeviceManager::kRebootSettleMs +
                          (DeviceManager::kRebootAnswers - 1) * DeviceManager::kRebootPingPauseMs) +
                     DeviceManager::kRebootSettleMs +
                     (DeviceManager::kRebootAnswers - 1) * DeviceManager::kRebootPingPauseMs) *
                        scale;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    // The probes are processes of their own: their CPU time bounds the run from below.
    const double childCpuS = benchfleet::childCpuSeconds();
    const double ownCpuS = benchfleet::ownCpuSeconds();
    std::printf("cameras %d, time scale %g, %s, logged in %d, load before the run %.2f\n", cameras, scale,
                noRestart ? "the eleven families without restart" : "every family", loggedIn, loadBefore[0]);
    std::printf("run: %lld ms to the result table; one camera's wait chain %.0f ms; ratio %.3f\n",
                static_cast<long long>(tableMs), chainMs, tableMs / chainMs);
    std::printf("rows %d, all families succeeded on %d; peak threads %d; peak memory %ld MiB\n", rowsShown,
                succeeded, peakThreads, usage.ru_maxrss / 1024);
    std::printf("CPU: ping processes %.1f s, the program %.1f s (%ld cores)\n", childCpuS, ownCpuS,
                sysconf(_SC_NPROCESSORS_ONLN));
    for (int f = 0; f < OZM::FamilyCount; ++f) {
        if (failed[f] + timedOut[f] > 0)
            std::printf("family %d: failed %d, timed out %d\n", f, failed[f], timedOut[f]);
    }
    return succeeded == cameras ? 0 : 1;
}
