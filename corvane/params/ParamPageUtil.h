// Small helpers shared by the parameter page widgets.
#pragma once

#include "fields/FixedFieldText.h"

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
    fixedfield::copyLatin1Field(field, size, text);
}

// Reads a fixed field as Latin-1; stops at the first zero byte or at the field's end.
inline QString readLatin1(const char* field, std::size_t size) {
    return fixedfield::latin1Text(field, size);
}

} // namespace pageutil
