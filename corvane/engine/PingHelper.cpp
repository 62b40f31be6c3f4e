#include "PingHelper.h"

#include "net/DottedQuad.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <deque>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

bool PingHelper::parseDottedQuad(const std::string& text, std::uint32_t* hostOrder) {
    return dottedquad::parse(text, hostOrder);
}

bool PingHelper::isSubnetEdge(std::uint32_t address, std::uint32_t mask) {
    return dottedquad::isSubnetEdge(address, mask);
}

QString PingHelper::program() {
    return QStringLiteral("ping");
}

QStringList PingHelper::arguments(const QString& address, int answerWaitMs) {
    const int ms = std::max(answerWaitMs, 1);
    const QString wait = ms % 1000 == 0
                             ? QString::number(ms / 1000)
                             : QStringLiteral("%1.%2").arg(ms / 1000).arg(ms % 1000, 3, 10, QLatin1Char('0'));
    return {QStringLiteral("-c"), QStringLiteral("1"), QStringLiteral("-W"), wait, address};
}

namespace {

// Probe processes that run at once, engine-wide, handed out first come first served: a
// thousand device threads that want to ping at the same moment queue here instead of starting
// a thousand processes that starve each other and the program's own threads.
class ProbeSlots {
public:
    ProbeSlots() : m_free(std::max(16, 2 * static_cast<int>(std::thread::hardware_concurrency()))) {}
    void acquire() {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_free > 0 && m_waiting.empty()) {
            --m_free;
            return;
        }
        Waiter self;
        m_waiting.push_back(&self);
        self.wake.wait(lock, [&self] { return self.granted; });
    }
    void release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_waiting.empty()) {
            ++m_free;
            return;
        }
        Waiter* next = m_waiting.front();
        m_waiting.pop_front();
        next->granted = true;
        next->wake.notify_one(); // under the lock: the waiter cannot leave before it is woken
    }

private:
    struct Waiter {
        std::condition_variable wake;
        bool granted = false;
    };
    std::mutex m_mutex;
    std::deque<Waiter*> m_waiting;
    int m_free;
};

ProbeSlots& probeSlots() {
    static ProbeSlots probes; // not "slots": a Qt keyword under the precompiled headers
    return probes;
}

// Reads what the child wrote to its error output so far (the descriptor does not block), keeping
// at most kKeep bytes; false once the pipe has no writer left.
bool drain(int fd, std::string* text) {
    constexpr std::size_t kKeep = 4096;
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text->append(buffer,
                         std::min(static_cast<std::size_t>(n), kKeep - std::min(kKeep, text->size())));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

// Waits up to limitMs (real time) for the child to end and reaps it, collecting its error
// output from errFd meanwhile. A process descriptor wakes the caller at the exit; without one
// (an old kernel) the child is polled.
bool waitForExit(pid_t pid, int limitMs, int errFd, std::string* errText, int* status) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    auto pause = std::chrono::microseconds(50);
    bool open = errFd >= 0;
    for (;;) {
        if (open)
            open = drain(errFd, errText);
        const pid_t done = ::waitpid(pid, status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) {
            if (fd >= 0)
                ::close(fd);
            if (open)
                drain(errFd, errText); // what was written just before the end
            return done == pid;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            if (fd >= 0)
                ::close(fd);
            return false;
        }
        if (fd >= 0) {
            pollfd p[2] = {{fd, POLLIN, 0}, {errFd, POLLIN, 0}};
            ::poll(p, open ? 2 : 1, static_cast<int>(std::min<long long>(left.count() + 1, 1000)));
        } else {
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::microseconds(2000));
        }
    }
}

std::vector<std::string> cLocaleEnvironment() {
    std::vector<std::string> env;
    for (const QString& item : PingHelper::processEnvironment().toStringList())
        env.push_back(item.toLocal8Bit().toStdString());
    return env;
}

std::vector<char*> pointers(std::vector<std::string>& items) {
    std::vector<char*> out;
    for (std::string& item : items)
        out.push_back(&item[0]);
    out.push_back(nullptr);
    return out;
}

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

QProcessEnvironment PingHelper::processEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.remove(QStringLiteral("LANGUAGE"));
    return environment;
}

bool PingHelper::saysUnroutable(const std::string& errorText) {
    // The system's texts for ENETUNREACH and EHOSTUNREACH in the C locale, after the call that
    // failed ("connect: ", "sendmsg: ", ...).
    return errorText.find(": Network is unreachable") != std::string::npos ||
           errorText.find(": No route to host") != std::string::npos;
}

PingHelper::Outcome PingHelper::check(const std::string& address, int answerWaitMs, int finishLimitMs) {
    if (!parseDottedQuad(address, nullptr))
        return Outcome::CouldNotRun;
    // Spawned rather than forked: a fork of a process with many threads and a large heap
    // copies its page tables and stalls every other thread meanwhile.
    const std::string program = PingHelper::program().toStdString();
    std::vector<std::string> args{program};
    for (const QString& a : arguments(QString::fromStdString(address), answerWaitMs))
        args.push_back(a.toStdString());
    std::vector<char*> argv = pointers(args);
    std::vector<std::string> env = cLocaleEnvironment();
    std::vector<char*> envp = pointers(env);

    // The descriptors are taken with the slot: probes queued for one hold none.
    struct Slot {
        Slot() { probeSlots().acquire(); }
        ~Slot() { probeSlots().release(); }
    } slot;
    int errPipe[2];
    if (::pipe2(errPipe, O_CLOEXEC) != 0)
        return Outcome::CouldNotRun;
    Descriptor errRead{errPipe[0]};
    Descriptor errWrite{errPipe[1]};
    ::fcntl(errRead.fd, F_SETFL, O_NONBLOCK); // the child's end stays blocking
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return Outcome::CouldNotRun;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errWrite.fd, STDERR_FILENO);
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(errWrite.fd);
    errWrite.fd = -1;
    if (spawned != 0)
        return Outcome::CouldNotRun;

    // The probe's own limit is real time, whatever the time scale.
    int status = 0;
    std::string errText;
    if (!waitForExit(pid, finishLimitMs, errRead.fd, &errText, &status)) {
        ::kill(pid, SIGKILL);
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return Outcome::CouldNotRun;
    }
    if (!WIFEXITED(status))
        return Outcome::CouldNotRun;
    switch (WEXITSTATUS(status)) {
    case 0:
        return Outcome::Answered;
    case 1:
        return Outcome::Silent;
    case 2:
        // No route to the address: nothing there can answer, as with a request left unanswered.
        return saysUnroutable(errText) ? Outcome::Silent : Outcome::CouldNotRun;
    default:
        return Outcome::CouldNotRun;
    }
}

bool PingHelper::answers(const std::string& address, int answerWaitMs) {
    return check(address, answerWaitMs) == Outcome::Answered;
}

int PingHelper::probe(const std::string& address, int answerWaitMs) {
    if (!parseDottedQuad(address, nullptr))
        return -1;
    switch (check(address, answerWaitMs)) {
    case Outcome::Answered:
        return -1;
    case Outcome::Silent:
        return 0;
    default:
        return kCouldNotRun;
    }
}
