#include "SimCallLog.h"

void SimCallLog::add(camsim::CallRecord record) {
    std::lock_guard<std::mutex> lock(m_mutex);
    record.seq = ++m_seq;
    m_records.push_back(std::move(record));
}

std::vector<camsim::CallRecord> SimCallLog::all() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_records;
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
}
