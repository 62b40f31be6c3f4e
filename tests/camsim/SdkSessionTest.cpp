// Start-up counting, logins and their messages, reboots and fault injection.
#include "SimTestSupport.h"

#include "camsim/SimAddress.h"
#include "camsim/SimUpTable.h"

#include <QFile>
#include <QTemporaryDir>

#include <atomic>

using namespace simtest;

namespace {

// Camera 0 stays offline for 1 s of real time after a reboot, long enough to be seen offline by
// polling on a busy machine; it goes down 200 ms after the reboot call, as long as a busy machine
// may hold a thread between two calls.
std::vector<camsim::CameraProfile> useSlowRebootFleet() {
    auto cameras = camsim::defaultFleet(2);
    cameras[0].rebootMs = 100000;
    camsim::useFleet(cameras);
    camsim::Timing timing;
    timing.rebootGraceMs = 20000;
    camsim::setTiming(timing);
    return camsim::fleet();
}

bool online(const std::string& mac) {
    camsim::CameraProfile now;
    return camsim::findCamera(mac, &now) && now.online;
}

} // namespace

TEST_F(SimTest, StartupIsReferenceCounted) {
    EXPECT_EQ(KVX_NET_Login(nullptr), 0);
    KVX_NET_Startup();
    KVX_NET_Startup();
    MessageSink sink;
    const int h = loginLive(0, sink);
    KvxOsdInfo osd{};
    KVX_NET_Cleanup(); // a preview dialog's clean-up leaves the engine's start-up in force
    EXPECT_EQ(camsim::startupCount(), 1);
    EXPECT_NE(KVX_NET_GetOSD2(h, 0, &osd), 0);
    KVX_NET_Cleanup();
    EXPECT_EQ(camsim::startupCount(), 0);
    EXPECT_EQ(camsim::sessionCount(), 0);
    EXPECT_EQ(KVX_NET_GetOSD2(h, 0, &osd), 0);
    KvxLoginInfo info = loginRecord(fleet[0], &sink);
    EXPECT_EQ(KVX_NET_Login(&info), 0);
    KVX_NET_Cleanup(); // an extra clean-up is harmless
    EXPECT_EQ(camsim::startupCount(), 0);
}

TEST_F(SimTest, LoginAnswersOnTheStandInsThread) {
    KVX_NET_Startup();
    MessageSink sink;
    KvxLoginInfo good = loginRecord(fleet[0], &sink);
    KvxLoginInfo wrong = loginRecord(fleet[1], &sink);
    std::snprintf(wrong.password, sizeof wrong.password, "nope");
    KvxLoginInfo nobody = loginRecord(fleet[2], &sink);
    std::snprintf(nobody.address, sizeof nobody.address, "127.0.9.9");
    KvxLoginInfo badPort = loginRecord(fleet[3], &sink);
    badPort.port = 0;
    const int h1 = KVX_NET_Login(&good);
    const int h2 = KVX_NET_Login(&wrong);
    const int h3 = KVX_NET_Login(&nobody);
    const int h4 = KVX_NET_Login(&badPort);
    for (int h : {h1, h2, h3, h4})
        EXPECT_GT(h, 0);
    EXPECT_TRUE(sink.waitMessage(h1, KVX_MSG_LOGIN_OK));
    EXPECT_TRUE(sink.waitMessage(h2, KVX_MSG_LOGIN_FAILED));
    EXPECT_TRUE(sink.waitMessage(h3, KVX_MSG_LOGIN_FAILED));
    EXPECT_TRUE(sink.waitMessage(h4, KVX_MSG_LOGIN_FAILED));
    for (const auto& m : sink.messages())
        EXPECT_NE(m.thread, std::this_thread::get_id());
    KvxOsdInfo osd{};
    EXPECT_EQ(KVX_NET_GetOSD2(h2, 0, &osd), 0); // failed login: no calls
    EXPECT_NE(KVX_NET_GetOSD2(h1, 0, &osd), 0);
    EXPECT_STREQ(osd.text, fleet[0].name.c_str());
}

TEST_F(SimTest, NoMessageAfterLogoutOrForASilentCamera) {
    KVX_NET_Startup();
    camsim::inject({fleet[0].mac, "KVX_NET_Login", false, false, 2000, -1});
    camsim::inject({fleet[1].mac, "KVX_NET_Login", false, true, 0, -1});
    MessageSink sink;
    KvxLoginInfo slow = loginRecord(fleet[0], &sink);
    KvxLoginInfo silent = loginRecord(fleet[1], &sink);
    const int h1 = KVX_NET_Login(&slow);
    const int h2 = KVX_NET_Login(&silent);
    ASSERT_GT(h1, 0);
    ASSERT_GT(h2, 0);
    KVX_NET_Logout(h1);
    const int h3 = loginLive(2, sink); // a later login still answers
    winport::sleepRealMs(60);          // past the slow answer's due time
    for (const auto& m : sink.messages()) {
        EXPECT_NE(m.handle, h1);
        EXPECT_NE(m.handle, h2);
    }
    EXPECT_EQ(sink.messages().size(), 1u);
    EXPECT_EQ(sink.messages()[0].handle, h3);
}

// Logout from inside the login's own callback, and from another thread while a callback
// runs: the callback in flight finishes first, nothing comes after.
struct LogoutInside {
    std::atomic<int> calls{0};
    static void callback(int handle, int, void*, void* user) {
        auto* self = static_cast<LogoutInside*>(user);
        ++self->calls;
        KVX_NET_Logout(handle);
    }
};

TEST_F(SimTest, LogoutInsideTheCallback) {
    KVX_NET_Startup();
    LogoutInside sink;
    KvxLoginInfo info = loginRecord(fleet[0], nullptr);
    info.userData = &sink;
    info.callback = &LogoutInside::callback;
    const int h = KVX_NET_Login(&info);
    ASSERT_GT(h, 0);
    EXPECT_TRUE(waitUntil([&] { return sink.calls.load() == 1; }));
    EXPECT_EQ(camsim::sessionCount(), 0);
}

TEST_F(SimTest, LoginInjectionFailReturnsZeroOnce) {
    KVX_NET_Startup();
    camsim::inject({fleet[0].ip, "KVX_NET_Login", true, false, 0, 1});
    MessageSink sink;
    KvxLoginInfo info = loginRecord(fleet[0], &sink);
    EXPECT_EQ(KVX_NET_Login(&info), 0);
    EXPECT_GT(KVX_NET_Login(&info), 0);
    KVX_NET_Cleanup(); // while the sink lives: the login's message may still be on its way
}

TEST_F(SimTest, RebootTakesTheCameraOfflineAndBack) {
    fleet = useSlowRebootFleet();
    KVX_NET_Startup();
    MessageSink sink;
    const int h = loginLive(0, sink);
    const std::string state = camsim::stateFilePath();
    auto up = [&](const std::string& ip) {
        std::uint32_t value = 0;
        return simaddr::parse(ip, &value) && SimUpTable::readUp(state.c_str(), value);
    };
    EXPECT_TRUE(up(fleet[0].ip));
    ASSERT_NE(KVX_NET_Reboot(h), 0);
    KvxOsdInfo osd{};
    EXPECT_NE(KVX_NET_GetOSD2(h, 0, &osd), 0); // still up for a moment
    EXPECT_TRUE(waitUntil([&] { return !up(fleet[0].ip); }));
    camsim::CameraProfile now;
    ASSERT_TRUE(camsim::findCamera(fleet[0].mac, &now));
    EXPECT_FALSE(now.online);
    EXPECT_EQ(KVX_NET_GetOSD2(h, 0, &osd), 0); // the old login is gone with the reboot
    EXPECT_TRUE(waitUntil([&] { return up(fleet[0].ip); }));
    EXPECT_EQ(KVX_NET_GetOSD2(h, 0, &osd), 0);
    const int again = loginLive(0, sink);
    EXPECT_NE(KVX_NET_GetOSD2(again, 0, &osd), 0);
}

// A rebooted camera stays offline for its own reboot time: the engine's relogin after a
// reboot relies on it.
TEST_F(SimTest, RebootKeepsTheCameraOfflineForItsRebootTime) {
    winport::setTimeScale(0.05);
    auto cameras = camsim::defaultFleet(2);
    // 1 s and 2 s of real time: the offline moment is seen by polling, which a busy machine delays.
    cameras[0].rebootMs = 20000;
    cameras[1].rebootMs = 40000;
    camsim::useFleet(cameras);
    camsim::Timing timing;
    timing.rebootGraceMs = 100;
    camsim::setTiming(timing);
    for (const auto& camera : cameras) {
        SCOPED_TRACE(camera.rebootMs);
        camsim::rebootCamera(camera.mac);
        ASSERT_TRUE(waitUntil([&] { return !online(camera.mac); }));
        const std::uint64_t off = GetTickCount();
        const auto limit = static_cast<std::uint64_t>(camera.rebootMs);
        bool backEarly = false;
        while (GetTickCount() - off < limit * 8 / 10) {
            backEarly = backEarly || online(camera.mac);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_FALSE(backEarly) << "back before 0.8 of the reboot time";
        while (!online(camera.mac) && GetTickCount() - off < limit * 3)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // Seen by polling, which a loaded machine delays; still well short of the other camera's time.
        const std::uint64_t back = GetTickCount() - off;
        EXPECT_LE(back, limit * 2);
    }
}

// A port change restarts the camera, but only after the calls of the request in progress
// were answered: a slow answer (or a busy machine) must not take the camera down mid-request.
TEST_F(SimTest, RebootWaitsForTheCallsInProgress) {
    fleet = useSlowRebootFleet();
    KVX_NET_Startup();
    MessageSink sink;
    const int h = loginLive(0, sink);
    const struct {
        std::uint8_t protocol;
        std::uint16_t port;
        int delayMs;
    } steps[] = {
        {KVX_AGREEMENT_RTSP, 8554, 0}, {KVX_AGREEMENT_HTTPS, 8443, 200000}, {KVX_AGREEMENT_HTTP, 8080, 0}};
    // The first set restarts the camera; the second answers 10 grace times later; the third
    // still reaches the camera before it goes down.
    for (const auto& step : steps) {
        if (step.delayMs > 0)
            camsim::inject({fleet[0].mac, "KVX_NET_SetAgreementProperty", false, false, step.delayMs, 1});
        KvxAgreementProperty rec{};
        rec.enable = 1;
        rec.protocol = step.protocol;
        rec.port = step.port;
        EXPECT_NE(KVX_NET_SetAgreementProperty(h, 0, &rec, 1), 0) << int(step.protocol);
    }
    EXPECT_TRUE(waitUntil([&] { return !online(fleet[0].mac); }, 10000));
    EXPECT_TRUE(waitUntil([&] { return online(fleet[0].mac); }, 10000));
    camsim::CameraProfile now;
    ASSERT_TRUE(camsim::findCamera(fleet[0].mac, &now));
    EXPECT_EQ(now.rtspPort, 8554);
    EXPECT_EQ(now.httpsPort, 8443);
    EXPECT_EQ(now.httpPort, 8080);
}

TEST_F(SimTest, AddressChangeComesBackAtTheNewAddress) {
    KVX_NET_Startup();
    MessageSink sink;
    const int h = loginLive(0, sink);
    KvxNetProperty net{};
    ASSERT_NE(KVX_NET_GetNetPropertyEx(h, &net), 0);
    EXPECT_STREQ(net.ip, fleet[0].ip.c_str());
    KvxNetProperty outside = net;
    std::snprintf(outside.ip, sizeof outside.ip, "192.168.1.20");
    EXPECT_EQ(KVX_NET_SetNetPropertyEx(h, &outside), 0);
    KvxNetProperty taken = net;
    std::snprintf(taken.ip, sizeof taken.ip, "%s", fleet[1].ip.c_str());
    EXPECT_EQ(KVX_NET_SetNetPropertyEx(h, &taken), 0);
    std::snprintf(net.ip, sizeof net.ip, "127.0.3.7");
    std::snprintf(net.mask, sizeof net.mask, "255.255.0.0");
    ASSERT_NE(KVX_NET_SetNetPropertyEx(h, &net), 0);
    camsim::CameraProfile now;
    EXPECT_TRUE(waitUntil([&] { return camsim::findCamera("127.0.3.7", &now) && now.online; }));
    EXPECT_EQ(now.mac, fleet[0].mac);
    EXPECT_EQ(now.mask, "255.255.0.0");
    EXPECT_FALSE(camsim::findCamera(fleet[0].ip, nullptr));
}

TEST_F(SimTest, SimpleRecoveryResetsAccountAndPorts) {
    KVX_NET_Startup();
    MessageSink sink;
    const int h = loginLive(0, sink);
    KvxAgreementProperty port{};
    port.enable = 1;
    port.protocol = KVX_AGREEMENT_HTTP;
    port.port = 8080;
    ASSERT_NE(KVX_NET_SetAgreementProperty(h, 0, &port, 1), 0);
    KvxUserConfig user{};
    std::snprintf(user.user, sizeof user.user, "operator");
    std::snprintf(user.password, sizeof user.password, "secret");
    ASSERT_NE(KVX_NET_UserConfig(h, &user, 0), 0);
    camsim::CameraProfile now;
    camsim::findCamera(fleet[0].mac, &now);
    EXPECT_EQ(now.httpPort, 8080);
    EXPECT_EQ(now.user, "operator");
    KvxRestoreInfo restore{};
    ASSERT_NE(KVX_NET_RestoreDefaultNew(h, &restore), 0);
    camsim::findCamera(fleet[0].mac, &now);
    EXPECT_EQ(now.user, "mivel");
    EXPECT_EQ(now.password, "mivel");
    EXPECT_EQ(now.httpPort, 80);
    EXPECT_EQ(now.rtspPort, 554);
    EXPECT_TRUE(waitUntil([&] { return camsim::findCamera(fleet[0].mac, &now) && !now.online; }));
    EXPECT_TRUE(waitUntil([&] { return camsim::findCamera(fleet[0].mac, &now) && now.online; }));
}

TEST_F(SimTest, UpgradeReportsProgressThenTheOutcome) {
    KVX_NET_Startup();
    QTemporaryDir dir;
    const QString path = dir.filePath("firmware.bin");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PKG-1.0");
    f.close();
    MessageSink sink;
    const int h = loginLive(0, sink);
    KvxUpgradeFileProperty prop{};
    EXPECT_EQ(KVX_NET_GetUpgradeFileProperty(h, &prop), KVX_UPGRADE_PACKAGE_REJECTED);
    std::memcpy(prop.header, "PKG", 3);
    EXPECT_NE(KVX_NET_GetUpgradeFileProperty(h, &prop), KVX_UPGRADE_PACKAGE_REJECTED);
    EXPECT_EQ(KVX_NET_Upgrade(h, "/no/such/file"), -1);
    ASSERT_EQ(KVX_NET_Upgrade(h, path.toLocal8Bit().constData()), 0);
    ASSERT_TRUE(sink.waitMessage(h, KVX_MSG_UPGRADE_DONE));
    std::vector<int> progress;
    for (const auto& m : sink.messages()) {
        if (m.message == KVX_MSG_UPGRADE_PROGRESS) {
            EXPECT_TRUE(m.hadParam);
            progress.push_back(m.param);
        }
    }
    EXPECT_EQ(progress, (std::vector<int>{0, 20, 40, 60, 80}));

    camsim::inject({"*", "KVX_NET_Upgrade:result", true, false, 0, -1});
    MessageSink second;
    const int h2 = loginLive(1, second);
    ASSERT_EQ(KVX_NET_Upgrade(h2, path.toLocal8Bit().constData()), 0);
    EXPECT_TRUE(second.waitMessage(h2, KVX_MSG_UPGRADE_FAILED));
}

TEST_F(SimTest, InjectionPerCameraAndCall) {
    KVX_NET_Startup();
    MessageSink sink;
    const int h0 = loginLive(0, sink);
    const int h1 = loginLive(1, sink);
    camsim::inject({fleet[0].mac, "KVX_NET_GetOSD2", true, false, 0, 1});
    camsim::inject({fleet[1].mac, "KVX_NET_GetCpldData", false, false, 3000, 1});
    KvxOsdInfo osd{};
    EXPECT_EQ(KVX_NET_GetOSD2(h0, 0, &osd), 0);
    EXPECT_NE(KVX_NET_GetOSD2(h0, 0, &osd), 0); // only once
    EXPECT_NE(KVX_NET_GetOSD2(h1, 0, &osd), 0); // other camera untouched
    KvxCpldData cpld{};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(KVX_NET_GetCpldData(h1, &cpld), 0);
    const auto realMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count();
    EXPECT_GE(realMs, 25); // 3000 program ms at scale 0.01
}

// Recording can be switched off for large fleets; a reset switches it on again.
TEST_F(SimTest, CallRecordingCanBeSwitchedOffUntilReset) {
    KVX_NET_Startup();
    camsim::clearCallLog();
    camsim::setCallRecording(false);
    MessageSink sink;
    KvxLoginInfo info = loginRecord(fleet[0], &sink);
    EXPECT_GT(KVX_NET_Login(&info), 0);
    EXPECT_TRUE(camsim::callLog().empty());
    camsim::resetWorld();
    KVX_NET_Startup();
    EXPECT_GT(KVX_NET_Login(&info), 0);
    EXPECT_EQ(camsim::calls("KVX_NET_Login").size(), 1u);
    KVX_NET_Cleanup(); // while the sink lives: the login's message may still be on its way
}
