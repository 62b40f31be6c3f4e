// Modal result table of the GPIO detection: one row per device (address, overall result); a
// left double click on a row opens that device's GPIO items in a nested result table.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QStringList>

#include <vector>

#include "../mainwindow/FixturePendingInfo.h"

class QLabel;
class QPushButton;
class CShowtableviewEx;

class ShowResultDlgEx : public QDialog {
    Q_OBJECT
public:
    ShowResultDlgEx(const QStringList& headers, QWidget* parent, int width, int height);

    void showGpioTestResult(std::vector<FixturePendingInfo> records);

    CShowtableviewEx* table() const { return resultTable; }
    QString deviceCountText() const;
    QString failedCountText() const;

public slots:
    void onCloseBtnClicked();
    void onDoubleClickedShow(QStringList list);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QLabel* titleLogoLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QPushButton* closeButton = nullptr;
    int dialogHeight = 0;
    int dialogWidth = 0;
    bool isDragging = false;
    QRect titleRect;
    QPoint pressPos;

    QStringList headers;
    CShowtableviewEx* resultTable = nullptr;
    QLabel* modifyDeviceLabel = nullptr;
    QLabel* deviceCountLabel = nullptr;
    QLabel* modifyFailedLabel = nullptr;
    QLabel* failedCountLabel = nullptr;
    std::vector<FixturePendingInfo> deviceRecords;
};
