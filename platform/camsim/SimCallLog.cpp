#include "SimCallLog.h"

std::size_t SimCallLog::weight(const camsim::CallRecord& record) {
    return sizeof record + record.function.size() + record.args.size() * sizeof(long long) +
           record.text.size() + record.camera.size() + record.in.size() + record.out.size();
}

void SimCallLog::add(camsim::CallRecord record) {
    std::lock_guard<std::mutex> lock(m_mutex);
    record.seq = ++m_seq;
    m_bytes += weight(record);
    m_records.push_back(std::move(record));
    while (m_bytes > kMaxBytes && m_records.size() > 1) {
        m_bytes -= weight(m_records.front());
        m_records.pop_front();
    }
}

std::vector<camsim::CallRecord> SimCallLog::all() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::vector<camsim::CallRecord>(m_records.begin(), m_records.end());
}

std::vector<camsim::CallRecord> SimCallLog::named(const std::string& function) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<camsim::CallRecord> out;
    for (const auto& r : m_records) {
        if (r.function == function)
            out.push_back(r);
    }
    return out;
}

void SimCallLog::clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_records.clear();
    m_bytes = 0;
}

std::size_t SimCallLog::bytes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bytes;
}
