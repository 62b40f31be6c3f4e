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
    camsim::CameraSpec now;
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
    KVX_NET_Startup();
    MessageSink sink;
    const int h = loginLive(0, sink);
    camsim::CameraSpec now;
    auto offlineSoon = [&] {
        return waitUntil([&] { return camsim::findCamera(fleet[0].mac, &now) && !now.online; }, 100);
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
    EXPECT_FALSE(offlineSoon());
    enc.mainStream.width = 2304; // into 2304x1296: reboot
    enc.mainStream.height = 1296;
    ASSERT_NE(KVX_NET_SetEncodingPropertyPro(h, &enc), 0);
    EXPECT_TRUE(offlineSoon());
}
