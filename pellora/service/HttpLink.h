// One connection's socket under the exchange's deadline. Every wait is bounded twice: by the idle
// limit of its direction and by the time left until the deadline of the whole exchange.
#pragma once

#include <openssl/bio.h>

#include <chrono>
#include <cstddef>
#include <string>

class HttpLink {
public:
    using Clock = std::chrono::steady_clock;

    HttpLink(int fd, Clock::time_point deadline, int sendIdleMs, int receiveIdleMs);
    HttpLink(const HttpLink&) = delete;
    HttpLink& operator=(const HttpLink&) = delete;

    int fd() const { return m_fd; }
    // Bytes read (> 0), 0 at the end of the stream, -1 on failure (lastErrno() set).
    long receive(char* data, std::size_t length);
    // Bytes written (> 0) or -1 on failure (lastErrno() set). Never raises SIGPIPE.
    long send(const char* data, std::size_t length);
    // Waits for a non-blocking connect to finish within connectMs (and the deadline).
    bool finishConnect(int connectMs);

    // errno of the last failure: EAGAIN for an idle limit, ETIMEDOUT for the deadline, 0 for none.
    int lastErrno() const { return m_lastErrno; }
    void clearError() { m_lastErrno = 0; }
    // "exchange time-out", idleText for an idle limit, or what with the system's text.
    std::string errorText(const char* what, const char* idleText = "receive time-out") const;

    // A BIO that reads and writes through this link; the caller owns it (SSL_set_bio).
    BIO* makeBio();

private:
    // Waits until the socket is ready for events; false with m_lastErrno set on time-out or error.
    bool wait(short events, int idleMs);

    int m_fd;
    Clock::time_point m_deadline;
    int m_sendIdleMs;
    int m_receiveIdleMs;
    int m_lastErrno = 0;
};
