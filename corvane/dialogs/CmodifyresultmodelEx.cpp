#include "CmodifyresultmodelEx.h"

#include <QColor>
#include <QFont>

namespace {
const QColor kOk(0, 106, 254);
const QColor kNotOk(247, 63, 46);
} // namespace

CmodifyresultmodelEx::CmodifyresultmodelEx(QObject* parent) : QAbstractTableModel(parent) {}

int CmodifyresultmodelEx::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    if (!verticalHeaders.isEmpty())
        return verticalHeaders.size();
    return rows ? rows->size() : 0;
}

int CmodifyresultmodelEx::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    if (!horizontalHeaders.isEmpty())
        return horizontalHeaders.size();
    if (rows && !rows->isEmpty())
        return rows->first().size();
    return 0;
}

QVariant CmodifyresultmodelEx::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !rows || rows->isEmpty() || index.row() < 0 || index.row() >= rows->size())
        return QVariant();
    const QStringList& row = rows->at(index.row());
    const int column = index.column();
    const bool present = column >= 0 && column < row.size();
    switch (role) {
    case Qt::DisplayRole:
        return present ? QVariant(row.at(column)) : QVariant();
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
        return present && row.at(column) == QLatin1String("OK") ? kOk : kNotOk;
    default:
        return QVariant();
    }
}

bool CmodifyresultmodelEx::setData(const QModelIndex& index, const QVariant&, int) {
    return index.isValid();
}

QVariant CmodifyresultmodelEx::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    const QStringList& list = orientation == Qt::Horizontal ? horizontalHeaders : verticalHeaders;
    if (section < 0 || section >= list.size())
        return QVariant();
    return list.at(section);
}

Qt::ItemFlags CmodifyresultmodelEx::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return QAbstractTableModel::flags(index);
}

void CmodifyresultmodelEx::setHorizontalHeader(const QStringList& headers) {
    horizontalHeaders = headers;
}

void CmodifyresultmodelEx::setVerticalHeader(const QStringList& headers) {
    verticalHeaders = headers;
}

void CmodifyresultmodelEx::setModelData(const QList<QStringList>* list) {
    rows = list;
}

void CmodifyresultmodelEx::refresh() {
    emit updateCount(rowCount());
    beginResetModel();
    endResetModel();
}

QVariant CmodifyresultmodelEx::getData(int row, int column) const {
    if (!rows || row < 0 || row >= rows->size())
        return QVariant();
    const QStringList& cells = rows->at(row);
    if (column < 0 || column >= cells.size())
        return QVariant();
    return cells.at(column);
}
