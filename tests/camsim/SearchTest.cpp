// LAN search and network-information runs.
#include "SimTestSupport.h"

#include "kvxnet/DscSearch.h"

#include <arpa/inet.h>
#include <atomic>

using namespace simtest;

namespace {

struct SearchSink {
    std::mutex mutex;
    std::condition_variable cv;
    std::vector<DSC_SEARCH_RESPONSE_INFO> found;
    int ends = 0;
    int callsAfterStop = 0;
    std::atomic<bool> stopped{false};
    bool stopInside = false;
    std::thread::id thread;

    static int callback(const DSC_SEARCH_RESPONSE_INFO* record, void* user) {
        auto* self = static_cast<SearchSink*>(user);
        {
            std::lock_guard<std::mutex> lock(self->mutex);
            if (self->stopped)
                ++self->callsAfterStop;
            self->thread = std::this_thread::get_id();
            if (record)
                self->found.push_back(*record);
            else
                ++self->ends;
            self->cv.notify_all();
        }
        if (self->stopInside && record && self->found.size() == 2) {
            KVX_NET_StopSearchDevice();
            self->stopped = true;
        }
        return 0;
    }
    bool waitEnd(int ms = 3000) {
        std::unique_lock<std::mutex> lock(mutex);
        return cv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return ends > 0; });
    }
};

struct ModifySink {
    std::mutex mutex;
    std::condition_variable cv;
    std::vector<DSC_MODIFY_NETINFO_RESPONSE> answers;
    int ends = 0;
    static int callback(const DSC_MODIFY_NETINFO_RESPONSE* record, void* user) {
        auto* self = static_cast<ModifySink*>(user);
        std::lock_guard<std::mutex> lock(self->mutex);
        if (record)
            self->answers.push_back(*record);
        else
            ++self->ends;
        self->cv.notify_all();
        return 0;
    }
    bool waitEnd(int ms = 3000) {
        std::unique_lock<std::mutex> lock(mutex);
        return cv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return ends > 0; });
    }
};

DSC_MODIFY_NETINFO_REQUEST request(const camsim::CameraProfile& c, std::uint32_t mask) {
    DSC_MODIFY_NETINFO_REQUEST r;
    std::memset(&r, 0, sizeof r);
    std::snprintf(r.tag, sizeof r.tag, "%s", DSC_TAG);
    r.type = DSC_TYPE_MODIFY_REQUEST;
    std::snprintf(r.access, sizeof r.access, "Vorn_Kd");
    std::snprintf(r.mac, sizeof r.mac, "%s", c.mac.c_str());
    std::snprintf(r.ip, sizeof r.ip, "%s", c.ip.c_str());
    std::snprintf(r.mac2, sizeof r.mac2, "%s", c.mac.c_str());
    r.changeMask = mask;
    std::snprintf(r.user, sizeof r.user, "%s", c.user.c_str());
    std::snprintf(r.password, sizeof r.password, "%s", c.password.c_str());
    return r;
}

} // namespace

TEST_F(SimTest, SearchAnswersOncePerCameraThenNull) {
    camsim::setOnline(fleet[7].mac, false);
    SearchSink sink;
    ASSERT_EQ(KVX_NET_StartSearchDevice(5, "127.0.0.1", &SearchSink::callback, &sink, 0), 0);
    ASSERT_TRUE(sink.waitEnd());
    EXPECT_EQ(sink.ends, 1);
    ASSERT_EQ(sink.found.size(), 7u);
    EXPECT_NE(sink.thread, std::this_thread::get_id());
    const DSC_SEARCH_RESPONSE_INFO& r = sink.found[0];
    EXPECT_STREQ(r.tag, "searching..");
    EXPECT_EQ(r.type, DSC_TYPE_FOUND);
    EXPECT_STREQ(r.ip, fleet[0].ip.c_str());
    EXPECT_STREQ(r.mac, fleet[0].mac.c_str());
    EXPECT_STREQ(r.deviceType, "IPCAMERA");
    EXPECT_STREQ(r.serial, fleet[0].serial.c_str());
    EXPECT_EQ(ntohl(r.httpPort), 80u); // network byte order as delivered
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&r);
    EXPECT_EQ(bytes[240], 0);
    EXPECT_EQ(bytes[243], 80);
}

TEST_F(SimTest, StopInsideACallbackEndsTheRun) {
    SearchSink sink;
    sink.stopInside = true;
    ASSERT_EQ(KVX_NET_StartSearchDevice(1, "", &SearchSink::callback, &sink, 0), 0);
    EXPECT_FALSE(sink.waitEnd(200));
    EXPECT_EQ(sink.found.size(), 2u);
    EXPECT_EQ(sink.callsAfterStop, 0);
}

TEST_F(SimTest, StopFromAnotherThreadWaitsForARunningCallback) {
    struct Slow {
        std::atomic<int> inside{0};
        std::atomic<int> started{0};
        std::atomic<bool> stopReturned{false};
        std::atomic<int> afterStop{0};
        static int callback(const DSC_SEARCH_RESPONSE_INFO*, void* user) {
            auto* self = static_cast<Slow*>(user);
            if (self->stopReturned)
                ++self->afterStop;
            ++self->started;
            ++self->inside;
            winport::sleepRealMs(30);
            --self->inside;
            return 0;
        }
    } slow;
    ASSERT_EQ(KVX_NET_StartSearchDevice(1, "", &Slow::callback, &slow, 0), 0);
    ASSERT_TRUE(waitUntil([&] { return slow.inside.load() == 1; }));
    KVX_NET_StopSearchDevice();
    EXPECT_EQ(slow.inside.load(), 0); // the running callback finished before Stop returned
    slow.stopReturned = true;
    winport::sleepRealMs(50);
    EXPECT_EQ(slow.afterStop.load(), 0);
    EXPECT_LT(slow.started.load(), 8);
}

TEST_F(SimTest, ModifyRunAnswersPerCameraAndEndsWithNull) {
    camsim::Timing t;
    t.modifyRunEndMs = 1000;
    camsim::setTiming(t);
    ModifySink sink;
    DSC_MODIFY_NETINFO_REQUEST ip = request(fleet[0], DSC_CHANGE_IP | DSC_CHANGE_MASK | DSC_CHANGE_GATEWAY);
    std::snprintf(ip.newIp, sizeof ip.newIp, "127.0.2.10");
    std::snprintf(ip.mask, sizeof ip.mask, "255.255.255.0");
    std::snprintf(ip.gateway, sizeof ip.gateway, "127.0.2.1");
    DSC_MODIFY_NETINFO_REQUEST outside = request(fleet[1], DSC_CHANGE_IP);
    std::snprintf(outside.newIp, sizeof outside.newIp, "192.168.1.168");
    DSC_MODIFY_NETINFO_REQUEST dhcp = request(fleet[2], DSC_CHANGE_DHCP);
    std::snprintf(dhcp.mac, sizeof dhcp.mac, "Vorn_Tsa");
    std::snprintf(dhcp.mac3, sizeof dhcp.mac3, "%s", fleet[2].mac.c_str());
    dhcp.dhcp = 1;
    DSC_MODIFY_NETINFO_REQUEST netcom = request(fleet[3], DSC_CHANGE_FULL_NETCOM);
    netcom.fullNetcom = 1;
    DSC_MODIFY_NETINFO_REQUEST badAccount = request(fleet[4], DSC_CHANGE_FULL_NETCOM);
    std::snprintf(badAccount.password, sizeof badAccount.password, "wrong");
    for (auto* r : {&ip, &outside, &dhcp, &netcom, &badAccount})
        ASSERT_EQ(KVX_NET_ModifyNetInfo(r, &ModifySink::callback, &sink), 0);
    ASSERT_TRUE(sink.waitEnd());
    ASSERT_EQ(sink.answers.size(), 5u);
    std::map<std::string, DSC_MODIFY_NETINFO_RESPONSE> byMac;
    for (const auto& a : sink.answers) {
        EXPECT_STREQ(a.tag, "searching..");
        EXPECT_EQ(a.type, DSC_TYPE_MODIFY_RESPONSE);
        EXPECT_STREQ(a.mac, a.mac2);
        byMac[a.mac] = a;
    }
    EXPECT_EQ(byMac[fleet[0].mac].result, 0);
    EXPECT_STREQ(byMac[fleet[0].mac].newIp, "127.0.2.10");
    EXPECT_EQ(byMac[fleet[0].mac].changeMask, 28);
    EXPECT_NE(byMac[fleet[1].mac].result, 0); // never leaves the loopback range
    EXPECT_EQ(byMac[fleet[2].mac].result, 0);
    EXPECT_EQ(byMac[fleet[2].mac].dhcp, 1);
    EXPECT_EQ(byMac[fleet[3].mac].fullNetcom, 1);
    EXPECT_NE(byMac[fleet[4].mac].result, 0);
    camsim::CameraProfile now;
    EXPECT_TRUE(waitUntil([&] { return camsim::findCamera("127.0.2.10", &now) && now.online; }));
    EXPECT_EQ(now.gateway, "127.0.2.1");
}

TEST_F(SimTest, StopModifyEndsTheRunWithoutItsNull) {
    camsim::Timing t;
    t.modifyAnswerMs = 10000; // long enough that the stop always comes first
    t.modifyRunEndMs = 12000;
    camsim::setTiming(t);
    ModifySink sink;
    DSC_MODIFY_NETINFO_REQUEST netcom = request(fleet[0], DSC_CHANGE_FULL_NETCOM);
    ASSERT_EQ(KVX_NET_ModifyNetInfo(&netcom, &ModifySink::callback, &sink), 0);
    KVX_NET_StopModifyNetInfo();
    winport::sleepRealMs(150);
    EXPECT_TRUE(sink.answers.empty());
    EXPECT_EQ(sink.ends, 0);
    // A new run after the stop answers again.
    camsim::setTiming(camsim::Timing());
    ASSERT_EQ(KVX_NET_ModifyNetInfo(&netcom, &ModifySink::callback, &sink), 0);
    EXPECT_TRUE(sink.waitEnd());
    EXPECT_EQ(sink.answers.size(), 1u);
}
