#include "Cmodifyresultmodel.h"

#include <QColor>

namespace {
const QColor kGood(51, 51, 51);
const QColor kBad(247, 63, 46);
} // namespace

Cmodifyresultmodel::Cmodifyresultmodel(QObject* parent) : QAbstractTableModel(parent) {}

int Cmodifyresultmodel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    if (!verticalHeaders.isEmpty())
        return verticalHeaders.size();
    return rows ? rows->size() : 0;
}

int Cmodifyresultmodel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    if (!horizontalHeaders.isEmpty())
        return horizontalHeaders.size();
    if (rows && !rows->isEmpty())
        return rows->first().size();
    return 0;
}

QVariant Cmodifyresultmodel::foreground(int column, const QString& text) const {
    if (_colorMode == 0) {
        if (column < 1)
            return QVariant();
        const bool good = text == QLatin1String("OK") || text == tr("Success") ||
                          text.contains(tr("SD total capacity : "), Qt::CaseSensitive);
        return good ? kGood : kBad;
    }
    if (_colorMode == 1) {
        if (column != 2)
            return QVariant();
        return text == QLatin1String("OK") ? kGood : kBad;
    }
    return QVariant();
}

QVariant Cmodifyresultmodel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !rows || rows->isEmpty() || index.row() < 0 || index.row() >= rows->size())
        return QVariant();
    // Each row is checked against its own cell count: rows may differ in length.
    const QStringList& row = rows->at(index.row());
    const int column = index.column();
    const QString text = column >= 0 && column < row.size() ? row.at(column) : QString();
    switch (role) {
    case Qt::DisplayRole:
        if (column >= 0 && column < row.size())
            return text;
        return QVariant();
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::ForegroundRole:
        return foreground(column, text);
    default:
        return QVariant();
    }
}

bool Cmodifyresultmodel::setData(const QModelIndex& index, const QVariant&, int) {
    return index.isValid();
}

QVariant Cmodifyresultmodel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    const QStringList& list = orientation == Qt::Horizontal ? horizontalHeaders : verticalHeaders;
    if (section < 0 || section >= list.size())
        return QVariant();
    return list.at(section);
}

Qt::ItemFlags Cmodifyresultmodel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return QAbstractTableModel::flags(index);
}

void Cmodifyresultmodel::setHorizontalHeader(const QStringList& headers) {
    horizontalHeaders = headers;
}

void Cmodifyresultmodel::setVerticalHeader(const QStringList& headers) {
    verticalHeaders = headers;
}

void Cmodifyresultmodel::setModelData(const QList<QStringList>* list) {
    rows = list;
}

void Cmodifyresultmodel::setColorMode(int mode) {
    _colorMode = mode;
}

void Cmodifyresultmodel::refresh() {
    emit updateCount(rowCount());
    beginResetModel();
    endResetModel();
}

QVariant Cmodifyresultmodel::getData(int row, int column) const {
    if (!rows || row < 0 || row >= rows->size())
        return QVariant();
    const QStringList& cells = rows->at(row);
    if (column < 0 || column >= cells.size())
        return QVariant();
    return cells.at(column);
}
