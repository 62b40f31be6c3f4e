// One open question per device: a request that gave up leaves its device's question open, and
// until an answer for that device comes (or the silence limit passes) nothing else is asked of it.
// Whatever the order of late answers, pushes and reconnects, a request never takes an answer
// that was not its own, and a device whose request the fixture dropped is asked again in time.
#include "TremixTestSupport.h"

#include "quillet/Quillet.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

using Answer = FixtureSim::Answer;
using Script = std::vector<std::vector<Answer>>;

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

// Request 1 for a device gives up (its answer is late); request 2 for it starts at once. Each
// order of the owed answer (an OK) and request 2's own (an NG): request 2 never reads OK.
TEST_F(TremixQuestions, NoOrderOfLateAnswersPushesAndReconnectsGivesAFalseOk) {
    struct Order {
        const char* what;
        Script first;         // the fixture's answers to request 1 and then request 2 of device 1
        Script second;        // the same of a second device, asked alongside (empty: none)
        bool reconnect;       // the fixture drops the link when request 1 has given up
        Field asks1, asks2;   // what requests 1 and 2 read
        const char* expected; // what request 2 reads
    };
    const Answer ownNg{1, verdict("NG"), w(0.1)};
    const std::vector<Order> orders = {
        {"the owed answer first, then its own",
         {{{1, verdict("OK"), w(1.2)}}, {ownNg}},
         {},
         false,
         Field::Audio,
         Field::Audio,
         "NG"},
        {"its own first, then the owed answer 0.1 s later",
         {{{1, verdict("OK"), w(1.25)}}, {ownNg}},
         {},
         false,
         Field::Audio,
         Field::Audio,
         "NG"},
        {"the owed answer as a push, then its own reply",
         {{{2, verdict("OK"), w(1.2)}}, {{1, verdict("NG"), w(0.3)}}},
         {},
         false,
         Field::Audio,
         Field::Audio,
         "NOGET"},
        {"its own reply, then a push of OK",
         {{{2, verdict("OK"), w(1.25)}}, {ownNg}},
         {},
         false,
         Field::Audio,
         Field::Audio,
         "NOGET"},
        {"a reconnect, the owed answer on the new link before its own",
         {{{1, verdict("OK"), w(1.8)}}, {{1, verdict("NG"), w(0.7)}}},
         {},
         true,
         Field::Audio,
         Field::Audio,
         "NG"},
        {"two devices' owed answers interleaved",
         {{{1, verdict("OK"), w(2.3)}}, {ownNg}},
         {{{1, verdict("OK"), w(1.2)}}, {ownNg}},
         false,
         Field::Audio,
         Field::Audio,
         "NG"},
        {"an audio answer owed while GPIO asks",
         {{{1, verdict("OK"), w(1.25)}}, {ownNg}},
         {},
         false,
         Field::Audio,
         Field::Gpio,
         "NG"},
        {"a GPIO answer owed while audio asks",
         {{{1, verdict("OK"), w(1.25)}}, {ownNg}},
         {},
         false,
         Field::Gpio,
         Field::Audio,
         "NG"},
    };
    EventLog& log = newLog();
    const int h = connect(log);
    sim.setUnknown(FixtureSim::Unknown::Silent);
    for (std::size_t i = 0; i < orders.size(); ++i) {
        const Order& order = orders[i];
        SCOPED_TRACE(order.what);
        const std::string a = mac(static_cast<int>(i), 1);
        const std::string b = mac(static_cast<int>(i), 2);
        sim.scriptAnswers(a, order.first);
        if (!order.second.empty())
            sim.scriptAnswers(b, order.second);
        EXPECT_EQ(ask(h, a, order.asks1), "NOGET") << "request 1's answer is late";
        if (!order.second.empty()) {
            EXPECT_EQ(ask(h, b, order.asks1), "NOGET");
        }
        if (order.reconnect) {
            const int links = sim.connections();
            sim.closeClients();
            ASSERT_TRUE(FixtureSim::waitFor(
                [&] { return sim.connections() > links && sim.clients() == 1 && log.codes().back() == 0; },
                5000));
        }
        std::string second;
        std::thread other([&] {
            if (!order.second.empty())
                second = ask(h, b, order.asks2);
        });
        const std::string first = ask(h, a, order.asks2);
        other.join();
        EXPECT_NE(first, "OK") << "the answer owed request 1 decided request 2";
        EXPECT_EQ(first, order.expected);
        if (!order.second.empty()) {
            EXPECT_NE(second, "OK");
            EXPECT_EQ(second, order.expected);
        }
    }
}

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

// A fixture drops one request of each device and answers every later one at once. However often
// the operator retries, each device passes within about 60 s of its give-up (the question closes
// at the 50 s limit), and a device with no open question is never held up meanwhile.
TEST_F(TremixQuestions, ADroppedRequestDelaysOnlyItsDeviceAndForABoundedTime) {
    EventLog& log = newLog();
    const int h = connect(log);
    sim.setUnknown(FixtureSim::Unknown::Silent);
    const double pauses[] = {0, 1, 3, 4.5}; // 0, 10, 30 and 45 s between a failed retry and the next
    struct Device {
        std::string mac;
        std::chrono::steady_clock::time_point gaveUp;
        double passedAfterMs = -1;
        int tries = 0;
    };
    std::vector<Device> devices;
    for (int i = 0; i < 4; ++i) {
        devices.push_back({mac(0x50, i), {}, -1, 0});
        sim.scriptAnswers(devices.back().mac, {{}});
        sim.setResult(devices.back().mac, verdict("OK"));
    }
    // The requests that the fixture drops: one after the other (each holds the library's lock).
    for (Device& d : devices) {
        EXPECT_EQ(ask(h, d.mac, Field::Gpio), "NOGET");
        d.gaveUp = std::chrono::steady_clock::now();
    }
    std::vector<std::thread> operators;
    for (int i = 0; i < 4; ++i) {
        operators.emplace_back([&, i] {
            Device& d = devices[static_cast<std::size_t>(i)];
            while (elapsedMs(d.gaveUp) < w(7)) {
                ++d.tries;
                if (ask(h, d.mac, Field::Gpio) == "OK") {
                    d.passedAfterMs = elapsedMs(d.gaveUp);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(w(pauses[i])));
            }
        });
    }
    // Meanwhile a device without an open question is answered at once, every time.
    const std::string free = mac(0x50, 9);
    sim.setResult(free, verdict("OK"));
    double slowest = 0;
    for (int i = 0; i < 20; ++i) {
        const auto asked = std::chrono::steady_clock::now();
        EXPECT_EQ(ask(h, free, Field::Gpio), "OK");
        slowest = std::max(slowest, elapsedMs(asked));
        std::this_thread::sleep_for(std::chrono::milliseconds(w(0.2)));
    }
    for (std::thread& t : operators)
        t.join();
    EXPECT_LT(slowest, w(0.5)) << "another device's open question held this one up";
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(pauses[i]);
        const Device& d = devices[static_cast<std::size_t>(i)];
        EXPECT_GE(d.passedAfterMs, 0) << "never passed in " << d.tries << " tries";
        EXPECT_LE(d.passedAfterMs, w(6.2));
        EXPECT_GE(d.passedAfterMs, w(4.9)) << "asked again before the limit";
    }
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
