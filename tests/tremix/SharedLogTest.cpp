// The shared library writes into the host program's log: both use the one log library.
#include "quillet/Quillet.h"
#include "tremix/Tremix.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Captured {
    std::mutex mutex;
    std::vector<std::string> lines;
};

void capture(int, const char* line, void* user) {
    auto* captured = static_cast<Captured*>(user);
    std::lock_guard<std::mutex> lock(captured->mutex);
    captured->lines.emplace_back(line);
}

bool anyLineContains(Captured& captured, const std::string& part) {
    std::lock_guard<std::mutex> lock(captured.mutex);
    for (const auto& line : captured.lines) {
        if (line.find(part) != std::string::npos)
            return true;
    }
    return false;
}

TEST(TremixSharedLog, LibraryLinesReachTheHostLog) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    socklen_t length = sizeof address;
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);

    Captured captured;
    Qx_Set_Log_Hook(&capture, &captured);
    ASSERT_EQ(PTQ_FT_Startup(), 1);
    PTQ_FT_SetWaitTime(1, -1, 1);
    FixtureLoginInfo info{};
    std::strcpy(info.host, "127.0.0.1");
    info.port = ntohs(address.sin_port);
    const int handle = PTQ_FT_Login(&info);
    ASSERT_GT(handle, 0);

    // The peer stays silent; the library's heartbeat lines are enough.
    const int peer = accept(listener, nullptr, nullptr);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!anyLineContains(captured, "SendHeartbeat") && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(anyLineContains(captured, "SendHeartbeat"));

    PTQ_FT_Logout(handle);
    PTQ_FT_Cleanup();
    Qx_Set_Log_Hook(nullptr, nullptr);
    if (peer >= 0)
        close(peer);
    close(listener);
}

} // namespace
