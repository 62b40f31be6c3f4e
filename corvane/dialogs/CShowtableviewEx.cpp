#include "CShowtableviewEx.h"

#include "CmodifyresultmodelEx.h"

#include <QMouseEvent>

CShowtableviewEx::CShowtableviewEx(const QStringList& headerList, QWidget* parent)
    : CShowtableviewEx(headerList, new CmodifyresultmodelEx(nullptr), parent) {}

CShowtableviewEx::CShowtableviewEx(const QStringList& headerList, CmodifyresultmodelEx* resultModel,
                                   QWidget* parent)
    : ResultRowsView(headerList, resultModel, parent), model(resultModel) {}

void CShowtableviewEx::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void CShowtableviewEx::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void CShowtableviewEx::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || rows.isEmpty())
        return;
    const int row = indexAt(event->pos()).row();
    if (row >= 0 && row < rows.size())
        emit leftdoubleClicked(QStringList(rows.at(row)));
}
