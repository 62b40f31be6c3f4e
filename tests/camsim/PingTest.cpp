// The stand-in ping and the system's ping helper.
#include "SimTestSupport.h"

#include "../../corvane/engine/PingHelper.h"
#include "camsim/SimUpTable.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

using namespace simtest;

namespace {

QString simPingDir() {
    return QString::fromLocal8Bit(std::getenv("CORVANE_BIN_DIR")) + "/simping";
}

int runPing(const QStringList& args,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), QString* out = nullptr,
            QString* err = nullptr) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(simPingDir() + "/ping", args);
    if (!p.waitForFinished(10000))
        return -100;
    if (out)
        *out = QString::fromLocal8Bit(p.readAllStandardOutput());
    if (err)
        *err = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -101;
}

// The lines of a text file (none when it is missing).
std::vector<std::string> readLines(const QString& path) {
    QFile f(path);
    std::vector<std::string> lines;
    if (f.open(QIODevice::ReadOnly))
        for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts))
            lines.push_back(line.toStdString());
    return lines;
}

// A folder holding an executable "ping" with the given shell body.
QString writeScriptPing(const QTemporaryDir& dir, const QString& name, const QByteArray& body) {
    const QString folder = dir.filePath(name);
    QDir().mkpath(folder);
    QFile script(folder + "/ping");
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write("#!/bin/sh\n" + body + "\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

// Sets an environment variable for the scope, restoring the old value (or its absence).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

QStringList args(const QString& address) {
    return {"-c", "1", "-W", "1", address};
}

// PATH with the stand-in first, as tools/run and the system's tests set it.
class SimPingPath {
public:
    SimPingPath() : m_old(std::getenv("PATH") ? std::getenv("PATH") : "") {
        const std::string path = simPingDir().toStdString() + ":" + m_old;
        setenv("PATH", path.c_str(), 1);
    }
    ~SimPingPath() { setenv("PATH", m_old.c_str(), 1); }

private:
    std::string m_old;
};

} // namespace

TEST_F(SimTest, SimPingAnswersForCamerasOnly) {
    QString out;
    EXPECT_EQ(
        runPing(args(QString::fromStdString(fleet[0].ip)), QProcessEnvironment::systemEnvironment(), &out),
        0);
    EXPECT_TRUE(out.contains("ttl="));
    EXPECT_EQ(runPing(args("127.0.9.9")), 1);
    camsim::setOnline(fleet[0].mac, false);
    EXPECT_EQ(runPing(args(QString::fromStdString(fleet[0].ip))), 1);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CORVANE_SIM_PING_UP", "127.0.9.9, 127.0.9.10");
    EXPECT_EQ(runPing(args("127.0.9.10"), env), 0);
    // Whole entries only: neither an entry that starts the address nor one that it starts.
    env.insert("CORVANE_SIM_PING_UP", "127.0.0.1;127.0.9.100");
    EXPECT_EQ(runPing(args("127.0.0.1"), env), 0);
    for (const char* silent : {"127.0.0.10", "127.0.0.11", "127.0.0.100", "127.0.9.10", "127.0.9.1"})
        EXPECT_EQ(runPing(args(silent), env), 1) << silent;

    // An address no route reaches fails as the system's ping does, in the messages' language;
    // it never answers, even when listed as up.
    QProcessEnvironment cut = QProcessEnvironment::systemEnvironment();
    cut.remove("LC_ALL");
    cut.remove("LC_MESSAGES");
    cut.insert("LANG", "C.UTF-8");
    cut.insert("CORVANE_SIM_PING_UP", "127.0.9.20");
    cut.insert("CORVANE_SIM_PING_UNROUTABLE", "127.0.9.20,127.0.9.21");
    QString err;
    EXPECT_EQ(runPing(args("127.0.9.20"), cut, &out, &err), 2);
    EXPECT_EQ(err, "ping: connect: Network is unreachable\n");
    EXPECT_FALSE(out.contains("ttl="));
    EXPECT_EQ(runPing(args("127.0.9.2"), cut), 1) << "whole entries only";
    EXPECT_EQ(runPing(args(QString::fromStdString(fleet[1].ip)), cut), 0);
    cut.insert("LANG", "de_DE.UTF-8");
    EXPECT_EQ(runPing(args("127.0.9.21"), cut, nullptr, &err), 2);
    EXPECT_EQ(err, "ping: connect: Das Netzwerk ist nicht erreichbar\n");
    cut.insert("LC_ALL", "C");
    EXPECT_EQ(runPing(args("127.0.9.21"), cut, nullptr, &err), 2);
    EXPECT_EQ(err, "ping: connect: Network is unreachable\n");

    // Every run's arguments, one line each, also those of a run that fails.
    QTemporaryDir logDir;
    QProcessEnvironment logged = QProcessEnvironment::systemEnvironment();
    logged.insert("CORVANE_SIM_PING_LOG", logDir.filePath("pings.log"));
    EXPECT_EQ(runPing({"-c", "1", "-W", "0.005", "127.0.9.9"}, logged), 1);
    EXPECT_EQ(runPing({"-c", "1"}, logged), 2);
    EXPECT_EQ(readLines(logDir.filePath("pings.log")),
              (std::vector<std::string>{"-c 1 -W 0.005 127.0.9.9", "-c 1"}));

    // A table named by CORVANE_SIM_STATE; a file that is no table answers for nothing.
    QTemporaryDir dir;
    const QString state = dir.filePath("fleet.state");
    SimUpTable table;
    ASSERT_TRUE(table.create(state.toStdString()));
    table.set(0x7F000505u, true); // 127.0.5.5
    table.set(0x7F000506u, true);
    table.set(0x7F000506u, false);
    QProcessEnvironment named = QProcessEnvironment::systemEnvironment();
    named.insert("CORVANE_SIM_STATE", state);
    EXPECT_EQ(runPing(args("127.0.5.5"), named), 0);
    EXPECT_EQ(runPing(args("127.0.5.6"), named), 1);
    EXPECT_EQ(runPing(args(QString::fromStdString(fleet[1].ip)), named), 1);
    const QString text = dir.filePath("text.state");
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("up 127.0.5.5\n");
    f.close();
    named.insert("CORVANE_SIM_STATE", text);
    EXPECT_EQ(runPing(args("127.0.5.5"), named), 1);
}

// The table follows every change of a camera: going offline, coming back at a new address, a
// new fleet. Each is seen by the next ping without any file being rewritten.
TEST_F(SimTest, SimPingTableFollowsTheFleet) {
    auto up = [](const std::string& ip) {
        std::uint32_t value = 0;
        return PingHelper::parseDottedQuad(ip, &value) &&
               SimUpTable::readUp(camsim::stateFilePath().c_str(), value);
    };
    ASSERT_TRUE(up(fleet[0].ip));
    ASSERT_TRUE(up(fleet[1].ip));
    camsim::setOnline(fleet[0].mac, false);
    EXPECT_FALSE(up(fleet[0].ip));
    EXPECT_TRUE(up(fleet[1].ip));
    EXPECT_EQ(runPing(args(QString::fromStdString(fleet[0].ip))), 1);
    camsim::setOnline(fleet[0].mac, true);
    EXPECT_TRUE(up(fleet[0].ip));

    // A new address: the camera is found and answers there, and no longer at the old one.
    KVX_NET_Startup();
    MessageSink sink;
    const int h = loginLive(1, sink);
    KvxNetProperty net{};
    ASSERT_NE(KVX_NET_GetNetPropertyEx(h, &net), 0);
    std::snprintf(net.ip, sizeof net.ip, "127.0.66.6");
    ASSERT_NE(KVX_NET_SetNetPropertyEx(h, &net), 0);
    camsim::CameraProfile moved;
    ASSERT_TRUE(waitUntil([&] { return camsim::findCamera("127.0.66.6", &moved) && moved.online; }));
    EXPECT_EQ(moved.mac, fleet[1].mac);
    EXPECT_TRUE(up("127.0.66.6"));
    EXPECT_FALSE(up(fleet[1].ip));
    EXPECT_FALSE(camsim::findCamera(fleet[1].ip, nullptr));
    KvxLoginInfo old = loginRecord(fleet[1], &sink);
    const int stale = KVX_NET_Login(&old);
    ASSERT_GT(stale, 0);
    EXPECT_TRUE(sink.waitMessage(stale, KVX_MSG_LOGIN_FAILED)) << "nothing answers at the old address";

    auto cameras = camsim::defaultFleet(3);
    cameras[2].ip = "127.0.77.1";
    camsim::useFleet(cameras);
    EXPECT_TRUE(up("127.0.77.1"));
    EXPECT_FALSE(up(fleet[2].ip)) << "the old fleet's address";
    EXPECT_EQ(runPing(args("127.0.77.1")), 0);
    EXPECT_FALSE(up("127.0.77.2"));
}

TEST_F(SimTest, SimPingRefusesNonLoopbackAndMalformedAddresses) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CORVANE_SIM_PING_UP", "192.168.1.240 10.0.0.1");
    for (const char* address : {"192.168.1.240", "10.0.0.1", "8.8.8.8", "255.255.255.255", "128.0.0.1"})
        EXPECT_EQ(runPing(args(address), env), 2) << address;
    for (const char* address :
         {"127.1", "127.0.0.011", "127.0.0.1.5", "localhost", "127.0.0.256", "-1.0.0.1"})
        EXPECT_EQ(runPing(args(address)), 2) << address;
    EXPECT_EQ(runPing({"-c", "1"}), 2);
}

TEST_F(SimTest, PingHelperRunsThePingOnPath) {
    SimPingPath path;
    QTemporaryDir logDir;
    const QString pingLog = logDir.filePath("pings.log");
    {
        ScopedEnv log("CORVANE_SIM_PING_LOG", pingLog.toUtf8());
        EXPECT_TRUE(PingHelper::answers(fleet[0].ip));
        EXPECT_EQ(PingHelper::probe(fleet[0].ip), newaddress::Verdict::Used);
        EXPECT_FALSE(PingHelper::answers("127.0.9.9"));
        EXPECT_EQ(PingHelper::probe("127.0.9.9"), newaddress::Verdict::Free);
        EXPECT_EQ(PingHelper::probe("127.0.9.9", 15), newaddress::Verdict::Free);
    }
    // One echo request, its reply awaited 5 ms unless the caller says otherwise, in seconds.
    const std::string camera = fleet[0].ip;
    EXPECT_EQ(readLines(pingLog),
              (std::vector<std::string>{"-c 1 -W 0.005 " + camera, "-c 1 -W 0.005 " + camera,
                                        "-c 1 -W 0.005 127.0.9.9", "-c 1 -W 0.005 127.0.9.9",
                                        "-c 1 -W 0.015 127.0.9.9"}));
    EXPECT_FALSE(PingHelper::answers("192.168.1.1")); // refused by the stand-in, not an answer
    // A ping that ends with neither an answer nor "no answer" is no verdict, never "free".
    EXPECT_EQ(PingHelper::check("192.168.1.1"), PingHelper::Outcome::CouldNotRun);
    EXPECT_EQ(PingHelper::probe("192.168.1.1"), newaddress::Verdict::NoVerdict);
    EXPECT_EQ(PingHelper::check(fleet[0].ip), PingHelper::Outcome::Answered);
    EXPECT_EQ(PingHelper::check("127.0.9.9"), PingHelper::Outcome::Silent);
    {
        // No route to the address: the request cannot leave, so nothing there answers, in
        // whatever language the operator's messages are.
        ScopedEnv unroutable("CORVANE_SIM_PING_UNROUTABLE", "127.0.9.30");
        for (const char* language : {"C.UTF-8", "de_DE.UTF-8"}) {
            SCOPED_TRACE(language);
            ScopedEnv all("LC_ALL", language);
            ScopedEnv lang("LANG", language);
            EXPECT_EQ(PingHelper::check("127.0.9.30"), PingHelper::Outcome::Silent);
            EXPECT_EQ(PingHelper::probe("127.0.9.30"), newaddress::Verdict::Free);
            EXPECT_FALSE(PingHelper::answers("127.0.9.30"));
        }
    }
    // Not an address: never pinged, counted as in use.
    for (const char* text : {"", "127.1", " 127.0.0.11", "127.0.0.11; rm -rf x", "0x7f.0.0.1", "01.2.3.4"}) {
        EXPECT_FALSE(PingHelper::parseDottedQuad(text, nullptr)) << text;
        EXPECT_EQ(PingHelper::probe(text), newaddress::Verdict::Used) << text;
    }
    std::uint32_t value = 0;
    EXPECT_TRUE(PingHelper::parseDottedQuad("192.168.1.10", &value));
    EXPECT_EQ(value, 0xC0A8010Au);
    EXPECT_TRUE(PingHelper::parseDottedQuad("0.0.0.0", &value));
}

// A ping that never ran or never ended is no verdict: missing, killed, a usage error (status 2
// with any other message), an unroutable message with another status, no end in time. The
// unroutable message counts wherever it comes in a long error output, also when it arrives in
// two writes a pause apart (read in two pieces); a ping that gives up ends what the ping
// started too.
TEST_F(SimTest, PingHelperTellsAFailedRunFromAnUnroutableAddress) {
    QTemporaryDir dir;
    const QByteArray unreachable = "echo 'ping: connect: Network is unreachable' >&2; ";
    const struct {
        const char* name;
        QByteArray body;
        PingHelper::Outcome outcome;
    } cases[] = {
        {"unroutable", unreachable + "exit 2", PingHelper::Outcome::Silent},
        {"no route to host", "echo 'ping: connect: No route to host' >&2; exit 2",
         PingHelper::Outcome::Silent},
        {"usage", "echo 'ping: invalid argument: -W' >&2; exit 2", PingHelper::Outcome::CouldNotRun},
        {"silent error", "exit 2", PingHelper::Outcome::CouldNotRun},
        {"on the output", "echo 'ping: connect: Network is unreachable'; exit 2",
         PingHelper::Outcome::CouldNotRun},
        {"other status", unreachable + "exit 3", PingHelper::Outcome::CouldNotRun},
        {"killed", unreachable + "kill -KILL $$", PingHelper::Outcome::CouldNotRun},
        {"crashed", "kill -SEGV $$", PingHelper::Outcome::CouldNotRun},
        {"hangs", unreachable + "exec /bin/sleep 20", PingHelper::Outcome::NoEnd},
        {"long error output",
         "head -c 3000000 /dev/zero | tr '\\0' x >&2; echo >&2; " + unreachable + "exit 2",
         PingHelper::Outcome::Silent},
        {"floods until the limit", "exec yes 'ping: sendmsg: Operation not permitted' >&2",
         PingHelper::Outcome::NoEnd},
        // Cut after the colon, before the last letter (the longest text but one byte), mid-text.
        {"split after the colon",
         "printf 'ping: connect:' >&2; /bin/sleep 0.3; printf ' Network is unreachable\\n' >&2; exit 2",
         PingHelper::Outcome::Silent},
        {"split before the last letter",
         "printf 'ping: connect: Network is unreachabl' >&2; /bin/sleep 0.3; printf 'e\\n' >&2; exit 2",
         PingHelper::Outcome::Silent},
        {"split no route",
         "printf 'ping: sendmsg: No rou' >&2; /bin/sleep 0.3; printf 'te to host\\n' >&2; exit 2",
         PingHelper::Outcome::Silent},
        {"no answer", "exit 1", PingHelper::Outcome::Silent},
        {"answer", "exit 0", PingHelper::Outcome::Answered},
    };
    const QByteArray savedPath = qgetenv("PATH");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = writeScriptPing(dir, c.name, c.body);
        ASSERT_FALSE(folder.isEmpty());
        qputenv("PATH", folder.toUtf8() + ":/bin:/usr/bin");
        // A short limit only where it is to end the run: elsewhere a busy machine must not reach it.
        const int limitMs = c.outcome == PingHelper::Outcome::NoEnd ? 500 : 10000;
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(PingHelper::check("127.0.9.40", PingHelper::kAnswerWaitMs, limitMs), c.outcome);
        EXPECT_LT(clock.elapsed(), limitMs + 4500) << "the run's limit ends it";
    }

    // A wrapper whose child outlives it: giving up ends the child too.
    const QString childFile = dir.filePath("child.pid");
    const QString wrapper =
        writeScriptPing(dir, "wrapper", "/bin/sleep 30 &\necho $! > '" + childFile.toUtf8() + "'\nwait");
    qputenv("PATH", wrapper.toUtf8() + ":/bin:/usr/bin");
    EXPECT_EQ(PingHelper::check("127.0.9.40", PingHelper::kAnswerWaitMs, 500), PingHelper::Outcome::NoEnd);
    QFile pidText(childFile);
    ASSERT_TRUE(pidText.open(QIODevice::ReadOnly)) << "the wrapper started its child";
    const pid_t child = static_cast<pid_t>(pidText.readAll().trimmed().toLongLong());
    ASSERT_GT(child, 0);
    // Gone, or a zombie that its new parent has yet to reap.
    const auto alive = [child] {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(child));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray text = stat.readAll();
        const int close = text.lastIndexOf(')');
        return close < 0 || text.mid(close + 2, 1) != "Z";
    };
    QElapsedTimer waited;
    waited.start();
    while (alive() && waited.elapsed() < 5000)
        QThread::msleep(10);
    EXPECT_FALSE(alive()) << "the wrapper's child " << child << " still runs 5 s after the probe gave up";
    if (alive())
        ::kill(child, SIGKILL);

    QDir().mkpath(dir.filePath("none"));
    qputenv("PATH", dir.filePath("none").toUtf8());
    EXPECT_EQ(PingHelper::check("127.0.9.40"), PingHelper::Outcome::CouldNotRun);
    EXPECT_EQ(PingHelper::probe("127.0.9.40"), newaddress::Verdict::NoVerdict);
    qputenv("PATH", savedPath);
}

TEST(PingHelperRules, SubnetEdgesAreTheAllZeroAndAllOneHostParts) {
    const struct {
        const char* address;
        const char* mask;
        bool edge;
    } cases[] = {
        {"192.168.1.0", "255.255.255.0", true},   {"192.168.1.255", "255.255.255.0", true},
        {"192.168.1.1", "255.255.255.0", false},  {"192.168.1.254", "255.255.255.0", false},
        {"10.1.255.255", "255.255.0.0", true},    {"10.1.0.255", "255.255.0.0", false},
        {"10.1.1.0", "255.255.0.0", false},       {"172.16.0.3", "255.255.255.252", true},
        {"172.16.0.1", "255.255.255.252", false}, {"172.16.0.0", "255.255.255.254", false},
        {"172.16.0.1", "255.255.255.255", false}, {"1.0.0.0", "128.0.0.0", false},
        {"127.255.255.255", "255.0.0.0", true},
    };
    for (const auto& c : cases) {
        std::uint32_t address = 0, mask = 0;
        ASSERT_TRUE(PingHelper::parseDottedQuad(c.address, &address));
        ASSERT_TRUE(PingHelper::parseDottedQuad(c.mask, &mask));
        EXPECT_EQ(PingHelper::isSubnetEdge(address, mask), c.edge) << c.address << "/" << c.mask;
    }
}

TEST_F(SimTest, StateFileWriteDoesNotFollowAPlantedLink) {
    const std::string state = camsim::stateFilePath();
    const std::string tmp = state + ".tmp" + std::to_string(static_cast<long long>(::getpid()));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString victim = dir.filePath("victim");
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    std::remove(tmp.c_str());
    ASSERT_EQ(::symlink(victim.toLocal8Bit().constData(), tmp.c_str()), 0);

    camsim::useFleet(fleet); // makes a new table through the temporary name

    QFile f(victim);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep"));
    std::uint32_t value = 0;
    ASSERT_TRUE(PingHelper::parseDottedQuad(fleet[0].ip, &value));
    EXPECT_TRUE(SimUpTable::readUp(state.c_str(), value));
    std::remove(tmp.c_str());
}
