// Paints GPIO result cells so that a selected row keeps each cell's own text colour.
#pragma once

#include "ResultCellDelegate.h"

class CommonDelegateEx : public ResultCellDelegate {
    Q_OBJECT
public:
    explicit CommonDelegateEx(QObject* parent = nullptr);
};
