#include "CShowtableviewEx.h"

#include "CmodifyresultmodelEx.h"

#include <QFrame>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

CShowtableviewEx::CShowtableviewEx(const QStringList& headerList, QWidget* parent)
    : QTableView(parent), headers(headerList) {
    model = new CmodifyresultmodelEx(nullptr);
    model->setHorizontalHeader(headers);
    model->setModelData(&rows);
    setModel(model);

    setAlternatingRowColors(true);
    setFrameShape(QFrame::StyledPanel);
    setShowGrid(false);
    setFocusPolicy(Qt::NoFocus);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    horizontalHeader()->setStretchLastSection(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    verticalHeader()->setHidden(true);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setFixedHeight(32);
    setColumnWidth(1, 150);
    verticalHeader()->setDefaultSectionSize(36);

    connect(model, &CmodifyresultmodelEx::updateCount, this, &CShowtableviewEx::updateTotal);
}

CShowtableviewEx::~CShowtableviewEx() {
    // The model has no parent: detach it from the view before deleting it.
    setModel(nullptr);
    delete model;
}

void CShowtableviewEx::appendRow(const QStringList& row) {
    rows.append(row);
    model->refresh();
}

void CShowtableviewEx::clearRows() {
    rows.clear();
    model->refresh();
}

int CShowtableviewEx::rowCount() const {
    return model->rowCount();
}

QVariant CShowtableviewEx::getData(int row, int column) const {
    return model->getData(row, column);
}

void CShowtableviewEx::setTableWidth(int width) {
    setFixedWidth(width);
    horizontalScrollBar()->setFixedWidth(width);
}

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
