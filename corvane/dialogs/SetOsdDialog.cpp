#include "SetOsdDialog.h"

#include "FramelessDialogFrame.h"
#include "TipDialog.h"
#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCodec>

#include <cstring>

namespace {

QTextCodec* gbk() {
    return QTextCodec::codecForName("GBK");
}

// The encoded text, cut at a character boundary to leave room for the terminating zero.
QByteArray encodeBounded(QString text, int maxBytes) {
    QByteArray bytes = gbk()->fromUnicode(text);
    while (bytes.size() > maxBytes && !text.isEmpty()) {
        text.chop(text.size() >= 2 && text.at(text.size() - 1).isLowSurrogate() ? 2 : 1);
        bytes = gbk()->fromUnicode(text);
    }
    return bytes;
}

const char* const kDateFormats[] = {"YYYY/MM/DD", "MM/DD/YYYY", "DD/MM/YYYY"};

} // namespace

SetOsdDialog::SetOsdDialog(QWidget* parent) : FramelessDialog(parent) {
    setWindowFlags(Qt::FramelessWindowHint);
    const FramelessDialogFrame::Parts frame = FramelessDialogFrame::build(this, dialogWidth, dialogHeight);
    keepFrame(frame);
    titleLabel->setText(tr("Set OSD"));
    connect(closeButton, &QPushButton::clicked, this, &SetOsdDialog::onCloseBtnClicked);

    const struct {
        const char* text;
        int y;
    } labels[] = {{QT_TR_NOOP("Show Time:"), 70},
                  {QT_TR_NOOP("Show Text:"), 117},
                  {QT_TR_NOOP("Data Type:"), 167},
                  {QT_TR_NOOP("OSD Position:"), 213},
                  {QT_TR_NOOP("OSD Text:"), 261}};
    for (const auto& l : labels) {
        auto* label = new QLabel(tr(l.text), this);
        label->setGeometry(0, l.y, 140, 30);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setStyleSheet("QLabel{font-size: 14px;color: #333333;}");
    }

    showTimeCheckBox = new QCheckBox(this);
    showTimeCheckBox->setGeometry(154, 75, 20, 20);
    showTextCheckBox = new QCheckBox(this);
    showTextCheckBox->setGeometry(154, 122, 20, 20);
    dateFormatComboBox = new QComboBox(this);
    dateFormatComboBox->setGeometry(150, 161, 294, 30);
    for (const char* format : kDateFormats)
        dateFormatComboBox->addItem(tr(format));
    positionComboBox = new QComboBox(this);
    positionComboBox->setGeometry(150, 209, 294, 30);
    positionComboBox->addItem(tr("Top Left"));
    positionComboBox->addItem(tr("Bottom Left"));
    osdTextEdit = new QLineEdit(this);
    osdTextEdit->setGeometry(150, 257, 294, 30);
    osdTextEdit->setMaxLength(kMaxTextLength);

    cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setGeometry(332, 327, 88, 30);
    confirmButton = new QPushButton(tr("Confirm"), this);
    confirmButton->setGeometry(430, 327, 88, 30);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    connect(confirmButton, &QPushButton::clicked, this, &SetOsdDialog::onConfirm);

    OZM::_SC_SETOSD_DATA_ stored;
    std::memset(&stored, 0, sizeof stored);
    ozmParamsMgr()->getOsdInfo(&stored);
    loadRecord(stored);

    armDrag();
}

SetOsdDialog::~SetOsdDialog() = default;

void SetOsdDialog::loadRecord(const OZM::_SC_SETOSD_DATA_& record) {
    showTimeCheckBox->setChecked(record.showTime != 0);
    showTextCheckBox->setChecked(record.showText != 0);
    positionComboBox->setCurrentIndex(record.position != 0 ? 1 : 0);
    dateFormatComboBox->setCurrentIndex(record.dateFormat <= 2 ? static_cast<int>(record.dateFormat) : 0);
    // The stored text need not be terminated: read at most the field.
    const std::size_t length = strnlen(record.text, sizeof record.text);
    osdTextEdit->setText(gbk()->toUnicode(record.text, static_cast<int>(length)));
}

OZM::_SC_SETOSD_DATA_ SetOsdDialog::record() const {
    OZM::_SC_SETOSD_DATA_ out;
    std::memset(&out, 0, sizeof out);
    out.showTime = showTimeCheckBox->isChecked() ? 1 : 0;
    out.showText = showTextCheckBox->isChecked() ? 1 : 0;
    out.position = positionComboBox->currentText() == tr("Bottom Left") ? 1 : 0;
    const QString format = dateFormatComboBox->currentText();
    for (std::uint32_t i = 0; i < 3; ++i) {
        if (format == tr(kDateFormats[i]))
            out.dateFormat = i;
    }
    const QByteArray text = encodeBounded(osdTextEdit->text(), static_cast<int>(sizeof out.text) - 1);
    std::memcpy(out.text, text.constData(), static_cast<std::size_t>(text.size()));
    return out;
}

void SetOsdDialog::onCloseBtnClicked() {
    close();
}

void SetOsdDialog::onConfirm() {
    const OZM::_SC_SETOSD_DATA_ saved = record();
    ozmParamsMgr()->setOsdInfo(&saved);
    close();
    TipDialog::showSuccess(tr("Saved successfully"));
}
