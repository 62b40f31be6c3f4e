#include "CHttpRequest.h"
#include "TlsTestServer.h"

#include <gtest/gtest.h>

#include <openssl/ssl.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

using testsupport::ScriptedReply;
using testsupport::TlsTestServer;

namespace {

const char kOkBody[] = "{\"code\":0}";

HttpOptions trusting(const TlsTestServer& server) {
    HttpOptions o;
    o.caFile = server.caFile();
    o.receiveTimeoutMs = 3000;
    return o;
}

struct Posted {
    bool ok = false;
    std::string request, head, body, error;
};

Posted post(const HttpOptions& options, const std::string& url, const std::string& body = "{}",
            const std::string& extra = std::string()) {
    CHttpRequest http(options);
    Posted p;
    p.ok = http.post(url, body, extra, p.request, p.head, p.body);
    p.error = http.lastError();
    return p;
}

int freePort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

} // namespace

TEST(HttpRequestUrl, SplitsSchemeHostPortAndPath) {
    CHttpRequest::UrlParts p;
    ASSERT_TRUE(CHttpRequest::splitUrl(true, "https://service.example.com/api/x", p));
    EXPECT_EQ("HTTPS", p.scheme);
    EXPECT_EQ("SERVICE.EXAMPLE.COM", p.host);
    EXPECT_EQ(443, p.port);
    EXPECT_EQ("/api/x", p.path);

    ASSERT_TRUE(CHttpRequest::splitUrl(false, "http://Host:8080/Mixed/Case?q=A", p));
    EXPECT_EQ("HOST", p.host);
    EXPECT_EQ(8080, p.port);
    EXPECT_EQ("/Mixed/Case?q=A", p.path);

    ASSERT_TRUE(CHttpRequest::splitUrl(false, "http://host", p));
    EXPECT_EQ(80, p.port);
    EXPECT_EQ("", p.path);

    // Without a scheme the text before the port's colon is taken as the scheme.
    ASSERT_TRUE(CHttpRequest::splitUrl(true, "host:8443/x", p));
    EXPECT_EQ("HOST", p.scheme);
    EXPECT_EQ("8443", p.host);
    EXPECT_EQ(443, p.port);

    EXPECT_FALSE(CHttpRequest::splitUrl(true, "https://host:99999/", p));
    EXPECT_FALSE(CHttpRequest::splitUrl(true, "https://host:/", p));
    EXPECT_FALSE(CHttpRequest::splitUrl(true, "https:///path", p));
}

TEST(HttpRequestUrl, SendTimeoutBySubstring) {
    EXPECT_EQ(60000, CHttpRequest::sendTimeoutForUrl("http://a/cgi.htm?sdformat=1"));
    EXPECT_EQ(20000, CHttpRequest::sendTimeoutForUrl("http://a/cgi.htm?sdinfo"));
    EXPECT_EQ(20000, CHttpRequest::sendTimeoutForUrl("http://a/x?timefrequency=-1"));
    EXPECT_EQ(1000, CHttpRequest::sendTimeoutForUrl("https://a/api/account/login-with-data"));
}

TEST(HttpRequestText, ExactBytes) {
    const std::string body = "{\"a\":1}";
    EXPECT_EQ("POST /api/x HTTP/1.1\r\n"
              "Accept: */*\r\n"
              "Accept-Language: en-us\r\n"
              "Accept-Encoding: gzip, default\r\n"
              "User-Agent: http client\r\n"
              "Authorization: Basic\r\n"
              "Connection: close Cookie: PexorID=abc\r\n"
              "Content-Length: 7\r\n"
              "Host: HOST\r\n"
              "Content-Type: application/x-www-form-urlencoded\r\n"
              "Cookie: PexorID=abc\r\n"
              "\r\n"
              "{\"a\":1}",
              CHttpRequest::buildRequestText(true, true, body.c_str(), body.size(), "/api/x", "HOST",
                                             "Cookie: PexorID=abc"));
    // TLS with an empty extra line keeps the blank behind "close".
    EXPECT_EQ("POST / HTTP/1.1\r\nAccept: */*\r\nAccept-Language: en-us\r\nAccept-Encoding: gzip, default\r\n"
              "User-Agent: http client\r\nAuthorization: Basic\r\nConnection: close \r\nHost: H\r\n"
              "Content-Type: application/x-www-form-urlencoded\r\n\r\n",
              CHttpRequest::buildRequestText(true, true, "", 0, "", "H", ""));
    EXPECT_EQ("GET /p HTTP/1.1\r\nAccept: */*\r\nAccept-Language: en-us\r\nAccept-Encoding: gzip, default\r\n"
              "User-Agent: http client\r\nAuthorization: Basic X\r\nHost: H\r\n\r\n",
              CHttpRequest::buildRequestText(false, false, nullptr, 0, "/p", "H", "X"));
}

TEST(HttpRequestTls, VerifiedPostSendsAndReadsExactBytes) {
    TlsTestServer server;
    server.enqueue(ScriptedReply::http(200, "OK", kOkBody));
    Posted p = post(trusting(server), server.baseUrl() + "api/x", "{\"k\":\"v\"}", "Cookie: PexorID=1");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(kOkBody, p.body);
    EXPECT_EQ(0u, p.head.find("HTTP/1.1 200 OK\r\n"));
    EXPECT_EQ(p.head.size() - 4, p.head.find("\r\n\r\n"));
    ASSERT_TRUE(server.waitForExchanges(1, 2000));
    auto ex = server.exchanges();
    EXPECT_TRUE(ex[0].handshakeOk);
    EXPECT_EQ(p.request, ex[0].request);
    EXPECT_EQ("", ex[0].serverName); // no SNI for an address
    EXPECT_NE(std::string::npos, p.request.find("\r\nHost: 127.0.0.1\r\n"));
}

TEST(HttpRequestTls, HostNameIsSentAsServerNameAndChecked) {
    TlsTestServer server;
    server.enqueue(ScriptedReply::http(200, "OK", kOkBody));
    Posted p = post(trusting(server), server.baseUrl("localhost") + "api/x");
    ASSERT_TRUE(p.ok) << p.error;
    ASSERT_TRUE(server.waitForExchanges(1, 2000));
    EXPECT_EQ("localhost", server.exchanges()[0].serverName);
    EXPECT_NE(std::string::npos, p.request.find("\r\nHost: LOCALHOST\r\n"));
}

TEST(HttpRequestTls, UntrustedOrMismatchedCertificateIsRefused) {
    {
        TlsTestServer server; // its CA is not given to the client
        Posted p = post(HttpOptions(), server.baseUrl() + "api/x");
        EXPECT_FALSE(p.ok);
        EXPECT_NE(std::string::npos, p.error.find("certificate")) << p.error;
        ASSERT_TRUE(server.waitForExchanges(1, 2000));
        EXPECT_FALSE(server.exchanges()[0].handshakeOk);
        EXPECT_EQ("", server.exchanges()[0].request);
    }
    {
        TlsTestServer::Options o;
        o.dnsNames = {"other.test"};
        o.ipAddresses = {};
        TlsTestServer server(o);
        Posted p = post(trusting(server), server.baseUrl() + "api/x");
        EXPECT_FALSE(p.ok);
        EXPECT_NE(std::string::npos, p.error.find("certificate")) << p.error;
    }
    {
        HttpOptions o;
        o.caFile = "/nonexistent/ca.pem";
        TlsTestServer server;
        EXPECT_FALSE(post(o, server.baseUrl() + "api/x").ok);
    }
}

TEST(HttpRequestTls, ProtocolsOlderThanTls12AreRefused) {
    TlsTestServer::Options o;
    o.maxTlsVersion = TLS1_1_VERSION;
    TlsTestServer server(o);
    server.enqueue(ScriptedReply::http(200, "OK", kOkBody));
    Posted p = post(trusting(server), server.baseUrl() + "api/x");
    EXPECT_FALSE(p.ok);
    ASSERT_TRUE(server.waitForExchanges(1, 2000));
    EXPECT_FALSE(server.exchanges()[0].handshakeOk);
}

// A server that says nothing, or stops amid the body, is left at the receive time-out.
TEST(HttpRequestFailures, SilentOrStalledServerTimesOut) {
    const ScriptedReply replies[] = {
        ScriptedReply::silent(5000),
        ScriptedReply().send("HTTP/1.1 200 OK\r\nContent-Length: 20\r\n\r\n{\"code\"").pause(4000)};
    for (const ScriptedReply& reply : replies) {
        TlsTestServer server;
        server.enqueue(reply);
        HttpOptions o = trusting(server);
        o.receiveTimeoutMs = 300;
        const auto start = std::chrono::steady_clock::now();
        Posted p = post(o, server.baseUrl() + "api/x");
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
                .count();
        EXPECT_FALSE(p.ok);
        EXPECT_EQ("receive time-out", p.error);
        EXPECT_LT(ms, 2500);
        EXPECT_GE(ms, 250);
    }
}

TEST(HttpRequestFailures, RefusedConnectFails) {
    HttpOptions o;
    auto start = std::chrono::steady_clock::now();
    Posted p = post(o, "https://127.0.0.1:" + std::to_string(freePort()) + "/api/x");
    EXPECT_FALSE(p.ok);
    EXPECT_NE(std::string::npos, p.error.find("connect failed")) << p.error;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(HttpRequestFailures, PeerResetDuringLargeWriteFailsWithoutSigpipe) {
    for (bool tls : {true, false}) {
        TlsTestServer::Options so;
        so.tls = tls;
        TlsTestServer server(so);
        server.enqueue(ScriptedReply().readRequest(false).shutdownWrite().pause(300).abort());
        HttpOptions o = trusting(server);
        o.sendTimeoutMs = 3000;
        CHttpRequest http(o);
        HttpReply reply;
        const std::string big(32 * 1024 * 1024, 'x');
        // A SIGPIPE would end the test process here.
        EXPECT_EQ(1,
                  http.sendRequest(true, tls, server.baseUrl() + "api/x", big.data(), big.size(), reply, ""));
        EXPECT_TRUE(reply.request.empty());
    }
}

TEST(HttpRequestReply, ChunkedBodyIsDecoded) {
    TlsTestServer server;
    const std::string body = "{\"code\":0,\"data\":{\"verify\":\"" + std::string(300, 'z') + "\"}}";
    server.enqueue(ScriptedReply::chunked(body, 7));
    Posted p = post(trusting(server), server.baseUrl() + "api/x");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(body, p.body);
}

TEST(HttpRequestReply, ContentLengthEndsTheBodyWithoutWaitingForClose) {
    TlsTestServer server;
    server.enqueue(
        ScriptedReply().send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA").pause(3000));
    auto start = std::chrono::steady_clock::now();
    Posted p = post(trusting(server), server.baseUrl() + "api/x");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ("hello", p.body);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
}

TEST(HttpRequestReply, HeadFormsAndTruncation) {
    TlsTestServer server;
    // Lines ended by line feeds alone.
    server.enqueue(ScriptedReply().send("HTTP/1.1 200 OK\nX: y\n\nbody-until-close"));
    // No empty line: head only up to the close.
    server.enqueue(ScriptedReply().send("HTTP/1.1 200 OK\r\nX: y\r\n"));
    // Body shorter than announced.
    server.enqueue(ScriptedReply().send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort"));
    // Conflicting lengths.
    server.enqueue(
        ScriptedReply().send("HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab"));
    // Broken chunk size.
    server.enqueue(ScriptedReply().send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n"));
    // Nothing at all.
    server.enqueue(ScriptedReply());
    HttpOptions o = trusting(server);

    Posted p = post(o, server.baseUrl() + "a");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ("HTTP/1.1 200 OK\nX: y\n\n", p.head);
    EXPECT_EQ("body-until-close", p.body);

    p = post(o, server.baseUrl() + "a");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ("HTTP/1.1 200 OK\r\nX: y\r\n", p.head);
    EXPECT_EQ("", p.body);

    EXPECT_FALSE(post(o, server.baseUrl() + "a").ok);
    EXPECT_FALSE(post(o, server.baseUrl() + "a").ok);
    EXPECT_FALSE(post(o, server.baseUrl() + "a").ok);
    EXPECT_FALSE(post(o, server.baseUrl() + "a").ok);
}

TEST(HttpRequestReply, HeadAndBodyAreCapped) {
    TlsTestServer server;
    server.enqueue(ScriptedReply().send("HTTP/1.1 200 OK\r\nX: " + std::string(100000, 'h') + "\r\n\r\n"));
    server.enqueue(ScriptedReply::http(200, "OK", std::string(5000, 'b')));
    server.enqueue(ScriptedReply().send("HTTP/1.1 200 OK\r\n\r\n" + std::string(5000, 'b')));
    server.enqueue(ScriptedReply::chunked(std::string(5000, 'b'), 1000));
    HttpOptions o = trusting(server);
    o.maxBodyBytes = 4096;
    Posted p = post(o, server.baseUrl() + "a");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ("reply head too large", p.error);
    for (int i = 0; i < 3; ++i) {
        p = post(o, server.baseUrl() + "a");
        EXPECT_FALSE(p.ok);
        EXPECT_EQ("reply body too large", p.error);
    }
}

TEST(HttpRequestReply, LongUrlAndPlainHttp) {
    TlsTestServer::Options so;
    so.tls = false;
    TlsTestServer server(so);
    server.enqueue(ScriptedReply::http(200, "OK", kOkBody));
    const std::string path = "api/" + std::string(20000, 'p');
    CHttpRequest http;
    HttpReply reply;
    ASSERT_EQ(0, http.sendRequest(true, false, server.baseUrl() + path, "", 0, reply, "Cookie: x"));
    EXPECT_EQ(200, reply.status);
    EXPECT_EQ(kOkBody, reply.body);
    ASSERT_TRUE(server.waitForExchanges(1, 2000));
    EXPECT_EQ(reply.request, server.exchanges()[0].request);
    EXPECT_EQ(0u, reply.request.find("POST /" + path + " HTTP/1.1\r\n"));
}

TEST(HttpRequestReply, StatusLineParsing) {
    EXPECT_EQ(200, CHttpRequest::parseStatus("HTTP/1.1 200 OK\r\n"));
    EXPECT_EQ(404, CHttpRequest::parseStatus("HTTP/1.0 404\r\n"));
    EXPECT_EQ(0, CHttpRequest::parseStatus("HTTP/1.1 2000 OK\r\n"));
    EXPECT_EQ(0, CHttpRequest::parseStatus("XTTP/1.1 200 OK\r\n"));
    EXPECT_EQ(500, CHttpRequest::parseStatus("HTTP/1.1 500 Not 200 OK\r\n"));
    EXPECT_EQ(0, CHttpRequest::parseStatus(""));
}

TEST(HttpRequestUrl, BlanksAndControlBytesInThePathAreRefusedUnsent) {
    TlsTestServer server;
    server.enqueue(ScriptedReply::http(200, "OK", kOkBody));
    const char* const paths[] = {"api/x\r\nX-Injected: 1",
                                 "api/x\nHost: other",
                                 "api/x y",
                                 "api/x\ty",
                                 "api/\x01",
                                 "api/\x7f",
                                 "api/\xc3\xa4"};
    for (const char* path : paths) {
        CHttpRequest::UrlParts parts;
        EXPECT_FALSE(CHttpRequest::splitUrl(true, server.baseUrl() + path, parts)) << path;
        Posted p = post(trusting(server), server.baseUrl() + path);
        EXPECT_FALSE(p.ok) << path;
        EXPECT_EQ("invalid URL", p.error);
    }
    // Nothing reached the server before this request.
    ASSERT_TRUE(post(trusting(server), server.baseUrl() + "api/x?a=%20b").ok);
    ASSERT_TRUE(server.waitForExchanges(1, 5000));
    EXPECT_EQ(0u, server.exchanges()[0].request.find("POST /api/x?a=%20b HTTP/1.1\r\n"));
}

TEST(HttpRequestTls, NamedHostMatchesOnlyADnsNameOfTheCertificate) {
    struct Case {
        const char* what;
        std::vector<std::string> dnsNames, ipAddresses;
        std::string commonName;
        bool accepted;
    };
    const Case cases[] = {
        {"DNS name", {"localhost"}, {}, "", true},
        {"another DNS name", {"other.test"}, {"127.0.0.1"}, "other.test", false},
        {"common name only", {}, {}, "localhost", false},
        {"common name and an address", {}, {"127.0.0.1"}, "localhost", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TlsTestServer::Options o;
        o.dnsNames = c.dnsNames;
        o.ipAddresses = c.ipAddresses;
        o.commonName = c.commonName;
        TlsTestServer server(o);
        server.enqueue(ScriptedReply::http(200, "OK", kOkBody));
        Posted p = post(trusting(server), server.baseUrl("localhost") + "api/x");
        EXPECT_EQ(c.accepted, p.ok) << p.error;
        if (!c.accepted) {
            EXPECT_NE(std::string::npos, p.error.find("certificate")) << p.error;
        }
        ASSERT_TRUE(server.waitForExchanges(1, 5000));
        EXPECT_EQ(c.accepted, !server.exchanges()[0].request.empty());
    }
}

TEST(HttpRequestFailures, DrippingServerIsCutByTheExchangeDeadline) {
    // One byte every 100 ms keeps every read within its idle limit.
    auto drip = [](ScriptedReply r, const std::string& bytes) {
        for (char c : bytes)
            r.send(std::string(1, c)).pause(100);
        return r;
    };
    struct Case {
        const char* what;
        bool tlsServer;
        ScriptedReply script;
    };
    const std::string record = std::string("\x16\x03\x03\x40\x00", 5) + std::string(80, 'h');
    const Case cases[] = {
        // A plain server that answers the client's hello with a never-ending TLS record.
        {"handshake", false, drip(ScriptedReply().readRequest(false), record)},
        {"head", true, drip(ScriptedReply(), "HTTP/1.1 200 OK\r\nX-Slow: " + std::string(80, 's'))},
        {"body", true,
         drip(ScriptedReply().send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n"), std::string(80, 'b'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TlsTestServer::Options so;
        so.tls = c.tlsServer;
        TlsTestServer server(so);
        server.enqueue(c.script);
        HttpOptions o;
        o.caFile = c.tlsServer ? server.caFile() : std::string();
        o.connectTimeoutMs = 400;
        o.sendTimeoutMs = 300;
        o.receiveTimeoutMs = 300;
        const auto start = std::chrono::steady_clock::now();
        Posted p = post(o, "https://127.0.0.1:" + std::to_string(server.port()) + "/api/x");
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_FALSE(p.ok);
        EXPECT_EQ("exchange time-out", p.error);
        // 1 s of deadline; the drip would last 8 s.
        EXPECT_LT(elapsed, std::chrono::milliseconds(4000));
        EXPECT_GE(elapsed, std::chrono::milliseconds(900));
    }
}

TEST(HttpRequestReply, TransferCodingsOtherThanChunkedAreRefused) {
    const std::string chunkedBody = "7\r\n{\"a\":1}\r\n0\r\n\r\n";
    struct Case {
        std::string headers;
        std::string body;
        bool accepted;
    };
    const Case cases[] = {
        {"Transfer-Encoding: chunked\r\n", chunkedBody, true},
        {"Transfer-Encoding:  Chunked , \r\n", chunkedBody, true},
        {"Transfer-Encoding: xchunked\r\n", chunkedBody, false},
        {"Transfer-Encoding: gzip\r\nContent-Length: 7\r\n", "{\"a\":1}", false},
        {"Transfer-Encoding: identity\r\nContent-Length: 7\r\n", "{\"a\":1}", false},
        {"Transfer-Encoding: gzip, chunked\r\n", chunkedBody, false},
        {"Transfer-Encoding: chunked\r\nTransfer-Encoding: chunked\r\n", chunkedBody, false},
        {"Transfer-Encoding: chunked;x=1\r\n", chunkedBody, false},
    };
    TlsTestServer server;
    for (const Case& c : cases)
        server.enqueue(ScriptedReply().send("HTTP/1.1 200 OK\r\n" + c.headers + "\r\n" + c.body));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.headers);
        Posted p = post(trusting(server), server.baseUrl() + "a");
        EXPECT_EQ(c.accepted, p.ok) << p.error;
        if (c.accepted)
            EXPECT_EQ("{\"a\":1}", p.body);
        else
            EXPECT_EQ("unsupported transfer coding", p.error);
    }
}

TEST(HttpRequestReply, CloseWithoutCloseNotifyFailsWhereTheCloseEndsTheReply) {
    struct Case {
        const char* what;
        std::string bytes;
        bool accepted;
    };
    const Case cases[] = {
        {"body until close", "HTTP/1.1 200 OK\r\n\r\n{\"code\":0,", false},
        {"head until close", "HTTP/1.1 200 OK\r\nX: y\r\n", false},
        {"whole Content-Length body", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n{}", true},
        {"whole chunked body", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\n{}\r\n0\r\n", true},
    };
    for (bool tls : {true, false}) {
        TlsTestServer::Options so;
        so.tls = tls;
        TlsTestServer server(so);
        // The TCP stream ends without the TLS close_notify.
        for (const Case& c : cases)
            server.enqueue(ScriptedReply().send(c.bytes).shutdownWrite().pause(50).abort());
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (tls ? " over TLS" : " over TCP"));
            CHttpRequest http(trusting(server));
            HttpReply reply;
            const int result = http.sendRequest(true, tls, server.baseUrl() + "a", "{}", 2, reply, "");
            // Plain TCP has no close_notify: there the close ends the reply.
            EXPECT_EQ(c.accepted || !tls ? 0 : 1, result) << http.lastError();
        }
    }
}

TEST(HttpRequestReply, ChunkFramingAndTrailerCountAgainstTheCap) {
    // 100 one-byte chunks with 1000-byte extensions: 100 bytes of body in 100 KB of framing.
    std::string extended = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (int i = 0; i < 100; ++i)
        extended += "1;" + std::string(1000, 'e') + "\r\nb\r\n";
    extended += "0\r\n\r\n";
    std::string trailer = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\n{}\r\n0\r\n";
    for (int i = 0; i < 100; ++i)
        trailer += "X-T: " + std::string(100, 't') + "\r\n";
    trailer += "\r\n";
    TlsTestServer server;
    server.enqueue(ScriptedReply().send(extended));
    server.enqueue(ScriptedReply().send(trailer));
    server.enqueue(ScriptedReply::chunked(std::string(3000, 'b'), 100));
    HttpOptions o = trusting(server);
    o.maxBodyBytes = 4096;
    for (int i = 0; i < 2; ++i) {
        Posted p = post(o, server.baseUrl() + "a");
        EXPECT_FALSE(p.ok);
        EXPECT_EQ("reply body too large", p.error);
    }
    // Framing of a body well within the cap is fine.
    Posted p = post(o, server.baseUrl() + "a");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(std::string(3000, 'b'), p.body);
}

// The exchange's limit is the sum of the three time-outs, which come from the ini file: summed in
// 32 bits these would wrap to a limit already passed (negative or zero) or to a few seconds.
TEST(HttpRequestFailures, LargeTimeOutsDoNotOverflowTheDeadline) {
    const int big = 2147483647;
    struct Case {
        int connectMs, sendMs, receiveMs;
    } cases[] = {
        {big, big, big},         // wraps to 2147483645
        {big, 1000, 12000},      // wraps negative
        {400, 1000, big},        // wraps negative
        {big, big - 1000, 1002}, // wraps to 0, with a receive wait a busy machine meets
        {big, 2, big},           // wraps to 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.connectMs) + " " + std::to_string(c.sendMs) + " " +
                     std::to_string(c.receiveMs));
        TlsTestServer server;
        server.enqueue(ScriptedReply::http(200, "OK", kOkBody));
        HttpOptions o = trusting(server);
        o.connectTimeoutMs = c.connectMs;
        o.sendTimeoutMs = c.sendMs;
        o.receiveTimeoutMs = c.receiveMs;
        Posted p = post(o, server.baseUrl() + "api/x");
        ASSERT_TRUE(p.ok) << p.error;
        EXPECT_EQ(kOkBody, p.body);
    }
}
