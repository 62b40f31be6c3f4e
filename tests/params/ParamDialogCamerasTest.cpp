// From the dialog to the cameras: every page edited and saved, then the other-parameter run over
// four simulated cameras with every family enabled, and each typed value read back from the
// records the cameras hold afterwards.
#include "../batches/BatchTestSupport.h"
#include "ParamDialogPageEdits.h"
#include "ParamDialogTestSupport.h"
#include "harness/Slowdown.h"

#include "kvxnet/KvxSdkRecords.h"

#include <cstring>
#include <map>

using namespace paramtest;

namespace {

// A camera's stored record of a family, in the SDK's layout.
template <typename R> R cameraRecord(const std::string& mac, const char* family) {
    const std::vector<std::uint8_t> bytes = camsim::paramBytes(mac, family);
    R record;
    std::memset(&record, 0, sizeof record);
    EXPECT_GE(bytes.size() + 1, sizeof record) << family;
    std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
    return record;
}

template <std::size_t N> std::string text(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

class ParamDialogCamerasTest : public batchtest::BatchTest {
protected:
    static void SetUpTestSuite() { storeFolder(); }
    void SetUp() override {
        BatchTest::SetUp();
        winport::setTimeScale(0.01 * harness::kSlowdown);
        camsim::useFleet(camsim::defaultFleet(4));
        fleet = camsim::fleet();
        oldPath = qgetenv("PATH");
        qputenv("PATH", qgetenv("CORVANE_BIN_DIR") + "/simping:" + oldPath);
        storeValidNetworkRecords();
        OZM::_SC_SETTIME_DATA_ time{};
        time.ntpInterval = 60;
        ozmParamsMgr()->setTimeInfo(&time);
        // The run's limit is then four times 360 s: under the time scale the unscaled pings of
        // the restart waits would outlast the default 360 s.
        ozmParamsMgr()->setWaitInfo(86400);
    }
    void TearDown() override {
        engine.reset();
        qputenv("PATH", oldPath);
        BatchTest::TearDown();
    }

    QByteArray oldPath;
};

TEST_F(ParamDialogCamerasTest, EveryTypedValueReachesFourCameras) {
    ASSERT_NO_FATAL_FAILURE(editSaveAndReopenEveryPage());

    ASSERT_NO_FATAL_FAILURE(loginFleet());
    frametest::RunCloser closer(60000);
    ASSERT_EQ(0, engine->startOtherParamConfig(rows({0, 1, 2, 3})));
    ASSERT_FALSE(closer.stuck);
    ASSERT_EQ(1u, closer.tables.size());
    const frametest::ShownTable& table = closer.tables[0];
    ASSERT_TRUE(enginetest::waitFor([&] { return engine->otherParamThreads() == 0; }, 20000));

    EXPECT_EQ(
        table.headers,
        (QStringList{"IP", "Setting DDNS", "Setting P2P", "Setting GB28181", "Setting Video", "Setting Audio",
                     "Setting OSD", "Setting Image", "Setting Privacy Mask", "Setting Motion Detect",
                     "Setting Account Manage", "Setting Time", "Setting Regular Maintain",
                     "Setting The Audio Board In", "Setting TCP/IP", "Setting Port"}));
    ASSERT_EQ(4, table.rows.size());

    using namespace typed;
    // What each family's typed value became on camera i.
    const std::map<int, std::function<void(const std::string&, std::size_t)>> onCamera = {
        {OZM::FamilyTcpIp,
         [&](const std::string& mac, std::size_t i) {
             // Handed out from the start address in row order (none of them answers a ping).
             const std::string ip = "127.0.0." + std::to_string(21 + i);
             camsim::CameraProfile now;
             ASSERT_TRUE(camsim::findCamera(mac, &now));
             EXPECT_EQ(ip, now.ip);
             EXPECT_EQ("255.0.0.0", now.mask);
             EXPECT_EQ("127.0.0.53", now.dns);
             EXPECT_EQ(1, now.fullNetcom);
             EXPECT_STREQ(ip.c_str(), engine->findSearchInfo(mac)->ip);
         }},
        {OZM::FamilyPort,
         [&](const std::string& mac, std::size_t) {
             camsim::CameraProfile now;
             ASSERT_TRUE(camsim::findCamera(mac, &now));
             EXPECT_EQ(kHttpPort, now.httpPort);
             EXPECT_EQ(8554, now.rtspPort);
             EXPECT_EQ(8443, now.httpsPort);
             EXPECT_EQ(8999, now.onvifPort);
             EXPECT_EQ(std::uint32_t(kHttpPort), engine->findSearchInfo(mac)->httpPort);
         }},
        {OZM::FamilyDdns,
         [](const std::string& mac, std::size_t) {
             const auto r = cameraRecord<KvxDdnsInfo>(mac, "ddns");
             EXPECT_EQ(1, r.enable);
             EXPECT_EQ(2, r.provider);
             EXPECT_EQ(kDomain, text(r.domain));
             EXPECT_EQ("operator", text(r.user));
             EXPECT_EQ("Secret42", text(r.password));
         }},
        {OZM::FamilyP2p, [](const std::string& mac,
                            std::size_t) { EXPECT_EQ(1, cameraRecord<KvxP2pInfo>(mac, "p2p").enable); }},
        {OZM::FamilyGb28181,
         [](const std::string& mac, std::size_t) {
             const auto r = cameraRecord<KvxGb28181Params>(mac, "gb28181");
             EXPECT_EQ(kGbLocalPort, r.localSipPort);
             EXPECT_EQ(1, r.enable);
             EXPECT_EQ("127.0.0.9", text(r.serverAddress));
             EXPECT_EQ(15060, r.serverPort);
             EXPECT_EQ("gbpass", text(r.password));
         }},
        {OZM::FamilyVideo,
         [](const std::string& mac, std::size_t) {
             EXPECT_EQ(kMainBitrate, cameraRecord<KvxEncodingPropertyPro>(mac, "encPro").mainStream.bitrate);
         }},
        {OZM::FamilyAudio,
         [](const std::string& mac, std::size_t) {
             EXPECT_EQ(kOutputVolume, cameraRecord<KvxAudioInfo>(mac, "audio").outputVolume);
         }},
        {OZM::FamilyOsd,
         [](const std::string& mac, std::size_t) {
             EXPECT_EQ(kOsdText, text(cameraRecord<KvxOsdInfo>(mac, "osd").text));
             camsim::CameraProfile now;
             ASSERT_TRUE(camsim::findCamera(mac, &now));
             EXPECT_EQ(kOsdText, now.name);
         }},
        {OZM::FamilyImage,
         [](const std::string& mac, std::size_t) {
             EXPECT_EQ(kBrightness, cameraRecord<KvxFillLightSettings>(mac, "fillLight").brightness);
         }},
        {OZM::FamilyPrivacyMask,
         [](const std::string& mac, std::size_t) {
             // x 10, y 10, width 11, height 21 of 507 x 300 pixels, in whole percent.
             const KvxCoverArea a = cameraRecord<KvxVideoCover>(mac, "videoCover").areas[0];
             EXPECT_EQ((std::vector<int>{1, 3, 4, 10}), (std::vector<int>{a.left, a.top, a.right, a.bottom}));
         }},
        {OZM::FamilyMotionDetect,
         [](const std::string& mac, std::size_t) {
             EXPECT_EQ(kSensitivity, cameraRecord<KvxMotionDetectInfo>(mac, "md").sensitivity);
         }},
        {OZM::FamilyAccount,
         [&](const std::string& mac, std::size_t) {
             camsim::CameraProfile now;
             ASSERT_TRUE(camsim::findCamera(mac, &now));
             EXPECT_EQ(kUser, now.user);
             EXPECT_EQ(kPassword, now.password);
             EXPECT_STREQ(kUser, engine->findSearchInfo(mac)->user); // later logins use it
         }},
        {OZM::FamilyTime,
         [](const std::string& mac, std::size_t) {
             const auto r = cameraRecord<KvxTimeParam>(mac, "time");
             EXPECT_EQ(kNtpInterval, (r.ntpFlags >> 2) | (r.ntpInterval << 6));
         }},
        {OZM::FamilyMaintain,
         [](const std::string& mac, std::size_t) {
             const auto r = cameraRecord<KvxRebootExProperty>(mac, "rebootEx");
             EXPECT_EQ((std::vector<int>{1, 1, kRestartHour, kRestartMinute, kRestartWeekday}),
                       (std::vector<int>{r.enable, r.period, r.hour, r.minute, r.weekday}));
         }},
        {OZM::FamilyAudioBoard,
         [](const std::string& mac, std::size_t) {
             EXPECT_EQ(7u, cameraRecord<KvxCpldData>(mac, "cpld").lightBoard) << "hard photosensitive";
         }},
    };
    ASSERT_EQ(std::size_t(OZM::FamilyCount), onCamera.size());

    for (std::size_t i = 0; i < fleet.size(); ++i) {
        SCOPED_TRACE(fleet[i].mac);
        QStringList expected{QString::fromStdString(fleet[i].ip)};
        for (int f = 0; f < OZM::FamilyCount; ++f)
            expected << "Success";
        EXPECT_EQ(expected, table.rows[int(i)]);
        for (const auto& [family, check] : onCamera) {
            SCOPED_TRACE(family);
            check(fleet[i].mac, i);
        }
        EXPECT_TRUE(engine->slotsForMac(fleet[i].mac).at(0).loggedIn())
            << "logged in again at its new address";
    }
}

} // namespace
