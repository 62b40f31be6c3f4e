#include "CNetAccess.h"

#include "CClient.h"
#include "LibraryThread.h"
#include "TremixTime.h"
#include "Trace.h"
#include "quillet/Quillet.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace tremix {

namespace {
std::int64_t steadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

CNetAccess::CNetAccess(IAccessEvent* sink)
    : m_sink(sink), m_replyEvent(CreateEvent(nullptr, 0, 0, nullptr)) {}

CNetAccess::~CNetAccess() {
    StopThread();
    CloseHandle(m_replyEvent);
}

bool CNetAccess::Init() {
    markLibraryThread();
    return true;
}

int CNetAccess::StartThread(const FixtureLoginInfo* info) {
    if (info)
        m_Chaninfo = *info;
    TouchLastRecv();
    if (!m_running.load()) {
        trace("**************启动接收数据线程***************\n");
        SetExit(false);
        m_opened = false;
        m_cancelConnect.store(false);
        // Set before the start: the thread's first pass reports only while running is set.
        m_running.store(true);
        if (!CreateThread(true, 0))
            m_running.store(false);
    }
    trace("**************StartThread***************\n");
    return m_running.load() ? 0 : -1;
}

void CNetAccess::StopThread() {
    // Cleared first, so that the failure the closing causes is not reported as a loss.
    m_running.store(false);
    m_cancelConnect.store(true);
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (m_socket)
            m_socket->Shutdown();
    }
    DestroyThread();
    trace("**************StopThread***************\n");
    {
        std::lock_guard<std::mutex> reader(m_readLock);
        std::lock_guard<std::mutex> lock(m_lock);
        m_socket.reset();
        m_pending = Json::Value();
        m_replyStatus = -1;
        if (m_linkUp) {
            m_linkUp = false;
            SetEvent(m_replyEvent);
        }
    }
    m_recv.Free();
    m_opened = false;
}

int CNetAccess::OpenConnection(const char* host, int port) {
    auto client = std::make_unique<CTcpClient>();
    const int waitMs = socketWaitMs(CClient::m_WaitTime.load());
    if (!client->Connect(host, port, waitMs, &m_cancelConnect))
        return -1;
    client->SetRecvTimeout(waitMs);
    client->SetSendTimeout(waitMs);
    trace("ip = %s, port = %d, timeout = %d \n", host, port, waitMs);
    m_recvWaitMs = waitMs;
    std::lock_guard<std::mutex> reader(m_readLock);
    std::lock_guard<std::mutex> lock(m_lock);
    m_socket = std::move(client);
    return 0;
}

int CNetAccess::SendFrame(const std::string& frame) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_socket)
        return -1;
    const ssize_t sent = m_socket->Send(frame.data(), frame.size());
    return sent == static_cast<ssize_t>(frame.size()) ? 0 : -1;
}

int CNetAccess::SendCmdData(const char* payload, std::size_t length) {
    if (!payload && length)
        return -1;
    return SendFrame(buildFrame(kFrameRequest, std::string(payload ? payload : "", length)));
}

void CNetAccess::TouchLastRecv() {
    m_lastRecv.store(nowMs());
}

int CNetAccess::RecvData() {
    // The socket is replaced only by this thread and freed only after it has ended.
    CTcpClient* socket = m_socket.get();
    if (!socket)
        return -1;
    // Waits without the reader lock: a request in progress reads its own reply meanwhile.
    if (socket->WaitReadable(m_recvWaitMs) < 0) {
        trace("IP[%s:%d]-INDEXID[%d] recv error: %d\n", m_Chaninfo.host, m_Chaninfo.port, m_index, errno);
        return -1;
    }
    std::lock_guard<std::mutex> reader(m_readLock);
    return ReadAvailable(*socket);
}

int CNetAccess::ReadAvailable(CTcpClient& socket) {
    if (m_recv.Writable() == 0)
        m_recv.Free(); // cannot happen with frames of at most 65543 bytes; never stall
    ssize_t n;
    do {
        n = socket.RecvNow(m_recv.WritePtr(), m_recv.Writable());
    } while (n < 0 && errno == EINTR);
    const bool nothing = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    if (!nothing && n <= 0) {
        trace("IP[%s:%d]-INDEXID[%d] recv error: %d\n", m_Chaninfo.host, m_Chaninfo.port, m_index,
              n == 0 ? 0 : errno);
        return -1;
    }
    if (!nothing)
        m_recv.Commit(static_cast<std::size_t>(n));
    else if (m_recv.Count() == 0)
        return 0;
    // Cut also when nothing came: an incomplete frame older than a request's wait is dropped so
    // that the frames behind it are handled.
    std::size_t pending = 0;
    m_recv.Cut(
        [this](const FixtureFrameHeader& header, const char* payload, std::size_t length) {
            ProcessCMD(header, payload, length);
            TouchLastRecv();
        },
        &pending, nowMs(), scaledMs(kRequestWaitMs));
    if (nothing)
        return 0;
    if (pending)
        trace("nPacketLen: %d buflen: %d\n", static_cast<int>(pending), static_cast<int>(m_recv.Count()));
    return static_cast<int>(n);
}

int CNetAccess::Request(const std::string& payload, const char* cmd, const std::string& mac,
                        std::uint64_t waitMs, Json::Value& reply) {
    const std::string frame = buildFrame(kFrameRequest, payload);
    // The caller reads its reply itself, as a plain socket client would: the bytes wake this
    // thread and no other. Taken before the request goes out, so that the connection thread
    // cannot take the reply and hand it over. Frames that come meanwhile (pushes, heartbeat
    // replies) are handled here as that thread would; a closed socket is left to it.
    std::unique_lock<std::mutex> reader(m_readLock);
    CTcpClient* socket = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_linkUp || !m_socket)
            return -1;
        socket = m_socket.get();
        // A reply that came after its request gave up must not satisfy this one.
        m_pending = Json::Value();
        m_replyStatus = -1;
        ResetEvent(m_replyEvent);
        m_replyReady.store(false);
        m_armed = true;
        m_expectCmd = cmd;
        m_expectMac = mac;
        const ssize_t sent = m_socket->Send(frame.data(), frame.size());
        if (sent != static_cast<ssize_t>(frame.size())) {
            m_armed = false;
            return -1;
        }
    }
    const std::int64_t start = steadyNs();
    const std::int64_t deadline = start + static_cast<std::int64_t>(waitMs) * 1000000;
    bool waited = false;
    while (!m_replyReady.load(std::memory_order_acquire)) {
        const int got = ReadAvailable(*socket);
        if (got < 0)
            break;
        if (got > 0)
            continue;
        const std::int64_t now = steadyNs();
        // A loopback or LAN reply is usually tens of microseconds away: watching for it this
        // long saves the wake-up that sleeping in the wait would cost.
        if (now - start < kReplyWatchUs * 1000) {
            std::this_thread::yield();
            continue;
        }
        const std::int64_t leftNs = deadline - now;
        if (leftNs <= 0) {
            waited = true;
            break;
        }
        // In short slices, so that Interrupt() ends the wait within one.
        const int sliceMs =
            static_cast<int>(std::min<std::int64_t>((leftNs + 999999) / 1000000, kInterruptSliceMs));
        if (socket->WaitReadable(sliceMs) < 0)
            break;
    }
    reader.unlock();
    std::lock_guard<std::mutex> lock(m_lock);
    m_armed = false;
    if (m_replyStatus == 0) {
        reply.swap(m_pending);
        m_pending = Json::Value();
        m_replyStatus = -1;
        return 0;
    }
    if (waited)
        trace("*********获取或设置参数超时**********\n");
    // Its answer may still come, at any time and also on a later connection: until it does (or
    // the silence limit has passed), nothing else is asked of this device.
    m_questions.open(COpenQuestions::keyOf(cmd, mac), nowMs(), scaledMs(kSilenceLimitMs));
    return -1;
}

void CNetAccess::Interrupt() {
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_armed)
        return;
    m_replyReady.store(true, std::memory_order_release);
    SetEvent(m_replyEvent);
}

bool CNetAccess::OfferReply(const std::string& cmd, const std::string& mac, Json::Value& reply) {
    // No request for a device is sent while its question is open: a reply for it is that
    // question's answer, come late.
    if (m_questions.closeByReply(COpenQuestions::keyOf(cmd, mac), nowMs())) {
        Qx_Write_Log(600, "CLoginAccess::ProcessCMD", "answer to an earlier question, dropped: %s %s",
                     cmd.c_str(), mac.c_str());
        return true;
    }
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_armed || m_replyStatus == 0 || cmd != m_expectCmd)
        return false;
    if (cmd == kCmdTestResult && !macMatches(mac, m_expectMac))
        return false;
    m_pending.swap(reply);
    m_replyStatus = 0;
    m_replyReady.store(true, std::memory_order_release);
    SetEvent(m_replyEvent);
    return true;
}

bool CNetAccess::QuestionOpen(const char* cmd, const std::string& mac) {
    return m_questions.isOpen(COpenQuestions::keyOf(cmd, mac), nowMs());
}

void CNetAccess::SetLinkUp(bool up) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_linkUp = up;
    if (!up) {
        // A waiting request fails at once.
        m_replyReady.store(true, std::memory_order_release);
        SetEvent(m_replyEvent);
    }
}

} // namespace tremix
