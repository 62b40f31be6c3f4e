// Helpers for the session tests: an event recorder and a started library against a fake fixture.
#pragma once

#include "FixtureSim.h"
#include "TremixTime.h"
#include "tremix/Tremix.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

struct EventLog {
    struct Event {
        int handle;
        int event;
        int reserved;
        std::thread::id thread;
        std::chrono::steady_clock::time_point at;
    };
    std::mutex mutex;
    std::condition_variable cv;
    std::vector<Event> events;

    static void callback(int32_t handle, int32_t event, int32_t reserved, void* user) {
        auto* log = static_cast<EventLog*>(user);
        std::lock_guard<std::mutex> lock(log->mutex);
        log->events.push_back(
            {handle, event, reserved, std::this_thread::get_id(), std::chrono::steady_clock::now()});
        log->cv.notify_all();
    }
    bool waitCount(std::size_t n, int ms) {
        std::unique_lock<std::mutex> lock(mutex);
        return cv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return events.size() >= n; });
    }
    std::vector<int> codes() {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<int> out;
        for (const Event& e : events)
            out.push_back(e.event);
        return out;
    }
    std::vector<Event> copy() {
        std::lock_guard<std::mutex> lock(mutex);
        return events;
    }
    std::size_t size() {
        std::lock_guard<std::mutex> lock(mutex);
        return events.size();
    }
};

inline FixtureLoginInfo loginRecord(int port, EventLog* log, const char* host = "127.0.0.1") {
    FixtureLoginInfo info;
    std::memset(&info, 0, sizeof info);
    std::snprintf(info.host, sizeof info.host, "%s", host);
    info.port = port;
    info.user = log;
    info.callback = log ? &EventLog::callback : nullptr;
    return info;
}

// A free port on 127.0.0.1 with nothing listening (bound and closed again).
int closedPort();

class TremixSession : public ::testing::Test {
protected:
    void SetUp() override {
        tremix::setTimeScale(scale());
        PTQ_FT_SetWaitTime(1, -1, 1);
        ASSERT_EQ(PTQ_FT_Startup(), 1);
        ASSERT_TRUE(sim.start());
    }
    void TearDown() override {
        for (int handle : handles)
            while (PTQ_FT_Logout(handle) == 1) {
            }
        PTQ_FT_Cleanup();
        sim.stop();
        PTQ_FT_SetWaitTime(5, -1, 10);
        tremix::setTimeScale(0);
    }
    virtual double scale() const { return 0.05; }

    // Logs in to the fake fixture and waits for "connected".
    int connect(EventLog& log) {
        const FixtureLoginInfo info = loginRecord(sim.port(), &log);
        const int handle = PTQ_FT_Login(&info);
        if (handle > 0)
            handles.push_back(handle);
        EXPECT_TRUE(log.waitCount(1, 5000));
        EXPECT_EQ(log.codes().at(0), 0);
        // The client's connect completes before the fixture has accepted it.
        EXPECT_TRUE(FixtureSim::waitFor([&] { return sim.clients() >= 1; }, 5000));
        return handle;
    }
    static double elapsedMs(std::chrono::steady_clock::time_point from) {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
    }

    // An event log that outlives the sessions using it: they are logged out in TearDown, and their
    // threads may report until then.
    EventLog& newLog() { return logs.emplace_back(); }

    FixtureSim sim;
    std::vector<int> handles;
    std::deque<EventLog> logs;
};
