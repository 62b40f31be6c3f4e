// Thread-safe record of every call the stand-in received.
#pragma once

#include "SimControl.h"

#include <mutex>
#include <vector>

class SimCallLog {
public:
    void add(camsim::CallRecord record);
    std::vector<camsim::CallRecord> all() const;
    std::vector<camsim::CallRecord> named(const std::string& function) const;
    void clear();

private:
    mutable std::mutex m_mutex;
    std::vector<camsim::CallRecord> m_records;
    std::uint64_t m_seq = 0;
};
