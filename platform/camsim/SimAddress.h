// Strict dotted-quad addresses: four decimal parts 0..255, no signs, no leading zeros.
#pragma once

#include <cstdint>
#include <string>

namespace simaddr {

inline bool parse(const std::string& text, std::uint32_t* hostOrder) {
    std::uint32_t value = 0;
    std::size_t pos = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return false;
            ++pos;
        }
        const std::size_t start = pos;
        unsigned number = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 3) {
            number = number * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
        }
        const std::size_t digits = pos - start;
        if (digits == 0 || number > 255 || (digits > 1 && text[start] == '0'))
            return false;
        value = (value << 8) | number;
    }
    if (pos != text.size())
        return false;
    if (hostOrder)
        *hostOrder = value;
    return true;
}

inline std::string format(std::uint32_t hostOrder) {
    return std::to_string(hostOrder >> 24) + "." + std::to_string((hostOrder >> 16) & 0xFF) + "." +
           std::to_string((hostOrder >> 8) & 0xFF) + "." + std::to_string(hostOrder & 0xFF);
}

inline bool isLoopback(const std::string& text) {
    std::uint32_t v = 0;
    return parse(text, &v) && (v >> 24) == 127;
}

} // namespace simaddr
