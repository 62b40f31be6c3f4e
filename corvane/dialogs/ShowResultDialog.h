// Modal result table of a batch: one row per device, the device and failure counts above.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QStringList>

#include <set>
#include <vector>

#include "../engine/DeviceResultInfo.h"
#include "../engine/OtherParamResultInfo.h"
#include "../mainwindow/FixturePendingInfo.h"
#include "../mainwindow/NetInfoResultInfo.h"

class QLabel;
class QPushButton;
class Cmodifytableview;

class ShowResultDialog : public QDialog {
    Q_OBJECT
public:
    ShowResultDialog(const QStringList& headers, QWidget* parent, int width, int height);

    void showBatchResult(std::vector<DeviceResultInfo> records);
    void showSetIpResult(std::vector<NetInfoResultInfo> records);
    // The records at the indices in leftOut were not run (their camera was still busy): their
    // cells say "Busy" and they count as failed.
    void showOtherParamResult(std::vector<OtherParamResultInfo> records, int enabledCount,
                              const std::set<std::size_t>& leftOut = {});
    void showAudioTestResult(std::vector<FixturePendingInfo> records);
    void showSDCardResult(std::vector<SdCardResultInfo> records);
    void showTestDetail(const FixtureGpioItem* items, int count);

    Cmodifytableview* table() const { return resultTable; }
    QString deviceCountText() const;
    QString failedCountText() const;
    bool countsVisible() const;

public slots:
    void onCloseBtnClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QString statusText(int status) const;
    void setCounts(int total, int successes);

    QLabel* titleLogoLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QPushButton* closeButton = nullptr;
    int dialogHeight = 0;
    int dialogWidth = 0;
    bool isDragging = false;
    QRect titleRect;
    QPoint pressPos;

    QStringList headers;
    Cmodifytableview* resultTable = nullptr;
    QLabel* modifyDeviceLabel = nullptr;
    QLabel* deviceCountLabel = nullptr;
    QLabel* modifyFailedLabel = nullptr;
    QLabel* failedCountLabel = nullptr;
};
