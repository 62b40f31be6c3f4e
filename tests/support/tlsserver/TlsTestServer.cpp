#include "TlsTestServer.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace testsupport {

namespace {

struct X509Free {
    void operator()(X509* x) const { X509_free(x); }
};
struct KeyFree {
    void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct CtxFree {
    void operator()(SSL_CTX* c) const { SSL_CTX_free(c); }
};
struct SslFree {
    void operator()(SSL* s) const { SSL_free(s); }
};
using X509Ptr = std::unique_ptr<X509, X509Free>;
using KeyPtr = std::unique_ptr<EVP_PKEY, KeyFree>;

void check(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string("TlsTestServer: ") + what);
}

void addExtension(X509* cert, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
    check(ext != nullptr, "extension");
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

X509Ptr makeCertificate(EVP_PKEY* key, const char* commonName, X509* issuer, EVP_PKEY* issuerKey, long serial,
                        const std::string& altNames) {
    X509Ptr cert(X509_new());
    check(cert != nullptr, "X509_new");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 7 * 24 * 3600);
    X509_set_pubkey(cert.get(), key);
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName),
                               -1, -1, 0);
    X509* signer = issuer ? issuer : cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));
    if (!issuer) {
        addExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:TRUE");
        addExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign");
        addExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
    } else {
        addExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:FALSE");
        addExtension(cert.get(), signer, NID_key_usage, "critical,digitalSignature,keyEncipherment");
        addExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth");
        addExtension(cert.get(), signer, NID_authority_key_identifier, "keyid");
        if (!altNames.empty())
            addExtension(cert.get(), signer, NID_subject_alt_name, altNames);
    }
    check(X509_sign(cert.get(), issuer ? issuerKey : key, EVP_sha256()) > 0, "X509_sign");
    return cert;
}

void blockSigpipe() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

} // namespace

struct TlsTestServer::Impl {
    std::unique_ptr<SSL_CTX, CtxFree> ctx;
};

ScriptedReply ScriptedReply::http(int status, const std::string& reason, const std::string& body,
                                  const std::string& extraHeaders) {
    ScriptedReply r;
    r.send("HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\nContent-Type: application/json\r\n" +
           extraHeaders + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
    return r;
}

ScriptedReply ScriptedReply::chunked(const std::string& body, std::size_t chunkSize) {
    ScriptedReply r;
    r.send("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nTransfer-Encoding: chunked\r\n\r\n");
    for (std::size_t pos = 0; pos < body.size(); pos += chunkSize) {
        std::string piece = body.substr(pos, chunkSize);
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
        r.send(size + piece + "\r\n");
    }
    r.send("0\r\n\r\n");
    return r;
}

ScriptedReply ScriptedReply::silent(int ms) {
    ScriptedReply r;
    r.pause(ms);
    return r;
}

ScriptedReply& ScriptedReply::send(const std::string& bytes) {
    m_steps.push_back({Step::Send, bytes, 0});
    return *this;
}

ScriptedReply& ScriptedReply::pause(int ms) {
    m_steps.push_back({Step::Pause, std::string(), ms});
    return *this;
}

ScriptedReply& ScriptedReply::abort() {
    m_steps.push_back({Step::Abort, std::string(), 0});
    return *this;
}

ScriptedReply& ScriptedReply::shutdownWrite() {
    m_steps.push_back({Step::ShutdownWrite, std::string(), 0});
    return *this;
}

ScriptedReply& ScriptedReply::readRequest(bool read) {
    m_readRequest = read;
    return *this;
}

TlsTestServer::TlsTestServer() : TlsTestServer(Options()) {}

TlsTestServer::TlsTestServer(Options options) : m_options(std::move(options)), m_impl(new Impl) {
    char dirTemplate[] = "/tmp/tlsserver.XXXXXX";
    check(mkdtemp(dirTemplate) != nullptr, "mkdtemp");
    m_dir = dirTemplate;
    m_caFile = m_dir + "/ca.pem";

    if (m_options.tls) {
        OPENSSL_init_ssl(0, nullptr);
        KeyPtr caKey(EVP_EC_gen("P-256"));
        KeyPtr serverKey(EVP_EC_gen("P-256"));
        check(caKey && serverKey, "key generation");
        X509Ptr ca = makeCertificate(caKey.get(), "Pellora Test CA", nullptr, nullptr, 1, std::string());
        std::string alt;
        for (const auto& n : m_options.dnsNames)
            alt += (alt.empty() ? "" : ",") + std::string("DNS:") + n;
        for (const auto& a : m_options.ipAddresses)
            alt += (alt.empty() ? "" : ",") + std::string("IP:") + a;
        const char* cn = !m_options.commonName.empty() ? m_options.commonName.c_str()
                         : m_options.dnsNames.empty()  ? "test server"
                                                       : m_options.dnsNames.front().c_str();
        X509Ptr leaf = makeCertificate(serverKey.get(), cn, ca.get(), caKey.get(), 2, alt);

        FILE* f = std::fopen(m_caFile.c_str(), "w");
        check(f != nullptr, "CA file");
        PEM_write_X509(f, ca.get());
        std::fclose(f);

        m_impl->ctx.reset(SSL_CTX_new(TLS_server_method()));
        check(m_impl->ctx != nullptr, "SSL_CTX_new");
        if (m_options.maxTlsVersion) {
            SSL_CTX_set_security_level(m_impl->ctx.get(), 0);
            SSL_CTX_set_min_proto_version(m_impl->ctx.get(), 0);
            SSL_CTX_set_max_proto_version(m_impl->ctx.get(), m_options.maxTlsVersion);
        }
        check(SSL_CTX_use_certificate(m_impl->ctx.get(), leaf.get()) == 1, "certificate");
        check(SSL_CTX_use_PrivateKey(m_impl->ctx.get(), serverKey.get()) == 1, "key");
    }

    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    check(m_listenFd >= 0, "socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    check(::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0, "bind");
    check(::listen(m_listenFd, 8) == 0, "listen");
    socklen_t len = sizeof addr;
    ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    m_thread = std::thread([this] { run(); });
}

TlsTestServer::~TlsTestServer() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    if (m_listenFd >= 0)
        ::close(m_listenFd);
    std::remove(m_caFile.c_str());
    ::rmdir(m_dir.c_str());
}

std::string TlsTestServer::baseUrl(const std::string& host) const {
    return std::string(m_options.tls ? "https://" : "http://") + host + ":" + std::to_string(m_port) + "/";
}

void TlsTestServer::enqueue(ScriptedReply reply) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_replies.push_back(std::move(reply));
}

std::vector<Exchange> TlsTestServer::exchanges() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_exchanges;
}

bool TlsTestServer::waitForExchanges(std::size_t count, int timeoutMs) const {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_exchanges.size() >= count; });
}

void TlsTestServer::run() {
    blockSigpipe();
    while (!m_stop) {
        pollfd p{m_listenFd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0)
            continue;
        int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        serve(fd);
    }
}

void TlsTestServer::serve(int fd) {
    timeval tv{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);

    ScriptedReply script;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_replies.empty()) {
            script = std::move(m_replies.front());
            m_replies.pop_front();
        }
    }

    Exchange exchange;
    std::unique_ptr<SSL, SslFree> ssl;
    if (m_options.tls) {
        ssl.reset(SSL_new(m_impl->ctx.get()));
        SSL_set_fd(ssl.get(), fd);
        exchange.handshakeOk = SSL_accept(ssl.get()) == 1;
        if (const char* sni = SSL_get_servername(ssl.get(), TLSEXT_NAMETYPE_host_name))
            exchange.serverName = sni;
        ERR_clear_error();
    } else {
        exchange.handshakeOk = true;
    }

    auto readSome = [&](char* buf, int size) -> int {
        if (ssl)
            return SSL_read(ssl.get(), buf, size);
        return static_cast<int>(::recv(fd, buf, static_cast<size_t>(size), 0));
    };
    auto writeAll = [&](const std::string& bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            int n =
                ssl ? SSL_write(ssl.get(), bytes.data() + done, static_cast<int>(bytes.size() - done))
                    : static_cast<int>(::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL));
            if (n <= 0)
                return false;
            done += static_cast<size_t>(n);
        }
        return true;
    };

    bool aborted = false;
    if (exchange.handshakeOk) {
        if (script.readsRequest()) {
            // Head up to the empty line, then Content-Length bytes of body.
            std::string& req = exchange.request;
            size_t need = std::string::npos;
            while (!m_stop && (need == std::string::npos || req.size() < need)) {
                char buf[4096];
                int n = readSome(buf, sizeof buf);
                if (n <= 0)
                    break;
                req.append(buf, static_cast<size_t>(n));
                size_t end = req.find("\r\n\r\n");
                if (need == std::string::npos && end != std::string::npos) {
                    size_t length = 0;
                    size_t cl = req.find("\r\nContent-Length: ");
                    if (cl != std::string::npos && cl < end)
                        length = std::strtoul(req.c_str() + cl + 18, nullptr, 10);
                    need = end + 4 + length;
                }
            }
        }
        for (const auto& step : script.steps()) {
            if (m_stop)
                break;
            if (step.kind == ScriptedReply::Step::Send) {
                if (!writeAll(step.bytes))
                    break;
            } else if (step.kind == ScriptedReply::Step::Pause) {
                auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(step.ms);
                while (!m_stop && std::chrono::steady_clock::now() < until)
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
            } else if (step.kind == ScriptedReply::Step::ShutdownWrite) {
                ::shutdown(fd, SHUT_WR);
            } else {
                linger l{1, 0};
                ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
                aborted = true;
                break;
            }
        }
        if (ssl && !aborted)
            SSL_shutdown(ssl.get());
    }
    ssl.reset();
    ::close(fd);
    ERR_clear_error();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_exchanges.push_back(std::move(exchange));
    }
    m_changed.notify_all();
}

} // namespace testsupport
