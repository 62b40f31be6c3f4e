// Events, reconnects, heartbeat cadence and the silence limit.
#include "TremixTestSupport.h"

#include "CTcpClient.h"

using std::chrono::steady_clock;

namespace {
double msBetween(steady_clock::time_point a, steady_clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}
} // namespace

class TremixConnection : public TremixSession {
    double scale() const override { return 0.05; }
};

// Reconnect interval 1 s * 0.05 = 50 ms.
TEST_F(TremixConnection, ReconnectBudgetAgainstClosedPort) {
    PTQ_FT_SetWaitTime(1, 3, 1);
    EventLog& log = newLog();
    const int before = tremix::CTcpClient::attempts();
    FixtureLoginInfo info = loginRecord(closedPort(), &log);
    const int h = PTQ_FT_Login(&info);
    ASSERT_GT(h, 0);
    handles.push_back(h);
    ASSERT_TRUE(log.waitCount(4, 5000));
    // Long enough for several more attempts if the budget were not kept.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(log.codes(), (std::vector<int>{2, 2, 2, 3}));
    EXPECT_EQ(tremix::CTcpClient::attempts() - before, 4);
    for (const auto& e : log.copy()) {
        EXPECT_EQ(e.handle, h);
        EXPECT_EQ(e.reserved, 0);
    }
    FixtureTestResult r;
    EXPECT_EQ(PTQ_FT_GetTestResult(h, "AA", &r), 0);
}

TEST_F(TremixConnection, RefusedConnectIsNeverConnected) {
    PTQ_FT_SetWaitTime(1, -1, 1);
    EventLog& log = newLog();
    FixtureLoginInfo info = loginRecord(closedPort(), &log);
    const int h = PTQ_FT_Login(&info);
    handles.push_back(h);
    ASSERT_TRUE(log.waitCount(5, 5000));
    for (int code : log.codes())
        EXPECT_EQ(code, 2);
}

TEST_F(TremixConnection, AttemptsResetAfterSuccessfulReconnect) {
    // Attempts 200 ms apart: the fixture is back before the second one even on a busy machine, and
    // a third attempt would come within the final 300 ms.
    PTQ_FT_SetWaitTime(1, 2, 4);
    EventLog& log = newLog();
    const int h = connect(log);
    // Loss, one failed attempt, then the fixture is back.
    sim.setRefusing(true);
    sim.closeClients();
    ASSERT_TRUE(log.waitCount(3, 5000));
    sim.setRefusing(false);
    ASSERT_TRUE(log.waitCount(4, 5000));
    EXPECT_EQ(log.codes(), (std::vector<int>{0, 2, 2, 0}));
    // A later loss gets the full budget again: 2 (loss), 2 (attempt 1), 3 (attempt 2).
    sim.setRefusing(true);
    sim.closeClients();
    ASSERT_TRUE(log.waitCount(7, 5000));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(log.codes(), (std::vector<int>{0, 2, 2, 0, 2, 2, 3}));
    FixtureTestResult r;
    EXPECT_EQ(PTQ_FT_GetTestResult(h, "AA", &r), 0);
}

TEST_F(TremixConnection, FirstConnectFailureThenFixtureAppears) {
    PTQ_FT_SetWaitTime(1, -1, 1);
    sim.setRefusing(true);
    EventLog& log = newLog();
    FixtureLoginInfo info = loginRecord(sim.port(), &log);
    FixtureSim::waitFor([&] { return false; }, 50);
    const int h = PTQ_FT_Login(&info);
    handles.push_back(h);
    ASSERT_TRUE(log.waitCount(2, 5000));
    sim.setRefusing(false);
    ASSERT_TRUE(FixtureSim::waitFor([&] { return log.codes().back() == 0; }, 5000));
    FixtureTestResult r;
    EXPECT_EQ(PTQ_FT_GetTestResult(h, "AA:00", &r), 1);
}

class TremixHeartbeat : public TremixSession {
    double scale() const override { return 0.02; } // heartbeat 100 ms, silence 1 s
};

TEST_F(TremixHeartbeat, HeartbeatCadence) {
    EventLog& log = newLog();
    const auto start = std::chrono::steady_clock::now();
    connect(log);
    std::this_thread::sleep_for(std::chrono::milliseconds(1050));
    const auto startMs = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(start.time_since_epoch()).count());
    std::vector<std::uint64_t> at;
    for (const auto& q : sim.requests()) {
        if (q.cmd == "heart_beat") {
            EXPECT_EQ(q.payload, "{\"action\":\"get\",\"cmd\":\"heart_beat\"}\n");
            at.push_back(q.atMs);
        }
    }
    ASSERT_GE(at.size(), 6u);
    EXPECT_LE(at.size(), 11u);
    // Times are the server's reads, and a late read may take two at once; but the n-th heartbeat
    // cannot be read before it is due, n intervals after the login.
    for (std::size_t i = 0; i < at.size(); ++i)
        EXPECT_GE(at[i] - startMs, 90u * (i + 1)) << i;
    // Answered heartbeats keep the link: no loss past the silence limit.
    EXPECT_EQ(log.codes(), std::vector<int>{0});
    EXPECT_EQ(sim.connections(), 1);

    // A heartbeat that cannot be sent: the session is not connected from then on. Requests fail
    // at once, the fixture not asked, and no heartbeat goes out before the new link is open (one
    // would fail and tear the new connect down again); the new connect is held open for several
    // heartbeat intervals to show it.
    const int attempts = tremix::CTcpClient::attempts();
    tremix::CTcpClient::HoldNextConnects(1, 450);
    tremix::CBaseSocket::FailNextSends(1);
    ASSERT_TRUE(FixtureSim::waitFor([] { return tremix::CBaseSocket::SendsLeftToFail() == 0; }, 2000))
        << "no heartbeat went out";
    // The reconnect follows at once, not after the 1 s silence limit.
    ASSERT_TRUE(FixtureSim::waitFor([&] { return sim.clients() == 0; }, 600)) << "the old link stayed";
    const int asked = sim.count("test_result");
    FixtureTestResult r;
    const auto requested = std::chrono::steady_clock::now();
    EXPECT_EQ(PTQ_FT_GetTestResult(handles.front(), "AA:BB:CC:DD:EE:01", &r), 0);
    EXPECT_LT(elapsedMs(requested), 100) << "a request waited on a link that is down";
    EXPECT_EQ(sim.count("test_result"), asked);
    const std::size_t before = log.size();
    ASSERT_TRUE(FixtureSim::waitFor([&] { return log.codes().back() == 0 && log.size() > before; }, 5000))
        << "the new link did not report connected";
    EXPECT_EQ(log.codes(), (std::vector<int>{0, 0})) << "the held connect failed";
    EXPECT_EQ(tremix::CTcpClient::attempts(), attempts + 1) << "the held connect was torn down";
    ASSERT_TRUE(FixtureSim::waitFor([&] { return sim.clients() == 1; }, 2000)) << "the new link is not up";
    const int links = sim.connections();
    const int heartbeats = sim.count("heart_beat");
    ASSERT_TRUE(FixtureSim::waitFor([&] { return sim.count("heart_beat") >= heartbeats + 3; }, 3000))
        << "no heartbeats on the new link";
    EXPECT_EQ(log.codes().back(), 0);
    EXPECT_EQ(sim.connections(), links) << "the new link was torn down";
    EXPECT_EQ(sim.clients(), 1);
    EXPECT_EQ(PTQ_FT_GetTestResult(handles.front(), "AA:BB:CC:DD:EE:01", &r), 1);
}

TEST_F(TremixHeartbeat, SilenceLimitReconnects) {
    // A wait time of 0 must not make the receive block for ever (the silence check needs it).
    PTQ_FT_SetWaitTime(0, -1, 1);
    sim.setAnswerHeartbeat(false);
    EventLog& log = newLog();
    connect(log);
    const auto connected = log.copy()[0].at;
    ASSERT_TRUE(log.waitCount(2, 5000));
    const auto events = log.copy();
    EXPECT_EQ(events[1].event, 2);
    const double silent = msBetween(connected, events[1].at);
    EXPECT_GE(silent, 950);
    EXPECT_LE(silent, 3000);
    // Heartbeats kept going while silent, and the reconnect follows.
    EXPECT_GE(sim.count("heart_beat"), 5);
    ASSERT_TRUE(log.waitCount(3, 5000));
    EXPECT_EQ(log.copy()[2].event, 0);
    EXPECT_TRUE(FixtureSim::waitFor([&] { return sim.connections() == 2; }, 2000));
}

// Request wait 10 s * 0.05 = 500 ms, silence limit 2.5 s.
TEST_F(TremixConnection, BrokenFramesFromTheFixtureDoNotStallRequests) {
    EventLog& log = newLog();
    const int h = connect(log);
    FixtureTestResult r;
    auto settle = [] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); };

    // A stray start mark: the next reply is read at once.
    sim.sendRaw(std::string("\xF0", 1));
    settle();
    auto from = steady_clock::now();
    EXPECT_EQ(PTQ_FT_GetTestResult(h, "AA:BB:CC:00:00:01", &r), 1);
    EXPECT_LT(msBetween(from, steady_clock::now()), 250);

    // A header announcing 65535 bytes of which 10 come: dropped after one request wait, without
    // waiting for the silence limit and its reconnect.
    std::string huge = FixtureSim::frame(1, "0123456789");
    huge[4] = huge[5] = static_cast<char>(0xFF);
    sim.sendRaw(huge);
    settle();
    from = steady_clock::now();
    bool answered = false;
    while (!answered && msBetween(from, steady_clock::now()) < 4000)
        answered = PTQ_FT_GetTestResult(h, "AA:BB:CC:00:00:02", &r) == 1;
    EXPECT_TRUE(answered);
    EXPECT_LT(msBetween(from, steady_clock::now()), 1300);
    EXPECT_EQ(sim.connections(), 1);
    EXPECT_EQ(log.codes(), std::vector<int>{0});
}
