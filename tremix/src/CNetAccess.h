// One fixture connection: a connection thread that connects, receives and hands complete frames
// to ProcessCMD, and the blocking requests, which go through the fixture's gate (CRequestGate, the
// gate of the address the link reached). No send waits past its caller's deadline, and none
// holds the gate's lock; a frame cut short by its deadline ends the link.
// Several requests, for different devices, may wait at once. Whoever holds the read lock reads
// the socket and hands every reply to the request it answers: a request waiting for its reply
// takes that role when it can, so that no thread has to wake up between its reply's bytes and
// the caller; the connection thread reads when no request does.
#pragma once

#include "CFrameBuffer.h"
#include "CRequestGate.h"
#include "CTcpClient.h"
#include "DeadlineMutex.h"
#include "FixtureProtocol.h"
#include "IAccessEvent.h"
#include "spindra/CRepetition.h"

#include <atomic>
#include <cstdint>
#include <functional>
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
    // Stops the connection thread and frees the socket and the receive buffer.
    void StopThread();
    // Connects to host:port; 0 or -1. Runs on the connection thread.
    int OpenConnection(const char* host, int port);
    // Sends one frame of type request within one socket wait; 0 if all of it was sent, else -1.
    int SendCmdData(const char* payload, std::size_t length);
    // One receive step: bytes received (frames handled), 0 on time-out, -1 on failure.
    int RecvData();
    // Reads what the socket holds now and handles its complete frames; m_readLock held. Bytes
    // read, 0 when nothing was there, -1 when the peer closed or the socket failed.
    int ReadAvailable(CTcpClient& socket);

    // The session ends: every request waiting on this connection fails at once, and so does any
    // request made later.
    void Interrupt();
    // The link's identity at its gate.
    const void* LinkId() const { return this; }
    // The deadline of a send that is no request's: one socket wait from now.
    static std::uint64_t SendDeadlineNs();
    // The gate of this connection's fixture (set when a link comes up).
    CRequestGate* Gate() const { return m_gate.load(std::memory_order_acquire); }

    bool IsRunning() const { return m_running.load(); }
    std::uint64_t LastRecvMs() const { return m_lastRecv.load(); }

protected:
    // Handles one complete frame.
    virtual void ProcessCMD(const FixtureFrameHeader& header, const char* payload, std::size_t length) = 0;

    bool Init() override;

    // A blocking request for the device of key: through the gate (sent only while the device is
    // free, by sendByNs at the latest), then up to one request wait for its reply. 0 with the
    // reply in reply; 1 when push (see CRequestGate::Finish) decided it; -1 on failure.
    int Request(const std::string& payload, const std::string& key, const char* who, std::uint64_t sendByNs,
                Json::Value& reply, const std::function<bool(std::uint64_t)>& push = nullptr);
    // Offers a reply to the request it answers (see CRequestGate::OfferReply); false if none.
    bool OfferReply(const std::string& key, Json::Value& reply);
    // The link is up (set after connect) or down (requests on their way fail).
    void SetLinkUp(bool up);
    // Sends a complete frame under the connection lock by byNs; 0 or -1.
    int SendFrame(const std::string& frame, std::uint64_t byNs);
    void TouchLastRecv();

    int m_index = -1;
    FixtureLoginInfo m_Chaninfo{};
    std::atomic<bool> m_running{false};
    IAccessEvent* m_sink;

private:
    // Takes the read lock for a waiting request when no other request holds it.
    bool TakeReadRole(std::unique_lock<std::mutex>& reader);
    // Sends a frame for a request by byNs: 1 all of it, 0 nothing, -1 a part.
    long SendRequestFrame(const std::string& frame, const CRequestGate::Request& request, std::uint64_t byNs);
    // Takes the connection lock by byNs unless stop is set first.
    bool LockBy(std::unique_lock<DeadlineMutex>& lock, std::uint64_t byNs, const std::function<bool()>& stop);
    // Writes frame on the socket by byNs (connection lock held): 1 all of it, 0 nothing, -1 a part,
    // after which the link is ended (its stream would be read out of step).
    long WriteBy(const std::string& frame, std::uint64_t byNs, const std::function<bool()>& stop);

    // Guards the socket pointer for senders, and every send; waited for with a deadline.
    DeadlineMutex m_lock;
    // Held by whoever reads the socket (the connection thread or a request waiting for its
    // reply); taken before the gate's lock and m_lock. The socket is replaced or freed only
    // under both.
    std::mutex m_readLock;
    std::unique_ptr<CTcpClient> m_socket;
    bool m_opened = false;
    std::uint64_t m_connectBeganNs = 0; // connection thread: the moment before the link's connect()
    // Under m_readLock: the moment before the last read that took all the socket held.
    std::uint64_t m_readAllBeforeNs = 0;
    int m_recvWaitMs = 0; // connection thread: longest wait for bytes
    std::atomic<bool> m_ending{false};
    std::atomic<CRequestGate*> m_gate{nullptr};
    // How long a request reads without waiting before it sleeps until its reply's bytes come.
    static constexpr std::int64_t kReplyWatchUs = 100;
    // Longest sleep of a waiting request between looks at its answer.
    static constexpr std::int64_t kSliceMs = 10;
    // Longest wait of the connection thread for bytes: how often it sees the receive side empty.
    static constexpr int kDrainSliceMs = 20;
    // Reads of one receive step at most, so that a fixture that never stops sending cannot hold
    // the connection thread in it.
    static constexpr int kMaxReadsPerStep = 64;
    std::atomic<std::uint64_t> m_lastRecv{0};
    std::atomic<bool> m_cancelConnect{false};
    CFrameBuffer m_recv; // under m_readLock (freed after the connection thread has ended)

protected:
    // Connection thread only: the first pass (connect) has run.
    bool Opened() const { return m_opened; }
    void SetOpened() { m_opened = true; }
};

} // namespace tremix
