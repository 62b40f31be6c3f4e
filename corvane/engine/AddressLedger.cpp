#include "AddressLedger.h"

#include "MacKey.h"
#include "quillet/Quillet.h"

#include <algorithm>

bool AddressLedger::mayHandOut(const std::string& address) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return !takenLocked(address);
}

bool AddressLedger::takenLocked(const std::string& address) const {
    return std::any_of(m_holds.begin(), m_holds.end(),
                       [&](const Hold& hold) { return hold.address == address; });
}

AddressLedger::Change AddressLedger::sent(const std::string& mac, const std::string& address) {
    const std::string key = mackey::key(mac);
    if (key.empty() || address.empty())
        return 0;
    std::lock_guard<std::mutex> lock(m_lock);
    if (takenLocked(address))
        return 0;
    m_holds.push_back({++m_lastId, key, mac, address, false});
    return m_lastId;
}

void AddressLedger::refused(Change change) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_holds.erase(std::remove_if(m_holds.begin(), m_holds.end(),
                                 [change](const Hold& hold) { return hold.change == change; }),
                  m_holds.end());
}

void AddressLedger::seenAt(const std::string& mac, const std::string& address) {
    const std::string key = mackey::key(mac);
    if (key.empty() || address.empty())
        return;
    std::lock_guard<std::mutex> lock(m_lock);
    Change latest = 0;
    for (const Hold& hold : m_holds) {
        if (hold.key == key && hold.address == address)
            latest = hold.change; // ids grow with the sending order
    }
    if (latest == 0)
        return; // its old address, or one no held change sent: no evidence
    m_holds.erase(std::remove_if(m_holds.begin(), m_holds.end(),
                                 [&](const Hold& hold) { return hold.key == key && hold.change <= latest; }),
                  m_holds.end());
}

void AddressLedger::reloginEnded(Change change, bool loggedIn) {
    if (!loggedIn) // a login reports where it saw the camera
        logStaysHeld(change, "AddressLedger::reloginEnded");
}

void AddressLedger::gaveUp(Change change) {
    logStaysHeld(change, "AddressLedger::gaveUp");
}

void AddressLedger::searchDone() {
    std::lock_guard<std::mutex> lock(m_lock);
    for (Hold& hold : m_holds)
        logStaysHeldLocked(hold, "AddressLedger::searchDone");
}

void AddressLedger::logStaysHeld(Change change, const char* where) {
    std::lock_guard<std::mutex> lock(m_lock);
    for (Hold& hold : m_holds) {
        if (hold.change == change)
            logStaysHeldLocked(hold, where);
    }
}

void AddressLedger::logStaysHeldLocked(Hold& hold, const char* where) {
    if (hold.logged)
        return;
    hold.logged = true;
    Qx_Write_Log(300, where,
                 "camera not seen at the address sent to it, the address stays held, mac:%s,ip:%s",
                 hold.mac.c_str(), hold.address.c_str());
}
