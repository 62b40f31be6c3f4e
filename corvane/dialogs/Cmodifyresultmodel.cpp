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

void Cmodifyresultmodel::setColorMode(int mode) {
    _colorMode = mode;
}
