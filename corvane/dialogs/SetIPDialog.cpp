#include "SetIPDialog.h"

#include "FramelessDialogFrame.h"
#include "PingHelper.h"
#include "TipDialog.h"
#include "fields/FixedFieldText.h"
#include "net/DottedQuad.h"
#include "ozmlogic/ParamsMgr.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegExp>
#include <QRegExpValidator>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kWidth = 534;
constexpr int kHeight = 326;
const char kAddressPattern[] = "((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9][0-9]|[0-9])[\\.]){3}"
                               "(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9][0-9]|[0-9])";

using fixedfield::latin1Text;

using fixedfield::copyLatin1Field;

// A complete dotted quad only; the validator lets shorter texts stand while they are typed.
bool parse(const QString& text, std::uint32_t* value) {
    return PingHelper::parseDottedQuad(text.toStdString(), value);
}

QLabel* makeLabel(const QString& text, const QRect& geometry, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setStyleSheet("QLabel{font-size: 14px;color: #333333;}");
    return label;
}

QLineEdit* makeEdit(const QRect& geometry, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(geometry);
    edit->setValidator(new QRegExpValidator(QRegExp(kAddressPattern, Qt::CaseSensitive), edit));
    return edit;
}

} // namespace

SetIPDialog::SetIPDialog(QWidget* parent) : FramelessDialog(parent) {
    setWindowFlags(Qt::FramelessWindowHint);
    const FramelessDialogFrame::Parts frame = FramelessDialogFrame::build(this, kWidth, kHeight);
    keepFrame(frame);
    connect(closeButton, &QPushButton::clicked, this, &SetIPDialog::onCloseBtnClicked);

    setRadio = new QRadioButton(tr("Set IP Start Address"), this);
    setRadio->setGeometry(100, 70, 160, 30);
    modifyRadio = new QRadioButton(tr("Modify IP Start Address"), this);
    modifyRadio->setGeometry(302, 70, 160, 30);
    ipLabel = makeLabel(tr("IP:"), QRect(0, 110, 140, 30), this);
    maskLabel = makeLabel(tr("Subnet Mask:"), QRect(0, 158, 140, 30), this);
    gatewayLabel = makeLabel(tr("Gateway:"), QRect(0, 206, 140, 30), this);
    ipEdit = makeEdit(QRect(150, 110, 294, 30), this);
    maskEdit = makeEdit(QRect(150, 158, 294, 30), this);
    gatewayEdit = makeEdit(QRect(150, 206, 294, 30), this);
    cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setGeometry(332, 276, 88, 30);
    confirmButton = new QPushButton(tr("Confirm"), this);
    confirmButton->setGeometry(430, 276, 88, 30);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::close);
    connect(confirmButton, &QPushButton::clicked, this, &SetIPDialog::onConfirm);

    loadRecord();
    armDrag();
}

SetIPDialog::~SetIPDialog() = default;

void SetIPDialog::loadRecord() {
    OZM::_SC_SETIP_DATA_ info;
    std::memset(&info, 0, sizeof info);
    ozmParamsMgr()->getIpInfo(&info);
    if (info.mode != 0)
        modifyRadio->setChecked(true);
    else
        setRadio->setChecked(true);
    ipEdit->setText(latin1Text(info.ip, sizeof info.ip));
    maskEdit->setText(latin1Text(info.mask, sizeof info.mask));
    gatewayEdit->setText(latin1Text(info.gateway, sizeof info.gateway));
}

void SetIPDialog::onCloseBtnClicked() {
    close();
}

void SetIPDialog::onCancelBtnClicked() {
    close();
}

void SetIPDialog::onConfirm() {
    std::uint32_t ip = 0;
    if (!parse(ipEdit->text(), &ip)) {
        TipDialog::showWarning(tr("Invalid IP address!"));
        return;
    }
    const std::uint32_t first = ip >> 24;
    if (first > 223 || first == 0) {
        TipDialog::showWarning(tr("Specify the first value of the ip address as a value between 1 and 233!"));
        return;
    }
    const std::uint32_t last = ip & 0xFFu;
    if (last == 0 || last == 255) {
        TipDialog::showWarning(tr("Invalid IP address!"));
        return;
    }
    std::uint32_t mask = 0;
    bool maskValid = parse(maskEdit->text(), &mask) && mask != 0 && mask != 0xFFFFFFFFu;
    maskValid = maskValid && dottedquad::isContiguousMask(mask);
    if (!maskValid) {
        TipDialog::showWarning(tr("Invalid Netmask address!"));
        return;
    }
    std::uint32_t gateway = 0;
    if (!parse(gatewayEdit->text(), &gateway)) {
        TipDialog::showWarning(tr("Invalid Gateway address!"));
        return;
    }
    if ((ip & mask) != (gateway & mask)) {
        TipDialog::showWarning(
            tr("IP address and gate way are not in the same network segment!Are you sure modify?"));
        return;
    }
    OZM::_SC_SETIP_DATA_ info;
    std::memset(&info, 0, sizeof info);
    info.mode = setRadio->isChecked() ? 0 : (modifyRadio->isChecked() ? 1 : 0);
    copyLatin1Field(info.ip, sizeof info.ip, ipEdit->text());
    copyLatin1Field(info.gateway, sizeof info.gateway, gatewayEdit->text());
    copyLatin1Field(info.mask, sizeof info.mask, maskEdit->text());
    ozmParamsMgr()->setIpInfo(&info);
    close();
    TipDialog::showSuccess(tr("Saved successfully"));
}
