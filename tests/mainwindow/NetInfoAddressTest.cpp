// The IP change's new addresses against the simulated fleet with the stand-in ping: the candidates
// and their range, the addresses on their way to a camera, the relogin after an answer.
#include "NetInfoBatchTestSupport.h"
#include "TcpIpRecord.h"

#include "kvxnet/KvxSdkRecords.h"

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

// A camera slow to come back after its IP change fails its relogin at the new address. That is no
// sign the address is free: it stays held, and the other-parameter run counting from the same
// start passes over it, unpinged, though nothing answers there yet.
TEST_F(NetInfoBatchTest, SlowCameraKeepsItsNewAddressFromTheOtherParameterRun) {
    std::vector<camsim::CameraProfile> profiles = camsim::defaultFleet(3);
    profiles[0].rebootMs = 60000; // back long after its relogin, 20 s after its answer
    camsim::useFleet(profiles);
    const QString pingLog = usePingLog();
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 3));
    int slowRow = -1;
    for (int r = 0; r < 3; ++r) {
        if (frame.deviceTable()->getData(r, CTableView::ColMac).toString().toStdString() == profiles[0].mac)
            slowRow = r;
    }
    ASSERT_GE(slowRow, 0);
    frame.deviceTable()->setIsCheckAll(false);
    frame.deviceTable()->setRowChecked(slowRow, true);
    const OZM::_SC_SETIP_DATA_ info = ipRecord(1, "127.0.7.10");
    ozmParamsMgr()->setIpInfo(&info);
    Access::button(frame, "modifyIp")->click();
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].rows.value(0).value(1).toStdString(), "Success");
    EXPECT_EQ(status(frame, slowRow).toStdString(), "Login Failed") << "its relogin at .10 found nothing yet";
    EXPECT_EQ(sentNewIps(), std::vector<std::string>{"127.0.7.10"});

    OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord("127.0.7.10");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    ozmParamsMgr()->setWaitInfo(86400);
    OZM::SC_OTHERPARAMENABLE flags{};
    flags.flag[OZM::FamilyTcpIp] = 1;
    ozmParamsMgr()->setOtherParamEnable(&flags);
    frame.deviceTable()->setIsCheckAll(true);
    frame.deviceTable()->setRowChecked(slowRow, false);
    QFile::remove(pingLog);
    harness::LogCapture log;
    frame.onModifyOtherParameters();
    EXPECT_TRUE(log.contains("pNewIp is held by a change in progress,pNewIp = 127.0.7.10"));
    ASSERT_EQ(tables.size(), 2u);
    ASSERT_EQ(tables[1].rows.size(), 2);
    for (const QStringList& row : tables[1].rows)
        EXPECT_EQ(row.value(1), "Success") << row.join(" ").toStdString();
    std::set<std::string> moved;
    for (int i = 1; i < 3; ++i) {
        camsim::CameraProfile now;
        ASSERT_TRUE(camsim::findCamera(profiles[i].mac, &now));
        moved.insert(now.ip);
    }
    EXPECT_EQ(moved, (std::set<std::string>{"127.0.7.11", "127.0.7.12"}));
    QFile pinged(pingLog);
    if (pinged.open(QIODevice::ReadOnly)) {
        EXPECT_FALSE(pinged.readAll().contains("127.0.7.10\n")) << "a held address is not pinged";
    }
}

// The run moves camera B to .50; B is slow to come back, and its device thread gives up waiting
// for it. .50 is still on its way to B: the IP change of camera D passes over it unpinged and
// sends D .51 (nothing but a real camera's return could free it; the stand-in's refusal of a
// duplicate address is not relied on: what counts is what was sent).
TEST_F(NetInfoBatchTest, SlowCameraKeepsTheRunsAddressFromTheIpChange) {
    std::vector<camsim::CameraProfile> profiles = camsim::defaultFleet(2);
    profiles[0].rebootMs = 400000; // B: back long after its device thread gave up
    camsim::useFleet(profiles);
    const QString pingLog = usePingLog();
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 2));
    const auto rowOf = [&](const std::string& mac) {
        for (int r = 0; r < frame.deviceTable()->rowCount(); ++r) {
            if (frame.deviceTable()->getData(r, CTableView::ColMac).toString().toStdString() == mac)
                return r;
        }
        return -1;
    };
    const auto checkOnly = [&](const std::string& mac) {
        frame.deviceTable()->setIsCheckAll(false);
        frame.deviceTable()->setRowChecked(rowOf(mac), true);
        ASSERT_EQ(frame.checkedRows().size(), 1);
    };
    OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord("127.0.7.50");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    ozmParamsMgr()->setWaitInfo(86400);
    OZM::SC_OTHERPARAMENABLE flags{};
    flags.flag[OZM::FamilyTcpIp] = 1;
    ozmParamsMgr()->setOtherParamEnable(&flags);
    ASSERT_NO_FATAL_FAILURE(checkOnly(profiles[0].mac));
    harness::LogCapture log;
    {
        frametest::LongLimits limits;
        frame.onModifyOtherParameters(); // returns once the run's table was closed
    }
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].rows.value(0).value(1).toStdString(), "Success") << "B took .50";
    camsim::CameraProfile b;
    ASSERT_TRUE(camsim::findCamera(profiles[0].mac, &b));
    ASSERT_FALSE(b.online) << "B is still on its way: the test needs it away throughout";
    EXPECT_EQ(log.count("the address stays held"), 1) << "the thread that gave up says so once";

    camsim::clearCallLog();
    QFile::remove(pingLog);
    const OZM::_SC_SETIP_DATA_ info = ipRecord(1, "127.0.7.50");
    ozmParamsMgr()->setIpInfo(&info);
    ASSERT_NO_FATAL_FAILURE(checkOnly(profiles[1].mac));
    Access::button(frame, "modifyIp")->click();
    EXPECT_EQ(sentNewIps(), std::vector<std::string>{"127.0.7.51"}) << ".50 was sent to a second camera";
    EXPECT_TRUE(log.contains("pNewIp is held by a change in progress,pNewIp = 127.0.7.50"));
    QFile pinged(pingLog);
    if (pinged.open(QIODevice::ReadOnly)) {
        EXPECT_FALSE(pinged.readAll().contains("127.0.7.50\n")) << "a held address is not pinged";
    }
    ASSERT_TRUE(camsim::findCamera(profiles[0].mac, &b));
    EXPECT_FALSE(b.online) << "the IP change ran while B was away";
}

// A refusal whose MAC is spelled otherwise (lower case, dashes) than the search's is its camera's:
// its row fails, the table says "Failed", and the address it was sent is free again.
TEST_F(NetInfoBatchTest, RefusalWithTheMacSpelledOtherwiseIsItsCamerasAnswer) {
    const std::vector<camsim::CameraProfile> profiles = camsim::defaultFleet(1);
    camsim::useFleet(profiles);
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 1));
    camsim::inject(
        {profiles[0].mac, "KVX_NET_ModifyNetInfo", false, true, 0, -1}); // its own answer never comes
    const std::string upper = profiles[0].mac;
    QString lower = QString::fromStdString(upper).toLower();
    QString dashes = QString::fromStdString(upper).replace(':', '-');
    for (const QString& spelled : {lower, dashes}) {
        SCOPED_TRACE(spelled.toStdString());
        tables.clear();
        const OZM::_SC_SETIP_DATA_ info = ipRecord(0, "127.0.7.60");
        ozmParamsMgr()->setIpInfo(&info);
        onBusy = [&] {
            DSC_MODIFY_NETINFO_RESPONSE resp;
            std::memset(&resp, 0, sizeof resp);
            std::snprintf(resp.tag, sizeof resp.tag, "%s", DSC_TAG);
            resp.type = DSC_TYPE_MODIFY_RESPONSE;
            resp.result = 1;
            resp.changeMask = 28;
            std::snprintf(resp.mac, sizeof resp.mac, "%s", spelled.toLatin1().constData());
            std::snprintf(resp.newIp, sizeof resp.newIp, "%s", profiles[0].ip.c_str());
            frame.onModifyNetInfoResult(&resp);
        };
        Access::button(frame, "modifyIp")->click();
        ASSERT_EQ(tables.size(), 1u);
        EXPECT_EQ(tables[0].rows.value(0).value(1).toStdString(), "Failed");
        EXPECT_EQ(status(frame, 0).toStdString(), "Modify IP Failed");
        EXPECT_TRUE(frame.engine()->addressLedger().mayHandOut("127.0.7.60"))
            << "the camera stays where it is";
    }
}

class SlotAccess : public DeviceManager {
public:
    static LoginSlot* slot(DeviceManager& engine, int index) {
        return (engine.*(&SlotAccess::slotPointer))(index);
    }
};

// Each row of an IP change ends on its own relogin at the new address, and only then is the result
// table shown: not on a login begun before the change's answer (camera 0), and a camera whose
// session was lost is logged in again, not written off (camera 1).
TEST_F(NetInfoBatchTest, IpChangeRowsEndOnTheirOwnRelogins) {
    const std::vector<camsim::CameraProfile> profiles = camsim::defaultFleet(3);
    camsim::useFleet(profiles);
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 3));
    DeviceManager& engine = *frame.engine();
    const LoginSlot lost = engine.slotsForMac(profiles[1].mac).at(0);
    DeviceManager::onSdkMessage(static_cast<int>(lost.hIPCLogin), KVX_MSG_LOGIN_FAILED, nullptr,
                                SlotAccess::slot(engine, lost.index));
    ASSERT_TRUE(harness::waitFor([&] {
        for (int r = 0; r < 3; ++r) {
            if (frame.deviceTable()->getData(r, CTableView::ColMac).toString().toStdString() ==
                profiles[1].mac)
                return status(frame, r) == "Login Failed";
        }
        return false;
    }));
    // Camera 0's login, begun now, answers only after its change's answer.
    camsim::inject({profiles[0].mac, "KVX_NET_Login", false, false, 3000, 1});
    ASSERT_EQ(engine.reloginDeviceNow(engine.findSearchInfo(profiles[0].mac).get()), 0);
    const OZM::_SC_SETIP_DATA_ info = ipRecord(1, "127.0.8.10");
    ozmParamsMgr()->setIpInfo(&info);
    QStringList statusesAtTable;
    std::vector<std::string> loginsAtTable;
    closer().setDecider([&](QWidget* w) {
        if (qobject_cast<ProgressBarDialog*>(w))
            return harness::ModalCloser::Action::Leave;
        if (auto* table = qobject_cast<ShowResultDialog*>(w)) {
            tables.push_back(frametest::readTable(*table));
            for (int r = 0; r < 3; ++r)
                statusesAtTable << status(frame, r);
            for (const camsim::CallRecord& call : camsim::calls("KVX_NET_Login"))
                loginsAtTable.push_back(call.text);
        }
        return harness::ModalCloser::Action::Reject;
    });
    {
        frametest::LongLimits limits;
        Access::button(frame, "modifyIp")->click();
    }
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(statusesAtTable.join(" | ").toStdString(),
              "Login Successful | Login Successful | Login Successful");
    const std::vector<std::string> sent = sentNewIps();
    for (const std::string& ip : sent)
        EXPECT_EQ(std::count(loginsAtTable.begin(), loginsAtTable.end(), ip), 1) << "relogin at " << ip;
    EXPECT_EQ(sent.size(), 3u);
}

// A camera without a login changed twice before a search, and found at its second address: the
// first one is free again, and the next change hands it out.
TEST_F(NetInfoBatchTest, AnAddressIsFreedWhenItsCameraIsFoundAtALaterOne) {
    const std::vector<camsim::CameraProfile> profiles = camsim::defaultFleet(2);
    camsim::useFleet(profiles);
    camsim::inject({profiles[0].mac, "KVX_NET_Login", true, false, 0, 100});
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(frame, 2, 1));
    const auto rowOf = [&](const std::string& mac) {
        for (int r = 0; r < frame.deviceTable()->rowCount(); ++r) {
            if (frame.deviceTable()->getData(r, CTableView::ColMac).toString().toStdString() == mac)
                return r;
        }
        return -1;
    };
    const auto changeOnly = [&](const std::string& mac, const OZM::_SC_SETIP_DATA_& info) {
        frame.deviceTable()->setIsCheckAll(false);
        frame.deviceTable()->setRowChecked(rowOf(mac), true);
        ozmParamsMgr()->setIpInfo(&info);
        Access::button(frame, "modifyIp")->click();
    };
    const auto cameraAt = [](const std::string& mac, const std::string& ip) {
        return harness::waitFor([&] {
            camsim::CameraProfile now;
            return camsim::findCamera(mac, &now) && now.ip == ip && now.online;
        });
    };
    changeOnly(profiles[0].mac, ipRecord(0, "127.0.9.70"));
    ASSERT_TRUE(cameraAt(profiles[0].mac, "127.0.9.70"));
    changeOnly(profiles[0].mac, ipRecord(0, "127.0.9.100"));
    ASSERT_TRUE(cameraAt(profiles[0].mac, "127.0.9.100"));
    ASSERT_TRUE(frametest::searchAndLogin(frame, 1, 1));
    ASSERT_EQ(tables.size(), 2u);
    camsim::clearCallLog();
    harness::LogCapture log;
    changeOnly(profiles[1].mac, ipRecord(1, "127.0.9.70"));
    EXPECT_EQ(sentNewIps(), std::vector<std::string>{"127.0.9.70"});
    EXPECT_FALSE(log.contains("pNewIp is held"));
}

} // namespace
