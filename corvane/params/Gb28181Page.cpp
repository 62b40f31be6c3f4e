// Page 4, GB28181: the widgets with their live hints, load, checks and store.
#include "Gb28181Page.h"

#include "ParamFieldText.h"
#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

using pagekit::Cell;

namespace {

constexpr const char* kDigitsOnly = "[0-9]+$";
constexpr int kPasswordHintMax = 18;

bool inRange(const QString& text, int low, int high) {
    const int value = pagekit::number(text);
    return value >= low && value <= high;
}

} // namespace

Gb28181Page::Gb28181Page(QWidget* dialog, QWidget* content, const QCheckBox* pageEnable)
    : QObject(dialog), _pageEnable(pageEnable) {
    auto leftLabel = [&](const QString& text) {
        return pagekit::label(content, text, "settingLabel", 150, 20);
    };
    auto rightLabel = [&](const QString& text) {
        return pagekit::label(content, text, "settingLabel", 214, 20);
    };
    auto edit = [&](const char* pattern, const char* initial, int maxLength) {
        QLineEdit* result =
            pagekit::lineEdit(content, "settinglineEdit", 190, 30, QString::fromLatin1(initial));
        if (pattern)
            result->setValidator(pagekit::patternValidator(pattern, result));
        if (maxLength > 0)
            result->setMaxLength(maxLength);
        return result;
    };
    auto list = [&](const QStringList& items) { return pagekit::comboBox(content, items, 190, 30); };
    using Record = OZM::_SC_GB28181_DATA;
    constexpr int kTextMax = static_cast<int>(sizeof(Record::sipServerId)) - 1;
    constexpr int kAddressMax = static_cast<int>(sizeof(Record::sipServerAddress)) - 1;

    _gbEnableCheck = new QCheckBox(tr("Enable"), dialog);
    _gbEnableCheck->setObjectName("checkBox");
    QLabel* accessLabel = leftLabel(tr("Plat Access Method:"));
    _gbAccessCombo = list({tr("28181")});
    _gbAccessCombo->setEnabled(false);
    QLabel* versionLabel = leftLabel(tr("Protocol Version:"));
    _gbVersionCombo = list({tr("GB/T28181-2016")});
    QLabel* localPortLabel = leftLabel(tr("Local SIP Port:"));
    _gbLocalPortEdit = edit(kDigitsOnly, "5060", 0);
    QLabel* serverIdLabel = leftLabel(tr("SIP Server ID:"));
    _gbServerIdEdit = edit(kDigitsOnly, "", kTextMax);
    QLabel* domainLabel = leftLabel(tr("SIP Server Domain:"));
    _gbServerDomainEdit = edit(nullptr, "", kTextMax);
    QLabel* addressLabel = leftLabel(tr("SIP Server Address:"));
    _gbServerAddressEdit = edit(pagekit::addressPattern(), "192.168.1.1", kAddressMax);
    QLabel* serverPortLabel = leftLabel(tr("SIP Server Port:"));
    _gbServerPortEdit = edit(kDigitsOnly, "5060", 0);
    QLabel* userLabel = leftLabel(tr("SIP User Name:"));
    _gbUserEdit = edit(kDigitsOnly, "", kTextMax);
    QLabel* authLabel = leftLabel(tr("SIP User Auth ID:"));
    _gbAuthIdEdit = edit(kDigitsOnly, "", kTextMax);
    QLabel* passwordLabel = leftLabel(tr("Password:"));
    _gbPasswordEdit = edit(nullptr, "", kTextMax);
    _gbPasswordEdit->setEchoMode(QLineEdit::Password);
    QLabel* confirmLabel = leftLabel(tr("Confirm Password:"));
    _gbConfirmEdit = edit(nullptr, "", kTextMax);
    _gbConfirmEdit->setEchoMode(QLineEdit::Password);
    QLabel* validLabel = rightLabel(tr("Register Valid Period(S):"));
    _gbValidPeriodEdit = edit(kDigitsOnly, "3600", 0);
    auto* spacerTop = new QLabel(content);
    OzmLogic::setMyFixedHeight(spacerTop, 11);
    auto* spacerBottom = new QLabel(content);
    OzmLogic::setMyFixedHeight(spacerBottom, 17);
    QLabel* statusLabel = rightLabel(tr("Registration Status:"));
    _gbStatusCombo = list({tr("Not Online"), tr("Online")});
    _gbStatusCombo->setEnabled(false);
    QLabel* heartbeatLabel = rightLabel(tr("Heartbeat Cycle(S):"));
    _gbHeartbeatEdit = edit(kDigitsOnly, "60", 0);
    QLabel* streamLabel = rightLabel(tr("28181 Stream Index:"));
    _gbStreamCombo = list({tr("Main Stream"), tr("Sub Stream"), tr("Tri Stream")});
    QLabel* transportLabel = rightLabel(tr("Transfer Protocol:"));
    _gbTransportCombo = list({tr("TCP"), tr("UDP")});
    QLabel* intervalLabel = rightLabel(tr("Register Interval(S):"));
    _gbIntervalEdit = edit(kDigitsOnly, "60", 0);
    QLabel* timeoutsLabel = rightLabel(tr("Max Num Of Heart Timeouts:"));
    _gbTimeoutsEdit = edit(kDigitsOnly, "3", 0);
    QLabel* alarmLabel = rightLabel(tr("Alarm Input Code ID:"));
    _gbAlarmIdEdit = edit(kDigitsOnly, "", kTextMax);

    auto* layout = new QVBoxLayout(content);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 30, 0, 0);
    auto* blockOne = new QVBoxLayout;
    blockOne->setSpacing(0);
    QHBoxLayout* enableRow = pagekit::row({{_gbEnableCheck}});
    enableRow->setContentsMargins(160, 0, 0, 0);
    blockOne->addLayout(enableRow);
    blockOne->addSpacing(18);
    blockOne->addLayout(
        pagekit::row({{accessLabel}, {_gbAccessCombo, 4}, {validLabel}, {_gbValidPeriodEdit, 4}}));
    QHBoxLayout* spacerRow = pagekit::row({{spacerTop}, {spacerBottom}}, 3);
    spacerRow->setContentsMargins(563, 0, 0, 0);
    blockOne->addLayout(spacerRow);
    auto* blockTwo = new QVBoxLayout;
    blockTwo->setSpacing(18);
    blockTwo->setContentsMargins(0, 1, 0, 0);
    blockTwo->addLayout(
        pagekit::row({{versionLabel}, {_gbVersionCombo, 4}, {statusLabel}, {_gbStatusCombo, 4}}));
    blockTwo->addLayout(
        pagekit::row({{localPortLabel}, {_gbLocalPortEdit, 4}, {heartbeatLabel}, {_gbHeartbeatEdit, 4}}));
    blockTwo->addLayout(
        pagekit::row({{serverIdLabel}, {_gbServerIdEdit, 4}, {streamLabel}, {_gbStreamCombo, 4}}));
    blockTwo->addLayout(
        pagekit::row({{domainLabel}, {_gbServerDomainEdit, 4}, {transportLabel}, {_gbTransportCombo, 4}}));
    blockTwo->addLayout(
        pagekit::row({{addressLabel}, {_gbServerAddressEdit, 4}, {intervalLabel}, {_gbIntervalEdit, 4}}));
    blockTwo->addLayout(
        pagekit::row({{serverPortLabel}, {_gbServerPortEdit, 4}, {timeoutsLabel}, {_gbTimeoutsEdit, 4}}));
    blockTwo->addLayout(pagekit::row({{userLabel}, {_gbUserEdit, 4}, {alarmLabel}, {_gbAlarmIdEdit, 4}}));
    blockTwo->addLayout(pagekit::row({{authLabel}, {_gbAuthIdEdit, 4}}));
    blockTwo->addLayout(pagekit::row({{passwordLabel}, {_gbPasswordEdit, 4}}));
    blockTwo->addLayout(pagekit::row({{confirmLabel}, {_gbConfirmEdit, 4}}));
    layout->addLayout(blockOne);
    layout->addLayout(blockTwo);
    layout->addStretch();

    buildHints(content);
    connectChecks();
}

void Gb28181Page::buildHints(QWidget* content) {
    struct HintPlace {
        Hint hint;
        const char* text;
        QRect geometry;
    };
    const HintPlace hints[] = {
        {HintLocalPort, QT_TR_NOOP("The Range Is 1024-65535"), {154, 186, 300, 30}},
        {HintServerId, QT_TR_NOOP("Please enter 20 digits"), {154, 234, 300, 30}},
        {HintServerDomain, QT_TR_NOOP("Please enter 10 digits"), {154, 282, 300, 30}},
        {HintServerPort, QT_TR_NOOP("The Range Is 1024-65535"), {154, 380, 300, 30}},
        {HintUser, QT_TR_NOOP("Please enter 20 digits "), {154, 428, 300, 30}},
        {HintAuthId, QT_TR_NOOP("Please enter 20 digits "), {154, 476, 300, 30}},
        {HintPassword,
         QT_TR_NOOP("Minimum passwork 1 Characters and a maximum 18 Characters,And can not contain Chinese!"),
         {154, 528, 550, 30}},
        {HintConfirm, QT_TR_NOOP("GB28181 Password twice inconsistent!"), {154, 578, 550, 30}},
        {HintValidPeriod, QT_TR_NOOP("The Range Is 3600-100000S"), {563, 90, 300, 30}},
        {HintHeartbeat, QT_TR_NOOP("The Range Is 5-255S"), {563, 186, 300, 30}},
        {HintInterval, QT_TR_NOOP("The Range Is 60-600S"), {563, 332, 300, 30}},
        {HintTimeouts, QT_TR_NOOP("The Range Is 3-255S"), {563, 382, 300, 30}},
        {HintAlarmId, QT_TR_NOOP("Please enter 20 digits"), {563, 434, 300, 30}},
    };
    for (const HintPlace& place : hints) {
        auto* hint = new QWidget(content);
        hint->setObjectName("gbHint");
        OzmLogic::tipNotify(hint, tr(place.text));
        hint->setGeometry(place.geometry);
        hint->raise();
        hint->hide();
        _gbHint[place.hint] = hint;
    }
}

std::vector<Gb28181Page::LiveCheck> Gb28181Page::liveChecks() const {
    using Dlg = Gb28181Page;
    return {
        {_gbLocalPortEdit, &Dlg::onLocalSipPortChanged},
        {_gbServerIdEdit, &Dlg::onServerIdChanged},
        {_gbServerDomainEdit, &Dlg::onServerDomainChanged},
        {_gbServerPortEdit, &Dlg::onServerPortChanged},
        {_gbUserEdit, &Dlg::onSipUserChanged},
        {_gbAuthIdEdit, &Dlg::onAuthIdChanged},
        {_gbPasswordEdit, &Dlg::onGbPasswordChanged},
        {_gbConfirmEdit, &Dlg::onGbConfirmChanged},
        {_gbValidPeriodEdit, &Dlg::onValidPeriodChanged},
        {_gbHeartbeatEdit, &Dlg::onHeartbeatCycleChanged},
        {_gbIntervalEdit, &Dlg::onRegisterIntervalChanged},
        {_gbTimeoutsEdit, &Dlg::onHeartbeatTimeoutsChanged},
        {_gbAlarmIdEdit, &Dlg::onAlarmIdChanged},
    };
}

void Gb28181Page::connectChecks() {
    for (const LiveCheck& check : liveChecks())
        connect(check.first, &QLineEdit::textChanged, this, check.second);
}

void Gb28181Page::load() {
    OZM::_SC_GB28181_DATA info{};
    ozmParamsMgr()->getGb28181Info(&info);
    auto number = [](std::int32_t value) { return QString::number(static_cast<std::uint32_t>(value)); };
    _gbEnableCheck->setChecked(info.enable == 1);
    _gbVersionCombo->setCurrentIndex(0);
    _gbLocalPortEdit->setText(number(info.localSipPort));
    _gbServerIdEdit->setText(paramtext::fromField(info.sipServerId));
    _gbServerDomainEdit->setText(paramtext::fromField(info.sipServerDomain));
    _gbServerAddressEdit->setText(paramtext::fromField(info.sipServerAddress));
    _gbServerPortEdit->setText(number(info.sipServerPort));
    _gbUserEdit->setText(paramtext::fromField(info.user));
    _gbAuthIdEdit->setText(paramtext::fromField(info.authId));
    _gbPasswordEdit->setText(paramtext::fromField(info.password));
    _gbConfirmEdit->setText(paramtext::fromField(info.passwordConfirm));
    _gbValidPeriodEdit->setText(number(info.registerValidity));
    _gbStatus = info.status;
    _gbStatusCombo->setCurrentIndex(info.status <= 1 ? info.status : 0);
    _gbHeartbeatEdit->setText(number(info.heartbeatPeriod));
    if (info.stream <= 2) // other values leave "Main Stream"
        _gbStreamCombo->setCurrentIndex(info.stream);
    if (info.transport <= 1) // other values leave "TCP"
        _gbTransportCombo->setCurrentIndex(info.transport);
    _gbIntervalEdit->setText(number(info.registerInterval));
    _gbTimeoutsEdit->setText(number(info.maxHeartbeatTimeouts));
    _gbAlarmIdEdit->setText(paramtext::fromField(info.alarmId));

    // A text equal to the initial one emits no change: run the field checks once on what was
    // loaded. The password checks wait for the page's enable flag, loaded after all pages.
    for (const LiveCheck& check : liveChecks()) {
        if (check.first != _gbPasswordEdit && check.first != _gbConfirmEdit)
            (this->*check.second)(check.first->text());
    }
}

// ---- live checks -------------------------------------------------------------------------------

void Gb28181Page::onLocalSipPortChanged(const QString& text) {
    _gbHint[HintLocalPort]->setVisible(!inRange(text, 1024, 65535));
}

void Gb28181Page::onServerIdChanged(const QString& text) {
    _gbHint[HintServerId]->setVisible(text.length() != 20);
}

void Gb28181Page::onServerDomainChanged(const QString& text) {
    _gbHint[HintServerDomain]->setVisible(text.length() != 10);
}

void Gb28181Page::onServerPortChanged(const QString& text) {
    _gbHint[HintServerPort]->setVisible(!inRange(text, 1024, 65535));
}

void Gb28181Page::onSipUserChanged(const QString& text) {
    _gbHint[HintUser]->setVisible(text.length() != 20);
}

void Gb28181Page::onAuthIdChanged(const QString& text) {
    _gbHint[HintAuthId]->setVisible(text.length() != 20);
}

void Gb28181Page::onGbPasswordChanged(const QString& text) {
    if (!_pageEnable->isChecked())
        return;
    _gbHint[HintPassword]->setVisible(text.length() < 1 || text.length() > kPasswordHintMax);
}

void Gb28181Page::onGbConfirmChanged(const QString& text) {
    if (!_pageEnable->isChecked())
        return;
    _gbHint[HintConfirm]->setVisible(text.isEmpty() || text.length() > _gbPasswordEdit->text().length());
}

void Gb28181Page::onValidPeriodChanged(const QString& text) {
    _gbHint[HintValidPeriod]->setVisible(!inRange(text, 3600, 100000));
}

void Gb28181Page::onHeartbeatCycleChanged(const QString& text) {
    _gbHint[HintHeartbeat]->setVisible(!inRange(text, 5, 255));
}

void Gb28181Page::onRegisterIntervalChanged(const QString& text) {
    _gbHint[HintInterval]->setVisible(!inRange(text, 60, 600));
}

void Gb28181Page::onHeartbeatTimeoutsChanged(const QString& text) {
    _gbHint[HintTimeouts]->setVisible(!inRange(text, 3, 255));
}

void Gb28181Page::onAlarmIdChanged(const QString& text) {
    _gbHint[HintAlarmId]->setVisible(text.length() != 20);
}

// ---- checks and store --------------------------------------------------------------------------

std::optional<pagekit::Refusal> Gb28181Page::check() const {
    // A number within low..high, or (byLength) a text of exactly low characters.
    struct FieldCheck {
        QLineEdit* edit;
        bool byLength;
        int low;
        int high;
        const char* message;
    };
    const FieldCheck checks[] = {
        {_gbLocalPortEdit, false, 1024, 65535, QT_TR_NOOP("GB28181 The localSipPort Range Is 1024-65535!")},
        {_gbServerIdEdit, true, 20, 20, QT_TR_NOOP("GB28181 ServerId Please enter 20 digits!")},
        {_gbServerDomainEdit, true, 10, 10, QT_TR_NOOP("GB28181 ServerDomain Please enter 10 digits!")},
        {_gbServerPortEdit, false, 1024, 65535, QT_TR_NOOP("GB28181 The ServerPort Range Is 1024-65535!")},
        {_gbUserEdit, true, 20, 20, QT_TR_NOOP("GB28181 SIP User Please enter 20 digits!")},
        {_gbAuthIdEdit, true, 20, 20, QT_TR_NOOP("GB28181 SIP UserAuthId Please enter 20 digits!")},
        {_gbValidPeriodEdit, false, 3600, 100000, QT_TR_NOOP("GB28181 The ValidTime Range Is 3600-100000S!")},
        {_gbHeartbeatEdit, false, 5, 255, QT_TR_NOOP("GB28181 The heartBeatCycle Range Is 5-255S!")},
        {_gbIntervalEdit, false, 60, 600, QT_TR_NOOP("GB28181 The Interval Range Is 60-600S!")},
        {_gbTimeoutsEdit, false, 3, 255, QT_TR_NOOP("GB28181 The maxHeartCount Range Is 3-255S!")},
        {_gbAlarmIdEdit, true, 20, 20, QT_TR_NOOP("GB28181 alarmInCodeId Please enter 20 digits!")},
    };
    for (const FieldCheck& field : checks) {
        const QString text = field.edit->text();
        const bool passes =
            field.byLength ? text.length() == field.low : inRange(text, field.low, field.high);
        if (!passes)
            return pagekit::Refusal{tr(field.message), field.edit};
    }
    const QString password = _gbPasswordEdit->text();
    const QString confirm = _gbConfirmEdit->text();
    if (password.isEmpty() || confirm.isEmpty())
        return pagekit::Refusal{tr("GB28181 Password can not be blank!"),
                                password.isEmpty() ? _gbPasswordEdit : _gbConfirmEdit};
    if (password != confirm)
        return pagekit::Refusal{tr("GB28181 Password twice inconsistent!"), _gbConfirmEdit};
    return std::nullopt;
}

void Gb28181Page::save() const {
    OZM::_SC_GB28181_DATA info{};
    info.enable = _gbEnableCheck->isChecked() ? 1 : 0;
    info.accessMethod = static_cast<std::uint8_t>(std::max(0, _gbVersionCombo->currentIndex()));
    info.localSipPort = pagekit::number(_gbLocalPortEdit->text());
    paramtext::toField(info.sipServerId, _gbServerIdEdit->text());
    paramtext::toField(info.sipServerDomain, _gbServerDomainEdit->text());
    paramtext::toField(info.sipServerAddress, _gbServerAddressEdit->text());
    info.sipServerPort = pagekit::number(_gbServerPortEdit->text());
    paramtext::toField(info.user, _gbUserEdit->text());
    paramtext::toField(info.authId, _gbAuthIdEdit->text());
    paramtext::toField(info.password, _gbPasswordEdit->text());
    paramtext::toField(info.passwordConfirm, _gbConfirmEdit->text());
    info.registerValidity = pagekit::number(_gbValidPeriodEdit->text());
    info.status = _gbStatus;
    info.heartbeatPeriod = pagekit::number(_gbHeartbeatEdit->text());
    info.stream = static_cast<std::uint8_t>(std::max(0, _gbStreamCombo->currentIndex()));
    info.transport = static_cast<std::uint8_t>(std::max(0, _gbTransportCombo->currentIndex()));
    info.registerInterval = pagekit::number(_gbIntervalEdit->text());
    info.maxHeartbeatTimeouts = pagekit::number(_gbTimeoutsEdit->text());
    paramtext::toField(info.alarmId, _gbAlarmIdEdit->text());
    ozmParamsMgr()->setGb28181Info(&info);
}
