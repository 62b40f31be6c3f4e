// What the modal result dialogs share: the frameless frame with its drag handling, the column
// titles, and the counts line above the table ("Modify device:" n, "Modify failed:" n).
// ShowResultDialog and ShowResultDlgEx add their table and their fill operations.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QStringList>

class QLabel;
class QPushButton;
class QTableView;

class ResultTableDialog : public QDialog {
    Q_OBJECT
public:
    QString deviceCountText() const;
    QString failedCountText() const;
    bool countsVisible() const;

protected:
    // Builds the frame (title "IPC Corvane"); the caller connects closeButton.
    ResultTableDialog(const QStringList& headers, QWidget* parent, int width, int height);
    // Places the table below the counts line and builds that line with the captions given
    // (translated by the caller's class).
    void placeTable(QTableView* table, const QString& deviceCaption, const QString& failedCaption);
    void setCounts(int total, int successes);
    void hideCounts();

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

    QLabel* titleLogoLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QPushButton* closeButton = nullptr;
    int dialogHeight = 0;
    int dialogWidth = 0;
    bool isDragging = false;
    QRect titleRect;
    QPoint pressPos;

    QStringList headers;
    QLabel* modifyDeviceLabel = nullptr;
    QLabel* deviceCountLabel = nullptr;
    QLabel* modifyFailedLabel = nullptr;
    QLabel* failedCountLabel = nullptr;
};
