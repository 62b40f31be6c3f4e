// A local stand-in for the device-management service, for starting Pellora by hand:
//   pellora_service_double --ini PATH [--verify CODE] [--confirm 0|1] [--starts N] [--seconds S]
// It listens on 127.0.0.1 (an ephemeral port) with a throw-away CA, writes [SERVICE] BaseUrl and
// CaFile into the ini file, answers N program starts (a login and a device check each) and runs
// until SIGINT/SIGTERM or S seconds have passed.
#include "TlsTestServer.h"
#include "winport/PrivateProfile.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {

std::wstring widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

void usage() {
    std::fprintf(stderr,
                 "usage: pellora_service_double --ini PATH [--verify CODE] [--confirm 0|1] [--starts N] "
                 "[--seconds S]\n");
}

} // namespace

int main(int argc, char** argv) {
    std::string ini;
    std::string verify = "5RQ8X2";
    int confirm = 1;
    int starts = 20;
    int seconds = 600;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) {
            usage();
            return 2;
        }
        const std::string value = argv[++i];
        if (arg == "--ini")
            ini = value;
        else if (arg == "--verify")
            verify = value;
        else if (arg == "--confirm")
            confirm = std::atoi(value.c_str());
        else if (arg == "--starts")
            starts = std::atoi(value.c_str());
        else if (arg == "--seconds")
            seconds = std::atoi(value.c_str());
        else {
            usage();
            return 2;
        }
    }
    if (ini.empty() || starts < 1 || seconds < 1) {
        usage();
        return 2;
    }

    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);

    testsupport::TlsTestServer server;
    const std::string login = R"({"code":0,"msg":"success","data":{"cookie":"double-session"}})";
    const std::string check = R"({"code":0,"msg":"success","data":{"verify":")" + verify +
                              R"(","is_confirm":)" + std::to_string(confirm) + "}}";
    for (int i = 0; i < starts; ++i) {
        server.enqueue(testsupport::ScriptedReply::http(200, "OK", login));
        server.enqueue(testsupport::ScriptedReply::http(200, "OK", check));
    }
    const std::wstring file = widen(ini);
    if (!WritePrivateProfileString(L"SERVICE", L"BaseUrl", widen(server.baseUrl()).c_str(), file.c_str()) ||
        !WritePrivateProfileString(L"SERVICE", L"CaFile", widen(server.caFile()).c_str(), file.c_str())) {
        std::fprintf(stderr, "cannot write %s: %s\n", ini.c_str(), std::strerror(errno));
        return 1;
    }
    std::printf("%s\n", server.baseUrl().c_str());
    std::fflush(stdout);

    timespec limit{seconds, 0};
    sigtimedwait(&set, nullptr, &limit);
    return 0;
}
