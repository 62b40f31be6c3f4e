// Time sync, reboot, recoveries, OSD, SD card and ten-times zoom against the simulated fleet:
// notification texts, the bytes sent, and the result tables.
#include "BatchTestSupport.h"

#include "harness/LogCapture.h"
#include "ozmlogic/ParamsMgr.h"

#include <QTextCodec>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

using namespace batchtest;

namespace {

// The parameter store of this process lives in a temporary folder.
const auto* const storeEnvironment = harness::addProgramTestDir();

std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b.at(at) | (b.at(at + 1) << 8);
}

std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b.at(at)) | (std::uint32_t(b.at(at + 1)) << 8) |
           (std::uint32_t(b.at(at + 2)) << 16) | (std::uint32_t(b.at(at + 3)) << 24);
}

// Year, month, day, hour, minute, second.
using ClockFields = std::array<int, 6>;

// The PC's local clock at t, from the C library in the process's zone (TZ).
ClockFields localFields(std::time_t t) {
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

ClockFields timeOf(const std::vector<std::uint8_t>& b) {
    return {u16(b, 0), b.at(2), b.at(3), b.at(4), b.at(5), b.at(6)};
}

std::string show(const ClockFields& f) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", f[0], f[1], f[2], f[3], f[4], f[5]);
    return text;
}

} // namespace

TEST_F(BatchTest, TimeSyncWritesOneClockSnapshot) {
    ASSERT_NO_FATAL_FAILURE(loginFleet({2}));
    camsim::inject({fleet[1].mac, "KVX_NET_SetTimeParam", true, false, 0, -1});
    TableCloser closer;
    const std::time_t before = std::time(nullptr);
    engine->batchSyncTime(rows({0, 1, 2}));
    const std::time_t after = std::time(nullptr);
    // CTest runs this away from UTC; a zone without its data would fall back to UTC unnoticed.
    const char* zone = std::getenv("TZ");
    if (zone && std::strcmp(zone, "UTC") != 0) {
        std::tm tm{};
        localtime_r(&before, &tm);
        EXPECT_NE(tm.tm_gmtoff, 0) << "no zone data for TZ=" << zone;
    }

    const auto sets = callsTo("KVX_NET_SetTimeParam", 0);
    ASSERT_EQ(sets.size(), 1u);
    const auto& bytes = sets[0].in;
    ASSERT_GE(bytes.size(), 8u);
    // The PC's local date and time, not the UTC clock.
    const ClockFields sent = timeOf(bytes);
    EXPECT_TRUE(sent >= localFields(before) && sent <= localFields(after))
        << show(sent) << " not within local " << show(localFields(before)) << " .. "
        << show(localFields(after));
    EXPECT_EQ(bytes[7], 1);
    EXPECT_EQ(texts(2, 0), QStringList{"Set SyncTime Success"});
    EXPECT_EQ(texts(2, 1), QStringList{"Set SyncTime Failed"});
    EXPECT_TRUE(texts(2, 2).isEmpty()); // not logged in: nothing sent
    EXPECT_TRUE(callsTo("KVX_NET_GetTimeParam", 2).empty());

    ASSERT_EQ(closer.tables.size(), 1u);
    const ShownTable& table = closer.tables[0];
    EXPECT_EQ(table.size, QSize(354, 239));
    EXPECT_EQ(table.headers, QStringList({"IP", "Set SyncTime"}));
    ASSERT_EQ(table.rows.size(), 3);
    EXPECT_EQ(table.rows[0], QStringList({QString::fromStdString(fleet[0].ip), "Success"}));
    EXPECT_EQ(table.rows[1][1], "Failed");
    EXPECT_EQ(table.rows[2][1], "Receive Timeout");
    EXPECT_EQ(table.devices, "3");
    EXPECT_EQ(table.failed, "2");
}

TEST_F(BatchTest, TimeSyncFailedReadWritesNothing) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    camsim::inject({fleet[0].mac, "KVX_NET_GetTimeParam", true, false, 0, -1});
    TableCloser closer;
    engine->batchSyncTime(rows({0}));
    EXPECT_TRUE(callsTo("KVX_NET_SetTimeParam", 0).empty());
    EXPECT_TRUE(texts(2, 0).isEmpty());
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].rows.at(0)[1], "Receive Timeout");
}

TEST_F(BatchTest, TimeSyncSkipsDeviceMissingFromSearchInfo) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    engine->removeSearchInfo(fleet[1].mac);
    harness::LogCapture log;
    TableCloser closer;
    engine->batchSyncTime(rows({0, 1}));
    EXPECT_TRUE(log.contains("DeviceManager::batchSyncTime", "cannot findSearchInfo, mac:" + fleet[1].mac));
    ASSERT_EQ(closer.tables.size(), 1u);
    ASSERT_EQ(closer.tables[0].rows.size(), 1);
    EXPECT_EQ(closer.tables[0].rows[0][0], QString::fromStdString(fleet[0].ip));
}

TEST_F(BatchTest, RebootSuccessFailureAndNoLogin) {
    ASSERT_NO_FATAL_FAILURE(loginFleet({2}));
    camsim::inject({fleet[1].mac, "KVX_NET_Reboot", true, false, 0, -1});
    EXPECT_EQ(engine->rebootDevices(QStringList()), -1);
    for (std::size_t i : {0, 1, 2})
        EXPECT_EQ(engine->rebootDevices(row(i)), 0);
    EXPECT_EQ(texts(11, 0), QStringList{"Reboot Success"});
    EXPECT_EQ(texts(11, 1), QStringList{"Reboot Failed"});
    EXPECT_EQ(texts(11, 2), QStringList{"Reboot Failed"});
    EXPECT_EQ(callsTo("KVX_NET_Reboot", 0).size(), 1u);
    EXPECT_TRUE(callsTo("KVX_NET_Reboot", 2).empty());
    EXPECT_EQ(engine->pendingRelogins(), 1); // only the rebooted device logs in again
}

TEST_F(BatchTest, SimpleRecoveryResetsAccountAndPorts) {
    ASSERT_NO_FATAL_FAILURE(loginFleet({2}));
    camsim::inject({fleet[1].mac, "KVX_NET_RestoreDefaultNew", true, false, 0, -1});
    EXPECT_EQ(engine->simpleRecoveryDevices(QStringList()), -1);
    for (std::size_t i : {0, 1, 2})
        engine->simpleRecoveryDevices(row(i));

    const auto restores = callsTo("KVX_NET_RestoreDefaultNew", 0);
    ASSERT_EQ(restores.size(), 1u);
    ASSERT_EQ(restores[0].in.size(), 256u);
    EXPECT_EQ(restores[0].in[1], 0); // simple
    const auto all = notes->all();
    QStringList sequence;
    for (const auto& note : all)
        if (!note.texts.isEmpty() && note.texts[0] == mac(0))
            sequence << QString::number(note.code) + ":" + note.texts.mid(1).join("|");
    EXPECT_EQ(sequence, QStringList({"13:SimpleRecovery Success", "9:80|554", "14:mivel|mivel"}));
    const auto info = engine->findSearchInfo(fleet[0].mac);
    ASSERT_TRUE(info);
    EXPECT_STREQ(info->user, "mivel");
    EXPECT_STREQ(info->password, "mivel");
    EXPECT_EQ(info->httpPort, 80u);
    EXPECT_EQ(engine->pendingRelogins(), 1);

    EXPECT_EQ(texts(13, 1), QStringList{"SimpleRecovery Failed"});
    EXPECT_TRUE(notes->with(9, mac(1)).empty());
    EXPECT_TRUE(notes->with(13, mac(2)).empty()); // not logged in: no message at all
    EXPECT_TRUE(callsTo("KVX_NET_RestoreDefaultNew", 2).empty());
}

TEST_F(BatchTest, FullRecoveryRunsOnTheWorker) {
    ASSERT_NO_FATAL_FAILURE(loginFleet({2}));
    camsim::inject({fleet[1].mac, "KVX_NET_RestoreDefaultNew", true, false, 0, -1});
    EXPECT_EQ(engine->fullRecoveryDevices(QStringList()), -1);
    for (std::size_t i : {0, 1, 2})
        EXPECT_EQ(engine->fullRecoveryDevices(row(i)), 0);
    ASSERT_TRUE(enginetest::waitFor([&] { return notes->with(12).size() == 3; }));
    EXPECT_EQ(texts(12, 0), QStringList{"Full Recovery Success"});
    EXPECT_EQ(texts(12, 1), QStringList{"Full Recovery Failed"});
    EXPECT_EQ(texts(12, 2), QStringList{"Full Recovery Failed"});
    const auto restores = callsTo("KVX_NET_RestoreDefaultNew", 0);
    ASSERT_EQ(restores.size(), 1u);
    EXPECT_EQ(restores[0].in.at(1), 1); // full
    EXPECT_EQ(engine->pendingRelogins(), 0);
}

TEST_F(BatchTest, OsdWritesStoredRecordAndName) {
    ASSERT_NO_FATAL_FAILURE(loginFleet({2}));
    OZM::_SC_SETOSD_DATA_ osd;
    std::memset(&osd, 0, sizeof osd);
    osd.showTime = 0; // the two flags differ: each goes to its own byte
    osd.showText = 1;
    osd.dateFormat = 2;
    osd.position = 1;
    const QByteArray name = QTextCodec::codecForName("GBK")->fromUnicode(QString::fromUtf8("前门 Cam"));
    std::memcpy(osd.text, name.constData(), name.size());
    ozmParamsMgr()->setOsdInfo(&osd);
    camsim::inject({fleet[1].mac, "KVX_NET_SetOSD2", true, false, 0, -1});

    TableCloser closer;
    engine->batchModifyOSD(rows({0, 1, 2}));
    const auto sets = callsTo("KVX_NET_SetOSD2", 0);
    ASSERT_EQ(sets.size(), 1u);
    const auto& bytes = sets[0].in;
    ASSERT_EQ(bytes.size(), 213u);
    EXPECT_EQ(bytes[8], 1);  // position
    EXPECT_EQ(bytes[9], 0);  // show time
    EXPECT_EQ(bytes[10], 2); // date format
    EXPECT_EQ(bytes[11], 1); // show text
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&bytes[12])), name);
    const auto kept = camsim::paramBytes(fleet[0].mac, "osd");
    ASSERT_EQ(kept.size(), 213u);
    EXPECT_EQ(std::vector<std::uint8_t>(kept.begin() + 8, kept.begin() + 12),
              (std::vector<std::uint8_t>{1, 0, 2, 1}))
        << "the camera keeps position, show time, date format and show text";
    EXPECT_EQ(texts(2, 0), QStringList{"Set OSD Success"});
    EXPECT_EQ(texts(1, 0), QStringList{QString::fromUtf8("前门 Cam")});
    EXPECT_EQ(texts(2, 1), QStringList{"Set OSD Failed"});
    EXPECT_TRUE(notes->with(1, mac(1)).empty());
    EXPECT_TRUE(notes->with(2, mac(2)).empty());

    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].headers, QStringList({"IP", "Set OSD"}));
    EXPECT_EQ(closer.tables[0].size, QSize(354, 239));
    ASSERT_EQ(closer.tables[0].rows.size(), 3);
    EXPECT_EQ(closer.tables[0].rows[0][1], "Success");
    EXPECT_EQ(closer.tables[0].rows[1][1], "Failed");
    EXPECT_EQ(closer.tables[0].rows[2][1], "Receive Timeout");
    EXPECT_EQ(closer.tables[0].failed, "2");
}

TEST_F(BatchTest, OsdTextWithoutTerminatorStaysInItsField) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    OZM::_SC_SETOSD_DATA_ osd;
    std::memset(&osd, 0, sizeof osd);
    std::memset(osd.text, 'x', sizeof osd.text); // 200 bytes, no terminator
    ozmParamsMgr()->setOsdInfo(&osd);
    TableCloser closer;
    engine->batchModifyOSD(rows({0}));
    const auto sets = callsTo("KVX_NET_SetOSD2", 0);
    ASSERT_EQ(sets.size(), 1u);
    const auto& bytes = sets[0].in;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[12]), 200), std::string(200, 'x'));
    EXPECT_EQ(bytes[212], 0);
    EXPECT_EQ(texts(1, 0), QStringList{QString(200, 'x')});
}

TEST_F(BatchTest, SdCardCheckFieldsAndTable) {
    std::vector<camsim::CameraProfile> cameras = camsim::defaultFleet(4);
    cameras[0].sdTotal = 1000;
    cameras[0].sdFree = 200;
    cameras[1].sdCardPresent = false;
    camsim::useFleet(cameras);
    fleet = camsim::fleet();
    ASSERT_NO_FATAL_FAILURE(loginFleet({3}));
    camsim::inject({fleet[2].mac, "KVX_NET_GetStorageInfo2", true, false, 0, -1});
    TableCloser closer;
    engine->checkSDCard(rows({0, 1, 2, 3}));

    const auto reads = callsTo("KVX_NET_GetStorageInfo2", 0);
    ASSERT_EQ(reads.size(), 1u);
    ASSERT_GE(reads[0].args.size(), 5u);
    EXPECT_EQ(reads[0].args[1], 0);
    EXPECT_EQ(reads[0].args[2], 1);
    EXPECT_EQ(reads[0].args[3], 255);
    EXPECT_EQ(reads[0].args[4], 10);
    ASSERT_EQ(reads[0].out.size(), 16u);
    EXPECT_EQ(u32(reads[0].out, 4), 1000u);
    EXPECT_EQ(u32(reads[0].out, 8), 200u);
    EXPECT_TRUE(callsTo("KVX_NET_GetStorageInfo2", 3).empty());

    ASSERT_EQ(closer.tables.size(), 1u);
    const ShownTable& table = closer.tables[0];
    EXPECT_EQ(table.size, QSize(400, 239));
    EXPECT_EQ(table.headers, QStringList({"IP", "check SD card"}));
    ASSERT_EQ(table.rows.size(), 4);
    EXPECT_EQ(table.rows[0][1], "SD total capacity : 1000 | SD surplus capacity : 200");
    EXPECT_EQ(table.rows[1][1], "SD card unavailable");
    EXPECT_EQ(table.rows[2][1], "Failed");
    EXPECT_EQ(table.rows[3][1], "Receive Timeout");
    EXPECT_EQ(table.devices, "4");
    EXPECT_EQ(table.failed, "3");
}

TEST_F(BatchTest, TenZoomSetsTheCpldWord) {
    ASSERT_NO_FATAL_FAILURE(loginFleet({2}));
    camsim::inject({fleet[1].mac, "KVX_NET_SetCpldData", true, false, 0, -1});
    // The camera that is not logged in comes first: it is passed over, the batch goes on.
    engine->batchTenZoom(rows({2, 0, 1}));
    const auto sets = callsTo("KVX_NET_SetCpldData", 0);
    ASSERT_EQ(sets.size(), 1u);
    const auto& bytes = sets[0].in;
    ASSERT_EQ(bytes.size(), 4096u);
    EXPECT_EQ(bytes[144], 0x01);
    EXPECT_EQ(bytes[145], 0x00);
    EXPECT_EQ(bytes[146], 0x06);
    EXPECT_EQ(bytes[147], 0x01);
    EXPECT_EQ(texts(2, 0), QStringList{"Set Ten Zoom Success!"});
    EXPECT_EQ(texts(2, 1), QStringList{"Set Ten Zoom Failed!"});
    EXPECT_TRUE(notes->with(2, mac(2)).empty());
    EXPECT_TRUE(callsTo("KVX_NET_GetCpldData", 2).empty());
}

TEST_F(BatchTest, TenZoomFailedReadWritesNothing) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    camsim::inject({fleet[0].mac, "KVX_NET_GetCpldData", true, false, 0, -1});
    harness::LogCapture log;
    engine->batchTenZoom(rows({0, 1}));
    EXPECT_EQ(texts(2, 0), QStringList{"Get CpldData Failed!"});
    EXPECT_TRUE(callsTo("KVX_NET_SetCpldData", 0).empty());
    EXPECT_TRUE(log.contains("DeviceManager::batchTenZoom", "KVX_NET_GetCpldData Failed, ip:" + fleet[0].ip));
    EXPECT_TRUE(log.contains("[Line:"));
    EXPECT_EQ(texts(2, 1), QStringList{"Set Ten Zoom Success!"});
}

TEST_F(BatchTest, UnknownRowsProduceNothing) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    QStringList stranger = row(0);
    stranger[8] = "00:00:00:00:00:00";
    TableCloser closer;
    engine->batchSyncTime({stranger});
    engine->checkSDCard({stranger});
    engine->batchTenZoom({stranger});
    engine->rebootDevices(stranger);
    ASSERT_EQ(closer.tables.size(), 2u);
    EXPECT_TRUE(closer.tables[0].rows.isEmpty());
    EXPECT_EQ(closer.tables[0].devices, "0");
    EXPECT_TRUE(closer.tables[1].rows.isEmpty());
    EXPECT_TRUE(notes->all().empty());
    EXPECT_TRUE(camsim::callLog().empty());
}

TEST_F(BatchTest, RebootAndSimpleRecoveryLogInAgainTwentySecondsLater) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    engine->rebootDevices(row(0));
    engine->simpleRecoveryDevices(row(1));
    const std::uint64_t start = GetTickCount();
    ASSERT_TRUE(enginetest::waitFor(
        [&] { return !notes->with(10, mac(0)).empty() && !notes->with(10, mac(1)).empty(); }, 10000));
    for (std::size_t i : {0, 1}) {
        const auto results = notes->with(10, mac(i));
        EXPECT_EQ(results[0].texts.value(1), "Login Successful") << i;
        EXPECT_GE(results[0].tick - start, 20000u) << i;
        EXPECT_EQ(texts(2, i).value(0), "Logging in...") << i;
    }
    // The recovered camera was logged in again with the default account.
    const auto logins = callsTo("KVX_NET_Login", 1);
    ASSERT_FALSE(logins.empty());
    const auto& login = logins.back().in;
    ASSERT_GE(login.size(), 200u);
    EXPECT_STREQ(reinterpret_cast<const char*>(&login[136]), "mivel");
    EXPECT_STREQ(reinterpret_cast<const char*>(&login[168]), "mivel");
    EXPECT_EQ(u32(login, 128), 80u);
}
