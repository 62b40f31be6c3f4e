#include "Cmodifytableview.h"

#include "Cmodifyresultmodel.h"

#include <QHeaderView>

#include <algorithm>

Cmodifytableview::Cmodifytableview(const QStringList& headerList, QWidget* parent)
    : Cmodifytableview(headerList, new Cmodifyresultmodel(nullptr), parent) {}

Cmodifytableview::Cmodifytableview(const QStringList& headerList, Cmodifyresultmodel* resultModel,
                                   QWidget* parent)
    : ResultRowsView(headerList, resultModel, parent), model(resultModel) {
    // Every title shows whole ("Setting Privacy Mask" is wider than a default column): a column
    // is at least as wide as its title; the last one also fills what room is left.
    horizontalHeader()->ensurePolished();
    for (int c = 0; c < headers.size(); ++c)
        setColumnWidth(c, std::max(columnWidth(c), horizontalHeader()->sectionSizeHint(c)));
}

void Cmodifytableview::setColorMode(int mode) {
    model->setColorMode(mode);
}
