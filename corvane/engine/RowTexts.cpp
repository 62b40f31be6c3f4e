#include "RowTexts.h"

#include "tarsel/CTableView.h"

#include <QCoreApplication>
#include <QHash>
#include <QPair>

namespace {

const char kContext[] = "RowTexts";

struct Lookup {
    QHash<QPair<int, QString>, const RowTexts::Entry*> whole;
    std::vector<const RowTexts::Entry*> beforeValue;
};

const Lookup& lookup() {
    static const Lookup table = [] {
        Lookup l;
        for (const RowTexts::Entry& entry : RowTexts::entries()) {
            if (entry.column == RowTexts::Column::StatusBeforeValue)
                l.beforeValue.push_back(&entry);
            else
                l.whole.insert({RowTexts::tableColumn(entry.column), QString::fromLatin1(entry.source)},
                               &entry);
        }
        return l;
    }();
    return table;
}

// The known text a stored text starts with, and its length; null when none.
const RowTexts::Entry* find(int tableColumn, const QString& stored, int* length) {
    const Lookup& l = lookup();
    if (const RowTexts::Entry* entry = l.whole.value({tableColumn, stored}, nullptr)) {
        *length = stored.size();
        return entry;
    }
    if (tableColumn != CTableView::ColStatus)
        return nullptr;
    for (const RowTexts::Entry* entry : l.beforeValue) {
        const QLatin1String source(entry->source);
        if (stored.startsWith(source)) {
            *length = source.size();
            return entry;
        }
    }
    return nullptr;
}

} // namespace

const char* RowTexts::context() {
    return kContext;
}

const std::vector<RowTexts::Entry>& RowTexts::entries() {
    static const std::vector<Entry> all = {
#define ROW_TEXT(id, column, source) {RowText::id, Column::column, source},
#include "RowTextList.h"
#undef ROW_TEXT
    };
    return all;
}

QString RowTexts::text(RowText id) {
    return QString::fromLatin1(entries().at(static_cast<std::size_t>(id)).source);
}

QString RowTexts::text(RowText id, const QString& value) {
    return text(id) + value;
}

int RowTexts::tableColumn(Column column) {
    switch (column) {
    case Column::FullNetcom:
        return CTableView::ColFullNetcom;
    case Column::NetcomFlag:
        return CTableView::ColNetcomFlag;
    case Column::Dhcp:
        return CTableView::ColDhcp;
    case Column::Status:
    case Column::StatusBeforeValue:
        break;
    }
    return CTableView::ColStatus;
}

bool RowTexts::isKnown(int tableColumn, const QString& stored) {
    int length = 0;
    return find(tableColumn, stored, &length) != nullptr;
}

QString RowTexts::display(int tableColumn, const QString& stored) {
    int length = 0;
    const Entry* entry = find(tableColumn, stored, &length);
    if (!entry)
        return stored;
    return QCoreApplication::translate(kContext, entry->source) + stored.mid(length);
}
