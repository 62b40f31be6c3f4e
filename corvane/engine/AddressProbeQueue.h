// Candidate addresses for the other-parameter run, probed a few at a time ahead of their
// turn: they are still handed out strictly in order, each only when its own probe found it
// silent, and never more probes run than addresses may still be wanted.
#pragma once

#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <future>

class AddressProbeQueue {
public:
    // Candidates first, first + 1, ... up to end (exclusive); probe(address) gives each one's
    // verdict (the caller's own codes).
    AddressProbeQueue(std::uint64_t first, std::uint64_t end, int window,
                      std::function<int(const QString&)> probe);
    ~AddressProbeQueue(); // waits for the probes in flight
    AddressProbeQueue(const AddressProbeQueue&) = delete;
    AddressProbeQueue& operator=(const AddressProbeQueue&) = delete;

    // The next candidate and its verdict; wanted: addresses still needed at most (this one
    // included). False when the range is exhausted.
    bool next(int wanted, QString* candidate, int* verdict);
    // The first candidate not handed out yet.
    std::uint64_t position() const { return m_position; }

    static QString dotted(std::uint64_t address);

private:
    struct Probe {
        QString address;
        std::future<int> verdict;
    };
    std::deque<Probe> m_inFlight;
    std::uint64_t m_position; // next candidate to hand out
    std::uint64_t m_next;     // next candidate to probe
    std::uint64_t m_end;
    int m_window;
    std::function<int(const QString&)> m_probe;
};
