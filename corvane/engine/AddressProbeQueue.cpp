#include "AddressProbeQueue.h"

#include "net/DottedQuad.h"

#include <algorithm>

AddressProbeQueue::AddressProbeQueue(std::uint64_t first, std::uint64_t end, int window,
                                     std::function<int(const QString&)> probe)
    : m_position(first), m_next(first), m_end(end), m_window(std::max(window, 1)), m_probe(std::move(probe)) {
}

AddressProbeQueue::~AddressProbeQueue() {
    for (Probe& p : m_inFlight)
        p.verdict.wait();
}

QString AddressProbeQueue::dotted(std::uint64_t address) {
    return QString::fromStdString(dottedquad::format(static_cast<std::uint32_t>(address)));
}

bool AddressProbeQueue::next(int wanted, QString* candidate, int* verdict) {
    const std::size_t ahead = static_cast<std::size_t>(std::clamp(wanted, 1, m_window));
    while (m_inFlight.size() < ahead && m_next < m_end) {
        Probe p;
        p.address = dotted(m_next++);
        p.verdict = std::async(std::launch::async, m_probe, p.address);
        m_inFlight.push_back(std::move(p));
    }
    if (m_inFlight.empty())
        return false;
    Probe p = std::move(m_inFlight.front());
    m_inFlight.pop_front();
    ++m_position;
    *candidate = p.address;
    *verdict = p.verdict.get();
    return true;
}
