// The families of the other-parameter run on one camera: their bytes as the camera holds them
// afterwards, their order and pauses, the values they translate, failures, and the waits after a
// restart.
#include "OtherParamTestSupport.h"
#include "TcpIpRecord.h"

using namespace otherparamtest;

namespace {

// ------------------------------------------------------------------ the restart wait's rule

// The restart wait's pings on a clock of the test's own: a device is back at its ninth answer,
// pings start one pause after the previous one started (a slow ping is not followed by a
// pause of its own, a late one not by a burst), and the wait gives up after its limit.
TEST(OtherParamRules, RestartWaitCountsNineAnswersAndPacesPingsFromTheirStarts) {
    const struct {
        int pingMs;                   // how long one ping takes
        int answerFrom;               // the first ping (0-based) that is answered
        bool back;                    // the wait ends with the device back
        std::vector<int> firstStarts; // start times of the first pings
        int pings;                    // pings in all
    } cases[] = {
        {0, 0, true, {0, 1000, 2000, 3000}, 9},    // nine answers: back at the ninth
        {300, 0, true, {0, 1000, 2000, 3000}, 9},  // a ping's own time is not added
        {1500, 0, true, {0, 1500, 3000, 4500}, 9}, // slower than the pause: back to back
        {0, 51, true, {0, 1000}, 60},              // answers from 51 s: the ninth at 59 s
        {0, 52, false, {0, 1000}, 60},             // eight answers by the limit: not back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "ping " << c.pingMs << " ms, answers from " << c.answerFrom);
        std::uint64_t clock = 0;
        std::vector<std::uint64_t> starts;
        otherparam::RestartPing wait;
        wait.limitMs = 60000;
        wait.pauseMs = 1000;
        wait.answers = 9;
        const bool back = wait.run(
            [&] {
                starts.push_back(clock);
                clock += static_cast<std::uint64_t>(c.pingMs);
                return static_cast<int>(starts.size()) > c.answerFrom;
            },
            [&] { return clock; },
            [&](int ms) {
                EXPECT_GE(ms, 0);
                clock += static_cast<std::uint64_t>(ms);
                return true;
            });
        EXPECT_EQ(back, c.back);
        EXPECT_EQ(static_cast<int>(starts.size()), c.pings);
        for (std::size_t i = 0; i < c.firstStarts.size(); ++i)
            EXPECT_EQ(starts.at(i), static_cast<std::uint64_t>(c.firstStarts[i])) << "ping " << i;
    }
    // A stop during the wait ends it at once.
    otherparam::RestartPing wait;
    int pings = 0;
    EXPECT_FALSE(
        wait.run([&] { return ++pings > 0; }, [] { return std::uint64_t{0}; }, [](int) { return false; }));
    EXPECT_EQ(pings, 1);
}

// ------------------------------------------------------------------ every family on one camera

TEST_F(OtherParamTest, AllFamiliesInOrderWithTheirBytes) {
    winport::setTimeScale(0.05); // the 1000 ms pauses are measured
    useCameras(1);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    const std::string m = fleet[0].mac;
    ParamsMgr* store = ozmParamsMgr();
    qputenv("CORVANE_SIM_PING_UP", "127.0.5.10");

    OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord("127.0.5.10", "255.255.0.0", "127.0.0.1", "127.0.0.53");
    tcp.fullNetcom = 1;
    store->setTcpIpInfo(&tcp);
    OZM::_SC_PORT_DATA port{8080, 8554, 8443, 8899, 1};
    store->setPortParamInfo(&port);
    OZM::_SC_DDNS_DATA ddns{};
    ddns.enable = 1;
    ddns.provider = 2;
    std::strcpy(ddns.domain, "cam.example");
    std::strcpy(ddns.user, "ddnsuser");
    std::strcpy(ddns.password, "pw");
    std::strcpy(ddns.passwordConfirm, "DDNSCONF");
    store->setDDNSInfo(&ddns);
    store->setP2pInfo(1);
    OZM::_SC_GB28181_DATA gb{};
    gb.enable = 1;
    gb.accessMethod = 2;
    gb.localSipPort = 5061;
    std::strcpy(gb.sipServerId, "SIPID");
    std::strcpy(gb.sipServerDomain, "dom");
    std::strcpy(gb.sipServerAddress, "127.0.0.9");
    gb.sipServerPort = 5070;
    std::strcpy(gb.user, "gbuser");
    std::strcpy(gb.authId, "auth");
    std::strcpy(gb.password, "gbpw");
    std::strcpy(gb.passwordConfirm, "GBCONF");
    gb.registerValidity = 3600;
    gb.status = 1;
    gb.heartbeatPeriod = 60;
    gb.stream = 2;
    gb.transport = 1;
    gb.registerInterval = 30;
    gb.maxHeartbeatTimeouts = 3;
    std::strcpy(gb.alarmId, "ALARM");
    store->setGb28181Info(&gb);
    OZM::_SC_SETVIDEO_DATA_ video{};
    video.mainCodec = 1;
    video.mainResolution = 2;
    video.mainFrameRate = 60;
    video.mainBitrate = 0x10000 + 2048; // low 16 bits are sent
    video.mainBitrateMode = 1;
    video.mainIFrameInterval = 25;
    video.subResolution = 0;
    video.subFrameRate = 15;
    video.subBitrate = 256;
    video.subIFrameInterval = 30;
    store->setVideoInfo(&video);
    OZM::_SC_SETAUDIO_DATA_ audio{1, 1, 1, 70, 80};
    store->setAudioInfo(&audio);
    OZM::_SC_SETOSD_DATA_ osd{};
    osd.showTime = 1;
    osd.showText = 0; // the two flags differ: each goes to its own byte
    osd.dateFormat = 2;
    osd.position = 1;
    std::strcpy(osd.text, "Gate 7");
    store->setOsdInfo(&osd);
    OZM::_SC_IMAGE_DATA_ image{};
    auto* imageBytes = reinterpret_cast<std::uint8_t*>(&image);
    for (int i = 0; i < 44; ++i)
        imageBytes[i] = static_cast<std::uint8_t>(100 + i);
    image.pad0[0] = image.pad0[1] = 0;
    image.pad1[0] = image.pad1[1] = image.pad1[2] = 0;
    image.dawnTime = 390;
    image.darkTime = 1110;
    image.flicker = 1; // as the camera has it: no restart
    store->setImageInfo(&image);
    OZM::_SC_SETPRIVACYMASKINFO_DATA_ privacy{};
    privacy.area[0] = {100, 50, 200, 100};
    privacy.area[1] = {0, 0, 507, 300};
    store->setPrivacyMaskInfo(&privacy);
    OZM::_SC_ALARM_DATA_ alarm{};
    alarm.enable = 1;
    alarm.sensitivity = 7;
    alarm.area[0] = 0x3FFFFF;
    alarm.area[17] = 5;
    alarm.schedule[0][0] = {8, 30, 0, 0, 18, 0, 0, 0};
    alarm.schedule[6][7] = {23, 1, 2, 0, 23, 59, 59, 0};
    store->setAlarmInfo(&alarm);
    OZM::_SC_ACCOUNT_DATA account{};
    std::strcpy(account.user, "op");
    std::strcpy(account.password, "secret");
    std::strcpy(account.passwordConfirm, "ACCTCONF");
    account.userType = 2;
    store->setAccountInfo(&account);
    OZM::_SC_SETTIME_DATA_ time{};
    time.year = 2024;
    time.month = 5;
    time.day = 6;
    time.hour = 7;
    time.minute = 8;
    time.second = 9;
    time.updateMethod = 1;
    time.timeZone = 30;
    time.syncNvr = 1;
    time.ntpAutoSync = 0;
    time.ntpInterval = 60;
    time.ntpServerIndex = 3;
    std::strcpy(time.ntpServer, "ntp.local");
    time.summerTime = 1;
    time.summerStartMonth = 2;
    time.summerStartHour = 3;
    time.summerStartWeekday = 4;
    time.summerStartWeek = 1;
    time.summerEndMonth = 9;
    time.summerEndHour = 4;
    time.summerEndWeekday = 0;
    time.summerEndWeek = 3;
    time.summerOffset = 1;
    store->setTimeInfo(&time);
    OZM::_SC_SETRESTARTREGULARLY_DATA_ maintain{1, 1, 15, 3, 30, 9, 5};
    store->setMaintainInfo(&maintain);
    OZM::_SC_SETAUDIOINPUT_DATA_ board{1, 0, 1, 1, 0, 2, 1, 40};
    store->setAudioBoard(&board);
    OZM::SC_OTHERPARAMENABLE all{};
    for (int f = 0; f < OZM::FamilyCount; ++f)
        all.flag[f] = 1;
    store->setOtherParamEnable(&all);

    // The name (code 1) and account (code 14) notifications follow the status text and come
    // before the family's result is written.
    std::mutex seenLock;
    std::vector<std::pair<int, int>> seenResults; // code, the family's result at that moment
    notes->observe([&](const enginetest::Note& note) {
        const int family = note.code == 1 ? OZM::FamilyOsd : note.code == 14 ? OZM::FamilyAccount : -1;
        if (family < 0)
            return;
        const auto results = engine->otherParamResults();
        std::lock_guard<std::mutex> lock(seenLock);
        seenResults.emplace_back(note.code, results.empty() ? -1 : results[0].results[family]);
    });
    RunCloser closer;
    ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
    ASSERT_FALSE(closer.stuck);
    notes->observe(nullptr);
    EXPECT_EQ(seenResults, (std::vector<std::pair<int, int>>{{1, 0}, {14, 0}}));
    std::vector<QString> sequence;
    for (const auto& note : notes->all()) {
        if (note.code == 1 || note.code == 14)
            sequence.push_back(QString::number(note.code));
        else if (note.code == 2 && (note.texts.value(1) == "Set OSD Success" ||
                                    note.texts.value(1) == "Modify Account Success"))
            sequence.push_back(note.texts.value(1));
    }
    EXPECT_EQ(sequence, (std::vector<QString>{"Set OSD Success", "1", "Modify Account Success", "14"}));

    // Order, pauses and texts.
    const QStringList expected = {"Modify DDNS Success",          "Modify GB28181 Success",
                                  "Set Audio Param Success",      "Set OSD Success",
                                  "Set Privacy Success",          "Modify Motion Detection Success",
                                  "Modify Account Success",       "Set Time Success",
                                  "Set Timer To Restart Success", "Set Audio Board Success",
                                  "P2P Modify Success",           "Modify Video Param Success",
                                  "Modify Image Param Success",   "Modify Port Success",
                                  "Modify Tcp/Ip Success"};
    ASSERT_EQ(statuses(0), expected);
    std::vector<enginetest::Note> family;
    for (const auto& note : notes->with(2, mac(0)))
        if (note.texts.value(1) != "Logging in...")
            family.push_back(note);
    for (std::size_t i = 1; i < family.size(); ++i)
        EXPECT_GE(family[i].tick - family[i - 1].tick, 990u) << expected[int(i)].toStdString();

    // Extra notifications: name, account, ports, then the new address.
    EXPECT_EQ(texts(1, 0), QStringList{"Gate 7"});
    EXPECT_EQ(texts(14, 0), QStringList{"op|secret"});
    EXPECT_EQ(texts(9, 0), QStringList{"8080|8554"});
    EXPECT_EQ(texts(8, 0), QStringList{"127.0.5.11|New IP:127.0.5.11"});
    std::vector<int> codes;
    for (const auto& note : notes->all())
        if (!note.texts.isEmpty() && note.texts[0] == mac(0) && (note.code == 8 || note.code == 9))
            codes.push_back(note.code);
    EXPECT_EQ(codes, (std::vector<int>{9, 8}));

    // Bytes as the camera holds them now.
    const auto d = camsim::paramBytes(m, "ddns");
    EXPECT_EQ(d[0], 1);
    EXPECT_EQ(d[1], 2);
    EXPECT_EQ(text(d, 40), "cam.example");
    EXPECT_EQ(text(d, 104), "ddnsuser");
    EXPECT_EQ(text(d, 136), "pw");
    EXPECT_EQ(camsim::paramBytes(m, "p2p")[0], 1);
    const auto g = camsim::paramBytes(m, "gb28181");
    EXPECT_EQ(g[1], 1);
    EXPECT_EQ(g[2], 2);
    EXPECT_EQ(text(g, 4), "SIPID");
    EXPECT_EQ(text(g, 44), "dom");
    EXPECT_EQ(text(g, 84), "127.0.0.9");
    EXPECT_EQ(u32(g, 104), 5070u);
    EXPECT_EQ(text(g, 108), "gbuser");
    EXPECT_EQ(text(g, 148), "auth");
    EXPECT_EQ(text(g, 188), "gbpw");
    EXPECT_EQ(u32(g, 228), 5061u);
    EXPECT_EQ(g[272], 1);
    EXPECT_EQ(g[273], 2);
    EXPECT_EQ(g[274], 1);
    EXPECT_EQ(u32(g, 276), 3600u);
    EXPECT_EQ(u32(g, 280), 60u);
    EXPECT_EQ(u32(g, 284), 30u);
    EXPECT_EQ(u32(g, 288), 3u);
    EXPECT_EQ(text(g, 292), "ALARM");
    const auto v = camsim::paramBytes(m, "encPro");
    const struct {
        std::size_t at;
        int codec, width, height, fps, bitrate, iframe, mode;
    } streams[] = {{64, 1, 1280, 720, 30, 2048, 25, 1}, {128, 0, 720, 480, 15, 256, 30, 0}};
    for (const auto& s : streams) {
        EXPECT_EQ(v[s.at], s.codec) << s.at;
        EXPECT_EQ(u16(v, s.at + 4), s.width) << s.at;
        EXPECT_EQ(u16(v, s.at + 6), s.height) << s.at;
        EXPECT_EQ(u16(v, s.at + 8), s.fps) << s.at << ": capped by the scope entry";
        EXPECT_EQ(u16(v, s.at + 10), s.bitrate) << s.at;
        EXPECT_EQ(u16(v, s.at + 12), s.iframe) << s.at;
        EXPECT_EQ(v[s.at + 14], s.mode) << s.at;
    }
    const auto a = camsim::paramBytes(m, "audio");
    EXPECT_EQ(std::vector<std::uint8_t>(a.begin(), a.begin() + 4), (std::vector<std::uint8_t>{1, 80, 70, 1}));
    const auto ae = camsim::paramBytes(m, "audioEnc");
    EXPECT_EQ(ae[0], 52);
    EXPECT_EQ(ae[2], 17);
    const auto o = camsim::paramBytes(m, "osd");
    EXPECT_EQ(std::vector<std::uint8_t>(o.begin() + 8, o.begin() + 12),
              (std::vector<std::uint8_t>{1, 1, 2, 0}))
        << "position, show time, date format, show text";
    EXPECT_EQ(text(o, 12), "Gate 7");
    EXPECT_EQ(o[1], imageBytes[40]) << "mirroring";
    EXPECT_EQ(o[2], imageBytes[5]) << "shutter";
    const auto fl = camsim::paramBytes(m, "fillLight");
    EXPECT_EQ(u32(fl, 0), 390u);
    EXPECT_EQ(u32(fl, 4), 1110u);
    EXPECT_EQ(fl[9], imageBytes[10]);
    EXPECT_EQ(fl[10], imageBytes[25]);
    EXPECT_EQ(fl[12], imageBytes[12]);
    EXPECT_EQ(fl[13], imageBytes[13]);
    EXPECT_EQ(fl[15], 0) << "light mode is not Auto";
    EXPECT_EQ(fl[17], imageBytes[11]);
    const auto vp = camsim::paramBytes(m, "videoParam");
    const int mapping[][2] = {{2, 0},   {3, 1},   {4, 2},   {5, 3},   {6, 7},   {7, 26},  {8, 27},  {9, 28},
                              {10, 29}, {11, 8},  {12, 9},  {13, 4},  {14, 34}, {15, 35}, {17, 33}, {18, 30},
                              {19, 31}, {21, 32}, {22, 36}, {23, 37}, {30, 38}, {31, 39}, {32, 6}};
    for (const auto& pair : mapping)
        EXPECT_EQ(vp[pair[0]], imageBytes[pair[1]]) << "video parameter +" << pair[0];
    const auto c = camsim::paramBytes(m, "videoCover");
    const std::uint32_t cover[] = {19, 16, 59, 50, 0, 0, 100, 100, 0, 0, 0, 0};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(u32(c, 12 + 4 * i), cover[i]) << "cover word " << i;
    const auto md = camsim::paramBytes(m, "md");
    EXPECT_EQ(md[1], 1);
    EXPECT_EQ(md[2], 7);
    EXPECT_EQ(u32(md, 8), 0x3FFFFFu);
    EXPECT_EQ(u32(md, 8 + 17 * 4), 5u);
    const auto al = camsim::paramBytes(m, "alarm");
    EXPECT_EQ(al[1], 1);
    EXPECT_EQ(std::memcmp(&al[32], alarm.schedule, 448), 0);
    const auto t = camsim::paramBytes(m, "time");
    EXPECT_EQ(u16(t, 0), 2024);
    EXPECT_EQ(std::vector<std::uint8_t>(t.begin() + 2, t.begin() + 12),
              (std::vector<std::uint8_t>{5, 6, 7, 8, 9, 0, 30, 1, 0xF1, 0}));
    EXPECT_EQ(text(t, 12), "ntp.local");
    const auto dst = camsim::paramBytes(m, "dst");
    const std::pair<int, int> dstBytes[] = {{0, 1},  {2, 2},  {4, 3},  {5, 4},  {6, 2},
                                            {23, 9}, {25, 4}, {26, 0}, {27, 4}, {44, 60}};
    for (const auto& p : dstBytes)
        EXPECT_EQ(dst[p.first], p.second) << "summer time +" << p.first;
    const auto r = camsim::paramBytes(m, "rebootEx");
    EXPECT_EQ(std::vector<std::uint8_t>(r.begin(), r.begin() + 7),
              (std::vector<std::uint8_t>{1, 1, 15, 3, 30, 9, 5}));
    const auto cp = camsim::paramBytes(m, "cpld");
    EXPECT_EQ(u32(cp, 272), 5u) << "Mic";
    EXPECT_EQ(u32(cp, 304), 3u) << "warm light board";
    for (const char* family : {"ddns", "gb28181"}) {
        const auto bytes = camsim::paramBytes(m, family);
        EXPECT_FALSE(contains(bytes, "CONF")) << family << ": confirmations never reach a device";
    }
    const auto users = camsim::calls("KVX_NET_UserConfig");
    ASSERT_EQ(users.size(), 1u);
    EXPECT_EQ(text(users[0].in, 0), "op");
    EXPECT_EQ(text(users[0].in, 32), "secret");
    EXPECT_EQ(users[0].in[64], 2);
    EXPECT_FALSE(contains(users[0].in, "CONF"));

    // The camera, and the engine's record of it, after the port and address changes.
    camsim::CameraProfile now;
    ASSERT_TRUE(camsim::findCamera(m, &now));
    EXPECT_EQ(now.ip, "127.0.5.11");
    EXPECT_EQ(now.mask, "255.255.0.0");
    EXPECT_EQ(now.gateway, "127.0.0.1");
    EXPECT_EQ(now.fullNetcom, 1);
    EXPECT_EQ(now.httpPort, 8080);
    EXPECT_EQ(now.rtspPort, 8554);
    EXPECT_EQ(now.httpsPort, 8443);
    EXPECT_EQ(now.onvifPort, 8899);
    EXPECT_EQ(now.user, "op");
    const auto info = engine->findSearchInfo(m);
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->ip, "127.0.5.11");
    EXPECT_STREQ(info->mask, "255.255.0.0");
    EXPECT_STREQ(info->gateway, "127.0.0.1");
    EXPECT_STREQ(info->dns, "127.0.0.53");
    EXPECT_EQ(info->fullNetcom, 1);
    EXPECT_EQ(info->httpPort, 8080u);
    EXPECT_EQ(info->rtspPort, 8554u);
    EXPECT_STREQ(info->user, "op");
    // The port change restarted it: relogin at the old address; then at the new one.
    EXPECT_EQ(loginsTo("127.0.0.11"), 1);
    EXPECT_EQ(loginsTo("127.0.5.11"), 1);
    EXPECT_EQ(pings().value(0), "127.0.5.10") << "the start address is tried first";

    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].size, QSize(1280, 720));
    EXPECT_EQ(closer.tables[0].headers, kAllHeaders);
    QStringList row{"127.0.0.11"};
    for (int i = 0; i < 15; ++i)
        row << "Success";
    ASSERT_EQ(closer.tables[0].rows.size(), 1);
    EXPECT_EQ(closer.tables[0].rows[0], row);
}

TEST_F(OtherParamTest, DdnsStartsWithoutPause) {
    // The 1 s pause is 500 ms of real time: a busy machine's delay in starting the run stays below it.
    winport::setTimeScale(0.5);
    useCameras(1);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    enable({OZM::FamilyDdns, OZM::FamilyP2p});
    RunCloser closer;
    const std::uint64_t start = GetTickCount();
    ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
    const auto ddns = notes->with(2, mac(0));
    ASSERT_EQ(statuses(0), (QStringList{"Modify DDNS Success", "P2P Modify Success"}));
    EXPECT_LT(ddns[0].tick - start, 900u);
    EXPECT_GE(ddns[1].tick - ddns[0].tick, 990u);
}

// ------------------------------------------------------------------ video: size, rate, restart

TEST_F(OtherParamTest, VideoSizeFrameRateAndRestartDecision) {
    // The relogins after the restarting cases within their program-time limits on a busy machine.
    winport::setTimeScale(0.03);
    useCameras(1);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    const std::string m = fleet[0].mac;
    const auto defaultScope = camsim::paramBytes(m, "encScope");
    const auto defaultPro = camsim::paramBytes(m, "encPro");
    enum Scope { Normal, NoEntry, HugeCount };
    const struct {
        int curWidth, curHeight, curH265;
        std::uint32_t index, h265, fps;
        Scope scope;
        int width, height, sentFps;
        bool restart;
        std::uint32_t codec = 0; // template codec: 0 gives the first codec (0), others the second (1)
        int sentCodec = 0;
    } cases[] = {
        {2304, 1296, 0, 1, 0, 20, Normal, 1920, 1080, 20, true},       // out of 2304x1296
        {1920, 1080, 0, 2, 0, 20, Normal, 1280, 720, 20, false},       // no restart
        {1920, 1080, 0, 0, 0, 20, Normal, 2304, 1296, 20, true},       // into 2304x1296
        {1920, 1080, 0, 1, 1, 20, Normal, 1920, 1080, 20, true},       // H265+ changes
        {1920, 1080, 0, 1, 0, 30, Normal, 1920, 1080, 25, false},      // capped by the scope entry
        {1920, 1080, 0, 1, 0, 30, NoEntry, 1920, 1080, 17, false},     // no entry: the rate stays
        {1920, 1080, 0, 1, 0, 30, HugeCount, 1920, 1080, 25, false},   // counts clamped to the tables
        {1920, 1080, 0, 2, 0, 20, Normal, 1280, 720, 20, false, 2, 1}, // the second codec
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.curWidth << " -> index " << c.index << ", fps " << c.fps);
        auto pro = defaultPro;
        putBytes<std::uint16_t>(pro, 64 + 4, static_cast<std::uint16_t>(c.curWidth));
        putBytes<std::uint16_t>(pro, 64 + 6, static_cast<std::uint16_t>(c.curHeight));
        putBytes<std::uint16_t>(pro, 64 + 8, 17);
        pro[64 + 16] = static_cast<std::uint8_t>(c.curH265);
        ASSERT_TRUE(camsim::setParamBytes(m, "encPro", pro));
        auto scope = defaultScope;
        if (c.scope == NoEntry) {
            putBytes<std::uint32_t>(scope, 40 + 64 * 1, 1); // the 1920x1080 entry of the first codec
        } else if (c.scope == HugeCount) {
            scope[33] = 255;
            // Bytes after the nine-entry table that would read as a 1920x1080 entry of rate 5.
            putBytes<std::uint32_t>(scope, 40 + 64 * 9, 1920);
            putBytes<std::uint32_t>(scope, 40 + 64 * 9 + 4, 1080);
            putBytes<std::uint32_t>(scope, 40 + 64 * 9 + 16, 5);
        }
        ASSERT_TRUE(camsim::setParamBytes(m, "encScope", scope));
        OZM::_SC_SETVIDEO_DATA_ video{};
        video.mainResolution = c.index;
        video.mainH265Plus = c.h265;
        video.mainFrameRate = c.fps;
        video.mainCodec = c.codec;
        video.subFrameRate = 10;
        ozmParamsMgr()->setVideoInfo(&video);
        enable({OZM::FamilyVideo});
        camsim::clearCallLog();
        notes->clear();

        RunCloser closer;
        ASSERT_TRUE(runToTheEnd(rows({0})));
        const auto sent = camsim::paramBytes(m, "encPro");
        EXPECT_EQ(sent[64], c.sentCodec);
        EXPECT_EQ(u16(sent, 64 + 4), c.width);
        EXPECT_EQ(u16(sent, 64 + 6), c.height);
        EXPECT_EQ(u16(sent, 64 + 8), c.sentFps);
        EXPECT_EQ(loginsTo(fleet[0].ip) > 0, c.restart) << "relogin after the restart wait";
        EXPECT_EQ(statuses(0), QStringList{"Modify Video Param Success"});
        ASSERT_EQ(closer.tables.size(), 1u);
        EXPECT_EQ(closer.tables[0].headers, (QStringList{"IP", "Setting Video"}));
        EXPECT_EQ(closer.tables[0].rows.value(0), (QStringList{"127.0.0.11", "Success"}));
    }
}

// ------------------------------------------------------------------ mapped values

// Values the appliers translate: the audio codec, the audio board's input and light-board
// mode (each only with its apply flag), the summer-time offset, the update method and the NTP
// interval packed into two bytes.
TEST_F(OtherParamTest, MappedValuesFollowTheirTables) {
    useCameras(1);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    const std::string m = fleet[0].mac;
    const struct {
        std::int32_t codec;
        std::uint32_t input, lightMode, applyInput, applyLight;
        std::uint8_t offset, method, autoSync;
        std::int32_t interval;
        int encCodec;
        std::uint32_t cpldInput, cpldLight; // 0x11 / 0x22: left as the device had them
        int dstMinutes, timeMethod, ntpLow, ntpHigh;
    } cases[] = {
        {0, 0, 0, 1, 1, 0, 0, 0, 60, 16, 5, 2, 30, 2, 0xF1, 0},
        {1, 1, 1, 1, 1, 1, 1, 1, 1000, 17, 2, 3, 60, 0, 0xA0, 15},
        {7, 0, 2, 0, 1, 2, 2, 0, 10080, 17, 0x11, 7, 90, 1, 0x81, 157},
        {0, 1, 3, 1, 0, 3, 5, 2, 64, 16, 2, 0x22, 120, 1, 0x00, 1},
        {0, 0, 4, 0, 1, 9, 1, 0, 63, 16, 0x11, 7, 120, 0, 0xFD, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "codec " << c.codec << ", light " << c.lightMode << ", offset " << int(c.offset)
                     << ", method " << int(c.method) << ", interval " << c.interval);
        auto cpld = camsim::paramBytes(m, "cpld");
        putBytes<std::uint32_t>(cpld, 272, 0x11);
        putBytes<std::uint32_t>(cpld, 304, 0x22);
        ASSERT_TRUE(camsim::setParamBytes(m, "cpld", cpld));
        OZM::_SC_SETAUDIO_DATA_ audio{1, 0, c.codec, 50, 50};
        ozmParamsMgr()->setAudioInfo(&audio);
        OZM::_SC_SETAUDIOINPUT_DATA_ board{};
        board.applyInput = c.applyInput;
        board.applyLightBoardMode = c.applyLight;
        board.input = c.input;
        board.lightBoardMode = c.lightMode;
        ozmParamsMgr()->setAudioBoard(&board);
        OZM::_SC_SETTIME_DATA_ time{};
        time.year = 2024;
        time.month = 1;
        time.day = 1;
        time.updateMethod = c.method;
        time.ntpAutoSync = c.autoSync;
        time.ntpInterval = c.interval;
        time.summerOffset = c.offset;
        ozmParamsMgr()->setTimeInfo(&time);
        enable({OZM::FamilyAudio, OZM::FamilyTime, OZM::FamilyAudioBoard});
        RunCloser closer;
        ASSERT_TRUE(runToTheEnd(rows({0})));
        EXPECT_EQ(camsim::paramBytes(m, "audioEnc").at(2), c.encCodec);
        const auto board2 = camsim::paramBytes(m, "cpld");
        EXPECT_EQ(u32(board2, 272), c.cpldInput);
        EXPECT_EQ(u32(board2, 304), c.cpldLight);
        EXPECT_EQ(camsim::paramBytes(m, "dst").at(44), c.dstMinutes);
        const auto t = camsim::paramBytes(m, "time");
        EXPECT_EQ(t.at(7), c.timeMethod);
        EXPECT_EQ(t.at(10), c.ntpLow);
        EXPECT_EQ(t.at(11), c.ntpHigh);
        ASSERT_EQ(closer.tables.size(), 1u);
        EXPECT_EQ(closer.tables[0].rows.value(0),
                  (QStringList{"127.0.0.11", "Success", "Success", "Success"}));
    }
}

// Audio board with all four apply flags 0: the family is left out of the run before any record
// copies the flags.
TEST_F(OtherParamTest, AudioBoardWithoutApplyFlagsIsLeftOut) {
    useCameras(1);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    OZM::_SC_SETAUDIOINPUT_DATA_ board{};
    board.input = 1;
    board.lightBoardMode = 3;
    board.brightness = 40;
    ozmParamsMgr()->setAudioBoard(&board);
    enable({OZM::FamilyDdns, OZM::FamilyAudioBoard});
    RunCloser closer;
    ASSERT_TRUE(runToTheEnd(rows({0})));
    EXPECT_TRUE(camsim::calls("KVX_NET_GetCpldData").empty());
    const auto results = engine->otherParamResults();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].flags[OZM::FamilyAudioBoard], 0);
    EXPECT_EQ(results[0].flags[OZM::FamilyDdns], 1);
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].headers, (QStringList{"IP", "Setting DDNS"}));
    EXPECT_EQ(statuses(0), QStringList{"Modify DDNS Success"});
}

// ------------------------------------------------------------------ failures and restarts

// A restart is waited for only after a video or image change that needs one and whose last set
// succeeded (video: into or out of 2304x1296; image: a new flicker setting).
// Stores a video record whose set restarts the camera m (another main resolution) or not.
void storeVideo(const std::string& m, bool restarting) {
    const int width = u16(camsim::paramBytes(m, "encPro"), 64 + 4);
    OZM::_SC_SETVIDEO_DATA_ video{};
    video.mainResolution = (width == 2304) == restarting ? 1 : 0;
    video.mainH265Plus = camsim::paramBytes(m, "encPro").at(64 + 16);
    ozmParamsMgr()->setVideoInfo(&video);
}

// Stores an image record whose set restarts the camera m (the other flicker value) or not.
void storeImage(const std::string& m, bool restarting) {
    const std::uint8_t flicker = camsim::paramBytes(m, "videoParam").at(17);
    OZM::_SC_IMAGE_DATA_ image{};
    image.flicker = restarting ? flicker ^ 1 : flicker;
    ozmParamsMgr()->setImageInfo(&image);
}

TEST_F(OtherParamTest, RestartFollowsSuccessfulVideoAndImageSets) {
    const struct {
        int family;
        bool restarting; // the change needs a restart
        const char* failingSet;
        bool restart;
        const char* text;
    } cases[] = {
        {OZM::FamilyVideo, true, nullptr, true, "Modify Video Param Success"},
        {OZM::FamilyVideo, true, "KVX_NET_SetEncodingPropertyPro", false, "Modify Video Param Failed"},
        {OZM::FamilyImage, true, nullptr, true, "Modify Image Param Success"},
        {OZM::FamilyImage, false, nullptr, false, "Modify Image Param Success"},
        {OZM::FamilyImage, true, "KVX_NET_ClientSetVideoParam2", false, "Modify Image Param Failed"},
    };
    // Each case's login and the restart's relogin within their program-time limits on a busy machine.
    winport::setTimeScale(0.03);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << (c.restarting ? ", restarting change" : ""));
        engine->logoutAll();
        camsim::resetWorld();
        useCameras(1);
        ASSERT_NO_FATAL_FAILURE(loginFleet());
        QFile::remove(pingLog);
        const std::string m = fleet[0].mac;
        if (c.family == OZM::FamilyVideo)
            storeVideo(m, c.restarting);
        else
            storeImage(m, c.restarting);
        if (c.failingSet)
            camsim::inject({m, c.failingSet, true, false, 0, -1});
        enable({c.family});
        RunCloser closer;
        ASSERT_TRUE(runToTheEnd(rows({0})));
        EXPECT_EQ(statuses(0).value(0), c.text);
        EXPECT_EQ(loginsTo(fleet[0].ip), c.restart ? 1 : 0) << "relogin after the restart wait";
        EXPECT_EQ(pings().isEmpty(), !c.restart);
    }
}

// The restart wait: 20 s before the first ping, pings until the ninth answer, the relogin, and
// 20 s after it before the next family.
TEST_F(OtherParamTest, RestartWaitPingsUntilTheNinthAnswerBetweenTwoPauses) {
    useCameras(1);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    // Nine ping processes and the relogin must fit into their program-time limits on a busy machine.
    winport::setTimeScale(0.1);
    storeVideo(fleet[0].mac, true);
    storeImage(fleet[0].mac, false);
    enable({OZM::FamilyVideo, OZM::FamilyImage});
    RunCloser closer;
    ASSERT_TRUE(runToTheEnd(rows({0})));
    // The camera is back (8.5 s) before the first ping, so every ping answers.
    EXPECT_EQ(pings().count(QString::fromStdString(fleet[0].ip)), 9);
    std::uint64_t videoDone = 0, relogin = 0, imageDone = 0;
    QStringList seen;
    for (const auto& note : notes->with(2, mac(0))) {
        const QString text = note.texts.value(1);
        seen << text;
        if (text == "Modify Video Param Success")
            videoDone = note.tick;
        else if (text == "Logging in...")
            relogin = note.tick;
        else if (text == "Modify Image Param Success")
            imageDone = note.tick;
    }
    ASSERT_TRUE(videoDone && relogin && imageDone) << seen.join(" | ").toStdString();
    EXPECT_GE(relogin - videoDone, 20000u) << "the pause before the pings";
    EXPECT_GE(imageDone - relogin, 21000u) << "the pause after the relogin and before the next family";
    EXPECT_EQ(loginsTo(fleet[0].ip), 1);
}

// Failed account and OSD changes have none of their successes' extra effects.
TEST_F(OtherParamTest, FailedAccountAndOsdChangesHaveNoExtraEffects) {
    useCameras(1);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    OZM::_SC_ACCOUNT_DATA account{};
    std::strcpy(account.user, "op");
    std::strcpy(account.password, "secret12");
    ozmParamsMgr()->setAccountInfo(&account);
    OZM::_SC_SETOSD_DATA_ osd{};
    std::strcpy(osd.text, "Gate 9");
    ozmParamsMgr()->setOsdInfo(&osd);
    camsim::inject({fleet[0].mac, "KVX_NET_UserConfig", true, false, 0, -1});
    camsim::inject({fleet[0].mac, "KVX_NET_SetOSD2", true, false, 0, -1});
    enable({OZM::FamilyAccount, OZM::FamilyOsd});
    RunCloser closer;
    ASSERT_TRUE(runToTheEnd(rows({0})));
    EXPECT_EQ(statuses(0), (QStringList{"Set OSD Failed", "Modify Account Failed"}));
    EXPECT_TRUE(texts(14, 0).isEmpty());
    EXPECT_TRUE(texts(1, 0).isEmpty());
    const auto info = engine->findSearchInfo(fleet[0].mac);
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->user, fleet[0].user.c_str()) << "later logins keep the account that works";
    EXPECT_STREQ(info->password, fleet[0].password.c_str());
}

// Device threads write their results while the configuration thread still adds the records of
// later cameras (checked under the thread sanitizer).
TEST_F(OtherParamTest, ResultWritesWhileRecordsAreAdded) {
    useCameras(40);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    enable({OZM::FamilyDdns, OZM::FamilyP2p});
    QVector<QStringList> all;
    for (std::size_t i = 0; i < fleet.size(); ++i)
        all << row(i);
    RunCloser closer;
    ASSERT_TRUE(runToTheEnd(all));
    ASSERT_EQ(closer.tables.size(), 1u);
    ASSERT_EQ(closer.tables[0].rows.size(), 40);
    for (const QStringList& shown : closer.tables[0].rows)
        EXPECT_EQ(shown.mid(1), (QStringList{"Success", "Success"})) << shown.value(0).toStdString();
}

} // namespace
