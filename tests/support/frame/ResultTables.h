// What a result window showed, read before the closer closes it.
#pragma once

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

class ShowResultDialog;
class ShowResultDlgEx;

namespace frametest {

struct ShownTable {
    QString className; // ShowResultDialog or ShowResultDlgEx
    QSize size;
    QStringList headers;
    QList<QStringList> rows;
    QString devices; // the count labels
    QString failed;
};

// Every column of the batch result table.
ShownTable readTable(const ShowResultDialog& dialog);
// The GPIO result table: its two columns.
ShownTable readTable(const ShowResultDlgEx& dialog);

} // namespace frametest
