#include "AddressLedger.h"

#include "quillet/Quillet.h"

#include <algorithm>

bool AddressLedger::mayHandOut(const std::string& address) const {
    std::lock_guard<std::mutex> lock(m_lock);
    return !takenLocked(address);
}

bool AddressLedger::takenLocked(const std::string& address) const {
    for (const Hold& hold : m_holds) {
        if (hold.address == address)
            return true;
    }
    for (const Run& run : m_runs) {
        if (run.address == address)
            return true;
    }
    return false;
}

AddressLedger::Change AddressLedger::sent(const std::string& mac, const std::string& address) {
    if (mac.empty() || address.empty())
        return 0;
    std::lock_guard<std::mutex> lock(m_lock);
    if (takenLocked(address))
        return 0;
    m_holds.push_back({++m_lastId, mac, address, false});
    return m_lastId;
}

void AddressLedger::refused(Change change) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_holds.erase(std::remove_if(m_holds.begin(), m_holds.end(),
                                 [change](const Hold& hold) { return hold.change == change; }),
                  m_holds.end());
}

void AddressLedger::seenAt(const std::string& mac, const std::string& address) {
    if (mac.empty() || address.empty())
        return;
    std::lock_guard<std::mutex> lock(m_lock);
    Change latest = 0;
    for (const Hold& hold : m_holds) {
        if (hold.mac == mac && hold.address == address)
            latest = hold.change; // ids grow with the sending order
    }
    if (latest == 0)
        return; // its old address, or one no held change sent: no evidence
    m_holds.erase(std::remove_if(m_holds.begin(), m_holds.end(),
                                 [&](const Hold& hold) { return hold.mac == mac && hold.change <= latest; }),
                  m_holds.end());
}

void AddressLedger::reloginEnded(Change change, bool loggedIn) {
    if (loggedIn)
        return; // the login reports where it saw the camera
    std::lock_guard<std::mutex> lock(m_lock);
    for (Hold& hold : m_holds) {
        if (hold.change == change)
            logStaysHeld(hold, "AddressLedger::reloginEnded");
    }
}

void AddressLedger::searchDone() {
    std::lock_guard<std::mutex> lock(m_lock);
    for (Hold& hold : m_holds)
        logStaysHeld(hold, "AddressLedger::searchDone");
}

void AddressLedger::logStaysHeld(Hold& hold, const char* where) {
    if (hold.logged)
        return;
    hold.logged = true;
    Qx_Write_Log(300, where,
                 "camera not seen at the address sent to it, the address stays held, mac:%s,ip:%s",
                 hold.mac.c_str(), hold.address.c_str());
}

AddressLedger::RunThread AddressLedger::runThreadStarted(const std::string& address) {
    if (address.empty())
        return 0;
    std::lock_guard<std::mutex> lock(m_lock);
    if (takenLocked(address))
        return 0;
    m_runs.push_back({++m_lastId, address});
    return m_lastId;
}

void AddressLedger::runThreadEnded(RunThread thread) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_runs.erase(std::remove_if(m_runs.begin(), m_runs.end(),
                                [thread](const Run& run) { return run.thread == thread; }),
                 m_runs.end());
}
