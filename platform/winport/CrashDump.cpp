#include "winport/CrashDump.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace winport {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};
constexpr std::size_t kPathMax = 512;
constexpr int kMaxFrames = 64;

// Fixed at install; read by the handler only.
char g_pathPrefix[kPathMax]; // "<folder>/<prefix><version>_"
std::size_t g_pathPrefixLength = 0;
char g_version[64];
std::int64_t g_utcOffset = 0;
std::atomic<bool> g_inHandler{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the handler needs a lock-free flag");
alignas(16) char g_altStack[64 * 1024];

std::size_t appendText(char* out, std::size_t at, std::size_t cap, const char* text) {
    while (*text && at + 1 < cap) {
        out[at++] = *text++;
    }
    out[at] = '\0';
    return at;
}

// Unsigned decimal (or hexadecimal) into out; returns the new end.
std::size_t appendNumber(char* out, std::size_t at, std::size_t cap, unsigned long long value,
                         int base = 10) {
    char digits[32];
    int n = 0;
    do {
        const unsigned d = static_cast<unsigned>(value % base);
        digits[n++] = static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10);
        value /= base;
    } while (value && n < 32);
    while (n > 0 && at + 1 < cap) {
        out[at++] = digits[--n];
    }
    out[at] = '\0';
    return at;
}

const char* signalName(int sig) {
    switch (sig) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "signal";
    }
}

void writeAll(int fd, const char* text, std::size_t length) {
    while (length > 0) {
        const ssize_t n = write(fd, text, length);
        if (n <= 0) {
            return;
        }
        text += n;
        length -= static_cast<std::size_t>(n);
    }
}

void dieWith(int sig) {
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
    _exit(128 + sig);
}

void writeCrashDump(int sig, siginfo_t* info, void*) {
    if (g_inHandler.exchange(true)) {
        // Another thread is writing the dump; it ends the process when done.
        for (int i = 0; i < 500; ++i) {
            struct timespec pause {
                0, 10 * 1000 * 1000
            };
            nanosleep(&pause, nullptr);
        }
        dieWith(sig);
    }
    const int savedErrno = errno;

    char path[kPathMax];
    std::memcpy(path, g_pathPrefix, g_pathPrefixLength + 1);
    struct timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    std::size_t at = g_pathPrefixLength;
    char stamp[24];
    formatDumpTime(now.tv_sec, g_utcOffset, stamp);
    at = appendText(path, at, sizeof path, stamp);

    // A new file only: never through a link planted at the predictable name, never over an
    // existing file. A name that is taken gets "_1" to "_9" before ".dmp".
    int fd = -1;
    for (unsigned attempt = 0; attempt < 10 && fd < 0; ++attempt) {
        std::size_t end = at;
        if (attempt > 0) {
            end = appendText(path, end, sizeof path, "_");
            end = appendNumber(path, end, sizeof path, attempt);
        }
        appendText(path, end, sizeof path, ".dmp");
        fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd >= 0) {
        char text[512];
        std::size_t n = 0;
        n = appendText(text, n, sizeof text, "Crash dump, version ");
        n = appendText(text, n, sizeof text, g_version);
        n = appendText(text, n, sizeof text, "\nsignal: ");
        n = appendNumber(text, n, sizeof text, static_cast<unsigned>(sig));
        n = appendText(text, n, sizeof text, " (");
        n = appendText(text, n, sizeof text, signalName(sig));
        n = appendText(text, n, sizeof text, ")\ncode: ");
        // si_code is signed: a signal sent by kill, raise or abort has a negative one.
        const int code = info ? info->si_code : 0;
        if (code < 0) {
            n = appendText(text, n, sizeof text, "-");
        }
        n = appendNumber(text, n, sizeof text,
                         code < 0 ? 0ull - static_cast<unsigned long long>(static_cast<long long>(code))
                                  : static_cast<unsigned long long>(code));
        n = appendText(text, n, sizeof text, "\naddress: 0x");
        n = appendNumber(text, n, sizeof text,
                         info ? reinterpret_cast<unsigned long long>(info->si_addr) : 0ull, 16);
        n = appendText(text, n, sizeof text, "\npid: ");
        n = appendNumber(text, n, sizeof text, static_cast<unsigned long long>(getpid()));
        n = appendText(text, n, sizeof text, "\nthread: ");
        n = appendNumber(text, n, sizeof text, static_cast<unsigned long long>(syscall(SYS_gettid)));
        n = appendText(text, n, sizeof text, "\nbacktrace:\n");
        writeAll(fd, text, n);
        void* frames[kMaxFrames];
        const int count = backtrace(frames, kMaxFrames);
        backtrace_symbols_fd(frames, count, fd);
        close(fd);
    }
    errno = savedErrno;
    dieWith(sig);
}

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

void put2(char* out, unsigned value) {
    out[0] = static_cast<char>('0' + value / 10 % 10);
    out[1] = static_cast<char>('0' + value % 10);
}

} // namespace

int formatDumpTime(std::int64_t epochSeconds, std::int64_t utcOffset, char* out) {
    const std::int64_t t = epochSeconds + utcOffset;
    std::int64_t days = t / 86400;
    std::int64_t rest = t % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    std::int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(days, year, month, day);
    const unsigned y = static_cast<unsigned>(year < 0 ? 0 : year % 10000);
    out[0] = static_cast<char>('0' + y / 1000);
    out[1] = static_cast<char>('0' + y / 100 % 10);
    put2(out + 2, y % 100);
    out[4] = '_';
    put2(out + 5, month);
    out[7] = '_';
    put2(out + 8, day);
    out[10] = '_';
    put2(out + 11, static_cast<unsigned>(rest / 3600));
    out[13] = '_';
    put2(out + 14, static_cast<unsigned>(rest / 60 % 60));
    out[16] = '_';
    put2(out + 17, static_cast<unsigned>(rest % 60));
    out[19] = '\0';
    return 19;
}

std::string programFolder() {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        return ".";
    }
    std::string path(buffer, static_cast<std::size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

bool installCrashDump(const std::string& folder, const std::string& prefix, const std::string& version) {
    std::string base = folder.empty() ? programFolder() : folder;
    if (base.size() > 1 && base.back() == '/') {
        base.pop_back();
    }
    const std::string pathPrefix = base + "/" + prefix + version + "_";
    // Room for the time stamp and ".dmp".
    if (pathPrefix.size() + 24 >= kPathMax || version.size() >= sizeof g_version) {
        return false;
    }
    std::memcpy(g_pathPrefix, pathPrefix.c_str(), pathPrefix.size() + 1);
    g_pathPrefixLength = pathPrefix.size();
    std::memcpy(g_version, version.c_str(), version.size() + 1);

    tzset();
    const std::time_t now = std::time(nullptr);
    struct tm local {};
    localtime_r(&now, &local);
    g_utcOffset = local.tm_gmtoff;

    // The first backtrace loads the unwinder; the handler must not be the first caller.
    void* frames[4];
    backtrace(frames, 4);

    stack_t stack{};
    stack.ss_sp = g_altStack;
    stack.ss_size = sizeof g_altStack;
    sigaltstack(&stack, nullptr);

    struct sigaction action {};
    action.sa_sigaction = &writeCrashDump;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int sig : kSignals) {
        sigaction(sig, &action, nullptr);
    }
    return true;
}

} // namespace winport
