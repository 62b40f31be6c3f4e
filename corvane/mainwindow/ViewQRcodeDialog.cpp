#include "ViewQRcodeDialog.h"

#include "dialogs/FramelessDialogFrame.h"
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

    const FramelessDialogFrame::Parts frame =
        FramelessDialogFrame::build(this, 340, 400, "background: #FFFFFF;border: 1px solid #ADADAD;");
    frame.titleLabel->setText(tr("Device QRcode"));
    _closeBtn = frame.closeButton;
    connect(_closeBtn, &QPushButton::clicked, this, &ViewQRcodeDialog::onCloseBtnClicked);

    // The white body fills the window below the title, inside the 1 px border.
    auto* body = new QWidget(this);
    body->setObjectName("qrBody");
    body->setAttribute(Qt::WA_StyledBackground, true);
    body->setStyleSheet(FramelessDialogFrame::scoped("QWidget", body->objectName(), "background: #FFFFFF;"));
    body->setGeometry(1, 30, 338, 369);
    _qrLabel = new QLabel(body);
    _qrLabel->setGeometry(49, 40, 240, 240);
    _qrLabel->setScaledContents(true);
    _serialLabel = new QLabel(body);
    _serialLabel->setGeometry(0, 294, 338, 30);
    _serialLabel->setAlignment(Qt::AlignCenter);
    _serialLabel->setStyleSheet(kValueStyle);
    _appLabel = new QLabel(body);
    _appLabel->setGeometry(0, 324, 338, 30);
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
    FramelessDialogFrame::press(event, _dragArea, _pressPos, _dragging);
}

void ViewQRcodeDialog::mouseReleaseEvent(QMouseEvent* event) {
    FramelessDialogFrame::release(event, _dragging);
}

void ViewQRcodeDialog::mouseMoveEvent(QMouseEvent* event) {
    FramelessDialogFrame::move(this, event, _dragging, _pressPos);
}
