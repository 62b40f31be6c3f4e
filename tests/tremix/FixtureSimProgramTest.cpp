// The fixture-sim program as other tests and tools/run use it: command line, results file and
// commands on standard input, driven through Tremix.
#include "TremixTestSupport.h"
#include "quillet/Quillet.h"

#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

class SimProcess {
public:
    bool start(const std::vector<std::string>& args) {
        const char* bin = std::getenv("CORVANE_BIN_DIR");
        const std::string path = std::string(bin ? bin : ".") + "/fixture-sim";
        int in[2];
        int out[2];
        if (pipe(in) != 0 || pipe(out) != 0)
            return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, out[1], 2); // messages are read in order with the output
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(path.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const int rc = posix_spawn(&m_pid, path.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        m_in = in[1];
        m_out = out[0];
        return rc == 0;
    }
    // The next line of output, or what came of it within timeoutMs.
    std::string readLine(int timeoutMs = 5000) {
        std::string line;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (m_out >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            pollfd pfd{m_out, POLLIN, 0};
            if (left <= 0 || ::poll(&pfd, 1, static_cast<int>(left)) <= 0)
                break;
            char c = 0;
            if (::read(m_out, &c, 1) != 1)
                break;
            line.push_back(c);
            if (c == '\n')
                break;
        }
        return line;
    }
    void send(const std::string& command) {
        const std::string line = command + "\n";
        EXPECT_EQ(::write(m_in, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    }
    // The exit status; -1 when it has not ended within timeoutMs (then it is killed).
    int wait(int timeoutMs = 10000) {
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (m_pid > 0) {
            const pid_t done = waitpid(m_pid, &status, WNOHANG);
            if (done == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (done < 0 || std::chrono::steady_clock::now() >= deadline) {
                kill(m_pid, SIGKILL);
                waitpid(m_pid, &status, 0);
                m_pid = -1;
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return -1;
    }
    ~SimProcess() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            wait();
        }
        if (m_in >= 0)
            ::close(m_in);
        if (m_out >= 0)
            ::close(m_out);
    }

private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
};

} // namespace

namespace {
std::atomic<bool> pushedSeen{false};

// Starts the library and logs in to the fixture on port: the login's first event is a success.
int loginTo(int port, EventLog& log) {
    EXPECT_EQ(PTQ_FT_Startup(), 1);
    FixtureLoginInfo info = loginRecord(port, &log);
    const int h = PTQ_FT_Login(&info);
    EXPECT_TRUE(log.waitCount(1, 5000));
    EXPECT_EQ(log.codes().empty() ? -1 : log.codes()[0], 0);
    return h;
}
} // namespace

TEST(FixtureSimProgram, CommandLineResultsAndCommands) {
    tremix::setTimeScale(0.05);
    PTQ_FT_SetWaitTime(1, -1, 1);
    char dir[] = "/tmp/fixture-sim-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string results = std::string(dir) + "/results.json";
    std::ofstream(results)
        << R"([{"mac":"AA:BB:CC:00:00:01","audio":"FILE","gpio":[{"name":"G","status":"NG"}]},)"
        << R"({"mac":"AA:BB:CC:00:00:05"}])";
    const std::string portFile = std::string(dir) + "/port";

    SimProcess sim;
    ASSERT_TRUE(sim.start({"--port-file", portFile, "--results", results, "--unknown", "silent"}));
    const std::string banner = sim.readLine();
    ASSERT_EQ(banner.rfind("fixture-sim listening on 127.0.0.1:", 0), 0u) << banner;
    int port = 0;
    std::ifstream(portFile) >> port;
    ASSERT_GT(port, 0);
    EXPECT_NE(banner.find(":" + std::to_string(port)), std::string::npos);

    EventLog log;
    const int h = loginTo(port, log);
    ASSERT_GT(h, 0);

    FixtureTestResult r;
    ASSERT_EQ(PTQ_FT_GetTestResult(h, "aa:bb:cc:00:00:01", &r), 1);
    EXPECT_STREQ(r.audio, "FILE");
    EXPECT_EQ(r.gpioCount, 1);
    // An entry with only its MAC is the all-pass result, whatever unknown MACs get.
    ASSERT_EQ(PTQ_FT_GetTestResult(h, "AA:BB:CC:00:00:05", &r), 1);
    EXPECT_STREQ(r.audio, "OK");
    EXPECT_STREQ(r.uart, "OK");
    ASSERT_GT(r.gpioCount, 0);
    for (int i = 0; i < r.gpioCount; ++i)
        EXPECT_STREQ(r.gpio[i].status, "OK") << i;
    EXPECT_EQ(PTQ_FT_GetTestResult(h, "AA:BB:CC:00:00:02", &r), 0); // silent for unknown MACs
    sim.send("result AA:BB:CC:00:00:03 {\"audio\":\"CMD\"}");
    sim.send("unknown pass");
    // The push reaches the library (which logs every frame it handles); the commands before it
    // have then taken effect.
    pushedSeen.store(false);
    Qx_Set_Log_Hook(
        [](int, const char* line, void*) {
            if (std::strstr(line, "pRecvbuf:") && std::strstr(line, "\"PUSHED\""))
                pushedSeen.store(true);
        },
        nullptr);
    sim.send("push {\"mac\":\"P1\",\"audio\":\"PUSHED\"}");
    const bool pushed = FixtureSim::waitFor([&] { return pushedSeen.load(); }, 3000);
    Qx_Set_Log_Hook(nullptr, nullptr);
    ASSERT_TRUE(pushed);
    // Asked for MACs never left unanswered: an answer for 02 may be its late one for a while.
    ASSERT_EQ(PTQ_FT_GetTestResult(h, "AA:BB:CC:00:00:03", &r), 1);
    EXPECT_STREQ(r.audio, "CMD");
    EXPECT_EQ(PTQ_FT_GetTestResult(h, "AA:BB:CC:00:00:04", &r), 1) << "unknown MACs now pass";
    FixtureDevInfo d;
    ASSERT_EQ(PTQ_FT_GetDevList(h, &d), 1);
    EXPECT_EQ(d.port_num, 8);

    sim.send("refuse on");
    sim.send("close");
    ASSERT_TRUE(log.waitCount(3, 5000));
    EXPECT_EQ(log.codes()[1], 2);
    sim.send("refuse off");
    ASSERT_TRUE(FixtureSim::waitFor([&] { return log.codes().back() == 0; }, 5000));

    EXPECT_EQ(PTQ_FT_Logout(h), 1);
    PTQ_FT_Cleanup();
    sim.send("quit");
    EXPECT_EQ(sim.wait(), 0);
    std::remove(results.c_str());
    std::remove(portFile.c_str());
    rmdir(dir);
    tremix::setTimeScale(0);
}

// An address outside loopback ends the program with 1, bad arguments with 2.
TEST(FixtureSimProgram, BadArgumentsAndCommandsAreRefusedWithAMessage) {
    const struct {
        std::vector<std::string> args;
        int exitCode;
    } badArguments[] = {{{"--host", "10.1.2.3"}, 1}, {{"--bogus"}, 2},        {{"--delay", "-5"}, 2},
                        {{"--delay", "zz"}, 2},      {{"--port", "12ab"}, 2}, {{"--port", "70000"}, 2},
                        {{"--device-list", "{"}, 2}};
    for (const auto& c : badArguments) {
        SimProcess bad;
        ASSERT_TRUE(bad.start(c.args));
        EXPECT_EQ(bad.wait(), c.exitCode) << c.args[0] << " " << c.args.back();
    }

    SimProcess sim;
    ASSERT_TRUE(sim.start({}));
    const std::string banner = sim.readLine();
    const int port = std::atoi(banner.substr(banner.rfind(':') + 1).c_str());
    ASSERT_GT(port, 0) << banner;
    const char* const badCommands[] = {"delay -5",     "delay 10ms",      "garbage zz",   "garbage F",
                                       "refuse maybe", "heartbeat never", "split 3,x",    "split",
                                       "frame x {}",   "frame 300 {}",    "unknown some", "result AA",
                                       "result AA {",  "push [1]",        "close now"};
    for (const char* command : badCommands) {
        sim.send(command);
        const std::string line = sim.readLine(2000);
        const std::string word = std::string(command).substr(0, std::string(command).find(' '));
        EXPECT_EQ(line.rfind("fixture-sim: " + word + ": expected ", 0), 0u) << command << " -> " << line;
    }
    // Nothing of that took effect: the fixture still listens and answers at once.
    tremix::setTimeScale(0.05);
    EventLog log;
    const int h = loginTo(port, log);
    ASSERT_GT(h, 0);
    EXPECT_EQ(sim.readLine().rfind("fixture-sim: client connected", 0), 0u);
    FixtureTestResult r;
    EXPECT_EQ(PTQ_FT_GetTestResult(h, "AA:BB:CC:00:00:09", &r), 1);
    EXPECT_STREQ(r.audio, "OK");
    EXPECT_EQ(PTQ_FT_Logout(h), 1);
    PTQ_FT_Cleanup();
    tremix::setTimeScale(0);
    EXPECT_EQ(sim.readLine().rfind("fixture-sim: client disconnected", 0), 0u);
    sim.send("quit");
    EXPECT_EQ(sim.wait(), 0);
}
