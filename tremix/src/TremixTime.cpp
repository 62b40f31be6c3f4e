#include "TremixTime.h"

#include "winport/WinPort.h"

#include <atomic>
#include <chrono>
#include <cmath>

namespace tremix {

namespace {
std::atomic<double> g_override{0.0};
}

double timeScale() {
    const double forced = g_override.load();
    if (forced > 0.0)
        return forced;
    static const double fromEnv = winport::envTimeScale("TREMIX_TIME_SCALE");
    return fromEnv;
}

void setTimeScale(double scale) {
    g_override.store(scale > 0.0 ? scale : 0.0);
}

std::uint64_t scaledMs(std::uint64_t ms) {
    const long long real = std::llround(static_cast<double>(ms) * timeScale());
    return real < 0 ? 0 : static_cast<std::uint64_t>(real);
}

int socketWaitMs(int waitMs) {
    std::uint64_t real = waitMs > 0 ? scaledMs(static_cast<std::uint64_t>(waitMs)) : 0;
    if (real < kMinSocketWaitMs)
        real = kMinSocketWaitMs;
    if (real > 0x7FFFFFFF)
        real = 0x7FFFFFFF;
    return static_cast<int>(real);
}

std::uint64_t nowMs() {
    return winport::realTickMs();
}

std::uint64_t nowNs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

} // namespace tremix
