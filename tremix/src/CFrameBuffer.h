// The receive buffer of a connection: bytes received and not yet handled, cut into frames.
#pragma once

#include "FixtureProtocol.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace tremix {

class CFrameBuffer {
public:
    static constexpr std::size_t kCapacity = 2 * 1024 * 1024;

    explicit CFrameBuffer(std::size_t capacity = kCapacity) : m_capacity(capacity) {}

    // Free space for the next receive (allocates the buffer on first use).
    std::uint8_t* WritePtr() {
        if (!m_data)
            m_data.reset(new std::uint8_t[m_capacity]);
        return m_data.get() + m_count;
    }
    std::size_t Writable() const { return m_capacity - m_count; }
    // Counts n bytes written at WritePtr(), which arrived after the moment arrivedAfter (the
    // caller's clock).
    void Commit(std::size_t n, std::uint64_t arrivedAfter = 0) {
        Arrived(arrivedAfter);
        m_count += n < Writable() ? n : Writable();
    }
    // Appends bytes (as far as they fit); returns the number taken.
    std::size_t Append(const void* bytes, std::size_t n, std::uint64_t arrivedAfter = 0) {
        const std::size_t take = n < Writable() ? n : Writable();
        if (take)
            std::memcpy(WritePtr(), bytes, take);
        Arrived(arrivedAfter);
        m_count += take;
        return take;
    }
    std::size_t Count() const { return m_count; }
    // The moment after which the first byte held arrived (0 when empty): every byte that came
    // before it has been cut.
    std::uint64_t FrontArrival() const { return m_count ? ArrivalOf(0) : 0; }
    void Free() {
        m_data.reset();
        m_count = 0;
        m_arrivals.clear();
    }

    // Hands every complete frame at the front to handler(header, payload, payloadLength), in
    // order, and keeps the rest at the start of the buffer. Bytes before a start mark, and a mark
    // whose header is implausible, are skipped. Returns the number of frames; *pending gets the
    // length of an incomplete frame left at the front (0 if none).
    // With stale > 0, an incomplete frame (also one whose header is incomplete) whose first byte
    // arrived stale ago or earlier (now: the caller's clock, as the arrival moments) is dropped:
    // cutting resumes at the first complete frame behind it, else at the next plausible mark, so
    // a broken header never holds back the frames that follow.
    template <typename Handler>
    std::size_t Cut(Handler&& handler, std::size_t* pending = nullptr, std::uint64_t now = 0,
                    std::uint64_t stale = 0) {
        std::size_t frames = 0;
        std::size_t pos = 0;
        if (pending)
            *pending = 0;
        std::uint8_t* data = m_data.get();
        while (m_count - pos >= 1) {
            if (data[pos] != kFrameMark) {
                pos = NextMark(pos + 1);
                continue;
            }
            const bool headerComplete = m_count - pos >= kFrameHeaderSize;
            if (headerComplete && !Plausible(data + pos)) {
                pos = NextMark(pos + 1);
                continue;
            }
            const std::size_t length = headerComplete ? payloadLength(data + pos) : 0;
            if (!headerComplete || m_count - pos < kFrameHeaderSize + length) {
                const std::uint64_t arrived = ArrivalOf(pos);
                if (stale > 0 && now >= arrived && now - arrived >= stale) {
                    pos = ResumeAfter(pos);
                    continue;
                }
                if (pending)
                    *pending = headerComplete ? kFrameHeaderSize + length : 0;
                break;
            }
            handler(reinterpret_cast<const FixtureFrameHeader&>(data[pos]),
                    reinterpret_cast<const char*>(data + pos + kFrameHeaderSize), length);
            pos += kFrameHeaderSize + length;
            ++frames;
        }
        if (pos > 0) {
            std::memmove(data, data + pos, m_count - pos);
            m_count -= pos;
            Consumed(pos);
        }
        return frames;
    }

    // The header bytes the protocol always writes: version 0x01 and flag 0x01.
    static bool Plausible(const std::uint8_t* header) {
        return header[0] == kFrameMark && header[1] == 0x01 && header[3] == 0x01;
    }

private:
    // The next start mark at or after from; m_count when there is none.
    std::size_t NextMark(std::size_t from) const {
        if (from >= m_count)
            return m_count;
        const void* mark = std::memchr(m_data.get() + from, kFrameMark, m_count - from);
        return mark ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(mark) - m_data.get())
                    : m_count;
    }
    // Where cutting resumes when the frame at pos is dropped: the first plausible mark behind it
    // whose frame is complete, else the first plausible mark, else the end.
    std::size_t ResumeAfter(std::size_t pos) const {
        std::size_t firstPlausible = m_count;
        for (std::size_t at = NextMark(pos + 1); at < m_count; at = NextMark(at + 1)) {
            if (m_count - at < kFrameHeaderSize) {
                firstPlausible = std::min(firstPlausible, at);
                break;
            }
            if (!Plausible(m_data.get() + at))
                continue;
            if (m_count - at >= kFrameHeaderSize + payloadLength(m_data.get() + at))
                return at;
            firstPlausible = std::min(firstPlausible, at);
        }
        return firstPlausible;
    }

    // The bytes from offset from on arrived after the moment at.
    struct Arrival {
        std::size_t from;
        std::uint64_t at;
    };
    // Notes the arrival of bytes appended at m_count.
    void Arrived(std::uint64_t at) {
        if (m_arrivals.empty() || m_arrivals.back().at != at)
            m_arrivals.push_back({m_count, at});
    }
    std::uint64_t ArrivalOf(std::size_t pos) const {
        for (auto it = m_arrivals.rbegin(); it != m_arrivals.rend(); ++it)
            if (it->from <= pos)
                return it->at;
        return 0;
    }
    // The first n bytes are gone.
    void Consumed(std::size_t n) {
        if (m_count == 0) {
            m_arrivals.clear();
            return;
        }
        std::size_t first = 0;
        while (first + 1 < m_arrivals.size() && m_arrivals[first + 1].from <= n)
            ++first;
        m_arrivals.erase(m_arrivals.begin(), m_arrivals.begin() + static_cast<long>(first));
        for (Arrival& a : m_arrivals)
            a.from = a.from > n ? a.from - n : 0;
    }

    std::size_t m_capacity;
    std::unique_ptr<std::uint8_t[]> m_data;
    std::size_t m_count = 0;
    std::vector<Arrival> m_arrivals; // ascending by from; the first starts at 0 while bytes are held
};

} // namespace tremix
