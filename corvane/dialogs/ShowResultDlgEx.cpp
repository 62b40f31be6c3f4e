#include "ShowResultDlgEx.h"

#include "CShowtableviewEx.h"
#include "CommonDelegateEx.h"
#include "FramelessDialogFrame.h"
#include "ShowResultDialog.h"
#include "fields/FixedFieldText.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <cstring>

using fixedfield::utf8Text;

ShowResultDlgEx::ShowResultDlgEx(const QStringList& headerList, QWidget* parent, int width, int height)
    : QDialog(parent), dialogHeight(height), dialogWidth(width), headers(headerList) {
    setWindowFlags(Qt::FramelessWindowHint);
    const FramelessDialogFrame::Parts frame = FramelessDialogFrame::build(this, dialogWidth, dialogHeight);
    titleLogoLabel = frame.titleLogoLabel;
    titleLabel = frame.titleLabel;
    titleLabel->setText(QStringLiteral("IPC Corvane"));
    closeButton = frame.closeButton;
    connect(closeButton, &QPushButton::clicked, this, &ShowResultDlgEx::onCloseBtnClicked);

    resultTable = new CShowtableviewEx(headers, this);
    resultTable->setItemDelegate(new CommonDelegateEx(resultTable));
    resultTable->setGeometry(14, 72, dialogWidth - 46, dialogHeight - 118);

    modifyDeviceLabel = new QLabel(tr("Modify device:"), this);
    deviceCountLabel = new QLabel("0", this);
    modifyFailedLabel = new QLabel(tr("Modify failed:"), this);
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
    connect(resultTable, &CShowtableviewEx::leftdoubleClicked, this, &ShowResultDlgEx::onDoubleClickedShow);
}

void ShowResultDlgEx::showGpioTestResult(std::vector<FixturePendingInfo> records) {
    if (records.empty())
        return;
    deviceRecords = records;
    int successes = 0;
    for (const FixturePendingInfo& record : records) {
        const QString result = utf8Text(record.result);
        resultTable->appendRow({utf8Text(record.ip), result});
        if (result == QLatin1String("OK"))
            ++successes;
    }
    deviceCountLabel->setText(QString::number(records.size()));
    failedCountLabel->setText(QString::number(static_cast<int>(records.size()) - successes));
}

void ShowResultDlgEx::onDoubleClickedShow(QStringList list) {
    if (list.isEmpty() || list.first().isEmpty() || deviceRecords.empty())
        return;
    const QByteArray ip = list.first().toUtf8();
    const FixturePendingInfo* found = nullptr;
    for (const FixturePendingInfo& record : deviceRecords) {
        const std::size_t length = strnlen(record.ip, sizeof(record.ip));
        if (length == static_cast<std::size_t>(ip.size()) &&
            std::memcmp(record.ip, ip.constData(), length) == 0) {
            found = &record;
            break;
        }
    }
    if (!found)
        return;
    const QStringList titles{tr("Interface"), tr("Features"), tr("Test Result")};
    ShowResultDialog detail(titles, nullptr, 720, 576);
    detail.showTestDetail(found->gpio, found->gpioCount);
    detail.exec();
}

QString ShowResultDlgEx::deviceCountText() const {
    return deviceCountLabel->text();
}

QString ShowResultDlgEx::failedCountText() const {
    return failedCountLabel->text();
}

void ShowResultDlgEx::onCloseBtnClicked() {
    close();
}

void ShowResultDlgEx::mousePressEvent(QMouseEvent* event) {
    FramelessDialogFrame::press(event, titleRect, pressPos, isDragging);
}

void ShowResultDlgEx::mouseReleaseEvent(QMouseEvent* event) {
    FramelessDialogFrame::release(event, isDragging);
}

void ShowResultDlgEx::mouseMoveEvent(QMouseEvent* event) {
    FramelessDialogFrame::move(this, event, isDragging, pressPos);
}
