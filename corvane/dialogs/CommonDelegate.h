// Paints result cells as ResultCellDelegate does; a cell too narrow for its text shows the whole
// text as a tool tip.
#pragma once

#include "ResultCellDelegate.h"

class CommonDelegate : public ResultCellDelegate {
    Q_OBJECT
public:
    explicit CommonDelegate(QObject* parent = nullptr);

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
