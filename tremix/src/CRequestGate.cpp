#include "CRequestGate.h"

#include "FixtureProtocol.h"
#include "TestHooks.h"
#include "TremixTime.h"
#include "quillet/Quillet.h"

#include <algorithm>
#include <chrono>

namespace tremix {

namespace {
// Longest wait between looks at a device's question (a close by a reply also wakes the waiter).
constexpr std::uint64_t kSliceNs = 10'000'000;
} // namespace

CRequestGate* CRequestGate::ForAddress(const std::string& address, int port) {
    // Never destroyed: library threads may use a gate while the process ends.
    static auto* lock = new std::mutex;
    static auto* gates = new std::map<std::pair<std::string, int>, std::unique_ptr<CRequestGate>>;
    std::lock_guard<std::mutex> guard(*lock);
    std::unique_ptr<CRequestGate>& gate = (*gates)[{address, port}];
    if (!gate)
        gate = std::make_unique<CRequestGate>();
    return gate.get();
}

std::string CRequestGate::KeyOf(const std::string& cmd, const std::string& mac) {
    return cmd == kCmdTestResult ? macKey(mac) : "#" + cmd;
}

CRequestGate::Sent CRequestGate::Send(Request& request, const void* link, std::uint64_t sendByNs,
                                      const std::function<long()>& send, const std::function<bool()>& stop) {
    if (request.key.empty())
        return Sent::Failed;
    const TestHooks* hooks = testHooks();
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        if (stop() || m_links.count(link) == 0)
            return Sent::Down;
        const std::uint64_t now = nowNs();
        const bool open = OpenLocked(request.key);
        if (!open && m_onTheirWay.count(request.key) == 0)
            break;
        // Held either by the device's open question or by its request on its way.
        if (!request.waited) {
            request.waited = true;
            Qx_Write_Log(600, request.who,
                         open ? "question still open, waiting for its answer: %s"
                              : "request on its way, waiting for its answer: %s",
                         request.key.c_str());
            if (hooks && hooks->waiting)
                hooks->waiting(request.key, hooks->user);
        }
        if (now >= sendByNs) {
            Qx_Write_Log(600, request.who,
                         open ? "question still open, not asked: %s" : "request on its way, not asked: %s",
                         request.key.c_str());
            if (open && hooks && hooks->refused)
                hooks->refused(request.key, hooks->user);
            return Sent::Refused;
        }
        m_changed.wait_for(lock, std::chrono::nanoseconds(std::min(sendByNs - now, kSliceNs)));
    }
    // Registered before the frame goes out, so that a reply read at once finds it.
    request.link = link;
    m_onTheirWay[request.key] = &request;
    lock.unlock();
    const long written = send();
    lock.lock();
    if (written == 0) {
        WithdrawLocked(request);
        return Sent::Failed;
    }
    request.sent = true;
    request.sentNs = nowNs();
    // Part of a frame may have reached the fixture: its answer may still come.
    if (written < 0)
        request.lost = true;
    request.settled.store(request.replied || request.lost, std::memory_order_release);
    return Sent::Yes;
}

bool CRequestGate::WaitAnswer(Request& request, std::uint64_t untilNs) {
    std::unique_lock<std::mutex> lock(m_lock);
    const std::uint64_t now = nowNs();
    if (now < untilNs)
        m_changed.wait_for(lock, std::chrono::nanoseconds(untilNs - now),
                           [&] { return request.replied || request.lost; });
    return request.replied || request.lost;
}

bool CRequestGate::Answered(const Request& request) {
    std::lock_guard<std::mutex> lock(m_lock);
    return request.replied || request.lost;
}

CRequestGate::End CRequestGate::Finish(Request& request, const std::function<bool(std::uint64_t)>& push) {
    std::lock_guard<std::mutex> lock(m_lock);
    WithdrawLocked(request);
    if (request.replied)
        return End::Reply;
    // The answer is still owed, also when a push decides: until it comes (or the silence limit has
    // passed on what has arrived), nothing else is asked of this device.
    const std::uint64_t now = nowNs();
    m_closesAt[request.key] = now + scaledMs(kSilenceLimitMs) * 1000000;
    if (const TestHooks* hooks = testHooks(); hooks && hooks->gaveUp)
        hooks->gaveUp(request.key, now, hooks->user);
    return !request.waited && push && push(request.sentNs) ? End::Push : End::Open;
}

void CRequestGate::Withdraw(Request& request) {
    std::lock_guard<std::mutex> lock(m_lock);
    WithdrawLocked(request);
}

void CRequestGate::WithdrawLocked(Request& request) {
    const auto it = m_onTheirWay.find(request.key);
    if (it != m_onTheirWay.end() && it->second == &request) {
        m_onTheirWay.erase(it);
        m_changed.notify_all();
    }
}

CRequestGate::Offer CRequestGate::OfferReply(const std::string& key, Json::Value& reply) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (OpenLocked(key)) {
        m_closesAt.erase(key);
        m_changed.notify_all();
        return Offer::Closed;
    }
    const auto it = m_onTheirWay.find(key);
    if (it == m_onTheirWay.end() || it->second->replied)
        return Offer::NotAwaited;
    it->second->reply.swap(reply);
    it->second->replied = true;
    it->second->settled.store(true, std::memory_order_release);
    m_changed.notify_all();
    return Offer::Taken;
}

bool CRequestGate::AdmitPush(const void* link, const std::string& key,
                             const std::function<void(std::uint64_t)>& keep) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (key.empty() || OpenLocked(key))
        return false;
    const auto it = m_links.find(link);
    keep(it != m_links.end() ? it->second : 0);
    return true;
}

void CRequestGate::NoteDrained(const void* link, std::uint64_t atNs) {
    std::lock_guard<std::mutex> lock(m_lock);
    const auto it = m_links.find(link);
    if (it == m_links.end() || atNs <= it->second)
        return;
    it->second = atNs;
    // A question may close by it: its waiters look again at once.
    if (!m_closesAt.empty())
        m_changed.notify_all();
}

void CRequestGate::SetLink(const void* link, bool up, std::uint64_t sinceNs) {
    std::lock_guard<std::mutex> lock(m_lock);
    // A link going down may still hold bytes that are parsed after this moment; nothing it brought
    // counts for the questions once it is gone.
    if (up) {
        m_links[link] = sinceNs;
    } else {
        m_links.erase(link);
        for (auto& entry : m_onTheirWay) {
            if (entry.second->link != link)
                continue;
            entry.second->lost = true;
            entry.second->settled.store(true, std::memory_order_release);
        }
    }
    m_changed.notify_all();
}

std::uint64_t CRequestGate::DrainedLocked() const {
    if (m_links.empty())
        return 0;
    std::uint64_t drained = m_links.begin()->second;
    for (const auto& link : m_links)
        drained = std::min(drained, link.second);
    return drained;
}

void CRequestGate::Wake() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_changed.notify_all();
}

bool CRequestGate::QuestionOpen(const std::string& key) {
    std::lock_guard<std::mutex> lock(m_lock);
    return OpenLocked(key);
}

std::size_t CRequestGate::OpenQuestions() {
    std::lock_guard<std::mutex> lock(m_lock);
    std::size_t open = 0;
    for (auto it = m_closesAt.begin(); it != m_closesAt.end();) {
        const std::string key = it++->first;
        open += OpenLocked(key) ? 1 : 0;
    }
    return open;
}

bool CRequestGate::OpenLocked(const std::string& key) {
    const auto it = m_closesAt.find(key);
    if (it == m_closesAt.end())
        return false;
    if (it->second > DrainedLocked())
        return true;
    m_closesAt.erase(it);
    m_changed.notify_all();
    return false;
}

} // namespace tremix
