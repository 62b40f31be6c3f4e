// fixture-sim: a fake test fixture for tests and tools/run; `fixture-sim --help` describes the
// command line and the commands it reads on standard input.
#include "FixtureSim.h"

#include <json/json.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
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
    "(or an object MAC -> result); an entry with nothing but its MAC gets the all-pass result.\n"
    "MACs without an entry: all-pass result (pass, the default), no answer (silent) or a result\n"
    "without a MAC (nomac). --delay: ms before each device_list or test_result reply.\n"
    "--no-heartbeat: heartbeats stay unanswered.\n"
    "Commands on standard input, one per line:\n"
    "  result MAC JSON     set the result of MAC      push JSON        push a test_result\n"
    "  heartbeat on|off    answer heartbeats or not   delay MS         reply delay\n"
    "  split N,N,...       cut replies at these bytes (split none: whole)\n"
    "  frame TYPE JSON     send any frame             garbage HEX      send raw bytes\n"
    "  close               drop every connection      refuse on|off    stop/resume listening\n"
    "  unknown pass|silent|nomac                      quit\n"
    "A command it cannot take is refused with a message and changes nothing. Connections and\n"
    "disconnections are logged. End of input leaves it running; SIGINT or SIGTERM ends it.\n";

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

// A whole decimal number in [low, high].
bool parseNumber(const std::string& text, long low, long high, long& out) {
    if (text.empty() || text.size() > 9)
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    out = std::strtol(text.c_str(), nullptr, 10);
    return out >= low && out <= high;
}

bool parseSwitch(const std::string& text, bool& out) {
    if (text != "on" && text != "off")
        return false;
    out = text == "on";
    return true;
}

bool isJsonObject(const std::string& text) {
    Json::Value value;
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    try {
        return reader->parse(text.data(), text.data() + text.size(), &value, nullptr) && value.isObject();
    } catch (...) {
        return false;
    }
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Bytes of a hex text of an even number of digits; false for anything else.
bool fromHex(const std::string& hex, std::string& bytes) {
    if (hex.empty() || hex.size() % 2 != 0)
        return false;
    bytes.clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex[i]);
        const int low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return true;
}

constexpr long kMaxDelayMs = 600000;

// Runs one command line. Returns false on "quit"; a command it cannot take is refused with a
// message on standard error and changes nothing.
bool command(FixtureSim& sim, const std::string& line) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    std::string rest;
    std::getline(in >> std::ws, rest);
    while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t' || rest.back() == '\r'))
        rest.pop_back();
    auto refuse = [&word](const char* expected) {
        std::fprintf(stderr, "fixture-sim: %s: expected %s\n", word.c_str(), expected);
        std::fflush(stderr);
        return true;
    };
    if (word == "quit")
        return false;
    if (word == "result") {
        std::istringstream r(rest);
        std::string mac, json;
        r >> mac;
        std::getline(r >> std::ws, json);
        if (mac.empty() || !isJsonObject(json))
            return refuse("MAC and a JSON object");
        sim.setResult(mac, json);
    } else if (word == "push") {
        if (!isJsonObject(rest))
            return refuse("a JSON object");
        sim.push(rest);
    } else if (word == "heartbeat") {
        bool on = false;
        if (!parseSwitch(rest, on))
            return refuse("on or off");
        sim.setAnswerHeartbeat(on);
    } else if (word == "delay") {
        long ms = 0;
        if (!parseNumber(rest, 0, kMaxDelayMs, ms))
            return refuse("milliseconds from 0 to 600000");
        sim.setReplyDelayMs(static_cast<int>(ms));
    } else if (word == "split") {
        std::vector<std::size_t> offsets;
        if (rest != "none") {
            std::istringstream s(rest);
            std::string n;
            long offset = 0;
            if (rest.empty())
                return refuse("byte offsets N,N,... (1..65543) or none");
            while (std::getline(s, n, ',')) {
                if (!parseNumber(n, 1, 65543, offset))
                    return refuse("byte offsets N,N,... (1..65543) or none");
                offsets.push_back(static_cast<std::size_t>(offset));
            }
        }
        sim.setSplit(offsets);
    } else if (word == "frame") {
        std::istringstream f(rest);
        std::string type, payload;
        f >> type;
        std::getline(f >> std::ws, payload);
        long value = 0;
        if (!parseNumber(type, 0, 255, value))
            return refuse("a frame type 0..255 and a payload");
        sim.sendFrame(static_cast<std::uint8_t>(value), payload);
    } else if (word == "garbage") {
        std::string bytes;
        if (!fromHex(rest, bytes))
            return refuse("an even number of hex digits");
        sim.sendRaw(bytes);
    } else if (word == "close") {
        if (!rest.empty())
            return refuse("no argument");
        sim.closeClients();
    } else if (word == "refuse") {
        bool on = false;
        if (!parseSwitch(rest, on))
            return refuse("on or off");
        sim.setRefusing(on);
    } else if (word == "unknown") {
        FixtureSim::Unknown policy;
        if (!parseUnknown(rest, policy))
            return refuse("pass, silent or nomac");
        sim.setUnknown(policy);
    } else if (!word.empty()) {
        std::fprintf(stderr, "fixture-sim: unknown command: %s\n", word.c_str());
        std::fflush(stderr);
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
        else if (arg == "--port" && (v = value())) {
            if (!parseNumber(v, 0, 65535, port))
                return usage();
        } else if (arg == "--port-file" && (v = value()))
            portFile = v;
        else if (arg == "--results" && (v = value()))
            results = v;
        else if (arg == "--device-list" && (v = value())) {
            if (!isJsonObject(v))
                return usage();
            sim.setDeviceList(v);
        } else if (arg == "--delay" && (v = value())) {
            long ms = 0;
            if (!parseNumber(v, 0, kMaxDelayMs, ms))
                return usage();
            sim.setReplyDelayMs(static_cast<int>(ms));
        } else if (arg == "--help" || arg == "-h") {
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
    // Connections are logged as they come and go.
    int connections = 0;
    int clients = 0;
    while (!g_quit && !quitRequested.load()) {
        usleep(20000);
        const int nowConnections = sim.connections();
        const int nowClients = sim.clients();
        for (; connections < nowConnections; ++connections)
            std::printf("fixture-sim: client connected (%d connected)\n", nowClients);
        if (nowClients < clients)
            std::printf("fixture-sim: client disconnected (%d connected)\n", nowClients);
        clients = nowClients;
        std::fflush(stdout);
    }
    sim.stop();
    return 0;
}
