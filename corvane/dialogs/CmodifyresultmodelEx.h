// Table model of the GPIO result table: the view's rows, with the overall result in column 1
// underlined and coloured.
#pragma once

#include "ResultRowsModel.h"

class CmodifyresultmodelEx : public ResultRowsModel {
    Q_OBJECT
public:
    using ResultRowsModel::ResultRowsModel;

protected:
    QVariant foreground(int column, const QString& text) const override;
    QVariant font(int column) const override;
};
