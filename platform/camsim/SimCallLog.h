// Thread-safe record of the calls the stand-in received: the latest ones, up to a bound on the
// bytes they hold, so that a fleet searched all day does not grow the process. A test reads the
// calls it made since its last reset; older ones are dropped first.
#pragma once

#include "SimControl.h"

#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

class SimCallLog {
public:
    // Bytes of records (their texts and record bytes included) kept at most.
    static constexpr std::size_t kMaxBytes = 8u << 20;

    void add(camsim::CallRecord record);
    std::vector<camsim::CallRecord> all() const;
    std::vector<camsim::CallRecord> named(const std::string& function) const;
    void clear();
    // Bytes the kept records hold, as counted against kMaxBytes.
    std::size_t bytes() const;

    static std::size_t weight(const camsim::CallRecord& record);

private:
    mutable std::mutex m_mutex;
    std::deque<camsim::CallRecord> m_records;
    std::size_t m_bytes = 0;
    std::uint64_t m_seq = 0;
};
