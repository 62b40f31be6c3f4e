// The seven exported functions.
#include "tremix/Tremix.h"

#include "CClient.h"
#include "FixtureSessionTable.h"
#include "COpenQuestions.h"
#include "FixtureProtocol.h"
#include "LibraryThread.h"
#include "Trace.h"
#include "TremixTime.h"
#include "quillet/Quillet.h"
#include "spindra/ThreadMutex.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>

namespace {

using tremix::CClient;
using tremix::FixtureSessionTable;

std::atomic<int> g_startupCount{0};
std::atomic<bool> g_started{false};

// Serialises logins, logouts and requests of all sessions.
ThreadLib::ThreadMutex& libraryLock() {
    static ThreadLib::ThreadMutex* lock = new ThreadLib::ThreadMutex;
    return *lock;
}

// Never destroyed: sessions still logged in when the process ends keep running until it is gone
// (their threads must not meet a destroyed table).
FixtureSessionTable& sessions() {
    static FixtureSessionTable* table = new FixtureSessionTable;
    return *table;
}

// The handle's table index, or 0 when it is not one the library hands out (1..127): a value
// whose low 16 bits happen to name a session does not reach it.
int tableIndex(int32_t handle) {
    return handle < 1 || handle > FixtureSessionTable::kMaxHandle ? 0 : static_cast<int>(handle);
}

// Longest wait between looks at a device's open question (a close is also notified).
constexpr std::uint64_t kQuestionSliceMs = 10;

enum class Waited { No, Closed, Failed };

// Waits, within one request's wait and without the library lock (other devices' requests go on
// meanwhile), until the device of (cmd, mac) has no open question on the session at index. Holds
// the lock again on return. Failed: the question stayed open, or the session ended or went down;
// nothing may be sent then. *client is looked up again after each wait.
Waited waitForClosedQuestion(std::unique_lock<ThreadLib::ThreadMutex>& lock, int index, CClient** client,
                             const char* logName, const char* cmd, const char* mac) {
    if (!(*client)->QuestionOpen(cmd, mac))
        return Waited::No;
    const char* shown = mac ? mac : "";
    Qx_Write_Log(600, logName, "question still open, waiting for its answer: %s %s", cmd, shown);
    const std::uint64_t serial = (*client)->Serial();
    const std::uint64_t deadline = tremix::nowMs() + tremix::scaledMs(tremix::kRequestWaitMs);
    for (;;) {
        const std::uint64_t now = tremix::nowMs();
        if (now >= deadline) {
            Qx_Write_Log(600, logName, "question still open, not asked: %s %s", cmd, shown);
            return Waited::Failed;
        }
        const std::uint64_t sliceMs = std::min<std::uint64_t>(deadline - now, kQuestionSliceMs);
        tremix::COpenQuestions::closed().wait_for(lock, std::chrono::milliseconds(sliceMs));
        *client = sessions().client(index);
        if (!*client || (*client)->Serial() != serial || !(*client)->IsConnected())
            return Waited::Failed;
        if (!(*client)->QuestionOpen(cmd, mac))
            return Waited::Closed;
    }
}

} // namespace

extern "C" {

TREMIX_API int32_t PTQ_FT_Startup(void) {
    g_startupCount.fetch_add(1);
    // POSIX sockets need no start-up.
    g_started.store(true);
    return 1;
}

TREMIX_API void PTQ_FT_Cleanup(void) {
    int count = g_startupCount.load();
    while (count > 0 && !g_startupCount.compare_exchange_weak(count, count - 1)) {
    }
    if (count <= 1 && g_started.load())
        g_started.store(false);
}

TREMIX_API void PTQ_FT_SetWaitTime(int32_t waitSeconds, int32_t maxReconnect,
                                   int32_t reconnectIntervalSeconds) {
    const long long waitMs = static_cast<long long>(waitSeconds) * 1000;
    CClient::m_WaitTime.store(waitMs > 0x7FFFFFFF ? 0x7FFFFFFF : (waitMs < 0 ? 0 : static_cast<int>(waitMs)));
    CClient::m_MaxReconnect.store(maxReconnect);
    CClient::m_ReconnectInterval.store(reconnectIntervalSeconds);
}

TREMIX_API int32_t PTQ_FT_Login(const FixtureLoginInfo* info) {
    if (!info || !g_started.load() || tremix::onLibraryThread())
        return 0;
    // The host must be terminated within its field.
    if (memchr(info->host, '\0', sizeof info->host) == nullptr)
        return 0;
    int handle = 0;
    {
        std::lock_guard<ThreadLib::ThreadMutex> lock(libraryLock());
        handle = sessions().find(info->host, info->port);
        if (!handle) {
            handle = sessions().add(info->host, info->port, std::make_unique<CClient>());
            if (!handle)
                return 0;
        }
        sessions().addRef(handle);
    }
    bool joined = false;
    {
        std::lock_guard<ThreadLib::ThreadMutex> lock(libraryLock());
        CClient* client = sessions().client(handle);
        if (!client)
            return 0;
        client->Login(info, &joined);
    }
    // A login that joins a running session hears "connected" at once, on its own thread.
    if (joined && info->callback)
        info->callback(handle, FIXTURE_EVENT_CONNECTED, 0, info->user);
    return handle;
}

TREMIX_API int32_t PTQ_FT_Logout(int32_t handle) {
    if (static_cast<std::int16_t>(handle) <= 0) {
        tremix::trace("************登出句柄无效 Handle:%0x************\n", static_cast<unsigned>(handle));
        return 0;
    }
    // A session cannot be ended from its own threads (it would wait for itself).
    if (tremix::onLibraryThread())
        return 0;
    const int index = tableIndex(handle);
    if (!index)
        return 0;
    // A request waiting on the session this logout ends would hold the library lock for up to
    // its whole wait: it gives up at once.
    sessions().interruptIfLast(index);
    std::lock_guard<ThreadLib::ThreadMutex> lock(libraryLock());
    return sessions().release(index) >= 0 ? 1 : 0;
}

TREMIX_API int32_t PTQ_FT_GetDevList(int32_t handle, FixtureDevInfo* out) {
    if (handle == -1 || !out || tremix::onLibraryThread())
        return 0;
    const int index = tableIndex(handle);
    if (!index)
        return 0;
    std::unique_lock<ThreadLib::ThreadMutex> lock(libraryLock());
    CClient* client = sessions().client(index);
    if (!client || !client->HasConnection() || !client->IsConnected())
        return 0;
    if (waitForClosedQuestion(lock, index, &client, "PTQ_FT_GetDevList", tremix::kCmdDeviceList, "") ==
        Waited::Failed)
        return 0;
    return client->GetDevList(out) == 0 ? 1 : 0;
}

TREMIX_API int32_t PTQ_FT_GetTestResult(int32_t handle, const char* mac, FixtureTestResult* out) {
    if (handle == -1 || !out || tremix::onLibraryThread())
        return 0;
    const int index = tableIndex(handle);
    if (!index)
        return 0;
    std::unique_lock<ThreadLib::ThreadMutex> lock(libraryLock());
    CClient* client = sessions().client(index);
    if (!client)
        return 0;
    if (!mac || !*mac || !client->IsConnected())
        return client->GetTestResult(mac, out) == 0 ? 1 : 0;
    const Waited waited =
        waitForClosedQuestion(lock, index, &client, "PTQ_FT_GetTestResult", tremix::kCmdTestResult, mac);
    if (waited == Waited::Failed)
        return 0;
    // A push decides only a request whose device had no open question from its start.
    return client->GetTestResult(mac, out, waited == Waited::No) == 0 ? 1 : 0;
}

} // extern "C"
