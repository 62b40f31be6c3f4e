#include "HttpLink.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

int bioWrite(BIO* bio, const char* data, int length) {
    BIO_clear_retry_flags(bio);
    return static_cast<int>(
        static_cast<HttpLink*>(BIO_get_data(bio))->send(data, static_cast<size_t>(length)));
}

int bioRead(BIO* bio, char* data, int length) {
    BIO_clear_retry_flags(bio);
    return static_cast<int>(
        static_cast<HttpLink*>(BIO_get_data(bio))->receive(data, static_cast<size_t>(length)));
}

long bioCtrl(BIO*, int cmd, long, void*) {
    return cmd == BIO_CTRL_FLUSH ? 1 : 0;
}

int bioCreate(BIO* bio) {
    BIO_set_init(bio, 1);
    return 1;
}

BIO_METHOD* linkMethod() {
    static BIO_METHOD* method = [] {
        BIO_METHOD* m = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "pellora socket");
        BIO_meth_set_write(m, bioWrite);
        BIO_meth_set_read(m, bioRead);
        BIO_meth_set_ctrl(m, bioCtrl);
        BIO_meth_set_create(m, bioCreate);
        return m;
    }();
    return method;
}

} // namespace

HttpLink::HttpLink(int fd, Clock::time_point deadline, int sendIdleMs, int receiveIdleMs)
    : m_fd(fd), m_deadline(deadline), m_sendIdleMs(sendIdleMs), m_receiveIdleMs(receiveIdleMs) {}

bool HttpLink::wait(short events, int idleMs) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now()).count();
        if (left <= 0) {
            m_lastErrno = ETIMEDOUT;
            return false;
        }
        const bool deadlineFirst = left < idleMs;
        pollfd p{m_fd, events, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, idleMs)));
        if (ready > 0)
            return true;
        if (ready < 0 && errno == EINTR)
            continue;
        m_lastErrno = ready < 0 ? errno : (deadlineFirst ? ETIMEDOUT : EAGAIN);
        return false;
    }
}

long HttpLink::receive(char* data, std::size_t length) {
    for (;;) {
        if (!wait(POLLIN, m_receiveIdleMs))
            return -1;
        const ssize_t n = ::recv(m_fd, data, length, MSG_DONTWAIT);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
            continue;
        m_lastErrno = errno;
        return -1;
    }
}

long HttpLink::send(const char* data, std::size_t length) {
    for (;;) {
        if (!wait(POLLOUT, m_sendIdleMs))
            return -1;
        const ssize_t n = ::send(m_fd, data, length, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0)
            return static_cast<long>(n);
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
            continue;
        m_lastErrno = errno;
        return -1;
    }
}

bool HttpLink::finishConnect(int connectMs) {
    if (!wait(POLLOUT, connectMs))
        return false;
    int soError = 0;
    socklen_t len = sizeof soError;
    if (::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0)
        soError = errno;
    m_lastErrno = soError;
    return soError == 0;
}

std::string HttpLink::errorText(const char* what, const char* idleText) const {
    if (m_lastErrno == ETIMEDOUT)
        return "exchange time-out";
    if (m_lastErrno == EAGAIN || m_lastErrno == EWOULDBLOCK)
        return idleText;
    if (m_lastErrno != 0)
        return std::string(what) + ": " + std::strerror(m_lastErrno);
    return what;
}

BIO* HttpLink::makeBio() {
    BIO* bio = BIO_new(linkMethod());
    if (bio)
        BIO_set_data(bio, this);
    return bio;
}
