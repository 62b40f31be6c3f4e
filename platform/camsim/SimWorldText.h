// Small helpers shared by the simulated world's source files: bounded text fields, record
// bytes, the GBK codec and the account a recovery restores.
#pragma once

#include "fields/FixedField.h"

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
    fixedfield::copyField(field, size, text);
}

// Reads a text field up to its terminator, never past the field.
inline std::string getText(const char* field, std::size_t size) {
    return fixedfield::fieldText(field, size);
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
