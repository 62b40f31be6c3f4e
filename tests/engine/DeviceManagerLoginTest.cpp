// Logging in a simulated fleet: results, names, the time-out sweep, relogins, code 5/6.
#include "EngineTestSupport.h"

#include "kvxnet/DscSearch.h"
#include "harness/Slowdown.h"
#include "quillet/Quillet.h"

using namespace enginetest;

TEST_F(EngineTest, LogsInAFleetWithResultsNamesAndTimeout) {
    // Eight logins within their program-time limit on a busy machine, before the sweep ends them.
    winport::setTimeScale(0.1);
    // A busy camera: its login answers 5 s after the call, long after the name read's turn.
    fleet[4].loginDelayMs = 5000;
    camsim::useFleet(fleet);
    std::vector<DSC_SEARCH_RESPONSE_INFO> records;
    for (const auto& c : fleet)
        records.push_back(searchRecord(c));
    std::snprintf(records[2].password, sizeof records[2].password, "wrong");
    camsim::inject({fleet[3].mac, "KVX_NET_Login", false, true, 0, -1}); // never answers
    searchFound(records, 8);

    ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }));
    for (std::size_t i = 0; i < fleet.size(); ++i) {
        // "Logging in..." when the call returned before the answer; never after the result.
        const auto status = notes->with(2, mac(i));
        const auto result = notes->with(10, mac(i));
        EXPECT_LE(status.size(), 1u) << i;
        if (!status.empty() && !result.empty()) {
            EXPECT_LE(status[0].tick, result[0].tick) << i;
        }
        if (i == 2 || i == 3)
            continue;
        if (i == 4) {
            // Attempted, still logging in: counted for code 6, named once the login succeeds.
            EXPECT_TRUE(notes->with(1, mac(i)).empty());
            ASSERT_TRUE(waitFor([&] { return !notes->with(1, mac(i)).empty(); }))
                << "the slow camera's name after its login succeeded";
            ASSERT_EQ(notes->with(10, mac(i)).size(), 1u);
            EXPECT_LE(notes->with(10, mac(i))[0].tick, notes->with(1, mac(i))[0].tick);
            EXPECT_LE(notes->with(6)[0].tick, notes->with(10, mac(i))[0].tick);
        }
        EXPECT_EQ(notes->count(10, mac(i), "Login Successful"), 1) << i;
        const auto names = notes->with(1, mac(i));
        ASSERT_EQ(names.size(), 1u) << i;
        EXPECT_EQ(names[0].texts, QStringList({mac(i), QString::fromStdString(fleet[i].name)}));
    }
    EXPECT_EQ(notes->count(10, mac(2), "Login Failed"), 1);
    EXPECT_TRUE(notes->with(1, mac(2)).empty());
    EXPECT_TRUE(notes->with(10, mac(3)).empty());
    EXPECT_EQ(notes->count(2, mac(3), "Logging in..."), 1);
    // Code 6 comes once, after every login's name read.
    const auto all = notes->all();
    std::size_t six = 0;
    for (std::size_t k = 0; k < all.size(); ++k) {
        if (all[k].code == 6)
            six = k;
    }
    for (std::size_t k = 0; k < six; ++k)
        EXPECT_NE(all[k].code, 6);
    EXPECT_EQ(notes->with(6).size(), 1u);
    EXPECT_EQ(engine->loginCount(), 8);

    // The silent camera is failed by the sweep after the 30 s limit, and logged out.
    const int sessionsBefore = camsim::sessionCount();
    ASSERT_TRUE(waitFor([&] { return notes->count(10, mac(3), "Login Failed") == 1; }));
    const std::uint64_t failTick = notes->with(10, mac(3)).at(0).tick;
    EXPECT_EQ(camsim::sessionCount(), sessionsBefore - 1);
    const auto timedOut = engine->slotsForMac(fleet[3].mac);
    ASSERT_EQ(timedOut.size(), 1u);
    EXPECT_GT(failTick - timedOut[0].startTick, 30000u);
    EXPECT_LT(failTick - timedOut[0].startTick, 30000u + 6000u + 3000u);
    EXPECT_EQ(timedOut[0].state, LoginSlot::TimedOut);
    EXPECT_EQ(timedOut[0].hIPCLogin, 0u);
    EXPECT_TRUE(notes->with(1, mac(3)).empty()) << "a login that never succeeds is never named";
    // The time-out also ends the name read that waited for that login: a full recovery of the
    // camera queued now is not held behind it (not logged in: it fails).
    QStringList row;
    for (int c = 0; c < 19; ++c)
        row << QString();
    row[1] = QString::fromStdString(fleet[3].ip);
    row[8] = mac(3);
    ASSERT_EQ(engine->fullRecoveryDevices(row), 0);
    ASSERT_TRUE(waitFor([&] { return !notes->with(12, mac(3)).empty(); }))
        << "the full recovery waits for the timed-out login's name read";
    EXPECT_EQ(notes->count(12, mac(3), "Full Recovery Failed"), 1);
    EXPECT_EQ(notes->with(1, mac(4)).size(), 1u);
    EXPECT_TRUE(engine->slotsForMac(fleet[0].mac).at(0).loggedIn());
    EXPECT_FALSE(engine->slotsForMac(fleet[2].mac).at(0).loggedIn());
}

// Each camera keeps its own sequence (login call, name read a second later, count), while the
// logins of a fleet overlap instead of queuing behind each other's pauses.
TEST_F(EngineTest, FleetLoginsOverlapEachNameReadASecondAfterItsOwnCall) {
    constexpr int kCameras = 32;
    winport::setTimeScale(0.1 * harness::kSlowdown);
    camsim::useFleet(camsim::defaultFleet(kCameras));
    fleet = camsim::fleet();
    std::vector<DSC_SEARCH_RESPONSE_INFO> records;
    for (const auto& c : fleet)
        records.push_back(searchRecord(c));
    std::snprintf(records[5].password, sizeof records[5].password, "wrong");
    const std::uint64_t queued = GetTickCount();
    searchFound(records, kCameras);
    ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }, 20000));
    const std::uint64_t done = notes->with(6).at(0).tick;
    // One after the other, the pauses alone would take kCameras seconds.
    EXPECT_LT(done - queued, static_cast<std::uint64_t>(kCameras) * 1000u / 4u);
    EXPECT_GE(done - queued, 1000u);

    const auto all = notes->all();
    std::size_t six = 0;
    while (all[six].code != 6)
        ++six;
    std::vector<std::uint64_t> callTicks;
    for (std::size_t i = 0; i < fleet.size(); ++i) {
        const auto status = notes->with(2, mac(i));
        ASSERT_EQ(status.size(), 1u) << i; // sent when the call returned, before any answer
        EXPECT_EQ(status[0].texts.at(1), "Logging in...");
        callTicks.push_back(status[0].tick);
        EXPECT_EQ(notes->count(10, mac(i), i == 5 ? "Login Failed" : "Login Successful"), 1) << i;
        const auto names = notes->with(1, mac(i));
        if (i == 5) {
            EXPECT_TRUE(names.empty()); // a refused account has no name to read
            continue;
        }
        ASSERT_EQ(names.size(), 1u) << i;
        EXPECT_EQ(names[0].texts, QStringList({mac(i), QString::fromStdString(fleet[i].name)}));
        EXPECT_GE(names[0].tick, status[0].tick + 1000u) << i;
        EXPECT_LE(names[0].tick, done) << i;
    }
    // Calls and name reads keep the queue's order; code 6 follows the last read, once.
    EXPECT_TRUE(std::is_sorted(callTicks.begin(), callTicks.end()));
    std::vector<QString> readOrder;
    for (std::size_t k = 0; k < six; ++k) {
        if (all[k].code == 1)
            readOrder.push_back(all[k].texts.at(0));
    }
    ASSERT_EQ(readOrder.size(), fleet.size() - 1);
    for (std::size_t i = 0, k = 0; i < fleet.size(); ++i) {
        if (i != 5) {
            EXPECT_EQ(readOrder[k++], mac(i)) << i;
        }
    }
    EXPECT_EQ(notes->with(6).size(), 1u);
    EXPECT_EQ(engine->loginCount(), kCameras);
    // The name is read whether or not the login succeeded.
    EXPECT_EQ(camsim::calls("KVX_NET_GetOSD2").size(), fleet.size());
}

// A search or the engine's end drops the name reads still due; neither waits for them.
TEST_F(EngineTest, PendingNameReadsEndWithTheSearchAndTheEngine) {
    winport::setTimeScale(1);
    std::vector<DSC_SEARCH_RESPONSE_INFO> records;
    for (std::size_t i = 0; i < 4; ++i)
        records.push_back(searchRecord(fleet[i]));
    searchFound(records, 4);
    ASSERT_TRUE(waitFor([&] { return camsim::calls("KVX_NET_Login").size() == 4; }));
    engine->logoutAll(); // before the first read is due
    searchFound({searchRecord(fleet[6])}, 1);
    ASSERT_TRUE(waitFor([&] { return camsim::calls("KVX_NET_Login").size() == 5; }));
    EXPECT_EQ(engine->loginCount(), 0);
    waitFor([] { return false; }, 1300);                    // past the old reads' due time
    ASSERT_EQ(camsim::calls("KVX_NET_GetOSD2").size(), 1u); // only the new search's camera
    EXPECT_EQ(camsim::calls("KVX_NET_GetOSD2")[0].camera, fleet[6].mac);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(notes->with(1, mac(i)).empty()) << i;
    EXPECT_EQ(notes->with(6).size(), 1u);
    EXPECT_EQ(engine->loginCount(), 1);

    engine->logoutAll();
    notes->clear();
    searchFound({searchRecord(fleet[7])}, 1);
    ASSERT_TRUE(waitFor([&] { return camsim::calls("KVX_NET_Login").size() == 6; }));
    QElapsedTimer clock;
    clock.start();
    engine.reset(); // a read is due in a second: the engine ends without it
    EXPECT_LT(clock.elapsed(), 700);
    EXPECT_TRUE(notes->with(1).empty());
    EXPECT_EQ(camsim::calls("KVX_NET_GetOSD2").size(), 1u);
}

// A full recovery queued behind a login runs once that login is answered and named.
TEST_F(EngineTest, FullRecoveryQueuedBehindALoginFollowsItsNameRead) {
    const auto record = searchRecord(fleet[0]);
    engine->addSearchInfo(record.mac, &record);
    engine->addLoginTask(&record);
    QStringList row;
    for (int c = 0; c < 19; ++c)
        row << QString();
    row[1] = QString::fromStdString(fleet[0].ip);
    row[8] = mac(0);
    ASSERT_EQ(engine->fullRecoveryDevices(row), 0);
    ASSERT_TRUE(waitFor([&] { return !notes->with(12, mac(0)).empty(); }));
    EXPECT_EQ(notes->count(12, mac(0), "Full Recovery Success"), 1);
    const auto all = camsim::callLog();
    auto first = [&](const char* function) {
        for (std::size_t k = 0; k < all.size(); ++k) {
            if (all[k].function == function)
                return k;
        }
        return all.size();
    };
    const std::size_t login = first("KVX_NET_Login");
    const std::size_t name = first("KVX_NET_GetOSD2");
    const std::size_t restore = first("KVX_NET_RestoreDefaultNew");
    ASSERT_LT(restore, all.size());
    EXPECT_LT(login, name);
    EXPECT_LT(name, restore);
}

TEST_F(EngineTest, LoginRecordAsTheEngineFillsIt) {
    auto r = searchRecord(fleet[0]);
    std::snprintf(r.deviceType, sizeof r.deviceType, "NVR");
    std::memset(r.user, 'u', sizeof r.user); // no terminator: cut to 31 characters
    engine->addLoginTask(&r);
    ASSERT_TRUE(waitFor([&] { return !camsim::calls("KVX_NET_Login").empty(); }));
    const auto call = camsim::calls("KVX_NET_Login").at(0);
    EXPECT_EQ(call.text, fleet[0].ip);
    ASSERT_EQ(call.in.size(), 216u);
    std::uint32_t port = 0;
    std::memcpy(&port, &call.in[128], 4);
    EXPECT_EQ(port, 80u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&call.in[136])), std::string(31, 'u'));
    EXPECT_EQ(call.in[204], 0);
    EXPECT_EQ(call.in[206], 1);
    EXPECT_EQ(call.in[207], 1); // not "IPCAMERA"
    std::uint32_t window = 1;
    std::memcpy(&window, &call.in[200], 4);
    EXPECT_EQ(window, 0u);
}

TEST_F(EngineTest, CodeSixOrderingIncludingZeroDevices) {
    sendTotal(0); // nothing to log in: code 6 at once
    EXPECT_EQ(notes->with(6).size(), 1u);

    engine->logoutAll();
    notes->clear();
    searchFound({searchRecord(fleet[0]), searchRecord(fleet[1])}, 2); // code 5 before the logins
    ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }));
    EXPECT_EQ(notes->with(1).size(), 2u); // both names were read before code 6
    notes->clear();

    engine->logoutAll();
    for (const auto& r : {searchRecord(fleet[2]), searchRecord(fleet[3])}) {
        engine->addSearchInfo(r.mac, &r);
        engine->addLoginTask(&r);
    }
    ASSERT_TRUE(waitFor([&] { return engine->loginCount() == 2; }));
    EXPECT_TRUE(notes->with(6).empty()); // the total is not known yet
    sendTotal(2);                        // code 5 after the logins: code 6 from setNotify
    EXPECT_EQ(notes->with(6).size(), 1u);
}

TEST_F(EngineTest, NewSearchDropsQueuedLoginsOfTheOldOne) {
    std::vector<DSC_SEARCH_RESPONSE_INFO> old;
    for (const auto& c : fleet)
        old.push_back(searchRecord(c));
    searchFound(old, 8);
    ASSERT_TRUE(waitFor([&] { return camsim::calls("KVX_NET_Login").size() >= 1; }));
    engine->logoutAll(); // the operator searches again
    const std::size_t loginsBefore = camsim::calls("KVX_NET_Login").size();
    notes->clear();
    searchFound({searchRecord(fleet[6]), searchRecord(fleet[7])}, 2);
    ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }));
    // Code 6 only after both new logins were attempted and named.
    EXPECT_EQ(notes->with(1, mac(6)).size(), 1u);
    EXPECT_EQ(notes->with(1, mac(7)).size(), 1u);
    waitFor([] { return false; }, 100);
    EXPECT_EQ(camsim::calls("KVX_NET_Login").size(), loginsBefore + 2);
    for (std::size_t i = 1; i < 6; ++i)
        EXPECT_TRUE(engine->slotsForMac(fleet[i].mac).empty()) << i;
    EXPECT_EQ(engine->loginCount(), 2);
}

TEST_F(EngineTest, EarlyAnswerIsNotOverwritten) {
    // The camera answers before the login call returns.
    camsim::CameraProfile fast = fleet[0];
    fast.loginDelayMs = 0;
    camsim::useFleet({fast});
    camsim::inject({fast.mac, "KVX_NET_Login:return", false, false, 5000, -1});
    searchFound({searchRecord(fast)}, 1);
    ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }));
    EXPECT_EQ(notes->count(10, mac(0), "Login Successful"), 1);
    EXPECT_EQ(notes->count(10, mac(0), "Login Failed"), 0);
    EXPECT_EQ(notes->count(2, mac(0), "Logging in..."), 0); // the result came first
    const auto slot = engine->slotsForMac(fast.mac).at(0);
    EXPECT_TRUE(slot.loggedIn());
    // The sweep leaves a final state alone.
    waitFor([] { return false; }, 2000); // past the 30 s limit and a sweep
    EXPECT_EQ(notes->count(10, mac(0), "Login Failed"), 0);
}

TEST_F(EngineTest, ReloginTwentySecondsAfterARestart) {
    struct Capture {
        static void hook(int, const char* line, void* user) {
            static_cast<std::vector<std::string>*>(user)->push_back(line);
        }
    };
    std::vector<std::string> lines;
    Qx_Set_Log_Hook(&Capture::hook, &lines);
    const auto record = searchRecord(fleet[0]);
    searchFound({record}, 1);
    ASSERT_TRUE(waitFor([&] { return notes->count(10, mac(0), "Login Successful") == 1; }));
    const std::uint32_t handle = engine->slotsForMac(fleet[0].mac).at(0).hIPCLogin;
    ASSERT_NE(KVX_NET_Reboot(static_cast<int>(handle)), 0);
    // A recovery changed the account meanwhile: the relogin uses the stored record's.
    KvxUserConfig user{};
    std::snprintf(user.user, sizeof user.user, "fresh");
    std::snprintf(user.password, sizeof user.password, "pass");
    KVX_NET_UserConfig(static_cast<int>(handle), &user, 0);
    engine->setSearchInfoAccount(fleet[0].mac, "fresh", "pass", false);
    const std::uint64_t asked = GetTickCount();
    notes->clear();
    ASSERT_EQ(engine->reloginDevice(&record), 0);
    EXPECT_EQ(engine->pendingRelogins(), 1);
    ASSERT_TRUE(waitFor([&] { return notes->count(10, mac(0), "Login Successful") == 1; }));
    EXPECT_GE(notes->with(10, mac(0)).at(0).tick - asked, 20000u);
    EXPECT_LE(notes->with(2, mac(0)).size(), 1u);
    EXPECT_EQ(engine->pendingRelogins(), 0);
    const auto logins = camsim::calls("KVX_NET_Login");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&logins.back().in[136])), "fresh");
    EXPECT_TRUE(engine->slotsForMac(fleet[0].mac).at(0).loggedIn());
    Qx_Set_Log_Hook(nullptr, nullptr);
    bool queued = false;
    bool served = false;
    for (const auto& l : lines) {
        queued = queued || l.find("===reloginDevice _login_param_queue:1") != std::string::npos;
        served = served || l.find("===_login_param_queue:0") != std::string::npos;
    }
    EXPECT_TRUE(queued);
    EXPECT_TRUE(served);
    EXPECT_EQ(engine->reloginDevice(nullptr), -1);
    EXPECT_EQ(engine->reloginDeviceNow(nullptr), -1);
    EXPECT_EQ(engine->reloginAfterReboot(&record), 0);
    auto unknown = searchRecord(fleet[5]);
    EXPECT_EQ(engine->reloginAfterReboot(&unknown), -1);
    EXPECT_EQ(engine->reloginDeviceNow(&unknown), 0);
}

TEST_F(EngineTest, StaleMessagesAndNullProgressAreIgnored) {
    searchFound({searchRecord(fleet[0])}, 1);
    ASSERT_TRUE(waitFor([&] { return notes->count(10, mac(0), "Login Successful") == 1; }));
    const int h = static_cast<int>(engine->slotAt(0).hIPCLogin);
    LoginSlot* slot = engine->slotPointer(0);
    std::vector<std::pair<QStringList, int>> progress;
    QObject::connect(engine.get(), &DeviceManager::upgradeDate,
                     [&](QStringList row, int num) { progress.emplace_back(row, num); });
    DeviceManager::onSdkMessage(h + 1000, KVX_MSG_LOGIN_FAILED, nullptr, slot); // another handle
    DeviceManager::onSdkMessage(h, KVX_MSG_LOGIN_OK, nullptr, slot);            // after the final state
    DeviceManager::onSdkMessage(h, KVX_MSG_LOGIN_OK, nullptr, nullptr);
    EXPECT_EQ(notes->count(10, mac(0), "Login Failed"), 0);
    EXPECT_TRUE(engine->slotAt(0).loggedIn());
    DeviceManager::onSdkMessage(h, KVX_MSG_UPGRADE_PROGRESS, nullptr, slot);
    int fifty = 50;
    DeviceManager::onSdkMessage(h + 1000, KVX_MSG_UPGRADE_PROGRESS, &fifty, slot);
    DeviceManager::onSdkMessage(h, KVX_MSG_UPGRADE_PROGRESS, &fifty, slot);
    DeviceManager::onSdkMessage(h, KVX_MSG_UPGRADE_DONE, nullptr, slot);
    DeviceManager::onSdkMessage(h, KVX_MSG_UPGRADE_FAILED, nullptr, slot);
    DeviceManager::onSdkMessage(h, 9999, nullptr, slot);
    ASSERT_EQ(progress.size(), 3u);
    const QStringList row{mac(0), QString::fromStdString(fleet[0].ip)};
    EXPECT_EQ(progress[0], std::make_pair(row, 50));
    EXPECT_EQ(progress[1].second, 100);
    EXPECT_EQ(progress[2].second, -1);
}

// The whole road: the LAN search finds the fleet and every answer goes to the engine, as the
// main window hands it over (HTTP port turned to host order).
TEST_F(EngineTest, SearchedFleetLogsIn) {
    struct Search {
        std::mutex lock;
        std::vector<DSC_SEARCH_RESPONSE_INFO> found;
        bool over = false;
        static int callback(const DSC_SEARCH_RESPONSE_INFO* record, void* user) {
            auto* self = static_cast<Search*>(user);
            std::lock_guard<std::mutex> g(self->lock);
            if (record)
                self->found.push_back(*record);
            else
                self->over = true;
            return 0;
        }
    } search;
    ASSERT_EQ(KVX_NET_StartSearchDevice(5, "127.0.0.1", &Search::callback, &search, 0), 0);
    ASSERT_TRUE(waitFor([&] {
        std::lock_guard<std::mutex> g(search.lock);
        return search.over;
    }));
    KVX_NET_StopSearchDevice();
    ASSERT_EQ(search.found.size(), fleet.size());
    for (auto& r : search.found) {
        r.httpPort = __builtin_bswap32(r.httpPort);
        engine->addSearchInfo(std::string(r.mac, strnlen(r.mac, sizeof r.mac)), &r);
        engine->addLoginTask(&r);
    }
    sendTotal(static_cast<int>(search.found.size()));
    ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }));
    for (std::size_t i = 0; i < fleet.size(); ++i) {
        EXPECT_EQ(notes->count(10, mac(i), "Login Successful"), 1) << i;
        EXPECT_TRUE(engine->slotsForMac(fleet[i].mac).at(0).loggedIn()) << i;
    }
}
