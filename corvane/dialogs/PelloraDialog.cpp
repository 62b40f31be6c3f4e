#include "PelloraDialog.h"

#include "FramelessDialogFrame.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

PelloraDialog::PelloraDialog(QWidget* parent) : FramelessDialog(parent) {
    setWindowFlags(Qt::FramelessWindowHint);
    const FramelessDialogFrame::Parts frame = FramelessDialogFrame::build(this, dialogWidth, dialogHeight);
    keepFrame(frame);
    titleLabel->setText(tr("Pellora"));
    connect(closeButton, &QPushButton::clicked, this, &PelloraDialog::onCloseBtnClicked);

    auto* form = new QWidget(this);
    form->setGeometry(0, 60, dialogWidth, 360);
    auto* rows = new QVBoxLayout(form);

    auto* languageRow = new QHBoxLayout;
    chineseRadio = new QRadioButton(tr("Chinese"), form);
    englishRadio = new QRadioButton(tr("English"), form);
    languageRow->addWidget(chineseRadio);
    languageRow->addWidget(englishRadio);
    rows->addLayout(languageRow);

    const char* const captions[6] = {QT_TR_NOOP("Name"), QT_TR_NOOP("Model"), QT_TR_NOOP("Power"),
                                     QT_TR_NOOP("POE"),  QT_TR_NOOP("SN"),    QT_TR_NOOP("Mac")};
    for (int i = 0; i < 6; ++i) {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(tr(captions[i]), form));
        fieldEdits[i] = new QLineEdit(form);
        row->addWidget(fieldEdits[i]);
        rows->addLayout(row);
    }

    auto* buttons = new QWidget(this);
    buttons->setGeometry(0, 437, dialogWidth, 30);
    auto* buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    cancelButton = new QPushButton(tr("cancel"), buttons);
    previewButton = new QPushButton(tr("PrintingPreview"), buttons);
    printButton = new QPushButton(tr("DirectPrinting"), buttons);
    buttonRow->addWidget(cancelButton);
    buttonRow->addWidget(previewButton);
    buttonRow->addWidget(printButton);
    connect(cancelButton, &QPushButton::clicked, this, &PelloraDialog::onCloseBtnClicked);
    connect(previewButton, &QPushButton::clicked, this, &PelloraDialog::onPrintingPreview);
    connect(printButton, &QPushButton::clicked, this, &PelloraDialog::onDirectPrinting);

    armDrag();
}

PelloraDialog::~PelloraDialog() = default;

void PelloraDialog::onCloseBtnClicked() {
    close();
}

void PelloraDialog::onPrintingPreview() {}

void PelloraDialog::onDirectPrinting() {}
