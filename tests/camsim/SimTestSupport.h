// Helpers for the simulated-fleet tests: message capture and waiting.
#pragma once

#include "camsim/SimControl.h"
#include "kvxnet/KvxNetSdk.h"
#include "winport/WinPort.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace simtest {

struct Message {
    int handle;
    int message;
    int param;
    bool hadParam;
    std::thread::id thread;
};

// Collects SDK messages; usable as the login record's user pointer.
class MessageSink {
public:
    MessageSink() = default;
    MessageSink(const MessageSink&) = delete;
    MessageSink& operator=(const MessageSink&) = delete;
    // Logins that report here are ended (or the SDK cleaned up) first; the lock orders their last
    // message before the sink goes.
    ~MessageSink() { std::lock_guard<std::mutex> lock(m_mutex); }
    static void callback(int handle, int message, void* param, void* user) {
        auto* self = static_cast<MessageSink*>(user);
        std::lock_guard<std::mutex> lock(self->m_mutex);
        self->m_messages.push_back({handle, message, param ? *static_cast<int*>(param) : 0, param != nullptr,
                                    std::this_thread::get_id()});
        self->m_cv.notify_all();
    }
    bool waitFor(std::function<bool(const std::vector<Message>&)> pred, int realMs = 3000) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, std::chrono::milliseconds(realMs), [&] { return pred(m_messages); });
    }
    bool waitMessage(int handle, int message, int realMs = 3000) {
        return waitFor(
            [&](const std::vector<Message>& all) {
                for (const auto& m : all) {
                    if (m.handle == handle && m.message == message)
                        return true;
                }
                return false;
            },
            realMs);
    }
    std::vector<Message> messages() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_messages;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::vector<Message> m_messages;
};

inline KvxLoginInfo loginRecord(const camsim::CameraProfile& c, MessageSink* sink) {
    KvxLoginInfo info;
    std::memset(&info, 0, sizeof info);
    std::snprintf(info.address, sizeof info.address, "%s", c.ip.c_str());
    info.port = static_cast<std::uint32_t>(c.httpPort);
    std::snprintf(info.user, sizeof info.user, "%s", c.user.c_str());
    std::snprintf(info.password, sizeof info.password, "%s", c.password.c_str());
    info.flag206 = 1;
    info.userData = sink;
    info.callback = &MessageSink::callback;
    return info;
}

inline bool waitUntil(std::function<bool()> pred, int realMs = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(realMs);
    while (std::chrono::steady_clock::now() < end) {
        if (pred())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return pred();
}

// Every test starts from the default fleet at time scale 0.01 with the SDK cleaned up.
class SimTest : public ::testing::Test {
protected:
    void SetUp() override {
        winport::setTimeScale(0.01);
        while (camsim::startupCount() > 0)
            KVX_NET_Cleanup();
        camsim::resetWorld();
        fleet = camsim::fleet();
    }
    void TearDown() override {
        while (camsim::startupCount() > 0)
            KVX_NET_Cleanup();
        camsim::resetWorld();
    }
    // Logs in to camera i and waits for 1536.
    int loginLive(std::size_t i, MessageSink& sink) {
        KvxLoginInfo info = loginRecord(fleet.at(i), &sink);
        const int h = KVX_NET_Login(&info);
        EXPECT_GT(h, 0);
        EXPECT_TRUE(sink.waitMessage(h, KVX_MSG_LOGIN_OK));
        return h;
    }
    std::vector<camsim::CameraProfile> fleet;
};

} // namespace simtest
