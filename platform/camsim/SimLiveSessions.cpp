// Count of the logins a camera has accepted.
#include "SimWorld.h"

int SimWorld::liveSessionCount() {
    std::lock_guard<std::mutex> lock(m_mutex);
    int n = 0;
    for (const auto& s : m_sessions) {
        if (s.second.state == LoginState::Live)
            ++n;
    }
    return n;
}

namespace camsim {

int liveSessionCount() {
    return SimWorld::instance().liveSessionCount();
}

} // namespace camsim
