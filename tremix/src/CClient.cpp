#include "CClient.h"

#include "LibraryThread.h"
#include "TremixTime.h"
#include "TestHooks.h"
#include "Trace.h"
#include "quillet/Quillet.h"
#include "winport/WinPort.h"

#include <json/json.h>

#include <cstring>

namespace tremix {

std::atomic<int> CClient::m_WaitTime{5000};
std::atomic<int> CClient::m_MaxReconnect{-1};
std::atomic<int> CClient::m_ReconnectInterval{10};

CClient::CClient() = default;

CClient::~CClient() {
    Logout();
}

bool CClient::Init() {
    markLibraryThread();
    return true;
}

int CClient::Login(const FixtureLoginInfo* info, bool* joined) {
    if (joined)
        *joined = false;
    if (!info)
        return -1;
    if (m_started.load()) {
        if (joined)
            *joined = true;
        return 0;
    }
    m_login = *info;
    m_connection = std::make_unique<CLoginAccess>(this);
    // Set before the connection thread starts: a connect that fails at once reports its loss
    // (and sets the reconnect flag) before StartThread returns.
    m_reconnect.store(false);
    m_lastHeartbeat = nowMs();
    const int result = m_connection->StartThread(&m_login);
    SetExit(false);
    CreateThread(true, 0);
    TREMIX_DEBUG_LINE("**************启动重连线程***************\n");
    m_started.store(true);
    return result;
}

void CClient::Logout() {
    {
        std::unique_lock<std::mutex> lock(m_callLock);
        m_ending = true;
        if (m_connection)
            m_connection->Interrupt();
        // They wake within a slice of their waits and need no lock of the caller's.
        m_callsLeft.wait(lock, [this] { return m_calls == 0; });
    }
    DestroyThread();
    m_connected.store(false);
    if (m_connection) {
        m_connection->StopThread();
        m_connection.reset();
    }
    m_started.store(false);
    std::lock_guard<std::mutex> lock(m_mapLock);
    _testInfoMap.clear();
    m_cached.clear();
}

bool CClient::BeginRequest() {
    std::lock_guard<std::mutex> lock(m_callLock);
    if (m_ending || !m_connection)
        return false;
    ++m_calls;
    return true;
}

void CClient::EndRequest() {
    std::lock_guard<std::mutex> lock(m_callLock);
    if (--m_calls == 0)
        m_callsLeft.notify_all();
}

void CClient::Notify(int event) {
    if (m_login.callback)
        m_login.callback(m_handle, event, 0, m_login.user);
}

int CClient::MessageNotify(int type, int index, void* data) {
    switch (type) {
    case kConnected:
        if (index != -1)
            break;
        m_connected.store(true);
        m_attempts.store(0);
        Notify(FIXTURE_EVENT_CONNECTED);
        TREMIX_DEBUG_LINE("------------信令连接成功------------ \n");
        break;
    case kLost: {
        if (index != -1)
            break;
        trace("------------信令连接失败------------\n");
        m_connected.store(false);
        const int max = m_MaxReconnect.load();
        const bool givenUp = max != -1 && m_attempts.load() >= max;
        Notify(givenUp ? FIXTURE_EVENT_LOST_GIVEN_UP : FIXTURE_EVENT_LOST_RETRYING);
        m_lostTime.store(nowMs());
        m_reconnect.store(true);
        break;
    }
    case kHeartbeatReply:
        break;
    case kPushedResult:
        if (index > 0 && data) {
            FixtureTestResult record;
            std::memset(&record, 0, sizeof record);
            Json::Value object;
            if (!parseJsonObject(static_cast<const char*>(data), static_cast<std::size_t>(index), object) ||
                !parseTestResult(object, record))
                break;
            const std::string mac = jsonString(object, "mac");
            // While the device's question is open a push may be that question's answer or newer:
            // it decides nothing.
            CRequestGate* gate = m_connection ? m_connection->Gate() : nullptr;
            if (!gate || !gate->AdmitPush(m_connection->LinkId(), CRequestGate::KeyOf(kCmdTestResult, mac),
                                          [&](std::uint64_t after) { saveTestInfo(mac, record, 0, after); }))
                Qx_Write_Log(600, "CClient::MessageNotify", "push while a question is open, not kept: %s",
                             mac.c_str());
        }
        break;
    default:
        break;
    }
    return 0;
}

void CClient::RunOnce() {
    if (m_reconnect.load())
        Reconnect();
    else if (m_connected.load())
        SendHeartbeat();
    winport::sleepRealMs(10);
}

void CClient::Reconnect() {
    const int max = m_MaxReconnect.load();
    if (max != -1 && m_attempts.load() >= max)
        return;
    const int interval = m_ReconnectInterval.load();
    const std::uint64_t waitMs = scaledMs(static_cast<std::uint64_t>(interval > 0 ? interval : 0) * 1000u);
    if (nowMs() - m_lostTime.load() < waitMs)
        return;
    const int attempt = m_attempts.fetch_add(1) + 1;
    trace("------------启动信令连接------------   %d\n", attempt);
    m_connection->StopThread();
    // Cleared before the new thread starts: its own loss may come at once and must not be lost.
    m_reconnect.store(false);
    m_connection->StartThread(&m_login);
}

void CClient::SendHeartbeat() {
    if (!m_connection)
        return;
    const std::uint64_t now = nowMs();
    if (now - m_lastHeartbeat < scaledMs(kHeartbeatMs))
        return;
    m_lastHeartbeat = now;
    if (m_connection->SendHeartbeat() != 0) {
        Qx_Write_Log(600, "CClient::SendHeartbeat", "SendHeartbeat failed");
        // Not connected until the new connection says so: a heartbeat due before it is open would
        // otherwise fail on it and tear it down again, and requests would go to a closed link.
        m_connected.store(false);
        m_reconnect.store(true);
    }
}

int CClient::GetTestResult(const char* mac, FixtureTestResult* out, std::uint64_t sendByNs) {
    if (!mac || !out || !m_connection)
        return -1;
    if (const TestHooks* hooks = testHooks(); hooks && hooks->beforeSend)
        hooks->beforeSend(CRequestGate::KeyOf(kCmdTestResult, mac), hooks->user);
    return m_connection->GetTestResult(mac, out, sendByNs,
                                       [&](std::uint64_t sentNs) { return findTestInfo(mac, out, sentNs); });
}

int CClient::GetDevList(FixtureDevInfo* out, std::uint64_t sendByNs) {
    if (!out || !m_connection)
        return -1;
    return m_connection->GetDevList(out, sendByNs);
}

bool CClient::findTestInfo(const char* mac, FixtureTestResult* out, std::uint64_t sentAfterNs) {
    std::lock_guard<std::mutex> lock(m_mapLock);
    dropOldResults(nowMs());
    if (!mac || !*mac || _testInfoMap.empty()) {
        Qx_Write_Log(600, "CClient::findTestInfo", "_testInfoMap.size() is null, szMac:%s", mac ? mac : "");
        return false;
    }
    const auto it = _testInfoMap.find(macKey(mac));
    if (it == _testInfoMap.end() || (sentAfterNs && it->second->receivedAfterNs <= sentAfterNs))
        return false;
    if (out)
        std::memcpy(out, it->second->record.get(), sizeof(FixtureTestResult));
    return true;
}

void CClient::saveTestInfo(const std::string& mac, const FixtureTestResult& record, std::uint64_t atMs,
                           std::uint64_t receivedAfterNs) {
    const std::string key = macKey(mac);
    if (key.empty())
        return;
    auto copy = std::make_unique<FixtureTestResult>(record);
    const std::uint64_t now = nowMs();
    std::lock_guard<std::mutex> lock(m_mapLock);
    const auto it = _testInfoMap.find(key);
    if (it != _testInfoMap.end()) {
        m_cached.erase(it->second);
        _testInfoMap.erase(it);
    }
    m_cached.push_back({key, std::move(copy), receivedAfterNs, atMs ? atMs : now});
    _testInfoMap[key] = std::prev(m_cached.end());
    dropOldResults(now);
}

void CClient::dropOldResults(std::uint64_t now) {
    const std::uint64_t maxAge = scaledMs(kCachedResultMaxAgeMs);
    while (!m_cached.empty() &&
           (m_cached.size() > kMaxCachedResults || now - m_cached.front().atMs >= maxAge)) {
        _testInfoMap.erase(m_cached.front().key);
        m_cached.pop_front();
    }
}

std::size_t CClient::CachedResults() {
    std::lock_guard<std::mutex> lock(m_mapLock);
    return m_cached.size();
}

} // namespace tremix
