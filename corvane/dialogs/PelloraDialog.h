// A label form inside the main program: language choice, six product fields and three
// buttons. Nothing opens it (labels are printed by the separate label program); its printing
// slots do nothing.
#pragma once

#include "FramelessDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class PelloraDialog : public FramelessDialog {
    Q_OBJECT

public:
    explicit PelloraDialog(QWidget* parent = nullptr);
    ~PelloraDialog() override;

    int dialogHeight = 477;
    int dialogWidth = 534;

    QRadioButton* chineseRadio = nullptr;
    QRadioButton* englishRadio = nullptr;
    QLineEdit* fieldEdits[6] = {};
    QPushButton* cancelButton = nullptr;
    QPushButton* previewButton = nullptr;
    QPushButton* printButton = nullptr;

public slots:
    void onCloseBtnClicked();
    void onPrintingPreview();
    void onDirectPrinting();
};
