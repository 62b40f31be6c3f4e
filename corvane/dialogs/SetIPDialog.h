// The IP start-address dialog: the mode, start address, subnet mask and gateway of the IP
// batch, loaded from and saved to the parameter store.
#pragma once

#include "FramelessDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class SetIPDialog : public FramelessDialog {
    Q_OBJECT

public:
    explicit SetIPDialog(QWidget* parent = nullptr);
    ~SetIPDialog() override;

    QRadioButton* setRadio = nullptr;
    QRadioButton* modifyRadio = nullptr;
    QLabel* ipLabel = nullptr;
    QLabel* maskLabel = nullptr;
    QLabel* gatewayLabel = nullptr;
    QLineEdit* ipEdit = nullptr;
    QLineEdit* maskEdit = nullptr;
    QLineEdit* gatewayEdit = nullptr;
    QPushButton* cancelButton = nullptr;
    QPushButton* confirmButton = nullptr;

public slots:
    void onCloseBtnClicked();
    void onCancelBtnClicked();
    void onConfirm();

private:
    void loadRecord();
};
