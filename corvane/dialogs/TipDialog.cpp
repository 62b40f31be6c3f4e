#include "TipDialog.h"

#include "FramelessDialogFrame.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

TipDialog::TipDialog(QWidget* parent) : FramelessDialog(parent) {
    setWindowFlags(Qt::FramelessWindowHint);
    const FramelessDialogFrame::Parts frame = FramelessDialogFrame::build(this, dialogWidth, dialogHeight);
    keepFrame(frame);
    connect(closeButton, &QPushButton::clicked, this, &TipDialog::onCloseBtnClicked);

    iconLabel = new QLabel(this);
    iconLabel->setGeometry(20, 51, 20, 20);
    iconLabel->setScaledContents(true);

    textLabel = new QLabel(this);
    textLabel->setGeometry(44, 54, 220, 62);
    textLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    textLabel->setWordWrap(true);
    textLabel->setStyleSheet(
        "QLabel{font-size: 14px; font-family: AlibabaPuHuiTiR;color: #333333; line-height: 22px;}");

    confirmButton = new QPushButton(tr("Confirm"), this);
    confirmButton->setGeometry(152, 132, 88, 30);
    connect(confirmButton, &QPushButton::clicked, this, &TipDialog::onCloseBtnClicked);

    armDrag();
}

TipDialog::~TipDialog() = default;

void TipDialog::showMessage(const QString& icon, const QString& text) {
    TipDialog tip;
    tip.iconLabel->setPixmap(QPixmap(icon));
    tip.textLabel->setText(text);
    tip.exec();
}

void TipDialog::onCloseBtnClicked() {
    close();
}
