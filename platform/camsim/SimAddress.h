// Strict dotted-quad addresses of the simulated world; loopback only.
#pragma once

#include "net/DottedQuad.h"

#include <cstdint>
#include <string>

namespace simaddr {

using dottedquad::format;
using dottedquad::parse;

inline bool isLoopback(const std::string& text) {
    std::uint32_t v = 0;
    return parse(text, &v) && (v >> 24) == 127;
}

} // namespace simaddr
