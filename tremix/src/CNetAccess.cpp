#include "CNetAccess.h"

#include "CClient.h"
#include "LibraryThread.h"
#include "TestHooks.h"
#include "TremixTime.h"
#include "Trace.h"
#include "quillet/Quillet.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace tremix {

namespace {
// The numeric address the socket reached (the fixture's one gate, whatever its name), or host
// when it cannot be had.
std::string peerAddress(int fd, const char* host) {
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    char text[INET6_ADDRSTRLEN] = {};
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &length) != 0)
        return host;
    const void* address =
        peer.ss_family == AF_INET6
            ? static_cast<const void*>(&reinterpret_cast<const sockaddr_in6&>(peer).sin6_addr)
            : static_cast<const void*>(&reinterpret_cast<const sockaddr_in&>(peer).sin_addr);
    if (!inet_ntop(peer.ss_family, address, text, sizeof text))
        return host;
    return text;
}
} // namespace

CNetAccess::CNetAccess(IAccessEvent* sink) : m_sink(sink) {}

CNetAccess::~CNetAccess() {
    StopThread();
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
    // Requests on their way fail before the socket goes (a reader among them lets it go, a sender
    // gives up within a slice).
    CRequestGate* gate = Gate();
    if (gate)
        gate->SetLink(LinkId(), false);
    {
        std::lock_guard<DeadlineMutex> lock(m_lock);
        if (m_socket)
            m_socket->Shutdown();
    }
    DestroyThread();
    trace("**************StopThread***************\n");
    {
        std::lock_guard<std::mutex> reader(m_readLock);
        std::lock_guard<DeadlineMutex> lock(m_lock);
        m_socket.reset();
        m_recv.Free();
    }
    if (gate)
        gate->SetLink(LinkId(), false);
    m_opened = false;
}

int CNetAccess::OpenConnection(const char* host, int port) {
    auto client = std::make_unique<CTcpClient>();
    const int waitMs = socketWaitMs(CClient::m_WaitTime.load());
    // Whatever the new link brings arrives after this moment.
    const std::uint64_t began = nowNs();
    if (!client->Connect(host, port, waitMs, &m_cancelConnect))
        return -1;
    client->SetRecvTimeout(waitMs);
    client->SetSendTimeout(waitMs);
    if (const TestHooks* hooks = testHooks(); hooks && hooks->sendBuffer)
        if (const int bytes = hooks->sendBuffer(hooks->user))
            client->SetSendBufSize(bytes);
    trace("ip = %s, port = %d, timeout = %d \n", host, port, waitMs);
    m_recvWaitMs = std::min(waitMs, kDrainSliceMs);
    CRequestGate* gate = CRequestGate::ForAddress(peerAddress(client->Handle(), host), port);
    m_connectBeganNs = began;
    std::lock_guard<std::mutex> reader(m_readLock);
    std::lock_guard<DeadlineMutex> lock(m_lock);
    m_socket = std::move(client);
    m_readAllBeforeNs = began;
    m_gate.store(gate, std::memory_order_release);
    return 0;
}

bool CNetAccess::LockBy(std::unique_lock<DeadlineMutex>& lock, std::uint64_t byNs,
                        const std::function<bool()>& stop) {
    for (;;) {
        const std::uint64_t now = nowNs();
        if (stop() || now >= byNs)
            return false;
        const std::uint64_t slice = std::min(byNs - now, static_cast<std::uint64_t>(kSliceMs) * 1000000);
        if (lock.try_lock_for(std::chrono::nanoseconds(slice)))
            return true;
    }
}

long CNetAccess::WriteBy(const std::string& frame, std::uint64_t byNs, const std::function<bool()>& stop) {
    std::size_t done = 0;
    while (done < frame.size()) {
        const ssize_t n = m_socket->SendNow(frame.data() + done, frame.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        const std::uint64_t now = nowNs();
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK) || now >= byNs || stop())
            break;
        const std::uint64_t slice = std::min(byNs - now, static_cast<std::uint64_t>(kSliceMs) * 1000000);
        m_socket->WaitWritable(static_cast<int>((slice + 999999) / 1000000));
    }
    if (done == 0)
        return 0;
    if (done == frame.size())
        return 1;
    trace("IP[%s:%d]-INDEXID[%d] frame cut short after %d bytes\n", m_Chaninfo.host, m_Chaninfo.port, m_index,
          static_cast<int>(done));
    m_socket->Shutdown();
    return -1;
}

int CNetAccess::SendFrame(const std::string& frame, std::uint64_t byNs) {
    const auto stop = [this] { return m_ending.load() || m_cancelConnect.load(); };
    std::unique_lock<DeadlineMutex> lock(m_lock, std::defer_lock);
    if (!LockBy(lock, byNs, stop) || !m_socket)
        return -1;
    return WriteBy(frame, byNs, stop) == 1 ? 0 : -1;
}

long CNetAccess::SendRequestFrame(const std::string& frame, const CRequestGate::Request& request,
                                  std::uint64_t byNs) {
    // A request lost before it went out is not sent (the link it was meant for is gone).
    const auto stop = [&] {
        return m_ending.load() || m_cancelConnect.load() || request.settled.load(std::memory_order_acquire);
    };
    std::unique_lock<DeadlineMutex> lock(m_lock, std::defer_lock);
    if (!LockBy(lock, byNs, stop) || !m_socket || stop() || nowNs() >= byNs)
        return 0;
    const long written = WriteBy(frame, byNs, stop);
    if (const TestHooks* hooks = testHooks(); written == 1 && hooks && hooks->sent) {
        sockaddr_in local{};
        socklen_t length = sizeof local;
        getsockname(m_socket->Handle(), reinterpret_cast<sockaddr*>(&local), &length);
        hooks->sent(request.key, ntohs(local.sin_port), nowNs(), hooks->user);
    }
    return written;
}

int CNetAccess::SendCmdData(const char* payload, std::size_t length) {
    if (!payload && length)
        return -1;
    return SendFrame(buildFrame(kFrameRequest, std::string(payload ? payload : "", length)),
                     SendDeadlineNs());
}

std::uint64_t CNetAccess::SendDeadlineNs() {
    return nowNs() + static_cast<std::uint64_t>(socketWaitMs(CClient::m_WaitTime.load())) * 1000000;
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
    // Reads until nothing is left, so that the last read sees the receive side empty (see
    // CRequestGate::NoteDrained) even when frames keep coming.
    std::lock_guard<std::mutex> reader(m_readLock);
    int total = 0;
    for (int reads = 0; reads < kMaxReadsPerStep; ++reads) {
        const int got = ReadAvailable(*socket);
        if (got < 0)
            return -1;
        if (got == 0)
            return total;
        total += got;
    }
    return total;
}

int CNetAccess::ReadAvailable(CTcpClient& socket) {
    if (m_recv.Writable() == 0)
        m_recv.Free(); // cannot happen with frames of at most 65543 bytes; never stall
    const std::size_t room = m_recv.Writable();
    // Whatever arrived before this moment is returned by the read below, unless it fills the room.
    const std::uint64_t before = nowNs();
    ssize_t n;
    do {
        n = socket.RecvNow(m_recv.WritePtr(), room);
    } while (n < 0 && errno == EINTR);
    const bool nothing = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    if (!nothing && n <= 0) {
        trace("IP[%s:%d]-INDEXID[%d] recv error: %d\n", m_Chaninfo.host, m_Chaninfo.port, m_index,
              n == 0 ? 0 : errno);
        return -1;
    }
    const bool tookAll = nothing || static_cast<std::size_t>(n) < room;
    if (!nothing)
        m_recv.Commit(static_cast<std::size_t>(n), m_readAllBeforeNs);
    if (tookAll)
        m_readAllBeforeNs = before;
    // Cut also when nothing came: an incomplete frame older than a request's wait is dropped so
    // that the frames behind it are handled.
    std::size_t pending = 0;
    if (m_recv.Count() != 0)
        m_recv.Cut(
            [this](const FixtureFrameHeader& header, const char* payload, std::size_t length) {
                ProcessCMD(header, payload, length);
                TouchLastRecv();
            },
            &pending, nowNs(), scaledMs(kRequestWaitMs) * 1000000);
    // Everything that arrived before this read, or before the first byte of the incomplete frame
    // still held, has been parsed.
    if (CRequestGate* gate = Gate(); gate && tookAll)
        gate->NoteDrained(LinkId(), m_recv.Count() != 0 ? m_recv.FrontArrival() : before);
    if (nothing)
        return 0;
    if (pending)
        trace("nPacketLen: %d buflen: %d\n", static_cast<int>(pending), static_cast<int>(m_recv.Count()));
    return static_cast<int>(n);
}

int CNetAccess::Request(const std::string& payload, const std::string& key, const char* who,
                        std::uint64_t sendByNs, Json::Value& reply,
                        const std::function<bool(std::uint64_t)>& push) {
    CRequestGate* gate = Gate();
    if (!gate || key.empty())
        return -1;
    const std::string frame = buildFrame(kFrameRequest, payload);
    CRequestGate::Request request;
    request.key = key;
    request.who = who;
    const CRequestGate::Withdrawal withdrawal(*gate, request);
    if (gate->Send(
            request, LinkId(), sendByNs, [&] { return SendRequestFrame(frame, request, sendByNs); },
            [this] { return m_ending.load(); }) != CRequestGate::Sent::Yes)
        return -1;
    const std::uint64_t deadline = request.sentNs + scaledMs(kRequestWaitMs) * 1000000;
    const std::uint64_t watchUntil = request.sentNs + static_cast<std::uint64_t>(kReplyWatchUs) * 1000;
    // The caller reads its reply itself when no one else reads, as a plain socket client would:
    // the bytes wake this thread and no other. Frames that come meanwhile (other requests'
    // replies, pushes, heartbeat replies) are handled here as the connection thread would; a
    // closed socket is left to it.
    std::unique_lock<std::mutex> reader(m_readLock, std::defer_lock);
    bool timedOut = false;
    for (;;) {
        if (request.settled.load(std::memory_order_acquire) || m_ending.load())
            break;
        const std::uint64_t now = nowNs();
        if (now >= deadline) {
            timedOut = true;
            break;
        }
        const std::uint64_t sliceEnd =
            std::min(deadline, now + static_cast<std::uint64_t>(kSliceMs) * 1000000);
        if (!reader.owns_lock() && !TakeReadRole(reader)) {
            gate->WaitAnswer(request, sliceEnd);
            continue;
        }
        // Replaced and freed only under the read lock, which this thread holds.
        CTcpClient* socket = m_socket.get();
        if (!socket) {
            reader.unlock();
            gate->WaitAnswer(request, sliceEnd);
            continue;
        }
        const int got = ReadAvailable(*socket);
        if (got < 0)
            break;
        if (got > 0)
            continue;
        // A loopback or LAN reply is usually tens of microseconds away: watching for it this
        // long saves the wake-up that sleeping in the wait would cost.
        if (now < watchUntil) {
            std::this_thread::yield();
            continue;
        }
        if (socket->WaitReadable(static_cast<int>((sliceEnd - now + 999999) / 1000000)) < 0)
            break;
    }
    if (reader.owns_lock())
        reader.unlock();
    if (timedOut)
        trace("*********获取或设置参数超时**********\n");
    switch (gate->Finish(request, push)) {
    case CRequestGate::End::Reply:
        reply.swap(request.reply);
        return 0;
    case CRequestGate::End::Push:
        return 1;
    case CRequestGate::End::Open:
        break;
    }
    return -1;
}

bool CNetAccess::TakeReadRole(std::unique_lock<std::mutex>& reader) {
    // The connection thread holds the read lock for one read at a time; another request, for its
    // whole wait: the role is had within a few tries or not at all.
    for (int tries = 0; tries < 64; ++tries) {
        if (reader.try_lock())
            return true;
        std::this_thread::yield();
    }
    return false;
}

void CNetAccess::Interrupt() {
    m_ending.store(true);
    if (CRequestGate* gate = Gate())
        gate->SetLink(LinkId(), false);
}

bool CNetAccess::OfferReply(const std::string& key, Json::Value& reply) {
    CRequestGate* gate = Gate();
    if (!gate)
        return false;
    switch (gate->OfferReply(key, reply)) {
    case CRequestGate::Offer::Taken:
        return true;
    case CRequestGate::Offer::Closed:
        Qx_Write_Log(600, "CLoginAccess::ProcessCMD", "answer to an earlier question, dropped: %s",
                     key.c_str());
        return true;
    case CRequestGate::Offer::NotAwaited:
        break;
    }
    return false;
}

void CNetAccess::SetLinkUp(bool up) {
    if (CRequestGate* gate = Gate())
        gate->SetLink(LinkId(), up && !m_ending.load(), m_connectBeganNs);
}

} // namespace tremix
