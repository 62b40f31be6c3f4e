// Login results after the login, relogins of failed devices, the name read's timing and the
// login table under concurrent use.
#include "EngineTestSupport.h"

#include "harness/LogCapture.h"
#include "kvxnet/KvxSdkRecords.h"

#include <atomic>
#include <set>
#include <thread>

using namespace enginetest;

// A device whose login was refused, or whose session later dropped, shows "Login Failed" and
// is logged out and in again by a relogin.
TEST_F(EngineTest, RefusedOrDroppedLoginIsShownAndRenewedByARelogin) {
    struct Case {
        const char* name;
        bool wrongPassword; // refused at the login; otherwise dropped after it
    };
    for (const Case& c : {Case{"refused", true}, Case{"dropped", false}}) {
        SCOPED_TRACE(c.name);
        engine->logoutAll();
        notes->clear();
        auto record = searchRecord(fleet[0]);
        if (c.wrongPassword)
            std::snprintf(record.password, sizeof record.password, "wrong");
        searchFound({record}, 1);
        ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }));
        if (!c.wrongPassword) {
            ASSERT_EQ(notes->count(10, mac(0), "Login Successful"), 1);
            const auto live = engine->slotsForMac(fleet[0].mac).at(0);
            // A message of an older handle changes nothing; one of the session's handle does.
            DeviceManager::onSdkMessage(static_cast<int>(live.hIPCLogin) + 1000, KVX_MSG_LOGIN_FAILED,
                                        nullptr, engine->slotPointer(live.index));
            EXPECT_EQ(notes->count(10, mac(0), "Login Failed"), 0);
            DeviceManager::onSdkMessage(static_cast<int>(live.hIPCLogin), KVX_MSG_LOGIN_FAILED, nullptr,
                                        engine->slotPointer(live.index));
        }
        ASSERT_TRUE(waitFor([&] { return notes->count(10, mac(0), "Login Failed") == 1; }));
        const auto failed = engine->slotsForMac(fleet[0].mac).at(0);
        EXPECT_EQ(failed.state, LoginSlot::Failed);
        ASSERT_NE(failed.hIPCLogin, 0u);
        EXPECT_FALSE(failed.loggedIn());
        EXPECT_TRUE(engine->reloginRenews(fleet[0].mac)) << "the handle a relogin renews is kept";
        // The repeated message is not shown twice.
        DeviceManager::onSdkMessage(static_cast<int>(failed.hIPCLogin), KVX_MSG_LOGIN_FAILED, nullptr,
                                    engine->slotPointer(failed.index));
        EXPECT_EQ(notes->count(10, mac(0), "Login Failed"), 1);

        const auto good = searchRecord(fleet[0]);
        const std::size_t logoutsBefore = camsim::calls("KVX_NET_Logout").size();
        ASSERT_EQ(engine->reloginDeviceNow(&good), 0);
        ASSERT_TRUE(waitFor(
            [&] { return notes->count(10, mac(0), "Login Successful") == (c.wrongPassword ? 1 : 2); }));
        const auto renewed = engine->slotsForMac(fleet[0].mac).at(0);
        EXPECT_TRUE(renewed.loggedIn());
        EXPECT_NE(renewed.hIPCLogin, failed.hIPCLogin);
        const auto logouts = camsim::calls("KVX_NET_Logout");
        ASSERT_EQ(logouts.size(), logoutsBefore + 1);
        EXPECT_EQ(logouts.back().args.at(0), static_cast<long long>(failed.hIPCLogin));
    }
    // A slot that never got a handle is left alone.
    engine->logoutAll();
    camsim::inject({fleet[1].mac, "KVX_NET_Login", true, false, 0, 1});
    const auto refusedCall = searchRecord(fleet[1]);
    searchFound({refusedCall}, 1);
    ASSERT_TRUE(waitFor([&] { return notes->count(10, mac(1), "Login Failed") == 1; }));
    const std::size_t loginsBefore = camsim::calls("KVX_NET_Login").size();
    EXPECT_FALSE(engine->reloginRenews(fleet[1].mac));
    EXPECT_EQ(engine->reloginDeviceNow(&refusedCall), 0);
    EXPECT_EQ(camsim::calls("KVX_NET_Login").size(), loginsBefore);
}

// An IP change's relogin: its end is its own, never that of a login begun before it; a failed
// one leaves the change's address held, and the camera's login there frees it.
TEST_F(EngineTest, ChangeReloginEndsOnItsOwnLoginAndAFailureKeepsTheAddressHeld) {
    const std::string moved = "127.0.5.10";
    // The search's login answers 3 s after its call, after the change's answer.
    camsim::inject({fleet[0].mac, "KVX_NET_Login", false, false, 3000, 1});
    const auto found = searchRecord(fleet[0]);
    searchFound({found}, 1);
    ASSERT_TRUE(waitFor([&] {
        const auto matching = engine->slotsForMac(fleet[0].mac);
        return !matching.empty() && matching.front().hIPCLogin != 0;
    }));
    AddressLedger& ledger = engine->addressLedger();
    const AddressLedger::Change change = ledger.sent(fleet[0].mac, moved);
    ASSERT_NE(change, 0u);
    auto atNewAddress = found;
    std::snprintf(atNewAddress.ip, sizeof atNewAddress.ip, "%s", moved.c_str());
    // As the main window stores the answer's address (no search answer: no sighting).
    engine->updateSearchInfo(fleet[0].mac, [&](DSC_SEARCH_RESPONSE_INFO& r) { r = atNewAddress; });
    ASSERT_EQ(engine->reloginDevice(&atNewAddress, change), 0);
    ASSERT_TRUE(waitFor([&] { return notes->count(10, mac(0), "Login Successful") == 1; }));
    EXPECT_EQ(engine->changeRelogin(change), DeviceManager::ChangeRelogin::Pending)
        << "the search's login ended, not the change's relogin";
    // Nothing answers at the new address yet: the relogin (20 s later) fails.
    ASSERT_TRUE(waitFor(
        [&] { return engine->changeRelogin(change) != DeviceManager::ChangeRelogin::Pending; }, 10000));
    EXPECT_EQ(engine->changeRelogin(change), DeviceManager::ChangeRelogin::Failed);
    EXPECT_EQ(camsim::calls("KVX_NET_Login").back().text, moved);
    EXPECT_FALSE(ledger.mayHandOut(moved)) << "a failed relogin is no evidence";
    // The camera is there now: its login at the address frees it.
    camsim::CameraProfile there = camsim::fleet().at(0);
    there.ip = moved;
    camsim::useFleet({there});
    ASSERT_EQ(engine->reloginDeviceNow(&atNewAddress), 0);
    EXPECT_TRUE(waitFor([&] { return ledger.mayHandOut(moved); }));
}

// An IP change's relogin whose login call the camera refuses at once has ended then, failed: the
// change does not wait out the 30 s login limit, the refusal is shown once, and the address the
// camera was not seen at stays held.
TEST_F(EngineTest, ChangeReloginRefusedAtOnceEndsAtOnce) {
    const std::string moved = "127.0.5.20";
    searchFound({searchRecord(fleet[0])}, 1);
    ASSERT_TRUE(waitFor([&] { return notes->count(10, mac(0), "Login Successful") == 1; }));
    AddressLedger& ledger = engine->addressLedger();
    const AddressLedger::Change change = ledger.sent(fleet[0].mac, moved);
    ASSERT_NE(change, 0u);
    auto atNewAddress = searchRecord(fleet[0]);
    std::snprintf(atNewAddress.ip, sizeof atNewAddress.ip, "%s", moved.c_str());
    engine->updateSearchInfo(fleet[0].mac, [&](DSC_SEARCH_RESPONSE_INFO& r) { r = atNewAddress; });
    // Nothing answers at the new address yet: the one login there is refused by its call.
    camsim::inject({"*", "KVX_NET_Login", true, false, 0, 1});
    harness::LogCapture log;
    ASSERT_EQ(engine->reloginDevice(&atNewAddress, change), 0);
    const auto calledThere = [&] {
        for (const camsim::CallRecord& call : camsim::calls("KVX_NET_Login")) {
            if (call.text == moved)
                return true;
        }
        return false;
    };
    ASSERT_TRUE(waitFor(calledThere, 10000)) << "the relogin is served 20 s after its request";
    const std::uint64_t called = GetTickCount();
    ASSERT_TRUE(waitFor(
        [&] { return engine->changeRelogin(change) != DeviceManager::ChangeRelogin::Pending; }, 10000));
    EXPECT_LT(GetTickCount() - called, 15000u) << "the refused relogin waited for the login limit";
    EXPECT_EQ(engine->changeRelogin(change), DeviceManager::ChangeRelogin::Failed);
    EXPECT_EQ(engine->slotsForMac(fleet[0].mac).at(0).state, LoginSlot::Failed);
    EXPECT_EQ(notes->count(10, mac(0), "Login Failed"), 1);
    EXPECT_FALSE(ledger.mayHandOut(moved));
    EXPECT_EQ(log.count("the address stays held"), 1);
}

// The device name is read 1000 ms (program time) after the login call returned.
TEST_F(EngineTest, NameIsReadOneSecondAfterTheLoginCall) {
    winport::setTimeScale(0.25); // coarse enough that scheduling noise stays small in program time
    std::vector<DSC_SEARCH_RESPONSE_INFO> records;
    for (std::size_t i = 0; i < 3; ++i)
        records.push_back(searchRecord(fleet[i]));
    searchFound(records, 3);
    ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }, 20000));
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto loggingIn = notes->with(2, mac(i)); // sent as the login call returns
        const auto names = notes->with(1, mac(i));     // sent as the name read returns
        ASSERT_EQ(loggingIn.size(), 1u);
        ASSERT_EQ(names.size(), 1u);
        const std::uint64_t pause = names[0].tick - loggingIn[0].tick;
        EXPECT_GE(pause, 995u);
        EXPECT_LE(pause, 1900u) << "well short of two pauses, with room for a loaded machine";
    }
}

// Logins queued from one thread while another sweeps the table, looks slots up and renews failed
// logins, with the SDK's answers on a third: every slot copy is whole and every device ends
// in the state its camera allows.
TEST_F(EngineTest, LoginTableStaysConsistentUnderConcurrentUse) {
    // The 30 s login limit is 4.5 s of real time: an answering camera is never swept on a loaded
    // machine.
    winport::setTimeScale(0.15);
    auto cameras = camsim::defaultFleet(96);
    std::set<std::string> macs;
    for (std::size_t i = 0; i < cameras.size(); ++i) {
        cameras[i].loginDelayMs = static_cast<int>(i % 7) * 20;
        cameras[i].silentLogin = i % 6 == 1;
        macs.insert(cameras[i].mac);
    }
    camsim::useFleet(cameras);
    std::vector<DSC_SEARCH_RESPONSE_INFO> records;
    for (std::size_t i = 0; i < cameras.size(); ++i) {
        records.push_back(searchRecord(cameras[i]));
        if (i % 6 == 4)
            std::snprintf(records.back().password, sizeof records.back().password, "wrong");
        engine->addSearchInfo(records.back().mac, &records.back());
    }

    std::atomic<bool> stop{false};
    std::atomic<int> broken{0};
    std::atomic<int> rounds{0};
    std::thread queuer([&] {
        for (const auto& r : records)
            engine->addLoginTask(&r);
    });
    std::thread user([&] {
        std::size_t k = 0;
        while (!stop.load()) {
            engine->onCheckLoginTimerSlot();
            const std::size_t index = k++ % records.size();
            const auto& r = records[index];
            for (const LoginSlot& s : engine->slotsForMac(r.mac)) {
                if (s.state < LoginSlot::LoggedIn || s.state > LoginSlot::TimedOut ||
                    (s.loggedIn() && s.hIPCLogin == 0))
                    ++broken;
            }
            const LoginSlot s = engine->slotAt(static_cast<int>(k % DeviceManager::kLoginSlots));
            if (s.mac[0] != '\0' && !macs.count(std::string(s.mac, strnlen(s.mac, sizeof s.mac))))
                ++broken;
            if (index % 6 == 4)
                engine->reloginDeviceNow(&r); // a wrong password fails again
            ++rounds;
        }
    });
    queuer.join();
    sendTotal(static_cast<int>(records.size()));
    const bool done = waitFor([&] { return !notes->with(6).empty(); }, 60000);
    // Until the silent cameras' logins are swept at the 30 s limit (the others are renewed on and
    // on), then until the answers of the last relogins have come.
    const auto settled = [&](bool silentOnly) {
        for (std::size_t i = 0; i < cameras.size(); ++i) {
            for (const LoginSlot& s : engine->slotsForMac(cameras[i].mac)) {
                if (s.loggingIn() && (!silentOnly || i % 6 == 1))
                    return false;
            }
        }
        return true;
    };
    const bool swept = waitFor([&] { return settled(true); }, 30000);
    stop = true;
    user.join();
    const bool answered = waitFor([&] { return settled(false); }, 10000);
    ASSERT_TRUE(done);
    ASSERT_TRUE(swept && answered) << "logins still in progress";
    EXPECT_EQ(broken.load(), 0);
    EXPECT_GT(rounds.load(), 10);
    engine->onCheckLoginTimerSlot();
    for (std::size_t i = 0; i < cameras.size(); ++i) {
        SCOPED_TRACE(i);
        const auto found = engine->slotsForMac(cameras[i].mac);
        ASSERT_EQ(found.size(), 1u);
        const int expected = i % 6 == 1   ? LoginSlot::TimedOut
                             : i % 6 == 4 ? LoginSlot::Failed
                                          : LoginSlot::LoggedIn;
        EXPECT_EQ(found[0].state, expected);
    }
}
