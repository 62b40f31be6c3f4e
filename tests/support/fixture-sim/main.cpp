// fixture-sim: a fake test fixture for tests and tools/run; `fixture-sim --help` describes the
// command line and the commands it reads on standard input.
#include "FixtureSim.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_quit = 0;

void onSignal(int) {
    g_quit = 1;
}

const char* const kUsage =
    "usage: fixture-sim [--host 127.0.0.1] [--port N] [--port-file FILE] [--results FILE]\n"
    "                   [--device-list JSON] [--unknown pass|silent|nomac] [--delay MS] [--no-heartbeat]\n"
    "A fake test fixture speaking the fixture wire protocol on HOST:PORT (127.0.0.0/8 only;\n"
    "port 0, the default, takes an ephemeral port). Prints \"fixture-sim listening on HOST:PORT\";\n"
    "--port-file writes the port number to FILE. --results: a JSON array of test_result objects\n"
    "(or an object MAC -> result). MACs without a result: all-pass result (pass, the default), no\n"
    "answer (silent) or a result without a MAC (nomac). --delay: ms before each device_list or\n"
    "test_result reply. --no-heartbeat: heartbeats stay unanswered.\n"
    "Commands on standard input, one per line:\n"
    "  result MAC JSON     set the result of MAC      push JSON        push a test_result\n"
    "  heartbeat on|off    answer heartbeats or not   delay MS         reply delay\n"
    "  split N,N,...       cut replies at these bytes (split none: whole)\n"
    "  frame TYPE JSON     send any frame             garbage HEX      send raw bytes\n"
    "  close               drop every connection      refuse on|off    stop/resume listening\n"
    "  unknown pass|silent|nomac                      quit\n"
    "End of input leaves it running; SIGINT or SIGTERM ends it.\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

bool parseUnknown(const std::string& text, FixtureSim::Unknown& out) {
    if (text == "pass")
        out = FixtureSim::Unknown::Pass;
    else if (text == "silent")
        out = FixtureSim::Unknown::Silent;
    else if (text == "nomac")
        out = FixtureSim::Unknown::NoMac;
    else
        return false;
    return true;
}

std::string fromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16)));
    return bytes;
}

// Returns false on "quit".
bool command(FixtureSim& sim, const std::string& line) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    std::string rest;
    std::getline(in >> std::ws, rest);
    if (word == "quit")
        return false;
    if (word == "result") {
        std::istringstream r(rest);
        std::string mac, json;
        r >> mac;
        std::getline(r >> std::ws, json);
        sim.setResult(mac, json);
    } else if (word == "push") {
        sim.push(rest);
    } else if (word == "heartbeat") {
        sim.setAnswerHeartbeat(rest != "off");
    } else if (word == "delay") {
        sim.setReplyDelayMs(std::atoi(rest.c_str()));
    } else if (word == "split") {
        std::vector<std::size_t> offsets;
        std::istringstream s(rest);
        std::string n;
        while (std::getline(s, n, ','))
            if (!n.empty() && n != "none")
                offsets.push_back(static_cast<std::size_t>(std::strtoul(n.c_str(), nullptr, 10)));
        sim.setSplit(offsets);
    } else if (word == "frame") {
        std::istringstream f(rest);
        int type = 1;
        std::string json;
        f >> type;
        std::getline(f >> std::ws, json);
        sim.sendFrame(static_cast<std::uint8_t>(type), json);
    } else if (word == "garbage") {
        sim.sendRaw(fromHex(rest));
    } else if (word == "close") {
        sim.closeClients();
    } else if (word == "refuse") {
        sim.setRefusing(rest != "off");
    } else if (word == "unknown") {
        FixtureSim::Unknown policy;
        if (parseUnknown(rest, policy))
            sim.setUnknown(policy);
    } else if (!word.empty()) {
        std::fprintf(stderr, "fixture-sim: unknown command: %s\n", word.c_str());
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::string host = "127.0.0.1";
    std::string portFile;
    std::string results;
    long port = 0;
    FixtureSim sim;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (arg == "--host" && (v = value()))
            host = v;
        else if (arg == "--port" && (v = value()))
            port = std::strtol(v, nullptr, 10);
        else if (arg == "--port-file" && (v = value()))
            portFile = v;
        else if (arg == "--results" && (v = value()))
            results = v;
        else if (arg == "--device-list" && (v = value()))
            sim.setDeviceList(v);
        else if (arg == "--delay" && (v = value()))
            sim.setReplyDelayMs(std::atoi(v));
        else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--no-heartbeat")
            sim.setAnswerHeartbeat(false);
        else if (arg == "--unknown" && (v = value())) {
            FixtureSim::Unknown policy;
            if (!parseUnknown(v, policy))
                return usage();
            sim.setUnknown(policy);
        } else
            return usage();
    }
    if (port < 0 || port > 65535)
        return usage();
    if (!results.empty()) {
        std::string error;
        if (!sim.loadResults(results, &error)) {
            std::fprintf(stderr, "fixture-sim: %s: %s\n", results.c_str(), error.c_str());
            return 1;
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
    if (!sim.start(static_cast<std::uint16_t>(port), host)) {
        std::fprintf(stderr, "fixture-sim: cannot listen on %s:%ld\n", host.c_str(), port);
        return 1;
    }
    if (!portFile.empty()) {
        const std::string tmp = portFile + ".tmp";
        std::ofstream(tmp) << sim.port() << "\n";
        std::rename(tmp.c_str(), portFile.c_str());
    }
    std::printf("fixture-sim listening on %s:%u\n", host.c_str(), static_cast<unsigned>(sim.port()));
    std::fflush(stdout);

    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);

    // Commands are read on a detached reader; the main thread watches for the end.
    static std::atomic<bool> quitRequested{false};
    std::thread([&sim] {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!command(sim, line)) {
                quitRequested.store(true);
                return;
            }
        }
    }).detach();
    while (!g_quit && !quitRequested.load())
        usleep(20000);
    sim.stop();
    return 0;
}
