// One fixture session: its connection, the supervisor thread (heartbeat, reconnect), the events
// to the caller and the cache of pushed test results.
#pragma once

#include "CLoginAccess.h"
#include "IAccessEvent.h"
#include "spindra/CRepetition.h"
#include "tremix/Tremix.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace tremix {

class CClient : public IAccessEvent, public ThreadLib::CRepetition {
public:
    // Library-wide settings (PTQ_FT_SetWaitTime): connect and socket time-out in ms, reconnect
    // budget (-1: none), seconds between a loss and the next attempt.
    static std::atomic<int> m_WaitTime;
    static std::atomic<int> m_MaxReconnect;
    static std::atomic<int> m_ReconnectInterval;

    // Pushed results kept per session: at most this many MACs, each for at most this long (the
    // oldest go first).
    static constexpr std::size_t kMaxCachedResults = 256;
    static constexpr std::uint64_t kCachedResultMaxAgeMs = 60000;

    CClient();
    ~CClient() override;

    void SetHandle(std::int16_t handle) { m_handle = handle; }
    std::int16_t Handle() const { return m_handle; }
    bool IsStarted() const { return m_started.load(); }
    bool IsConnected() const { return m_connected.load(); }
    bool HasConnection() const { return m_connection != nullptr; }

    // Starts the session with a copy of info (connection and supervisor threads). A session that
    // is already started is left as it is and *joined is set: the caller then reports event 0 to
    // the joining login itself, outside the library lock. 0 or -1.
    int Login(const FixtureLoginInfo* info, bool* joined);
    // Ends the session: the requests waiting on it fail at once and have left, then the
    // supervisor stops, then the connection. Not on the library's own threads.
    void Logout();

    // A call that uses the session holds it from BeginRequest (false: the session is ending)
    // to EndRequest, so that a logout waits for it to leave; it does not hold the library lock.
    bool BeginRequest();
    void EndRequest();

    // 0 with out filled, -1 on failure, sent through the fixture's gate by sendByNs at the latest
    // (see CRequestGate). The fixture is always asked: its answer decides. Without an answer, a
    // result it pushed for this MAC after the request was sent answers it, when the device had no
    // open question at the request's start; an earlier push never does.
    int GetTestResult(const char* mac, FixtureTestResult* out, std::uint64_t sendByNs);
    int GetDevList(FixtureDevInfo* out, std::uint64_t sendByNs);

    int MessageNotify(int type, int index, void* data) override;

    // The cached push for mac's device, copied to out, if it was received after sentAfterNs
    // (0: any).
    bool findTestInfo(const char* mac, FixtureTestResult* out, std::uint64_t sentAfterNs = 0);
    // Keeps record as the latest push for mac's device, received at atMs (0: now) and after the
    // moment receivedAfterNs (see CRequestGate::AdmitPush).
    void saveTestInfo(const std::string& mac, const FixtureTestResult& record, std::uint64_t atMs = 0,
                      std::uint64_t receivedAfterNs = 0);
    std::size_t CachedResults();

protected:
    bool Init() override;
    void RunOnce() override;

private:
    void Reconnect();
    void SendHeartbeat();
    void Notify(int event);

    std::int16_t m_handle = -1;
    std::unique_ptr<CLoginAccess> m_connection;
    FixtureLoginInfo m_login{};
    std::atomic<bool> m_reconnect{false};
    std::atomic<std::uint64_t> m_lostTime{0};
    std::atomic<int> m_attempts{0};
    std::uint64_t m_lastHeartbeat = 0; // supervisor thread (set before it starts)
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_started{false};
    std::mutex m_callLock; // guards the two below
    std::condition_variable m_callsLeft;
    bool m_ending = false;
    int m_calls = 0;
    struct CachedResult {
        std::string key; // the device (macKey)
        std::unique_ptr<FixtureTestResult> record;
        std::uint64_t receivedAfterNs;
        std::uint64_t atMs;
    };
    // Drops expired results and the oldest beyond the count. Under m_mapLock.
    void dropOldResults(std::uint64_t now);

    std::list<CachedResult> m_cached;                                      // oldest first
    std::map<std::string, std::list<CachedResult>::iterator> _testInfoMap; // by device key
    std::mutex m_mapLock;
};

} // namespace tremix
