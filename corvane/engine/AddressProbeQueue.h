// The candidate addresses of a new-address batch (the IP change and the other-parameter run),
// counted up from the start address to the last host address and judged by the address rule. A
// window above one probes a few ahead of their turn: they are still handed out strictly in
// order, each with its own verdict, and never more probes run than addresses may still be
// wanted.
#pragma once

#include "NewAddressRule.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <string>

class AddressProbeQueue {
public:
    using Held = std::function<bool(const std::string&)>;
    using Ping = std::function<newaddress::Verdict(const std::string&)>;

    // Candidates first, first + 1, ... up to newaddress::kLastHost, each judged under the mask
    // with held and ping (newaddress::judge).
    AddressProbeQueue(std::uint32_t first, std::uint32_t mask, int window, Held held, Ping ping);
    ~AddressProbeQueue(); // waits for the probes in flight
    AddressProbeQueue(const AddressProbeQueue&) = delete;
    AddressProbeQueue& operator=(const AddressProbeQueue&) = delete;

    // The next candidate and its verdict; wanted: addresses still needed at most (this one
    // included). False when the range is used up.
    bool next(int wanted, std::uint32_t* candidate, newaddress::Verdict* verdict);

private:
    struct Probe {
        std::uint32_t address = 0;
        std::future<newaddress::Verdict> verdict;
    };
    std::deque<Probe> m_inFlight;
    std::uint64_t m_next; // next candidate to probe (one past the last host once used up)
    std::uint32_t m_mask;
    int m_window;
    Held m_held;
    Ping m_ping;
};
