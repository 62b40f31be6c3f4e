// Firmware-upgrade progress window: one row per device, refilled on every progress report.
// It refuses to close while a device is upgrading; a device whose progress has not changed
// for kStallLimitMs of program time is marked failed, so a silent camera cannot keep the
// window open for ever.
#pragma once

#include <QDialog>
#include <QHash>
#include <QList>
#include <QStringList>

#include <cstdint>

class QCloseEvent;
class QLabel;
class QTimer;
class Cmodifyupgradeview;

class modifyupgradewidget : public QDialog {
    Q_OBJECT
public:
    static constexpr std::uint64_t kStallLimitMs = 120000;
    // The columns of a progress row, as reported and as shown.
    enum Column { ColIp = 0, ColProgress = 1, ColState = 2 };

    explicit modifyupgradewidget(QWidget* parent = nullptr);
    ~modifyupgradewidget() override;

    void setUpgradeResults(QList<QStringList> results);
    void refreshView();
    void setFailedCount(int count);

    Cmodifyupgradeview* view() const { return upgradeView; }
    QString modifyNumberText() const;
    QString failedNumberText() const;
    // One watchdog pass (the timer runs it every second of program time).
    void checkStalled();

signals:
    // A device's progress stood still past the limit; its row now reads failed.
    void upgradeStalled(const QString& ip);

public slots:
    void updateCount(int count);

public slots:
    // Escape goes through the same refusal as the close button.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Progress {
        QString value;
        std::uint64_t since = 0;
    };

    static bool isEndState(const QString& progress);
    // Whether some device is still upgrading; if so, tells the operator to wait.
    bool refuseWhileUpgrading();

    Cmodifyupgradeview* upgradeView = nullptr;
    QLabel* modifyNumberLabel = nullptr;
    QLabel* modifyNumberValue = nullptr;
    QLabel* failedNumberLabel = nullptr;
    QLabel* failedNumberValue = nullptr;
    QTimer* stallTimer = nullptr;
    QHash<QString, Progress> lastProgress; // by IP
    bool m_closeChecked = false;
};
