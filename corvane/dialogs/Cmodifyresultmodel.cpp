#include "Cmodifyresultmodel.h"

#include <QColor>

namespace {
const QColor kGood(51, 51, 51);
const QColor kBad(247, 63, 46);
} // namespace

Cmodifyresultmodel::Cmodifyresultmodel(QObject* parent) : ResultRowsModel(parent) {}

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
    case Qt::ForegroundRole:
        return foreground(column, present ? row->at(column) : QString());
    default:
        return QVariant();
    }
}

void Cmodifyresultmodel::setColorMode(int mode) {
    _colorMode = mode;
}
