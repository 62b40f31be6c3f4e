// Paints result cells so that a selected row keeps each cell's own text colour; a cell too narrow
// for its text shows the whole text as a tool tip.
#pragma once

#include <QStyledItemDelegate>

class CommonDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CommonDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
