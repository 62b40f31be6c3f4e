// HTTPS (or plain HTTP) test server on 127.0.0.1 with an ephemeral port. Its CA and certificate are
// made when it starts; it records the raw bytes of every request and plays scripted replies, one
// script per accepted connection, in order.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// What the server does on one connection after reading the request.
class ScriptedReply {
public:
    struct Step {
        enum Kind { Send, Pause, Abort, ShutdownWrite } kind;
        std::string bytes;
        int ms = 0;
    };

    // A complete reply with Content-Length.
    static ScriptedReply http(int status, const std::string& reason, const std::string& body,
                              const std::string& extraHeaders = std::string());
    // A reply in chunked transfer coding, the body cut into pieces of chunkSize bytes.
    static ScriptedReply chunked(const std::string& body, std::size_t chunkSize);
    // Says nothing for ms milliseconds, then closes.
    static ScriptedReply silent(int ms);

    ScriptedReply& send(const std::string& bytes);
    ScriptedReply& pause(int ms);
    ScriptedReply& abort();         // close at once with a reset
    ScriptedReply& shutdownWrite(); // half-close: the client sees the end of the stream
    // false: do not wait for the request before playing the steps.
    ScriptedReply& readRequest(bool read);

    const std::vector<Step>& steps() const { return m_steps; }
    bool readsRequest() const { return m_readRequest; }

private:
    std::vector<Step> m_steps;
    bool m_readRequest = true;
};

struct Exchange {
    bool handshakeOk = false;
    std::string serverName; // SNI sent by the client, empty when none
    std::string request;    // raw request bytes as received
};

class TlsTestServer {
public:
    struct Options {
        bool tls = true;
        std::vector<std::string> dnsNames{"localhost"};
        std::vector<std::string> ipAddresses{"127.0.0.1"};
        int maxTlsVersion = 0;  // 0: library default; e.g. TLS1_1_VERSION to offer old protocols only
        std::string commonName; // subject CN of the server certificate; empty: the first DNS name
    };

    TlsTestServer();
    explicit TlsTestServer(Options options);
    ~TlsTestServer();
    TlsTestServer(const TlsTestServer&) = delete;
    TlsTestServer& operator=(const TlsTestServer&) = delete;

    int port() const { return m_port; }
    // PEM file of the CA that signed the server certificate.
    const std::string& caFile() const { return m_caFile; }
    // "https://127.0.0.1:PORT/" (or http, or with another host name)
    std::string baseUrl(const std::string& host = "127.0.0.1") const;

    // Replies for the next connections; a connection without one is closed after its request.
    void enqueue(ScriptedReply reply);
    std::vector<Exchange> exchanges() const;
    // Waits until count connections have been served completely.
    bool waitForExchanges(std::size_t count, int timeoutMs) const;

private:
    struct Impl;
    void run();
    void serve(int fd);

    Options m_options;
    std::unique_ptr<Impl> m_impl;
    std::string m_dir;
    std::string m_caFile;
    int m_listenFd = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::deque<ScriptedReply> m_replies;
    std::vector<Exchange> m_exchanges;
    std::thread m_thread;
};

} // namespace testsupport
