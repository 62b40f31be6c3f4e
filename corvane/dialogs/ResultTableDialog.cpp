#include "ResultTableDialog.h"

#include "FramelessDialogFrame.h"
#include "ResultRowsView.h"
#include "fields/FixedFieldText.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

ResultTableDialog::ResultTableDialog(const QStringList& headerList, QWidget* parent, int width, int height)
    : FramelessDialog(parent), dialogHeight(height), dialogWidth(width), headers(headerList) {
    setWindowFlags(Qt::FramelessWindowHint);
    const FramelessDialogFrame::Parts frame = FramelessDialogFrame::build(this, dialogWidth, dialogHeight);
    keepFrame(frame);
    titleLabel->setText(QStringLiteral("IPC Corvane"));
    connect(closeButton, &QPushButton::clicked, this, &ResultTableDialog::onCloseBtnClicked);
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

    armDrag();
}

void ResultTableDialog::setCounts(int total, int successes) {
    deviceCountLabel->setText(QString::number(total));
    failedCountLabel->setText(QString::number(total - successes));
}

void ResultTableDialog::showFixtureResults(ResultRowsView* table,
                                           const std::vector<FixturePendingInfo>& records,
                                           const char (FixturePendingInfo::*result)[16]) {
    int successes = 0;
    for (const FixturePendingInfo& record : records) {
        const QString text = fixedfield::utf8Text(record.*result);
        table->appendRow({fixedfield::utf8Text(record.ip), text});
        if (text == QLatin1String("OK"))
            ++successes;
    }
    setCounts(static_cast<int>(records.size()), successes);
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

void ResultTableDialog::onCloseBtnClicked() {
    close();
}
