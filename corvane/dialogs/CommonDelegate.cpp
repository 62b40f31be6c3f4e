#include "CommonDelegate.h"

#include <QColor>
#include <QPalette>

CommonDelegate::CommonDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void CommonDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    QStyleOptionViewItem copy(option);
    const QVariant colour = index.data(Qt::ForegroundRole);
    // Cells without a colour of their own keep the style's highlighted text colour.
    if (colour.canConvert<QColor>() && colour.value<QColor>().isValid())
        copy.palette.setColor(QPalette::HighlightedText, colour.value<QColor>());
    QStyledItemDelegate::paint(painter, copy, index);
}
