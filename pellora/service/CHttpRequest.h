// Small blocking HTTP/1.1 client: one connection per request, optional TLS (OpenSSL 3).
#pragma once

#include <cstddef>
#include <string>

class HttpReader;

// Transport settings. Pellora takes them from its ini file (section "SERVICE", see DeviceService.h).
struct HttpOptions {
    std::string caFile;           // extra trusted CA certificates (PEM), besides the system's; may be empty
    int connectTimeoutMs = 400;   // wait for the TCP connect
    int receiveTimeoutMs = 12000; // idle limit of every read (handshake and reply)
    int sendTimeoutMs = 0;        // 0: by URL (sendTimeoutForUrl)
    // Limit of the whole exchange, from the connect to the reply's last byte;
    // 0: connectTimeoutMs + the send time-out + receiveTimeoutMs.
    int exchangeTimeoutMs = 0;
    std::size_t maxHeadBytes = 64 * 1024;
    std::size_t maxBodyBytes = 4 * 1024 * 1024; // every byte after the head, chunk framing included
};

// What one request sent and received.
struct HttpReply {
    std::string request; // request text as sent
    std::string head;    // status line and header lines up to and including the empty line
    std::string body;    // body after transfer decoding (Content-Length / chunked / until close)
    int status = 0;      // status code of the status line, 0 when none could be parsed
};

class CHttpRequest {
public:
    struct UrlParts {
        std::string scheme; // upper-cased
        std::string host;   // upper-cased
        std::string path;   // as given; begins with '/' or is empty
        int port = 0;
    };

    explicit CHttpRequest(HttpOptions options = HttpOptions());
    virtual ~CHttpRequest();

    // Returns false when the port is not a number in 1..65535, the host is empty or the path holds
    // a blank, a control byte or a byte outside ASCII.
    static bool splitUrl(bool tls, const std::string& url, UrlParts& parts);
    static int sendTimeoutForUrl(const std::string& url);
    // Status code of the head's status line ("HTTP/x.y NNN ..."), 0 when it has none.
    static int parseStatus(const std::string& head);
    // body == nullptr: GET, else POST (bodyLength 0: no Content-Length line and no body).
    static std::string buildRequestText(bool form, bool tls, const char* body, std::size_t bodyLength,
                                        const std::string& path, const std::string& host,
                                        const std::string& extraLine);

    // 0: request sent and a complete reply read; 1: any failure (see lastError()).
    virtual int sendRequest(bool form, bool tls, const std::string& url, const char* body,
                            std::size_t bodyLength, HttpReply& reply, const std::string& extraLine);

    // Form-typed POST over TLS. True when a reply was read.
    bool post(const std::string& url, const std::string& body, const std::string& extraLine,
              std::string& requestText, std::string& replyHead, std::string& replyBody);

    const std::string& lastError() const { return m_lastError; }
    const HttpOptions& options() const { return m_options; }

private:
    // Head and body of the reply; false with m_lastError set.
    bool readReply(HttpReader& reader, HttpReply& reply);
    long long exchangeTimeoutMs(int sendMs) const;

    HttpOptions m_options;
    std::string m_lastError;
};
