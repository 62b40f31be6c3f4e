// One fixture connection: a connection thread that connects, receives and hands complete frames
// to ProcessCMD, plus the hand-over of a reply to the request that waits for it. A request reads
// its own reply from the socket (the connection thread stands aside meanwhile), so no thread has
// to wake up between the reply's bytes and the caller.
#pragma once

#include "CFrameBuffer.h"
#include "COpenQuestions.h"
#include "CTcpClient.h"
#include "FixtureProtocol.h"
#include "IAccessEvent.h"
#include "spindra/CRepetition.h"
#include "winport/WinPort.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include <json/value.h>

namespace tremix {

class CNetAccess : public ThreadLib::CRepetition {
public:
    explicit CNetAccess(IAccessEvent* sink);
    ~CNetAccess() override;

    // Starts the connection thread for the endpoint of info; 0 started, -1 not.
    int StartThread(const FixtureLoginInfo* info);
    // Stops the connection thread and frees the socket, the receive buffer and any pending reply.
    void StopThread();
    // Connects to host:port; 0 or -1. Runs on the connection thread.
    int OpenConnection(const char* host, int port);
    // Sends one frame of type request with one send call; 0 if all of it was sent, else -1.
    int SendCmdData(const char* payload, std::size_t length);
    // One receive step: bytes received (frames handled), 0 on time-out, -1 on failure.
    int RecvData();
    // Reads what the socket holds now and handles its complete frames; m_readLock held. Bytes
    // read, 0 when nothing was there, -1 when the peer closed or the socket failed.
    int ReadAvailable(CTcpClient& socket);

    // Wakes a request waiting for its reply; it fails at once.
    void Interrupt();
    // Whether the device of a request (cmd and, for test_result, the MAC) has a question open:
    // no request for it may be sent until it closes.
    bool QuestionOpen(const char* cmd, const std::string& mac);

    bool IsRunning() const { return m_running.load(); }
    std::uint64_t LastRecvMs() const { return m_lastRecv.load(); }

protected:
    // Handles one complete frame.
    virtual void ProcessCMD(const FixtureFrameHeader& header, const char* payload, std::size_t length) = 0;

    bool Init() override;

    // Blocking request: drops any stale reply, arms the wait for a reply of cmd (and, when
    // mac is not empty, of that MAC), sends payload and waits up to waitMs real milliseconds.
    // 0 with the reply in reply; -1 on send failure, time-out or loss of the connection. A request
    // that went out and got no answer leaves its device's question open. The caller makes sure
    // none is open when it asks.
    int Request(const std::string& payload, const char* cmd, const std::string& mac, std::uint64_t waitMs,
                Json::Value& reply);
    // Offers a reply to the waiting request; taken only if it is what the request waits for. A
    // reply for a device with an open question answers that question: it closes it and is
    // dropped.
    bool OfferReply(const std::string& cmd, const std::string& mac, Json::Value& reply);
    // The link is up (set after connect) or down (wakes a waiting request, which fails).
    void SetLinkUp(bool up);
    // Sends a complete frame under the connection lock.
    int SendFrame(const std::string& frame);
    void TouchLastRecv();

    int m_index = -1;
    FixtureLoginInfo m_Chaninfo{};
    std::atomic<bool> m_running{false};
    IAccessEvent* m_sink;

private:
    // Guards the socket pointer, every send, the pending reply and the armed request.
    std::mutex m_lock;
    // Held by whoever reads the socket (the connection thread or a request waiting for its
    // reply); taken before m_lock. The socket is replaced or freed only under both.
    std::mutex m_readLock;
    std::unique_ptr<CTcpClient> m_socket;
    bool m_opened = false;
    int m_recvWaitMs = 0; // connection thread: longest wait for bytes
    // How long a request reads without waiting before it sleeps until its reply's bytes come.
    static constexpr std::int64_t kReplyWatchUs = 100;
    // Longest sleep of a waiting request between looks at an interruption.
    static constexpr std::int64_t kInterruptSliceMs = 10;
    std::atomic<std::uint64_t> m_lastRecv{0};
    std::atomic<bool> m_cancelConnect{false};
    CFrameBuffer m_recv; // under m_readLock (freed after the connection thread has ended)

    std::atomic<bool> m_replyReady{false}; // the reply event has been signalled
    Json::Value m_pending;                 // the reply taken for the waiting request, parsed
    int m_replyStatus = -1;
    bool m_linkUp = false;
    bool m_armed = false;
    std::string m_expectCmd;
    std::string m_expectMac;
    COpenQuestions m_questions; // kept across reconnects
    HANDLE m_replyEvent;

protected:
    // Connection thread only: the first pass (connect) has run.
    bool Opened() const { return m_opened; }
    void SetOpened() { m_opened = true; }
};

} // namespace tremix
