// New addresses on their way to a camera: those the IP change has sent and those of the
// other-parameter run's live device threads. The IP change and the run both pass over an
// address held here, whichever batch sent it.
#include "DeviceManager.h"

#include <algorithm>

bool DeviceManager::addressHeld(const std::string& address) {
    if (address.empty())
        return false;
    {
        std::lock_guard<std::mutex> lock(m_sentLock);
        for (const SentAddress& sent : m_sentAddresses) {
            if (sent.address == address)
                return true;
        }
    }
    std::lock_guard<std::mutex> lock(m_otherThreadLock);
    for (const auto& t : m_otherThreads) {
        if (!t.done->load() && t.address == address)
            return true;
    }
    return false;
}

void DeviceManager::holdSentAddress(const std::string& mac, const std::string& address) {
    if (mac.empty() || address.empty())
        return;
    std::lock_guard<std::mutex> lock(m_sentLock);
    m_sentAddresses.push_back({mac, address, false});
}

void DeviceManager::releaseSentAddress(const std::string& mac) {
    std::lock_guard<std::mutex> lock(m_sentLock);
    const auto last = std::find_if(m_sentAddresses.rbegin(), m_sentAddresses.rend(),
                                   [&](const SentAddress& sent) { return sent.mac == mac; });
    if (last != m_sentAddresses.rend())
        m_sentAddresses.erase(std::next(last).base());
}

void DeviceManager::sentReloginServed(const std::string& mac) {
    std::lock_guard<std::mutex> lock(m_sentLock);
    for (SentAddress& sent : m_sentAddresses) {
        if (sent.mac == mac)
            sent.reloginServed = true;
    }
}

void DeviceManager::sentLoginEnded(const std::string& mac) {
    std::lock_guard<std::mutex> lock(m_sentLock);
    m_sentAddresses.erase(
        std::remove_if(m_sentAddresses.begin(), m_sentAddresses.end(),
                       [&](const SentAddress& sent) { return sent.reloginServed && sent.mac == mac; }),
        m_sentAddresses.end());
}

void DeviceManager::sentAddressAnswered(const std::string& mac, const std::string& address) {
    std::lock_guard<std::mutex> lock(m_sentLock);
    m_sentAddresses.erase(
        std::remove_if(m_sentAddresses.begin(), m_sentAddresses.end(),
                       [&](const SentAddress& sent) { return sent.mac == mac && sent.address == address; }),
        m_sentAddresses.end());
}
