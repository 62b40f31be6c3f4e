// Logs in a simulated fleet (default 256 cameras) at time scale 0.001 and prints the wall
// time from the first queued login to "all logins attempted" (code 6), the peak memory, and
// the ratio to the chain the login sequence mandates: the login calls one after the other
// (up to the last call's status text), then the 1000 ms before the last name read.
// Usage: bench_engine_login [cameras] [scale] [runs]
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
#include <thread>
#include <vector>

namespace {

std::atomic<int> g_done{0};
std::atomic<int> g_ok{0};
std::atomic<int> g_called{0}; // logins whose call returned (code 2, or code 10 at the call)
std::chrono::steady_clock::time_point g_lastCall;
std::mutex g_lock;
std::condition_variable g_doneSignal;

int onNotify(const OZM::_NOTIFY_PARAM* param, void*) {
    if (param->type == 6) {
        std::lock_guard<std::mutex> lock(g_lock);
        ++g_done;
        g_doneSignal.notify_all();
    }
    if ((param->type == 2 || param->type == 10) && param->data) {
        const auto* texts = static_cast<const QStringList*>(param->data);
        if (param->type == 10 && texts->size() > 1 && texts->at(1) == QLatin1String("Login Successful"))
            ++g_ok;
        const bool atCall = param->type == 2 ? texts->value(1) == QLatin1String("Logging in...")
                                             : texts->value(1) == QLatin1String("Login Failed");
        if (atCall) {
            std::lock_guard<std::mutex> lock(g_lock);
            ++g_called;
            g_lastCall = std::chrono::steady_clock::now();
        }
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

    const double pauseMs = 1000.0 * scale;
    std::vector<double> walls;
    std::vector<double> ratios;
    {
        DeviceManager engine;
        for (int run = 0; run < runs; ++run) {
            engine.logoutAll();
            g_done = 0;
            g_ok = 0;
            g_called = 0;
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
            const auto t1 = std::chrono::steady_clock::now();
            double callsMs = 0;
            {
                std::lock_guard<std::mutex> lock(g_lock);
                callsMs = std::chrono::duration<double, std::milli>(g_lastCall - t0).count();
            }
            const double wall = std::chrono::duration<double, std::milli>(t1 - t0).count();
            const double chain = callsMs + pauseMs;
            walls.push_back(wall);
            ratios.push_back(wall / chain);
            std::printf(
                "run %d: %d cameras, %d calls, %d logged in, wall %.1f ms, calls %.1f ms, chain %.1f ms, "
                "ratio %.3f\n",
                run + 1, cameras, g_called.load(), g_ok.load(), wall, callsMs, chain, wall / chain);
            // Let the last answers settle before the next search logs everything out.
            std::this_thread::sleep_for(std::chrono::milliseconds(static_cast<int>(200 * scale) + 5));
        }
    }
    IClientUiElement::setNotifyCallBack(nullptr, nullptr);
    std::sort(walls.begin(), walls.end());
    std::sort(ratios.begin(), ratios.end());
    const double median = walls[walls.size() / 2];
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "login of %d simulated cameras at time scale %g: wall min %.1f / median %.1f ms (one pause %.1f ms), "
        "median ratio to the chain %.3f (goal <= 1.05), peak memory %ld KiB\n",
        cameras, scale, walls.front(), median, pauseMs, ratios[ratios.size() / 2], usage.ru_maxrss);
    return 0;
}
