#include "Cmodifyupgradeview.h"

#include "Cmodifyresultmodel.h"

#include <QFrame>
#include <QHeaderView>
#include <QScrollBar>

Cmodifyupgradeview::Cmodifyupgradeview(QWidget* parent) : QTableView(parent) {
    setStyleSheet("QTableView { color: black; gridline-color: black; background-color: rgb(108, 108, 108); "
                  "alternate-background-color: rgb(64, 64, 64); selection-color: white; "
                  "selection-background-color: rgb(77, 77, 77);border: 2px groove gray;border-radius: 0px;"
                  "padding: 2px 4px;}");
    horizontalHeader()->setStyleSheet("color: black;");

    model = new Cmodifyresultmodel(nullptr);
    model->setColorMode(-1);
    model->setHorizontalHeader({tr("IP"), tr("Upgrade Process"), tr("Upgrade State")});
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
    setColumnWidth(1, 200);
    verticalHeader()->setDefaultSectionSize(36);

    connect(model, &Cmodifyresultmodel::updateCount, this, &Cmodifyupgradeview::updateTotal);
}

Cmodifyupgradeview::~Cmodifyupgradeview() {
    setModel(nullptr);
    delete model;
}

void Cmodifyupgradeview::appendRow(const QStringList& row) {
    rows.append(row);
    model->refresh();
}

void Cmodifyupgradeview::clearRows() {
    rows.clear();
    model->refresh();
}

int Cmodifyupgradeview::rowCount() const {
    return model->rowCount();
}

QVariant Cmodifyupgradeview::getData(int row, int column) const {
    return model->getData(row, column);
}

void Cmodifyupgradeview::setTableWidth(int width) {
    setFixedWidth(width);
    horizontalScrollBar()->setFixedWidth(width);
}
