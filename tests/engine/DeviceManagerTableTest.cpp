// The search-information map and the login table's limits.
#include "EngineTestSupport.h"

using namespace enginetest;

TEST_F(EngineTest, MapKeepsValueCopiesAndReplacesARepeatedMac) {
    EXPECT_EQ(engine->findSearchInfo(""), nullptr);
    EXPECT_EQ(engine->findSearchInfo(fleet[0].mac), nullptr); // empty map
    auto first = searchRecord(fleet[0]);
    EXPECT_EQ(engine->addSearchInfo("", &first), -1);
    EXPECT_EQ(engine->addSearchInfo(fleet[0].mac, nullptr), -1);
    ASSERT_EQ(engine->addSearchInfo(fleet[0].mac, &first), 0);
    std::snprintf(first.ip, sizeof first.ip, "127.9.9.9"); // the caller's copy is its own
    EXPECT_STREQ(engine->findSearchInfo(fleet[0].mac)->ip, fleet[0].ip.c_str());
    auto second = searchRecord(fleet[0]);
    std::snprintf(second.ip, sizeof second.ip, "127.0.0.99");
    ASSERT_EQ(engine->addSearchInfo(fleet[0].mac, &second), 0);
    EXPECT_EQ(engine->searchInfoCount(), 1);
    auto found = engine->findSearchInfo(fleet[0].mac);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found->ip, "127.0.0.99");
    std::snprintf(found->ip, sizeof found->ip, "127.1.1.1"); // a copy: the map is untouched
    EXPECT_STREQ(engine->findSearchInfo(fleet[0].mac)->ip, "127.0.0.99");
    EXPECT_EQ(engine->findSearchInfo("00:00:00:00:00:00"), nullptr);
    engine->removeSearchInfo("");
    engine->removeSearchInfo("unknown");
    EXPECT_EQ(engine->searchInfoCount(), 1);
    engine->removeSearchInfo(fleet[0].mac);
    EXPECT_EQ(engine->searchInfoCount(), 0);
}

TEST_F(EngineTest, AccountCopiesAreBounded) {
    auto r = searchRecord(fleet[0]);
    r.httpPort = 8080;
    engine->addSearchInfo(fleet[0].mac, &r);
    engine->setSearchInfoAccount(fleet[0].mac, "mivel", "mivel", true); // short literals
    auto stored = engine->findSearchInfo(fleet[0].mac);
    EXPECT_STREQ(stored->user, "mivel");
    EXPECT_STREQ(stored->password, "mivel");
    EXPECT_EQ(stored->httpPort, 80u);
    EXPECT_EQ(stored->user[31], '\0');
    char longUser[40];
    std::memset(longUser, 'x', sizeof longUser); // no terminator within 32 bytes
    engine->setSearchInfoAccount(fleet[0].mac, longUser, "p", false);
    stored = engine->findSearchInfo(fleet[0].mac);
    EXPECT_EQ(std::string(stored->user), std::string(31, 'x'));
    EXPECT_STREQ(stored->password, "p");
    EXPECT_EQ(stored->password[5], '\0'); // the rest of the field is cleared
    engine->setSearchInfoAccount("unknown", "a", "b", true);
    engine->setSearchInfoAccount("", "a", "b", true);
    EXPECT_EQ(engine->searchInfoCount(), 1);
}

TEST_F(EngineTest, LogoutAllClearsEveryUsedSlot) {
    auto good = searchRecord(fleet[0]);
    auto bad = searchRecord(fleet[1]);
    std::snprintf(bad.password, sizeof bad.password, "wrong");
    camsim::inject({fleet[2].mac, "KVX_NET_Login", true, false, 0, -1}); // the call itself fails
    auto refused = searchRecord(fleet[2]);
    searchFound({good, bad, refused}, 3);
    ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }));
    EXPECT_EQ(notes->count(10, mac(2), "Login Failed"), 1);
    EXPECT_EQ(notes->count(2, mac(2), "Logging in..."), 0);
    ASSERT_EQ(engine->slotsForMac(fleet[1].mac).size(), 1u);
    ASSERT_EQ(engine->slotsForMac(fleet[2].mac).size(), 1u);
    EXPECT_EQ(engine->slotsForMac(fleet[2].mac)[0].hIPCLogin, 0u);
    engine->logoutAll();
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(engine->slotsForMac(fleet[i].mac).empty()) << i;
    EXPECT_EQ(camsim::sessionCount(), 0);
    EXPECT_EQ(engine->searchInfoCount(), 0);
    EXPECT_EQ(engine->loginCount(), 0);
    // The next search fills the table from slot 0 again.
    searchFound({searchRecord(fleet[3])}, 1);
    ASSERT_TRUE(waitFor([&] { return engine->loginCount() == 1; }));
    EXPECT_EQ(engine->slotAt(0).index, 0);
    EXPECT_STREQ(engine->slotAt(0).mac, fleet[3].mac.c_str());
}

// The slots of a MAC are found by key: every slot of a MAC logged in twice, in index order,
// nothing of an earlier search, nothing for a part or an extension of a MAC.
TEST_F(EngineTest, SlotsOfAMacFollowRepeatsAndNewSearches) {
    searchFound({searchRecord(fleet[0]), searchRecord(fleet[1]), searchRecord(fleet[0])}, 3);
    ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }));
    auto indices = [this](const std::string& mac) {
        std::vector<int> out;
        for (const LoginSlot& s : engine->slotsForMac(mac))
            out.push_back(s.index);
        return out;
    };
    EXPECT_EQ(indices(fleet[0].mac), (std::vector<int>{0, 2}));
    EXPECT_EQ(indices(fleet[1].mac), (std::vector<int>{1}));
    EXPECT_TRUE(indices(fleet[0].mac.substr(0, 16)).empty());
    EXPECT_TRUE(indices(fleet[0].mac + "0").empty());
    EXPECT_TRUE(indices("").empty());
    // A relogin renews the first slot of the MAC.
    const std::uint32_t first = engine->slotAt(0).hIPCLogin;
    ASSERT_NE(first, 0u);
    const auto record = searchRecord(fleet[0]);
    EXPECT_EQ(engine->reloginDeviceNow(&record), 0);
    ASSERT_FALSE(camsim::calls("KVX_NET_Logout").empty());
    EXPECT_EQ(camsim::calls("KVX_NET_Logout").back().args, (std::vector<long long>{first}));

    engine->logoutAll();
    EXPECT_TRUE(indices(fleet[0].mac).empty());
    EXPECT_EQ(engine->reloginAfterReboot(&record), -1) << "no slot after the logout";
    searchFound({searchRecord(fleet[1]), searchRecord(fleet[0])}, 2);
    ASSERT_TRUE(waitFor([&] { return engine->loginCount() == 2; }));
    EXPECT_EQ(indices(fleet[0].mac), (std::vector<int>{1}));
    EXPECT_EQ(indices(fleet[1].mac), (std::vector<int>{0}));
}

TEST_F(EngineTest, LoginBeyondTheTableTakesNoSlot) {
    winport::setTimeScale(0.0002);
    const int n = DeviceManager::kLoginSlots + 1;
    std::vector<DSC_SEARCH_RESPONSE_INFO> records;
    for (int i = 0; i < n; ++i) {
        auto r = searchRecord(fleet[0]); // one camera answers to every login
        std::snprintf(r.mac, sizeof r.mac, "02:00:00:00:%02X:%02X", (i >> 8) & 0xFF, i & 0xFF);
        records.push_back(r);
    }
    searchFound(records, n);
    ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }, 60000));
    EXPECT_EQ(engine->loginCount(), n);
    const QString last = QString::fromLatin1(records.back().mac);
    EXPECT_EQ(notes->count(10, last, "Login Failed"), 1);
    EXPECT_EQ(notes->count(2, last, "Logging in..."), 0);
    EXPECT_TRUE(engine->slotsForMac(records.back().mac).empty());
    EXPECT_STREQ(engine->slotAt(DeviceManager::kLoginSlots - 1).mac, records[n - 2].mac);
    EXPECT_EQ(camsim::calls("KVX_NET_Login").size(), static_cast<std::size_t>(n - 1));
}

TEST_F(EngineTest, EveryDeviceHoldingAHandleIsLoggedInAgain) {
    auto bad = searchRecord(fleet[1]);
    std::snprintf(bad.password, sizeof bad.password, "wrong");
    searchFound({searchRecord(fleet[0]), bad}, 2);
    ASSERT_TRUE(waitFor([&] { return !notes->with(6).empty(); }));
    ASSERT_EQ(notes->count(10, mac(1), "Login Failed"), 1);
    const std::size_t logins = camsim::calls("KVX_NET_Login").size();
    EXPECT_EQ(engine->reloginDeviceNow(&bad), 0); // failed login: its handle is renewed too
    EXPECT_EQ(camsim::calls("KVX_NET_Login").size(), logins + 1);
    EXPECT_EQ(camsim::calls("KVX_NET_Logout").size(), 1u);
    const auto good = searchRecord(fleet[0]);
    EXPECT_EQ(engine->reloginDeviceNow(&good), 0);
    EXPECT_EQ(camsim::calls("KVX_NET_Login").size(), logins + 2);
    EXPECT_EQ(camsim::calls("KVX_NET_Logout").size(), 2u);
}

TEST_F(EngineTest, DestructionLogsEverythingOutAndCleansUp) {
    EXPECT_EQ(camsim::startupCount(), 1);
    std::vector<DSC_SEARCH_RESPONSE_INFO> records;
    for (const auto& c : fleet)
        records.push_back(searchRecord(c));
    searchFound(records, 8);
    ASSERT_TRUE(waitFor([&] { return engine->loginCount() >= 2; }));
    engine.reset(); // with logins still queued
    EXPECT_EQ(camsim::sessionCount(), 0);
    EXPECT_EQ(camsim::startupCount(), 0);
    const auto setWait = camsim::calls("KVX_NET_SetWaitTime");
    ASSERT_EQ(setWait.size(), 1u);
    EXPECT_EQ(setWait[0].args, (std::vector<long long>{2, -1, 2}));
}

TEST_F(EngineTest, ReloginAfterRebootFollowsAnAddressChange) {
    const auto record = searchRecord(fleet[0]);
    searchFound({record}, 1);
    ASSERT_TRUE(waitFor([&] { return notes->count(10, mac(0), "Login Successful") == 1; }));
    const int h = static_cast<int>(engine->slotsForMac(fleet[0].mac).at(0).hIPCLogin);
    KvxNetProperty net{};
    ASSERT_NE(KVX_NET_GetNetPropertyEx(h, &net), 0);
    std::snprintf(net.ip, sizeof net.ip, "127.0.4.4");
    ASSERT_NE(KVX_NET_SetNetPropertyEx(h, &net), 0);
    // What the TCP/IP step does with the stored record before it waits for the device.
    ASSERT_TRUE(engine->updateSearchInfo(
        fleet[0].mac, [](DSC_SEARCH_RESPONSE_INFO& r) { std::snprintf(r.ip, sizeof r.ip, "127.0.4.4"); }));
    camsim::CameraProfile now;
    ASSERT_TRUE(waitFor([&] { return camsim::findCamera("127.0.4.4", &now) && now.online; }));
    notes->clear();
    auto stored = engine->findSearchInfo(fleet[0].mac);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(engine->reloginAfterReboot(stored.get()), 0);
    ASSERT_TRUE(waitFor([&] { return notes->count(10, mac(0), "Login Successful") == 1; }));
    EXPECT_EQ(camsim::calls("KVX_NET_Login").back().text, "127.0.4.4");
}

TEST(DeviceManagerWidget, StaysHiddenInsideItsParent) {
    QWidget window;
    window.resize(400, 300);
    auto* engine = new DeviceManager(&window); // owned by the window
    window.show();
    EXPECT_FALSE(engine->isVisible());
    EXPECT_EQ(window.childAt(10, 10), nullptr);
}
