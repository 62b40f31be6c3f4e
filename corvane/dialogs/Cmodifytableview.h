// Result table: owns its rows and a Cmodifyresultmodel over them.
#pragma once

#include "ResultRowsView.h"

class Cmodifyresultmodel;

class Cmodifytableview : public ResultRowsView {
    Q_OBJECT
public:
    Cmodifytableview(const QStringList& headers, QWidget* parent = nullptr);

    void setColorMode(int mode);
    Cmodifyresultmodel* resultModel() const { return model; }

private:
    Cmodifytableview(const QStringList& headers, Cmodifyresultmodel* model, QWidget* parent);

    Cmodifyresultmodel* model = nullptr; // owned by the base view
};
