// Time page: time zone, update method (NTP server, a time set by hand, or the computer's
// clock), NTP server and automatic sync, summer time. Loads _SC_SETTIME_DATA_ from the
// parameter store when built and stores it with saveTimeInfo. Shows a live clock of the PC.
#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QStackedLayout;
class QTimer;

class TimeSetWidget : public QWidget {
    Q_OBJECT

public:
    // The server name field holds 200 bytes with its terminating zero.
    static constexpr int kServerNameMax = 199;
    static constexpr int kIntervalMin = 1;
    static constexpr int kIntervalMax = 10080;

    explicit TimeSetWidget(QWidget* parent = nullptr);
    ~TimeSetWidget() override;

    // Validates, builds the record from the controls and stores it. False (nothing stored)
    // when the interval check failed and its warning was shown.
    bool saveTimeInfo();

    // Shows a warning message box and waits until it is closed; a refused field is announced
    // first through checkFailed.
    void showWarningTip(const QString& text, QWidget* field = nullptr);

    // The five preset NTP servers of the server list (entry 5 is "Customize").
    static QStringList presetServers();

    // Controls, for the dialog and tests.
    QComboBox* zoneCombo() const { return m_zoneCombo; }
    QCheckBox* nvrCheck() const { return m_nvrCheck; }
    QComboBox* methodCombo() const { return m_methodCombo; }
    QComboBox* serverCombo() const { return m_serverCombo; }
    QLineEdit* serverEdit() const { return m_serverEdit; }
    QComboBox* autoSyncCombo() const { return m_autoSyncCombo; }
    QLineEdit* intervalEdit() const { return m_intervalEdit; }
    QDateTimeEdit* setTimeEdit() const { return m_setTimeEdit; }
    QLineEdit* computerTimeEdit() const { return m_computerTimeEdit; }
    QCheckBox* summerCheck() const { return m_summerCheck; }
    QWidget* middleSection() const { return m_midWidget; }
    QStackedLayout* middleStack() const { return m_midStack; }
    QTimer* clockTimer() const { return m_clockTimer; }
    // The nine summer-time controls: start month, week, weekday, hour; end month, week,
    // weekday, hour; offset.
    QList<QWidget*> summerControls() const;

signals:
    // A save check refused this field; emitted before its warning is shown.
    void checkFailed(QWidget* field);

public slots:
    void onUpdateMethodChange(int index);
    void onSntpSeverComboBoxChange(int index);
    void onNtpAutoSyncComboBox(int index);
    void onUpdateTime();
    void onCheckBoxClicked();

private:
    void createZoneAndMethod();
    void createUpdatePages();
    void createSummerTime();
    void loadTimeInfo();
    QLabel* makeLabel(const QString& text, QWidget* parent);
    QComboBox* makeCombo(const QStringList& items, QWidget* parent, int width);

    QWidget* m_topWidget = nullptr;
    QWidget* m_midWidget = nullptr;
    QWidget* m_bottomWidget = nullptr;

    QLabel* m_zoneLabel = nullptr;
    QComboBox* m_zoneCombo = nullptr;
    QCheckBox* m_nvrCheck = nullptr;
    QFrame* m_splitLine = nullptr;
    QLabel* m_methodLabel = nullptr;
    QComboBox* m_methodCombo = nullptr;

    QLabel* m_serverLabel = nullptr;
    QComboBox* m_serverCombo = nullptr;
    QLineEdit* m_serverEdit = nullptr;
    QLabel* m_autoSyncLabel = nullptr;
    QComboBox* m_autoSyncCombo = nullptr;
    QLabel* m_intervalLabel = nullptr;
    QLineEdit* m_intervalEdit = nullptr;
    QLabel* m_unitLabel = nullptr;
    QLabel* m_setTimeLabel = nullptr;
    QDateTimeEdit* m_setTimeEdit = nullptr;
    QLabel* m_computerTimeLabel = nullptr;
    QLineEdit* m_computerTimeEdit = nullptr;
    QStackedLayout* m_midStack = nullptr;
    QFrame* m_ntpFrame = nullptr;
    QFrame* m_manualFrame = nullptr;
    QFrame* m_computerFrame = nullptr;

    QCheckBox* m_summerCheck = nullptr;
    QLabel* m_startLabel = nullptr;
    QComboBox* m_startMonth = nullptr;
    QComboBox* m_startWeek = nullptr;
    QComboBox* m_startWeekday = nullptr;
    QDateTimeEdit* m_startHour = nullptr;
    QLabel* m_endLabel = nullptr;
    QComboBox* m_endMonth = nullptr;
    QComboBox* m_endWeek = nullptr;
    QComboBox* m_endWeekday = nullptr;
    QDateTimeEdit* m_endHour = nullptr;
    QLabel* m_offsetLabel = nullptr;
    QComboBox* m_offsetCombo = nullptr;

    QTimer* m_clockTimer = nullptr;
};
