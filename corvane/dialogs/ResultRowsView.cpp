#include "ResultRowsView.h"

#include "ResultRowsModel.h"

#include <QFrame>
#include <QHeaderView>
#include <QScrollBar>

ResultRowsView::ResultRowsView(const QStringList& headerList, ResultRowsModel* model, QWidget* parent)
    : QTableView(parent), headers(headerList), _rowsModel(model) {
    // Titles and rows go in before the view sees the model, so that the column widths below
    // apply to existing columns.
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

    connect(model, &ResultRowsModel::updateCount, this, &ResultRowsView::updateTotal);
}

ResultRowsView::~ResultRowsView() {
    // The model has no parent: detach it from the view before it is deleted.
    setModel(nullptr);
}

void ResultRowsView::appendRow(const QStringList& row) {
    rows.append(row);
    _rowsModel->refresh();
}

void ResultRowsView::clearRows() {
    rows.clear();
    _rowsModel->refresh();
}

int ResultRowsView::rowCount() const {
    return _rowsModel->rowCount();
}

QVariant ResultRowsView::getData(int row, int column) const {
    return _rowsModel->getData(row, column);
}

void ResultRowsView::setTableWidth(int width) {
    setFixedWidth(width);
    horizontalScrollBar()->setFixedWidth(width);
}
