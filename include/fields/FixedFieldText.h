// Fixed-size text fields as QString: local 8-bit (GBK), Latin-1 and UTF-8 readers, and the
// UTF-8 copy that never splits a character at the field's end.
#pragma once

#include "fields/FixedField.h"

#include <QByteArray>
#include <QString>
#include <QTextCodec>

namespace fixedfield {

inline QByteArray fieldBytes(const char* field, std::size_t size) {
    return QByteArray(field, static_cast<int>(fieldLength(field, size)));
}

// The field as local 8-bit text (GBK; Latin-1 where the codec is missing).
inline QString gbkText(const char* field, std::size_t size) {
    static QTextCodec* const codec = QTextCodec::codecForName("GBK");
    const QByteArray bytes = fieldBytes(field, size);
    return codec ? codec->toUnicode(bytes) : QString::fromLatin1(bytes);
}

inline QString latin1Text(const char* field, std::size_t size) {
    return QString::fromLatin1(fieldBytes(field, size));
}

inline QString utf8Text(const char* field, std::size_t size) {
    return QString::fromUtf8(fieldBytes(field, size));
}

template <std::size_t N> QString utf8Text(const char (&field)[N]) {
    return utf8Text(field, N);
}

// Latin-1 bytes of the text into a field (bounded, terminated, rest zero).
inline void copyLatin1Field(char* field, std::size_t size, const QString& text) {
    copyField(field, size, text.toLatin1().toStdString());
}

// UTF-8 bytes of the text into a field, cut at a character boundary so that the terminating
// zero fits; the rest zero.
inline void copyUtf8Field(char* field, std::size_t size, const QString& text) {
    if (!field || size == 0)
        return;
    const QByteArray utf8 = text.toUtf8();
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(utf8.size()), size - 1);
    if (n < static_cast<std::size_t>(utf8.size())) {
        while (n > 0 && (static_cast<unsigned char>(utf8[static_cast<int>(n)]) & 0xC0) == 0x80)
            --n;
    }
    std::memset(field, 0, size);
    std::memcpy(field, utf8.constData(), n);
}

} // namespace fixedfield
