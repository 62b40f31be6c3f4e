#include "winport/WinPort.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

const Clock::time_point& processStart() {
    static const Clock::time_point start = Clock::now();
    return start;
}
// Taken at load time so that tick counts start near zero.
const Clock::time_point& g_startInit = processStart();

std::atomic<double> g_scaleOverride{0.0};

// Program time = programUs + (now - real) / scale. A scale change re-anchors, so the
// tick count stays monotonic when a test switches the scale.
struct TickAnchor {
    std::mutex mutex;
    Clock::time_point real = processStart();
    double programUs = 0.0;
};

TickAnchor& tickAnchor() {
    static TickAnchor anchor;
    return anchor;
}

double programUsLocked(const TickAnchor& a, Clock::time_point now, double scale) {
    const auto realUs = std::chrono::duration_cast<std::chrono::microseconds>(now - a.real).count();
    return a.programUs + static_cast<double>(realUs) / scale;
}

struct Event {
    std::mutex mutex;
    std::condition_variable cv;
    bool signaled = false;
    bool manualReset = false;
};

// Waits for the event; the deadline is real time. INFINITE waits without limit.
DWORD waitReal(Event* ev, std::uint64_t realMs, bool infinite) {
    std::unique_lock<std::mutex> lock(ev->mutex);
    auto ready = [ev] { return ev->signaled; };
    if (infinite) {
        ev->cv.wait(lock, ready);
    } else if (!ev->cv.wait_for(lock, std::chrono::milliseconds(realMs), ready)) {
        return WAIT_TIMEOUT;
    }
    if (!ev->manualReset)
        ev->signaled = false;
    return WAIT_OBJECT_0;
}

} // namespace

namespace winport {

double envTimeScale(const char* variable) {
    const char* text = variable ? std::getenv(variable) : nullptr;
    if (!text || !*text)
        return 1.0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value) || value <= 0.0 || value > 1000.0)
        return 1.0;
    return value;
}

double timeScale() {
    const double forced = g_scaleOverride.load();
    if (forced > 0.0)
        return forced;
    static const double fromEnv = envTimeScale("CORVANE_TIME_SCALE");
    return fromEnv;
}

void setTimeScale(double scale) {
    TickAnchor& a = tickAnchor();
    std::lock_guard<std::mutex> lock(a.mutex);
    const Clock::time_point now = Clock::now();
    a.programUs = programUsLocked(a, now, timeScale());
    a.real = now;
    g_scaleOverride.store(scale > 0.0 ? scale : 0.0);
}

std::uint64_t toRealMs(std::uint64_t programMs) {
    const long long real = std::llround(static_cast<double>(programMs) * timeScale());
    return real < 0 ? 0 : static_cast<std::uint64_t>(real);
}

int timerInterval(int programMs) {
    if (programMs <= 0)
        return 1;
    const std::uint64_t real = toRealMs(static_cast<std::uint64_t>(programMs));
    if (real < 1)
        return 1;
    return real > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(real);
}

void sleepRealMs(std::uint64_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::uint64_t realTickMs() {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - processStart()).count());
}

DWORD waitEventRealMs(HANDLE event, DWORD ms) {
    if (!event)
        return WAIT_FAILED;
    return waitReal(static_cast<Event*>(event), ms, ms == INFINITE);
}

} // namespace winport

void Sleep(DWORD ms) {
    // Sleep(0) yields, as on Windows.
    if (ms == 0) {
        std::this_thread::yield();
        return;
    }
    const auto real = std::chrono::microseconds(
        static_cast<long long>(std::llround(static_cast<double>(ms) * 1000.0 * winport::timeScale())));
    std::this_thread::sleep_for(real);
}

std::uint64_t GetTickCount() {
    TickAnchor& a = tickAnchor();
    std::lock_guard<std::mutex> lock(a.mutex);
    return static_cast<std::uint64_t>(programUsLocked(a, Clock::now(), winport::timeScale()) / 1000.0);
}

std::uint64_t GetTickCount64() {
    return GetTickCount();
}

HANDLE CreateEvent(void*, BOOL manualReset, BOOL initialState, const char*) {
    auto* ev = new (std::nothrow) Event;
    if (!ev)
        return nullptr;
    ev->manualReset = manualReset != 0;
    ev->signaled = initialState != 0;
    return ev;
}

BOOL SetEvent(HANDLE event) {
    if (!event)
        return 0;
    auto* ev = static_cast<Event*>(event);
    {
        std::lock_guard<std::mutex> lock(ev->mutex);
        ev->signaled = true;
    }
    if (ev->manualReset)
        ev->cv.notify_all();
    else
        ev->cv.notify_one();
    return 1;
}

BOOL ResetEvent(HANDLE event) {
    if (!event)
        return 0;
    auto* ev = static_cast<Event*>(event);
    std::lock_guard<std::mutex> lock(ev->mutex);
    ev->signaled = false;
    return 1;
}

DWORD WaitForSingleObject(HANDLE event, DWORD ms) {
    if (!event)
        return WAIT_FAILED;
    if (ms == INFINITE)
        return winport::waitEventRealMs(event, INFINITE);
    const std::uint64_t real = winport::toRealMs(ms);
    return winport::waitEventRealMs(event, static_cast<DWORD>(real >= INFINITE ? INFINITE - 1 : real));
}

BOOL CloseHandle(HANDLE handle) {
    // Events are the only handles this layer makes.
    delete static_cast<Event*>(handle);
    return 1;
}

std::int64_t _time64(std::int64_t* out) {
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    if (out)
        *out = now;
    return now;
}
