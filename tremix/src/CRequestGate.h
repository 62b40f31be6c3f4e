// The one gate between the library's requests and a fixture: whether a request for a device may
// go on the wire is decided, and the request registered as on its way, under the lock that the
// fixture's replies and pushes are offered under; the frame is written after that, outside it.
// Replies carry no request identity, so for each device at most one request is on its way or one
// question open:
//  - a request that went out and got no answer leaves its device's question open; nothing else is
//    asked of that device until an answer for it comes (it answered the earlier request and is
//    dropped) or the silence limit has passed;
//  - time and order are judged on what has arrived: the silence limit runs from the give-up, and
//    a question closes by it only once every byte that arrived before its limit has been parsed
//    on every link that is up (none while no link is up); a new link has parsed all that came
//    before its connect() began. A push counts as after a request only if its link had parsed
//    everything that arrived before some moment after the request was sent;
//  - a push decides a request that got no reply in time only if it came after the request was
//    sent and the device had no open question when the request started; a push that comes while
//    the question is open is not kept.
// There is one gate per fixture address (the address a link reached, and the port) for the life
// of the process, so a logout and a new login keep the questions, also under another spelling of
// the address; a new process starts with none.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include <json/value.h>

namespace tremix {

class CRequestGate {
public:
    // The gate of a fixture address (numeric) and port; never freed.
    static CRequestGate* ForAddress(const std::string& address, int port);

    // The key of a request's device: the MAC reduced by macKey for a test_result, one key of its
    // own for the device list; empty (no device, never asked) for an unusable MAC.
    static std::string KeyOf(const std::string& cmd, const std::string& mac);

    // One request on its way through the gate.
    struct Request {
        std::string key;
        const char* who = "";       // the caller's name, for the log
        const void* link = nullptr; // the link it goes on
        bool waited = false;        // its device had a question open (or a request on its way) at its start
        bool sent = false;
        std::uint64_t sentNs = 0;
        bool replied = false;
        bool lost = false;                // the link went down or the session ended after it was sent
        std::atomic<bool> settled{false}; // replied or lost: read without the lock
        Json::Value reply;
    };
    enum class Sent { Yes, Refused, Down, Failed };
    // Waits until sendByNs for the request's device to be free on link, registers the request as
    // on its way, then sends it with send outside the gate's lock (send writes the frame by
    // sendByNs: 1 all of it, -1 a part, which counts as sent, 0 nothing). Down: the link is down
    // or stop is set; Refused: the device stayed busy; Failed: nothing was written. The request
    // stays registered until Finish or Withdraw.
    Sent Send(Request& request, const void* link, std::uint64_t sendByNs, const std::function<long()>& send,
              const std::function<bool()>& stop);
    // Waits until untilNs at most, or until the request is answered or lost; true when it is.
    bool WaitAnswer(Request& request, std::uint64_t untilNs);
    bool Answered(const Request& request);
    // Withdraws a request from the gate on every way out of its call.
    class Withdrawal {
    public:
        Withdrawal(CRequestGate& gate, Request& request) : m_gate(gate), m_request(request) {}
        ~Withdrawal() { m_gate.Withdraw(m_request); }
        Withdrawal(const Withdrawal&) = delete;
        Withdrawal& operator=(const Withdrawal&) = delete;

    private:
        CRequestGate& m_gate;
        Request& m_request;
    };
    enum class End { Reply, Push, Open };
    // Ends a sent request. Without a reply, push (called under the gate's lock with the time the
    // request was sent) may decide it when the rule admits a push; else its question is left open.
    End Finish(Request& request, const std::function<bool(std::uint64_t sentNs)>& push);
    // Removes the request from those on their way, if it still is (on every path out of a call).
    void Withdraw(Request& request);

    // What the receive side found. A reply for key: taken by the request on its way for key, or
    // it closes key's open question (an answer to an earlier request, dropped).
    enum class Offer { Taken, Closed, NotAwaited };
    Offer OfferReply(const std::string& key, Json::Value& reply);
    // A push for key that came on link: handed to keep, with the moment after which it was
    // received, unless key's question is open. False when not kept.
    bool AdmitPush(const void* link, const std::string& key,
                   const std::function<void(std::uint64_t receivedAfterNs)>& keep);
    // Every byte that arrived on link before atNs has been parsed.
    void NoteDrained(const void* link, std::uint64_t atNs);
    // The link came up, having parsed nothing of what came after sinceNs (the moment before its
    // connect() began), or went down (its requests on their way are lost; what it still holds
    // may be parsed later, and nothing more arrives on it).
    void SetLink(const void* link, bool up, std::uint64_t sinceNs = 0);
    // Wakes every waiter to look at its stop condition again.
    void Wake();

    bool QuestionOpen(const std::string& key);
    std::size_t OpenQuestions();

private:
    // Under m_lock. Whether key has an open question now; drops it when its limit has passed on
    // what has arrived.
    bool OpenLocked(const std::string& key);
    // Under m_lock: the moment before which every link up has parsed all it brought; 0 when none
    // is up.
    std::uint64_t DrainedLocked() const;
    void WithdrawLocked(Request& request);

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::map<std::string, std::uint64_t> m_closesAt; // open questions: key -> end of the silence limit
    std::map<std::string, Request*> m_onTheirWay;    // registered and not yet finished
    std::map<const void*, std::uint64_t> m_links;    // links up -> parsed all that came before
};

} // namespace tremix
