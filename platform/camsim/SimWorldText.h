// Small helpers shared by the simulated world's source files: bounded text fields, record
// bytes, the GBK codec and the account a recovery restores.
#pragma once

#include <QTextCodec>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace simworld {

inline const char kDefaultUser[] = "mivel";
inline const char kDefaultPassword[] = "mivel";

// Bounded copy into a fixed text field; always terminated.
inline void putText(char* field, std::size_t size, const std::string& text) {
    if (size == 0)
        return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, size - n);
}

// Reads a text field up to its terminator, never past the field.
inline std::string getText(const char* field, std::size_t size) {
    std::size_t n = 0;
    while (n < size && field[n] != '\0')
        ++n;
    return std::string(field, n);
}

inline std::vector<std::uint8_t> bytesOf(const void* record, std::size_t size) {
    if (!record || size == 0)
        return {};
    const auto* p = static_cast<const std::uint8_t*>(record);
    return std::vector<std::uint8_t>(p, p + size);
}

inline QTextCodec* gbk() {
    QTextCodec* codec = QTextCodec::codecForName("GBK");
    return codec ? codec : QTextCodec::codecForLocale();
}

template <class T> std::vector<std::uint8_t> recordBytes(const T& record) {
    return bytesOf(&record, sizeof record);
}

} // namespace simworld
