// A reboot-causing call takes the camera offline after a grace time, but never while a call
// to it is still being answered: every call holds a pending reboot until its answer plus the
// grace (at least a few real milliseconds, so that a busy machine at a small time scale does
// not restart a camera between two calls of one request).
#include "SimWorld.h"

#include <algorithm>

namespace {

constexpr auto kMinimumHold = std::chrono::milliseconds(20);

} // namespace

void SimWorld::holdReboot(Camera& c, int delayMs) {
    const auto now = SimDispatcher::Clock::now();
    const auto until =
        std::max(SimDispatcher::dueIn(std::max(delayMs, 0) + m_timing.rebootGraceMs), now + kMinimumHold);
    c.busyUntil = std::max(c.busyUntil, until);
}

bool SimWorld::rebootHeld(Camera& c, int epoch) {
    if (SimDispatcher::Clock::now() >= c.busyUntil)
        return false;
    const int id = c.id;
    const auto offlineAt = c.busyUntil;
    m_dispatcher.post(offlineAt, 0, [this, id, epoch, offlineAt] { goOffline(id, epoch, offlineAt); });
    return true;
}
