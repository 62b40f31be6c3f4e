#include "ResultTableDialog.h"

#include "FramelessDialogFrame.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

ResultTableDialog::ResultTableDialog(const QStringList& headerList, QWidget* parent, int width, int height)
    : QDialog(parent), dialogHeight(height), dialogWidth(width), headers(headerList) {
    setWindowFlags(Qt::FramelessWindowHint);
    const FramelessDialogFrame::Parts frame = FramelessDialogFrame::build(this, dialogWidth, dialogHeight);
    titleLogoLabel = frame.titleLogoLabel;
    titleLabel = frame.titleLabel;
    titleLabel->setText(QStringLiteral("IPC Corvane"));
    closeButton = frame.closeButton;
}

void ResultTableDialog::placeTable(QTableView* table, const QString& deviceCaption,
                                   const QString& failedCaption) {
    table->setGeometry(14, 72, dialogWidth - 46, dialogHeight - 118);

    modifyDeviceLabel = new QLabel(deviceCaption, this);
    deviceCountLabel = new QLabel("0", this);
    modifyFailedLabel = new QLabel(failedCaption, this);
    failedCountLabel = new QLabel("0", this);
    failedCountLabel->setStyleSheet("QLabel{color:#F73F2E;}");
    auto* countFrame = new QFrame(this);
    auto* countLayout = new QHBoxLayout(countFrame);
    countLayout->setSpacing(0);
    countLayout->setContentsMargins(14, 0, 0, 5);
    countLayout->addWidget(modifyDeviceLabel);
    countLayout->addSpacing(15);
    countLayout->addWidget(deviceCountLabel);
    countLayout->addSpacing(30);
    countLayout->addWidget(modifyFailedLabel);
    countLayout->addSpacing(15);
    countLayout->addWidget(failedCountLabel);
    countLayout->addStretch();
    countFrame->setGeometry(12, 40, dialogWidth - 12, 30);

    isDragging = false;
    titleRect = geometry();
}

void ResultTableDialog::setCounts(int total, int successes) {
    deviceCountLabel->setText(QString::number(total));
    failedCountLabel->setText(QString::number(total - successes));
}

void ResultTableDialog::hideCounts() {
    modifyDeviceLabel->hide();
    deviceCountLabel->hide();
    modifyFailedLabel->hide();
    failedCountLabel->hide();
}

QString ResultTableDialog::deviceCountText() const {
    return deviceCountLabel->text();
}

QString ResultTableDialog::failedCountText() const {
    return failedCountLabel->text();
}

bool ResultTableDialog::countsVisible() const {
    return !deviceCountLabel->isHidden();
}

void ResultTableDialog::mousePressEvent(QMouseEvent* event) {
    FramelessDialogFrame::press(event, titleRect, pressPos, isDragging);
}

void ResultTableDialog::mouseReleaseEvent(QMouseEvent* event) {
    FramelessDialogFrame::release(event, isDragging);
}

void ResultTableDialog::mouseMoveEvent(QMouseEvent* event) {
    FramelessDialogFrame::move(this, event, isDragging, pressPos);
}
