// The questions a session has left open: at most one per device. A request whose wait ended
// without its answer leaves its device's question open; while it is open no other request for that
// device is sent, so every answer for the device is either the one answer to that question or
// dropped. Replies carry no request identity: this keeps the question of whose answer a reply is
// from ever arising. Survives reconnects (a fixture may answer on its next connection).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace tremix {

class COpenQuestions {
public:
    // The key of a request's device: the normalized MAC of a test_result, one key for device_list;
    // empty (no device) for a MAC with a zero byte inside.
    static std::string keyOf(const std::string& cmd, const std::string& mac);

    // A request for key gave up at now; its question stays open until a reply for key comes or
    // until now + limitMs.
    void open(const std::string& key, std::uint64_t now, std::uint64_t limitMs);
    // A reply for key came: true when it closes an open question (it answered that one).
    bool closeByReply(const std::string& key, std::uint64_t now);
    bool isOpen(const std::string& key, std::uint64_t now);
    // No question open (nor one past its limit but not yet dropped): the common case, without a lock.
    bool none() const { return m_count.load(std::memory_order_acquire) == 0; }

    // Notified whenever a question closes by a reply, in any session: a request waiting for its
    // device's question waits on it (in short slices, so a close that comes as it starts to wait
    // costs at most one slice).
    static std::condition_variable_any& closed();

private:
    void dropExpired(std::uint64_t now); // under m_lock

    std::mutex m_lock;
    std::map<std::string, std::uint64_t> m_closesAt; // key -> end of the silence limit
    std::atomic<std::size_t> m_count{0};             // m_closesAt's size
};

} // namespace tremix
