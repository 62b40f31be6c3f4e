// Socket behaviour on Linux: no SIGPIPE on a closed peer, time-outs, refused connects.
#include "CTcpClient.h"
#include "TremixTime.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

using tremix::CTcpClient;

namespace {

struct Listener {
    int fd = -1;
    int port = 0;
    Listener() {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
        ::listen(fd, 4);
        socklen_t len = sizeof sa;
        getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
        port = ntohs(sa.sin_port);
    }
    ~Listener() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

TEST(TremixSocket, SendToClosedPeerFailsWithoutSignal) {
    // The default action of SIGPIPE would end this test process.
    ASSERT_EQ(signal(SIGPIPE, SIG_DFL), SIG_DFL);
    Listener listener;
    CTcpClient client;
    ASSERT_EQ(client.Connect("127.0.0.1", listener.port, 1000), 1);
    const int peer = ::accept(listener.fd, nullptr, nullptr);
    ASSERT_GE(peer, 0);
    ::close(peer);
    const std::string data(1000, 'x');
    ssize_t last = 0;
    int error = 0;
    for (int i = 0; i < 50 && last >= 0; ++i) {
        last = client.SendNow(data.data(), data.size());
        error = errno;
        usleep(1000);
    }
    EXPECT_LT(last, 0);
    EXPECT_NE(error, EAGAIN) << "failed for the closed peer, not for a full buffer";
}

TEST(TremixSocket, ReceiveTimeoutAndRefusedConnect) {
    Listener listener;
    CTcpClient client;
    ASSERT_EQ(client.Connect("127.0.0.1", listener.port, 1000), 1);
    EXPECT_EQ(client.SetRecvTimeout(0), 1); // clamped: never "wait forever"
    char byte;
    errno = 0;
    EXPECT_LT(client.Recv(&byte, 1), 0);
    EXPECT_TRUE(errno == EAGAIN || errno == EWOULDBLOCK);

    const int port = listener.port;
    ::close(listener.fd);
    listener.fd = -1;
    CTcpClient refused;
    EXPECT_EQ(refused.Connect("127.0.0.1", port, 1000), 0);
    EXPECT_EQ(refused.Handle(), -1);
    EXPECT_EQ(refused.Connect("no-such-host.invalid", port, 200), 0);
}

TEST(TremixSocket, WaitTimeIsScaledAndClamped) {
    tremix::setTimeScale(0.01);
    EXPECT_EQ(tremix::socketWaitMs(5000), 50);
    EXPECT_EQ(tremix::socketWaitMs(0), static_cast<int>(tremix::kMinSocketWaitMs));
    EXPECT_EQ(tremix::socketWaitMs(-3), static_cast<int>(tremix::kMinSocketWaitMs));
    EXPECT_EQ(tremix::scaledMs(tremix::kSilenceLimitMs), 500u);
    tremix::setTimeScale(0);
    EXPECT_EQ(tremix::socketWaitMs(2000), 2000);
}
