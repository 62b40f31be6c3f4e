#include "AboutUsDialog.h"

#include "dialogs/FramelessDialogFrame.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

AboutUsDialog::AboutUsDialog(QWidget* parent) : QDialog(parent), _dlgHeight(146), _dlgWidth(312) {
    setWindowFlags(Qt::FramelessWindowHint);
    buildUi();
    _dragging = false;
    _dragArea = rect();
}

void AboutUsDialog::buildUi() {
    const FramelessDialogFrame::Parts frame = FramelessDialogFrame::build(this, _dlgWidth, _dlgHeight);
    _titleLogoLabel = frame.titleLogoLabel;
    _titleLabel = frame.titleLabel;
    _titleLabel->setText(tr("About Us"));
    _closeBtn = frame.closeButton;
    connect(_closeBtn, &QPushButton::clicked, this, &AboutUsDialog::onCloseBtnClicked);

    _iconLabel = new QLabel(this);
    _iconLabel->setGeometry(20, 61, 34, 34);
    _iconLabel->setStyleSheet("QLabel{background:transparent; border:no;"
                              "image:url(./skin/client/default/MainFrame/aboutUs.png);}");

    _rightsLabel = new QLabel(tr("Copyright (C) All rights reserved."), this);
    _rightsLabel->setGeometry(68, 60, _dlgWidth - 68, 20);

    _versionLabel = new QLabel(tr("Version:") + " " + ozmParamsMgr()->version(), this);
    _versionLabel->setGeometry(68, 80, _dlgWidth - 68, 20);
}

void AboutUsDialog::onCloseBtnClicked() {
    close();
}

void AboutUsDialog::mousePressEvent(QMouseEvent* event) {
    FramelessDialogFrame::press(event, _dragArea, _pressPos, _dragging);
}

void AboutUsDialog::mouseMoveEvent(QMouseEvent* event) {
    FramelessDialogFrame::move(this, event, _dragging, _pressPos);
}

void AboutUsDialog::mouseReleaseEvent(QMouseEvent* event) {
    FramelessDialogFrame::release(event, _dragging);
}
