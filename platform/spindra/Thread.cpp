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
    if (IsCurrentThread())
        return false;
    if (m_thread.joinable()) {
        m_thread.join();
        m_id.store(std::thread::id());
    }
    try {
        m_thread = std::thread([this, body = std::move(body)] {
            m_id.store(std::this_thread::get_id());
            body();
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

bool Thread::Join() {
    if (!m_thread.joinable() || IsCurrentThread())
        return false;
    m_thread.join();
    m_id.store(std::thread::id());
    return true;
}

} // namespace ThreadLib
