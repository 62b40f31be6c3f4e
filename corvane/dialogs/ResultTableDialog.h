// What the modal result dialogs share: the frameless frame with its drag handling and its close
// button, the column titles, the counts line above the table ("Modify device:" n, "Modify
// failed:" n) and the fill of a table with the fixture's results. ShowResultDialog and
// ShowResultDlgEx add their table and their fill operations.
#pragma once

#include "FramelessDialog.h"

#include <QStringList>

#include <vector>

#include "../mainwindow/FixturePendingInfo.h"

class QLabel;
class QPushButton;
class QTableView;
class ResultRowsView;

class ResultTableDialog : public FramelessDialog {
    Q_OBJECT
public:
    QString deviceCountText() const;
    QString failedCountText() const;
    bool countsVisible() const;

public slots:
    void onCloseBtnClicked();

protected:
    // Builds the frame (title "IPC Corvane"); closeButton closes the dialog.
    ResultTableDialog(const QStringList& headers, QWidget* parent, int width, int height);
    // Places the table below the counts line and builds that line with the captions given
    // (translated by the caller's class).
    void placeTable(QTableView* table, const QString& deviceCaption, const QString& failedCaption);
    void setCounts(int total, int successes);
    void hideCounts();
    // One row per fixture record, its address and the text of the result field given; a record
    // whose text is "OK" succeeded. Then the counts.
    void showFixtureResults(ResultRowsView* table, const std::vector<FixturePendingInfo>& records,
                            const char (FixturePendingInfo::*result)[16]);

    int dialogHeight = 0;
    int dialogWidth = 0;

    QStringList headers;
    QLabel* modifyDeviceLabel = nullptr;
    QLabel* deviceCountLabel = nullptr;
    QLabel* modifyFailedLabel = nullptr;
    QLabel* failedCountLabel = nullptr;
};
