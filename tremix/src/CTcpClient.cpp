#include "CTcpClient.h"

#include "TremixTime.h"
#include "Trace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tremix {

std::atomic<int> CTcpClient::s_attempts{0};
std::atomic<int> CTcpClient::s_holdConnects{0};
std::atomic<int> CTcpClient::s_holdMs{0};

int CTcpClient::attempts() {
    return s_attempts.load();
}

void CTcpClient::HoldNextConnects(int n, int ms) {
    s_holdMs.store(ms);
    s_holdConnects.store(n);
}

int CTcpClient::Connect(const char* host, int port, int waitMs, const std::atomic<bool>* cancel) {
    Close();
    s_attempts.fetch_add(1);
    int holding = s_holdConnects.load(std::memory_order_relaxed);
    while (holding > 0 && !s_holdConnects.compare_exchange_weak(holding, holding - 1)) {
    }
    if (holding > 0) {
        const std::uint64_t until = nowMs() + static_cast<std::uint64_t>(s_holdMs.load());
        while (nowMs() < until) {
            if (cancel && cancel->load())
                return 0;
            ::poll(nullptr, 0, 5);
        }
    }
    char service[16];
    std::snprintf(service, sizeof service, "%d", port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = 0;
    addrinfo* list = nullptr;
    if (getaddrinfo(host, service, &hints, &list) != 0 || !list) {
        TREMIX_DEBUG_LINE("getaddrinfo failed!\n");
        return 0;
    }
    const addrinfo* address = list;
    const int fd =
        ::socket(address->ai_family == AF_INET6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        freeaddrinfo(list);
        TREMIX_DEBUG_LINE("socket failed!\n");
        return 0;
    }
    m_socket.store(fd);
    m_waitMs = waitMs;
    SetNonBlocking(1);
    int rc;
    do {
        rc = ::connect(fd, address->ai_addr, address->ai_addrlen);
    } while (rc < 0 && errno == EINTR);
    const int connectErrno = errno;
    freeaddrinfo(list);
    if (rc < 0 && connectErrno != EINPROGRESS) {
        TREMIX_DEBUG_LINE("connect() error:%d Socket:%d IP:%s Port:%d addrlen:%d\n", connectErrno, fd, host,
                          port, 16);
        Close();
        return 0;
    }
    if (rc < 0) {
        // Wait for the outcome in short slices so that a stop does not wait for the whole time-out.
        const std::uint64_t deadline = nowMs() + static_cast<std::uint64_t>(waitMs > 0 ? waitMs : 0);
        bool writable = false;
        for (;;) {
            if (cancel && cancel->load())
                break;
            const std::uint64_t now = nowMs();
            if (now >= deadline)
                break;
            const std::uint64_t left = deadline - now;
            pollfd p{fd, POLLOUT, 0};
            const int n = ::poll(&p, 1, static_cast<int>(left < 50 ? left : 50));
            if (n < 0 && errno != EINTR)
                break;
            if (n > 0) {
                writable = true;
                break;
            }
        }
        int error = 0;
        socklen_t len = sizeof error;
        // A refused connect also reports the socket writable: the pending error tells them apart.
        if (!writable || getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0 || error != 0) {
            trace("select timeout error!\n");
            TREMIX_DEBUG_LINE("connect() error:%d Socket:%d IP:%s Port:%d addrlen:%d\n", error, fd, host,
                              port, 16);
            Close();
            return 0;
        }
    }
    SetNonBlocking(0);
    return 1;
}

} // namespace tremix
