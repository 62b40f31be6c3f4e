#include "ResultRowsModel.h"

ResultRowsModel::ResultRowsModel(QObject* parent) : QAbstractTableModel(parent) {}

int ResultRowsModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    if (!verticalHeaders.isEmpty())
        return verticalHeaders.size();
    return rows ? rows->size() : 0;
}

int ResultRowsModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    if (!horizontalHeaders.isEmpty())
        return horizontalHeaders.size();
    if (rows && !rows->isEmpty())
        return rows->first().size();
    return 0;
}

const QStringList* ResultRowsModel::rowAt(const QModelIndex& index) const {
    if (!index.isValid() || !rows || rows->isEmpty() || index.row() < 0 || index.row() >= rows->size())
        return nullptr;
    return &rows->at(index.row());
}

QVariant ResultRowsModel::data(const QModelIndex& index, int role) const {
    const QStringList* row = rowAt(index);
    if (!row)
        return QVariant();
    // Each row is checked against its own cell count: rows may differ in length.
    const int column = index.column();
    const bool present = column >= 0 && column < row->size();
    switch (role) {
    case Qt::DisplayRole:
        return present ? QVariant(row->at(column)) : QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::FontRole:
        return font(column);
    case Qt::ForegroundRole:
        return foreground(column, present ? row->at(column) : QString());
    default:
        return QVariant();
    }
}

QVariant ResultRowsModel::foreground(int, const QString&) const {
    return QVariant();
}

QVariant ResultRowsModel::font(int) const {
    return QVariant();
}

bool ResultRowsModel::setData(const QModelIndex& index, const QVariant&, int) {
    return index.isValid();
}

QVariant ResultRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    const QStringList& list = orientation == Qt::Horizontal ? horizontalHeaders : verticalHeaders;
    if (section < 0 || section >= list.size())
        return QVariant();
    return list.at(section);
}

Qt::ItemFlags ResultRowsModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return QAbstractTableModel::flags(index);
}

void ResultRowsModel::setHorizontalHeader(const QStringList& headers) {
    horizontalHeaders = headers;
}

void ResultRowsModel::setVerticalHeader(const QStringList& headers) {
    verticalHeaders = headers;
}

void ResultRowsModel::setModelData(const QList<QStringList>* list) {
    rows = list;
}

void ResultRowsModel::refresh() {
    emit updateCount(rowCount());
    beginResetModel();
    endResetModel();
}

QVariant ResultRowsModel::getData(int row, int column) const {
    if (!rows || row < 0 || row >= rows->size())
        return QVariant();
    const QStringList& cells = rows->at(row);
    if (column < 0 || column >= cells.size())
        return QVariant();
    return cells.at(column);
}
