// Live behaviour of the network pages: the DHCP and DDNS switches, the DDNS provider links and
// the address test, which runs the ping without blocking the dialog.
#include "OtherParamConfigDlg.h"

#include "PingHelper.h"
#include "PrivacyMaskPage.h"
#include "ProgressBarDialog.h"
#include "TipDialog.h"
#include "winport/WinPort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

#include <algorithm>

namespace {

// Longest wait for the ping to end (program milliseconds); it asks for one reply within 1 s.
constexpr int kPingLimitMs = 30000;
// The ping is a real process with its own 1 s wait: a small time scale never cuts it shorter.
constexpr int kPingRealFloorMs = 3000;
// The address test asks for one reply within 1 s.
constexpr int kAnswerWaitMs = 1000;

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
    connect(_dhcpCheck, &QCheckBox::stateChanged, this, &OtherParamConfigDlg::onCheckBoxStateChanged);
    connect(_ddnsCheck, &QCheckBox::stateChanged, this, &OtherParamConfigDlg::onCheckBoxStateChanged);
    connect(_ddnsTypeCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &OtherParamConfigDlg::onComboBoxChanged);
    connect(_applyLinkBtn, &QPushButton::clicked, this, &OtherParamConfigDlg::onBtnClicked);
    connect(_helpLinkBtn, &QPushButton::clicked, this, &OtherParamConfigDlg::onBtnClicked);
    connect(_testBtn, &QPushButton::clicked, this, &OtherParamConfigDlg::onBtnClicked);
}

void OtherParamConfigDlg::onBtnClicked() {
    QObject* from = sender();
    if (!from)
        return;
    if (from == _applyLinkBtn || from == _helpLinkBtn)
        openDdnsLink(static_cast<QPushButton*>(from)->text());
    else if (from == _testBtn)
        startAddressTest();
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
    if (check == _dhcpCheck)
        setTcpIpFieldsEnabled(state == Qt::Unchecked);
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

// ---- address test ------------------------------------------------------------------------------

void OtherParamConfigDlg::startAddressTest() {
    if (_pingThread.joinable())
        return;
    const QString text = _ipEdit->text();
    _testBusy = std::make_unique<ProgressBarDialog>(nullptr);
    _testBusy->titleLabel->setText(tr("Testing..."));
    _testBusy->show();

    const QByteArray address = text.toLatin1();
    if (checkIpAddress(address.constData()) != 0) {
        finishAddressTest(tr("IP Not Available!"));
        return;
    }

    _testBtn->setEnabled(false);
    // Resolved here, with the environment of the moment the operator pressed "Test".
    const PingHelper::Command command = PingHelper::command(address.toStdString(), kAnswerWaitMs);
    const int limitMs = std::max(winport::timerInterval(kPingLimitMs), kPingRealFloorMs);
    const unsigned run = ++_pingRun;
    _pingCancel = false;
    _pingThread = std::thread([this, command, limitMs, run] {
        const PingHelper::Outcome outcome = PingHelper::run(command, limitMs, &_pingCancel);
        // Queued to the dialog: dropped with it when it is gone, ignored when the test ended.
        QMetaObject::invokeMethod(
            this, [this, outcome, run] { onAddressTestDone(run, static_cast<int>(outcome)); },
            Qt::QueuedConnection);
    });
}

void OtherParamConfigDlg::onAddressTestDone(unsigned run, int outcome) {
    if (run != _pingRun || !_pingThread.joinable())
        return;
    const QString text = _ipEdit->text();
    switch (static_cast<PingHelper::Outcome>(outcome)) {
    case PingHelper::Outcome::Answered:
        qDebug() << text << "is online!\n";
        finishAddressTest(tr("IP Not Available!"));
        break;
    case PingHelper::Outcome::Silent:
        // No answer; an address that no route reaches gets none either.
        qDebug() << text << "off online!\n";
        finishAddressTest(tr("IP Available!"));
        break;
    case PingHelper::Outcome::NoEnd:
        finishAddressTest(tr("IP test failed: ping did not end!"));
        break;
    default:
        finishAddressTest(tr("IP test failed: ping could not run!"));
        break;
    }
}

void OtherParamConfigDlg::abortAddressTest() {
    if (_pingThread.joinable()) {
        _pingCancel = true; // the ping's group is ended and the thread returns within moments
        _pingThread.join();
    }
    if (_testBusy) {
        _testBusy->accept();
        _testBusy.reset();
    }
}

void OtherParamConfigDlg::finishAddressTest(const QString& message) {
    abortAddressTest();
    _testBtn->setEnabled(true);
    TipDialog::showWarning(message);
}
