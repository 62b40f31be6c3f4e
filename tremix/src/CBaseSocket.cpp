#include "CBaseSocket.h"

#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace tremix {

namespace {
int setTimeout(int fd, int option, int ms) {
    if (fd < 0)
        return 0;
    if (ms < 1)
        ms = 1;
    timeval tv{};
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    return setsockopt(fd, SOL_SOCKET, option, &tv, sizeof tv) == 0 ? 1 : 0;
}
} // namespace

CBaseSocket::~CBaseSocket() {
    Close();
}

int CBaseSocket::Close() {
    const int fd = m_socket.exchange(-1);
    if (fd >= 0)
        ::close(fd);
    return 1;
}

int CBaseSocket::SetSendBufSize(int bytes) {
    const int fd = m_socket.load();
    if (fd >= 0)
        setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes);
    return 1;
}

int CBaseSocket::SetRecvBufSize(int bytes) {
    const int fd = m_socket.load();
    if (fd >= 0)
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
    return 1;
}

int CBaseSocket::SetRecvTimeout(int ms) {
    m_recvTimeout = ms;
    return setTimeout(m_socket.load(), SO_RCVTIMEO, ms);
}

int CBaseSocket::SetSendTimeout(int ms) {
    m_sendTimeout = ms;
    return setTimeout(m_socket.load(), SO_SNDTIMEO, ms);
}

int CBaseSocket::SetNoDelay(int on) {
    m_noDelay = on;
    const int fd = m_socket.load();
    if (fd < 0)
        return 0;
    return setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) == 0 ? 1 : 0;
}

int CBaseSocket::SetNonBlocking(int on) {
    m_nonBlocking = on;
    const int fd = m_socket.load();
    if (fd < 0)
        return 0;
    const int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0)
        return 0;
    return fcntl(fd, F_SETFL, on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK)) == 0 ? 1 : 0;
}

void CBaseSocket::Shutdown() {
    const int fd = m_socket.load();
    if (fd >= 0)
        ::shutdown(fd, SHUT_RDWR);
}

std::atomic<int> CBaseSocket::s_failSends{0};

void CBaseSocket::FailNextSends(int n) {
    s_failSends.store(n);
}

int CBaseSocket::SendsLeftToFail() {
    return s_failSends.load();
}

ssize_t CBaseSocket::SendNow(const void* data, std::size_t length) {
    const int fd = m_socket.load();
    if (fd < 0) {
        errno = EBADF;
        return -1;
    }
    int failing = s_failSends.load(std::memory_order_relaxed);
    while (failing > 0 && !s_failSends.compare_exchange_weak(failing, failing - 1)) {
    }
    if (failing > 0) {
        errno = EPIPE;
        return -1;
    }
    ssize_t n;
    do {
        n = ::send(fd, data, length, MSG_DONTWAIT | MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n;
}

ssize_t CBaseSocket::Recv(void* data, std::size_t length) {
    const int fd = m_socket.load();
    if (fd < 0) {
        errno = EBADF;
        return -1;
    }
    return ::recv(fd, data, length, 0);
}

ssize_t CBaseSocket::RecvNow(void* data, std::size_t length) {
    const int fd = m_socket.load();
    if (fd < 0) {
        errno = EBADF;
        return -1;
    }
    return ::recv(fd, data, length, MSG_DONTWAIT);
}

int CBaseSocket::WaitReadable(int ms) {
    return WaitFor(POLLIN, ms);
}

int CBaseSocket::WaitWritable(int ms) {
    return WaitFor(POLLOUT, ms);
}

int CBaseSocket::WaitFor(short events, int ms) {
    const int fd = m_socket.load();
    if (fd < 0) {
        errno = EBADF;
        return -1;
    }
    pollfd p{fd, events, 0};
    int n;
    do {
        n = ::poll(&p, 1, ms < 0 ? 0 : ms);
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

} // namespace tremix
