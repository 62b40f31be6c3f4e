// Table model over a view's row list, with the result colouring of the result tables.
#pragma once

#include "ResultRowsModel.h"

class Cmodifyresultmodel : public ResultRowsModel {
    Q_OBJECT
public:
    explicit Cmodifyresultmodel(QObject* parent = nullptr);

    // 0 result colouring, 1 detail colouring (column 2), anything else none.
    void setColorMode(int mode);
    int colorMode() const { return _colorMode; }

protected:
    QVariant foreground(int column, const QString& text) const override;

private:
    int _colorMode = 0;
};
