// Page 0, TCP/IP: build, load, checks and store, and the address test.
#include "TcpIpPage.h"

#include "NewAddressRule.h"
#include "OtherParamConfigDlg.h"
#include "ParamFieldText.h"
#include "PingHelper.h"
#include "ProgressBarDialog.h"
#include "TipDialog.h"
#include "net/DottedQuad.h"
#include "ozmlogic/ParamsMgr.h"
#include "winport/WinPort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using pagekit::Cell;

namespace {

// Longest wait for the ping to end (program milliseconds); it asks for one reply within 1 s.
constexpr int kPingLimitMs = 30000;
// The ping is a real process with its own 1 s wait: a small time scale never cuts it shorter.
constexpr int kPingRealFloorMs = 3000;
// The address test asks for one reply within 1 s.
constexpr int kAnswerWaitMs = 1000;

bool readAddress(const QLineEdit* edit, std::uint32_t* value) {
    *value = 0;
    return PingHelper::parseDottedQuad(edit->text().toStdString(), value);
}

} // namespace

TcpIpPage::TcpIpPage(QWidget* dialog, QWidget* content) : QObject(dialog) {
    auto fieldLabel = [&](const QString& text) { return pagekit::label(content, text, "label", 97, 20); };
    auto addressEdit = [&](const char* initial) {
        QLineEdit* edit = pagekit::lineEdit(content, "lineEdit", 294, 30, QString::fromLatin1(initial));
        edit->setValidator(pagekit::patternValidator(pagekit::addressPattern(), edit));
        return edit;
    };

    _dhcpCheck = new QCheckBox(tr("Enable DHCP"), dialog);
    _dhcpCheck->setObjectName("checkBox");
    OzmLogic::setMyFixedHeight(_dhcpCheck, 20);
    QLabel* ipLabel = fieldLabel(tr("IPv4 Addr:"));
    _ipEdit = addressEdit("192.168.1.168");
    _testBtn = new QPushButton(tr("Test"), dialog);
    _testBtn->setObjectName("comButton");
    OzmLogic::setMyFixedSize(_testBtn, QSize(88, 30));
    QLabel* maskLabel = fieldLabel(tr("IPv4 Mask:"));
    _maskEdit = addressEdit("255.255.255.0");
    QLabel* gatewayLabel = fieldLabel(tr("IPv4 Gateway:"));
    _gatewayEdit = addressEdit("192.168.1.1");
    QLabel* netcomLabel = fieldLabel(tr("Full Netcom:"));
    _fullNetcomCombo = pagekit::comboBox(content, {tr("Disable"), tr("Enable")}, 294, 30);
    _fullNetcomCombo->setCurrentIndex(0);
    QFrame* line = pagekit::splitLine(content);
    QLabel* dnsHeading = pagekit::label(content, tr("Setting DNS Server"), "dnsServerSettingLabel", 0, 20,
                                        pagekit::kLeftAligned);
    QLabel* dnsLabel = fieldLabel(tr("DNS Server:"));
    _dnsEdit = addressEdit("192.168.1.1");

    QVBoxLayout* layout = pagekit::pageLayout(content);
    layout->addLayout(pagekit::row({{_dhcpCheck}}));
    layout->addLayout(pagekit::row({{ipLabel}, {_ipEdit, 8}, {_testBtn, 8}}));
    layout->addLayout(pagekit::row({{maskLabel}, {_maskEdit, 8}}));
    layout->addLayout(pagekit::row({{gatewayLabel}, {_gatewayEdit, 8}}));
    layout->addLayout(pagekit::row({{netcomLabel}, {_fullNetcomCombo, 8}}));
    layout->addLayout(pagekit::row({{line}}));
    layout->addLayout(pagekit::row({{dnsHeading}}));
    layout->addLayout(pagekit::row({{dnsLabel}, {_dnsEdit, 8}}));
    layout->addStretch();
}

TcpIpPage::~TcpIpPage() {
    abortAddressTest();
}

void TcpIpPage::load() {
    OZM::_SC_TCP_IP_DATA info{};
    ozmParamsMgr()->getTcpIpInfo(&info);
    _dhcpCheck->setChecked(info.dhcp == 1);
    setFieldsEnabled(info.dhcp != 1);
    _ipEdit->setText(paramtext::fromField(info.ip));
    _maskEdit->setText(paramtext::fromField(info.mask));
    _gatewayEdit->setText(paramtext::fromField(info.gateway));
    if (info.fullNetcom <= 1) // other values leave "Disable"
        _fullNetcomCombo->setCurrentIndex(static_cast<int>(info.fullNetcom));
    _dnsEdit->setText(paramtext::fromField(info.dns));
}

void TcpIpPage::setFieldsEnabled(bool enabled) {
    for (QWidget* widget : {static_cast<QWidget*>(_ipEdit), static_cast<QWidget*>(_maskEdit),
                            static_cast<QWidget*>(_gatewayEdit), static_cast<QWidget*>(_fullNetcomCombo),
                            static_cast<QWidget*>(_dnsEdit)})
        widget->setEnabled(enabled);
    _testBtn->setVisible(enabled);
}

std::optional<pagekit::Refusal> TcpIpPage::check() const {
    // Every edit must hold a complete dotted quad: a partial text left by the validator reads
    // as no address.
    std::uint32_t ip = 0;
    const bool ipOk = readAddress(_ipEdit, &ip);
    if ((ip >> 24) > 223)
        return pagekit::Refusal{tr("Specify the first value of the ip address as a value between 1 and 233!"),
                                _ipEdit};
    // The other-parameter run hands out addresses counted up from this one: it must be a host
    // address there too.
    if (!ipOk || !newaddress::isHost(ip) || (ip & 0xFF) == 0 || (ip & 0xFF) == 255)
        return pagekit::Refusal{tr("Invalid IP address!"), _ipEdit};
    std::uint32_t mask = 0;
    const bool maskOk = readAddress(_maskEdit, &mask);
    if (!maskOk || !dottedquad::isContiguousMask(mask) || mask == 0 || mask == 0xFFFFFFFFu)
        return pagekit::Refusal{tr("Invalid Netmask address!"), _maskEdit};
    std::uint32_t gateway = 0;
    if (!readAddress(_gatewayEdit, &gateway))
        return pagekit::Refusal{tr("Invalid gateway address!"), _gatewayEdit};
    if ((ip & mask) != (gateway & mask))
        return pagekit::Refusal{
            tr("IP address and gate way are not in the same network segment!Are you sure modify?"),
            _gatewayEdit};
    std::uint32_t dns = 0;
    const bool dnsOk = readAddress(_dnsEdit, &dns);
    if ((dns >> 24) > 223)
        return pagekit::Refusal{
            tr("Specify the first value of the DNS address as a value between 1 and 233!"), _dnsEdit};
    if (!dnsOk || (dns & 0xFF) == 0 || (dns & 0xFF) == 255)
        return pagekit::Refusal{tr("Invalid DNS address!"), _dnsEdit};
    return std::nullopt;
}

void TcpIpPage::save() const {
    OZM::_SC_TCP_IP_DATA info{};
    info.dhcp = _dhcpCheck->isChecked() ? 1 : 0;
    paramtext::toField(info.ip, _ipEdit->text());
    paramtext::toField(info.mask, _maskEdit->text());
    paramtext::toField(info.gateway, _gatewayEdit->text());
    info.fullNetcom = static_cast<std::uint32_t>(std::max(0, _fullNetcomCombo->currentIndex()));
    paramtext::toField(info.dns, _dnsEdit->text());
    ozmParamsMgr()->setTcpIpInfo(&info);
}

// ---- address test ------------------------------------------------------------------------------

void TcpIpPage::startAddressTest() {
    if (_pingThread.joinable())
        return;
    const QString text = _ipEdit->text();
    _testBusy = std::make_unique<ProgressBarDialog>(nullptr);
    _testBusy->titleLabel->setText(tr("Testing..."));
    _testBusy->show();

    const QByteArray address = text.toLatin1();
    if (OtherParamConfigDlg::checkIpAddress(address.constData()) != 0) {
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
        // Queued to the page: dropped with it when it is gone, ignored when the test ended.
        QMetaObject::invokeMethod(
            this, [this, outcome, run] { onAddressTestDone(run, static_cast<int>(outcome)); },
            Qt::QueuedConnection);
    });
}

void TcpIpPage::onAddressTestDone(unsigned run, int outcome) {
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

void TcpIpPage::abortAddressTest() {
    if (_pingThread.joinable()) {
        _pingCancel = true; // the ping's group is ended and the thread returns within moments
        _pingThread.join();
    }
    if (_testBusy) {
        _testBusy->accept();
        _testBusy.reset();
    }
}

void TcpIpPage::finishAddressTest(const QString& message) {
    abortAddressTest();
    _testBtn->setEnabled(true);
    TipDialog::showWarning(message);
}
