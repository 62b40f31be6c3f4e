// Table model of the GPIO result table: the view's rows, with the overall result in column 1
// underlined and coloured.
#pragma once

#include "ResultRowsModel.h"

class CmodifyresultmodelEx : public ResultRowsModel {
    Q_OBJECT
public:
    explicit CmodifyresultmodelEx(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};
