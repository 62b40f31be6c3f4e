#include "Cmodifyupgradeview.h"

#include <QHeaderView>

Cmodifyupgradeview::Cmodifyupgradeview(QWidget* parent)
    : Cmodifytableview({tr("IP"), tr("Upgrade Process"), tr("Upgrade State")}, parent) {
    // White on the two greys of the rows: black on them could hardly be read.
    setStyleSheet("QTableView { color: white; gridline-color: black; background-color: rgb(108, 108, 108); "
                  "alternate-background-color: rgb(64, 64, 64); selection-color: white; "
                  "selection-background-color: rgb(77, 77, 77);border: 2px groove gray;border-radius: 0px;"
                  "padding: 2px 4px;}");
    horizontalHeader()->setStyleSheet("color: black;");
    setColorMode(-1);
    setColumnWidth(1, 200);
}
