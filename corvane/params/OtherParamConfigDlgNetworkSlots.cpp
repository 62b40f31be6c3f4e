// The slots several pages share, and the DDNS page's live behaviour: the DHCP and DDNS switches,
// the DDNS provider links, the address test's button and the privacy "Delete" buttons.
#include "OtherParamConfigDlg.h"

#include "PrivacyMaskPage.h"
#include "TcpIpPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace {

struct DdnsLink {
    const char* caption;
    const char* url;
};

const DdnsLink kApplyLinks[] = {
    {QT_TRANSLATE_NOOP("OtherParamConfigDlg", "Oray DDNS To Apply"),
     "https://console.oray.com/passport/register.html"},
    {QT_TRANSLATE_NOOP("OtherParamConfigDlg", "No-IP DDNS To Apply"), "https://www.noip.com/sign-up"},
    {QT_TRANSLATE_NOOP("OtherParamConfigDlg", "DYN DDNS To Apply"), "https://account.dyn.com/entrance/"},
};

const DdnsLink kHelpLinks[] = {
    {QT_TRANSLATE_NOOP("OtherParamConfigDlg", "Oray DDNS To Help"), "https://service.oray.com/"},
    {QT_TRANSLATE_NOOP("OtherParamConfigDlg", "No-IP DDNS To Help"), "https://www.noip.com/support"},
    {QT_TRANSLATE_NOOP("OtherParamConfigDlg", "DYN DDNS To Help"), "https://help.dyn.com/"},
};

} // namespace

void OtherParamConfigDlg::connectNetworkPages() {
    connect(_tcpIpPage->dhcpCheck(), &QCheckBox::stateChanged, this,
            &OtherParamConfigDlg::onCheckBoxStateChanged);
    connect(_ddnsCheck, &QCheckBox::stateChanged, this, &OtherParamConfigDlg::onCheckBoxStateChanged);
    connect(_ddnsTypeCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &OtherParamConfigDlg::onComboBoxChanged);
    connect(_applyLinkBtn, &QPushButton::clicked, this, &OtherParamConfigDlg::onBtnClicked);
    connect(_helpLinkBtn, &QPushButton::clicked, this, &OtherParamConfigDlg::onBtnClicked);
    connect(_tcpIpPage->testButton(), &QPushButton::clicked, this, &OtherParamConfigDlg::onBtnClicked);
}

void OtherParamConfigDlg::onBtnClicked() {
    QObject* from = sender();
    if (!from)
        return;
    if (from == _applyLinkBtn || from == _helpLinkBtn)
        openDdnsLink(static_cast<QPushButton*>(from)->text());
    else if (from == _tcpIpPage->testButton())
        _tcpIpPage->startAddressTest();
    else
        _privacyPage->clearArea(from);
}

void OtherParamConfigDlg::onCheckBoxStateChanged(int state) {
    auto* check = qobject_cast<QCheckBox*>(sender());
    if (!check)
        return;
    qDebug() << "onCheckBoxStateChanged" << check->text();
    if (state != Qt::Checked && state != Qt::Unchecked)
        return;
    if (check == _tcpIpPage->dhcpCheck())
        _tcpIpPage->setFieldsEnabled(state == Qt::Unchecked);
    else if (check == _ddnsCheck)
        setDdnsFieldsEnabled(state == Qt::Checked);
    else if (check == _audioOpenCheck)
        setAudioFieldsEnabled(state == Qt::Checked);
    else if (check == _boardModeCheck)
        setBoardBrightnessEnabled(state == Qt::Checked);
}

void OtherParamConfigDlg::onComboBoxChanged(int index) {
    QObject* from = sender();
    if (from && from == _ddnsTypeCombo)
        setDdnsLinks(index);
    else if (from && (from == _audioInputCombo || from == _boardInputCombo))
        mirrorAudioInput(static_cast<QComboBox*>(from), index);
}

void OtherParamConfigDlg::openDdnsLink(const QString& caption) {
    for (const auto* links : {kApplyLinks, kHelpLinks}) {
        for (int i = 0; i < 3; ++i) {
            if (caption != tr(links[i].caption))
                continue;
            qDebug() << (links == kApplyLinks ? "apply url:" : "help url:") << links[i].url;
            QDesktopServices::openUrl(QUrl(QString::fromLatin1(links[i].url)));
            return;
        }
    }
    // A caption of no provider has no page to open.
    qDebug() << "no url for" << caption;
}
