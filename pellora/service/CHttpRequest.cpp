#include "CHttpRequest.h"

#include "HttpLink.h"
#include "HttpReader.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

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

std::string lowerCase(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
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
    // The path goes into the request line as it is: blanks and control bytes are refused.
    for (unsigned char c : parts.path)
        if (c <= 0x20 || c >= 0x7F)
            return false;

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

    Fd sock(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (sock.get() < 0)
        return fail("socket failed");

    // From the connect on, the whole exchange runs against one deadline.
    const int sendMs = m_options.sendTimeoutMs > 0 ? m_options.sendTimeoutMs : sendTimeoutForUrl(url);
    HttpLink link(sock.get(), HttpLink::Clock::now() + std::chrono::milliseconds(exchangeTimeoutMs(sendMs)),
                  sendMs, m_options.receiveTimeoutMs);
    if (::connect(sock.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (errno != EINPROGRESS)
            return fail(std::string("connect failed: ") + std::strerror(errno));
        if (!link.finishConnect(m_options.connectTimeoutMs)) {
            if (link.lastErrno() == EAGAIN || link.lastErrno() == ETIMEDOUT)
                return fail("connect time-out");
            return fail(std::string("connect failed: ") + std::strerror(link.lastErrno()));
        }
    }

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
            // A name matches a DNS name of subjectAltName only, never the subject's common name.
            SSL_set_hostflags(ssl.get(),
                              X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS | X509_CHECK_FLAG_NEVER_CHECK_SUBJECT);
            if (SSL_set_tlsext_host_name(ssl.get(), hostName.c_str()) != 1 ||
                SSL_set1_host(ssl.get(), hostName.c_str()) != 1)
                return fail("cannot set the server name");
        }
        BIO* bio = link.makeBio();
        if (!bio)
            return fail("BIO_new failed");
        SSL_set_bio(ssl.get(), bio, bio);

        if (SSL_connect(ssl.get()) != 1) {
            long verify = SSL_get_verify_result(ssl.get());
            if (verify != X509_V_OK)
                return fail(std::string("certificate refused: ") + X509_verify_cert_error_string(verify));
            if (link.lastErrno() != 0)
                return fail(link.errorText("TLS handshake failed", "TLS handshake time-out"));
            return fail("TLS handshake failed: " + openSslErrors());
        }
        size_t written = 0;
        while (written < text.size()) {
            size_t n = 0;
            if (SSL_write_ex(ssl.get(), text.data() + written, text.size() - written, &n) != 1)
                return fail(link.errorText("TLS write failed", "send time-out"));
            written += n;
        }
    } else {
        size_t written = 0;
        while (written < text.size()) {
            const long n = link.send(text.data() + written, text.size() - written);
            if (n <= 0)
                return fail(link.errorText("send failed", "send time-out"));
            written += static_cast<size_t>(n);
        }
    }
    reply.request = text;

    HttpReader reader(ssl.get(), link);
    if (!readReply(reader, reply)) {
        reply.head.clear();
        reply.body.clear();
        return 1;
    }
    if (ssl)
        SSL_shutdown(ssl.get());
    return 0;
}

long long CHttpRequest::exchangeTimeoutMs(int sendMs) const {
    if (m_options.exchangeTimeoutMs > 0)
        return m_options.exchangeTimeoutMs;
    // In 64 bits: the three limits come from the ini file and may be large.
    return static_cast<long long>(std::max(0, m_options.connectTimeoutMs)) + std::max(0, sendMs) +
           std::max(0, m_options.receiveTimeoutMs);
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
