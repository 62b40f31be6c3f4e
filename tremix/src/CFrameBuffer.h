// The receive buffer of a connection: bytes received and not yet handled, cut into frames.
#pragma once

#include "FixtureProtocol.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

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
    // Counts n bytes written at WritePtr().
    void Commit(std::size_t n) { m_count += n < Writable() ? n : Writable(); }
    // Appends bytes (as far as they fit); returns the number taken.
    std::size_t Append(const void* bytes, std::size_t n) {
        const std::size_t take = n < Writable() ? n : Writable();
        if (take)
            std::memcpy(WritePtr(), bytes, take);
        m_count += take;
        return take;
    }
    std::size_t Count() const { return m_count; }
    void Free() {
        m_data.reset();
        m_count = 0;
    }

    // Hands every complete frame at the front to handler(header, payload, payloadLength), in
    // order, and keeps the rest at the start of the buffer. Bytes before a start mark are
    // skipped. Returns the number of frames; *pending gets the length of an incomplete frame
    // left at the front (0 if none).
    template <typename Handler> std::size_t Cut(Handler&& handler, std::size_t* pending = nullptr) {
        std::size_t frames = 0;
        std::size_t pos = 0;
        if (pending)
            *pending = 0;
        std::uint8_t* data = m_data.get();
        while (m_count - pos >= 1) {
            if (data[pos] != kFrameMark) {
                const void* mark = std::memchr(data + pos + 1, kFrameMark, m_count - pos - 1);
                pos =
                    mark ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(mark) - data) : m_count;
                continue;
            }
            if (m_count - pos < kFrameHeaderSize)
                break;
            const std::size_t length = payloadLength(data + pos);
            if (m_count - pos < kFrameHeaderSize + length) {
                if (pending)
                    *pending = kFrameHeaderSize + length;
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
        }
        return frames;
    }

private:
    std::size_t m_capacity;
    std::unique_ptr<std::uint8_t[]> m_data;
    std::size_t m_count = 0;
};

} // namespace tremix
