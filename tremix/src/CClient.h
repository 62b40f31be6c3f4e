// One fixture session: its connection, the supervisor thread (heartbeat, reconnect), the events
// to the caller and the cache of pushed test results.
#pragma once

#include "CLoginAccess.h"
#include "IAccessEvent.h"
#include "spindra/CRepetition.h"
#include "tremix/Tremix.h"

#include <atomic>
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
    // Ends the session: supervisor first, then the connection. Not on the library's own threads.
    void Logout();
    // The session is about to end: a request waiting for its reply fails at once, and so does
    // any request made until Resume.
    void InterruptRequests();
    void Resume() { m_ending.store(false); }

    // 0 with out filled, -1 on failure. The fixture is always asked: its answer decides. Without
    // an answer, and when pushMayDecide, a result it pushed for this MAC while the request waited
    // answers it; an earlier push never does. The caller asks only while the device's question
    // is closed (QuestionOpen), and passes pushMayDecide false when it was open at its start.
    int GetTestResult(const char* mac, FixtureTestResult* out, bool pushMayDecide = true);
    // Whether a request for this device may not be sent now (see COpenQuestions).
    bool QuestionOpen(const char* cmd, const char* mac);
    // Tells sessions apart: a new session at a freed entry has another serial.
    std::uint64_t Serial() const { return m_serial; }
    int GetDevList(FixtureDevInfo* out);

    int MessageNotify(int type, int index, void* data) override;

    // The cached push for mac if it is number pushedSince or later (see PushCount), copied to out.
    bool findTestInfo(const char* mac, FixtureTestResult* out, std::uint64_t pushedSince = 0);
    // Keeps record as the latest push for mac, received at atMs (0: now).
    void saveTestInfo(const std::string& mac, const FixtureTestResult& record, std::uint64_t atMs = 0);
    // Number of pushes received so far; the next push gets this number.
    std::uint64_t PushCount();
    std::size_t CachedResults();

protected:
    bool Init() override;
    void RunOnce() override;

private:
    void Reconnect();
    void SendHeartbeat();
    void Notify(int event);

    std::int16_t m_handle = -1;
    const std::uint64_t m_serial;
    std::unique_ptr<CLoginAccess> m_connection;
    FixtureLoginInfo m_login{};
    std::atomic<bool> m_reconnect{false};
    std::atomic<std::uint64_t> m_lostTime{0};
    std::atomic<int> m_attempts{0};
    std::uint64_t m_lastHeartbeat = 0; // supervisor thread (set before it starts)
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_started{false};
    std::atomic<bool> m_ending{false};
    struct CachedResult {
        std::string mac;
        std::unique_ptr<FixtureTestResult> record;
        std::uint64_t number; // order of arrival
        std::uint64_t atMs;
    };
    // Drops expired results and the oldest beyond the count. Under m_mapLock.
    void dropOldResults(std::uint64_t now);

    std::list<CachedResult> m_cached; // oldest first
    std::map<std::string, std::list<CachedResult>::iterator> _testInfoMap;
    std::uint64_t m_pushCount = 0;
    std::mutex m_mapLock;
};

} // namespace tremix
