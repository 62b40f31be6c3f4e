// Network pages 0-4 (TCP/IP, port, DDNS, P2P, GB28181): builders, loads and savers.
#include "OtherParamConfigDlg.h"

#include "Gb28181Page.h"
#include "ParamFieldText.h"
#include "ParamPageKit.h"
#include "PingHelper.h"
#include "TcpIpPage.h"
#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegExp>
#include <QVBoxLayout>

using pagekit::Cell;
using pagekit::pageLayout;

template <typename Page> bool OtherParamConfigDlg::saveCheckedPage(const Page& page) {
    if (const auto refusal = page.check()) {
        showWarningTip(refusal->message, refusal->field);
        return false;
    }
    page.save();
    return true;
}

// ---- page 0, TCP/IP ----------------------------------------------------------------------------

void OtherParamConfigDlg::createTcpIpPage() {
    QWidget* content = createPageFrame(OZM::FamilyTcpIp);
    _tcpIpPage = new TcpIpPage(this, content);
    _tcpIpPage->load();
}

bool OtherParamConfigDlg::saveTcpIpInfo() {
    return saveCheckedPage(*_tcpIpPage);
}

int OtherParamConfigDlg::checkIpAddress(const char* text) {
    std::uint32_t value = 0;
    if (!text || !PingHelper::parseDottedQuad(text, &value) || value == 0xFFFFFFFFu)
        return -1;
    return 0;
}

// ---- page 1, ports -----------------------------------------------------------------------------

void OtherParamConfigDlg::createPortPage() {
    QWidget* content = createPageFrame(OZM::FamilyPort);
    auto fieldLabel = [&](const QString& text) {
        return pagekit::label(content, text, "settingLabel", 103, 20);
    };
    auto portEdit = [&](const char* initial) {
        QLineEdit* edit =
            pagekit::lineEdit(content, "settinglineEdit", 120, 30, QString::fromLatin1(initial));
        edit->setValidator(new QIntValidator(1, 65535, edit));
        return edit;
    };

    QLabel* httpLabel = fieldLabel(tr("HTTP Port:"));
    _httpPortEdit = portEdit("80");
    QLabel* rtspLabel = fieldLabel(tr("RTSP Port:"));
    _rtspPortEdit = portEdit("554");
    QLabel* httpsLabel = fieldLabel(tr("HTTPS Port:"));
    _httpsPortEdit = portEdit("443");
    QFrame* line = pagekit::splitLine(content);
    QLabel* heading =
        pagekit::label(content, tr("Protocol Port"), "protocolPortLabel", 0, 20, pagekit::kLeftAligned);
    QLabel* onvifLabel = fieldLabel(tr("ONVIF Port:"));
    _onvifPortEdit = portEdit("8999");
    _onvifCheck = new QCheckBox(tr("Enable ONVIF"), this);
    _onvifCheck->setObjectName("checkBox");
    OzmLogic::setMyFixedHeight(_onvifCheck, 20);

    QVBoxLayout* layout = pageLayout(content);
    layout->addLayout(pagekit::row({{httpLabel}, {_httpPortEdit, 4}}));
    layout->addLayout(pagekit::row({{rtspLabel}, {_rtspPortEdit, 4}}));
    layout->addLayout(pagekit::row({{httpsLabel}, {_httpsPortEdit, 4}}));
    layout->addLayout(pagekit::row({{line}}));
    layout->addLayout(pagekit::row({{heading}}));
    layout->addLayout(pagekit::row({{onvifLabel}, {_onvifPortEdit, 4}, {_onvifCheck, 24}}));
    layout->addStretch();

    OZM::_SC_PORT_DATA info{};
    ozmParamsMgr()->getPortParamInfo(&info);
    _httpPortEdit->setText(QString::number(info.httpPort));
    _rtspPortEdit->setText(QString::number(info.rtspPort));
    _httpsPortEdit->setText(QString::number(info.httpsPort));
    _onvifPortEdit->setText(QString::number(info.onvifPort));
    _onvifCheck->setChecked(info.onvifEnable != 0);
}

bool OtherParamConfigDlg::savePortParamInfo() {
    const int http = pagekit::number(_httpPortEdit->text());
    const int rtsp = pagekit::number(_rtspPortEdit->text());
    const int https = pagekit::number(_httpsPortEdit->text());
    const int onvif = pagekit::number(_onvifPortEdit->text());
    auto high = [](int port) { return port >= 1024 && port <= 65535; };
    if (http != 80 && !high(http)) {
        showWarningTip(tr("The effective value of HTTP port is 80 or from 1024 to 65535!"), _httpPortEdit);
        return false;
    }
    if (rtsp != 554 && !high(rtsp)) {
        showWarningTip(tr("The effective value of RTSP port is 554 or from 1024 to 65535!"), _rtspPortEdit);
        return false;
    }
    if (https != 443 && !high(https)) {
        showWarningTip(tr("The effective value of HTTPS port is 443 or from 1024 to 65535!"), _httpsPortEdit);
        return false;
    }
    if (!high(onvif)) {
        showWarningTip(tr("The effective value of ONVIF protocol port is from 2000 to 65535!"),
                       _onvifPortEdit);
        return false;
    }
    if (http == rtsp || http == https || rtsp == https || http == onvif || rtsp == onvif || https == onvif) {
        // The first port that another one repeats.
        QLineEdit* repeated = (http == rtsp || http == https || http == onvif) ? _httpPortEdit
                              : (rtsp == https || rtsp == onvif)               ? _rtspPortEdit
                                                                               : _httpsPortEdit;
        showWarningTip(tr("The port is repeated!"), repeated);
        return false;
    }

    OZM::_SC_PORT_DATA info{};
    info.httpPort = http;
    info.rtspPort = rtsp;
    info.httpsPort = https;
    info.onvifPort = onvif;
    info.onvifEnable = _onvifCheck->isChecked() ? 1 : 0;
    ozmParamsMgr()->setPortParamInfo(&info);
    return true;
}

// ---- page 2, DDNS ------------------------------------------------------------------------------

void OtherParamConfigDlg::createDdnsPage() {
    QWidget* content = createPageFrame(OZM::FamilyDdns);
    auto fieldLabel = [&](const QString& text) {
        return pagekit::label(content, text, "settingLabel", 170, 20);
    };
    auto textEdit = [&](int maxLength) {
        QLineEdit* edit = pagekit::lineEdit(content, "settinglineEdit", 294, 30);
        edit->setMaxLength(maxLength);
        return edit;
    };
    constexpr int kTextMax = static_cast<int>(sizeof(OZM::_SC_DDNS_DATA::domain)) - 1;

    _ddnsCheck = new QCheckBox(tr("DDNS"), this);
    _ddnsCheck->setObjectName("checkBox");
    QLabel* typeLabel = fieldLabel(tr("DDNS Type:"));
    _ddnsTypeCombo = pagekit::comboBox(content, {tr("Oray"), tr("NO-IP"), tr("Dyn")}, 294, 30);
    _ddnsTypeCombo->setCurrentIndex(0);
    QLabel* domainLabel = fieldLabel(tr("Domain:"));
    _domainEdit = textEdit(kTextMax);
    QLabel* userLabel = fieldLabel(tr("DDNS User:"));
    _ddnsUserEdit = textEdit(kTextMax);
    QLabel* passwordLabel = fieldLabel(tr("DDNS Password:"));
    _ddnsPasswordEdit = textEdit(kTextMax);
    _ddnsPasswordEdit->setEchoMode(QLineEdit::Password);
    QLabel* confirmLabel = fieldLabel(tr("Confirm Password:"));
    _ddnsConfirmEdit = textEdit(kTextMax);
    _ddnsConfirmEdit->setEchoMode(QLineEdit::Password);
    QLabel* statusLabel = fieldLabel(tr("Status:"));
    _ddnsStatusLabel =
        pagekit::label(content, tr("Login Failed"), "settingLabel", 0, 20, pagekit::kLeftAligned);
    QLabel* serviceLabel = fieldLabel(tr("Service Type:"));
    _ddnsServiceLabel =
        pagekit::label(content, tr("Ordinary User"), "settingLabel", 0, 20, pagekit::kLeftAligned);
    QLabel* linkLabel = fieldLabel(tr("Service Provider Link:"));
    _applyLinkBtn = new QPushButton(this);
    _helpLinkBtn = new QPushButton(this);
    for (QPushButton* button : {_applyLinkBtn, _helpLinkBtn}) {
        button->setObjectName("settingBtn");
        OzmLogic::setMyFixedHeight(button, 20);
    }
    setDdnsLinks(0);

    QVBoxLayout* layout = pageLayout(content);
    layout->addLayout(pagekit::row({{_ddnsCheck}}));
    layout->addLayout(pagekit::row({{typeLabel}, {_ddnsTypeCombo, 8}}));
    layout->addLayout(pagekit::row({{domainLabel}, {_domainEdit, 8}}));
    layout->addLayout(pagekit::row({{userLabel}, {_ddnsUserEdit, 8}}));
    layout->addLayout(pagekit::row({{passwordLabel}, {_ddnsPasswordEdit, 8}}));
    layout->addLayout(pagekit::row({{confirmLabel}, {_ddnsConfirmEdit, 8}}));
    layout->addLayout(pagekit::row({{statusLabel}, {_ddnsStatusLabel, 8}}));
    layout->addLayout(pagekit::row({{serviceLabel}, {_ddnsServiceLabel, 8}}));
    layout->addLayout(pagekit::row({{linkLabel}, {_applyLinkBtn, 4}, {_helpLinkBtn, 16}}));
    layout->addStretch();

    OZM::_SC_DDNS_DATA info{};
    ozmParamsMgr()->getDDNSInfo(&info);
    _ddnsCheck->setChecked(info.enable == 1);
    setDdnsFieldsEnabled(info.enable == 1);
    if (info.provider <= 2) {
        _ddnsTypeCombo->setCurrentIndex(info.provider);
        setDdnsLinks(info.provider);
    }
    _domainEdit->setText(paramtext::fromField(info.domain));
    _ddnsUserEdit->setText(paramtext::fromField(info.user));
    _ddnsPasswordEdit->setText(paramtext::fromField(info.password));
    _ddnsConfirmEdit->setText(paramtext::fromField(info.passwordConfirm));
}

void OtherParamConfigDlg::setDdnsFieldsEnabled(bool enabled) {
    _ddnsTypeCombo->setEnabled(enabled);
    for (QLineEdit* edit : {_domainEdit, _ddnsUserEdit, _ddnsPasswordEdit, _ddnsConfirmEdit})
        edit->setEnabled(enabled);
}

void OtherParamConfigDlg::setDdnsLinks(int provider) {
    if (provider == 0) {
        _applyLinkBtn->setText(tr("Oray DDNS To Apply"));
        _helpLinkBtn->setText(tr("Oray DDNS To Help"));
    } else if (provider == 1) {
        _applyLinkBtn->setText(tr("No-IP DDNS To Apply"));
        _helpLinkBtn->setText(tr("No-IP DDNS To Help"));
    } else {
        _applyLinkBtn->setText(tr("DYN DDNS To Apply"));
        _helpLinkBtn->setText(tr("DYN DDNS To Help"));
    }
}

bool OtherParamConfigDlg::saveDDNSInfo() {
    const QString password = _ddnsPasswordEdit->text();
    if (password != _ddnsConfirmEdit->text()) {
        showWarningTip(tr("DDNS Password twice inconsistent!"), _ddnsConfirmEdit);
        return false;
    }
    if (password.isEmpty() || !password.contains(QRegExp("^[A-Za-z0-9]+$", Qt::CaseSensitive))) {
        showWarningTip(
            tr("DDNS Minimum passwork 1 Characters and a maximum 31 Characters,And can not contain Chinese!"),
            _ddnsPasswordEdit);
        return false;
    }

    OZM::_SC_DDNS_DATA info{};
    info.enable = _ddnsCheck->isChecked() ? 1 : 0;
    info.provider = static_cast<std::uint8_t>(std::max(0, _ddnsTypeCombo->currentIndex()));
    paramtext::toField(info.domain, _domainEdit->text());
    paramtext::toField(info.user, _ddnsUserEdit->text());
    paramtext::toField(info.password, password);
    paramtext::toField(info.passwordConfirm, _ddnsConfirmEdit->text());
    ozmParamsMgr()->setDDNSInfo(&info);
    return true;
}

// ---- page 3, P2P -------------------------------------------------------------------------------

void OtherParamConfigDlg::createP2pPage() {
    QWidget* content = createPageFrame(OZM::FamilyP2p);
    _p2pCheck = new QCheckBox(tr("Enable"), this);
    _p2pCheck->setObjectName("checkBox");
    QVBoxLayout* layout = pageLayout(content);
    layout->addLayout(pagekit::row({{_p2pCheck}}));
    layout->addStretch();
    _p2pCheck->setChecked(ozmParamsMgr()->getP2PInfo() == 1);
}

void OtherParamConfigDlg::saveP2PInfo() {
    ozmParamsMgr()->setP2pInfo(_p2pCheck->isChecked() ? 1 : 0);
}

// ---- page 4, GB28181 --------------------------------------------------------------------------

void OtherParamConfigDlg::createGb28181Page() {
    QWidget* content = createPageFrame(OZM::FamilyGb28181);
    _gb28181Page = new Gb28181Page(this, content, _enableCheck[OZM::FamilyGb28181]);
    _gb28181Page->load();
}

bool OtherParamConfigDlg::saveGb28181Info() {
    return saveCheckedPage(*_gb28181Page);
}
