#include "Cmodifytableview.h"

#include "Cmodifyresultmodel.h"

#include <QFrame>
#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

Cmodifytableview::Cmodifytableview(const QStringList& headerList, QWidget* parent)
    : QTableView(parent), headers(headerList) {
    model = new Cmodifyresultmodel(nullptr);
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
    // Every title shows whole ("Setting Privacy Mask" is wider than a default column): a column
    // is at least as wide as its title; the last one also fills what room is left.
    horizontalHeader()->ensurePolished();
    for (int c = 0; c < headers.size(); ++c)
        setColumnWidth(c, std::max(columnWidth(c), horizontalHeader()->sectionSizeHint(c)));
    verticalHeader()->setDefaultSectionSize(36);

    connect(model, &Cmodifyresultmodel::updateCount, this, &Cmodifytableview::updateTotal);
}

Cmodifytableview::~Cmodifytableview() {
    // The model has no parent: detach it from the view before deleting it.
    setModel(nullptr);
    delete model;
}

void Cmodifytableview::appendRow(const QStringList& row) {
    rows.append(row);
    model->refresh();
}

void Cmodifytableview::setColorMode(int mode) {
    model->setColorMode(mode);
}

void Cmodifytableview::clearRows() {
    rows.clear();
    model->refresh();
}

int Cmodifytableview::rowCount() const {
    return model->rowCount();
}

QVariant Cmodifytableview::getData(int row, int column) const {
    return model->getData(row, column);
}

void Cmodifytableview::setTableWidth(int width) {
    setFixedWidth(width);
    horizontalScrollBar()->setFixedWidth(width);
}
