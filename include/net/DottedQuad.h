// IPv4 addresses as strict dotted-quad text (four decimal parts 0..255, no signs, blanks or
// leading zeros) and the subnet arithmetic under a mask, all in host byte order.
#pragma once

#include <cstdint>
#include <string>

namespace dottedquad {

// hostOrder may be null.
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
    return std::to_string(hostOrder >> 24) + "." + std::to_string((hostOrder >> 16) & 0xFFu) + "." +
           std::to_string((hostOrder >> 8) & 0xFFu) + "." + std::to_string(hostOrder & 0xFFu);
}

// Whether the mask's set bits form one run from the top (0 and 255.255.255.255 included).
inline bool isContiguousMask(std::uint32_t mask) {
    const std::uint32_t run = ~mask + 1u; // zero or a power of two for one run of top bits
    return (run & (run - 1u)) == 0;
}

// Whether the address is its subnet's network or broadcast address under the mask (host part
// all zeros or all ones). Subnets with fewer than two host bits have neither.
inline bool isSubnetEdge(std::uint32_t address, std::uint32_t mask) {
    const std::uint32_t host = ~mask;
    if ((host & (host - 1u)) == 0)
        return false; // at most one host bit
    const std::uint32_t part = address & host;
    return part == 0 || part == host;
}

} // namespace dottedquad
