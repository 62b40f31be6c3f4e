// Helpers of the other-parameter appliers: bounded text copies between fixed fields, zeroed
// SDK records and the failure log line.
#pragma once

#include "quillet/Quillet.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

namespace otherparam {

// Length of a text field, never reading past its size.
inline std::size_t fieldLength(const char* field, std::size_t size) {
    std::size_t n = 0;
    while (n < size && field[n] != '\0')
        ++n;
    return n;
}

inline std::string fieldText(const char* field, std::size_t size) {
    return std::string(field, fieldLength(field, size));
}

// Copies the text of a source field (read up to its size) into a destination field: at most
// size - 1 bytes, always terminated, the rest zero.
template <std::size_t N, std::size_t M> void copyText(char (&to)[N], const char (&from)[M]) {
    const std::size_t n = std::min(fieldLength(from, M), N - 1);
    std::memcpy(to, from, n);
    std::memset(to + n, 0, N - n);
}

template <std::size_t N> void copyText(char (&to)[N], const std::string& from) {
    const std::size_t n = std::min(fieldLength(from.c_str(), from.size()), N - 1);
    std::memcpy(to, from.data(), n);
    std::memset(to + n, 0, N - n);
}

// A zero-filled SDK record on the heap, owned by the caller.
template <typename T> std::unique_ptr<T> zeroed() {
    auto record = std::make_unique<T>();
    std::memset(record.get(), 0, sizeof(T));
    return record;
}

// "[Line:N] CALL Failed, ip:IP" under the applier's name.
inline void logCallFailed(const char* function, int line, const char* call, const std::string& ip) {
    Qx_Write_Log(300, function, "[Line:%d] %s Failed, ip:%s", line, call, ip.c_str());
}

} // namespace otherparam
