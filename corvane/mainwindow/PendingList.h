// A list of pending records (each with a char mac[18] field) that finds the records of a MAC in
// constant time, by MAC key (MacKey.h: case and separators do not matter). Records are only appended or the
// whole list replaced; the MAC of a record never changes once it is in the list (the other fields may).
#pragma once

#include "MacKey.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

template <class Record> class PendingList {
public:
    PendingList() = default;
    PendingList(std::initializer_list<Record> records) { assign(std::vector<Record>(records)); }
    PendingList& operator=(std::vector<Record> records) {
        assign(std::move(records));
        return *this;
    }
    PendingList& operator=(std::initializer_list<Record> records) {
        assign(std::vector<Record>(records));
        return *this;
    }

    void push_back(const Record& record) {
        m_records.push_back(record);
        m_byMac[mackey::key(macOf(record))].push_back(m_records.size() - 1);
    }
    void clear() {
        m_records.clear();
        m_byMac.clear();
    }

    bool empty() const { return m_records.empty(); }
    std::size_t size() const { return m_records.size(); }
    Record& front() { return m_records.front(); }
    const Record& front() const { return m_records.front(); }
    Record& operator[](std::size_t i) { return m_records[i]; }
    const Record& operator[](std::size_t i) const { return m_records[i]; }
    typename std::vector<Record>::iterator begin() { return m_records.begin(); }
    typename std::vector<Record>::iterator end() { return m_records.end(); }
    typename std::vector<Record>::const_iterator begin() const { return m_records.begin(); }
    typename std::vector<Record>::const_iterator end() const { return m_records.end(); }
    operator const std::vector<Record>&() const { return m_records; }

    // Calls f(record) for every record of the MAC, in list order.
    template <class F> void forEachOfMac(const std::string& mac, F f) {
        const auto it = m_byMac.find(mackey::key(mac));
        if (it == m_byMac.end())
            return;
        for (std::size_t i : it->second)
            f(m_records[i]);
    }

    // The MAC text of a record: its field up to the first zero byte.
    static std::string macOf(const Record& record) {
        const void* end = std::memchr(record.mac, 0, sizeof record.mac);
        return std::string(record.mac,
                           end ? static_cast<std::size_t>(static_cast<const char*>(end) - record.mac)
                               : sizeof record.mac);
    }

private:
    void assign(std::vector<Record> records) {
        m_records = std::move(records);
        m_byMac.clear();
        for (std::size_t i = 0; i < m_records.size(); ++i)
            m_byMac[mackey::key(macOf(m_records[i]))].push_back(i);
    }

    std::vector<Record> m_records;
    std::unordered_map<std::string, std::vector<std::size_t>> m_byMac; // by MAC key
};
