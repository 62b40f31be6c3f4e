// Small helpers shared by the parameter page widgets.
#pragma once

#include <QComboBox>
#include <QListView>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace pageutil {

// Selects a stored index only when the list has it; an index outside the list leaves the
// current item (a combo left at -1 would be saved as 255 in a byte field).
inline bool setComboIndex(QComboBox* combo, int index) {
    if (combo == nullptr || index < 0 || index >= combo->count())
        return false;
    combo->setCurrentIndex(index);
    return true;
}

// Popup list view of every combo box of the pages.
inline void usePopupList(QComboBox* combo) {
    combo->setView(new QListView(combo));
}

// Copies text as Latin-1 into a fixed field: at most size - 1 bytes, zero bytes behind it.
inline void copyLatin1(char* field, std::size_t size, const QString& text) {
    if (field == nullptr || size == 0)
        return;
    const QByteArray bytes = text.toLatin1();
    const std::size_t n = std::min(static_cast<std::size_t>(bytes.size()), size - 1);
    std::memset(field, 0, size);
    std::memcpy(field, bytes.constData(), n);
}

// Reads a fixed field as Latin-1; stops at the first zero byte or at the field's end.
inline QString readLatin1(const char* field, std::size_t size) {
    const void* end = std::memchr(field, 0, size);
    const std::size_t n = end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : size;
    return QString::fromLatin1(field, static_cast<int>(n));
}

} // namespace pageutil
