// The OSD settings of the OSD batch: show time, show text, date format, position and the OSD
// text, loaded from and saved to the parameter store's OSD record.
#pragma once

#include "ozmlogic/ParamRecords.h"

#include <QDialog>
#include <QPoint>
#include <QRect>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class SetOsdDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxTextLength = 31;

    explicit SetOsdDialog(QWidget* parent = nullptr);
    ~SetOsdDialog() override;

    // The controls from a record / a record from the controls.
    void loadRecord(const OZM::_SC_SETOSD_DATA_& record);
    OZM::_SC_SETOSD_DATA_ record() const;

    QLabel* titleLogoLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QPushButton* closeButton = nullptr;
    int dialogHeight = 377;
    int dialogWidth = 534;
    bool isDragging = false;
    QRect titleRect;
    QPoint pressPos;

    QCheckBox* showTimeCheckBox = nullptr;
    QCheckBox* showTextCheckBox = nullptr;
    QComboBox* dateFormatComboBox = nullptr;
    QComboBox* positionComboBox = nullptr;
    QLineEdit* osdTextEdit = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* confirmButton = nullptr;

public slots:
    void onCloseBtnClicked();
    void onConfirm();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};
