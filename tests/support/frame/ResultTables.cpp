#include "ResultTables.h"

#include "CShowtableviewEx.h"
#include "Cmodifyresultmodel.h"
#include "CmodifyresultmodelEx.h"
#include "Cmodifytableview.h"
#include "ShowResultDialog.h"
#include "ShowResultDlgEx.h"

namespace frametest {

namespace {

template <typename Dialog> ShownTable read(const Dialog& dialog, const QString& className, int columns) {
    ShownTable shown;
    shown.className = className;
    shown.size = dialog.size();
    const auto* view = dialog.table();
    for (int c = 0; c < columns; ++c)
        shown.headers << view->resultModel()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    for (int r = 0; r < view->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c)
            row << view->getData(r, c).toString();
        shown.rows << row;
    }
    shown.devices = dialog.deviceCountText();
    shown.failed = dialog.failedCountText();
    return shown;
}

} // namespace

ShownTable readTable(const ShowResultDialog& dialog) {
    return read(dialog, QStringLiteral("ShowResultDialog"), dialog.table()->resultModel()->columnCount());
}

ShownTable readTable(const ShowResultDlgEx& dialog) {
    return read(dialog, QStringLiteral("ShowResultDlgEx"), 2);
}

} // namespace frametest
