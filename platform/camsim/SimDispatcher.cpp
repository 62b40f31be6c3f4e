#include "SimDispatcher.h"

#include "winport/WinPort.h"

SimDispatcher::SimDispatcher() : m_thread([this] { run(); }) {}

SimDispatcher::~SimDispatcher() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

SimDispatcher::Clock::time_point SimDispatcher::dueIn(double programMs) {
    const double us = programMs * 1000.0 * winport::timeScale();
    return Clock::now() + std::chrono::microseconds(static_cast<long long>(us < 0 ? 0 : us));
}

std::uint64_t SimDispatcher::newChannel() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open.insert(m_nextChannel);
    return m_nextChannel++;
}

void SimDispatcher::post(Clock::time_point due, std::uint64_t channel, Task task) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stop || (channel != 0 && !m_open.count(channel)))
            return;
        m_queue.emplace(std::make_pair(due, m_seq++), Item{channel, std::move(task)});
    }
    m_wake.notify_all();
}

void SimDispatcher::waitIdleOf(std::unique_lock<std::mutex>& lock, std::uint64_t channel, bool any) {
    if (std::this_thread::get_id() == m_thread.get_id())
        return;
    m_done.wait(lock, [&] { return m_running == 0 || (!any && m_running != channel + 1); });
}

void SimDispatcher::close(std::uint64_t channel) {
    if (channel == 0)
        return;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_open.erase(channel);
    for (auto it = m_queue.begin(); it != m_queue.end();) {
        if (it->second.channel == channel)
            it = m_queue.erase(it);
        else
            ++it;
    }
    waitIdleOf(lock, channel, false);
}

void SimDispatcher::clear() {
    std::unique_lock<std::mutex> lock(m_mutex);
    // Every channel handed out so far belongs to what is being cleared away.
    m_open.clear();
    m_queue.clear();
    waitIdleOf(lock, 0, true);
}

bool SimDispatcher::onOwnThread() const {
    return std::this_thread::get_id() == m_thread.get_id();
}

void SimDispatcher::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stop) {
        if (m_queue.empty()) {
            m_wake.wait(lock);
            continue;
        }
        auto first = m_queue.begin();
        const auto due = first->first.first;
        if (due > Clock::now()) {
            m_wake.wait_until(lock, due);
            continue;
        }
        Item item = std::move(first->second);
        m_queue.erase(first);
        m_running = item.channel + 1;
        lock.unlock();
        item.task();
        item.task = nullptr;
        lock.lock();
        m_running = 0;
        m_done.notify_all();
    }
}
