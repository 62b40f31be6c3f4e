#include "spindra/Thread.h"

#include <system_error>

namespace ThreadLib {

Thread::~Thread() {
    if (m_thread.joinable()) {
        if (IsCurrentThread())
            m_thread.detach();
        else
            m_thread.join();
    }
}

bool Thread::Start(std::function<void()> body) {
    if (m_thread.joinable()) {
        if (IsCurrentThread())
            return false;
        m_thread.join();
    }
    try {
        m_thread = std::thread(std::move(body));
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

bool Thread::Join() {
    if (!m_thread.joinable() || IsCurrentThread())
        return false;
    m_thread.join();
    return true;
}

} // namespace ThreadLib
