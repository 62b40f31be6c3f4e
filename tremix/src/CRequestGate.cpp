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

std::shared_ptr<CRequestGate> CRequestGate::ForEndpoint(const std::string& host, int port) {
    // Never destroyed: library threads may use a gate while the process ends.
    static auto* lock = new std::mutex;
    static auto* gates = new std::map<std::pair<std::string, int>, std::shared_ptr<CRequestGate>>;
    std::lock_guard<std::mutex> guard(*lock);
    std::shared_ptr<CRequestGate>& gate = (*gates)[{host, port}];
    if (!gate)
        gate = std::make_shared<CRequestGate>();
    return gate;
}

std::string CRequestGate::KeyOf(const std::string& cmd, const std::string& mac) {
    return cmd == kCmdTestResult ? macKey(mac) : "#" + cmd;
}

CRequestGate::Sent CRequestGate::Send(Request& request, std::uint64_t sendByNs,
                                      const std::function<long()>& send, const std::function<bool()>& stop) {
    if (request.key.empty())
        return Sent::Failed;
    const TestHooks* hooks = testHooks();
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        if (stop() || !m_linkUp)
            return Sent::Down;
        const std::uint64_t now = nowNs();
        const bool open = OpenLocked(request.key, now);
        if (!open && m_onTheirWay.count(request.key) == 0) {
            const long written = send();
            if (written == 0)
                return Sent::Failed;
            request.sent = true;
            request.sentNs = nowNs();
            // Part of a frame may have reached the fixture: its answer may still come.
            request.lost = written < 0;
            request.settled.store(request.lost, std::memory_order_release);
            m_onTheirWay[request.key] = &request;
            return Sent::Yes;
        }
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
    const auto it = m_onTheirWay.find(request.key);
    if (it != m_onTheirWay.end() && it->second == &request)
        m_onTheirWay.erase(it);
    m_changed.notify_all();
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

CRequestGate::Offer CRequestGate::OfferReply(const std::string& key, Json::Value& reply) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (OpenLocked(key, nowNs())) {
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

bool CRequestGate::AdmitPush(const std::string& key, const std::function<void(std::uint64_t)>& keep) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (key.empty() || OpenLocked(key, nowNs()))
        return false;
    keep(m_drainedNs);
    return true;
}

void CRequestGate::NoteDrained(std::uint64_t atNs) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_linkUp && atNs > m_drainedNs)
        m_drainedNs = atNs;
}

void CRequestGate::SetLink(bool up) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_linkUp = up;
    // A new link starts empty. A link going down may still hold bytes that are parsed after this
    // moment, so it is no moment of an empty receive side.
    if (up) {
        m_drainedNs = std::max(m_drainedNs, nowNs());
    } else {
        for (auto& entry : m_onTheirWay) {
            entry.second->lost = true;
            entry.second->settled.store(true, std::memory_order_release);
        }
    }
    m_changed.notify_all();
}

void CRequestGate::Wake() {
    std::lock_guard<std::mutex> lock(m_lock);
    m_changed.notify_all();
}

bool CRequestGate::QuestionOpen(const std::string& key) {
    std::lock_guard<std::mutex> lock(m_lock);
    return OpenLocked(key, nowNs());
}

std::size_t CRequestGate::OpenQuestions() {
    std::lock_guard<std::mutex> lock(m_lock);
    const std::uint64_t now = nowNs();
    std::size_t open = 0;
    for (auto it = m_closesAt.begin(); it != m_closesAt.end();) {
        const std::string key = it++->first;
        open += OpenLocked(key, now) ? 1 : 0;
    }
    return open;
}

bool CRequestGate::OpenLocked(const std::string& key, std::uint64_t now) {
    const auto it = m_closesAt.find(key);
    if (it == m_closesAt.end())
        return false;
    if (it->second > DrainedLocked(now))
        return true;
    m_closesAt.erase(it);
    m_changed.notify_all();
    return false;
}

} // namespace tremix
