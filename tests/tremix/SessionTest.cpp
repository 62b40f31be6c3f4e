// Blocking requests, the push cache and the session table, against the fake fixture.
#include "TremixTestSupport.h"

#include "CClient.h"
#include "CTcpClient.h"
#include "quillet/Quillet.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

const char* kMacA = "AA:BB:CC:DD:EE:01";
const char* kMacB = "AA:BB:CC:DD:EE:02";

FixtureTestResult marked() {
    FixtureTestResult r;
    std::memset(&r, 0x5A, sizeof r);
    return r;
}

bool untouched(const FixtureTestResult& r) {
    const FixtureTestResult m = marked();
    return std::memcmp(&r, &m, sizeof r) == 0;
}

std::string result(const std::string& mac, const std::string& audio) {
    return "{\"cmd\":\"test_result\",\"mac\":\"" + mac + "\",\"audio\":\"" + audio +
           "\",\"gpio\":[{\"name\":\"G1\",\"function\":\"LED\",\"status\":\"OK\"}]}";
}

} // namespace

// Request wait at this scale: 10 s * 0.05 = 500 ms.
TEST_F(TremixSession, TestResultRequestSendsExactBytesAndFillsRecord) {
    EventLog& log = newLog();
    const int h = connect(log);
    ASSERT_GT(h, 0);
    sim.setResult(kMacA, result(kMacA, "PASS"));
    FixtureTestResult r = marked();
    ASSERT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 1);
    EXPECT_STREQ(r.mac, kMacA);
    EXPECT_STREQ(r.audio, "PASS");
    EXPECT_EQ(r.gpioCount, 1);
    EXPECT_EQ(r.port, 0);
    bool found = false;
    for (const auto& q : sim.requests())
        found = found || (q.type == 0 &&
                          q.payload == std::string("{\"action\":\"get\",\"cmd\":\"test_result\",\"mac\":\"") +
                                           kMacA + "\"}\n");
    EXPECT_TRUE(found);

    // An escaped MAC goes out escaped and the reply's MAC still matches.
    sim.setResult("A\"B", result("A\\\"B", "Q"));
    ASSERT_EQ(PTQ_FT_GetTestResult(h, "A\"B", &r), 1);
    EXPECT_STREQ(r.mac, "A\"B");
    EXPECT_EQ(sim.requests().back().payload,
              "{\"action\":\"get\",\"cmd\":\"test_result\",\"mac\":\"A\\\"B\"}\n");

    // A status is OK only when the whole text is "OK": a zero byte inside does not end it.
    sim.setResult(kMacB, R"({"audio":"OK\u0000NG","gpio":[{"name":"G1","status":"OK\u0000NG"}],)"
                         R"("network":[{"name":"eth0","status":"OK\u0000"}]})");
    r = marked();
    ASSERT_EQ(PTQ_FT_GetTestResult(h, kMacB, &r), 1);
    EXPECT_STRNE(r.audio, "OK");
    EXPECT_STRNE(r.gpio[0].status, "OK");
    EXPECT_STRNE(r.network[0].status, "OK");
    EXPECT_EQ(std::strlen(r.audio), 5u) << "the whole text is in view";

    FixtureDevInfo d;
    std::memset(&d, 0, sizeof d);
    ASSERT_EQ(PTQ_FT_GetDevList(h, &d), 1);
    EXPECT_STREQ(d.uuid, "fixture-sim-0001");
    EXPECT_EQ(d.port_num, 8);
    EXPECT_EQ(sim.count("device_list"), 1);
}

namespace {
std::atomic<int> bigFrames{0};
void countBigFrames(int, const char* line, void*) {
    if (std::strstr(line, "\"cmd\":\"marker\""))
        bigFrames.fetch_add(1);
}
} // namespace

TEST_F(TremixSession, SplitRepliesGarbageAndOddFramesAreHandled) {
    EventLog& log = newLog();
    const int h = connect(log);
    sim.setSplit({3, 6, 9, 40});
    FixtureTestResult r = marked();
    ASSERT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 1);
    EXPECT_STREQ(r.mac, kMacA);
    sim.setSplit({});
    // Garbage, a frame of unknown type, wrong types for "cmd", an unawaited reply and bad JSON.
    sim.sendRaw("\x01\x02garbage\xF1");
    sim.sendFrame(7, result(kMacB, "X"));
    sim.sendFrame(1, "{\"cmd\":5}");
    sim.sendFrame(2, "{\"cmd\":[\"test_result\"]}");
    sim.sendFrame(1, result(kMacA, "STRAY"));
    sim.sendFrame(1, "");
    sim.sendFrame(2, "{not json");
    r = marked();
    ASSERT_EQ(PTQ_FT_GetTestResult(h, kMacB, &r), 1);
    EXPECT_STREQ(r.audio, "OK"); // the fixture's answer, not the stray reply

    // A push of the largest payload, with more items than the record holds, while a question for
    // its MAC is open that the fixture leaves unanswered.
    std::string big = "{\"cmd\":\"test_result\",\"mac\":\"CC:01\",\"gpio\":[";
    for (int i = 0; i < 300; ++i)
        big += std::string(i ? "," : "") + "{\"name\":\"G" + std::to_string(i) + "\",\"status\":\"OK\"}";
    big += "]}";
    ASSERT_LT(big.size(), 65535u);
    big.insert(big.size() - 1, 65535 - big.size(), ' ');
    bigFrames.store(0);
    Qx_Set_Log_Hook(&countBigFrames, nullptr);
    sim.setUnknown(FixtureSim::Unknown::Silent);
    const int asked = sim.count("test_result");
    std::atomic<int> got{-1};
    std::thread question([&] { got.store(PTQ_FT_GetTestResult(h, "CC:01", &r)); });
    const bool seen = FixtureSim::waitFor([&] { return sim.count("test_result") > asked; }, 3000);
    sim.sendFrame(2, big);
    sim.sendFrame(1, "{\"cmd\":\"marker\"}"); // handled after the push
    const bool handled = FixtureSim::waitFor([&] { return bigFrames.load() == 1; }, 3000);
    question.join();
    Qx_Set_Log_Hook(nullptr, nullptr);
    ASSERT_TRUE(seen && handled);
    ASSERT_EQ(got.load(), 1);
    EXPECT_EQ(r.gpioCount, 128) << "the entries the record holds";
    EXPECT_STREQ(r.gpio[127].name, "G127");
    EXPECT_EQ(log.codes(), std::vector<int>{0});
}

TEST_F(TremixSession, TimeoutFailsAndLeavesRecord) {
    EventLog& log = newLog();
    const int h = connect(log);
    sim.setUnknown(FixtureSim::Unknown::Silent);
    FixtureTestResult r = marked();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 0);
    EXPECT_GE(elapsedMs(start), 450);
    EXPECT_TRUE(untouched(r));
    // A reply without a MAC is no result either (it cannot match).
    sim.setUnknown(FixtureSim::Unknown::NoMac);
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacB, &r), 0);
    EXPECT_TRUE(untouched(r));
    // An empty MAC fails without asking.
    const int before = sim.count("test_result");
    EXPECT_EQ(PTQ_FT_GetTestResult(h, "", &r), 0);
    EXPECT_EQ(sim.count("test_result"), before);
    // The connection stays up (asked for a third MAC: A's and B's questions are still open).
    sim.setUnknown(FixtureSim::Unknown::Pass);
    EXPECT_EQ(PTQ_FT_GetTestResult(h, "AA:BB:CC:DD:EE:03", &r), 1);
}

class TremixSlowSession : public TremixSession {
    double scale() const override { return 0.5; } // request wait 5 s
};

TEST_F(TremixSlowSession, LossDuringWaitFailsFast) {
    EventLog& log = newLog();
    const int h = connect(log);
    sim.setCloseOnRequest(true);
    FixtureTestResult r = marked();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 0);
    EXPECT_LT(elapsedMs(start), 2000);
    EXPECT_TRUE(untouched(r));
    ASSERT_TRUE(log.waitCount(2, 2000));
    EXPECT_EQ(log.codes()[1], 2);
}

// The logout that ends a session does not wait out a request waiting on it, also when two logins
// of the session log out at once: whichever ends it wakes the request, which fails at once.
TEST_F(TremixSlowSession, LogoutWakesAWaitingRequest) {
    for (const int logins : {1, 2}) {
        SCOPED_TRACE(logins);
        EventLog& log = newLog();
        const int h = connect(log);
        const FixtureLoginInfo again = loginRecord(sim.port(), nullptr);
        if (logins == 2) {
            ASSERT_EQ(PTQ_FT_Login(&again), h);
        }
        sim.setUnknown(FixtureSim::Unknown::Silent);
        FixtureTestResult r = marked();
        std::atomic<int> got{-1};
        const char* mac = logins == 1 ? kMacA : kMacB;
        std::thread question([&] { got.store(PTQ_FT_GetTestResult(h, mac, &r)); });
        const bool asked = FixtureSim::waitFor([&] { return sim.count("test_result") == logins; }, 3000);
        const auto start = std::chrono::steady_clock::now();
        std::vector<std::thread> logouts;
        std::atomic<int> loggedOut{0};
        for (int i = 0; i < logins; ++i)
            logouts.emplace_back([&] { loggedOut.fetch_add(PTQ_FT_Logout(h)); });
        for (std::thread& t : logouts)
            t.join();
        const double logoutMs = elapsedMs(start);
        question.join();
        ASSERT_TRUE(asked);
        EXPECT_EQ(loggedOut.load(), logins);
        EXPECT_LT(logoutMs, 1000) << "the request wait is 5 s";
        EXPECT_EQ(got.load(), 0);
        EXPECT_TRUE(untouched(r));
        handles.clear();
        sim.setUnknown(FixtureSim::Unknown::Pass);
    }
}

namespace {
std::atomic<int> frameLines{0};
void countFrames(int, const char* line, void*) {
    if (std::strstr(line, "CLoginAccess::ProcessCMD: pRecvbuf:"))
        frameLines.fetch_add(1);
}
void countNotKept(int, const char* line, void*) {
    if (std::strstr(line, "push while a question is open, not kept"))
        frameLines.fetch_add(1);
}
} // namespace

// The fixture is always asked and its answer decides: a result it pushed before the question
// never does (the fixture may know better since). A push that comes while the request waits
// answers it when the fixture does not; one that comes while the device's question is open
// (a request for it gave up) is not kept.
TEST_F(TremixSession, PushedResultsAnswerOnlyAQuestionLeftOpen) {
    EventLog& log = newLog();
    sim.setAnswerHeartbeat(false);
    const int h = connect(log);
    frameLines.store(0);
    Qx_Set_Log_Hook(&countFrames, nullptr);
    sim.push(result(kMacA, "FIRST"));
    sim.push(result(kMacA, "SECOND"));
    sim.push("{\"cmd\":\"test_result\",\"mac\":\"\",\"audio\":\"EMPTY\"}");
    // The frame log line comes before the frame is handled; the next frame's line after it.
    ASSERT_TRUE(FixtureSim::waitFor([&] { return frameLines.load() >= 3; }, 3000));
    sim.sendFrame(1, "{\"cmd\":\"heart_beat\"}");
    ASSERT_TRUE(FixtureSim::waitFor([&] { return frameLines.load() >= 4; }, 3000));
    Qx_Set_Log_Hook(nullptr, nullptr);

    sim.setResult(kMacA, result(kMacA, "DIRECT-NG"));
    FixtureTestResult r = marked();
    ASSERT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 1);
    EXPECT_STREQ(r.audio, "DIRECT-NG");
    EXPECT_EQ(sim.count("test_result"), 1);
    // No answer: the pushes from before the question do not answer it either.
    sim.clearResults();
    sim.setUnknown(FixtureSim::Unknown::Silent);
    r = marked();
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 0);
    EXPECT_TRUE(untouched(r));
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacA, nullptr), 0);

    // Pushed while the question waits: of this MAC it answers, of another it does not.
    const auto askWhilePushing = [&](const char* asked, const char* pushed, const char* text) {
        const int before = sim.count("test_result");
        r = marked();
        std::atomic<int> got{-1};
        std::thread question([&] { got.store(PTQ_FT_GetTestResult(h, asked, &r)); });
        const bool seen = FixtureSim::waitFor([&] { return sim.count("test_result") > before; }, 3000);
        sim.push(result(pushed, text));
        question.join();
        EXPECT_TRUE(seen) << "the question reached the fixture";
        return got.load();
    };
    const char* kMacC = "AA:BB:CC:DD:EE:03";
    EXPECT_EQ(askWhilePushing(kMacB, kMacC, "EARLIER"), 0);
    EXPECT_TRUE(untouched(r));
    ASSERT_EQ(askWhilePushing(kMacC, kMacC, "DURING"), 1);
    EXPECT_STREQ(r.audio, "DURING");
    // C's own answer never came, so its question is open: a push for C now is not kept.
    frameLines.store(0);
    Qx_Set_Log_Hook(&countNotKept, nullptr);
    sim.push(result(kMacC, "WHILE-OPEN"));
    EXPECT_TRUE(FixtureSim::waitFor([&] { return frameLines.load() == 1; }, 3000));
    Qx_Set_Log_Hook(nullptr, nullptr);

    // While the link is down nothing is returned.
    sim.setRefusing(true);
    sim.closeClients();
    ASSERT_TRUE(log.waitCount(2, 3000));
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 0);
}

// The results kept are bounded: 256 MACs at most, each for at most 60 s, the oldest dropped first;
// the logout frees them.
TEST(TremixPushCache, BoundedByCountAndAgeAndFreedAtLogout) {
    tremix::setTimeScale(1.0);
    tremix::CClient client;
    FixtureTestResult record;
    std::memset(&record, 0, sizeof record);
    auto mac = [](int i) { return "M" + std::to_string(i); };
    for (int i = 0; i < 300; ++i) {
        std::snprintf(record.audio, sizeof record.audio, "%d", i);
        client.saveTestInfo(mac(i), record);
    }
    EXPECT_EQ(client.CachedResults(), 256u);
    FixtureTestResult out;
    EXPECT_FALSE(client.findTestInfo("M43", &out));
    ASSERT_TRUE(client.findTestInfo("M44", &out));
    EXPECT_STREQ(out.audio, "44");
    ASSERT_TRUE(client.findTestInfo("M299", &out));
    // A newer push of a MAC makes it the newest: the next one to go is the one after it.
    client.saveTestInfo("M44", record);
    client.saveTestInfo("M300", record);
    EXPECT_TRUE(client.findTestInfo("M44", &out));
    EXPECT_FALSE(client.findTestInfo("M45", &out));
    EXPECT_EQ(client.CachedResults(), 256u);

    client.Logout();
    EXPECT_EQ(client.CachedResults(), 0u);

    const std::uint64_t now = tremix::nowMs();
    client.saveTestInfo("OLD", record, now - 60000);
    client.saveTestInfo("YOUNG", record, now - 59000);
    EXPECT_FALSE(client.findTestInfo("OLD", &out));
    EXPECT_TRUE(client.findTestInfo("YOUNG", &out));
    EXPECT_EQ(client.CachedResults(), 1u);
    tremix::setTimeScale(0);
}

TEST_F(TremixSession, SharedEndpointAndReferenceCount) {
    EventLog& first = newLog();
    EventLog& second = newLog();
    const int h = connect(first);
    FixtureLoginInfo info = loginRecord(sim.port(), &second);
    // The joining login hears "connected" at once, on its own thread.
    EXPECT_EQ(PTQ_FT_Login(&info), h);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second.copy()[0].event, 0);
    EXPECT_EQ(second.copy()[0].handle, h);
    EXPECT_EQ(second.copy()[0].thread, std::this_thread::get_id());
    EXPECT_NE(first.copy()[0].thread, std::this_thread::get_id());
    EXPECT_TRUE(FixtureSim::waitFor([&] { return sim.connections() == 1; }, 2000));

    // Another port or another spelling of the address is another session.
    FixtureLoginInfo other = loginRecord(closedPort(), nullptr);
    const int h2 = PTQ_FT_Login(&other);
    EXPECT_GT(h2, 0);
    EXPECT_NE(h2, h);
    FixtureLoginInfo spelled = loginRecord(sim.port(), nullptr, "localhost");
    const int h3 = PTQ_FT_Login(&spelled);
    EXPECT_NE(h3, h);
    EXPECT_EQ(PTQ_FT_Logout(h2), 1);
    EXPECT_EQ(PTQ_FT_Logout(h3), 1);

    FixtureTestResult r;
    EXPECT_EQ(PTQ_FT_Logout(h), 1);
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 1); // still running
    EXPECT_EQ(PTQ_FT_Logout(h), 1);
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 0);
    EXPECT_TRUE(FixtureSim::waitFor([&] { return sim.clients() == 0; }, 2000));
    // A second logout of a freed entry, and handles that name no entry, are refused.
    EXPECT_EQ(PTQ_FT_Logout(h), 0);
    EXPECT_EQ(PTQ_FT_Logout(0), 0);
    EXPECT_EQ(PTQ_FT_Logout(-5), 0);
    EXPECT_EQ(PTQ_FT_Logout(128), 0);
    EXPECT_EQ(PTQ_FT_Logout(100), 0);
    handles.clear();
}

TEST_F(TremixSession, BadArgumentsFail) {
    EventLog& log = newLog();
    const int h = connect(log);
    FixtureTestResult r = marked();
    FixtureDevInfo d;
    EXPECT_EQ(PTQ_FT_Login(nullptr), 0);
    FixtureLoginInfo unterminated = loginRecord(sim.port(), nullptr);
    std::memset(unterminated.host, 'a', sizeof unterminated.host);
    EXPECT_EQ(PTQ_FT_Login(&unterminated), 0);
    EXPECT_EQ(PTQ_FT_GetTestResult(h, nullptr, &r), 0);
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacA, nullptr), 0);
    EXPECT_EQ(PTQ_FT_GetTestResult(-1, kMacA, &r), 0);
    EXPECT_EQ(PTQ_FT_GetTestResult(0, kMacA, &r), 0);
    EXPECT_EQ(PTQ_FT_GetTestResult(128, kMacA, &r), 0);
    EXPECT_EQ(PTQ_FT_GetTestResult(h + 1, kMacA, &r), 0);
    EXPECT_EQ(PTQ_FT_GetDevList(h, nullptr), 0);
    EXPECT_EQ(PTQ_FT_GetDevList(-1, &d), 0);
    EXPECT_EQ(PTQ_FT_GetDevList(500, &d), 0);
    EXPECT_TRUE(untouched(r));
    // Only handles the library hands out reach a session, not others with the same low 16 bits.
    EXPECT_EQ(PTQ_FT_GetTestResult(h + 0x10000, kMacA, &r), 0);
    EXPECT_EQ(PTQ_FT_Logout(h + 0x10000), 0);
    EXPECT_EQ(PTQ_FT_Logout(0x7FFFFFFF), 0);
    EXPECT_EQ(PTQ_FT_Logout(h + 1), 0);
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 1) << "the session is still there";
}

TEST_F(TremixSession, StartupCounting) {
    FixtureLoginInfo info = loginRecord(sim.port(), nullptr);
    PTQ_FT_Cleanup(); // undoes SetUp's start-up
    EXPECT_EQ(PTQ_FT_Login(&info), 0);
    PTQ_FT_Cleanup(); // below zero: stays at zero
    PTQ_FT_Cleanup();
    EXPECT_EQ(PTQ_FT_Startup(), 1);
    EXPECT_EQ(PTQ_FT_Startup(), 1);
    PTQ_FT_Cleanup();
    int h = PTQ_FT_Login(&info);
    EXPECT_GT(h, 0);
    EXPECT_EQ(PTQ_FT_Logout(h), 1);
    PTQ_FT_Cleanup();
    EXPECT_EQ(PTQ_FT_Login(&info), 0);
    EXPECT_EQ(PTQ_FT_Startup(), 1); // balanced with TearDown's clean-up
    h = PTQ_FT_Login(&info);
    EXPECT_GT(h, 0);
    handles.push_back(h);
}

TEST_F(TremixSession, TableHolds127Sessions) {
    PTQ_FT_SetWaitTime(1, 0, 1000); // one attempt each, no retries
    const int port = closedPort();
    std::vector<int> opened;
    char host[32];
    for (int i = 0; i < 127; ++i) {
        std::snprintf(host, sizeof host, "127.0.%d.%d", 1 + i / 200, 1 + i % 200);
        FixtureLoginInfo info = loginRecord(port, nullptr, host);
        const int h = PTQ_FT_Login(&info);
        ASSERT_GT(h, 0) << i;
        opened.push_back(h);
    }
    std::sort(opened.begin(), opened.end());
    EXPECT_EQ(opened.front(), 1);
    EXPECT_EQ(opened.back(), 127);
    FixtureLoginInfo more = loginRecord(port, nullptr, "127.0.9.9");
    EXPECT_EQ(PTQ_FT_Login(&more), 0);
    FixtureLoginInfo existing = loginRecord(port, nullptr, "127.0.1.5");
    const int again = PTQ_FT_Login(&existing);
    EXPECT_EQ(again, 5);
    EXPECT_EQ(PTQ_FT_Logout(again), 1);
    for (int h : opened)
        EXPECT_EQ(PTQ_FT_Logout(h), 1);
    // The entries are free again.
    const int h = PTQ_FT_Login(&more);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(PTQ_FT_Logout(h), 1);
}

namespace {
struct LogoutInCallback {
    std::atomic<int> handle{0};
    std::atomic<int> result{-1};
    std::atomic<int> calls{0};
    static void callback(int32_t handle, int32_t, int32_t, void* user) {
        auto* self = static_cast<LogoutInCallback*>(user);
        self->result.store(PTQ_FT_Logout(handle));
        FixtureTestResult r;
        if (PTQ_FT_GetTestResult(handle, "AA", &r) != 0)
            self->result.store(99);
        self->calls.fetch_add(1);
    }
};
} // namespace

TEST_F(TremixSession, LogoutFromCallbackThreadIsRefused) {
    LogoutInCallback probe;
    FixtureLoginInfo info = loginRecord(sim.port(), nullptr);
    info.user = &probe;
    info.callback = &LogoutInCallback::callback;
    const int h = PTQ_FT_Login(&info);
    ASSERT_GT(h, 0);
    handles.push_back(h);
    ASSERT_TRUE(FixtureSim::waitFor([&] { return probe.calls.load() == 1; }, 3000));
    EXPECT_EQ(probe.result.load(), 0);
    FixtureTestResult r;
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 1); // the session lives on
}

class TremixRealTime : public TremixSession {
    double scale() const override { return 1.0; }
};

TEST_F(TremixRealTime, LogoutWakesBlockedReceive) {
    PTQ_FT_SetWaitTime(5, -1, 10); // the receive blocks up to 5 s per pass
    sim.setAnswerHeartbeat(false);
    EventLog& log = newLog();
    const int h = connect(log);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(PTQ_FT_Logout(h), 1);
    EXPECT_LT(elapsedMs(start), 1000);
    handles.clear();
    EXPECT_EQ(log.codes(), std::vector<int>{0}); // the stop is not reported as a loss
}

class TremixBusySession : public TremixSession {
    double scale() const override { return 0.004; } // heartbeat every 20 ms, reconnect after 4 ms
};

TEST_F(TremixBusySession, HeartbeatsRequestsAndReconnectsInterleave) {
    PTQ_FT_SetWaitTime(250, -1, 1); // socket time-outs 1 s at this scale
    EventLog& log = newLog();
    const int h = connect(log);
    std::atomic<bool> done{false};
    std::atomic<int> ok{0};
    std::vector<std::thread> callers;
    for (int t = 0; t < 3; ++t) {
        callers.emplace_back([&, t] {
            FixtureTestResult r;
            const std::string mac = "AA:BB:CC:DD:EE:1" + std::to_string(t);
            while (!done.load()) {
                if (PTQ_FT_GetTestResult(h, mac.c_str(), &r) == 1 && std::strcmp(r.mac, mac.c_str()) == 0)
                    ok.fetch_add(1);
                FixtureDevInfo d;
                PTQ_FT_GetDevList(h, &d);
            }
        });
    }
    // The fixture drops the link again and again while requests and heartbeats go out.
    int linksBeforeLastDrop = 0;
    for (int i = 0; i < 10; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        linksBeforeLastDrop = sim.connections();
        sim.closeClients();
    }
    // The link the last drop closed is replaced; the library may learn of the drop only now, so
    // neither "connected" nor a success seen so far says the new link is up.
    ASSERT_TRUE(FixtureSim::waitFor(
        [&] { return sim.connections() > linksBeforeLastDrop && log.codes().back() == 0; }, 10000));
    // Requests keep succeeding on it (a busy machine may need longer than the drops).
    const int before = ok.load();
    EXPECT_TRUE(FixtureSim::waitFor([&] { return ok.load() > std::max(before, 10); }, 10000)) << ok.load();
    done.store(true);
    for (auto& c : callers)
        c.join();
    EXPECT_GT(ok.load(), 10);
    EXPECT_GE(sim.count("heart_beat"), 3);
    EXPECT_GE(sim.connections(), 5);
    FixtureTestResult r;
    EXPECT_EQ(PTQ_FT_GetTestResult(h, kMacA, &r), 1);
}
