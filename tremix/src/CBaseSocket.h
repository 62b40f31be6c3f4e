// A socket handle with its settings.
#pragma once

#include <atomic>
#include <cstddef>
#include <sys/types.h>

namespace tremix {

class CBaseSocket {
public:
    CBaseSocket() = default;
    virtual ~CBaseSocket();
    CBaseSocket(const CBaseSocket&) = delete;
    CBaseSocket& operator=(const CBaseSocket&) = delete;

    // Closes an open socket; 1.
    virtual int Close();
    virtual int SetSendBufSize(int bytes);
    virtual int SetRecvBufSize(int bytes);
    // Time-outs in milliseconds (at least 1: zero would mean no limit); 1 when set, else 0.
    virtual int SetRecvTimeout(int ms);
    virtual int SetSendTimeout(int ms);
    virtual int SetNoDelay(int on);
    virtual int SetNonBlocking(int on);

    // Ends both directions so that a blocked receive returns at once; the handle stays open.
    void Shutdown();
    // One send call without waiting (no SIGPIPE): bytes sent, or -1 (errno set; EAGAIN when
    // nothing fits).
    ssize_t SendNow(const void* data, std::size_t length);
    // One receive call; bytes received, 0 when the peer closed, -1 on error (errno set).
    ssize_t Recv(void* data, std::size_t length);
    // The same without waiting: -1 with EAGAIN when nothing is there.
    ssize_t RecvNow(void* data, std::size_t length);
    // Waits up to ms for bytes (or the peer's close, or an error) without reading them: 1 when
    // there is something to read, 0 on time-out, -1 on failure.
    int WaitReadable(int ms);
    // Waits up to ms until a send can take bytes (or the socket failed): 1, 0 on time-out, -1.
    int WaitWritable(int ms);
    int Handle() const { return m_socket.load(); }

    // A fault point for tests: the next n sends of this process fail (EPIPE) without sending.
    static void FailNextSends(int n);
    static int SendsLeftToFail();

protected:
    int WaitFor(short events, int ms);
    static std::atomic<int> s_failSends;
    std::atomic<int> m_socket{-1};
    int m_waitMs = 0;
    int m_sendTimeout = 0;
    int m_recvTimeout = 0;
    int m_nonBlocking = 0;
    int m_noDelay = 0;
};

} // namespace tremix
