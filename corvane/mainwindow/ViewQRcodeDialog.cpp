#include "ViewQRcodeDialog.h"

#include "ozmlogic/OzmLogic.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

namespace {

// Device-binding page of the service the mobile app uses.
const char* const kBindingService = "https://account.example.com";
const char* const kValueStyle = "QLabel{font-size: 20px; color: #333333;line-height: 27px;}";

} // namespace

ViewQRcodeDialog::ViewQRcodeDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::FramelessWindowHint);
    setFixedSize(340, 400);
    setStyleSheet("QDialog{background: #FFFFFF;border: 1px solid #ADADAD;}");

    auto* titleStrip = new QWidget(this);
    titleStrip->setGeometry(0, 0, 340, 30);
    titleStrip->setStyleSheet("width: 340px; height: 30px;background: #CDCDCD");
    auto* titleLayout = new QHBoxLayout(titleStrip);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->setSpacing(0);
    auto* logo = new QLabel(titleStrip);
    logo->setObjectName("titleLogo");
    auto* title = new QLabel(tr("Device QRcode"), titleStrip);
    OzmLogic::setMyFontRegular(title);
    titleLayout->addWidget(logo);
    titleLayout->addWidget(title);
    titleLayout->addStretch();

    _closeBtn = new QPushButton(this);
    _closeBtn->setGeometry(310, 0, 30, 30);
    _closeBtn->setStyleSheet("QPushButton{background:transparent; border:no;"
                             "image:url(./skin/client/default/MainFrame/icon_close_black.png);}");
    connect(_closeBtn, &QPushButton::clicked, this, &ViewQRcodeDialog::onCloseBtnClicked);

    auto* body = new QWidget(this);
    body->setGeometry(0, 30, 340, 360);
    _qrLabel = new QLabel(body);
    _qrLabel->setGeometry(50, 40, 240, 240);
    _qrLabel->setScaledContents(true);
    _serialLabel = new QLabel(body);
    _serialLabel->setGeometry(0, 324, 340, 30);
    _serialLabel->setAlignment(Qt::AlignCenter);
    _serialLabel->setStyleSheet(kValueStyle);
    _appLabel = new QLabel(body);
    _appLabel->setGeometry(0, 354, 340, 30);
    _appLabel->setAlignment(Qt::AlignCenter);
    _appLabel->setStyleSheet(kValueStyle);

    _dragging = false;
    _dragArea = rect();
}

QString ViewQRcodeDialog::deviceLink(const QString& serial) {
    return QString(kBindingService) +
           "/home/account/device-qrcode?device_id=" + QString::fromLatin1(QUrl::toPercentEncoding(serial));
}

void ViewQRcodeDialog::onCloseBtnClicked() {
    close();
}

void ViewQRcodeDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    _pressPos = event->pos();
    if (_pressPos.y() <= 40)
        _dragging = _dragArea.contains(_pressPos);
}

void ViewQRcodeDialog::mouseReleaseEvent(QMouseEvent* event) {
    _dragging = false;
    if (event->button() == Qt::LeftButton)
        event->accept();
}

void ViewQRcodeDialog::mouseMoveEvent(QMouseEvent* event) {
    if (_dragging)
        move(pos() + event->pos() - _pressPos);
}
