// The network-information batches, reboot and recoveries, the sweeps and their result tables,
// against the simulated fleet with the stand-in ping.
#include "NetInfoBatchTestSupport.h"

#include <atomic>

using namespace netinfotest;

namespace {

// Request bytes of the DHCP and full-netcom switches, the answers in the rows and records, and
// the end of the run marking the cameras that never answered.
TEST_F(NetInfoBatchTest, DhcpAndFullNetcomRequestsAnswersAndTimeouts) {
    std::vector<camsim::CameraProfile> profiles = camsim::defaultFleet(3);
    profiles[0].column3Flag = 1; // its full-netcom answers carry "Yes"
    camsim::useFleet(profiles);
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 3));
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    camsim::inject({fleet[1].mac, "KVX_NET_ModifyNetInfo", true, false, 0, -1}); // refuses
    camsim::inject({fleet[2].mac, "KVX_NET_ModifyNetInfo", false, true, 0, -1}); // never answers

    struct Case {
        const char* button;
        std::uint32_t mask;
        int dhcp, netcom;
        QString ok, failed, timeout;
    };
    const std::vector<Case> cases = {
        // A refusal reports the camera's state as it stayed.
        {"openDhcp", 2, 1, 0, "open DHCP Successfull", "close DHCP Failed", "Modify IP Timeout"},
        {"closeDhcp", 2, 0, 0, "close DHCP Successfull", "close DHCP Failed", "Modify IP Timeout"},
        {"openNetcom", 256, 0, 1, "Turn On Full Netcom Successfull", "Modify Full Netcom Failed",
         "MODIFY Full Netcom Timeout"},
        {"closeNetcom", 256, 0, 0, "Turn Off Full Netcom Successfull", "Modify Full Netcom Failed",
         "MODIFY Full Netcom Timeout"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        camsim::clearCallLog();
        tables.clear();
        Access::button(frame, c.button)->click();
        ASSERT_TRUE(harness::waitFor(
            [&] {
                const auto r = Access::netInfo(frame);
                return r.size() == 3 && r[2].status == 3 && status(frame, 0) == c.ok;
            },
            20000));
        ASSERT_TRUE(harness::waitFor([&] { return status(frame, 2) == c.timeout; }, 5000))
            << status(frame, 2).toStdString();
        EXPECT_EQ(status(frame, 0), c.ok);
        EXPECT_EQ(status(frame, 1), c.failed);
        const auto records = Access::netInfo(frame);
        ASSERT_EQ(records.size(), 3u);
        EXPECT_EQ(records[0].status, 1);
        EXPECT_EQ(records[1].status, 2);
        EXPECT_EQ(records[2].status, 3);
        EXPECT_EQ(records[0].kind, c.mask == 2 ? 4 : 5);
        EXPECT_TRUE(tables.empty()) << "no result table for these switches";
        if (c.mask == 256) {
            EXPECT_EQ(frame.deviceTable()->getData(0, CTableView::ColFullNetcom).toString(),
                      c.netcom ? "Enable" : "Disable");
            EXPECT_EQ(frame.deviceTable()->getData(0, CTableView::ColNetcomFlag).toString(), "Yes");
            EXPECT_EQ(ozmParamsMgr()->getFullNetcom(), c.netcom ? 0 : 1);
        }

        const auto calls = camsim::calls("KVX_NET_ModifyNetInfo");
        ASSERT_EQ(calls.size(), 3u);
        for (std::size_t i = 0; i < calls.size(); ++i) {
            const std::vector<std::uint8_t>& b = calls[i].in;
            ASSERT_EQ(b.size(), 424u);
            const std::string mac = fleet[i].mac;
            EXPECT_EQ(std::memcmp(b.data(), "searching..\0", 12), 0);
            EXPECT_EQ(b[12], 12);
            EXPECT_EQ(text(b, 16, 16), "Vorn_Kd");
            EXPECT_EQ(text(b, 50, 16), fleet[i].ip);
            EXPECT_EQ(text(b, 66, 18), mac);
            EXPECT_EQ(u32(b, 84), c.mask);
            EXPECT_EQ(b[88], c.dhcp);
            EXPECT_EQ(b[90], c.netcom);
            EXPECT_EQ(text(b, 360, 32), "admin");
            EXPECT_EQ(text(b, 392, 32), "12345");
            if (c.mask == 2) {
                // "Vorn_Tsa" over the MAC: the MAC's tail stays after the terminator.
                EXPECT_EQ(text(b, 32, 18), "Vorn_Tsa");
                EXPECT_EQ(text(b, 41, 9), mac.substr(9));
                EXPECT_EQ(text(b, 92, 16), "192.168.1.168");
                EXPECT_EQ(text(b, 108, 16), "255.255.255.0");
                EXPECT_EQ(text(b, 124, 16), "192.168.1.1");
                EXPECT_EQ(text(b, 140, 16), "192.168.1.1");
                EXPECT_EQ(text(b, 172, 18), mac);
            } else {
                EXPECT_EQ(text(b, 32, 18), mac);
                for (std::size_t at : {92, 108, 124, 140, 172})
                    EXPECT_EQ(b[at], 0) << at;
            }
            for (std::size_t at = 190; at < 360; ++at)
                ASSERT_EQ(b[at], 0) << at;
        }
    }
    const std::vector<camsim::CameraProfile> after = camsim::fleet();
    EXPECT_EQ(after[0].dhcp, 0);
    EXPECT_EQ(after[0].fullNetcom, 0);
}

// Answers read only their fields; an end of the run marks status 0 only.
TEST_F(NetInfoBatchTest, AnswersAreReadWithinTheirFields) {
    camsim::useFleet({});
    MainFrame frame;
    auto record = [](int kind, const char* mac, int status) {
        NetInfoResultInfo r;
        std::memset(&r, 0, sizeof r);
        r.kind = kind;
        std::strcpy(r.mac, mac);
        r.status = status;
        return r;
    };
    Access::setNetInfo(frame, {record(4, "02:00:00:00:00:01", 0), record(4, "02:00:00:00:00:02", 0),
                               record(4, "02:00:00:00:00:03", 2), record(4, "02:00:00:00:00:04", 0)});
    DSC_MODIFY_NETINFO_RESPONSE resp;
    std::memset(&resp, 'X', sizeof resp); // no terminator anywhere
    std::memcpy(resp.tag, "searching..", 12);
    resp.type = 14;
    resp.result = 0;
    resp.changeMask = 28;
    std::memcpy(resp.mac, "02:00:00:00:00:01", 18);
    std::memset(resp.newIp, '7', sizeof resp.newIp); // 16 characters, unterminated
    QSignalSpy relogins(&frame, &MainFrame::reLoginReq);
    frame.onModifyNetInfoResult(&resp);
    resp.type = 13; // not an answer
    std::memcpy(resp.mac, "02:00:00:00:00:02", 18);
    frame.onModifyNetInfoResult(&resp);
    // A DHCP answer names the camera at offset 140: its request's first MAC field held the
    // access text.
    resp.type = 14;
    resp.changeMask = 2;
    resp.dhcp = 1;
    std::memcpy(resp.mac, "Vorn_Tsa\0", 9);
    std::memcpy(resp.mac2, "02:00:00:00:00:04", 18);
    frame.onModifyNetInfoResult(&resp);
    frame.onModifyNetInfoResult(nullptr);
    QCoreApplication::processEvents();
    const auto records = Access::netInfo(frame);
    EXPECT_EQ(records[0].status, 1);
    EXPECT_EQ(records[1].status, 3) << "the end of the run times the unanswered out";
    EXPECT_EQ(records[2].status, 2);
    EXPECT_EQ(records[3].status, 1) << "the DHCP answer";
}

// The end of the modification run handled while the DHCP thread has sent its last request but
// not yet finished still times out the camera that never answered (nothing else would: the
// switch runs no check timer).
TEST_F(NetInfoBatchTest, RunEndDuringTheThreadsLastStepStillTimesOut) {
    camsim::useFleet(camsim::defaultFleet(2));
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 2));
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    camsim::inject({fleet[0].mac, "KVX_NET_ModifyNetInfo", false, true, 0, -1}); // never answers
    frame.engine()->removeSearchInfo(fleet[1].mac); // the thread's last step is its log line
    // The thread is held in that log line until the window has handled the end of the run.
    struct Hold {
        std::mutex mutex;
        std::condition_variable wake;
        bool release = false;
        std::atomic<bool> held{false};
    } hold;
    auto releaseHold = [&hold] {
        {
            std::lock_guard<std::mutex> lock(hold.mutex);
            hold.release = true;
        }
        hold.wake.notify_all();
    };
    Qx_Set_Log_Hook(
        [](int, const char* line, void* user) {
            auto* h = static_cast<Hold*>(user);
            if (!std::strstr(line, "MainFrame::batchModifyDhcpThd") ||
                !std::strstr(line, "cannot findSearchInfo"))
                return;
            h->held = true;
            std::unique_lock<std::mutex> lock(h->mutex);
            h->wake.wait_for(lock, std::chrono::seconds(10), [h] { return h->release; });
        },
        &hold);
    // Counted on the batch thread, which emits the end: a spy's list would be read here while it grows.
    std::atomic<int> ends{0};
    QObject::connect(
        &frame, &MainFrame::modifyNetInfoEnd, &frame, [&ends] { ++ends; }, Qt::DirectConnection);
    Access::button(frame, "openDhcp")->click();
    const bool ended = harness::waitFor([&] { return hold.held && ends >= 1; }, 10000);
    QCoreApplication::processEvents(); // the queued end, while the thread is still held
    const bool stillHeld = Access::batchRunning(frame);
    releaseHold();
    Qx_Set_Log_Hook(nullptr, nullptr);
    ASSERT_TRUE(ended) << "the thread's last step and the end of the run";
    EXPECT_TRUE(stillHeld);
    EXPECT_TRUE(harness::waitFor(
        [&] {
            const auto records = Access::netInfo(frame);
            return records.size() == 1 && records[0].status == 3;
        },
        3000))
        << "the camera that never answered is timed out";
    EXPECT_TRUE(harness::waitFor([&] { return status(frame, 0) == "Modify IP Timeout"; }, 3000))
        << status(frame, 0).toStdString();
}

// The sweeps: limit per kind and count, capped; elapsed equal to the limit times out; the
// time-out actions and the result table of each kind.
TEST_F(NetInfoBatchTest, SweepsTimeOutAtTheirLimitsAndShowTheirTables) {
    camsim::useFleet({});
    struct Case {
        int kind, n;
        std::uint64_t limitSec;
        QStringList headers;                     // empty: no table
        std::vector<std::pair<int, int>> before; // status, login state
        std::vector<std::pair<int, int>> after;
        QStringList texts; // row status text after the limit ("": none written)
    };
    const std::vector<Case> cases = {
        {6,
         3,
         180,
         {"IP", "Reboot"},
         {{1, 1001}, {0, 0}, {1, 0}},
         {{1, 1001}, {3, 0}, {1, 1003}},
         {"", "Reboot Timeout", "Login Failed"}},
        {6, 2, 120, {"IP", "Reboot"}, {{0, 0}, {1, 1002}}, {{3, 0}, {1, 1002}}, {"Reboot Timeout", ""}},
        {9, 1, 60, {"IP", "SimpleRecovery"}, {{1, 0}}, {{1, 1003}}, {"Login Timeout"}},
        {9,
         2,
         120,
         {"IP", "SimpleRecovery"},
         {{0, 0}, {2, 0}},
         {{3, 0}, {2, 0}},
         {"SimpleRecovery Timeout", ""}},
        {10,
         5,
         100,
         {"IP", "Full Recovery"},
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 0}},
         {{3, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 0}},
         {"MODIFY Full Recovery Timeout", "", "", "", "MODIFY Full Recovery Timeout"}},
        {10,
         9,
         180,
         {"IP", "Full Recovery"},
         std::vector<std::pair<int, int>>(9, {0, 0}),
         std::vector<std::pair<int, int>>(9, {3, 0}),
         QVector<QString>(9, "MODIFY Full Recovery Timeout").toList()},
        {5,
         7,
         120,
         {},
         std::vector<std::pair<int, int>>(7, {0, 0}),
         std::vector<std::pair<int, int>>(7, {3, 0}),
         QVector<QString>(7, "MODIFY Full Netcom Timeout").toList()},
        {4,
         2,
         120,
         {"IP", "Set IP"},
         {{1, 1002}, {0, 0}},
         {{1, 1003}, {3, 0}},
         {"Login Failed", "Modify IP Timeout"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind * 100 + c.n);
        MainFrame frame;
        std::vector<NetInfoResultInfo> net;
        std::vector<DeviceResultInfo> reboots;
        for (int i = 0; i < c.n; ++i) {
            const std::string mac = "02:00:00:00:01:0" + std::to_string(i);
            const auto state = c.before.at(static_cast<std::size_t>(i));
            if (c.kind == 4 || c.kind == 5) {
                NetInfoResultInfo r{};
                r.kind = c.kind;
                std::strcpy(r.mac, mac.c_str());
                std::strcpy(r.ip, ("127.0.2." + std::to_string(i + 1)).c_str());
                r.status = state.first;
                r.loginState = state.second;
                net.push_back(r);
            } else {
                DeviceResultInfo r{};
                r.kind = static_cast<std::uint32_t>(c.kind);
                std::strcpy(r.mac, mac.c_str());
                std::strcpy(r.ip, ("127.0.2." + std::to_string(i + 1)).c_str());
                r.status = state.first;
                r.loginState = state.second;
                reboots.push_back(r);
            }
        }
        for (int i = 0; i < c.n; ++i) {
            QStringList row;
            for (int col = 0; col < CTableView::ColumnCount; ++col)
                row << QString();
            row[1] = QString("127.0.2.%1").arg(i + 1);
            row[8] = QString::fromStdString("02:00:00:00:01:0" + std::to_string(i));
            frame.deviceTable()->addRow(row);
        }
        Access::setNetInfo(frame, net);
        Access::setReboots(frame, reboots);
        const std::uint64_t start = 1000000;
        Access::open(frame, c.kind, start);
        QSignalSpy ends(&frame, &MainFrame::modifyParamEnd);
        tables.clear();
        Access::sweep(frame, c.kind, c.n, start + c.limitSec * 1000 - 1);
        EXPECT_EQ(ends.size(), 0) << "before the limit";
        Access::sweep(frame, c.kind, c.n, start + c.limitSec * 1000);
        ASSERT_EQ(ends.size(), 1) << "at the limit";
        EXPECT_EQ(ends.at(0).at(0).toInt(), c.kind);
        for (int i = 0; i < c.n; ++i) {
            const auto want = c.after.at(static_cast<std::size_t>(i));
            const int statusNow = c.kind == 4 || c.kind == 5 ? Access::netInfo(frame)[i].status
                                                             : Access::reboots(frame)[i].status;
            const int loginNow = c.kind == 4 || c.kind == 5 ? Access::netInfo(frame)[i].loginState
                                                            : Access::reboots(frame)[i].loginState;
            EXPECT_EQ(statusNow, want.first) << i;
            EXPECT_EQ(loginNow, want.second) << i;
        }
        auto shown = [&] {
            QStringList out;
            for (int i = 0; i < c.n; ++i)
                out << status(frame, i);
            return out;
        };
        harness::waitFor([&] { return shown() == c.texts; }, 3000);
        EXPECT_EQ(shown(), c.texts);
        if (c.headers.isEmpty()) {
            EXPECT_TRUE(tables.empty());
        } else {
            ASSERT_EQ(tables.size(), 1u);
            EXPECT_EQ(tables[0].headers, c.headers);
            EXPECT_EQ(tables[0].rows.size(), c.n);
        }
    }
}

// Reboot and both recoveries from their buttons against the fleet: busy indicator, engine
// results, sweep, table; a batch without any search record ends at once.
TEST_F(NetInfoBatchTest, RebootAndRecoveriesEndInTheirTables) {
    camsim::useFleet(camsim::defaultFleet(2));
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 2));
    struct Case {
        const char* button;
        QString title;
    };
    for (const Case& c :
         std::vector<Case>{{"reboot", "Reboot"}, {"simple", "SimpleRecovery"}, {"full", "Full Recovery"}}) {
        SCOPED_TRACE(c.button);
        tables.clear();
        Access::button(frame, c.button)->click();
        ASSERT_EQ(tables.size(), 1u);
        EXPECT_EQ(tables[0].headers, (QStringList{"IP", c.title}));
        ASSERT_EQ(tables[0].rows.size(), 2);
        for (const QStringList& row : tables[0].rows)
            EXPECT_EQ(row.at(1), "Success");
        for (const DeviceResultInfo& r : Access::reboots(frame))
            EXPECT_EQ(r.status, 1);
    }

    // No search record for any row: no busy indicator, the empty table at once.
    for (const QStringList& row : frame.checkedRows())
        frame.engine()->removeSearchInfo(row.at(8).toStdString());
    for (const char* b : {"reboot", "simple", "full", "openNetcom"}) {
        SCOPED_TRACE(b);
        tables.clear();
        const int busyBefore =
            static_cast<int>(std::count_if(modals().begin(), modals().end(),
                                           [](const auto& s) { return s.className == "ProgressBarDialog"; }));
        Access::button(frame, b)->click();
        const int busyAfter =
            static_cast<int>(std::count_if(modals().begin(), modals().end(),
                                           [](const auto& s) { return s.className == "ProgressBarDialog"; }));
        EXPECT_EQ(busyAfter, busyBefore);
        EXPECT_EQ(tables.size(), std::string(b) == "openNetcom" ? 0u : 1u);
        if (!tables.empty()) {
            EXPECT_TRUE(tables[0].rows.isEmpty());
        }
        EXPECT_FALSE(frame.checkTimer()->isActive());
    }
}

// A search started while the IP thread runs stops and joins it: nothing is sent afterwards and
// the operation ends; a window destroyed while the DHCP thread runs joins it as well.
TEST_F(NetInfoBatchTest, SearchOrShutDownDuringABatchJoinsTheThread) {
    camsim::useFleet(camsim::defaultFleet(40));
    {
        MainFrame frame;
        ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 40));
        const OZM::_SC_SETIP_DATA_ info = ipRecord(1, "127.0.3.1");
        ozmParamsMgr()->setIpInfo(&info);
        camsim::clearCallLog();
        std::size_t sentAtSearch = 0;
        onBusy = [&] {
            ASSERT_TRUE(
                harness::waitFor([&] { return !camsim::calls("KVX_NET_ModifyNetInfo").empty(); }, 10000));
            frame.onSearchDevices();
            sentAtSearch = camsim::calls("KVX_NET_ModifyNetInfo").size();
            EXPECT_FALSE(Access::batchRunning(frame));
        };
        Access::button(frame, "modifyIp")->click();
        EXPECT_GT(sentAtSearch, 0u);
        EXPECT_LT(sentAtSearch, 40u) << "the search came before the thread's end";
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(camsim::calls("KVX_NET_ModifyNetInfo").size(), sentAtSearch);
        EXPECT_TRUE(Access::netInfo(frame).empty());
        EXPECT_FALSE(frame.checkTimer()->isActive());
        ASSERT_TRUE(harness::waitFor([&] { return Access::button(frame, "search")->isEnabled(); }, 20000));
        frame.deviceTable()->setIsCheckAll(true);
        Access::button(frame, "openDhcp")->click();
        EXPECT_TRUE(Access::batchRunning(frame));
    } // destroyed with the thread running
    const std::size_t sent = camsim::calls("KVX_NET_ModifyNetInfo").size();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(camsim::calls("KVX_NET_ModifyNetInfo").size(), sent);
}

} // namespace
