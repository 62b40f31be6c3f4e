// One fixture session: its connection, the supervisor thread (heartbeat, reconnect), the events
// to the caller and the cache of pushed test results.
#pragma once

#include "CLoginAccess.h"
#include "IAccessEvent.h"
#include "spindra/CRepetition.h"
#include "tremix/Tremix.h"

#include <atomic>
#include <cstdint>
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

    // 0 with out filled (from the push cache or by request), -1 on failure.
    int GetTestResult(const char* mac, FixtureTestResult* out);
    int GetDevList(FixtureDevInfo* out);

    int MessageNotify(int type, int index, void* data) override;

    bool findTestInfo(const char* mac, FixtureTestResult* out);
    void saveTestInfo(const std::string& mac, const FixtureTestResult& record);

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
    std::map<std::string, std::unique_ptr<FixtureTestResult>> _testInfoMap;
    std::mutex m_mapLock;
};

} // namespace tremix
