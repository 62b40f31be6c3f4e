// Buffered reading of a reply, over TLS or the plain link, with a budget of bytes it may hand out.
#pragma once

#include <openssl/ssl.h>

#include <cstddef>
#include <string>

class HttpLink;

class HttpReader {
public:
    // Closed: the end of the stream (TLS: after the peer's close_notify). Cut: the connection ended
    // without close_notify, so a reply whose end is the close may be cut short. OverBudget: the next
    // byte would pass the budget.
    enum Result { Ok, Closed, Cut, Failed, OverBudget };

    HttpReader(SSL* ssl, HttpLink& link) : m_ssl(ssl), m_link(link) {}
    HttpReader(const HttpReader&) = delete;
    HttpReader& operator=(const HttpReader&) = delete;

    // From now on at most bytes more may be handed out.
    void setBudget(std::size_t bytes);

    // One byte.
    Result byte(char& c);
    // Up to max bytes appended to out.
    Result some(std::string& out, std::size_t max);

    const std::string& error() const { return m_error; }

private:
    static constexpr std::size_t kPiece = 2047;

    // Makes sure a byte is buffered and may be handed out.
    Result ready();
    Result fill();

    SSL* m_ssl;
    HttpLink& m_link;
    char m_buf[kPiece];
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    std::size_t m_budget = 0;
    std::string m_error;
};
