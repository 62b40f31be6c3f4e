// GPIO result table: owns its rows and a CmodifyresultmodelEx over them. Clicks and drags select
// nothing; a left double click on a row reports that row's cells.
#pragma once

#include "ResultRowsView.h"

class CmodifyresultmodelEx;

class CShowtableviewEx : public ResultRowsView {
    Q_OBJECT
public:
    CShowtableviewEx(const QStringList& headers, QWidget* parent = nullptr);

    CmodifyresultmodelEx* resultModel() const { return model; }

signals:
    void leftdoubleClicked(QStringList strList);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    CShowtableviewEx(const QStringList& headers, CmodifyresultmodelEx* model, QWidget* parent);

    CmodifyresultmodelEx* model = nullptr; // owned by the base view
};
