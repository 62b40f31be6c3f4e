#include "CommonDelegateEx.h"

#include <QColor>
#include <QPalette>

CommonDelegateEx::CommonDelegateEx(QObject* parent) : QStyledItemDelegate(parent) {}

void CommonDelegateEx::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem copy(option);
    const QVariant colour = index.data(Qt::ForegroundRole);
    if (colour.canConvert<QColor>() && colour.value<QColor>().isValid())
        copy.palette.setColor(QPalette::HighlightedText, colour.value<QColor>());
    QStyledItemDelegate::paint(painter, copy, index);
}
