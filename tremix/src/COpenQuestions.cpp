#include "COpenQuestions.h"

#include "FixtureProtocol.h"

namespace tremix {

std::string COpenQuestions::keyOf(const std::string& cmd, const std::string& mac) {
    // A normalized MAC holds only letters and digits; a MAC with a zero byte inside names no device.
    if (cmd != kCmdTestResult)
        return "#" + cmd;
    if (mac.find('\0') != std::string::npos)
        return std::string();
    const std::string key = normalizeMac(mac);
    return key.empty() ? "=" + mac : key;
}

void COpenQuestions::open(const std::string& key, std::uint64_t now, std::uint64_t limitMs) {
    if (key.empty())
        return;
    std::lock_guard<std::mutex> lock(m_lock);
    dropExpired(now);
    m_closesAt[key] = now + limitMs;
    m_count.store(m_closesAt.size(), std::memory_order_release);
}

bool COpenQuestions::closeByReply(const std::string& key, std::uint64_t now) {
    bool closedOne = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        dropExpired(now);
        closedOne = m_closesAt.erase(key) > 0;
        m_count.store(m_closesAt.size(), std::memory_order_release);
    }
    if (closedOne)
        closed().notify_all();
    return closedOne;
}

bool COpenQuestions::isOpen(const std::string& key, std::uint64_t now) {
    std::lock_guard<std::mutex> lock(m_lock);
    dropExpired(now);
    return m_closesAt.count(key) > 0;
}

std::condition_variable_any& COpenQuestions::closed() {
    // Never destroyed: library threads may still notify while the process ends.
    static auto* condition = new std::condition_variable_any;
    return *condition;
}

void COpenQuestions::dropExpired(std::uint64_t now) {
    for (auto it = m_closesAt.begin(); it != m_closesAt.end();) {
        if (now >= it->second)
            it = m_closesAt.erase(it);
        else
            ++it;
    }
    m_count.store(m_closesAt.size(), std::memory_order_release);
}

} // namespace tremix
