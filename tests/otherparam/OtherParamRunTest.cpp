// The other-parameter run against the simulated fleet: the families' bytes as the cameras hold
// them afterwards, their order and pauses, restarts, new addresses, the end paths and the
// result table.
#include "../batches/BatchTestSupport.h"

#include "ProgressBarDialog.h"
#include "TipDialog.h"
#include "harness/LogCapture.h"
#include "ozmlogic/ParamsMgr.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <set>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

using namespace batchtest;

namespace {

class StoreEnvironment : public ::testing::Environment {
public:
    void SetUp() override { dir = std::make_unique<harness::TestDir>(); }
    void TearDown() override { dir.reset(); }

private:
    std::unique_ptr<harness::TestDir> dir;
};
const auto* const storeEnvironment = ::testing::AddGlobalTestEnvironment(new StoreEnvironment);

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b.at(at)) | (std::uint32_t(b.at(at + 1)) << 8) |
           (std::uint32_t(b.at(at + 2)) << 16) | (std::uint32_t(b.at(at + 3)) << 24);
}
std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
std::string text(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::string(reinterpret_cast<const char*>(&b.at(at)));
}
bool contains(const std::vector<std::uint8_t>& b, const std::string& needle) {
    return std::search(b.begin(), b.end(), needle.begin(), needle.end()) != b.end();
}
template <typename T> void putBytes(std::vector<std::uint8_t>& b, std::size_t at, T value) {
    std::memcpy(&b.at(at), &value, sizeof value);
}

// Closes the result tables and message boxes of a run and leaves its busy indicator alone,
// unless it stays up longer than stuckMs (then it is closed and the run counts as stuck).
class RunCloser {
public:
    explicit RunCloser(int stuckMs = 20000) : closer(harness::ModalCloser::Action::Accept, 3) {
        closer.setDecider([this, stuckMs](QWidget* widget) {
            if (qobject_cast<ProgressBarDialog*>(widget)) {
                if (!busy.isValid())
                    busy.start();
                if (busy.elapsed() > stuckMs) {
                    stuck = true;
                    return harness::ModalCloser::Action::Reject;
                }
                return harness::ModalCloser::Action::Leave;
            }
            busy.invalidate();
            if (auto* tip = qobject_cast<TipDialog*>(widget))
                tips << tip->textLabel->text();
            if (auto* dialog = qobject_cast<ShowResultDialog*>(widget)) {
                ShownTable shown;
                shown.size = dialog->size();
                Cmodifyresultmodel* model = dialog->table()->resultModel();
                for (int c = 0; c < model->columnCount(); ++c)
                    shown.headers << model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
                for (int r = 0; r < dialog->table()->rowCount(); ++r) {
                    QStringList row;
                    for (int c = 0; c < model->columnCount(); ++c)
                        row << dialog->table()->getData(r, c).toString();
                    shown.rows << row;
                }
                tables.push_back(shown);
            }
            return harness::ModalCloser::Action::Accept;
        });
    }
    std::vector<ShownTable> tables;
    QStringList tips;
    bool stuck = false;

private:
    QElapsedTimer busy;
    harness::ModalCloser closer;
};

const QStringList kAllHeaders = {"IP",
                                 "Setting DDNS",
                                 "Setting P2P",
                                 "Setting GB28181",
                                 "Setting Video",
                                 "Setting Audio",
                                 "Setting OSD",
                                 "Setting Image",
                                 "Setting Privacy Mask",
                                 "Setting Motion Detect",
                                 "Setting Account Manage",
                                 "Setting Time",
                                 "Setting Regular Maintain",
                                 "Setting The Audio Board In",
                                 "Setting TCP/IP",
                                 "Setting Port"};

class OtherParamTest : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        winport::setTimeScale(0.01);
        // Every ping goes through a wrapper that logs the address and may take its time.
        ASSERT_TRUE(bin.isValid());
        pingLog = bin.filePath("pings.log");
        QFile script(bin.filePath("ping"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$5\" >> \"" + pingLog.toUtf8() +
                     "\"\n[ -n \"$OTHERPARAM_PING_DELAY\" ] && sleep \"$OTHERPARAM_PING_DELAY\"\nexec \"" +
                     qgetenv("CORVANE_BIN_DIR") + "/simping/ping\" \"$@\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        oldPath = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8() + ":" + oldPath);
        qunsetenv("CORVANE_SIM_PING_UP");
        qunsetenv("OTHERPARAM_PING_DELAY");
        ParamsMgr* store = ozmParamsMgr();
        store->setWaitInfo(360);
        OZM::SC_OTHERPARAMENABLE none{};
        store->setOtherParamEnable(&none);
    }
    void TearDown() override {
        engine.reset();
        qputenv("PATH", oldPath);
        qunsetenv("CORVANE_SIM_PING_UP");
        qunsetenv("OTHERPARAM_PING_DELAY");
        BatchTest::TearDown();
    }
    void useCameras(int count) {
        camsim::useFleet(camsim::defaultFleet(count));
        fleet = camsim::fleet();
    }
    static void enable(std::initializer_list<int> families) {
        OZM::SC_OTHERPARAMENABLE flags{};
        for (int f : families)
            flags.flag[f] = 1;
        ozmParamsMgr()->setOtherParamEnable(&flags);
    }
    QStringList pings() const {
        QFile f(pingLog);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    // Status texts of camera i from the appliers and the run (login texts left out).
    QStringList statuses(std::size_t i) {
        QStringList out;
        for (const auto& note : notes->with(2, mac(i)))
            if (note.texts.value(1) != "Logging in...")
                out << note.texts.value(1);
        return out;
    }
    int loginsTo(const std::string& address) const {
        int n = 0;
        for (const auto& call : camsim::calls("KVX_NET_Login"))
            n += call.text == address ? 1 : 0;
        return n;
    }
    bool waitThreads() {
        return enginetest::waitFor([&] { return engine->otherParamThreads() == 0; }, 20000);
    }

    QTemporaryDir bin;
    QString pingLog;
    QByteArray oldPath;
};

// ------------------------------------------------------------------ rules without cameras

TEST(OtherParamRules, TimeLimitFollowsFlagsAndDeviceCount) {
    using F = std::vector<int>;
    const struct {
        F on;
        int devices;
        int wait;
        int limit;
    } cases[] = {
        {{0, 1, 5, 8}, 1, 1000, 360},
        {{0, 1, 5}, 1, 1000, 300},
        {{1, 5, 8}, 1, 1000, 300},
        {{0, 1, 5, 8, 2}, 3, 1000, 1000},
        {{2}, 2, 1000, 600},
        {{2}, 4, 86400, 1200},
        {{0, 1, 5, 8}, 2, 500, 500},
        {{2}, 1, 1, 1},
        {{2}, 0, 360, 0},
    };
    for (const auto& c : cases) {
        OZM::SC_OTHERPARAMENABLE flags{};
        for (int f : c.on)
            flags.flag[f] = 1;
        EXPECT_EQ(DeviceManager::otherParamTimeLimit(flags, c.devices, c.wait), c.limit)
            << c.devices << " devices, wait " << c.wait;
        // A flag other than 1 does not count.
        for (int f : c.on)
            flags.flag[f] = 2;
        EXPECT_EQ(DeviceManager::otherParamTimeLimit(flags, c.devices, c.wait),
                  std::min(c.devices * 300, c.wait));
    }
}

// ------------------------------------------------------------------ start

TEST_F(OtherParamTest, NoFlagEqualToOneRefusesTheRun) {
    loginFleet();
    const std::vector<std::array<int, 2>> fills = {{0, 0}, {2, 2}, {-1, 7}};
    for (const auto& fill : fills) {
        OZM::SC_OTHERPARAMENABLE flags{};
        for (int f = 0; f < OZM::FamilyCount; ++f)
            flags.flag[f] = fill[f % 2];
        ozmParamsMgr()->setOtherParamEnable(&flags);
        RunCloser closer;
        EXPECT_EQ(engine->startOtherParamConfig(rows({0, 1})), -1);
        EXPECT_EQ(closer.tips, QStringList{"Please select a set first!"}) << fill[0] << "," << fill[1];
        EXPECT_TRUE(closer.tables.empty());
    }
    EXPECT_TRUE(camsim::callLog().empty());
    EXPECT_TRUE(pings().isEmpty());
}

// ------------------------------------------------------------------ every family on one camera

TEST_F(OtherParamTest, AllFamiliesInOrderWithTheirBytes) {
    winport::setTimeScale(0.05); // the 1000 ms pauses are measured
    useCameras(1);
    loginFleet();
    const std::string m = fleet[0].mac;
    ParamsMgr* store = ozmParamsMgr();
    qputenv("CORVANE_SIM_PING_UP", "127.0.5.10");

    OZM::_SC_TCP_IP_DATA tcp{};
    std::strcpy(tcp.ip, "127.0.5.10");
    std::strcpy(tcp.mask, "255.255.0.0");
    std::strcpy(tcp.gateway, "127.0.0.1");
    std::strcpy(tcp.dns, "127.0.0.53");
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
    osd.showText = 1;
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

    RunCloser closer;
    ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
    ASSERT_FALSE(closer.stuck);

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
              (std::vector<std::uint8_t>{1, 1, 2, 1}));
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
    loginFleet();
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
    useCameras(1);
    loginFleet();
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
    } cases[] = {
        {2304, 1296, 0, 1, 0, 20, Normal, 1920, 1080, 20, true},     // out of 2304x1296
        {1920, 1080, 0, 2, 0, 20, Normal, 1280, 720, 20, false},     // no restart
        {1920, 1080, 0, 0, 0, 20, Normal, 2304, 1296, 20, true},     // into 2304x1296
        {1920, 1080, 0, 1, 1, 20, Normal, 1920, 1080, 20, true},     // H265+ changes
        {1920, 1080, 0, 1, 0, 30, Normal, 1920, 1080, 25, false},    // capped by the scope entry
        {1920, 1080, 0, 1, 0, 30, NoEntry, 1920, 1080, 17, false},   // no entry: the rate stays
        {1920, 1080, 0, 1, 0, 30, HugeCount, 1920, 1080, 25, false}, // counts clamped to the tables
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
        video.subFrameRate = 10;
        ozmParamsMgr()->setVideoInfo(&video);
        enable({OZM::FamilyVideo});
        camsim::clearCallLog();
        notes->clear();

        RunCloser closer;
        ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
        ASSERT_TRUE(waitThreads());
        const auto sent = camsim::paramBytes(m, "encPro");
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

// ------------------------------------------------------------------ new addresses

TEST_F(OtherParamTest, NewAddressesSkipAnsweringOnesAndNeverWrap) {
    useCameras(3);
    const struct {
        const char* start;
        const char* answering;
        QStringList pinged;   // sorted
        QStringList assigned; // per camera, empty: no address and TCP/IP failed
    } cases[] = {
        {"127.0.5.10",
         "127.0.5.10,127.0.5.11,127.0.5.13",
         {"127.0.5.10", "127.0.5.11", "127.0.5.12", "127.0.5.13", "127.0.5.14", "127.0.5.15"},
         {"127.0.5.12", "127.0.5.14", "127.0.5.15"}},
        {"", "", {}, {"", "", ""}},
        {"127.0.5", "", {}, {"", "", ""}},
        {"127.0.5.256", "", {}, {"", "", ""}},
        {"127.0.05.1", "", {}, {"", "", ""}},
        {"0.0.0.0", "", {}, {"", "", ""}},
        {"255.255.255.254", "", {}, {"", "", ""}},
        {"223.255.255.254", "", {"223.255.255.254", "223.255.255.255"}, {"", "", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        engine->logoutAll();
        camsim::useFleet(camsim::defaultFleet(3));
        fleet = camsim::fleet();
        loginFleet();
        QFile::remove(pingLog);
        qputenv("CORVANE_SIM_PING_UP", c.answering);
        OZM::_SC_TCP_IP_DATA tcp{};
        std::strncpy(tcp.ip, c.start, sizeof tcp.ip - 1);
        std::strcpy(tcp.mask, "255.0.0.0");
        std::strcpy(tcp.gateway, "127.0.0.1");
        std::strcpy(tcp.dns, "127.0.0.1");
        ozmParamsMgr()->setTcpIpInfo(&tcp);
        enable({OZM::FamilyTcpIp});

        RunCloser closer;
        ASSERT_EQ(engine->startOtherParamConfig(rows({0, 1, 2})), 0);
        ASSERT_TRUE(waitThreads());
        const QStringList pinged = pings();
        // Probes run a few ahead of their turn (in any order), never beyond the addresses wanted;
        // the first camera's restart pings may come between the others' scan, so the scan is
        // judged by the first ping of each address.
        QStringList firstPings;
        for (const QString& address : pinged)
            if (!firstPings.contains(address))
                firstPings << address;
        QStringList first = firstPings.mid(0, c.pinged.size());
        first.sort();
        EXPECT_EQ(first, c.pinged);
        for (const QString& address : pinged)
            EXPECT_TRUE(address.startsWith("127.") || address.startsWith("223.")) << address.toStdString();
        ASSERT_EQ(closer.tables.size(), 1u);
        ASSERT_EQ(closer.tables[0].rows.size(), 3);
        for (std::size_t i = 0; i < 3; ++i) {
            const QString want = c.assigned[int(i)];
            camsim::CameraProfile now;
            ASSERT_TRUE(camsim::findCamera(fleet[i].mac, &now));
            if (want.isEmpty()) {
                EXPECT_EQ(statuses(i), QStringList{"Modify Tcp/Ip Failed"}) << i;
                EXPECT_TRUE(texts(8, i).isEmpty()) << i;
                EXPECT_EQ(now.ip, fleet[i].ip) << i;
                EXPECT_EQ(closer.tables[0].rows[int(i)].value(1), "Failed") << i;
            } else {
                EXPECT_EQ(texts(8, i), QStringList{want + "|New IP:" + want}) << i;
                EXPECT_EQ(now.ip, want.toStdString()) << i;
                EXPECT_EQ(loginsTo(want.toStdString()), 1) << i;
                EXPECT_EQ(closer.tables[0].rows[int(i)].value(1), "Success") << i;
            }
        }
    }
}

// ------------------------------------------------------------------ port, then TCP/IP refused

TEST_F(OtherParamTest, PortStopsAtFirstFailureAndRefusedAddressChangeFails) {
    useCameras(2);
    loginFleet();
    OZM::_SC_PORT_DATA port{8080, 554, 0, 8899, 1}; // the camera refuses HTTPS port 0
    ozmParamsMgr()->setPortParamInfo(&port);
    OZM::_SC_TCP_IP_DATA tcp{};
    std::strcpy(tcp.ip, "127.0.6.1");
    std::strcpy(tcp.mask, "255.0.0.0");
    std::strcpy(tcp.gateway, "127.0.0.1");
    std::strcpy(tcp.dns, "127.0.0.1");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    enable({OZM::FamilyPort, OZM::FamilyTcpIp});
    camsim::inject({fleet[1].mac, "KVX_NET_SetNetPropertyEx", true, false, 0, -1});

    RunCloser closer;
    ASSERT_EQ(engine->startOtherParamConfig(rows({0, 1})), 0);
    ASSERT_TRUE(waitThreads());
    for (std::size_t i = 0; i < 2; ++i) {
        const auto sets = callsTo("KVX_NET_SetAgreementProperty", i);
        ASSERT_EQ(sets.size(), 2u) << "ONVIF and HTTP are not sent";
        EXPECT_EQ(sets[0].in[1], KVX_AGREEMENT_RTSP);
        EXPECT_EQ(u16(sets[0].in, 2), 554);
        EXPECT_EQ(sets[1].in[1], KVX_AGREEMENT_HTTPS);
        EXPECT_TRUE(texts(9, i).isEmpty());
        camsim::CameraProfile now;
        ASSERT_TRUE(camsim::findCamera(fleet[i].mac, &now));
        EXPECT_EQ(now.httpPort, 80);
    }
    EXPECT_EQ(statuses(0), (QStringList{"Modify Port Failed", "Modify Tcp/Ip Success"}));
    EXPECT_EQ(texts(8, 0), QStringList{"127.0.6.1|New IP:127.0.6.1"});
    // A refused address change is a failure and the engine keeps the old address.
    EXPECT_EQ(statuses(1), (QStringList{"Modify Port Failed", "Modify Tcp/Ip Failed"}));
    EXPECT_TRUE(texts(8, 1).isEmpty());
    EXPECT_STREQ(engine->findSearchInfo(fleet[1].mac)->ip, fleet[1].ip.c_str());
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].headers, (QStringList{"IP", "Setting TCP/IP", "Setting Port"}));
    EXPECT_EQ(closer.tables[0].rows,
              (QList<QStringList>{{"127.0.0.11", "Success", "Failed"}, {"127.0.0.12", "Failed", "Failed"}}));
}

// ------------------------------------------------------------------ end paths

TEST_F(OtherParamTest, TimeLimitMarksPendingFamilies) {
    loginFleet();
    // Camera 2 has a search record but no login: its families stay pending.
    const auto record = enginetest::searchRecord(camsim::fleet()[0]);
    DSC_SEARCH_RESPONSE_INFO stray = record;
    std::strcpy(stray.mac, "02:00:00:00:99:99");
    std::strcpy(stray.ip, "127.0.0.99");
    engine->addSearchInfo(stray.mac, &stray);
    QStringList strayRow = row(0);
    strayRow[8] = stray.mac;
    ozmParamsMgr()->setWaitInfo(1);
    enable({OZM::FamilyDdns, OZM::FamilyOsd});
    RunCloser closer;
    ASSERT_EQ(engine->startOtherParamConfig({row(0), strayRow}), 0);
    ASSERT_TRUE(waitThreads());
    EXPECT_EQ(notes->count(2, "02:00:00:00:99:99", "Modify DDNS Failed"), 1);
    EXPECT_EQ(notes->count(2, "02:00:00:00:99:99", "Set OSD Failed"), 1);
    const auto results = engine->otherParamResults();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[1].results[OZM::FamilyDdns], 3);
    EXPECT_EQ(results[1].results[OZM::FamilyOsd], 3);
    EXPECT_EQ(results[1].results[OZM::FamilyTcpIp], 0);
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].headers, (QStringList{"IP", "Setting DDNS", "Setting OSD"}));
    EXPECT_EQ(closer.tables[0].rows.value(1), (QStringList{"127.0.0.99", "Failed", "Failed"}));
}

TEST_F(OtherParamTest, RunWithoutRecordsEndsAtOnce) {
    loginFleet();
    ozmParamsMgr()->setWaitInfo(86400);
    enable({OZM::FamilyDdns});
    QStringList unknown = row(0);
    unknown[8] = "02:00:00:00:77:77";
    RunCloser closer(3000);
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(engine->startOtherParamConfig({unknown}), 0);
    EXPECT_FALSE(closer.stuck);
    EXPECT_LT(clock.elapsed(), 2000);
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].headers, QStringList{"IP"});
    EXPECT_TRUE(closer.tables[0].rows.isEmpty());
    EXPECT_TRUE(camsim::callLog().empty());
}

TEST_F(OtherParamTest, RunEndsOnlyAfterEveryRecordWasAdded) {
    loginFleet();
    // Camera 0 fails fast; finding camera 1's address takes several slow pings.
    qputenv("OTHERPARAM_PING_DELAY", "0.15");
    qputenv("CORVANE_SIM_PING_UP", "127.0.7.2,127.0.7.3,127.0.7.4");
    OZM::_SC_TCP_IP_DATA tcp{};
    std::strcpy(tcp.ip, "127.0.7.1");
    std::strcpy(tcp.mask, "255.0.0.0");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    enable({OZM::FamilyTcpIp});
    camsim::inject({"*", "KVX_NET_SetNetPropertyEx", true, false, 0, -1});
    RunCloser closer;
    ASSERT_EQ(engine->startOtherParamConfig(rows({0, 1})), 0);
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].rows.size(), 2);
    EXPECT_EQ(statuses(1), QStringList{"Modify Tcp/Ip Failed"});
    EXPECT_EQ(closer.tables[0].rows.value(1), (QStringList{"127.0.0.12", "Failed"}));
}

// ------------------------------------------------------------------ threads across runs

TEST_F(OtherParamTest, EarlierRunNeverWritesIntoTheNextAndWaitsStopAtShutdown) {
    useCameras(1);
    loginFleet();
    OZM::_SC_PORT_DATA port{80, 554, 443, 8000, 1}; // unchanged: the camera stays up
    ozmParamsMgr()->setPortParamInfo(&port);
    ozmParamsMgr()->setWaitInfo(1);
    enable({OZM::FamilyPort}); // its result comes only after the restart wait
    {
        RunCloser closer;
        ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
        ASSERT_EQ(closer.tables.size(), 1u);
        EXPECT_EQ(closer.tables[0].rows.value(0), (QStringList{"127.0.0.11", "Failed"})) << "timed out";
    }
    ASSERT_EQ(engine->otherParamThreads(), 1) << "still in the restart wait";
    ozmParamsMgr()->setWaitInfo(360);
    enable({OZM::FamilyDdns});
    {
        RunCloser closer;
        ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
        EXPECT_EQ(closer.tables[0].rows.value(0), (QStringList{"127.0.0.11", "Success"}));
    }
    ASSERT_TRUE(waitThreads());
    EXPECT_EQ(texts(9, 0), QStringList{"80|554"}) << "the earlier run went on";
    const auto results = engine->otherParamResults();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].results[OZM::FamilyPort], 0) << "no write into the later run's record";
    EXPECT_EQ(results[0].results[OZM::FamilyDdns], 1);

    // A device thread in a long wait ends promptly with the engine.
    winport::setTimeScale(0.2);
    ozmParamsMgr()->setWaitInfo(1);
    OZM::_SC_PORT_DATA back{80, 554, 443, 8000, 1};
    ozmParamsMgr()->setPortParamInfo(&back);
    enable({OZM::FamilyPort});
    {
        RunCloser closer;
        ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
    }
    ASSERT_EQ(engine->otherParamThreads(), 1);
    QElapsedTimer clock;
    clock.start();
    engine.reset();
    EXPECT_LT(clock.elapsed(), 2000) << "the 20 s restart wait takes 4 s here";
}

// ------------------------------------------------------------------ the restart wait's pings

TEST_F(OtherParamTest, RestartWaitPausesBetweenPings) {
    OZM::_SC_PORT_DATA port{81, 555, 443, 8000, 1};
    ozmParamsMgr()->setPortParamInfo(&port);
    enable({OZM::FamilyPort});
    camsim::CameraProfile profile = camsim::defaultFleet(1)[0];
    profile.rebootMs = 10000000; // never comes back
    camsim::useFleet({profile});
    fleet = camsim::fleet();
    loginFleet();
    RunCloser closer;
    ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
    ASSERT_TRUE(waitThreads());
    const int count = pings().count(QString::fromStdString(fleet[0].ip));
    EXPECT_GE(count, 2);
    EXPECT_LE(count, 61) << "at most one ping a second for 60 s";
    EXPECT_EQ(texts(9, 0), QStringList{"81|555"});
    EXPECT_EQ(closer.tables[0].rows.value(0), (QStringList{"127.0.0.11", "Success"}));
}

// ------------------------------------------------------------------ sixteen cameras

TEST_F(OtherParamTest, SixteenCamerasEndToEnd) {
    // Sixteen restarts are each pinged until nine answers within 60 s of program time; the ping
    // processes' real cost does not shrink with the time scale, so give them a wider window.
    winport::setTimeScale(0.03);
    useCameras(16);
    loginFleet();
    OZM::_SC_TCP_IP_DATA tcp{};
    std::strcpy(tcp.ip, "127.0.8.1");
    std::strcpy(tcp.mask, "255.0.0.0");
    std::strcpy(tcp.gateway, "127.0.0.1");
    std::strcpy(tcp.dns, "127.0.0.1");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    OZM::_SC_SETOSD_DATA_ osd{};
    std::strcpy(osd.text, "Line 4");
    ozmParamsMgr()->setOsdInfo(&osd);
    OZM::_SC_SETVIDEO_DATA_ video{};
    video.mainResolution = 0; // into 2304x1296: restarts every camera
    ozmParamsMgr()->setVideoInfo(&video);
    ozmParamsMgr()->setWaitInfo(86400);
    enable({OZM::FamilyTcpIp, OZM::FamilyDdns, OZM::FamilyOsd, OZM::FamilyVideo, OZM::FamilyTime});
    QVector<QStringList> all;
    for (std::size_t i = 0; i < fleet.size(); ++i)
        all << row(i);
    RunCloser closer;
    ASSERT_EQ(engine->startOtherParamConfig(all), 0);
    ASSERT_FALSE(closer.stuck);
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].headers, (QStringList{"IP", "Setting DDNS", "Setting Video", "Setting OSD",
                                                     "Setting Time", "Setting TCP/IP"}));
    ASSERT_EQ(closer.tables[0].rows.size(), 16);
    std::set<std::string> addresses;
    for (std::size_t i = 0; i < fleet.size(); ++i) {
        EXPECT_EQ(closer.tables[0].rows[int(i)], (QStringList{QString::fromStdString(fleet[i].ip), "Success",
                                                              "Success", "Success", "Success", "Success"}));
        camsim::CameraProfile now;
        ASSERT_TRUE(camsim::findCamera(fleet[i].mac, &now));
        EXPECT_EQ(now.name, "Line 4");
        addresses.insert(now.ip);
        EXPECT_EQ(now.ip.rfind("127.0.8.", 0), 0u) << now.ip;
    }
    EXPECT_EQ(addresses.size(), 16u);
}

} // namespace
