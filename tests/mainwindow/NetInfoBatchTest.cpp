// The network-information batches, reboot and recoveries, the sweeps and their result tables,
// against the simulated fleet with the stand-in ping.
#include "DeviceManager.h"
#include "MainFrame.h"
#include "MainWindowTestSupport.h"
#include "ProgressBarDialog.h"
#include "ShowResultDialog.h"
#include "Cmodifytableview.h"

#include "camsim/SimControl.h"
#include "harness/LogCapture.h"
#include "ozmlogic/ParamsMgr.h"
#include "quillet/Quillet.h"
#include "tarsel/CTableView.h"
#include "winport/WinPort.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <set>
#include <thread>

class MainFrameTestAccess {
public:
    static QPushButton* button(MainFrame& f, const char* which) {
        const std::string w = which;
        if (w == "modifyIp")
            return f._modifyIpBtn;
        if (w == "openDhcp")
            return f._openDhcpBtn;
        if (w == "closeDhcp")
            return f._closeDhcpBtn;
        if (w == "openNetcom")
            return f._openFullNetcomBtn;
        if (w == "closeNetcom")
            return f._closeFullNetcomBtn;
        if (w == "reboot")
            return f._rebootBtn;
        if (w == "simple")
            return f._simpleRecoveryBtn;
        if (w == "full")
            return f._fullRecoveryBtn;
        return f._searchBtn;
    }
    static std::vector<NetInfoResultInfo> netInfo(MainFrame& f) {
        std::lock_guard<std::mutex> lock(f._pendingMutex);
        return f._netInfoList;
    }
    static std::vector<DeviceResultInfo> reboots(MainFrame& f) {
        std::lock_guard<std::mutex> lock(f._pendingMutex);
        return f._rebootList;
    }
    static void setNetInfo(MainFrame& f, std::vector<NetInfoResultInfo> list) {
        std::lock_guard<std::mutex> lock(f._pendingMutex);
        f._netInfoList = std::move(list);
    }
    static void setReboots(MainFrame& f, std::vector<DeviceResultInfo> list) {
        std::lock_guard<std::mutex> lock(f._pendingMutex);
        f._rebootList = std::move(list);
    }
    static void open(MainFrame& f, int kind, std::uint64_t start) {
        f._openKind = kind;
        f._batchStartTick = start;
    }
    static void sweep(MainFrame& f, int kind, int n, std::uint64_t now) { f.sweep(kind, n, now); }
    static bool batchRunning(MainFrame& f) { return f._netBatchRunning || f._netBatchThread.joinable(); }
};

namespace {

using Access = MainFrameTestAccess;

struct SeenTable {
    QStringList headers;
    QList<QStringList> rows;
};

OZM::_SC_SETIP_DATA_ ipRecord(std::uint32_t mode, const char* ip, const char* mask = "255.0.0.0",
                              const char* gateway = "127.0.0.1") {
    OZM::_SC_SETIP_DATA_ info;
    std::memset(&info, 0, sizeof info);
    info.mode = mode;
    std::strncpy(info.ip, ip, sizeof info.ip - 1);
    std::strncpy(info.mask, mask, sizeof info.mask - 1);
    std::strncpy(info.gateway, gateway, sizeof info.gateway - 1);
    return info;
}

std::string text(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t width) {
    std::string out;
    for (std::size_t i = offset; i < offset + width && i < bytes.size() && bytes[i]; ++i)
        out += static_cast<char>(bytes[i]);
    return out;
}

std::uint32_t u32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

class NetInfoBatchTest : public mwtest::MainWindowTest {
protected:
    void SetUp() override {
        mwtest::MainWindowTest::SetUp();
        const QByteArray simPing = qgetenv("CORVANE_BIN_DIR") + "/simping";
        _path = qgetenv("PATH");
        qputenv("PATH", simPing + ":" + _path);
        // Nothing may be pinged but through the stand-in.
        ASSERT_EQ(QStandardPaths::findExecutable("ping"), QString(simPing + "/ping"));
        camsim::resetWorld();
        ozmParamsMgr()->setSearchTime(5);
        closer().setDecider([this](QWidget* w) {
            if (qobject_cast<ProgressBarDialog*>(w)) {
                // Taken first: the closer polls again while the action runs the event loop.
                const std::function<void()> action = std::move(onBusy);
                onBusy = nullptr;
                if (action)
                    action();
                return harness::ModalCloser::Action::Leave;
            }
            if (auto* table = qobject_cast<ShowResultDialog*>(w)) {
                SeenTable seen;
                QAbstractItemModel* model = static_cast<QTableView*>(table->table())->model();
                for (int c = 0; c < model->columnCount(); ++c)
                    seen.headers << model->headerData(c, Qt::Horizontal).toString();
                for (int r = 0; r < table->table()->rowCount(); ++r)
                    seen.rows << QStringList{table->table()->getData(r, 0).toString(),
                                             table->table()->getData(r, 1).toString()};
                tables.push_back(seen);
            }
            return harness::ModalCloser::Action::Reject;
        });
    }
    void TearDown() override {
        qunsetenv("CORVANE_SIM_PING_UP");
        qunsetenv("CORVANE_SIM_PING_UNROUTABLE");
        qunsetenv("CORVANE_SIM_PING_LOG");
        qputenv("PATH", _path);
        camsim::resetWorld();
        mwtest::MainWindowTest::TearDown();
    }

    // Searches the loopback card, waits for every login (but refused ones: "Login Failed") and
    // checks every row.
    static void searchAndCheckAll(MainFrame& frame, int count, int refused = 0) {
        auto* box = frame.findChild<QComboBox*>("networkCardTypeBox");
        box->setCurrentIndex(box->findText("[127.0.0.1]", Qt::MatchContains));
        Access::button(frame, "search")->click();
        CTableView* table = frame.deviceTable();
        ASSERT_TRUE(harness::waitFor(
            [&] {
                int ok = 0, failed = 0;
                for (int r = 0; r < table->rowCount(); ++r) {
                    const QString text = table->getData(r, CTableView::ColStatus).toString();
                    ok += text == "Login Successful";
                    failed += text == "Login Failed";
                }
                return ok == count - refused && failed == refused;
            },
            30000));
        table->setIsCheckAll(true);
        ASSERT_EQ(frame.checkedRows().size(), count);
    }
    static QString status(MainFrame& frame, int row) {
        return frame.deviceTable()->getData(row, CTableView::ColStatus).toString();
    }
    static std::vector<std::string> sentNewIps() {
        std::vector<std::string> ips;
        for (const camsim::CallRecord& call : camsim::calls("KVX_NET_ModifyNetInfo"))
            ips.push_back(text(call.in, 92, 16));
        return ips;
    }

    std::function<void()> onBusy;
    std::vector<SeenTable> tables;

private:
    QByteArray _path;
};

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
         "Failed"},
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
        {"never saved", OZM::_SC_SETIP_DATA_{}, "", -1, {}, "invalid start address", -1},
        {"short", ipRecord(1, "127.0.1"), "", -1, {}, "invalid start address", -1},
        {"zero", ipRecord(0, "0.0.0.0"), "", -1, {}, "invalid start address", -1},
        {"broadcast", ipRecord(1, "255.255.255.255"), "", -1, {}, "invalid start address", -1},
        {"multicast",
         ipRecord(1, "224.0.0.1", "255.0.0.0", "224.0.0.2"),
         "",
         -1,
         {},
         "invalid start address",
         -1},
        {"multicast start",
         ipRecord(1, "224.0.0.0", "255.0.0.0", "224.0.0.1"),
         "",
         -1,
         {},
         "invalid start address",
         -1},
        {"multicast start mode 0",
         ipRecord(0, "224.0.0.0", "255.0.0.0", "224.0.0.1"),
         "",
         -1,
         {},
         "invalid start address",
         -1},
        {"first number 0",
         ipRecord(1, "0.1.2.3", "255.0.0.0", "0.1.0.1"),
         "",
         -1,
         {},
         "invalid start address",
         -1},
        {"first number 0 mode 0",
         ipRecord(0, "0.1.2.3", "255.0.0.0", "0.1.0.1"),
         "",
         -1,
         {},
         "invalid start address",
         -1},
        {"bad mask", ipRecord(1, "127.0.1.10", "255.0"), "", -1, {}, "invalid start address", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        camsim::resetWorld();
        camsim::useFleet(camsim::defaultFleet(3));
        qputenv("CORVANE_SIM_PING_UP", c.pingUp);
        qputenv("CORVANE_SIM_PING_UNROUTABLE", c.unroutable);
        QTemporaryDir logDir;
        const QString pingLog = logDir.filePath("pings.log");
        qputenv("CORVANE_SIM_PING_LOG", pingLog.toUtf8());
        tables.clear();
        if (c.rowLoginRefused >= 0)
            camsim::inject({camsim::fleet().at(c.rowLoginRefused).mac, "KVX_NET_Login", true, false, 0, 1});
        MainFrame frame;
        searchAndCheckAll(frame, 3, c.rowLoginRefused >= 0 ? 1 : 0);
        if (c.rowWithoutRecord >= 0)
            frame.engine()->removeSearchInfo(frame.checkedRows().at(c.rowWithoutRecord).at(8).toStdString());
        ozmParamsMgr()->setIpInfo(&c.info);
        camsim::clearCallLog();
        const int modalsBefore = closer().count();
        harness::LogCapture log;

        const std::uint64_t clicked = GetTickCount();
        Access::button(frame, "modifyIp")->click(); // returns when the busy indicator closed
        const std::uint64_t took = GetTickCount() - clicked;
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

// An address that a device thread of the other-parameter run holds (its camera not moved there
// yet) is skipped by the IP change unpinged, with the run's own log line.
TEST_F(NetInfoBatchTest, IpChangeSkipsAnAddressAnOtherParameterThreadHolds) {
    camsim::useFleet(camsim::defaultFleet(3));
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    QTemporaryDir logDir;
    const QString pingLog = logDir.filePath("pings.log");
    qputenv("CORVANE_SIM_PING_LOG", pingLog.toUtf8());
    MainFrame frame;
    searchAndCheckAll(frame, 3);
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
    EXPECT_TRUE(log.contains("pNewIp is held by a running device thread,pNewIp = 127.0.1.60"));
    QFile f(pingLog);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().toStdString(),
              "-c 1 -W 0.015 127.0.1.61\n-c 1 -W 0.015 127.0.1.62\n-c 1 -W 0.015 127.0.1.63\n");
    EXPECT_EQ(camsim::heldCalls(), 1) << "camera 0's thread held the address throughout";
    camsim::releaseHeldCalls();
    EXPECT_TRUE(harness::waitFor([&] { return frame.engine()->otherParamThreads() == 0; }, 20000))
        << "camera 0's device thread did not end";
}

// Request bytes of the DHCP and full-netcom switches, the answers in the rows and records, and
// the end of the run marking the cameras that never answered.
TEST_F(NetInfoBatchTest, DhcpAndFullNetcomRequestsAnswersAndTimeouts) {
    std::vector<camsim::CameraProfile> profiles = camsim::defaultFleet(3);
    profiles[0].column3Flag = 1; // its full-netcom answers carry "Yes"
    camsim::useFleet(profiles);
    MainFrame frame;
    searchAndCheckAll(frame, 3);
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
    searchAndCheckAll(frame, 2);
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
    QObject::connect(&frame, &MainFrame::modifyNetInfoEnd, &frame, [&ends] { ++ends; }, Qt::DirectConnection);
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
    searchAndCheckAll(frame, 2);
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
        searchAndCheckAll(frame, 40);
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
