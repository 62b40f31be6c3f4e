#include "CLoginAccess.h"

#include "CClient.h"
#include "TestHooks.h"
#include "TremixTime.h"
#include "Trace.h"
#include "quillet/Quillet.h"
#include "winport/WinPort.h"

#include <json/json.h>

namespace tremix {

CLoginAccess::~CLoginAccess() {
    StopThread();
}

void CLoginAccess::Lost() {
    SetLinkUp(false);
    if (m_sink && m_running.load())
        m_sink->MessageNotify(IAccessEvent::kLost, m_index, nullptr);
    SetExit(true);
}

void CLoginAccess::RunOnce() {
    if (!Opened()) {
        SetOpened();
        trace("m_Chaninfo.host = %s, m_Chaninfo.port = %d, CClient::m_WaitTime = %d \n", m_Chaninfo.host,
              m_Chaninfo.port, CClient::m_WaitTime.load());
        if (OpenConnection(m_Chaninfo.host, m_Chaninfo.port) != 0) {
            if (m_sink && m_running.load())
                m_sink->MessageNotify(IAccessEvent::kLost, m_index, nullptr);
            SetExit(true);
            return;
        }
        if (const TestHooks* hooks = testHooks(); hooks && hooks->connected)
            hooks->connected(hooks->user);
        SetLinkUp(true);
        TouchLastRecv();
        if (m_sink && m_running.load())
            m_sink->MessageNotify(IAccessEvent::kConnected, m_index, nullptr);
        return;
    }
    const int received = RecvData();
    if (received > 0)
        return;
    if (received < 0) {
        Lost();
        return;
    }
    if (nowMs() - LastRecvMs() >= scaledMs(kSilenceLimitMs)) {
        trace("IP[%s:%d]-INDEXID[%d] recv no data more than 10s, reconnecting...\n", m_Chaninfo.host,
              m_Chaninfo.port, m_index);
        Lost();
    }
    winport::sleepRealMs(10);
}

void CLoginAccess::ProcessCMD(const FixtureFrameHeader& header, const char* payload, std::size_t length) {
    const std::string copy(payload, length);
    Qx_Write_Log(600, "CLoginAccess::ProcessCMD", "pRecvbuf:%s, nRecvLen:%d", copy.c_str(),
                 static_cast<int>(length));
    if (header.type != kFrameReply && header.type != kFramePush)
        return;
    Json::Value object;
    if (!parseJsonObject(payload, length, object)) {
        trace("bad json format!\n");
        return;
    }
    const std::string cmd = jsonString(object, "cmd");
    if (header.type == kFrameReply) {
        if (cmd == kCmdHeartbeat) {
            if (m_sink)
                m_sink->MessageNotify(IAccessEvent::kHeartbeatReply, m_index, nullptr);
        } else if (cmd == kCmdDeviceList || cmd == kCmdTestResult) {
            if (!OfferReply(CRequestGate::KeyOf(cmd, jsonString(object, "mac")), object))
                Qx_Write_Log(600, "CLoginAccess::ProcessCMD", "reply not awaited, dropped: %s", cmd.c_str());
        }
    } else if (cmd == kCmdTestResult && m_sink) {
        m_sink->MessageNotify(IAccessEvent::kPushedResult, static_cast<int>(length),
                              const_cast<char*>(payload));
    }
}

int CLoginAccess::GetDevList(FixtureDevInfo* out, std::uint64_t sendByNs) {
    if (!out)
        return -1;
    const std::string request = deviceListRequest();
    TREMIX_DEBUG_LINE("%s\n", request.c_str());
    Json::Value reply;
    if (Request(request, CRequestGate::KeyOf(kCmdDeviceList, std::string()), "PTQ_FT_GetDevList", sendByNs,
                reply) != 0)
        return -1;
    return parseDevList(reply, *out) ? 0 : -1;
}

int CLoginAccess::GetTestResult(const char* mac, FixtureTestResult* out, std::uint64_t sendByNs,
                                const std::function<bool(std::uint64_t)>& pushed) {
    // An empty MAC can never be answered (a result without a MAC is no result).
    if (!out || !mac || !*mac)
        return -1;
    const std::string request = testResultRequest(mac);
    TREMIX_DEBUG_LINE("%s\n", request.c_str());
    Json::Value reply;
    const int got = Request(request, CRequestGate::KeyOf(kCmdTestResult, mac), "PTQ_FT_GetTestResult",
                            sendByNs, reply, pushed);
    if (got == 1)
        return 0;
    if (got != 0)
        return -1;
    return parseTestResult(reply, *out) ? 0 : -1;
}

int CLoginAccess::SendHeartbeat() {
    const std::string request = heartbeatRequest();
    Qx_Write_Log(600, "CLoginAccess::SendHeartbeat", "SendCmdData:%s\n", request.c_str());
    return SendFrame(buildFrame(kFrameRequest, request), SendDeadlineNs());
}

} // namespace tremix
