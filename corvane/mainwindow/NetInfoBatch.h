// The state of the network-information batches: the batch thread of the IP change or the DHCP
// switch, the pending records of the requests with the IP change of each camera (the address
// ledger's), the bookkeeping of a modification run's end and the IP change's used-up range.
// The records and the changes share one lock; the flags are atomic.
#pragma once

#include "AddressLedger.h"
#include "MacKey.h"
#include "NetInfoResultInfo.h"
#include "PendingList.h"
#include "RowTexts.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

// Neither copied nor moved (its thread and lock).
class NetInfoBatch {
public:
    // Stops and joins the thread.
    ~NetInfoBatch();

    // Starts the batch thread with its body, which runs until it returns; the previous thread
    // must have been stopped. GUI thread.
    void start(std::function<void()> body);
    // Asks the thread to stop and joins it. GUI thread.
    void stop();
    // Whether the thread is asked to stop; the thread's body polls it.
    bool stopping() const { return m_stop.load(); }
    // Whether the thread still sends.
    bool running() const { return m_running.load(); }
    // Whether a thread runs or waits to be joined. GUI thread.
    bool started() const { return m_running.load() || m_thread.joinable(); }

    // Appends a pending record, in the order the requests go out; any thread.
    void add(const NetInfoResultInfo& record);
    // Appends the record of an IP change and keeps the camera's change.
    void add(const NetInfoResultInfo& record, const std::string& mac, AddressLedger::Change change);
    // The thread has added one more record (before its request goes out).
    void begun() { ++m_begun; }
    // Sets the status of every record of the MAC.
    void mark(const std::string& mac, std::int32_t status);
    // Marks every record of the MAC applied, its relogin given up: nothing is left to wait for.
    void markReloginGivenUp(const std::string& mac);
    // The camera's IP change in the latest IP batch; 0 for none.
    AddressLedger::Change change(const std::string& mac);
    // The MAC as the camera's first record spells it (an answer may spell it otherwise); mac
    // itself when no record has it.
    std::string recordMac(const std::string& mac);
    // Calls f(record, change) for every record of a camera with an IP change, under the lock.
    template <class F> void forEachChanged(F f);
    // Calls f(records) under the lock and returns what it returns.
    template <class F> auto withRecords(F f);
    // A copy of the records.
    std::vector<NetInfoResultInfo> records();
    // Empties the records; the changes stay.
    void clearRecords();
    // Empties the records and the changes.
    void clear();

    void setRangeUsedUp(bool usedUp) { m_rangeUsedUp = usedUp; }
    // Whether the range was used up; clears it.
    bool takeRangeUsedUp() { return m_rangeUsedUp.exchange(false); }

    // A modification run has ended; its end is on its way to the GUI thread. It holds the records
    // the running thread has added so far (all of them once the thread is done); any thread.
    void runEnded();
    // An end still queued belongs to a stopped run: it times out nothing.
    void dropEnd() { m_endCovers = -1; }
    // Times out the unanswered IP-change and full-netcom records the ended run held: their MACs
    // and row texts. GUI thread.
    std::vector<std::pair<std::string, RowText>> timeOutEnded();

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    // Records the running thread has added, and how many records the latest ended run held
    // (-1: no end to apply).
    std::atomic<int> m_begun{0};
    std::atomic<int> m_endCovers{-1};
    std::atomic<bool> m_rangeUsedUp{false};

    std::mutex m_mutex;
    PendingList<NetInfoResultInfo> m_records;
    std::unordered_map<std::string, AddressLedger::Change> m_changes; // by MAC key
};

template <class F> void NetInfoBatch::forEachChanged(F f) {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (NetInfoResultInfo& record : m_records) {
        const auto it = m_changes.find(mackey::key(PendingList<NetInfoResultInfo>::macOf(record)));
        if (it != m_changes.end())
            f(record, it->second);
    }
}

template <class F> auto NetInfoBatch::withRecords(F f) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return f(m_records);
}
