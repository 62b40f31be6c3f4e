#include "CHttpRequest.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

constexpr int kReadPiece = 2047;

// Socket BIO that writes with MSG_NOSIGNAL (a peer that went away must not raise SIGPIPE) and
// remembers the errno of the last failed call so time-outs can be told apart.
struct SocketLink {
    int fd = -1;
    int lastErrno = 0;
};

int linkWrite(BIO* bio, const char* data, int length) {
    auto* link = static_cast<SocketLink*>(BIO_get_data(bio));
    BIO_clear_retry_flags(bio);
    for (;;) {
        ssize_t n = ::send(link->fd, data, static_cast<size_t>(length), MSG_NOSIGNAL);
        if (n >= 0)
            return static_cast<int>(n);
        if (errno == EINTR)
            continue;
        link->lastErrno = errno;
        return -1;
    }
}

int linkRead(BIO* bio, char* data, int length) {
    auto* link = static_cast<SocketLink*>(BIO_get_data(bio));
    BIO_clear_retry_flags(bio);
    for (;;) {
        ssize_t n = ::recv(link->fd, data, static_cast<size_t>(length), 0);
        if (n >= 0)
            return static_cast<int>(n);
        if (errno == EINTR)
            continue;
        link->lastErrno = errno;
        return -1;
    }
}

long linkCtrl(BIO*, int cmd, long, void*) {
    return cmd == BIO_CTRL_FLUSH ? 1 : 0;
}

int linkCreate(BIO* bio) {
    BIO_set_init(bio, 1);
    return 1;
}

BIO_METHOD* socketLinkMethod() {
    static BIO_METHOD* method = [] {
        BIO_METHOD* m = BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "pellora socket");
        BIO_meth_set_write(m, linkWrite);
        BIO_meth_set_read(m, linkRead);
        BIO_meth_set_ctrl(m, linkCtrl);
        BIO_meth_set_create(m, linkCreate);
        return m;
    }();
    return method;
}

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

struct SslCtxFree {
    void operator()(SSL_CTX* c) const { SSL_CTX_free(c); }
};
struct SslFree {
    void operator()(SSL* s) const { SSL_free(s); }
};

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0 && ::close(m_fd) != 0)
            std::printf("closesocket function failed with error: %ld\n", static_cast<long>(errno));
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

timeval toTimeval(int ms) {
    timeval tv{};
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    return tv;
}

std::string lowerCase(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool equalsNoCase(const std::string& a, const char* b) {
    return lowerCase(a) == lowerCase(b);
}

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

// Reads the reply through an internal buffer, over TLS or a plain socket.
class Reader {
public:
    enum Result { Ok, Closed, Failed };

    Reader(SSL* ssl, SocketLink& link) : m_ssl(ssl), m_link(link) {}

    // One byte; Closed at end of stream.
    Result byte(char& c) {
        if (m_pos == m_end) {
            Result r = fill();
            if (r != Ok)
                return r;
        }
        c = m_buf[m_pos++];
        return Ok;
    }

    // Up to max bytes appended to out.
    Result some(std::string& out, size_t max) {
        if (m_pos == m_end) {
            Result r = fill();
            if (r != Ok)
                return r;
        }
        size_t n = std::min(max, m_end - m_pos);
        out.append(m_buf + m_pos, n);
        m_pos += n;
        return Ok;
    }

    const std::string& error() const { return m_error; }

private:
    Result fill() {
        m_pos = m_end = 0;
        if (m_ssl) {
            int n = SSL_read(m_ssl, m_buf, kReadPiece);
            if (n > 0) {
                m_end = static_cast<size_t>(n);
                return Ok;
            }
            int err = SSL_get_error(m_ssl, n);
            if (err == SSL_ERROR_ZERO_RETURN)
                return Closed;
            if (err == SSL_ERROR_SYSCALL && n == 0 && m_link.lastErrno == 0)
                return Closed;
            setError("TLS read failed");
            return Failed;
        }
        m_link.lastErrno = 0;
        ssize_t n;
        do {
            n = ::recv(m_link.fd, m_buf, kReadPiece, 0);
        } while (n < 0 && errno == EINTR);
        if (n > 0) {
            m_end = static_cast<size_t>(n);
            return Ok;
        }
        if (n == 0)
            return Closed;
        m_link.lastErrno = errno;
        setError("read failed");
        return Failed;
    }

    void setError(const char* what) {
        if (m_link.lastErrno == EAGAIN || m_link.lastErrno == EWOULDBLOCK)
            m_error = "receive time-out";
        else if (m_link.lastErrno != 0)
            m_error = std::string(what) + ": " + std::strerror(m_link.lastErrno);
        else
            m_error = std::string(what) + ": " + openSslErrors();
    }

    SSL* m_ssl;
    SocketLink& m_link;
    char m_buf[kReadPiece];
    size_t m_pos = 0;
    size_t m_end = 0;
    std::string m_error;
};

} // namespace

CHttpRequest::CHttpRequest(HttpOptions options) : m_options(std::move(options)) {}

CHttpRequest::~CHttpRequest() = default;

bool CHttpRequest::splitUrl(bool tls, const std::string& url, UrlParts& parts) {
    parts = UrlParts();
    parts.port = tls ? 443 : 80;
    std::string upper = url;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

    size_t rest = 0;
    size_t colon = upper.find(':');
    if (colon != std::string::npos) {
        parts.scheme = upper.substr(0, colon);
        rest = colon + 1;
    } else {
        parts.scheme = "HTTP";
    }
    if (upper.compare(rest, 2, "//") == 0)
        rest += 2;

    size_t end = rest;
    while (end < upper.size()) {
        unsigned char c = static_cast<unsigned char>(upper[end]);
        if (!std::isalnum(c) && c != '-' && c != '.' && c != ':')
            break;
        ++end;
    }
    parts.host = upper.substr(rest, end - rest);
    parts.path = url.substr(end);

    size_t portColon = parts.host.find(':');
    if (portColon != std::string::npos) {
        std::string digits = parts.host.substr(portColon + 1);
        parts.host.erase(portColon);
        if (digits.empty() || digits.size() > 5 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        parts.port = std::stoi(digits);
        if (parts.port < 1 || parts.port > 65535)
            return false;
    }
    return !parts.host.empty();
}

int CHttpRequest::parseStatus(const std::string& head) {
    std::string line = head.substr(0, head.find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.compare(0, 5, "HTTP/") != 0)
        return 0;
    size_t sp = line.find(' ');
    if (sp == std::string::npos || sp + 4 > line.size() || (sp + 4 < line.size() && line[sp + 4] != ' '))
        return 0;
    for (size_t i = sp + 1; i < sp + 4; ++i)
        if (!std::isdigit(static_cast<unsigned char>(line[i])))
            return 0;
    return std::stoi(line.substr(sp + 1, 3));
}

int CHttpRequest::sendTimeoutForUrl(const std::string& url) {
    if (url.find("cgi.htm?sdformat=1") != std::string::npos)
        return 60000;
    if (url.find("timefrequency=-1") != std::string::npos || url.find("cgi.htm?sd") != std::string::npos)
        return 20000;
    return 1000;
}

std::string CHttpRequest::buildRequestText(bool form, bool tls, const char* body, std::size_t bodyLength,
                                           const std::string& path, const std::string& host,
                                           const std::string& extraLine) {
    std::string text;
    text.reserve(512 + path.size() + host.size() + 2 * extraLine.size() + (body ? bodyLength : 0));
    text += body ? "POST " : "GET ";
    text += path.empty() ? std::string("/") : path;
    text += " HTTP/1.1\r\n";
    text += "Accept: */*\r\n";
    text += "Accept-Language: en-us\r\n";
    text += "Accept-Encoding: gzip, default\r\n";
    text += "User-Agent: http client\r\n";
    if (tls) {
        text += "Authorization: Basic\r\n";
        text += "Connection: close ";
        text += extraLine;
        text += "\r\n";
    } else {
        text += "Authorization: Basic ";
        text += extraLine;
        text += "\r\n";
    }
    if (bodyLength != 0) {
        text += "Content-Length: ";
        text += std::to_string(static_cast<long>(bodyLength));
        text += "\r\n";
    }
    text += "Host: ";
    text += host;
    text += "\r\n";
    if (form) {
        text += "Content-Type: application/x-www-form-urlencoded\r\n";
        if (!extraLine.empty()) {
            text += extraLine;
            text += "\r\n";
        }
    }
    text += "\r\n";
    if (body && bodyLength != 0)
        text.append(body, bodyLength);
    return text;
}

int CHttpRequest::sendRequest(bool form, bool tls, const std::string& url, const char* body,
                              std::size_t bodyLength, HttpReply& reply, const std::string& extraLine) {
    reply = HttpReply();
    m_lastError.clear();
    auto fail = [this](std::string why) {
        m_lastError = std::move(why);
        return 1;
    };

    UrlParts parts;
    if (!splitUrl(tls, url, parts))
        return fail("invalid URL");
    const std::string hostName = lowerCase(parts.host);

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(hostName.c_str(), nullptr, &hints, &found) != 0 || !found)
        return fail("host not found");
    sockaddr_in address{};
    std::memcpy(&address, found->ai_addr, sizeof address);
    ::freeaddrinfo(found);
    address.sin_port = htons(static_cast<uint16_t>(parts.port));

    Fd sock(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (sock.get() < 0)
        return fail("socket failed");

    // Non-blocking connect bounded by the connect time-out; the outcome is read from SO_ERROR.
    int flags = ::fcntl(sock.get(), F_GETFL, 0);
    if (flags < 0 || ::fcntl(sock.get(), F_SETFL, flags | O_NONBLOCK) < 0)
        return fail("socket option failed");
    if (::connect(sock.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS)
            return fail(std::string("connect failed: ") + std::strerror(errno));
        pollfd p{sock.get(), POLLOUT, 0};
        int ready;
        do {
            ready = ::poll(&p, 1, m_options.connectTimeoutMs);
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0)
            return fail("connect time-out");
        int soError = 0;
        socklen_t len = sizeof soError;
        if (::getsockopt(sock.get(), SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError != 0)
            return fail(std::string("connect failed: ") + std::strerror(soError));
    }
    if (::fcntl(sock.get(), F_SETFL, flags) < 0)
        return fail("socket option failed");

    int sendMs = m_options.sendTimeoutMs > 0 ? m_options.sendTimeoutMs : sendTimeoutForUrl(url);
    timeval sendTv = toTimeval(sendMs);
    timeval recvTv = toTimeval(m_options.receiveTimeoutMs);
    if (::setsockopt(sock.get(), SOL_SOCKET, SO_SNDTIMEO, &sendTv, sizeof sendTv) != 0 ||
        ::setsockopt(sock.get(), SOL_SOCKET, SO_RCVTIMEO, &recvTv, sizeof recvTv) != 0)
        return fail("socket option failed");

    SocketLink link;
    link.fd = sock.get();
    std::unique_ptr<SSL_CTX, SslCtxFree> ctx;
    std::unique_ptr<SSL, SslFree> ssl;
    const std::string text = buildRequestText(form, tls, body, bodyLength, parts.path, parts.host, extraLine);

    if (tls) {
        OPENSSL_init_ssl(0, nullptr);
        ERR_clear_error();
        ctx.reset(SSL_CTX_new(TLS_client_method()));
        if (!ctx)
            return fail("SSL_CTX_new failed: " + openSslErrors());
        SSL_CTX_set_min_proto_version(ctx.get(), TLS1_2_VERSION);
        SSL_CTX_set_options(ctx.get(), SSL_OP_IGNORE_UNEXPECTED_EOF);
        SSL_CTX_set_verify(ctx.get(), SSL_VERIFY_PEER, nullptr);
        if (SSL_CTX_set_default_verify_paths(ctx.get()) != 1)
            return fail("system CA certificates unavailable: " + openSslErrors());
        if (!m_options.caFile.empty() &&
            SSL_CTX_load_verify_locations(ctx.get(), m_options.caFile.c_str(), nullptr) != 1)
            return fail("cannot load CA file " + m_options.caFile + ": " + openSslErrors());
        ssl.reset(SSL_new(ctx.get()));
        if (!ssl) {
            std::printf("SSL_new failed\n");
            return fail("SSL_new failed");
        }
        in_addr literal{};
        if (::inet_pton(AF_INET, hostName.c_str(), &literal) == 1) {
            if (X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl.get()), hostName.c_str()) != 1)
                return fail("cannot set the expected address");
        } else {
            SSL_set_hostflags(ssl.get(), X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
            if (SSL_set_tlsext_host_name(ssl.get(), hostName.c_str()) != 1 ||
                SSL_set1_host(ssl.get(), hostName.c_str()) != 1)
                return fail("cannot set the server name");
        }
        BIO* bio = BIO_new(socketLinkMethod());
        if (!bio)
            return fail("BIO_new failed");
        BIO_set_data(bio, &link);
        SSL_set_bio(ssl.get(), bio, bio);

        if (SSL_connect(ssl.get()) != 1) {
            long verify = SSL_get_verify_result(ssl.get());
            if (verify != X509_V_OK)
                return fail(std::string("certificate refused: ") + X509_verify_cert_error_string(verify));
            if (link.lastErrno == EAGAIN || link.lastErrno == EWOULDBLOCK)
                return fail("TLS handshake time-out");
            return fail("TLS handshake failed: " + openSslErrors());
        }
        size_t written = 0;
        while (written < text.size()) {
            size_t n = 0;
            if (SSL_write_ex(ssl.get(), text.data() + written, text.size() - written, &n) != 1)
                return fail("TLS write failed");
            written += n;
        }
    } else {
        size_t written = 0;
        while (written < text.size()) {
            ssize_t n = ::send(sock.get(), text.data() + written, text.size() - written, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return fail("send failed");
            written += static_cast<size_t>(n);
        }
    }
    reply.request = text;

    // Head: up to the first empty line (lines may end in LF alone); a close before it ends the head.
    Reader reader(ssl.get(), link);
    std::string head;
    int lineChars = 0;
    bool closed = false;
    for (;;) {
        char c;
        Reader::Result r = reader.byte(c);
        if (r == Reader::Failed)
            return fail(reader.error());
        if (r == Reader::Closed) {
            closed = true;
            break;
        }
        if (head.size() >= m_options.maxHeadBytes)
            return fail("reply head too large");
        head += c;
        if (c == '\n') {
            if (lineChars == 0)
                break;
            lineChars = 0;
        } else if (c != '\r') {
            ++lineChars;
        }
    }
    if (head.empty())
        return fail("no reply");

    // Status line and the framing headers.
    long long contentLength = -1;
    bool chunked = false;
    {
        size_t lineEnd = head.find('\n');
        reply.status = parseStatus(head);
        size_t pos = lineEnd == std::string::npos ? head.size() : lineEnd + 1;
        while (pos < head.size()) {
            size_t next = head.find('\n', pos);
            if (next == std::string::npos)
                next = head.size();
            std::string line = head.substr(pos, next - pos);
            pos = next + 1;
            size_t colon = line.find(':');
            if (colon == std::string::npos)
                continue;
            std::string name = trim(line.substr(0, colon));
            std::string value = trim(line.substr(colon + 1));
            if (equalsNoCase(name, "Content-Length")) {
                if (value.empty() || value.size() > 18 ||
                    value.find_first_not_of("0123456789") != std::string::npos ||
                    (contentLength >= 0 && std::stoll(value) != contentLength))
                    return fail("invalid Content-Length");
                contentLength = std::stoll(value);
            } else if (equalsNoCase(name, "Transfer-Encoding")) {
                std::string v = lowerCase(value);
                if (v.size() >= 7 && v.compare(v.size() - 7, 7, "chunked") == 0)
                    chunked = true;
            }
        }
    }

    std::string bodyText;
    const size_t cap = m_options.maxBodyBytes;
    if (closed) {
        // Head only, ended by the close.
    } else if (chunked) {
        for (;;) {
            std::string sizeLine;
            for (;;) {
                char c;
                Reader::Result r = reader.byte(c);
                if (r == Reader::Failed)
                    return fail(reader.error());
                if (r == Reader::Closed)
                    return fail("chunked body cut short");
                if (c == '\n')
                    break;
                if (sizeLine.size() >= 1024)
                    return fail("invalid chunk size line");
                sizeLine += c;
            }
            std::string hex = trim(sizeLine.substr(0, sizeLine.find(';')));
            if (hex.empty() || hex.size() > 15 ||
                hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                return fail("invalid chunk size");
            unsigned long long size = std::stoull(hex, nullptr, 16);
            if (size == 0)
                break;
            if (size > cap - bodyText.size())
                return fail("reply body too large");
            size_t target = bodyText.size() + static_cast<size_t>(size);
            while (bodyText.size() < target) {
                Reader::Result r = reader.some(bodyText, target - bodyText.size());
                if (r == Reader::Failed)
                    return fail(reader.error());
                if (r == Reader::Closed)
                    return fail("chunked body cut short");
            }
            char c1, c2;
            if (reader.byte(c1) != Reader::Ok || (c1 == '\r' && reader.byte(c2) != Reader::Ok) ||
                (c1 == '\r' ? c2 : c1) != '\n')
                return fail("invalid chunk end");
        }
        // Trailer lines up to the empty line; a close here is tolerated.
        int chars = 0;
        size_t trailer = 0;
        for (;;) {
            char c;
            Reader::Result r = reader.byte(c);
            if (r == Reader::Failed)
                return fail(reader.error());
            if (r == Reader::Closed)
                break;
            if (++trailer > m_options.maxHeadBytes)
                return fail("reply trailer too large");
            if (c == '\n') {
                if (chars == 0)
                    break;
                chars = 0;
            } else if (c != '\r') {
                ++chars;
            }
        }
    } else if (contentLength >= 0) {
        if (static_cast<unsigned long long>(contentLength) > cap)
            return fail("reply body too large");
        size_t target = static_cast<size_t>(contentLength);
        while (bodyText.size() < target) {
            Reader::Result r = reader.some(bodyText, target - bodyText.size());
            if (r == Reader::Failed)
                return fail(reader.error());
            if (r == Reader::Closed)
                return fail("reply body cut short");
        }
    } else {
        for (;;) {
            Reader::Result r = reader.some(bodyText, kReadPiece);
            if (r == Reader::Failed)
                return fail(reader.error());
            if (r == Reader::Closed)
                break;
            if (bodyText.size() > cap)
                return fail("reply body too large");
        }
    }
    reply.head = std::move(head);
    reply.body = std::move(bodyText);

    if (ssl)
        SSL_shutdown(ssl.get());
    return 0;
}

bool CHttpRequest::post(const std::string& url, const std::string& body, const std::string& extraLine,
                        std::string& requestText, std::string& replyHead, std::string& replyBody) {
    HttpReply reply;
    const std::string copy = body;
    if (sendRequest(true, true, url, copy.c_str(), copy.size(), reply, extraLine) != 0)
        return false;
    requestText = std::move(reply.request);
    replyHead = std::move(reply.head);
    replyBody = std::move(reply.body);
    return true;
}
