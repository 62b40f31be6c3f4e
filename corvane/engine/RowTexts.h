// The texts of the device rows, each defined once in RowTextList.h. Whoever writes a row (the
// engine's notifications, the main window's batches and sweeps, the search) writes the English
// source text; the rows keep it, so every comparison reads the same text in every language. The
// device table shows each known text translated, in the column it belongs to only.
#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

enum class RowText {
#define ROW_TEXT(id, column, source) id,
#include "RowTextList.h"
#undef ROW_TEXT
};

class RowTexts {
public:
    // Where a text is shown: the status column (StatusBeforeValue: a text followed by a value,
    // such as the new address), the full-netcom column, the column after it and the DHCP column.
    enum class Column { Status, StatusBeforeValue, FullNetcom, NetcomFlag, Dhcp };

    struct Entry {
        RowText id;
        Column column;
        const char* source; // English, as the row stores it
    };

    // The translation context of the texts.
    static const char* context();
    static const std::vector<Entry>& entries();

    // The text a row stores.
    static QString text(RowText id);
    // A text followed by its value ("New IP:" and the address).
    static QString text(RowText id, const QString& value);

    // The device table's column (CTableView::Column) that shows a column of texts.
    static int tableColumn(Column column);
    // Whether a row may store this text in this table column.
    static bool isKnown(int tableColumn, const QString& stored);
    // What the table shows for a stored text: the translation of a known text of that column,
    // any other text (a name, an address) as it is.
    static QString display(int tableColumn, const QString& stored);
};
