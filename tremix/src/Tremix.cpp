// The seven exported functions.
#include "tremix/Tremix.h"

#include "CClient.h"
#include "FixtureSessionTable.h"
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

// A call that uses a session: looks it up under the library lock, waiting for that lock until
// sendByNs at the latest, and holds the session (not the lock) until it ends, so that a logout
// waits for the call to leave instead of freeing the session under it.
class SessionCall {
public:
    SessionCall(int index, std::uint64_t sendByNs) {
        const std::uint64_t now = tremix::nowNs();
        if (now >= sendByNs || !libraryLock().TryLockFor(std::chrono::nanoseconds(sendByNs - now)))
            return;
        std::lock_guard<ThreadLib::ThreadMutex> lock(libraryLock(), std::adopt_lock);
        CClient* client = sessions().client(index);
        if (client && client->BeginRequest())
            m_client = client;
    }
    ~SessionCall() {
        if (m_client)
            m_client->EndRequest();
    }
    SessionCall(const SessionCall&) = delete;
    SessionCall& operator=(const SessionCall&) = delete;
    CClient* client() const { return m_client; }

private:
    CClient* m_client = nullptr;
};

// A request call returns within one question wait and one request wait: it goes on the wire by
// the end of the first (else it fails unsent) and then waits at most the second.
std::uint64_t sendDeadlineNs() {
    return tremix::nowNs() + tremix::scaledMs(tremix::kRequestWaitMs) * 1000000;
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
    // The logout that ends the session wakes the requests waiting on it, which hold no lock of ours.
    // Others hold the library lock only for moments; it is waited for one request wait at most.
    if (!libraryLock().TryLockFor(std::chrono::milliseconds(tremix::scaledMs(tremix::kRequestWaitMs))))
        return 0;
    std::lock_guard<ThreadLib::ThreadMutex> lock(libraryLock(), std::adopt_lock);
    return sessions().release(index) >= 0 ? 1 : 0;
}

TREMIX_API int32_t PTQ_FT_GetDevList(int32_t handle, FixtureDevInfo* out) {
    const std::uint64_t sendBy = sendDeadlineNs();
    if (handle == -1 || !out || tremix::onLibraryThread())
        return 0;
    const int index = tableIndex(handle);
    if (!index)
        return 0;
    SessionCall call(index, sendBy);
    return call.client() && call.client()->GetDevList(out, sendBy) == 0 ? 1 : 0;
}

TREMIX_API int32_t PTQ_FT_GetTestResult(int32_t handle, const char* mac, FixtureTestResult* out) {
    const std::uint64_t sendBy = sendDeadlineNs();
    if (handle == -1 || !out || tremix::onLibraryThread())
        return 0;
    const int index = tableIndex(handle);
    if (!index)
        return 0;
    SessionCall call(index, sendBy);
    return call.client() && call.client()->GetTestResult(mac, out, sendBy) == 0 ? 1 : 0;
}

} // extern "C"
