// The OSD settings of the OSD batch: show time, show text, date format, position and the OSD
// text, loaded from and saved to the parameter store's OSD record.
#pragma once

#include "FramelessDialog.h"
#include "ozmlogic/ParamRecords.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class SetOsdDialog : public FramelessDialog {
    Q_OBJECT

public:
    static constexpr int kMaxTextLength = 31;

    explicit SetOsdDialog(QWidget* parent = nullptr);
    ~SetOsdDialog() override;

    // The controls from a record / a record from the controls.
    void loadRecord(const OZM::_SC_SETOSD_DATA_& record);
    OZM::_SC_SETOSD_DATA_ record() const;

    int dialogHeight = 377;
    int dialogWidth = 534;

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
};
