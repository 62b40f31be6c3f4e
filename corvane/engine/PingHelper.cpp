#include "PingHelper.h"

#include "net/DottedQuad.h"

#include <QStandardPaths>
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
#include <string>
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
    // False when *cancel was set before a slot came free (no slot is then held).
    bool acquire(const std::atomic<bool>* cancel) {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_free > 0 && m_waiting.empty()) {
            --m_free;
            return true;
        }
        Waiter self;
        m_waiting.push_back(&self);
        while (!self.granted) {
            if (cancel && cancel->load()) {
                m_waiting.erase(std::find(m_waiting.begin(), m_waiting.end(), &self));
                return false;
            }
            if (cancel)
                self.wake.wait_for(lock, std::chrono::milliseconds(20));
            else
                self.wake.wait(lock);
        }
        return true;
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

struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// The system's texts for ENETUNREACH and EHOSTUNREACH in the C locale, after the call that
// failed ("connect: ", "sendmsg: ", ...).
const char* const kUnroutable[] = {": Network is unreachable", ": No route to host"};
constexpr std::size_t kLongestUnroutable = std::char_traits<char>::length(": Network is unreachable");

// Looks for the unroutable texts in error output that arrives in pieces of any size, keeping
// only the last bytes that could begin a text cut by the next piece.
class UnroutableScan {
public:
    void feed(const char* data, std::size_t size) {
        if (m_found)
            return;
        m_window.append(data, size);
        for (const char* text : kUnroutable)
            m_found = m_found || m_window.find(text) != std::string::npos;
        if (m_window.size() >= kLongestUnroutable)
            m_window.erase(0, m_window.size() - (kLongestUnroutable - 1));
    }
    bool found() const { return m_found; }

private:
    std::string m_window;
    bool m_found = false;
};

// Reads what the child wrote to its error output so far (the descriptor does not block) into
// the scan; false once the pipe has no writer left.
bool drain(int fd, UnroutableScan* scan) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            scan->feed(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

enum class Wait { Exited, TimedOut, Cancelled, Lost }; // Lost: the child cannot be waited for

// Waits up to limitMs (real time) for the child to end, scanning its error output from errFd
// meanwhile, and leaves the ended child unreaped (its process group stays addressable). A
// process descriptor wakes the caller at the exit; without one (an old kernel) the child is
// polled.
Wait waitForExit(pid_t pid, int limitMs, int errFd, UnroutableScan* scan, const std::atomic<bool>* cancel) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    Descriptor pidFd{fd};
    auto pause = std::chrono::microseconds(50);
    bool open = errFd >= 0;
    const int longestPollMs = cancel ? 20 : 1000;
    for (;;) {
        if (open)
            open = drain(errFd, scan);
        siginfo_t info{};
        const int done = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT);
        if (done < 0 && errno != EINTR)
            return Wait::Lost;
        if (done == 0 && info.si_pid == pid) {
            if (open)
                drain(errFd, scan); // what was written just before the end
            return Wait::Exited;
        }
        if (cancel && cancel->load())
            return Wait::Cancelled;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return Wait::TimedOut;
        if (fd >= 0) {
            pollfd p[2] = {{fd, POLLIN, 0}, {errFd, POLLIN, 0}};
            ::poll(p, open ? 2 : 1, static_cast<int>(std::min<long long>(left.count() + 1, longestPollMs)));
        } else {
            std::this_thread::sleep_for(pause);
            pause = std::min(pause * 2, std::chrono::microseconds(2000));
        }
    }
}

// Ends whatever is left of the child's process group (a wrapper's children too) and reaps the
// child. The group's id stays taken until the reap, so the signal reaches no other process.
int endGroupAndReap(pid_t pid) {
    ::kill(-pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
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

} // namespace

QProcessEnvironment PingHelper::processEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.remove(QStringLiteral("LANGUAGE"));
    return environment;
}

bool PingHelper::saysUnroutable(const std::string& errorText) {
    UnroutableScan scan;
    scan.feed(errorText.data(), errorText.size());
    return scan.found();
}

PingHelper::Command PingHelper::command(const std::string& address, int answerWaitMs) {
    Command command;
    if (!parseDottedQuad(address, nullptr))
        return command;
    command.path = QStandardPaths::findExecutable(program()).toStdString();
    command.argv.push_back(program().toStdString());
    for (const QString& a : arguments(QString::fromStdString(address), answerWaitMs))
        command.argv.push_back(a.toStdString());
    command.env = cLocaleEnvironment();
    return command;
}

PingHelper::Outcome PingHelper::run(const Command& command, int finishLimitMs,
                                    const std::atomic<bool>* cancel) {
    if (command.path.empty())
        return Outcome::CouldNotRun;
    std::vector<std::string> args = command.argv;
    std::vector<char*> argv = pointers(args);
    std::vector<std::string> env = command.env;
    std::vector<char*> envp = pointers(env);

    // The descriptors are taken with the slot: probes queued for one hold none.
    struct Slot {
        bool held = false;
        ~Slot() {
            if (held)
                probeSlots().release();
        }
    } slot;
    slot.held = probeSlots().acquire(cancel);
    if (!slot.held)
        return Outcome::CouldNotRun;
    int errPipe[2];
    if (::pipe2(errPipe, O_CLOEXEC) != 0)
        return Outcome::CouldNotRun;
    Descriptor errRead{errPipe[0]};
    Descriptor errWrite{errPipe[1]};
    ::fcntl(errRead.fd, F_SETFL, O_NONBLOCK); // the child's end stays blocking
    // Spawned rather than forked: a fork of a process with many threads and a large heap
    // copies its page tables and stalls every other thread meanwhile.
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return Outcome::CouldNotRun;
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return Outcome::CouldNotRun;
    }
    // A group of its own: giving up ends the ping and all it started.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errWrite.fd, STDERR_FILENO);
    pid_t pid = -1;
    const int spawned =
        posix_spawn(&pid, command.path.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(errWrite.fd);
    errWrite.fd = -1;
    if (spawned != 0)
        return Outcome::CouldNotRun;

    // The probe's own limit is real time, whatever the time scale.
    UnroutableScan scan;
    const Wait wait = waitForExit(pid, finishLimitMs, errRead.fd, &scan, cancel);
    if (wait == Wait::Lost)
        return Outcome::CouldNotRun; // no status to judge, and no group known to be ours
    const int status = endGroupAndReap(pid);
    if (wait == Wait::TimedOut)
        return Outcome::NoEnd;
    if (wait == Wait::Cancelled || !WIFEXITED(status))
        return Outcome::CouldNotRun;
    switch (WEXITSTATUS(status)) {
    case 0:
        return Outcome::Answered;
    case 1:
        return Outcome::Silent;
    case 2:
        // No route to the address: nothing there can answer, as with a request left unanswered.
        return scan.found() ? Outcome::Silent : Outcome::CouldNotRun;
    default:
        return Outcome::CouldNotRun;
    }
}

PingHelper::Outcome PingHelper::check(const std::string& address, int answerWaitMs, int finishLimitMs) {
    return run(command(address, answerWaitMs), finishLimitMs);
}

bool PingHelper::answers(const std::string& address, int answerWaitMs) {
    return check(address, answerWaitMs) == Outcome::Answered;
}

newaddress::Verdict PingHelper::probe(const std::string& address, int answerWaitMs) {
    using newaddress::Verdict;
    if (!parseDottedQuad(address, nullptr))
        return Verdict::Used;
    switch (check(address, answerWaitMs)) {
    case Outcome::Answered:
        return Verdict::Used;
    case Outcome::Silent:
        return Verdict::Free;
    default:
        return Verdict::NoVerdict;
    }
}
