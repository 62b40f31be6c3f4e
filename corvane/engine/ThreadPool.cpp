#include "ThreadPool.h"

#include <QtGlobal>

#include <functional>

namespace {
unsigned long threadNumber() {
    return static_cast<unsigned long>(std::hash<std::thread::id>()(std::this_thread::get_id()));
}
} // namespace

ThreadPool::ThreadPool(int threadCount) : m_threadCount(threadCount) {}

ThreadPool::~ThreadPool() {
    if (m_running)
        stop();
}

void ThreadPool::start() {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_running)
        return;
    m_running = true;
    for (int i = 0; i < m_threadCount; ++i)
        m_workers.emplace_back([this] { work(); });
}

void ThreadPool::appendTask(std::function<void()> task) {
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_running || !task)
            return;
        m_tasks.push(std::move(task));
    }
    m_wakeUp.notify_one();
}

void ThreadPool::stop() {
    std::vector<std::thread> workers;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_running = false;
        workers.swap(m_workers);
        std::queue<std::function<void()>>().swap(m_tasks);
    }
    m_wakeUp.notify_all();
    for (auto& w : workers) {
        if (w.joinable() && w.get_id() != std::this_thread::get_id())
            w.join();
        else if (w.joinable())
            w.detach();
    }
}

void ThreadPool::work() {
    qDebug("begin work thread: %lu", threadNumber());
    while (m_running) {
        std::function<void()> task;
        {
            std::unique_lock<std::mutex> lock(m_lock);
            if (m_tasks.empty() && m_running)
                m_wakeUp.wait(lock);
            else if (!m_tasks.empty()) {
                task = std::move(m_tasks.front());
                m_tasks.pop();
            }
        }
        if (task)
            task();
    }
    qDebug("end work thread: %lu", threadNumber());
}
