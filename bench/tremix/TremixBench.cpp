// Benchmarks of Tremix (not a test):
//  1. round trip of PTQ_FT_GetTestResult through libtremix.so against the fake fixture on
//     loopback, against a raw loopback TCP request/reply of the same bytes to the same fixture;
//  2. frame cutting throughput of the receive buffer.
// Usage: tremix_bench [requests=10000] [cut-megabytes=1024]
#include "CFrameBuffer.h"
#include "FixtureSim.h"
#include "tremix/Tremix.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char* kMac = "AA:BB:CC:DD:EE:01";

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

bool readAll(int fd, char* out, std::size_t n) {
    while (n > 0) {
        const ssize_t got = ::recv(fd, out, n, 0);
        if (got <= 0)
            return false;
        out += got;
        n -= static_cast<std::size_t>(got);
    }
    return true;
}

// One Tremix session and one raw socket to the same fixture; the round trips alternate between
// them, so that both see the same machine load.
struct RoundTrips {
    std::vector<double> tremix;
    std::vector<double> raw;
};

RoundTrips roundTrips(int port, int count) {
    RoundTrips out;
    FixtureLoginInfo info;
    std::memset(&info, 0, sizeof info);
    std::snprintf(info.host, sizeof info.host, "127.0.0.1");
    info.port = port;
    PTQ_FT_Startup();
    const int handle = PTQ_FT_Login(&info);
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(static_cast<std::uint16_t>(port));
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;
    if (handle > 0 && connected) {
        FixtureTestResult result;
        for (int i = 0; i < 300 && PTQ_FT_GetTestResult(handle, kMac, &result) != 1; ++i)
            usleep(10000);
        const std::string payload =
            std::string("{\"action\":\"get\",\"cmd\":\"test_result\",\"mac\":\"") + kMac + "\"}\n";
        const std::string frame = FixtureSim::frame(0, payload);
        std::vector<char> reply(70000);
        auto raw = [&]() {
            if (::send(fd, frame.data(), frame.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(frame.size()))
                return false;
            if (!readAll(fd, reply.data(), 8))
                return false;
            const std::size_t length = static_cast<unsigned char>(reply[4]) |
                                       (static_cast<std::size_t>(static_cast<unsigned char>(reply[5])) << 8);
            return readAll(fd, reply.data() + 8, length);
        };
        auto viaTremix = [&]() { return PTQ_FT_GetTestResult(handle, kMac, &result) == 1; };
        for (int i = 0; i < 200; ++i) {
            viaTremix();
            raw();
        }
        out.tremix.reserve(static_cast<std::size_t>(count));
        out.raw.reserve(static_cast<std::size_t>(count));
        auto timed = [](const auto& once, std::vector<double>& times) {
            const auto t0 = Clock::now();
            const bool ok = once();
            const auto t1 = Clock::now();
            if (ok)
                times.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            return ok;
        };
        for (int i = 0; i < count; ++i) {
            // Alternate which goes first, so that neither always follows the other.
            const bool ok = i % 2 == 0 ? timed(viaTremix, out.tremix) && timed(raw, out.raw)
                                       : timed(raw, out.raw) && timed(viaTremix, out.tremix);
            if (!ok) {
                std::fprintf(stderr, "request %d failed\n", i);
                break;
            }
        }
    }
    ::close(fd);
    if (handle > 0)
        PTQ_FT_Logout(handle);
    PTQ_FT_Cleanup();
    return out;
}

void cutThroughput(std::size_t megabytes) {
    // A stream of typical frames: test_result replies of a few hundred bytes with heartbeats.
    const std::string result = FixtureSim::frame(1, FixtureSim::passResult(kMac));
    const std::string heartbeat = FixtureSim::frame(1, "{\"cmd\":\"heart_beat\"}");
    std::string stream;
    while (stream.size() < 4 * 1024 * 1024)
        stream += result + heartbeat + result;
    const std::size_t chunk = 64 * 1024; // one receive
    const std::size_t total = megabytes * 1024 * 1024;
    tremix::CFrameBuffer buffer;
    std::size_t fed = 0;
    std::size_t frames = 0;
    std::size_t payloadBytes = 0;
    std::size_t pos = 0;
    const auto t0 = Clock::now();
    while (fed < total) {
        const std::size_t n = std::min(chunk, stream.size() - pos);
        buffer.Append(stream.data() + pos, n);
        pos = (pos + n) % stream.size();
        fed += n;
        frames += buffer.Cut([&](const tremix::FixtureFrameHeader&, const char*, std::size_t length) {
            payloadBytes += length;
        });
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    std::printf("frame cutting: %.0f MB/s (%zu MB in %.3f s, %zu frames, %.1f M frames/s, 64 KB receives)\n",
                static_cast<double>(fed) / (1024.0 * 1024.0) / seconds, fed / (1024 * 1024), seconds, frames,
                static_cast<double>(frames) / seconds / 1e6);
    if (payloadBytes == 0)
        std::printf("(no payload)\n");
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::size_t megabytes = argc > 2 ? static_cast<std::size_t>(std::atoll(argv[2])) : 1024;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    FixtureSim sim;
    if (!sim.start()) {
        std::fprintf(stderr, "cannot start the fake fixture\n");
        return 1;
    }
    // Tremix prints its traces on standard output; keep the figures readable.
    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    FILE* quiet = std::freopen("/dev/null", "w", stdout);
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    const RoundTrips trips = roundTrips(sim.port(), count);
    std::fflush(stdout);
    if (quiet)
        dup2(saved, STDOUT_FILENO);
    close(saved);
    sim.stop();
    const std::vector<double>& viaTremix = trips.tremix;
    const std::vector<double>& raw = trips.raw;

    if (viaTremix.size() != static_cast<std::size_t>(count) ||
        raw.size() != static_cast<std::size_t>(count)) {
        std::fprintf(stderr, "round trips incomplete: tremix %zu, raw %zu\n", viaTremix.size(), raw.size());
        return 1;
    }
    const double mt = median(viaTremix);
    const double mr = median(raw);
    std::printf(
        "round trip, %d requests each on loopback against the fake fixture, alternating (load %.2f):\n",
        count, load[0]);
    std::printf("  PTQ_FT_GetTestResult  median %.1f us  (p90 %.1f us, p99 %.1f us)\n", mt,
                percentile(viaTremix, 0.9), percentile(viaTremix, 0.99));
    std::printf("  raw TCP same bytes    median %.1f us  (p90 %.1f us, p99 %.1f us)\n", mr,
                percentile(raw, 0.9), percentile(raw, 0.99));
    std::printf("  ratio %.2f (goal <= 1.0)\n", mt / mr);
    cutThroughput(megabytes);
    return 0;
}
