// Requests, frame cutting and the copy of replies into the records.
#include "CFrameBuffer.h"
#include "FixtureProtocol.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>

#include <cstring>
#include <string>
#include <vector>

using namespace tremix;

namespace {

struct Frame {
    int type;
    std::string payload;
};

std::vector<Frame> cutAll(CFrameBuffer& buffer) {
    std::vector<Frame> frames;
    buffer.Cut([&](const FixtureFrameHeader& h, const char* p, std::size_t n) {
        frames.push_back({h.type, std::string(p, n)});
    });
    return frames;
}

std::string repeat(char c, std::size_t n) {
    return std::string(n, c);
}

FixtureTestResult filled(unsigned char byte) {
    FixtureTestResult r;
    std::memset(&r, byte, sizeof r);
    return r;
}

} // namespace

TEST(TremixRequest, ExactBytes) {
    EXPECT_EQ(heartbeatRequest(), "{\"action\":\"get\",\"cmd\":\"heart_beat\"}\n");
    EXPECT_EQ(deviceListRequest(), "{\"action\":\"get\",\"cmd\":\"device_list\"}\n");
    EXPECT_EQ(testResultRequest("AA:BB:CC:DD:EE:FF"),
              "{\"action\":\"get\",\"cmd\":\"test_result\",\"mac\":\"AA:BB:CC:DD:EE:FF\"}\n");
    EXPECT_EQ(testResultRequest("A\"B\\C"),
              "{\"action\":\"get\",\"cmd\":\"test_result\",\"mac\":\"A\\\"B\\\\C\"}\n");

    const std::string frame = buildFrame(kFrameRequest, heartbeatRequest());
    ASSERT_EQ(frame.size(), 8 + heartbeatRequest().size());
    const unsigned char header[8] = {
        0xF0, 0x01, 0x00, 0x01, static_cast<unsigned char>(heartbeatRequest().size()), 0x00, 0x00, 0x00};
    EXPECT_EQ(0, std::memcmp(frame.data(), header, 8));
    EXPECT_EQ(buildFrame(kFrameReply, repeat('x', 300)).substr(4, 2), std::string("\x2c\x01", 2));
}

TEST(TremixFrames, TwoFramesInOneReceive) {
    CFrameBuffer buffer;
    const std::string bytes = buildFrame(kFrameReply, "{\"a\":1}") + buildFrame(kFramePush, "{\"b\":2}");
    buffer.Append(bytes.data(), bytes.size());
    const auto frames = cutAll(buffer);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].type, 1);
    EXPECT_EQ(frames[0].payload, "{\"a\":1}");
    EXPECT_EQ(frames[1].type, 2);
    EXPECT_EQ(frames[1].payload, "{\"b\":2}");
    EXPECT_EQ(buffer.Count(), 0u);
}

TEST(TremixFrames, SplitAtEveryOffset) {
    const std::string payload = "{\"cmd\":\"test_result\",\"mac\":\"AA\"}";
    const std::string bytes = buildFrame(kFrameReply, payload) + buildFrame(kFrameReply, "{}");
    for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
        CFrameBuffer buffer;
        buffer.Append(bytes.data(), cut);
        std::size_t pending = 0;
        std::vector<std::string> got;
        auto collect = [&](const FixtureFrameHeader&, const char* p, std::size_t n) {
            got.emplace_back(p, n);
        };
        buffer.Cut(collect, &pending);
        if (cut < 8 + payload.size()) {
            EXPECT_TRUE(got.empty()) << cut;
            EXPECT_EQ(pending, cut >= 8 ? 8 + payload.size() : 0u) << cut;
        }
        buffer.Append(bytes.data() + cut, bytes.size() - cut);
        buffer.Cut(collect, &pending);
        ASSERT_EQ(got.size(), 2u) << cut;
        EXPECT_EQ(got[0], payload);
        EXPECT_EQ(got[1], "{}");
        EXPECT_EQ(buffer.Count(), 0u);
    }
}

TEST(TremixFrames, ZeroAndLargestPayloads) {
    CFrameBuffer buffer;
    const std::string big = repeat('z', 65535);
    const std::string bytes = buildFrame(kFrameReply, "") + buildFrame(kFramePush, big);
    ASSERT_EQ(bytes.size(), 8u + 8u + 65535u);
    buffer.Append(bytes.data(), bytes.size());
    const auto frames = cutAll(buffer);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_TRUE(frames[0].payload.empty());
    EXPECT_EQ(frames[1].payload, big);
    // Longer payloads are cut to what the length field can say.
    EXPECT_EQ(buildFrame(kFrameReply, repeat('y', 70000)).size(), 8u + 65535u);
}

TEST(TremixFrames, GarbageBeforeFrameIsSkipped) {
    CFrameBuffer buffer;
    const std::string garbage = "\x01\x02hello\xF1";
    const std::string bytes = garbage + buildFrame(kFrameReply, "{\"x\":1}");
    buffer.Append(bytes.data(), bytes.size());
    auto frames = cutAll(buffer);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].payload, "{\"x\":1}");
    // Garbage with no start mark at all is dropped whole; the buffer never stalls.
    buffer.Append("abcdefghijklmnop", 16);
    EXPECT_TRUE(cutAll(buffer).empty());
    EXPECT_EQ(buffer.Count(), 0u);
    // Unknown frame types are cut like any other (the handler decides).
    const std::string odd = buildFrame(9, "{}");
    buffer.Append(odd.data(), odd.size());
    frames = cutAll(buffer);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].type, 9);
}

TEST(TremixParse, FullResult) {
    const std::string json = R"({"cmd":"test_result","mac":"AA:BB:CC:DD:EE:FF","uuid":"U1","port":3,
        "uart":"OK","audio":"PASS",
        "gpio":[{"name":"G1","function":"LED","status":"OK"},{"name":"G2","status":"NG"}],
        "network":[{"name":"eth0","status":"OK"}]})";
    FixtureTestResult r = filled(0x5A);
    ASSERT_TRUE(parseTestResult(json.data(), json.size(), r));
    EXPECT_STREQ(r.mac, "AA:BB:CC:DD:EE:FF");
    EXPECT_STREQ(r.uuid, "U1");
    EXPECT_EQ(r.port, 3);
    EXPECT_STREQ(r.uart, "OK");
    EXPECT_STREQ(r.audio, "PASS");
    ASSERT_EQ(r.gpioCount, 2);
    EXPECT_STREQ(r.gpio[0].function, "LED");
    EXPECT_STREQ(r.gpio[1].name, "G2");
    EXPECT_STREQ(r.gpio[1].function, "");
    EXPECT_STREQ(r.gpio[1].status, "NG");
    ASSERT_EQ(r.networkCount, 1);
    EXPECT_STREQ(r.network[0].name, "eth0");
    // Everything past the filled entries is zero (the record starts all zero).
    EXPECT_EQ(r.gpio[2].name[0], 0);
    EXPECT_EQ(r.network[1].status[0], 0);
}

TEST(TremixParse, TruncationAtEveryFieldSize) {
    struct Field {
        const char* key;
        std::size_t keep; // characters kept at most
        const char* (*get)(const FixtureTestResult&);
    };
    const Field fields[] = {
        {"mac", 17, [](const FixtureTestResult& r) -> const char* { return r.mac; }},
        {"uuid", 31, [](const FixtureTestResult& r) -> const char* { return r.uuid; }},
        {"uart", 16, [](const FixtureTestResult& r) -> const char* { return r.uart; }},
        {"audio", 15, [](const FixtureTestResult& r) -> const char* { return r.audio; }},
    };
    for (const Field& f : fields) {
        for (std::size_t len = 1; len <= f.keep + 3; ++len) {
            Json::Value object(Json::objectValue);
            object["mac"] = "M1";
            object[f.key] = repeat('a', len);
            Json::Value item(Json::objectValue);
            item["name"] = repeat('n', len);
            item["function"] = repeat('f', len);
            item["status"] = repeat('s', len);
            object["gpio"].append(item);
            object["network"].append(item);
            FixtureTestResult r = filled(0x5A);
            ASSERT_TRUE(parseTestResult(object, r));
            EXPECT_EQ(std::strlen(f.get(r)), std::min(len, f.keep)) << f.key << " " << len;
            EXPECT_EQ(std::strlen(r.gpio[0].name), std::min<std::size_t>(len, 19));
            EXPECT_EQ(std::strlen(r.gpio[0].function), std::min<std::size_t>(len, 31));
            EXPECT_EQ(std::strlen(r.gpio[0].status), std::min<std::size_t>(len, 15));
            EXPECT_EQ(std::strlen(r.network[0].name), std::min<std::size_t>(len, 19));
            EXPECT_EQ(std::strlen(r.network[0].status), std::min<std::size_t>(len, 15));
        }
    }
}

TEST(TremixParse, MissingKeysAndWrongTypesCountAsMissing) {
    FixtureTestResult r = filled(0x5A);
    const std::string minimal = R"({"mac":"M"})";
    ASSERT_TRUE(parseTestResult(minimal.data(), minimal.size(), r));
    EXPECT_STREQ(r.mac, "M");
    EXPECT_EQ(r.port, 0);
    EXPECT_EQ(r.gpioCount, 0);
    EXPECT_EQ(r.networkCount, 0);
    EXPECT_STREQ(r.uuid, "");

    // Every element of the arrays is an item, in its place: what is missing or not a text shows
    // as empty, so a malformed item is seen rather than dropped.
    const std::string wrong = R"({"cmd":5,"mac":"M","port":"x","uuid":7,"uart":[1],"audio":{"a":1},
        "gpio":{"name":"G"},"network":[5,"x",null,{"name":3,"status":"OK"},{"name":"N","status":"OK"}]})";
    r = filled(0x5A);
    ASSERT_TRUE(parseTestResult(wrong.data(), wrong.size(), r));
    EXPECT_EQ(r.port, 0);
    EXPECT_STREQ(r.uuid, "");
    EXPECT_STREQ(r.uart, "");
    EXPECT_STREQ(r.audio, "");
    EXPECT_EQ(r.gpioCount, 0);
    ASSERT_EQ(r.networkCount, 5);
    for (int i = 0; i < 4; ++i)
        EXPECT_STREQ(r.network[i].name, "") << i;
    EXPECT_STREQ(r.network[2].status, "");
    EXPECT_STREQ(r.network[3].status, "OK");
    EXPECT_STREQ(r.network[4].name, "N");

    // A status is OK only when the whole text is "OK": a zero byte inside a text is kept in view
    // (as '?') instead of ending it.
    const std::string zeros =
        std::string(R"({"mac":"M","audio":"OK\u0000NG","gpio":[{"name":"G","status":")") +
        std::string(4, '\0') +
        R"("},{"name":"H","status":"\u0000OK"},{"name":"I","status":"OK"},)"
        R"({"name":"J","status":"OK\u0000NG"},{"name":"K\u0000","status":"OK\u0000"},)"
        R"({"name":"\u0000","status":"OK"}],)"
        R"("network":[{"name":"eth0","status":"OK\u0000"},{"name":"\u0000\u0000","status":"OK"}]})";
    ASSERT_TRUE(parseTestResult(zeros.data(), zeros.size(), r));
    ASSERT_EQ(r.gpioCount, 6);
    EXPECT_STRNE(r.audio, "OK");
    EXPECT_STREQ(r.audio, "OK?NG");
    EXPECT_STREQ(r.gpio[0].name, "G");
    EXPECT_STREQ(r.gpio[0].status, "????");
    EXPECT_STREQ(r.gpio[1].status, "?OK");
    EXPECT_STREQ(r.gpio[2].name, "I");
    EXPECT_STREQ(r.gpio[2].status, "OK");
    EXPECT_STREQ(r.gpio[3].status, "OK?NG");
    EXPECT_STREQ(r.gpio[4].name, "K?");
    EXPECT_STREQ(r.gpio[4].status, "OK?");
    // A name of zero bytes only is no name.
    EXPECT_STREQ(r.gpio[5].name, "");
    EXPECT_STREQ(r.gpio[5].status, "OK");
    ASSERT_EQ(r.networkCount, 2);
    EXPECT_STREQ(r.network[0].status, "OK?");
    EXPECT_STREQ(r.network[1].name, "");
    // A MAC with a zero byte inside names no device, wherever the zero is.
    for (const char* zeroMac : {R"({"mac":"\u0000AA"})", R"({"mac":"AA:BB:CC:DD:EE:01\u0000"})"}) {
        FixtureTestResult kept = filled(0x5A);
        EXPECT_FALSE(parseTestResult(zeroMac, std::strlen(zeroMac), kept)) << zeroMac;
    }

    // Out-of-range and fractional numbers read as 0; integral doubles are taken.
    const std::string numbers = R"({"mac":"M","port":1e40})";
    ASSERT_TRUE(parseTestResult(numbers.data(), numbers.size(), r));
    EXPECT_EQ(r.port, 0);
    const std::string integral = R"({"mac":"M","port":6800.0})";
    ASSERT_TRUE(parseTestResult(integral.data(), integral.size(), r));
    EXPECT_EQ(r.port, 6800);
}

TEST(TremixParse, NoResultLeavesRecordUntouched) {
    const char* texts[] = {
        R"({"mac":""})",  R"({"uuid":"x"})", R"({"mac":17})", "[1,2]", "\"mac\"", "{bad", "",
        R"({"mac":"M",})"};
    for (const char* text : texts) {
        FixtureTestResult r = filled(0x5A);
        const std::size_t length = std::strlen(text);
        const bool ok = parseTestResult(text, length, r);
        if (!ok) {
            const FixtureTestResult untouched = filled(0x5A);
            EXPECT_EQ(0, std::memcmp(&r, &untouched, sizeof r)) << text;
        }
    }
    FixtureTestResult r = filled(0);
    EXPECT_FALSE(parseTestResult(R"({"mac":""})", 10, r));
    EXPECT_FALSE(parseTestResult("{bad", 4, r));
    // Nesting deeper than the parser allows is a failure, not an exception.
    const std::string deep = repeat('[', 20000) + repeat(']', 20000);
    EXPECT_FALSE(parseTestResult(deep.data(), deep.size(), r));
    const std::string deepInside = "{\"mac\":\"M\",\"x\":" + repeat('[', 5000) + repeat(']', 5000) + "}";
    EXPECT_NO_THROW(parseTestResult(deepInside.data(), deepInside.size(), r));
}

TEST(TremixParse, ItemsKeepTheirPlacesAndTheCountIsOfFilledEntries) {
    Json::Value object(Json::objectValue);
    object["mac"] = "M";
    for (int i = 0; i < 300; ++i) {
        Json::Value item(Json::objectValue);
        item["name"] = "G" + std::to_string(i);
        if (i % 3 != 1)
            item["status"] = "OK";
        object["gpio"].append(item);
        object["network"].append(item);
    }
    FixtureTestResult r = filled(0x5A);
    ASSERT_TRUE(parseTestResult(object, r));
    // 300 came; the record holds the first 128, entry i for element i, and counts those.
    EXPECT_EQ(r.gpioCount, 128);
    EXPECT_EQ(r.networkCount, 128);
    EXPECT_STREQ(r.gpio[0].name, "G0");
    EXPECT_STREQ(r.gpio[1].name, "G1");
    EXPECT_STREQ(r.gpio[1].status, "");
    EXPECT_STREQ(r.gpio[2].status, "OK");
    EXPECT_STREQ(r.gpio[126].status, "OK");
    EXPECT_STREQ(r.gpio[127].name, "G127");
    EXPECT_STREQ(r.gpio[127].status, "");
    EXPECT_STREQ(r.network[127].name, "G127");
    EXPECT_STREQ(r.network[126].status, "OK");
    // The field after the arrays is intact.
    EXPECT_STREQ(r.audio, "");

    // A list whose only failure lies past the kept entries never reads all OK: the last entry
    // then holds the first such item (an item reads OK with a name and the status "OK"). A list
    // with a failure among the kept entries keeps them as they came.
    struct Case {
        int size;
        std::vector<int> failing; // items with the status NG
        int nameless;             // an item with the status OK and no name (-1: none)
        const char* last;         // name and status of entry 127
        const char* lastStatus;
    };
    const Case cases[] = {
        {128, {}, -1, "G127", "OK"},       {128, {127}, -1, "G127", "NG"},
        {129, {}, -1, "G127", "OK"},       {129, {128}, -1, "G128", "NG"},
        {300, {}, -1, "G127", "OK"},       {300, {299}, -1, "G299", "NG"},
        {300, {5, 200}, -1, "G127", "OK"}, {300, {126, 200}, -1, "G127", "OK"},
        {129, {}, 128, "", "OK"},          {300, {}, 250, "", "OK"},
        {300, {200}, 3, "G127", "OK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " items, entry 127 " + c.last);
        Json::Value list(Json::objectValue);
        list["mac"] = "M";
        for (int i = 0; i < c.size; ++i) {
            const bool failing = std::find(c.failing.begin(), c.failing.end(), i) != c.failing.end();
            Json::Value item(Json::objectValue);
            item["name"] = i == c.nameless ? "" : "G" + std::to_string(i);
            item["status"] = failing ? "NG" : "OK";
            list["gpio"].append(item);
        }
        r = filled(0x5A);
        ASSERT_TRUE(parseTestResult(list, r));
        EXPECT_EQ(r.gpioCount, 128);
        EXPECT_STREQ(r.gpio[126].name, c.nameless == 126 ? "" : "G126");
        EXPECT_STREQ(r.gpio[127].name, c.last);
        EXPECT_STREQ(r.gpio[127].status, c.lastStatus);
        for (const int i : c.failing) {
            if (i < 127) {
                EXPECT_STREQ(r.gpio[i].status, "NG") << i;
            }
        }
        EXPECT_STREQ(r.audio, "");
    }
}

TEST(TremixParse, DevList) {
    FixtureDevInfo d;
    std::memset(&d, 0, sizeof d);
    std::strcpy(d.mode, "keep");
    const std::string json = R"({"cmd":"device_list","version":"1.2","uuid":"U","mode":"","port_num":4})";
    ASSERT_TRUE(parseDevList(json.data(), json.size(), d));
    EXPECT_STREQ(d.version, "1.2");
    EXPECT_STREQ(d.uuid, "U");
    EXPECT_STREQ(d.mode, "keep");
    EXPECT_EQ(d.port_num, 4);
    const std::string odd = R"({"version":["x"],"mode":"0123456789abcdefXYZ","port_num":"8"})";
    ASSERT_TRUE(parseDevList(odd.data(), odd.size(), d));
    EXPECT_STREQ(d.version, "1.2");
    EXPECT_STREQ(d.mode, "0123456789abcde");
    EXPECT_EQ(d.port_num, 0);
    EXPECT_FALSE(parseDevList("nope", 4, d));

    // A version or uuid of 32 characters or more keeps 31 and its terminator; the next field is
    // untouched. A zero byte inside reads as '?'.
    const std::string digits = "0123456789abcdefghijklmnopqrstuvwxyz0123";
    for (const std::size_t length : {32u, 40u}) {
        const std::string text = digits.substr(0, length);
        SCOPED_TRACE(length);
        FixtureDevInfo v;
        std::memset(&v, 0x5A, sizeof v);
        std::strcpy(v.uuid, "next");
        const std::string version = R"({"version":")" + text + R"("})";
        ASSERT_TRUE(parseDevList(version.data(), version.size(), v));
        EXPECT_EQ(std::string(v.version, sizeof v.version), text.substr(0, 31) + '\0');
        EXPECT_STREQ(v.uuid, "next");
        std::strcpy(v.mode, "mode");
        const std::string uuid = R"({"uuid":")" + text + R"("})";
        ASSERT_TRUE(parseDevList(uuid.data(), uuid.size(), v));
        EXPECT_EQ(std::string(v.uuid, sizeof v.uuid), text.substr(0, 31) + '\0');
        EXPECT_STREQ(v.mode, "mode");
        EXPECT_EQ(std::string(v.version, sizeof v.version), text.substr(0, 31) + '\0');
    }
    const std::string zero = R"({"version":"1.\u00002","uuid":"\u0000U"})";
    ASSERT_TRUE(parseDevList(zero.data(), zero.size(), d));
    EXPECT_STREQ(d.version, "1.?2");
    EXPECT_STREQ(d.uuid, "?U");
}

TEST(TremixParse, MacMatching) {
    EXPECT_TRUE(macMatches("AA:BB:CC:DD:EE:FF", "aa-bb-cc-dd-ee-ff"));
    EXPECT_TRUE(macMatches("AABBCCDDEEFF", "aa:bb:cc:dd:ee:ff"));
    EXPECT_FALSE(macMatches("AA:BB:CC:DD:EE:FF", "AA:BB:CC:DD:EE:F0"));
    EXPECT_FALSE(macMatches("", ""));
    EXPECT_TRUE(macMatches("::", "::"));
    EXPECT_FALSE(macMatches("::", "--"));
    // A zero byte is not a separator: a reply's MAC "...:01\u0000" answers no question.
    EXPECT_FALSE(macMatches(std::string("AA:BB:CC:DD:EE:01\0", 18), "AA:BB:CC:DD:EE:01"));
    EXPECT_FALSE(macMatches("AA:BB:CC:DD:EE:01", std::string("AA:BB\0:CC:DD:EE:01", 18)));
}

TEST(TremixFrames, BrokenHeadersDoNotHoldBackTheFramesBehindThem) {
    const std::string good = buildFrame(kFrameReply, "{\"cmd\":\"heart_beat\"}");
    std::string huge = buildFrame(kFrameReply, "0123456789"); // announces 65535, only 10 come
    huge[4] = static_cast<char>(0xFF);
    huge[5] = static_cast<char>(0xFF);
    const std::string oddVersion = "\xF0\x07\x01\x01\x02\x00\x00\x00{}";
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t beforeStale; // frames cut at once
        std::size_t afterStale;  // frames cut once the incomplete front has waited out
    } cases[] = {
        {"stray mark", std::string("\xF0", 1) + good, 1, 0},
        {"two stray marks", std::string("\xF0\xF0", 2) + good + good, 2, 0},
        {"implausible header", oddVersion + good, 1, 0},
        {"short body", huge + good, 0, 1},
        {"short body alone", huge, 0, 0},
        {"short body, then garbage", huge + "\xF0zz" + good + good, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFrameBuffer buffer;
        buffer.Append(c.bytes.data(), c.bytes.size(), 1000);
        std::size_t frames = 0;
        auto count = [&](const FixtureFrameHeader& h, const char* p, std::size_t n) {
            EXPECT_EQ(h.type, kFrameReply);
            EXPECT_EQ(std::string(p, n), "{\"cmd\":\"heart_beat\"}");
            ++frames;
        };
        buffer.Cut(count, nullptr, 1000, 500);
        EXPECT_EQ(frames, c.beforeStale);
        buffer.Cut(count, nullptr, 1499, 500); // not yet
        EXPECT_EQ(frames, c.beforeStale);
        buffer.Cut(count, nullptr, 1500, 500);
        EXPECT_EQ(frames, c.beforeStale + c.afterStale);
        EXPECT_EQ(buffer.Count(), 0u) << "nothing of the dropped frame is kept";
        // A frame that comes afterwards is handled at once.
        buffer.Append(good.data(), good.size(), 1501);
        buffer.Cut(count, nullptr, 1501, 500);
        EXPECT_EQ(frames, c.beforeStale + c.afterStale + 1);
    }
    // Without a limit, and for a frame still arriving, nothing is dropped.
    CFrameBuffer buffer;
    buffer.Append(huge.data(), huge.size());
    std::size_t frames = 0;
    auto count = [&](const FixtureFrameHeader&, const char*, std::size_t) { ++frames; };
    buffer.Cut(count, nullptr, 1000, 0);
    buffer.Cut(count, nullptr, 99999, 0);
    EXPECT_EQ(buffer.Count(), huge.size());
    buffer.Free();
    buffer.Append(good.data(), 5, 1000);
    buffer.Cut(count, nullptr, 1000, 500);
    buffer.Append(good.data() + 5, good.size() - 5, 1400);
    buffer.Cut(count, nullptr, 1400, 500);
    EXPECT_EQ(frames, 1u);

    // An incomplete header is dropped too; an incomplete frame is timed from the arrival of its
    // first byte, not from when it comes to the front.
    buffer.Append(good.data(), 3, 2000);
    buffer.Cut(count, nullptr, 2499, 500);
    EXPECT_EQ(buffer.Count(), 3u);
    buffer.Cut(count, nullptr, 2500, 500);
    EXPECT_EQ(buffer.Count(), 0u);
    buffer.Append(huge.data(), huge.size(), 3000);
    buffer.Append(huge.data(), huge.size(), 3300);
    buffer.Cut(count, nullptr, 3500, 500);
    EXPECT_EQ(buffer.Count(), huge.size()) << "the second broken header is at the front now";
    buffer.Cut(count, nullptr, 3800, 500);
    EXPECT_EQ(buffer.Count(), 0u) << "timed from its arrival at 3300";
}

// What the buffer holds arrived after the front's moment: a frame cut leaves the arrival of the
// incomplete one behind it, which is all a question's limit may be judged by.
TEST(TremixFrames, TheFrontArrivalIsThatOfTheIncompleteFrameLeft) {
    const std::string good = buildFrame(kFrameReply, "{\"cmd\":\"heart_beat\"}");
    CFrameBuffer buffer;
    std::size_t frames = 0;
    auto count = [&](const FixtureFrameHeader&, const char*, std::size_t) { ++frames; };
    EXPECT_EQ(buffer.FrontArrival(), 0u);
    const std::string first = good + good.substr(0, 3);
    buffer.Append(first.data(), first.size(), 100);
    buffer.Cut(count);
    EXPECT_EQ(frames, 1u);
    EXPECT_EQ(buffer.FrontArrival(), 100u);
    const std::string second = good.substr(3) + good.substr(0, 3);
    buffer.Append(second.data(), second.size(), 200);
    buffer.Cut(count);
    EXPECT_EQ(frames, 2u);
    EXPECT_EQ(buffer.FrontArrival(), 200u) << "the frame begun by the second piece";
    buffer.Append(good.data() + 3, good.size() - 3, 300);
    buffer.Cut(count);
    EXPECT_EQ(buffer.Count(), 0u);
    EXPECT_EQ(buffer.FrontArrival(), 0u);
}
