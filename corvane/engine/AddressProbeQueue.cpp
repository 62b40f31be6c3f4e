#include "AddressProbeQueue.h"

#include <algorithm>

AddressProbeQueue::AddressProbeQueue(std::uint32_t first, std::uint32_t mask, int window, Held held,
                                     Ping ping)
    : m_next(first), m_mask(mask), m_window(std::max(window, 1)), m_held(std::move(held)),
      m_ping(std::move(ping)) {}

AddressProbeQueue::~AddressProbeQueue() {
    for (Probe& p : m_inFlight)
        p.verdict.wait();
}

bool AddressProbeQueue::next(int wanted, std::uint32_t* candidate, newaddress::Verdict* verdict) {
    const std::size_t ahead = static_cast<std::size_t>(std::clamp(wanted, 1, m_window));
    while (m_inFlight.size() < ahead && m_next <= newaddress::kLastHost) {
        Probe p;
        p.address = static_cast<std::uint32_t>(m_next++);
        p.verdict = std::async(std::launch::async, [this, address = p.address] {
            return newaddress::judge(address, m_mask, m_held, m_ping);
        });
        m_inFlight.push_back(std::move(p));
    }
    if (m_inFlight.empty())
        return false;
    Probe p = std::move(m_inFlight.front());
    m_inFlight.pop_front();
    *candidate = p.address;
    *verdict = p.verdict.get();
    return true;
}
