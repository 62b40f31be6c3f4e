// Fixed-size text fields of the wire and SDK records: read a field up to its terminator without
// reading past its size; copy text into a field, bounded, always terminated, the rest zeroed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>

namespace fixedfield {

// Length of a text field, never reading past its size.
inline std::size_t fieldLength(const char* field, std::size_t size) {
    if (!field)
        return 0;
    std::size_t n = 0;
    while (n < size && field[n] != '\0')
        ++n;
    return n;
}

inline std::string fieldText(const char* field, std::size_t size) {
    return std::string(field ? field : "", fieldLength(field, size));
}

template <std::size_t N> std::string fieldText(const char (&field)[N]) {
    return fieldText(field, N);
}

// Copies the text of a source (read up to sourceSize or its terminator) into a field: at most
// size - 1 bytes, always terminated, the rest zero. A null source leaves the field empty.
inline void copyField(char* field, std::size_t size, const char* source, std::size_t sourceSize) {
    if (!field || size == 0)
        return;
    const std::size_t n = source ? std::min(fieldLength(source, sourceSize), size - 1) : 0;
    if (source && n)
        std::memcpy(field, source, n);
    std::memset(field + n, 0, size - n);
}

inline void copyField(char* field, std::size_t size, const std::string& text) {
    copyField(field, size, text.c_str(), text.size());
}

// Writes text over the start of a field: at most size - 1 bytes, terminated; the bytes after the
// terminator keep what they held (a record that carries an earlier value's tail).
inline void overwriteField(char* field, std::size_t size, const std::string& text) {
    if (!field || size == 0)
        return;
    const std::size_t n = std::min(fieldLength(text.c_str(), text.size()), size - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

template <std::size_t N, std::size_t M> void copyField(char (&field)[N], const char (&source)[M]) {
    copyField(field, N, source, M);
}

template <std::size_t N> void copyField(char (&field)[N], const std::string& text) {
    copyField(field, N, text);
}

} // namespace fixedfield
