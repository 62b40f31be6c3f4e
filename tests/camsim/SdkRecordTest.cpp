// Parameter records as bytes: defaults, set then get, the call log, reboot decisions.
#include "SimTestSupport.h"

using namespace simtest;

TEST_F(SimTest, GetReturnsWhatTheLastSetStored) {
    KVX_NET_Startup();
    MessageSink sink;
    const int h = loginLive(0, sink);
    KvxDdnsInfo ddns{};
    ASSERT_NE(KVX_NET_GetDDNS2(h, 0, &ddns), 0);
    ddns.enable = 1;
    std::snprintf(ddns.domain, sizeof ddns.domain, "cam.example");
    ASSERT_NE(KVX_NET_SetDDNS2(h, 0, &ddns), 0);
    KvxDdnsInfo back{};
    ASSERT_NE(KVX_NET_GetDDNS2(h, 0, &back), 0);
    EXPECT_EQ(std::memcmp(&ddns, &back, sizeof ddns), 0);

    KvxOsdInfo osd{};
    ASSERT_NE(KVX_NET_GetOSD2(h, 0, &osd), 0);
    std::snprintf(osd.text, sizeof osd.text, "Gate 4");
    ASSERT_NE(KVX_NET_SetOSD2(h, 0, &osd), 0);
    camsim::CameraProfile now;
    camsim::findCamera(fleet[0].mac, &now);
    EXPECT_EQ(now.name, "Gate 4");

    // The SDK touches 212 bytes of the time record; the caller's last byte stays.
    KvxTimeParam time;
    std::memset(&time, 0xAB, sizeof time);
    ASSERT_NE(KVX_NET_GetTimeParam(h, &time), 0);
    EXPECT_GE(time.year, 2024);
    EXPECT_EQ(time.reserved212, 0xAB);

    KvxStorageInfo storage{};
    int length = 0;
    ASSERT_NE(KVX_NET_GetStorageInfo2(h, 0, 1, 255, &storage, 10, &length), 0);
    EXPECT_EQ(length, 16);
    EXPECT_EQ(storage.cardUnavailable, 0);
    EXPECT_EQ(storage.totalCapacity, fleet[0].sdTotal);

    KvxCpldData cpld{};
    ASSERT_NE(KVX_NET_GetCpldData(h, &cpld), 0);
    cpld.tenZoom = KVX_CPLD_TEN_ZOOM_ON;
    int wrong = 100;
    EXPECT_EQ(KVX_NET_SetCpldData(h, &cpld, &wrong), 0);
    int len = 4096;
    ASSERT_NE(KVX_NET_SetCpldData(h, &cpld, &len), 0);
    const auto stored = camsim::paramBytes(fleet[0].mac, "cpld");
    ASSERT_EQ(stored.size(), 4096u);
    EXPECT_EQ(stored[144], 0x01);
    EXPECT_EQ(stored[146], 0x06);
    EXPECT_EQ(stored[147], 0x01);
}

TEST_F(SimTest, CallLogKeepsArgumentsAndBytes) {
    KVX_NET_Startup();
    KVX_NET_SetWaitTime(2, -1, 2);
    MessageSink sink;
    const int h = loginLive(0, sink);
    KvxStorageInfo storage{};
    int length = 0;
    KVX_NET_GetStorageInfo2(h, 0, 1, 255, &storage, 10, &length);
    KvxRestoreInfo restore{};
    restore.full = 1;
    KVX_NET_RestoreDefaultNew(h, &restore);

    const auto wait = camsim::calls("KVX_NET_SetWaitTime");
    ASSERT_EQ(wait.size(), 1u);
    EXPECT_EQ(wait[0].args, (std::vector<long long>{2, -1, 2}));
    const auto login = camsim::calls("KVX_NET_Login");
    ASSERT_EQ(login.size(), 1u);
    EXPECT_EQ(login[0].text, fleet[0].ip);
    EXPECT_EQ(login[0].result, h);
    EXPECT_EQ(login[0].camera, fleet[0].mac);
    ASSERT_EQ(login[0].in.size(), 216u);
    EXPECT_EQ(login[0].in[206], 1);
    const auto st = camsim::calls("KVX_NET_GetStorageInfo2");
    ASSERT_EQ(st.size(), 1u);
    EXPECT_EQ(st[0].args, (std::vector<long long>{h, 0, 1, 255, 10}));
    const auto rs = camsim::calls("KVX_NET_RestoreDefaultNew");
    ASSERT_EQ(rs.size(), 1u);
    ASSERT_EQ(rs[0].in.size(), 256u);
    EXPECT_EQ(rs[0].in[1], 1);
    EXPECT_EQ(rs[0].result, 1);
    const auto all = camsim::callLog();
    for (std::size_t i = 1; i < all.size(); ++i)
        EXPECT_LT(all[i - 1].seq, all[i].seq);
}

TEST_F(SimTest, VideoAndImageChangesRebootOnlyWhenNamed) {
    // A reboot keeps the camera offline for 1 s of real time: a busy machine's polling still sees it.
    auto cameras = camsim::defaultFleet(2);
    cameras[0].rebootMs = 100000;
    camsim::useFleet(cameras);
    fleet = camsim::fleet();
    KVX_NET_Startup();
    MessageSink sink;
    const int h = loginLive(0, sink);
    camsim::CameraProfile now;
    // A reboot begins 5 ms (the grace at this scale) after the call that causes it.
    auto offlineWithin = [&](int ms) {
        return waitUntil([&] { return camsim::findCamera(fleet[0].mac, &now) && !now.online; }, ms);
    };
    KvxEncodingPropertyPro enc{};
    ASSERT_NE(KVX_NET_GetEncodingPropertyPro(h, &enc, 3, nullptr), 0);
    EXPECT_EQ(enc.mainStream.width, 1920);
    enc.mainStream.width = 1280; // 1920 -> 1280: no reboot
    enc.mainStream.height = 720;
    ASSERT_NE(KVX_NET_SetEncodingPropertyPro(h, &enc), 0);
    KvxVideoParam video{};
    ASSERT_NE(KVX_NET_ClientGetVideoParam2(h, 0, &video), 0);
    video.luminance = 80; // flicker unchanged: no reboot
    ASSERT_NE(KVX_NET_ClientSetVideoParam2(h, 0, &video), 0);
    EXPECT_FALSE(offlineWithin(300));
    enc.mainStream.width = 2304; // into 2304x1296: reboot
    enc.mainStream.height = 1296;
    ASSERT_NE(KVX_NET_SetEncodingPropertyPro(h, &enc), 0);
    EXPECT_TRUE(offlineWithin(3000));
}

TEST_F(SimTest, PtzAudioAndTalkFollowTheStream) {
    KVX_NET_Startup();
    MessageSink sink;
    const int h = loginLive(0, sink);
    KvxLoginInfo info = loginRecord(fleet[0], &sink);
    info.stream = 1;
    const int stream = KVX_NET_ClientStart(h, &info, 0);
    ASSERT_GT(stream, 0);
    KvxPtzCommand up{1, 10, 0};
    EXPECT_NE(KVX_NET_PTZCtrl(h, &up), 0);
    const auto ptz = camsim::calls("KVX_NET_PTZCtrl");
    ASSERT_EQ(ptz.size(), 1u);
    EXPECT_EQ(ptz[0].in, (std::vector<std::uint8_t>{1, 10, 0}));
    EXPECT_NE(KVX_NET_ClientPlayAudio(stream), 0);
    EXPECT_NE(KVX_NET_ClientStartTalk2(stream, 0, 17), 0);
    EXPECT_EQ(camsim::calls("KVX_NET_ClientStartTalk2").at(0).args, (std::vector<long long>{stream, 0, 17}));
    EXPECT_NE(KVX_NET_ClientStopAudio(stream), 0);
    EXPECT_NE(KVX_NET_ClientStopTalk(stream), 0);
    KvxVideoCover cover{};
    ASSERT_NE(KVX_NET_ClientGetVideoCover(stream, &cover), 0);
    cover.areas[0] = {19, 16, 59, 50};
    ASSERT_NE(KVX_NET_ClientSetVideoCover(stream, &cover), 0);
    KvxVideoCover back{};
    ASSERT_NE(KVX_NET_ClientGetVideoCover(stream, &back), 0);
    EXPECT_EQ(back.areas[0].right, 59);
    EXPECT_NE(KVX_NET_ClientStop(stream), 0);
    EXPECT_EQ(KVX_NET_ClientPlayAudio(stream), 0); // stopped stream
    EXPECT_EQ(KVX_NET_ClientStopTalk(-1), 0);
    KVX_NET_Logout(h);
    EXPECT_EQ(KVX_NET_PTZCtrl(h, &up), 0);
}
