// Logs in a simulated fleet (default 256 cameras) at time scale 0.001 and prints the wall
// time from the first queued login to "all logins attempted" (code 6), the peak memory, and
// the ratio to the waits the login sequence mandates (1000 ms before each name read, one
// login after the other). Usage: bench_engine_login [cameras] [scale] [runs]
#include "DeviceManager.h"
#include "camsim/SimControl.h"
#include "winport/WinPort.h"

#include <QApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

namespace {

std::atomic<int> g_done{0};
std::atomic<int> g_ok{0};
std::mutex g_lock;
std::condition_variable g_doneSignal;

int onNotify(const OZM::_NOTIFY_PARAM* param, void*) {
    if (param->type == 6) {
        std::lock_guard<std::mutex> lock(g_lock);
        ++g_done;
        g_doneSignal.notify_all();
    }
    if (param->type == 10 && param->data) {
        const auto* texts = static_cast<const QStringList*>(param->data);
        if (texts->size() > 1 && texts->at(1) == QLatin1String("Login Successful"))
            ++g_ok;
    }
    return 0;
}

DSC_SEARCH_RESPONSE_INFO recordOf(const camsim::CameraProfile& c) {
    DSC_SEARCH_RESPONSE_INFO r{};
    std::snprintf(r.tag, sizeof r.tag, "searching..");
    r.type = 11;
    std::snprintf(r.ip, sizeof r.ip, "%s", c.ip.c_str());
    std::snprintf(r.mac, sizeof r.mac, "%s", c.mac.c_str());
    r.httpPort = static_cast<std::uint32_t>(c.httpPort);
    std::snprintf(r.deviceType, sizeof r.deviceType, "IPCAMERA");
    std::snprintf(r.user, sizeof r.user, "%s", c.user.c_str());
    std::snprintf(r.password, sizeof r.password, "%s", c.password.c_str());
    return r;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const int cameras = argc > 1 ? std::max(1, std::atoi(argv[1])) : 256;
    const double scale = argc > 2 ? std::atof(argv[2]) : 0.001;
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    QApplication app(argc, argv);
    winport::setTimeScale(scale);
    camsim::useFleet(camsim::defaultFleet(cameras));
    std::vector<DSC_SEARCH_RESPONSE_INFO> records;
    for (const auto& c : camsim::fleet())
        records.push_back(recordOf(c));
    IClientUiElement::setNotifyCallBack(&onNotify, nullptr);

    const double mandatedMs = cameras * DeviceManager::kOsdReadDelayMs * scale;
    std::vector<double> walls;
    {
        DeviceManager engine;
        for (int run = 0; run < runs; ++run) {
            engine.logoutAll();
            g_done = 0;
            g_ok = 0;
            const auto t0 = std::chrono::steady_clock::now();
            for (const auto& r : records) {
                engine.addSearchInfo(r.mac, &r);
                engine.addLoginTask(&r);
            }
            OZM::_NOTIFY_PARAM total;
            total.type = 5;
            total.data = reinterpret_cast<void*>(static_cast<std::intptr_t>(cameras));
            engine.setNotify(&total);
            {
                std::unique_lock<std::mutex> lock(g_lock);
                g_doneSignal.wait(lock, [] { return g_done.load() > 0; });
            }
            const double wall =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            walls.push_back(wall);
            std::printf("run %d: %d cameras, %d logged in, wall %.1f ms, ratio %.3f\n", run + 1, cameras,
                        g_ok.load(), wall, wall / mandatedMs);
        }
    }
    IClientUiElement::setNotifyCallBack(nullptr, nullptr);
    std::sort(walls.begin(), walls.end());
    const double median = walls[walls.size() / 2];
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "login of %d simulated cameras at time scale %g: median wall %.1f ms, mandated waits %.1f ms, "
        "ratio %.3f (goal <= 1.05), peak memory %ld KiB\n",
        cameras, scale, median, mandatedMs, median / mandatedMs, usage.ru_maxrss);
    return 0;
}
