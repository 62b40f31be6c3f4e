#include "CmodifyresultmodelEx.h"

#include <QColor>
#include <QFont>

namespace {
const QColor kOk(0, 106, 254);
const QColor kNotOk(247, 63, 46);
} // namespace

QVariant CmodifyresultmodelEx::foreground(int column, const QString& text) const {
    if (column != 1)
        return QVariant();
    return text == QLatin1String("OK") ? kOk : kNotOk;
}

QVariant CmodifyresultmodelEx::font(int column) const {
    if (column != 1)
        return QVariant();
    QFont underlined;
    underlined.setUnderline(true);
    return underlined;
}
