// The stand-in's own thread: runs timed tasks in due order. Tasks belong to a channel (a
// login, a search run, a modification run; 0 for internal work). Closing a channel drops its
// queued tasks, refuses later ones and waits for one of its tasks that is running, unless the
// caller is that task's own thread. Clearing closes every channel.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>

class SimDispatcher {
public:
    using Clock = std::chrono::steady_clock;
    using Task = std::function<void()>;

    SimDispatcher();
    ~SimDispatcher();
    SimDispatcher(const SimDispatcher&) = delete;
    SimDispatcher& operator=(const SimDispatcher&) = delete;

    // A due time programMs of program time from now.
    static Clock::time_point dueIn(double programMs);

    std::uint64_t newChannel();
    void post(Clock::time_point due, std::uint64_t channel, Task task);
    void close(std::uint64_t channel);
    // Drops every queued task (internal ones too) and waits for a running one.
    void clear();
    bool onOwnThread() const;

private:
    struct Item {
        std::uint64_t channel;
        Task task;
    };
    void run();
    void waitIdleOf(std::unique_lock<std::mutex>& lock, std::uint64_t channel, bool any);

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::multimap<std::pair<Clock::time_point, std::uint64_t>, Item> m_queue;
    std::set<std::uint64_t> m_open; // handed out and not closed: as many as live logins and runs
    std::uint64_t m_seq = 0;
    std::uint64_t m_nextChannel = 1;
    std::uint64_t m_running = 0; // channel of the running task + 1; 0 when idle
    bool m_stop = false;
    std::thread m_thread;
};
