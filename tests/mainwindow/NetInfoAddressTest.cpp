// The IP change's new addresses against the simulated fleet with the stand-in ping: the candidates
// and their range, the addresses on their way to a camera, the relogin after an answer.
#include "NetInfoBatchTestSupport.h"

using namespace netinfotest;

namespace {

// The IP change: counting up from the start address, skipping answering addresses, rows without
// a search record, the end of the address space, mode 0, refused start records. Every address is
// pinged once, with one echo request and 15 ms for its reply.
TEST_F(NetInfoBatchTest, IpChangeAssignsAddressesAndEndsInTheResultTable) {
    struct Case {
        const char* name;
        OZM::_SC_SETIP_DATA_ info;
        const char* pingUp;
        int rowWithoutRecord; // -1 none
        std::vector<std::string> newIps;
        const char* log;
        int tableRows; // -1: refused, no table
        const char* rowText = "Success";
        const char* unroutable = ""; // addresses no route reaches
        std::vector<std::string> pinged = {};
        int rowLoginRefused = -1; // this camera's login is refused at the search
        bool usedUp = false;      // the range ends before every row has an address: said so
    };
    // A start record refused before anything is sent.
    const auto refused = [](const char* name, const OZM::_SC_SETIP_DATA_& info) {
        return Case{name, info, "", -1, {}, "invalid start address", -1};
    };
    const std::vector<Case> cases = {
        {"skips",
         ipRecord(1, "127.0.1.10"),
         "127.0.1.11",
         -1,
         {"127.0.1.10", "127.0.1.12", "127.0.1.13"},
         "pNewIp is used,pNewIp = 127.0.1.11",
         3,
         "Success",
         "",
         {"127.0.1.10", "127.0.1.11", "127.0.1.12", "127.0.1.13"}},
        // An address that no route reaches has nothing that could answer: it is free.
        {"unroutable",
         ipRecord(1, "127.0.1.30"),
         "127.0.1.31",
         -1,
         {"127.0.1.30", "127.0.1.32", "127.0.1.33"},
         "pNewIp is used,pNewIp = 127.0.1.31",
         3,
         "Success",
         "127.0.1.30,127.0.1.32",
         {"127.0.1.30", "127.0.1.31", "127.0.1.32", "127.0.1.33"}},
        {"no record",
         ipRecord(1, "127.0.1.10"),
         "",
         1,
         {"127.0.1.10", "127.0.1.12"},
         "cannot findSearchInfo",
         2},
        // The subnet's broadcast and network addresses are skipped without a ping.
        {"edges",
         ipRecord(1, "127.0.1.254", "255.255.255.0", "127.0.1.1"),
         "",
         -1,
         {"127.0.1.254", "127.0.2.1", "127.0.2.2"},
         "pNewIp = 127.0.2.0",
         3},
        // A camera without a login is not logged in again: it is finished with its answer, the
        // others once logged in again (20 s after theirs), well before a camera's 60 s.
        {"login refused",
         ipRecord(1, "127.0.1.40"),
         "",
         -1,
         {"127.0.1.40", "127.0.1.41", "127.0.1.42"},
         "",
         3,
         "Success",
         "",
         {},
         2},
        {"mode 0", ipRecord(0, "127.0.1.20"), "", -1, {"127.0.1.20"}, "", 1},
        {"mode 0 no record", ipRecord(0, "127.0.1.20"), "", 0, {}, "cannot findSearchInfo", 0},
        // The stand-in cannot ping outside 127/8: no address is taken as free and nothing is
        // sent; the third row skips the subnet's broadcast address and meets the end of the host
        // addresses (224.0.0.0 is multicast).
        {"end",
         ipRecord(1, "223.255.255.253", "255.255.255.0", "223.255.255.1"),
         "",
         -1,
         {},
         "laddr is 0xFFFFFFFF",
         2,
         "Failed",
         "",
         {"223.255.255.253", "223.255.255.254"},
         -1,
         true},
        // The last host address is a candidate like any other (a one-address subnet has no
        // broadcast address): it is pinged; the rows after it get nothing.
        {"last host",
         ipRecord(1, "223.255.255.255", "255.255.255.255", "223.255.255.255"),
         "",
         -1,
         {},
         "ping could not run, nothing sent to mac:00:1A:2B:00:00:01,pNewIp = 223.255.255.255",
         1,
         "Failed",
         "",
         {"223.255.255.255"},
         -1,
         true},
        // Nothing to hand out at all: said so, and no empty table.
        {"nothing left",
         ipRecord(1, "223.255.255.255", "255.255.255.0", "223.255.255.1"),
         "",
         -1,
         {},
         "laddr is 0xFFFFFFFF",
         0,
         "",
         "",
         {},
         -1,
         true},
        {"no verdict",
         ipRecord(1, "10.0.0.10", "255.0.0.0", "10.0.0.1"),
         "",
         -1,
         {},
         "ping could not run, nothing sent to mac:00:1A:2B:00:00:01,pNewIp = 10.0.0.10",
         3,
         "Failed",
         "",
         {"10.0.0.10", "10.0.0.11", "10.0.0.12"}},
        refused("never saved", OZM::_SC_SETIP_DATA_{}),
        refused("short", ipRecord(1, "127.0.1")),
        refused("zero", ipRecord(0, "0.0.0.0")),
        refused("broadcast", ipRecord(1, "255.255.255.255")),
        refused("multicast", ipRecord(1, "224.0.0.1", "255.0.0.0", "224.0.0.2")),
        refused("multicast start", ipRecord(1, "224.0.0.0", "255.0.0.0", "224.0.0.1")),
        refused("multicast start mode 0", ipRecord(0, "224.0.0.0", "255.0.0.0", "224.0.0.1")),
        refused("first number 0", ipRecord(1, "0.1.2.3", "255.0.0.0", "0.1.0.1")),
        refused("first number 0 mode 0", ipRecord(0, "0.1.2.3", "255.0.0.0", "0.1.0.1")),
        refused("bad mask", ipRecord(1, "127.0.1.10", "255.0")),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        camsim::resetWorld();
        camsim::useFleet(camsim::defaultFleet(3));
        qputenv("CORVANE_SIM_PING_UP", c.pingUp);
        qputenv("CORVANE_SIM_PING_UNROUTABLE", c.unroutable);
        const QString pingLog = usePingLog();
        tables.clear();
        if (c.rowLoginRefused >= 0)
            camsim::inject({camsim::fleet().at(c.rowLoginRefused).mac, "KVX_NET_Login", true, false, 0, 1});
        MainFrame frame;
        ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 3, c.rowLoginRefused >= 0 ? 1 : 0));
        if (c.rowWithoutRecord >= 0)
            frame.engine()->removeSearchInfo(frame.checkedRows().at(c.rowWithoutRecord).at(8).toStdString());
        ozmParamsMgr()->setIpInfo(&c.info);
        camsim::clearCallLog();
        const int modalsBefore = closer().count();
        const int textsBefore = modalTexts().size();
        harness::LogCapture log;

        std::uint64_t took = 0;
        {
            // The relogins whose success is checked, within their limit on a loaded machine.
            std::optional<frametest::LongLimits> limits;
            if (c.rowLoginRefused >= 0)
                limits.emplace();
            const std::uint64_t clicked = GetTickCount();
            Access::button(frame, "modifyIp")->click(); // returns when the busy indicator closed
            took = GetTickCount() - clicked;
        }
        if (c.rowLoginRefused >= 0) {
            EXPECT_LT(took, 60000u) << "the camera without a login was waited for";
            EXPECT_EQ(status(frame, c.rowLoginRefused), "Not logged in: no relogin after the IP change");
            for (int r = 0; r < 3; ++r) {
                if (r != c.rowLoginRefused) {
                    EXPECT_EQ(status(frame, r), "Login Successful") << r;
                }
            }
        }

        EXPECT_EQ(sentNewIps(), c.newIps);
        if (!c.pinged.empty()) {
            std::string want;
            for (const std::string& ip : c.pinged)
                want += "-c 1 -W 0.015 " + ip + "\n";
            QFile f(pingLog);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll().toStdString(), want);
        }
        for (const camsim::CallRecord& call : camsim::calls("KVX_NET_ModifyNetInfo")) {
            EXPECT_EQ(text(call.in, 108, 16), c.info.mask);
            EXPECT_EQ(text(call.in, 124, 16), c.info.gateway);
        }
        if (*c.log) {
            EXPECT_TRUE(log.contains(c.log)) << c.log;
        }
        if (c.tableRows < 0) {
            EXPECT_EQ(modalTexts().last(), "Please set a valid IP start address first!");
            EXPECT_TRUE(camsim::calls("KVX_NET_StopModifyNetInfo").empty()) << "a refusal changes nothing";
            EXPECT_TRUE(tables.empty());
            continue;
        }
        const QStringList warnings = modalTexts().mid(textsBefore);
        EXPECT_EQ(warnings,
                  c.usedUp
                      ? QStringList{"No free IP address is left: the remaining devices were not changed!"}
                      : QStringList{});
        if (c.usedUp && c.tableRows == 0) {
            EXPECT_TRUE(tables.empty()) << "nothing was sent";
            continue;
        }
        ASSERT_EQ(tables.size(), 1u);
        EXPECT_EQ(tables[0].headers, (QStringList{"IP", "Set IP"}));
        ASSERT_EQ(tables[0].rows.size(), c.tableRows);
        EXPECT_GT(closer().count(), modalsBefore);
        for (const QStringList& row : tables[0].rows)
            EXPECT_EQ(row.at(1), c.rowText) << row.join(" ").toStdString();
        if (std::string(c.rowText) == "Failed") {
            for (int r = 0; r < c.tableRows; ++r)
                EXPECT_EQ(status(frame, r), "Modify IP Failed") << r;
        }
        if (!c.newIps.empty()) {
            // The cameras took the addresses after their restart; the rows show them.
            const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
            std::set<std::string> held;
            for (const auto& camera : fleet)
                held.insert(camera.ip);
            for (const std::string& ip : c.newIps)
                EXPECT_TRUE(held.count(ip)) << ip;
            EXPECT_TRUE(harness::waitFor(
                [&] { return frame.checkedRows().at(0).at(1).toStdString() == c.newIps[0]; }));
        }
    }
}

// An address on its way to a camera is skipped unpinged by both address batches: the address of
// an other-parameter device thread by the IP change, and an address the IP change has sent by
// the run (and by the next IP change) until its camera answers a search there or its relogin
// has ended.
TEST_F(NetInfoBatchTest, AddressesOnTheirWayToACameraAreSkippedByBothBatches) {
    camsim::useFleet(camsim::defaultFleet(3));
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    const QString pingLog = usePingLog();
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 3));
    // Camera 0's thread takes 127.0.1.60 and stays in its DDNS read until let go; the run's 1 s
    // limit passes only once it is there.
    OZM::_SC_TCP_IP_DATA tcp{};
    std::strcpy(tcp.ip, "127.0.1.60");
    std::strcpy(tcp.mask, "255.0.0.0");
    std::strcpy(tcp.gateway, "127.0.0.1");
    std::strcpy(tcp.dns, "127.0.0.1");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    OZM::SC_OTHERPARAMENABLE flags{};
    flags.flag[OZM::FamilyDdns] = 1;
    flags.flag[OZM::FamilyTcpIp] = 1;
    ozmParamsMgr()->setOtherParamEnable(&flags);
    ozmParamsMgr()->setWaitInfo(1);
    camsim::Injection hold{fleet[0].mac, "KVX_NET_GetDDNS2", false, false, 0, 1};
    hold.held = true;
    camsim::inject(hold);
    bool started = false;
    harness::holdGuiThreadUntil([] { return camsim::heldCalls() == 1; }, &started);
    ASSERT_EQ(frame.engine()->startOtherParamConfig({frame.checkedRows().at(0)}), 0);
    ASSERT_TRUE(started) << "camera 0's device thread never reached its DDNS read";
    ASSERT_EQ(frame.engine()->otherParamThreads(), 1);

    QFile::remove(pingLog);
    const OZM::_SC_SETIP_DATA_ info = ipRecord(1, "127.0.1.60");
    ozmParamsMgr()->setIpInfo(&info);
    camsim::clearCallLog();
    tables.clear();
    harness::LogCapture log;
    Access::button(frame, "modifyIp")->click();
    EXPECT_EQ(sentNewIps(), (std::vector<std::string>{"127.0.1.61", "127.0.1.62", "127.0.1.63"}));
    EXPECT_TRUE(log.contains("pNewIp is held by a change in progress,pNewIp = 127.0.1.60"));
    QFile f(pingLog);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(),
              "-c 1 -W 0.015 127.0.1.61\n-c 1 -W 0.015 127.0.1.62\n-c 1 -W 0.015 127.0.1.63\n");
    EXPECT_EQ(camsim::heldCalls(), 1) << "camera 0's thread held the address throughout";
    camsim::releaseHeldCalls();
    EXPECT_TRUE(harness::waitFor([&] { return frame.engine()->otherParamThreads() == 0; }, 20000))
        << "camera 0's device thread did not end";
    DeviceManager* engine = frame.engine();
    for (const char* ip : {"127.0.1.60", "127.0.1.61", "127.0.1.62", "127.0.1.63"})
        EXPECT_FALSE(engine->addressHeld(ip)) << ip << ": the cameras are there and logged in again";

    // The relogins of the first part are over: a late login result of camera 0 would finish its
    // record of the next change before its relogin there.
    ASSERT_TRUE(harness::waitFor(
        [&] {
            if (engine->pendingRelogins() != 0)
                return false;
            for (const auto& camera : fleet) {
                for (const auto& slot : engine->slotsForMac(camera.mac)) {
                    if (slot.loggingIn())
                        return false;
                }
            }
            return true;
        },
        20000));
    // The IP change the other way: camera 1 never answers its change (it may still move later);
    // camera 2's login has failed, so it is not logged in again after its change.
    camsim::inject({fleet[1].mac, "KVX_NET_ModifyNetInfo", false, true, 0, 1});
    camsim::inject({fleet[2].mac, "KVX_NET_Login", true, false, 0, 1});
    engine->reloginDeviceNow(engine->findSearchInfo(fleet[2].mac).get());
    ASSERT_FALSE(engine->slotsForMac(fleet[2].mac).at(0).loggingIn());
    const OZM::_SC_SETIP_DATA_ second = ipRecord(1, "127.0.1.70");
    ozmParamsMgr()->setIpInfo(&second);
    camsim::clearCallLog();
    tables.clear();
    Access::button(frame, "modifyIp")->click();
    ASSERT_EQ(sentNewIps(), (std::vector<std::string>{"127.0.1.70", "127.0.1.71", "127.0.1.72"}));
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(status(frame, 1), "Modify IP Timeout");
    EXPECT_EQ(status(frame, 2), "Not logged in: no relogin after the IP change");
    EXPECT_FALSE(engine->addressHeld("127.0.1.70")) << "camera 0 is logged in again there";
    EXPECT_TRUE(engine->addressHeld("127.0.1.71")) << "camera 1 may still move there";
    EXPECT_TRUE(engine->addressHeld("127.0.1.72")) << "no relogin has found camera 2 there";

    // A run for camera 0 from .71: .71 and .72 are passed over unpinged, .73 is taken.
    OZM::_SC_TCP_IP_DATA fromHeld = tcp;
    std::strcpy(fromHeld.ip, "127.0.1.71");
    ozmParamsMgr()->setTcpIpInfo(&fromHeld);
    flags.flag[OZM::FamilyDdns] = 0;
    ozmParamsMgr()->setOtherParamEnable(&flags);
    ozmParamsMgr()->setWaitInfo(360);
    QFile::remove(pingLog);
    harness::LogCapture runLog;
    ASSERT_EQ(engine->startOtherParamConfig({frame.checkedRows().at(0)}), 0);
    EXPECT_TRUE(runLog.contains("pNewIp is held by a change in progress,pNewIp = 127.0.1.71"));
    EXPECT_TRUE(runLog.contains("pNewIp is held by a change in progress,pNewIp = 127.0.1.72"));
    ASSERT_TRUE(harness::waitFor([&] { return engine->otherParamThreads() == 0; }, 20000));
    camsim::CameraProfile moved;
    ASSERT_TRUE(camsim::findCamera(fleet[0].mac, &moved));
    EXPECT_EQ(moved.ip, "127.0.1.73");
    QFile probes(pingLog);
    ASSERT_TRUE(probes.open(QIODevice::ReadOnly));
    const QString probed = QString::fromUtf8(probes.readAll());
    EXPECT_FALSE(probed.contains("127.0.1.71") || probed.contains("127.0.1.72")) << probed.toStdString();

    // A search finds camera 2 at its new address (no longer held) and camera 1 where it was.
    ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 3));
    EXPECT_FALSE(engine->addressHeld("127.0.1.72"));
    EXPECT_TRUE(engine->addressHeld("127.0.1.71"));
}

// The answer to an IP change logs the camera in again at its new address, and waits for it, when
// its login is in place or still in progress (in the login call or awaiting its answer); a camera
// whose login failed or was refused is finished at once. Decided before anything is queued.
TEST_F(NetInfoBatchTest, IpChangeAnswerReloginsACameraLoggedInOrStillLoggingIn) {
    camsim::useFleet(camsim::defaultFleet(5));
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 5));
    DeviceManager* engine = frame.engine();
    auto record = [&](int i) { return *engine->findSearchInfo(fleet[i].mac); };
    // Camera 3: its relogin's answer said "failed" (the handle stays); camera 4: refused.
    engine->setSearchInfoAccount(fleet[3].mac, "nobody", "wrong", false);
    const DSC_SEARCH_RESPONSE_INFO camera3 = record(3);
    engine->reloginDeviceNow(&camera3);
    ASSERT_TRUE(
        harness::waitFor([&] { return engine->slotsForMac(fleet[3].mac).at(0).state == LoginSlot::Failed; }));
    camsim::inject({fleet[4].mac, "KVX_NET_Login", true, false, 0, 1});
    const DSC_SEARCH_RESPONSE_INFO camera4 = record(4);
    engine->reloginDeviceNow(&camera4);
    // Camera 2: a relogin awaiting its answer.
    camsim::inject({fleet[2].mac, "KVX_NET_Login", false, true, 0, 1});
    const DSC_SEARCH_RESPONSE_INFO camera2 = record(2);
    engine->reloginDeviceNow(&camera2);
    // Camera 1: a relogin still in its login call (which holds the engine's login run: the
    // others come first).
    camsim::Injection inCall{fleet[1].mac, "KVX_NET_Login:return", false, false, 0, 1};
    inCall.held = true;
    camsim::inject(inCall);
    camsim::inject({fleet[1].mac, "KVX_NET_Login", false, true, 0, 1});
    const DSC_SEARCH_RESPONSE_INFO camera1 = record(1);
    std::thread caller([&] { engine->reloginDeviceNow(&camera1); });
    struct Join {
        std::thread& t;
        ~Join() {
            camsim::releaseHeldCalls();
            t.join();
        }
    } join{caller};
    ASSERT_TRUE(harness::waitFor([] { return camsim::heldCalls() == 1; }));

    const bool waited[] = {true, true, true, false, false};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        DSC_MODIFY_NETINFO_RESPONSE resp;
        std::memset(&resp, 0, sizeof resp);
        std::memcpy(resp.tag, "searching..", 12);
        resp.type = 14;
        resp.result = 0;
        resp.changeMask = 28;
        std::strcpy(resp.mac, fleet[i].mac.c_str());
        std::strcpy(resp.newIp, ("127.0.4." + std::to_string(10 + i)).c_str());
        const int queued = engine->pendingRelogins();
        frame.onModifyNetInfoResult(&resp);
        EXPECT_EQ(engine->pendingRelogins(), queued + (waited[i] ? 1 : 0));
        EXPECT_EQ(status(frame, i) == "Not logged in: no relogin after the IP change", !waited[i])
            << status(frame, i).toStdString();
        EXPECT_EQ(std::string(engine->findSearchInfo(fleet[i].mac)->ip), "127.0.4." + std::to_string(10 + i))
            << "the record takes the new address in every case";
    }
    camsim::releaseHeldCalls();
    ASSERT_TRUE(harness::waitFor([&] { return engine->pendingRelogins() == 0; }, 10000));
}

} // namespace
