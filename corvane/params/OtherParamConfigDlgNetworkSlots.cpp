// Live behaviour of the network pages: the DHCP and DDNS switches, the DDNS provider links and
// the address test, which runs the ping without blocking the dialog.
#include "OtherParamConfigDlg.h"

#include "PingHelper.h"
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
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

// Longest wait for the ping to end (program milliseconds); it asks for one reply within 1 s.
constexpr int kPingLimitMs = 30000;
// The ping is a real process with its own 1 s wait: a small time scale never cuts it shorter.
constexpr int kPingRealFloorMs = 3000;

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
        clearPrivacyArea(from);
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
    if (_pingProcess)
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
    _pingProcess = new QProcess(this);
    _pingTimer = new QTimer(this);
    _pingTimer->setSingleShot(true);
    connect(_pingTimer, &QTimer::timeout, this,
            [this] { finishAddressTest(tr("IP test failed: ping did not end!")); });
    connect(_pingProcess, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finishAddressTest(tr("IP test failed: ping could not run!"));
    });
    connect(_pingProcess, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [this, text](int code, QProcess::ExitStatus status) {
                if (status == QProcess::NormalExit && code == 0) {
                    qDebug() << text << "is online!\n";
                    finishAddressTest(tr("IP Not Available!"));
                } else if (status == QProcess::NormalExit &&
                           (code == 1 ||
                            (code == 2 && PingHelper::saysUnroutable(
                                              _pingProcess->readAllStandardError().toStdString())))) {
                    // No answer; an address that no route reaches gets none either.
                    qDebug() << text << "off online!\n";
                    finishAddressTest(tr("IP Available!"));
                } else {
                    finishAddressTest(tr("IP test failed: ping could not run!"));
                }
            });
    _pingTimer->start(std::max(winport::timerInterval(kPingLimitMs), kPingRealFloorMs));
    // Its error text is read in the C locale (an unroutable address is told by it).
    _pingProcess->setProcessEnvironment(PingHelper::processEnvironment());
    _pingProcess->setStandardOutputFile(QProcess::nullDevice());
    _pingProcess->start(PingHelper::program(), PingHelper::arguments(QString::fromLatin1(address)));
}

void OtherParamConfigDlg::abortAddressTest() {
    if (_pingTimer) {
        _pingTimer->stop();
        _pingTimer->deleteLater();
        _pingTimer = nullptr;
    }
    if (_pingProcess) {
        QProcess* process = _pingProcess;
        _pingProcess = nullptr;
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(1000);
        }
        process->deleteLater();
    }
    if (_testBusy) {
        _testBusy->accept();
        _testBusy.reset();
    }
}

void OtherParamConfigDlg::finishAddressTest(const QString& message) {
    abortAddressTest();
    _testBtn->setEnabled(true);
    TipDialog tip;
    tip.textLabel->setText(message);
    tip.iconLabel->setPixmap(QPixmap("./skin/client/default/MainFrame/icon_warning.png"));
    tip.exec();
}
