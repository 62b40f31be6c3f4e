// One open question per device: a request that gave up leaves its device's question open, and
// until an answer for that device comes (or the silence limit passes) nothing else is asked of it.
// The orders of late answers, pushes, reconnects and logouts, and the bounds, are the random
// schedules' (ScheduleTest.cpp); these are the cases that need a scale of their own.
#include "CRequestGate.h"
#include "FixtureProtocol.h"
#include "TremixTestSupport.h"
#include "TremixTime.h"

#include "quillet/Quillet.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <stdexcept>
#include <thread>

namespace {

using Answer = FixtureSim::Answer;

// A result whose audio and GPIO item both read verdict.
std::string verdict(const char* v) {
    return std::string(R"({"audio":")") + v + R"(","gpio":[{"name":"G1","function":"LED","status":")" + v +
           "\"}]}";
}

enum class Field { Audio, Gpio };

// What a request reads: the audio text or the GPIO item's status, "NOGET" when it failed.
std::string ask(int handle, const std::string& mac, Field field) {
    FixtureTestResult r;
    std::memset(&r, 0, sizeof r);
    if (PTQ_FT_GetTestResult(handle, mac.c_str(), &r) != 1)
        return "NOGET";
    if (field == Field::Audio)
        return r.audio;
    return r.gpioCount >= 1 ? r.gpio[0].status : "NO ITEM";
}

std::string mac(int scenario, int device) {
    char text[18];
    std::snprintf(text, sizeof text, "AA:00:00:00:%02X:%02X", scenario & 0xFF, device & 0xFF);
    return text;
}

std::atomic<int> g_logged{0};
std::string g_needle;
void countLines(int, const char* line, void*) {
    if (std::strstr(line, g_needle.c_str()))
        g_logged.fetch_add(1);
}

} // namespace

// At this scale the request wait W (10 s) is 1 s of real time and the silence limit (50 s) 5 s.
class TremixQuestions : public TremixSession {
protected:
    double scale() const override { return 0.1; }
    // Real milliseconds for a multiple of W.
    static int w(double multiple) { return static_cast<int>(1000 * multiple); }
};

// A fixture answers one request 40 s late: until then the device's question is open and its requests
// fail without being sent; the first one sent after the answer gets its own.
TEST_F(TremixQuestions, AnAnswerFortySecondsLateClosesTheQuestion) {
    EventLog& log = newLog();
    const int h = connect(log);
    sim.setUnknown(FixtureSim::Unknown::Silent);
    const std::string a = mac(0x40, 1);
    sim.scriptAnswers(a, {{{1, verdict("OK"), w(4)}}, {{1, verdict("NG"), w(0.1)}}});
    g_needle = "answer to an earlier question, dropped";
    g_logged.store(0);
    Qx_Set_Log_Hook(&countLines, nullptr);
    EXPECT_EQ(ask(h, a, Field::Gpio), "NOGET");
    const auto gaveUp = std::chrono::steady_clock::now();
    std::vector<std::string> seen;
    while (elapsedMs(gaveUp) < w(4.5)) {
        seen.push_back(ask(h, a, Field::Gpio));
        if (seen.back() != "NOGET")
            break;
    }
    Qx_Set_Log_Hook(nullptr, nullptr);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), "NG") << "the first request after the late answer gets its own";
    for (std::size_t i = 0; i + 1 < seen.size(); ++i)
        EXPECT_EQ(seen[i], "NOGET") << i;
    EXPECT_EQ(sim.count("test_result"), 2) << "nothing asked while the question was open";
    EXPECT_EQ(g_logged.load(), 1) << "the late answer is dropped and logged";
}

// Only a reply for the device whose question is open answers it; other replies are not taken
// by a request they do not answer.
TEST_F(TremixQuestions, RepliesOfAnotherKindOrDeviceAreNotTaken) {
    EventLog& log = newLog();
    const int h = connect(log);
    const auto result = [](const std::string& m, const char* audio) {
        return "{\"cmd\":\"test_result\",\"mac\":\"" + m + "\",\"audio\":\"" + audio + "\"}";
    };
    // A reply of another kind, for another MAC, or whose "cmd" or "mac" only begins like the
    // question's (a zero byte following): not taken, the record untouched.
    const std::vector<std::pair<const char*, std::string>> wrong = {
        {"another kind", "{\"cmd\":\"device_list\",\"uuid\":\"x\"}"},
        {"another MAC", result("AA:BB:CC:DD:EE:99", "WRONG")},
        {"cmd with a zero byte", R"({"cmd":"test_result\u0000x","mac":"AA:00:00:00:60:03","audio":"OK"})"},
        {"mac with a zero byte", R"({"cmd":"test_result","mac":"AA:00:00:00:60:04\u0000","audio":"OK"})"},
    };
    for (std::size_t i = 0; i < wrong.size(); ++i) {
        SCOPED_TRACE(wrong[i].first);
        sim.queueReply(wrong[i].second);
        FixtureTestResult r;
        std::memset(&r, 0x5A, sizeof r);
        const FixtureTestResult before = r;
        EXPECT_EQ(PTQ_FT_GetTestResult(h, mac(0x60, static_cast<int>(i + 1)).c_str(), &r), 0);
        EXPECT_EQ(std::memcmp(&r, &before, sizeof r), 0);
    }
    sim.queueReply(result("AA:00:00:00:60:05", "WRONG"));
    FixtureDevInfo d;
    std::memset(&d, 0, sizeof d);
    EXPECT_EQ(PTQ_FT_GetDevList(h, &d), 0);

    // Case and separators of the MAC do not matter.
    sim.queueReply(result("aa-00-00-00-60-06", "LOWER"));
    EXPECT_EQ(ask(h, mac(0x60, 6), Field::Audio), "LOWER");

    // The fixture leaves A unanswered: B's answer, coming next, answers B; A's late answer, when it
    // comes, closes A's question and is dropped; A is then asked again and answered.
    const std::string a = mac(0x60, 7), b = mac(0x60, 8);
    sim.setUnknown(FixtureSim::Unknown::Silent);
    EXPECT_EQ(ask(h, a, Field::Audio), "NOGET");
    sim.setResult(b, result(b, "B-AFTER-A"));
    EXPECT_EQ(ask(h, b, Field::Audio), "B-AFTER-A");
    g_needle = "answer to an earlier question, dropped";
    g_logged.store(0);
    Qx_Set_Log_Hook(&countLines, nullptr);
    sim.sendFrame(1, result(a, "LATE-A"));
    const bool dropped = FixtureSim::waitFor([] { return g_logged.load() == 1; }, 3000);
    Qx_Set_Log_Hook(nullptr, nullptr);
    EXPECT_TRUE(dropped) << "A's late answer is dropped";
    sim.setResult(a, result(a, "NEW-A"));
    EXPECT_EQ(ask(h, a, Field::Audio), "NEW-A");
}

// An owed answer whose first bytes come before its question's limit and the rest after it: the
// question stays open until the whole answer is parsed (it answers the earlier request and is
// dropped), so a request asked just past the limit is sent only then and reads its own answer.
class TremixQuestionLimit : public TremixSession {
protected:
    double scale() const override { return 0.2; } // W 2 s, L 10 s of real time
};

TEST_F(TremixQuestionLimit, AnOwedAnswerInTwoPiecesAroundTheLimitHoldsTheQuestion) {
    EventLog& log = newLog();
    const int h = connect(log);
    const std::string a = mac(0x41, 1);
    sim.setUnknown(FixtureSim::Unknown::Silent);
    EXPECT_EQ(ask(h, a, Field::Audio), "NOGET");
    const auto gaveUp = std::chrono::steady_clock::now();
    sim.setResult(a, "{\"audio\":\"NG\"}");
    const std::string owed = tremix::buildFrame(tremix::kFrameReply, "{\"cmd\":\"test_result\",\"mac\":\"" +
                                                                         a + "\",\"audio\":\"OK\"}");
    // First piece 0.8 s before the limit, the rest 0.8 s after it (within W, so never stale).
    std::this_thread::sleep_until(gaveUp + std::chrono::milliseconds(9200));
    sim.sendSplit(owed, owed.size() / 2, 1600);
    std::this_thread::sleep_until(gaveUp + std::chrono::milliseconds(10300));
    EXPECT_EQ(ask(h, a, Field::Audio), "NG") << "the owed OK answered the earlier request";
    EXPECT_EQ(sim.count("test_result"), 2);
}

// The gate alone: a push decides a request only when its link had parsed everything that came
// before some moment after the request went out. A link going down is no such moment (the bytes it
// still holds may be parsed afterwards, though they came before); a new link has parsed all that
// came before its connect() began.
TEST(TremixGate, APushDecidesOnlyAfterAnEmptyReceiveSideSeenAfterTheSend) {
    using tremix::CRequestGate;
    const int link = 0;
    const auto pushAfter = [&](const std::function<void(CRequestGate&)>& between) {
        CRequestGate gate;
        gate.SetLink(&link, true, tremix::nowNs());
        CRequestGate::Request request;
        request.key = "aa0000000001";
        EXPECT_EQ(
            gate.Send(
                request, &link, tremix::nowNs() + 1'000'000'000, [] { return 1L; }, [] { return false; }),
            CRequestGate::Sent::Yes);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        between(gate);
        std::uint64_t receivedAfter = 0;
        EXPECT_TRUE(gate.AdmitPush(&link, request.key, [&](std::uint64_t t) { receivedAfter = t; }));
        return gate.Finish(request, [&](std::uint64_t sentNs) { return receivedAfter > sentNs; });
    };
    EXPECT_EQ(pushAfter([](CRequestGate&) {}), CRequestGate::End::Open) << "no empty moment after the send";
    EXPECT_EQ(pushAfter([&](CRequestGate& g) { g.NoteDrained(&link, tremix::nowNs()); }),
              CRequestGate::End::Push);
    EXPECT_EQ(pushAfter([&](CRequestGate& g) { g.SetLink(&link, false); }), CRequestGate::End::Open)
        << "parsed from what the link held when it went down";
    EXPECT_EQ(pushAfter([&](CRequestGate& g) {
                  g.SetLink(&link, false);
                  g.SetLink(&link, true, tremix::nowNs());
              }),
              CRequestGate::End::Push)
        << "read from the new link";
}

// A question closes by its limit only on what a link that is up has parsed: never while no link is
// up, and a new link counts from the moment before its connect() began. A request whose send
// throws leaves the gate on the way out all the same.
TEST(TremixGate, AQuestionClosesOnlyOnWhatALinkUpHasParsed) {
    using tremix::CRequestGate;
    tremix::setTimeScale(0.0001); // silence limit 5 ms
    const int link = 0;
    CRequestGate gate;
    gate.SetLink(&link, true, tremix::nowNs());
    CRequestGate::Request request;
    request.key = "aa0000000002";
    const auto never = [] { return false; };
    ASSERT_EQ(gate.Send(
                  request, &link, tremix::nowNs() + 1'000'000'000, [] { return 1L; }, never),
              CRequestGate::Sent::Yes);
    EXPECT_EQ(gate.Finish(request, nullptr), CRequestGate::End::Open);
    const std::uint64_t beforeLimit = tremix::nowNs();
    gate.SetLink(&link, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(gate.QuestionOpen(request.key)) << "no link is up";
    gate.SetLink(&link, true, beforeLimit);
    EXPECT_TRUE(gate.QuestionOpen(request.key)) << "the new link's connect began before the limit";
    gate.NoteDrained(&link, tremix::nowNs());
    EXPECT_FALSE(gate.QuestionOpen(request.key));

    CRequestGate::Request thrown;
    thrown.key = request.key;
    {
        const CRequestGate::Withdrawal withdrawal(gate, thrown);
        EXPECT_ANY_THROW(gate.Send(
            thrown, &link, tremix::nowNs() + 1'000'000'000,
            []() -> long { throw std::runtime_error("send"); }, never));
    }
    CRequestGate::Request next;
    next.key = request.key;
    EXPECT_EQ(gate.Send(
                  next, &link, tremix::nowNs() + 1'000'000, [] { return 1L; }, never),
              CRequestGate::Sent::Yes)
        << "the device is free again";
    gate.Withdraw(next);
    tremix::setTimeScale(0);
}
