// Pages 11 (account), 12 (time) and 13 (timed restart): builders, loads and savers, and the
// restart period's day list.
#include "OtherParamConfigDlg.h"

#include "ParamFieldText.h"
#include "ParamPageKit.h"
#include "ParamPageUtil.h"
#include "TimeSetWidget.h"
#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace {

// Text fields of the account record hold 31 characters before their terminating zero.
constexpr int kAccountTextMax = 31;
constexpr int kPasswordMin = 8;

// A click into a time box selects the section under the pointer, so that the digits typed next
// replace it (a full section takes no further digit, and a click alone selects nothing).
class SectionOnClick : public QObject {
public:
    explicit SectionOnClick(QDateTimeEdit* edit) : QObject(edit), m_edit(edit) {
        edit->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_edit && event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            // After the edit has placed its cursor for this click.
            QMetaObject::invokeMethod(
                m_edit, [edit = m_edit] { edit->setSelectedSection(edit->currentSection()); },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QDateTimeEdit* m_edit;
};

// At least one ASCII letter and one digit; every character printable ASCII other than the
// space, so the text is stored byte for byte as typed.
bool passwordCharactersOk(const QString& text) {
    bool letter = false;
    bool digit = false;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u <= 0x20 || u >= 0x7F)
            return false;
        letter |= (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
        digit |= u >= '0' && u <= '9';
    }
    return letter && digit;
}

QVBoxLayout* rowsLayout(QWidget* content, int top) {
    auto* layout = new QVBoxLayout(content);
    layout->setSpacing(18);
    layout->setContentsMargins(0, top, 0, 0);
    return layout;
}

enum RestartPeriod { PeriodNever = 0, PeriodEvery = 1, PeriodWeekly = 2, PeriodMonthly = 3 };

QStringList weekdayItems() {
    return {OtherParamConfigDlg::tr("Sun"), OtherParamConfigDlg::tr("Mon"), OtherParamConfigDlg::tr("Tue"),
            OtherParamConfigDlg::tr("Wed"), OtherParamConfigDlg::tr("Thu"), OtherParamConfigDlg::tr("Fri"),
            OtherParamConfigDlg::tr("Sat")};
}

QStringList monthDayItems() {
    QStringList items;
    for (int day = 0; day <= 30; ++day)
        items << QString::number(day);
    return items;
}

} // namespace

// ---- page 11, account --------------------------------------------------------------------------

void OtherParamConfigDlg::createAccountPage() {
    QWidget* content = createPageFrame(OZM::FamilyAccount);
    auto caption = [&](const QString& text) {
        return pagekit::label(content, text, "settingLabel", 144, 20);
    };
    auto edit = [&](bool password) {
        QLineEdit* result = pagekit::lineEdit(content, "settinglineEdit", 240, 30);
        result->setMaxLength(kAccountTextMax);
        if (password)
            result->setEchoMode(QLineEdit::Password);
        return result;
    };

    QLabel* userLabel = caption(tr("User Name:"));
    _accountUserEdit = edit(false);
    QLabel* typeLabel = caption(tr("User Type:"));
    _userTypeCombo = pagekit::comboBox(content, {tr("Admin"), tr("Operator"), tr("Guest")}, 240, 30);
    QLabel* pwdLabel = caption(tr("Pwd:"));
    _accountPwdEdit = edit(true);
    QLabel* confirmLabel = caption(tr("Confirm Pwd:"));
    _accountConfirmEdit = edit(true);

    QVBoxLayout* layout = rowsLayout(content, 30);
    layout->addLayout(pagekit::row({{userLabel}, {_accountUserEdit, 8}}));
    layout->addLayout(pagekit::row({{typeLabel}, {_userTypeCombo, 8}}));
    layout->addLayout(pagekit::row({{pwdLabel}, {_accountPwdEdit, 8}}));
    layout->addLayout(pagekit::row({{confirmLabel}, {_accountConfirmEdit, 8}}));
    layout->addStretch();

    OZM::_SC_ACCOUNT_DATA info{};
    ozmParamsMgr()->getAccountInfo(&info);
    if (info.userType <= 2)
        _userTypeCombo->setCurrentIndex(static_cast<int>(info.userType));
    _accountUserEdit->setText(paramtext::fromField(info.user));
    _accountPwdEdit->setText(paramtext::fromField(info.password));
    _accountConfirmEdit->setText(paramtext::fromField(info.passwordConfirm));
}

bool OtherParamConfigDlg::saveAccountInfo() {
    const QString password = _accountPwdEdit->text();
    if (password != _accountConfirmEdit->text()) {
        showWarningTip(tr("Account Password twice inconsistent!"), _accountConfirmEdit);
        return false;
    }
    if (password.size() < kPasswordMin || password.size() > kAccountTextMax ||
        !passwordCharactersOk(password)) {
        showWarningTip(tr("Account Minimum passwork 8 Characters and a maximum 31 Characters,It must contain "
                          "numbers and letters!"),
                       _accountPwdEdit);
        return false;
    }
    OZM::_SC_ACCOUNT_DATA info{};
    paramtext::toField(info.user, _accountUserEdit->text());
    paramtext::toField(info.password, password);
    paramtext::toField(info.passwordConfirm, _accountConfirmEdit->text());
    info.userType = static_cast<std::uint32_t>(std::max(0, _userTypeCombo->currentIndex()));
    ozmParamsMgr()->setAccountInfo(&info);
    return true;
}

// ---- page 12, time -----------------------------------------------------------------------------

void OtherParamConfigDlg::createTimePage() {
    QWidget* content = createPageFrame(OZM::FamilyTime);
    _timeSetWidget = new TimeSetWidget(this);
    connect(_timeSetWidget, &TimeSetWidget::checkFailed, this, &OtherParamConfigDlg::revealField);
    auto* layout = new QVBoxLayout(content);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(_timeSetWidget);
    layout->addStretch();
}

bool OtherParamConfigDlg::saveTimeInfo() {
    // The widget is built with the dialog; without it nothing is stored and the save stops.
    return _timeSetWidget ? _timeSetWidget->saveTimeInfo() : false;
}

// ---- page 13, timed restart --------------------------------------------------------------------

void OtherParamConfigDlg::createMaintainPage() {
    QWidget* content = createPageFrame(OZM::FamilyMaintain);
    QLabel* label = pagekit::label(content, tr("Restart Regularly:"), "settingLabel", 176, 20);
    _restartPeriodCombo =
        pagekit::comboBox(content, {tr("Never"), tr("Every"), tr("Weekly"), tr("Monthly")}, 90, 30);
    _restartDayCombo = pagekit::comboBox(content, monthDayItems(), 90, 30);
    _restartTimeEdit = new QDateTimeEdit(content);
    _restartTimeEdit->setDisplayFormat("HH:mm");
    _restartTimeEdit->setAlignment(Qt::AlignCenter);
    _restartTimeEdit->setTime(QTime(0, 0));
    new SectionOnClick(_restartTimeEdit);
    OzmLogic::setMyFixedWidth(_restartTimeEdit, 100);
    OzmLogic::setMyFixedHeight(_restartTimeEdit, 30);

    QVBoxLayout* layout = rowsLayout(content, 20);
    layout->addLayout(
        pagekit::row({{label}, {_restartPeriodCombo, 4}, {_restartDayCombo, 5}, {_restartTimeEdit, 5}}));
    layout->addStretch();
}

void OtherParamConfigDlg::loadMaintainInfo() {
    connect(_restartPeriodCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &OtherParamConfigDlg::onMonthComboBoxChanged);

    _maintainInfo = OZM::_SC_SETRESTARTREGULARLY_DATA_{};
    ozmParamsMgr()->getMaintainInfo(&_maintainInfo);
    int period = PeriodMonthly;
    if (_maintainInfo.enable == 0)
        period = PeriodNever;
    else if (_maintainInfo.period == 0)
        period = PeriodEvery;
    else if (_maintainInfo.period == 1)
        period = PeriodWeekly;
    // The slot sets the day list and the time edit; run it also when the index stays.
    const QSignalBlocker block(_restartPeriodCombo);
    _restartPeriodCombo->setCurrentIndex(period);
    onMonthComboBoxChanged(period);
}

void OtherParamConfigDlg::setRestartTime() {
    // From the numbers themselves: a text without leading zeros ("7:5") does not parse as HH:mm.
    const int hour = std::clamp(static_cast<int>(_maintainInfo.hour), 0, 23);
    const int minute = std::clamp(static_cast<int>(_maintainInfo.minute), 0, 59);
    _restartTimeEdit->setTime(QTime(hour, minute));
    _restartTimeEdit->show();
}

void OtherParamConfigDlg::fillRestartDays(int period) {
    _restartDayCombo->clear();
    if (period == PeriodWeekly) {
        _restartDayCombo->addItems(weekdayItems());
        // A stored weekday the list does not hold selects the first day, never none.
        const int weekday = static_cast<int>(_maintainInfo.weekday);
        _restartDayCombo->setCurrentIndex(weekday >= 0 && weekday < 7 ? weekday : 0);
    } else {
        _restartDayCombo->addItems(monthDayItems());
        const int day = std::clamp(static_cast<int>(_maintainInfo.dayOfMonth), 0, 30);
        _maintainInfo.dayOfMonth = static_cast<std::uint32_t>(day);
        _restartDayCombo->setCurrentIndex(day);
    }
    _restartDayCombo->show();
}

void OtherParamConfigDlg::onMonthComboBoxChanged(int index) {
    switch (index) {
    case PeriodNever:
        _restartDayCombo->hide();
        _restartTimeEdit->hide();
        break;
    case PeriodEvery:
        _restartDayCombo->hide();
        setRestartTime();
        break;
    case PeriodWeekly:
    case PeriodMonthly:
        fillRestartDays(index);
        setRestartTime();
        break;
    default:
        break;
    }
}

void OtherParamConfigDlg::saveMaintainInfo() {
    const QString period = _restartPeriodCombo->currentText();
    _maintainInfo.enable = period == tr("Never") ? 0 : 1;
    if (period == tr("Every")) {
        _maintainInfo.period = 0;
    } else if (period == tr("Weekly")) {
        _maintainInfo.period = 1;
        _maintainInfo.weekday = static_cast<std::uint32_t>(std::max(0, _restartDayCombo->currentIndex()));
    } else if (period == tr("Monthly")) {
        _maintainInfo.period = 2;
        _maintainInfo.dayOfMonth =
            static_cast<std::uint32_t>(std::clamp(pagekit::number(_restartDayCombo->currentText()), 0, 30));
    }
    const QTime time = _restartTimeEdit->time();
    _maintainInfo.hour = static_cast<std::uint32_t>(time.hour());
    _maintainInfo.minute = static_cast<std::uint32_t>(time.minute());
    ozmParamsMgr()->setMaintainInfo(&_maintainInfo);
}
