// Stand-in for the system's ping: answers for addresses that a simulated camera holds (the
// fleet's table of addresses that are up) or that CORVANE_SIM_PING_UP lists; refuses any address
// outside 127.0.0.0/8 with exit status 2. Exit 0: answered, 1: no answer, 2: error.
// CORVANE_SIM_PING_UNROUTABLE lists addresses that no route reaches: like the system's ping, the
// stand-in then fails with status 2 and "ping: connect: Network is unreachable" (in German when
// the messages' locale is German). CORVANE_SIM_PING_LOG names a file that gets one line per run:
// the arguments, separated by blanks.
#include "../SimAddress.h"
#include "../SimUpTable.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

bool listed(const std::string& address, const char* list) {
    if (!list)
        return false;
    // Items separated by blanks, commas or semicolons; no streams, which cost a start-up of
    // their own in every ping.
    const char* p = list;
    while (*p) {
        while (*p && (std::isspace(static_cast<unsigned char>(*p)) || *p == ',' || *p == ';'))
            ++p;
        const char* start = p;
        while (*p && !std::isspace(static_cast<unsigned char>(*p)) && *p != ',' && *p != ';')
            ++p;
        if (p > start && std::string(start, p) == address) // whole items only
            return true;
    }
    return false;
}

std::string statePath() {
    const char* path = std::getenv("CORVANE_SIM_STATE");
    if (path && *path)
        return path;
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = (tmp && *tmp) ? tmp : "/tmp";
    return dir + "/corvane-sim-" + std::to_string(static_cast<long long>(::getppid())) + ".state";
}

// One line with the arguments, written at once so that pings running side by side do not mix.
void logArguments(int argc, char** argv) {
    const char* path = std::getenv("CORVANE_SIM_PING_LOG");
    if (!path || !*path)
        return;
    std::string line;
    for (int i = 1; i < argc; ++i)
        line += (i > 1 ? " " : "") + std::string(argv[i]);
    line += '\n';
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    [[maybe_unused]] const ssize_t written = ::write(fd, line.data(), line.size());
    ::close(fd);
}

// The language of the messages, as the C library picks it.
bool germanMessages() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return std::strncmp(value, "de", 2) == 0;
    }
    return false;
}

bool number(const char* text) {
    if (!text || !*text)
        return false;
    char* end = nullptr;
    std::strtod(text, &end);
    return end && *end == '\0';
}

} // namespace

int main(int argc, char** argv) {
    logArguments(argc, argv);
    std::string address;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-c" || arg == "-W" || arg == "-w" || arg == "-i" || arg == "-s" || arg == "-t") {
            if (i + 1 >= argc || !number(argv[i + 1])) {
                std::fprintf(stderr, "ping: option %s needs a number\n", arg.c_str());
                return 2;
            }
            ++i;
        } else if (arg == "-n" || arg == "-q" || arg == "-4") {
            continue;
        } else if (!arg.empty() && arg[0] == '-') {
            std::fprintf(stderr, "ping: unknown option %s\n", arg.c_str());
            return 2;
        } else if (address.empty()) {
            address = arg;
        } else {
            std::fprintf(stderr, "ping: more than one address\n");
            return 2;
        }
    }
    if (address.empty()) {
        std::fprintf(stderr, "usage: ping [-c count] [-W seconds] address\n");
        return 2;
    }
    std::uint32_t value = 0;
    if (!simaddr::parse(address, &value)) {
        std::fprintf(stderr, "ping: %s: Name or service not known\n", address.c_str());
        return 2;
    }
    if ((value >> 24) != 127) {
        std::fprintf(stderr, "ping: %s: refused, the simulated network holds only 127.0.0.0/8\n",
                     address.c_str());
        return 2;
    }
    if (listed(address, std::getenv("CORVANE_SIM_PING_UNROUTABLE"))) {
        std::fprintf(stderr, "ping: connect: %s\n",
                     germanMessages() ? "Das Netzwerk ist nicht erreichbar" : "Network is unreachable");
        return 2;
    }
    std::printf("PING %s (%s) 56(84) bytes of data.\n", address.c_str(), address.c_str());
    const bool up =
        listed(address, std::getenv("CORVANE_SIM_PING_UP")) || SimUpTable::readUp(statePath().c_str(), value);
    if (up) {
        std::printf("64 bytes from %s: icmp_seq=1 ttl=64 time=0.050 ms\n\n", address.c_str());
        std::printf(
            "--- %s ping statistics ---\n1 packets transmitted, 1 received, 0%% packet loss, time 0ms\n",
            address.c_str());
        return 0;
    }
    std::printf(
        "\n--- %s ping statistics ---\n1 packets transmitted, 0 received, 100%% packet loss, time 0ms\n",
        address.c_str());
    return 1;
}
