#include "NetInfoBatch.h"

#include <limits>

NetInfoBatch::~NetInfoBatch() {
    stop();
}

void NetInfoBatch::start(std::function<void()> body) {
    m_begun = 0;
    m_running = true;
    m_thread = std::thread([this, body = std::move(body)] {
        body();
        m_running = false;
    });
}

void NetInfoBatch::stop() {
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    m_stop = false;
    m_running = false;
}

void NetInfoBatch::add(const NetInfoResultInfo& record) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.push_back(record);
}

void NetInfoBatch::add(const NetInfoResultInfo& record, const std::string& mac,
                       AddressLedger::Change change) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.push_back(record);
    m_changes[mackey::key(mac)] = change;
}

void NetInfoBatch::mark(const std::string& mac, std::int32_t status) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.forEachOfMac(mac, [status](NetInfoResultInfo& record) { record.status = status; });
}

void NetInfoBatch::markReloginGivenUp(const std::string& mac) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.forEachOfMac(mac, [](NetInfoResultInfo& record) {
        record.status = 1;
        record.loginState = 1003;
    });
}

AddressLedger::Change NetInfoBatch::change(const std::string& mac) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto it = m_changes.find(mackey::key(mac));
    return it != m_changes.end() ? it->second : 0;
}

std::string NetInfoBatch::recordMac(const std::string& mac) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string spelled = mac;
    bool found = false;
    m_records.forEachOfMac(mac, [&](const NetInfoResultInfo& record) {
        if (!found)
            spelled = PendingList<NetInfoResultInfo>::macOf(record);
        found = true;
    });
    return spelled;
}

std::vector<NetInfoResultInfo> NetInfoBatch::records() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_records;
}

void NetInfoBatch::clearRecords() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.clear();
}

void NetInfoBatch::clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.clear();
    m_changes.clear();
}

void NetInfoBatch::runEnded() {
    const int covers = m_running ? m_begun.load() : std::numeric_limits<int>::max();
    int seen = m_endCovers.load();
    while (seen < covers && !m_endCovers.compare_exchange_weak(seen, covers)) {
    }
}

std::vector<std::pair<std::string, RowText>> NetInfoBatch::timeOutEnded() {
    const int covers = m_endCovers.exchange(-1);
    std::vector<std::pair<std::string, RowText>> timedOut;
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::size_t held = covers < 0 ? 0 : static_cast<std::size_t>(covers);
    for (std::size_t i = 0; i < m_records.size() && i < held; ++i) {
        NetInfoResultInfo& record = m_records[i];
        if (record.status != 0 || (record.kind != 4 && record.kind != 5))
            continue;
        record.status = 3;
        timedOut.emplace_back(PendingList<NetInfoResultInfo>::macOf(record),
                              record.kind == 5 ? RowText::FullNetcomTimeout : RowText::ModifyIpTimeout);
    }
    return timedOut;
}
