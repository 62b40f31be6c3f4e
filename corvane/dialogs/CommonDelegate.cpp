#include "CommonDelegate.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

CommonDelegate::CommonDelegate(QObject* parent) : ResultCellDelegate(parent) {}

bool CommonDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                               const QModelIndex& index) {
    if (!event || !view || event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    // The style draws the text inside the item's text rectangle less a margin on each side.
    QStyle* style = view->style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int room = style->subElementRect(QStyle::SE_ItemViewItemText, &item, view).width() - 2 * margin;
    if (!item.text.isEmpty() && item.fontMetrics.horizontalAdvance(item.text) > room) {
        QToolTip::showText(event->globalPos(), item.text, view->viewport(), option.rect);
        return true;
    }
    QToolTip::hideText();
    return true;
}
