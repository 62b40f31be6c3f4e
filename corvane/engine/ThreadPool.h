// A fixed-size pool of worker threads over a first-in, first-out task queue.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <queue>
#include <thread>
#include <vector>

class ThreadPool {
public:
    explicit ThreadPool(int threadCount);
    ~ThreadPool();
    ThreadPool(const ThreadPool&) = delete;
    ThreadPool& operator=(const ThreadPool&) = delete;

    // Starts the workers; the pool accepts tasks from now on.
    void start();
    // Queues a task while running; drops it otherwise.
    void appendTask(std::function<void()> task);
    // Stops accepting, wakes every worker and joins them once their running task is done.
    // Tasks still queued are discarded.
    void stop();

private:
    void work();

    std::atomic<bool> m_running{false};
    std::mutex m_lock;
    std::condition_variable m_wakeUp;
    int m_threadCount;
    std::vector<std::thread> m_workers;
    std::queue<std::function<void()>> m_tasks;
};
