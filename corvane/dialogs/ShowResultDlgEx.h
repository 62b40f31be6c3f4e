// Modal result table of the GPIO detection: one row per device (address, overall result); a
// left double click on a row opens that device's GPIO items in a nested result table.
#pragma once

#include "ResultTableDialog.h"

#include <vector>

#include "../mainwindow/FixturePendingInfo.h"

class CShowtableviewEx;

class ShowResultDlgEx : public ResultTableDialog {
    Q_OBJECT
public:
    ShowResultDlgEx(const QStringList& headers, QWidget* parent, int width, int height);

    CShowtableviewEx* table() const { return resultTable; }
    // Fills the table and keeps the records for the detail view (none when the list is empty).
    void showGpioTestResult(std::vector<FixturePendingInfo> records);

public slots:
    void onDoubleClickedShow(QStringList list);

private:
    CShowtableviewEx* resultTable = nullptr;
    std::vector<FixturePendingInfo> deviceRecords;
};
