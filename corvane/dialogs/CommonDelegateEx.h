// Paints GPIO result cells so that a selected row keeps each cell's own text colour.
#pragma once

#include <QStyledItemDelegate>

class CommonDelegateEx : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CommonDelegateEx(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
