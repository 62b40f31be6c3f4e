#include "CmodifyresultmodelEx.h"

#include <QColor>
#include <QFont>

namespace {
const QColor kOk(0, 106, 254);
const QColor kNotOk(247, 63, 46);
} // namespace

CmodifyresultmodelEx::CmodifyresultmodelEx(QObject* parent) : ResultRowsModel(parent) {}

QVariant CmodifyresultmodelEx::data(const QModelIndex& index, int role) const {
    const QStringList* row = rowAt(index);
    if (!row)
        return QVariant();
    const int column = index.column();
    const bool present = column >= 0 && column < row->size();
    switch (role) {
    case Qt::DisplayRole:
        return present ? QVariant(row->at(column)) : QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::FontRole:
        if (column == 1) {
            QFont font;
            font.setUnderline(true);
            return font;
        }
        return QVariant();
    case Qt::ForegroundRole:
        if (column != 1)
            return QVariant();
        return present && row->at(column) == QLatin1String("OK") ? kOk : kNotOk;
    default:
        return QVariant();
    }
}
