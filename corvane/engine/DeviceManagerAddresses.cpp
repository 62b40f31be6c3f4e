// What the logins tell the address ledger, and how each IP change's own relogin ended.
#include "DeviceManager.h"

#include "fields/FixedFieldText.h"

DeviceManager::LoginEnd DeviceManager::takeLoginEnd(LoginSlot& slot, bool loggedIn) {
    LoginEnd end;
    end.ended = true;
    end.loggedIn = loggedIn;
    end.mac = fixedfield::fieldText(slot.mac, sizeof slot.mac);
    end.ip = fixedfield::fieldText(slot.ip, sizeof slot.ip);
    end.change = slot.change;
    slot.change = 0; // a later drop of this session ends no change
    return end;
}

void DeviceManager::settleLogin(const LoginEnd& end) {
    if (!end.ended)
        return;
    if (end.loggedIn)
        m_ledger.seenAt(end.mac, end.ip);
    changeReloginEnded(end.change, end.loggedIn ? ChangeRelogin::LoggedIn : ChangeRelogin::Failed);
}

void DeviceManager::changeReloginEnded(AddressLedger::Change change, ChangeRelogin outcome) {
    if (change == 0)
        return;
    m_ledger.reloginEnded(change, outcome == ChangeRelogin::LoggedIn);
    std::lock_guard<std::mutex> lock(m_changeLock);
    m_changeRelogins[change] = outcome;
}

DeviceManager::ChangeRelogin DeviceManager::changeRelogin(AddressLedger::Change change) {
    std::lock_guard<std::mutex> lock(m_changeLock);
    const auto it = m_changeRelogins.find(change);
    return it == m_changeRelogins.end() ? ChangeRelogin::Pending : it->second;
}

bool DeviceManager::reloginRenews(const std::string& mac) {
    const std::vector<LoginSlot> matching = slotsForMac(mac);
    return !matching.empty() && matching.front().renewable();
}
