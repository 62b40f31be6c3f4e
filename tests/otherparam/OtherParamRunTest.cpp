// The other-parameter run against the simulated fleet: the time limit, the start, new
// addresses, the end paths, threads across runs and many cameras at once.
#include "OtherParamTestSupport.h"
#include "TcpIpRecord.h"

using namespace otherparamtest;

namespace {

// The parameter store of this process lives in a temporary folder.
const auto* const storeEnvironment = harness::addProgramTestDir();

// ------------------------------------------------------------------ rules without cameras

TEST(OtherParamRules, TimeLimitFollowsFlagsAndDeviceCount) {
    using F = std::vector<int>;
    const struct {
        F on;
        int devices;
        int wait;
        int limit;
    } cases[] = {
        {{0, 1, 5, 8}, 1, 1000, 360},
        {{0, 1, 5}, 1, 1000, 300},
        {{1, 5, 8}, 1, 1000, 300},
        {{0, 1, 5, 8, 2}, 3, 1000, 1000},
        {{2}, 2, 1000, 600},
        {{2}, 4, 86400, 1200},
        {{0, 1, 5, 8}, 2, 500, 500},
        {{2}, 1, 1, 1},
        {{2}, 0, 360, 0},
    };
    for (const auto& c : cases) {
        OZM::SC_OTHERPARAMENABLE flags{};
        for (int f : c.on)
            flags.flag[f] = 1;
        EXPECT_EQ(DeviceManager::otherParamTimeLimit(flags, c.devices, c.wait), c.limit)
            << c.devices << " devices, wait " << c.wait;
        // A flag other than 1 does not count.
        for (int f : c.on)
            flags.flag[f] = 2;
        EXPECT_EQ(DeviceManager::otherParamTimeLimit(flags, c.devices, c.wait),
                  std::min(c.devices * 300, c.wait));
    }
}

// ------------------------------------------------------------------ start

TEST_F(OtherParamTest, NoFlagEqualToOneRefusesTheRun) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    const std::vector<std::array<int, 2>> fills = {{0, 0}, {2, 2}, {-1, 7}};
    for (const auto& fill : fills) {
        OZM::SC_OTHERPARAMENABLE flags{};
        for (int f = 0; f < OZM::FamilyCount; ++f)
            flags.flag[f] = fill[f % 2];
        ozmParamsMgr()->setOtherParamEnable(&flags);
        RunCloser closer;
        EXPECT_EQ(engine->startOtherParamConfig(rows({0, 1})), -1);
        EXPECT_EQ(closer.tips, QStringList{"Please select a set first!"}) << fill[0] << "," << fill[1];
        EXPECT_TRUE(closer.tables.empty());
    }
    EXPECT_TRUE(camsim::callLog().empty());
    EXPECT_TRUE(pings().isEmpty());
}

// ------------------------------------------------------------------ new addresses

// New addresses from the start address: answering ones, the subnet's network and broadcast
// addresses and addresses whose ping could not run are never handed out (one that no route
// reaches is free); the end of the range stops the run from starting further devices, and the
// run says so. Per camera the expected address, or "" (its TCP/IP fails without a request), "-"
// (no device thread: its record times out) or "x" (no record at all). Every ping is one echo
// request with 5 ms for its reply.
TEST_F(OtherParamTest, NewAddressesSkipAnsweringOnesAndNeverWrap) {
    useCameras(3);
    const struct {
        const char* start;
        const char* mask;
        const char* answering;
        QStringList pinged;   // every address pinged, sorted
        QStringList assigned; // per row: new address, "" none, "-" range ran out at it, "x" after that
        const char* log;
        int wait = 700; // stored wait time: the limit is min(3 x 300, wait)
        const char* unroutable = "";
    } cases[] = {
        {"127.0.5.10",
         "255.0.0.0",
         "127.0.5.10,127.0.5.11,127.0.5.13",
         {"127.0.5.10", "127.0.5.11", "127.0.5.12", "127.0.5.13", "127.0.5.14", "127.0.5.15"},
         {"127.0.5.12", "127.0.5.14", "127.0.5.15"},
         "pNewIp is used,pNewIp = 127.0.5.13"},
        {"127.0.5.40",
         "255.0.0.0",
         "127.0.5.41",
         {"127.0.5.40", "127.0.5.41", "127.0.5.42", "127.0.5.43"},
         {"127.0.5.40", "127.0.5.42", "127.0.5.43"},
         "pNewIp is used,pNewIp = 127.0.5.41",
         700,
         "127.0.5.40,127.0.5.42"},
        // .255 and the next subnet's .0 are skipped without a ping.
        {"127.0.5.254",
         "255.255.255.0",
         "",
         {"127.0.5.254", "127.0.6.1", "127.0.6.2"},
         {"127.0.5.254", "127.0.6.1", "127.0.6.2"},
         "pNewIp = 127.0.6.0"},
        // The lowest start address is taken; the stand-in cannot ping outside 127/8.
        {"1.0.0.0",
         "128.0.0.0",
         "",
         {"1.0.0.0", "1.0.0.1", "1.0.0.2"},
         {"", "", ""},
         "ping could not run, no new address for mac:00:1A:2B:00:00:01,pNewIp = 1.0.0.0"},
        // No verdict for .254; .255 is the broadcast address and the last of the range.
        {"223.255.255.254",
         "255.255.255.252",
         "",
         {"223.255.255.254"},
         {"", "-", "x"},
         "laddr is 0xFFFFFFFF",
         60},
        // The last unicast address is the last one handed out: 224.0.0.0 is multicast.
        {"223.255.255.255",
         "255.255.255.255",
         "",
         {"223.255.255.255"},
         {"", "-", "x"},
         "laddr is 0xFFFFFFFF",
         60},
        {"", "255.0.0.0", "", {}, {"", "", ""}, "invalid start address"},
        {"127.0.5", "255.0.0.0", "", {}, {"", "", ""}, "invalid start address"},
        {"127.0.5.256", "255.0.0.0", "", {}, {"", "", ""}, "invalid start address"},
        {"127.0.05.1", "255.0.0.0", "", {}, {"", "", ""}, "invalid start address"},
        {"0.0.0.0", "255.0.0.0", "", {}, {"", "", ""}, "invalid start address"},
        {"0.1.2.3", "255.0.0.0", "", {}, {"", "", ""}, "invalid start address"},
        {"224.0.0.0", "255.0.0.0", "", {}, {"", "", ""}, "invalid start address"},
        {"255.255.255.254", "255.0.0.0", "", {}, {"", "", ""}, "invalid start address"},
    };
    winport::setTimeScale(0.02); // the logins of each case within their 30 s on a busy machine
    struct Unset {
        ~Unset() {
            qunsetenv("CORVANE_SIM_PING_UNROUTABLE");
            qunsetenv("CORVANE_SIM_PING_LOG");
        }
    } unset;
    const QString argsLog = bin.filePath("ping-args.log");
    qputenv("CORVANE_SIM_PING_LOG", argsLog.toUtf8());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        QFile::remove(argsLog);
        qputenv("CORVANE_SIM_PING_UNROUTABLE", c.unroutable);
        ozmParamsMgr()->setWaitInfo(c.wait);
        // A fresh engine per case: the previous case's restarts leave nothing behind.
        engine.reset();
        camsim::useFleet(camsim::defaultFleet(3));
        engine = std::make_unique<enginetest::TestableDeviceManager>();
        fleet = camsim::fleet();
        ASSERT_NO_FATAL_FAILURE(loginFleet());
        QFile::remove(pingLog);
        qputenv("CORVANE_SIM_PING_UP", c.answering);
        OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord(c.start, c.mask);
        ozmParamsMgr()->setTcpIpInfo(&tcp);
        enable({OZM::FamilyTcpIp, OZM::FamilyDdns});

        RunCloser closer;
        harness::LogCapture log;
        ASSERT_TRUE(runToTheEnd(rows({0, 1, 2})));
        EXPECT_TRUE(log.contains(c.log)) << c.log;
        EXPECT_EQ(engine->otherParamWaitTime(), std::min(3 * 300, c.wait)) << "three rows";
        // Probes run a few ahead of their turn, never for an address that is not wanted; the
        // restart pings go to the assigned addresses only.
        QStringList pinged = pings();
        pinged.removeDuplicates();
        pinged.sort();
        EXPECT_EQ(pinged, c.pinged);
        QFile argsFile(argsLog);
        QStringList args;
        if (argsFile.open(QIODevice::ReadOnly))
            args = QString::fromUtf8(argsFile.readAll()).split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(args.size(), pings().size());
        for (const QString& line : args)
            EXPECT_TRUE(line.startsWith("-c 1 -W 0.005 ") && c.pinged.contains(line.mid(14)))
                << line.toStdString();
        ASSERT_EQ(closer.tables.size(), 1u);
        // A run whose addresses ran out says so before its table.
        EXPECT_EQ(closer.tips, c.assigned.contains("-")
                                   ? QStringList{"No free IP address is left: the remaining "
                                                 "devices were not changed!"}
                                   : QStringList{});
        int records = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            const QString want = c.assigned[int(i)];
            camsim::CameraProfile now;
            ASSERT_TRUE(camsim::findCamera(fleet[i].mac, &now));
            const bool started = want != "-" && want != "x";
            EXPECT_EQ(callsTo("KVX_NET_GetDDNS2", i).size(), started ? 1u : 0u) << "device thread";
            // "x", a row after the range ran out, was never reached: in the table all the same.
            const QStringList shown = closer.tables[0].rows.value(records++);
            EXPECT_EQ(shown.value(0), QString::fromStdString(fleet[i].ip));
            if (!started) {
                EXPECT_EQ(statuses(i), (QStringList{"Modify DDNS Failed", "Modify Tcp/Ip Failed"}));
                EXPECT_EQ(shown.mid(1), (QStringList{"Failed", "Failed"}));
            } else if (want.isEmpty()) {
                EXPECT_EQ(statuses(i), (QStringList{"Modify DDNS Success", "Modify Tcp/Ip Failed"}));
                EXPECT_TRUE(callsTo("KVX_NET_GetNetPropertyEx", i).empty()) << "nothing sent";
                EXPECT_TRUE(callsTo("KVX_NET_SetNetPropertyEx", i).empty()) << "nothing sent";
                EXPECT_TRUE(texts(8, i).isEmpty());
                EXPECT_EQ(now.ip, fleet[i].ip);
                EXPECT_EQ(shown.value(1), "Success") << "the other family is applied";
                EXPECT_EQ(shown.value(2), "Failed");
            } else {
                EXPECT_EQ(texts(8, i), QStringList{want + "|New IP:" + want});
                EXPECT_EQ(now.ip, want.toStdString());
                EXPECT_EQ(loginsTo(want.toStdString()), 1);
                EXPECT_EQ(shown.value(2), "Success");
            }
        }
        EXPECT_EQ(closer.tables[0].rows.size(), records);
    }
}

// A run that ends while the configuration thread still looks for an address starts no device
// thread, neither then, nor once the address is found, nor when the engine shuts down.
TEST_F(OtherParamTest, EndedRunStartsNoFurtherDevices) {
    useCameras(2);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    qputenv("OTHERPARAM_PING_DELAY", "0.05");
    QStringList busy;
    for (int i = 1; i <= 12; ++i)
        busy << QString("127.0.7.%1").arg(i);
    qputenv("CORVANE_SIM_PING_UP", busy.join(',').toUtf8());
    OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord("127.0.7.1", "255.0.0.0", "", "");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    ozmParamsMgr()->setWaitInfo(1);
    enable({OZM::FamilyDdns, OZM::FamilyTcpIp});
    {
        RunCloser closer;
        ASSERT_EQ(engine->startOtherParamConfig(rows({0, 1})), 0);
        ASSERT_EQ(closer.tables.size(), 1u);
        EXPECT_EQ(closer.tables[0].rows.value(0), (QStringList{"127.0.0.11", "Failed", "Failed"}));
    }
    // Twelve busy addresses take the probes about 0.3 s: a thread started after them would
    // have applied DDNS well within this wait.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000 && camsim::calls("KVX_NET_GetDDNS2").empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(camsim::calls("KVX_NET_GetDDNS2").empty()) << "a device thread of the ended run started";
    EXPECT_EQ(engine->otherParamThreads(), 0);
    engine.reset(); // ends the configuration thread
    EXPECT_TRUE(camsim::calls("KVX_NET_GetDDNS2").empty());
}

// ------------------------------------------------------------------ port, then TCP/IP refused

TEST_F(OtherParamTest, PortStopsAtFirstFailureAndRefusedAddressChangeFails) {
    useCameras(2);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    OZM::_SC_PORT_DATA port{8080, 554, 0, 8899, 1}; // the camera refuses HTTPS port 0
    ozmParamsMgr()->setPortParamInfo(&port);
    OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord("127.0.6.1");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    enable({OZM::FamilyPort, OZM::FamilyTcpIp});
    camsim::inject({fleet[1].mac, "KVX_NET_SetNetPropertyEx", true, false, 0, -1});

    RunCloser closer;
    ASSERT_TRUE(runToTheEnd(rows({0, 1})));
    for (std::size_t i = 0; i < 2; ++i) {
        const auto sets = callsTo("KVX_NET_SetAgreementProperty", i);
        ASSERT_EQ(sets.size(), 2u) << "ONVIF and HTTP are not sent";
        EXPECT_EQ(sets[0].in[1], KVX_AGREEMENT_RTSP);
        EXPECT_EQ(u16(sets[0].in, 2), 554);
        EXPECT_EQ(sets[1].in[1], KVX_AGREEMENT_HTTPS);
        EXPECT_TRUE(texts(9, i).isEmpty());
        camsim::CameraProfile now;
        ASSERT_TRUE(camsim::findCamera(fleet[i].mac, &now));
        EXPECT_EQ(now.httpPort, 80);
    }
    EXPECT_EQ(statuses(0), (QStringList{"Modify Port Failed", "Modify Tcp/Ip Success"}));
    EXPECT_EQ(texts(8, 0), QStringList{"127.0.6.1|New IP:127.0.6.1"});
    // A refused address change is a failure and the engine keeps the old address.
    EXPECT_EQ(statuses(1), (QStringList{"Modify Port Failed", "Modify Tcp/Ip Failed"}));
    EXPECT_TRUE(texts(8, 1).isEmpty());
    EXPECT_STREQ(engine->findSearchInfo(fleet[1].mac)->ip, fleet[1].ip.c_str());
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].headers, (QStringList{"IP", "Setting TCP/IP", "Setting Port"}));
    EXPECT_EQ(closer.tables[0].rows,
              (QList<QStringList>{{"127.0.0.11", "Success", "Failed"}, {"127.0.0.12", "Failed", "Failed"}}));
}

// ------------------------------------------------------------------ end paths

// The time limit marks every pending family of a device that never got a login, sending the
// failure texts in their fixed order, and the table shows "Failed" in every column. The next
// run is judged by its own limit from its start, not by the shorter one of the run before.
TEST_F(OtherParamTest, TimeLimitMarksPendingFamilies) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    // A search record without a login: its families stay pending.
    const auto record = enginetest::searchRecord(camsim::fleet()[0]);
    DSC_SEARCH_RESPONSE_INFO stray = record;
    std::strcpy(stray.mac, "02:00:00:00:99:99");
    std::strcpy(stray.ip, "127.0.0.99");
    engine->addSearchInfo(stray.mac, &stray);
    QStringList strayRow = row(0);
    strayRow[8] = stray.mac;
    ozmParamsMgr()->setWaitInfo(1);
    OZM::_SC_SETAUDIOINPUT_DATA_ board{};
    board.applyInput = 1;
    ozmParamsMgr()->setAudioBoard(&board);
    OZM::SC_OTHERPARAMENABLE all{};
    for (int f = 0; f < OZM::FamilyCount; ++f)
        all.flag[f] = 1;
    ozmParamsMgr()->setOtherParamEnable(&all);
    RunCloser closer;
    ASSERT_TRUE(runToTheEnd({strayRow}));
    QStringList sent;
    for (const auto& note : notes->with(2, "02:00:00:00:99:99"))
        sent << note.texts.value(1);
    // The device thread's own failures (no login) may come before or after the time limit's.
    const QStringList inOrder{"Modify DDNS Failed",
                              "P2P Modify Failed",
                              "Modify GB28181 Failed",
                              "Modify Privacy Failed",
                              "Modify Motion Detection Failed",
                              "Modify Video Param Failed",
                              "Set Audio Param Failed",
                              "Set OSD Failed",
                              "Modify Image Param Failed",
                              "Modify Account Failed",
                              "Set Time Failed",
                              "Set Timer To Restart Failed",
                              "Set Audio Board Failed",
                              "Modify Tcp/Ip Failed",
                              "Modify Port Failed"};
    bool found = false;
    for (int at = 0; !found && at + inOrder.size() <= sent.size(); ++at)
        found = sent.mid(at, inOrder.size()) == inOrder;
    EXPECT_TRUE(found) << sent.join(", ").toStdString();
    const auto results = engine->otherParamResults();
    ASSERT_EQ(results.size(), 1u);
    for (int f = 0; f < OZM::FamilyCount; ++f)
        EXPECT_EQ(results[0].results[f], 3) << f;
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].headers, kAllHeaders);
    QStringList failed{"127.0.0.99"};
    for (int f = 0; f < OZM::FamilyCount; ++f)
        failed << "Failed";
    EXPECT_EQ(closer.tables[0].rows, QList<QStringList>{failed});

    // Limit 300 s (15 s here); camera 0's DDNS read is held past the earlier run's 1 s and two
    // checks of the timer.
    winport::setTimeScale(0.05);
    ozmParamsMgr()->setWaitInfo(360);
    enable({OZM::FamilyDdns});
    notes->clear();
    camsim::Injection hold{fleet[0].mac, "KVX_NET_GetDDNS2", false, false, 0, 1};
    hold.held = true;
    camsim::inject(hold);
    const std::uint64_t started = GetTickCount();
    closer.onBusy = [&] {
        if (camsim::heldCalls() == 1 && GetTickCount() - started >= 5000)
            camsim::releaseHeldCalls();
    };
    ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
    camsim::releaseHeldCalls(); // still held when the run ended early
    ASSERT_TRUE(waitThreads());
    EXPECT_EQ(engine->otherParamWaitTime(), 300) << "one row";
    EXPECT_GE(GetTickCount() - started, 5000u);
    EXPECT_EQ(statuses(0), QStringList{"Modify DDNS Success"});
    ASSERT_EQ(closer.tables.size(), 2u);
    EXPECT_EQ(closer.tables[1].rows, (QList<QStringList>{{"127.0.0.11", "Success"}}));
}

// Results go to the first record of their MAC in the current run: a MAC listed twice fills
// only its first record, the second one times out.
TEST_F(OtherParamTest, ResultsGoToTheFirstRecordOfTheirMac) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    ozmParamsMgr()->setWaitInfo(100);
    enable({OZM::FamilyDdns});
    RunCloser closer;
    ASSERT_TRUE(runToTheEnd({row(0), row(1), row(0)}));
    EXPECT_EQ(notes->count(2, mac(0), "Modify DDNS Success"), 2);
    const auto results = engine->otherParamResults();
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].results[OZM::FamilyDdns], 1);
    EXPECT_EQ(results[1].results[OZM::FamilyDdns], 1);
    EXPECT_EQ(results[2].results[OZM::FamilyDdns], 3);
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].rows.value(2), (QStringList{"127.0.0.11", "Failed"}));

    // The next run over other rows in another order has records of its own.
    notes->clear();
    camsim::inject({fleet[2].mac, "KVX_NET_GetDDNS2", true, false, 0, -1});
    ASSERT_TRUE(runToTheEnd(rows({1, 2})));
    EXPECT_EQ(statuses(1), QStringList{"Modify DDNS Success"});
    EXPECT_EQ(statuses(2), QStringList{"Modify DDNS Failed"});
    const auto again = engine->otherParamResults();
    ASSERT_EQ(again.size(), 2u);
    EXPECT_STREQ(again[0].mac, fleet[1].mac.c_str());
    EXPECT_EQ(again[0].results[OZM::FamilyDdns], 1);
    EXPECT_EQ(again[1].results[OZM::FamilyDdns], 2);
    ASSERT_EQ(closer.tables.size(), 2u);
    EXPECT_EQ(closer.tables[1].rows,
              (QList<QStringList>{{"127.0.0.12", "Success"}, {"127.0.0.13", "Failed"}}));
}

TEST_F(OtherParamTest, RunWithoutRecordsEndsAtOnce) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    ozmParamsMgr()->setWaitInfo(86400);
    enable({OZM::FamilyDdns});
    QStringList unknown = row(0);
    unknown[8] = "02:00:00:00:77:77";
    RunCloser closer(3000);
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(engine->startOtherParamConfig({unknown}), 0);
    EXPECT_FALSE(closer.stuck);
    EXPECT_LT(clock.elapsed(), 2000);
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].headers, QStringList{"IP"});
    EXPECT_TRUE(closer.tables[0].rows.isEmpty());
    EXPECT_TRUE(camsim::callLog().empty());
}

TEST_F(OtherParamTest, RunEndsOnlyAfterEveryRecordWasAdded) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    // Camera 0 fails fast; finding camera 1's address takes several slow pings.
    qputenv("OTHERPARAM_PING_DELAY", "0.15");
    qputenv("CORVANE_SIM_PING_UP", "127.0.7.2,127.0.7.3,127.0.7.4");
    OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord("127.0.7.1", "255.0.0.0", "", "");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    enable({OZM::FamilyTcpIp});
    camsim::inject({"*", "KVX_NET_SetNetPropertyEx", true, false, 0, -1});
    RunCloser closer;
    ASSERT_EQ(engine->startOtherParamConfig(rows({0, 1})), 0);
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].rows.size(), 2);
    EXPECT_EQ(statuses(1), QStringList{"Modify Tcp/Ip Failed"});
    EXPECT_EQ(closer.tables[0].rows.value(1), (QStringList{"127.0.0.12", "Failed"}));
}

// ------------------------------------------------------------------ threads across runs

TEST_F(OtherParamTest, EarlierRunNeverWritesIntoTheNextAndWaitsStopAtShutdown) {
    useCameras(1);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    winport::setTimeScale(0.05); // the earlier run's restart wait (about 50 s) outlasts the next start
    OZM::_SC_PORT_DATA port{80, 554, 443, 8000, 1}; // unchanged: the camera stays up
    ozmParamsMgr()->setPortParamInfo(&port);
    ozmParamsMgr()->setWaitInfo(1);
    enable({OZM::FamilyPort}); // its result comes only after the restart wait
    // The earlier run's relogin after the restart is held until the next run is seen waiting.
    camsim::Injection relogin{fleet[0].mac, "KVX_NET_Login:return", false, false, 0, 1};
    relogin.held = true;
    camsim::inject(relogin);
    {
        RunCloser closer;
        bool started = false;
        QString shown; // the busy indicator's text while the GUI thread is held
        holdGuiThreadUntil(
            [&] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* busy = qobject_cast<ProgressBarDialog*>(w); busy && busy->isVisible())
                        shown = busy->titleLabel->text();
                return engine->otherParamThreads() == 1;
            },
            &started);
        ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
        ASSERT_TRUE(started) << "the device thread never started";
        ASSERT_EQ(closer.tables.size(), 1u);
        EXPECT_EQ(closer.tables[0].rows.value(0), (QStringList{"127.0.0.11", "Failed"})) << "timed out";
        EXPECT_EQ(shown, "Other Parameter Config Modify...");
    }
    ASSERT_EQ(engine->otherParamThreads(), 1) << "still in the restart wait";
    ozmParamsMgr()->setWaitInfo(360);
    enable({OZM::FamilyDdns});
    {
        // The new run waits for the earlier run's thread on the same camera to end (after its
        // relogin and the pause after it) before it changes anything.
        harness::LogCapture log;
        RunCloser closer;
        // The new run's DDNS read is held until the busy indicator was seen with its run text.
        camsim::Injection ddnsHold{fleet[0].mac, "KVX_NET_GetDDNS2", false, false, 0, 1};
        ddnsHold.held = true;
        camsim::inject(ddnsHold);
        int released = 0;
        std::uint64_t reloginLetGo = 0, runStarted = 0;
        closer.onBusy = [&] {
            const bool waiting = closer.busyTexts.size() == 1;
            if (!waiting && runStarted == 0)
                runStarted = GetTickCount();
            if (camsim::heldCalls() == 1 && released == (waiting ? 0 : 1)) {
                if (waiting)
                    reloginLetGo = GetTickCount();
                camsim::releaseHeldCalls(); // the relogin first, then the DDNS read
                ++released;
            }
        };
        const std::uint64_t asked = GetTickCount();
        ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
        EXPECT_EQ(released, 2) << "the earlier relogin and the new DDNS read were held and let go";
        // The run starts when the earlier thread ends, not at the 120 s limit of the wait.
        ASSERT_NE(runStarted, 0u);
        EXPECT_LT(runStarted - asked, 120000u);
        // The earlier thread ends 20 s after its relogin; the new run follows at once.
        EXPECT_LT(runStarted - reloginLetGo, 30000u);
        EXPECT_EQ(closer.tables[0].rows.value(0), (QStringList{"127.0.0.11", "Success"}));
        EXPECT_TRUE(log.contains("waiting for the device threads of an earlier run"));
        // The operator sees why nothing happens yet.
        EXPECT_EQ(closer.busyTexts, (QStringList{"Waiting for the previous run to finish...",
                                                 "Other Parameter Config Modify..."}));
        std::uint64_t relogin = 0, ddns = 0;
        for (const auto& call : camsim::callLog()) {
            if (call.function == "KVX_NET_Login" && !relogin)
                relogin = call.seq;
            if (call.function == "KVX_NET_GetDDNS2" && !ddns)
                ddns = call.seq;
        }
        ASSERT_NE(relogin, 0u);
        EXPECT_GT(ddns, relogin) << "the new run started during the earlier run's restart wait";
        std::uint64_t loggingIn = 0, applied = 0;
        for (const auto& note : notes->with(2, mac(0))) {
            if (note.texts.value(1) == "Logging in...")
                loggingIn = note.tick;
            if (note.texts.value(1) == "Modify DDNS Success")
                applied = note.tick;
        }
        EXPECT_GE(applied - loggingIn, 20000u) << "the pause after the earlier run's relogin";
    }
    ASSERT_TRUE(waitThreads());
    EXPECT_EQ(texts(9, 0), QStringList{"80|554"}) << "the earlier run went on";
    const auto results = engine->otherParamResults();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].results[OZM::FamilyPort], 0) << "no write into the later run's record";
    EXPECT_EQ(results[0].results[OZM::FamilyDdns], 1);

    // A device thread in a long wait ends promptly with the engine.
    winport::setTimeScale(0.2);
    ozmParamsMgr()->setWaitInfo(1);
    OZM::_SC_PORT_DATA back{80, 554, 443, 8000, 1};
    ozmParamsMgr()->setPortParamInfo(&back);
    enable({OZM::FamilyPort});
    {
        RunCloser closer;
        bool started = false;
        holdGuiThreadUntil([&] { return engine->otherParamThreads() == 1; }, &started);
        ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
        ASSERT_TRUE(started) << "the device thread never started";
    }
    ASSERT_EQ(engine->otherParamThreads(), 1);
    QElapsedTimer clock;
    clock.start();
    engine.reset();
    EXPECT_LT(clock.elapsed(), 2000) << "the 20 s restart wait takes 4 s here";
}

// The wait for an earlier run's threads has a limit (120 s): a camera still busy then is left
// out of the new run, with a row and a status that say so; the other cameras run.
TEST_F(OtherParamTest, CameraStillBusyPastTheWaitIsLeftOut) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    // Camera 0's DDNS read is held until the test lets it go: its device thread outlives its
    // run and the wait.
    camsim::Injection hold{fleet[0].mac, "KVX_NET_GetDDNS2", false, false, 0, 1};
    hold.held = true;
    camsim::inject(hold);
    ozmParamsMgr()->setWaitInfo(1);
    enable({OZM::FamilyDdns});
    {
        RunCloser closer;
        bool started = false;
        holdGuiThreadUntil([] { return camsim::heldCalls() == 1; }, &started);
        ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
        ASSERT_TRUE(started) << "camera 0's device thread never reached its DDNS read";
        ASSERT_EQ(closer.tables.size(), 1u);
    }
    ASSERT_EQ(engine->otherParamThreads(), 1);
    notes->clear();
    ozmParamsMgr()->setWaitInfo(360);
    // Camera 1's DDNS read is held too, until the busy indicator was seen with its run text.
    camsim::Injection second{fleet[1].mac, "KVX_NET_GetDDNS2", false, false, 0, 1};
    second.held = true;
    camsim::inject(second);
    harness::LogCapture log;
    RunCloser closer;
    closer.onBusy = [&] {
        if (closer.busyTexts.size() == 2 && camsim::heldCalls(fleet[1].mac) == 1)
            camsim::releaseHeldCalls(fleet[1].mac);
    };
    const std::uint64_t start = GetTickCount();
    ASSERT_EQ(engine->startOtherParamConfig(rows({0, 1})), 0);
    const std::uint64_t took = GetTickCount() - start;
    EXPECT_GE(took, 120000u);
    EXPECT_EQ(camsim::heldCalls(fleet[0].mac), 1) << "the earlier run's thread still runs";
    EXPECT_EQ(closer.busyTexts,
              (QStringList{"Waiting for the previous run to finish...", "Other Parameter Config Modify..."}));
    EXPECT_EQ(statuses(0), QStringList{"Left out: the previous run is still changing this camera"});
    EXPECT_EQ(statuses(1), QStringList{"Modify DDNS Success"});
    EXPECT_TRUE(log.contains("still busy with an earlier run, left out, mac:00:1A:2B:00:00:01"));
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].rows, (QList<QStringList>{{"127.0.0.11", "Busy"}, {"127.0.0.12", "Success"}}));
    EXPECT_EQ(closer.tables[0].devices, "2");
    EXPECT_EQ(closer.tables[0].failed, "1");
    const auto results = engine->otherParamResults();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].results[OZM::FamilyDdns], 2);
    camsim::releaseHeldCalls();
    ASSERT_TRUE(waitThreads());
    EXPECT_EQ(callsTo("KVX_NET_GetDDNS2", 0).size(), 1u) << "only the earlier run's";
    EXPECT_EQ(callsTo("KVX_NET_GetDDNS2", 1).size(), 1u);

    // Once that thread has ended, the same rows run again: each row shows its own result.
    closer.onBusy = nullptr;
    ASSERT_EQ(engine->startOtherParamConfig(rows({0, 1})), 0);
    ASSERT_EQ(closer.tables.size(), 2u);
    EXPECT_EQ(closer.tables[1].rows,
              (QList<QStringList>{{"127.0.0.11", "Success"}, {"127.0.0.12", "Success"}}));
    EXPECT_EQ(closer.tables[1].devices, "2");
    EXPECT_EQ(closer.tables[1].failed, "0");
    EXPECT_EQ(log.count("waiting for the device threads of an earlier run"), 1) << "the third run waited";
}

// A new address that a device thread of an earlier run holds, not yet set on its camera, is
// not handed out again (and not pinged).
TEST_F(OtherParamTest, AddressHeldByAnEarlierRunIsNotHandedOutAgain) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord("127.0.9.1");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    // Camera 0's DDNS read is held until the test lets it go: its run times out before its
    // address change. The run's limit (1 s) passes only once its device thread holds the read.
    camsim::Injection hold{fleet[0].mac, "KVX_NET_GetDDNS2", false, false, 0, 1};
    hold.held = true;
    camsim::inject(hold);
    ozmParamsMgr()->setWaitInfo(1);
    enable({OZM::FamilyDdns, OZM::FamilyTcpIp});
    {
        RunCloser closer;
        bool started = false;
        holdGuiThreadUntil([] { return camsim::heldCalls() == 1; }, &started);
        ASSERT_EQ(engine->startOtherParamConfig(rows({0})), 0);
        ASSERT_TRUE(started) << "camera 0's device thread never reached its DDNS read";
    }
    ASSERT_EQ(engine->otherParamThreads(), 1);
    QFile::remove(pingLog); // run 1 probed .1 for camera 0
    ozmParamsMgr()->setWaitInfo(360);
    enable({OZM::FamilyTcpIp});
    {
        harness::LogCapture log;
        RunCloser closer;
        ASSERT_EQ(engine->startOtherParamConfig(rows({1})), 0);
        EXPECT_TRUE(log.contains("pNewIp is held by a change in progress,pNewIp = 127.0.9.1"));
        ASSERT_EQ(closer.tables.size(), 1u);
        EXPECT_EQ(closer.tables[0].rows.value(0), (QStringList{"127.0.0.12", "Success"}));
    }
    EXPECT_EQ(texts(8, 1), QStringList{"127.0.9.2|New IP:127.0.9.2"});
    ASSERT_EQ(engine->otherParamThreads(), 1) << "camera 0's thread holds .1 throughout";
    camsim::releaseHeldCalls();
    ASSERT_TRUE(waitThreads());
    EXPECT_EQ(texts(8, 0), QStringList{"127.0.9.1|New IP:127.0.9.1"});
    camsim::CameraProfile first, second;
    ASSERT_TRUE(camsim::findCamera(fleet[0].mac, &first));
    ASSERT_TRUE(camsim::findCamera(fleet[1].mac, &second));
    EXPECT_EQ(first.ip, "127.0.9.1");
    EXPECT_EQ(second.ip, "127.0.9.2");
    // From here on 127.0.9.1 is pinged only by camera 0's restart wait, after camera 1 got .2.
    const QStringList pinged = pings();
    ASSERT_TRUE(pinged.contains("127.0.9.2"));
    EXPECT_TRUE(!pinged.contains("127.0.9.1") || pinged.indexOf("127.0.9.1") > pinged.indexOf("127.0.9.2"));
}

// A camera that never answered an IP change to .70 keeps .70 held; the run moves it to .90 and
// it logs in there: that sighting ends the earlier hold too, and .70 may be sent to another.
TEST_F(OtherParamTest, CameraSeenAtTheRunsAddressFreesItsEarlierOne) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    AddressLedger& ledger = engine->addressLedger();
    ASSERT_NE(ledger.sent(fleet[0].mac, "127.0.9.70"), 0u) << "as an IP change that got no answer";
    OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord("127.0.9.90");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    enable({OZM::FamilyTcpIp});
    {
        RunCloser closer;
        ASSERT_TRUE(runToTheEnd(rows({0})));
        ASSERT_EQ(closer.tables.size(), 1u);
        EXPECT_EQ(closer.tables[0].rows.value(0), (QStringList{"127.0.0.11", "Success"}));
    }
    ASSERT_TRUE(enginetest::waitFor([&] {
        const std::vector<LoginSlot> logins = engine->slotsForMac(fleet[0].mac);
        return !logins.empty() && logins[0].loggedIn() && std::string(logins[0].ip) == "127.0.9.90";
    })) << "logged in at the run's address";

    EXPECT_TRUE(ledger.mayHandOut("127.0.9.90"));
    EXPECT_TRUE(ledger.mayHandOut("127.0.9.70")) << "the earlier hold outlived the camera's sighting";
}

// The time limit cuts a run whose configuration thread is still probing the first camera's new
// address: every checked camera is in the table, the ones never reached with every family failed,
// each named once in the log.
TEST_F(OtherParamTest, RunCutByItsLimitListsEveryCheckedCamera) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    qputenv("OTHERPARAM_PING_DELAY", "1");
    OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord("127.0.7.1");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    ozmParamsMgr()->setWaitInfo(1);
    enable({OZM::FamilyDdns, OZM::FamilyTcpIp});
    harness::LogCapture log;
    RunCloser closer;
    ASSERT_EQ(engine->startOtherParamConfig(rows({0, 1, 2})), 0);
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].headers, (QStringList{"IP", "Setting DDNS", "Setting TCP/IP"}));
    EXPECT_EQ(closer.tables[0].rows, (QList<QStringList>{{"127.0.0.11", "Failed", "Failed"},
                                                         {"127.0.0.12", "Failed", "Failed"},
                                                         {"127.0.0.13", "Failed", "Failed"}}));
    const auto results = engine->otherParamResults();
    ASSERT_EQ(results.size(), 3u);
    for (const auto& record : results) {
        EXPECT_EQ(record.kind, 7);
        EXPECT_EQ(record.results[OZM::FamilyDdns], 3) << record.mac;
        EXPECT_EQ(record.results[OZM::FamilyTcpIp], 3) << record.mac;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(statuses(i), (QStringList{"Modify DDNS Failed", "Modify Tcp/Ip Failed"})) << i;
        EXPECT_EQ(log.count("time limit reached before the device was started, mac:" + fleet[i].mac),
                  i == 0 ? 0 : 1)
            << i;
    }
    engine.reset(); // ends the configuration thread's probes
    EXPECT_TRUE(camsim::calls("KVX_NET_GetDDNS2").empty()) << "no device thread started after the limit";
}

// ------------------------------------------------------------------ the restart wait's pings

TEST_F(OtherParamTest, RestartWaitPausesBetweenPings) {
    // The 60 s of pinging last 1.8 s of real time here: several ping processes fit in on a busy
    // machine, however slowly each one starts.
    winport::setTimeScale(0.03);
    OZM::_SC_PORT_DATA port{81, 555, 443, 8000, 1};
    ozmParamsMgr()->setPortParamInfo(&port);
    enable({OZM::FamilyPort});
    camsim::CameraProfile profile = camsim::defaultFleet(1)[0];
    profile.rebootMs = 10000000; // never comes back
    camsim::useFleet({profile});
    fleet = camsim::fleet();
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    RunCloser closer;
    ASSERT_TRUE(runToTheEnd(rows({0})));
    const int count = pings().count(QString::fromStdString(fleet[0].ip));
    EXPECT_GE(count, 2);
    EXPECT_LE(count, 601) << "at most one ping per 100 ms for 60 s";
    EXPECT_EQ(texts(9, 0), QStringList{"81|555"});
    EXPECT_EQ(closer.tables[0].rows.value(0), (QStringList{"127.0.0.11", "Success"}));
}

// ------------------------------------------------------------------ sixteen cameras

TEST_F(OtherParamTest, SixteenCamerasEndToEnd) {
    // Sixteen restarts are each pinged until nine answers within 60 s of program time; the ping
    // processes' real cost does not shrink with the time scale, so give them a wider window.
    winport::setTimeScale(0.03);
    useCameras(16);
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    OZM::_SC_TCP_IP_DATA tcp = frametest::tcpIpRecord("127.0.8.1");
    ozmParamsMgr()->setTcpIpInfo(&tcp);
    OZM::_SC_SETOSD_DATA_ osd{};
    std::strcpy(osd.text, "Line 4");
    ozmParamsMgr()->setOsdInfo(&osd);
    OZM::_SC_SETVIDEO_DATA_ video{};
    video.mainResolution = 0; // into 2304x1296: restarts every camera
    ozmParamsMgr()->setVideoInfo(&video);
    ozmParamsMgr()->setWaitInfo(86400);
    enable({OZM::FamilyTcpIp, OZM::FamilyDdns, OZM::FamilyOsd, OZM::FamilyVideo, OZM::FamilyTime});
    QVector<QStringList> all;
    for (std::size_t i = 0; i < fleet.size(); ++i)
        all << row(i);
    RunCloser closer;
    ASSERT_EQ(engine->startOtherParamConfig(all), 0);
    ASSERT_FALSE(closer.stuck);
    ASSERT_EQ(closer.tables.size(), 1u);
    EXPECT_EQ(closer.tables[0].headers, (QStringList{"IP", "Setting DDNS", "Setting Video", "Setting OSD",
                                                     "Setting Time", "Setting TCP/IP"}));
    ASSERT_EQ(closer.tables[0].rows.size(), 16);
    std::set<std::string> addresses;
    for (std::size_t i = 0; i < fleet.size(); ++i) {
        EXPECT_EQ(closer.tables[0].rows[int(i)], (QStringList{QString::fromStdString(fleet[i].ip), "Success",
                                                              "Success", "Success", "Success", "Success"}));
        camsim::CameraProfile now;
        ASSERT_TRUE(camsim::findCamera(fleet[i].mac, &now));
        EXPECT_EQ(now.name, "Line 4");
        addresses.insert(now.ip);
        EXPECT_EQ(now.ip.rfind("127.0.8.", 0), 0u) << now.ip;
    }
    EXPECT_EQ(addresses.size(), 16u);
}

} // namespace
