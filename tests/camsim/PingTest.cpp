// The stand-in ping and the system's ping helper.
#include "SimTestSupport.h"

#include "../../corvane/engine/PingHelper.h"
#include "camsim/SimUpTable.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

using namespace simtest;

namespace {

QString simPingDir() {
    return QString::fromLocal8Bit(std::getenv("CORVANE_BIN_DIR")) + "/simping";
}

int runPing(const QStringList& args,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
            QString* out = nullptr) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(simPingDir() + "/ping", args);
    if (!p.waitForFinished(10000))
        return -100;
    if (out)
        *out = QString::fromLocal8Bit(p.readAllStandardOutput());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -101;
}

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
    EXPECT_TRUE(PingHelper::answers(fleet[0].ip));
    EXPECT_EQ(PingHelper::probe(fleet[0].ip), -1);
    EXPECT_FALSE(PingHelper::answers("127.0.9.9"));
    EXPECT_EQ(PingHelper::probe("127.0.9.9"), 0);
    EXPECT_FALSE(PingHelper::answers("192.168.1.1")); // refused by the stand-in, not an answer
    // A ping that ends with neither an answer nor "no answer" is no verdict, never "free".
    EXPECT_EQ(PingHelper::check("192.168.1.1"), PingHelper::Outcome::CouldNotRun);
    EXPECT_EQ(PingHelper::probe("192.168.1.1"), PingHelper::kCouldNotRun);
    EXPECT_EQ(PingHelper::check(fleet[0].ip), PingHelper::Outcome::Answered);
    EXPECT_EQ(PingHelper::check("127.0.9.9"), PingHelper::Outcome::Silent);
    // Not an address: never pinged, counted as in use.
    for (const char* text : {"", "127.1", " 127.0.0.11", "127.0.0.11; rm -rf x", "0x7f.0.0.1", "01.2.3.4"}) {
        EXPECT_FALSE(PingHelper::parseDottedQuad(text, nullptr)) << text;
        EXPECT_EQ(PingHelper::probe(text), -1) << text;
    }
    std::uint32_t value = 0;
    EXPECT_TRUE(PingHelper::parseDottedQuad("192.168.1.10", &value));
    EXPECT_EQ(value, 0xC0A8010Au);
    EXPECT_TRUE(PingHelper::parseDottedQuad("0.0.0.0", &value));
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
