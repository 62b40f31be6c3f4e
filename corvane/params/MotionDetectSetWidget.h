// Motion detection page: "Region" (enable, sensitivity, the 22 x 18 area grid) and "Arming"
// (the weekly schedule). Loads _SC_ALARM_DATA_ from the parameter store when built and stores
// it with saveMotionDetect.
#pragma once

#include <QWidget>

namespace OZM {
struct _SC_ALARM_DATA_;
}

class AreaWndWidget;
class CScheduleSet;
class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QStackedLayout;

class MotionDetectSetWidget : public QWidget {
    Q_OBJECT

public:
    explicit MotionDetectSetWidget(QWidget* parent = nullptr);
    ~MotionDetectSetWidget() override;

    // Builds the record from the controls and stores it. Always true.
    bool saveMotionDetect();

    // Writes the periods of an IotSchedule text (parts separated by ";") into the record's
    // schedule table. A part that is not a JSON object with the four integer keys, or whose
    // day (0..6), period (0..7) or times (0..86399 s) are out of range, is skipped with a log
    // line. A later part for the same day and period overwrites an earlier one. Returns the
    // number of parts written.
    static int applyIotSchedule(const QString& schedule, OZM::_SC_ALARM_DATA_* info);

    QPushButton* regionButton() const { return m_regionButton; }
    QPushButton* armingButton() const { return m_armingButton; }
    QCheckBox* enableCheck() const { return m_enableCheck; }
    QSlider* sensitivitySlider() const { return m_sensitivitySlider; }
    QSpinBox* sensitivityBox() const { return m_sensitivityBox; }
    QPushButton* regionSelectAll() const { return m_regionSelectAll; }
    QPushButton* regionCleanAll() const { return m_regionCleanAll; }
    QPushButton* armingSelectAll() const { return m_armingSelectAll; }
    QPushButton* armingCleanAll() const { return m_armingCleanAll; }
    AreaWndWidget* areaWidget() const { return m_areaWidget; }
    CScheduleSet* scheduleSet() const { return m_scheduleSet; }
    QStackedLayout* pages() const { return m_pages; }
    QLabel* regionMarker() const { return m_regionMarker; }
    QLabel* armingMarker() const { return m_armingMarker; }

public slots:
    void onAreaSetBtnClicked();
    void onArmingTimeBtnClicked();
    void onBtnClicked();

private:
    void initUi();
    QWidget* createRegionPage();
    QWidget* createArmingPage();
    void loadMotionDetect();

    QPushButton* m_regionButton = nullptr;
    QPushButton* m_armingButton = nullptr;
    bool m_regionActive = false;
    bool m_armingActive = false;
    QCheckBox* m_enableCheck = nullptr;
    QLabel* m_regionMarker = nullptr;
    QLabel* m_armingMarker = nullptr;
    QFrame* m_splitLine = nullptr;
    QWidget* m_topWidget = nullptr;
    QWidget* m_bottomWidget = nullptr;
    QStackedLayout* m_pages = nullptr;
    QPushButton* m_regionSelectAll = nullptr;
    QPushButton* m_regionCleanAll = nullptr;
    QLabel* m_sensitivityLabel = nullptr;
    QSlider* m_sensitivitySlider = nullptr;
    QSpinBox* m_sensitivityBox = nullptr;
    QPushButton* m_armingSelectAll = nullptr;
    QPushButton* m_armingCleanAll = nullptr;
    CScheduleSet* m_scheduleSet = nullptr;
    AreaWndWidget* m_areaWidget = nullptr;
};
