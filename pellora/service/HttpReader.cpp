#include "HttpReader.h"

#include "HttpLink.h"

#include <openssl/err.h>

#include <algorithm>

namespace {

std::string openSslErrors() {
    std::string text;
    while (unsigned long e = ERR_get_error()) {
        char buf[256];
        ERR_error_string_n(e, buf, sizeof buf);
        if (!text.empty())
            text += "; ";
        text += buf;
    }
    return text;
}

} // namespace

void HttpReader::setBudget(std::size_t bytes) {
    m_budget = bytes;
}

HttpReader::Result HttpReader::ready() {
    if (m_pos == m_end) {
        const Result r = fill();
        if (r != Ok)
            return r;
    }
    return m_budget == 0 ? OverBudget : Ok;
}

HttpReader::Result HttpReader::byte(char& c) {
    const Result r = ready();
    if (r != Ok)
        return r;
    c = m_buf[m_pos++];
    --m_budget;
    return Ok;
}

HttpReader::Result HttpReader::some(std::string& out, std::size_t max) {
    const Result r = ready();
    if (r != Ok)
        return r;
    const std::size_t n = std::min({max, m_end - m_pos, m_budget});
    out.append(m_buf + m_pos, n);
    m_pos += n;
    m_budget -= n;
    return Ok;
}

HttpReader::Result HttpReader::fill() {
    m_pos = m_end = 0;
    m_link.clearError();
    if (m_ssl) {
        ERR_clear_error();
        const int n = SSL_read(m_ssl, m_buf, static_cast<int>(kPiece));
        if (n > 0) {
            m_end = static_cast<std::size_t>(n);
            return Ok;
        }
        const int err = SSL_get_error(m_ssl, n);
        if (err == SSL_ERROR_ZERO_RETURN)
            return Closed;
        // The transport ended without the peer's close_notify.
        const unsigned long reason = ERR_GET_REASON(ERR_peek_last_error());
        if (m_link.lastErrno() == 0 &&
            ((err == SSL_ERROR_SYSCALL && ERR_peek_last_error() == 0) ||
             (err == SSL_ERROR_SSL && reason == SSL_R_UNEXPECTED_EOF_WHILE_READING))) {
            ERR_clear_error();
            return Cut;
        }
        m_error = m_link.lastErrno() != 0 ? m_link.errorText("TLS read failed")
                                          : "TLS read failed: " + openSslErrors();
        return Failed;
    }
    const long n = m_link.receive(m_buf, kPiece);
    if (n > 0) {
        m_end = static_cast<std::size_t>(n);
        return Ok;
    }
    if (n == 0)
        return Closed;
    m_error = m_link.errorText("read failed");
    return Failed;
}
