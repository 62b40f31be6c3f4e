#include "AboutUsDialog.h"

#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

AboutUsDialog::AboutUsDialog(QWidget* parent) : QDialog(parent), _dlgHeight(146), _dlgWidth(312) {
    setWindowFlags(Qt::FramelessWindowHint);
    setFixedSize(_dlgWidth, _dlgHeight);
    setStyleSheet("QDialog{background: #F2F2F2;border: 1px solid #ADADAD;}");
    buildUi();
    _dragging = false;
    _dragArea = rect();
}

void AboutUsDialog::buildUi() {
    auto* titleStrip = new QWidget(this);
    titleStrip->setGeometry(0, 0, _dlgWidth, 30);
    titleStrip->setStyleSheet("width: 340px; height: 30px;background: #CDCDCD");
    auto* titleLayout = new QHBoxLayout(titleStrip);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->setSpacing(0);
    _titleLogoLabel = new QLabel(titleStrip);
    _titleLogoLabel->setObjectName("titleLogo");
    _titleLabel = new QLabel(tr("About Us"), titleStrip);
    OzmLogic::setMyFontRegular(_titleLabel);
    titleLayout->addWidget(_titleLogoLabel);
    titleLayout->addWidget(_titleLabel);
    titleLayout->addStretch();

    _closeBtn = new QPushButton(titleStrip);
    _closeBtn->setGeometry(_dlgWidth - 30, 0, 30, 30);
    _closeBtn->setStyleSheet("QPushButton{background:transparent; border:no;"
                             "image:url(./skin/client/default/MainFrame/icon_close_black.png);}");
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
    if (event->button() != Qt::LeftButton)
        return;
    _pressPos = event->pos();
    if (_pressPos.y() <= 40)
        _dragging = _dragArea.contains(_pressPos);
}

void AboutUsDialog::mouseMoveEvent(QMouseEvent* event) {
    if (_dragging)
        move(pos() + event->pos() - _pressPos);
}

void AboutUsDialog::mouseReleaseEvent(QMouseEvent* event) {
    _dragging = false;
    if (event->button() == Qt::LeftButton)
        event->accept();
}
