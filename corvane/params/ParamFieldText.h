// Text in the fixed-size character fields of the parameter records: reads stop at the first
// zero or at the field's end; writes are Latin-1 ("?" for other characters), cut to the field
// size - 1 so a terminating zero always remains, with zeros behind the text.
#pragma once

#include "fields/FixedFieldText.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace paramtext {

inline QString fromField(const char* field, std::size_t size) {
    return fixedfield::latin1Text(field, size);
}

template <std::size_t N> QString fromField(const char (&field)[N]) {
    return fromField(field, N);
}

inline void toField(char* field, std::size_t size, const QString& text) {
    fixedfield::copyLatin1Field(field, size, text);
}

template <std::size_t N> void toField(char (&field)[N], const QString& text) {
    toField(field, N, text);
}

} // namespace paramtext
