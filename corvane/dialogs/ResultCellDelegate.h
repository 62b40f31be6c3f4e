// Paints result cells so that a selected row keeps each cell's own text colour: CommonDelegate
// and CommonDelegateEx share this painting.
#pragma once

#include <QStyledItemDelegate>

class ResultCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ResultCellDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
