// TimeSetWidget: loading, saving and the slots.
#include "TimeSetWidget.h"

#include "ParamPageUtil.h"
#include "dialogs/TipDialog.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QStackedLayout>
#include <QTimer>

#include <cstring>

using OZM::_SC_SETTIME_DATA_;

namespace {

const char* const kDateTimeFormat = "yyyy-MM-dd HH:mm:ss";

QTime hourTime(int hour) {
    return QTime::fromString(QString("%1").arg(hour, 2, 10, QChar('0')), "HH");
}

std::uint8_t byteOf(int value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

} // namespace

void TimeSetWidget::showWarningTip(const QString& text, QWidget* field) {
    if (field)
        emit checkFailed(field);
    TipDialog::showWarning(text);
}

void TimeSetWidget::loadTimeInfo() {
    m_methodCombo->setCurrentIndex(0);
    _SC_SETTIME_DATA_ info;
    std::memset(&info, 0, sizeof info);
    ozmParamsMgr()->getTimeInfo(&info);

    pageutil::setComboIndex(m_methodCombo, info.updateMethod);
    pageutil::setComboIndex(m_zoneCombo, info.timeZone);
    m_nvrCheck->setChecked(info.syncNvr != 0);
    pageutil::setComboIndex(m_autoSyncCombo, info.ntpAutoSync);
    m_intervalEdit->setText(QString::number(info.ntpInterval));
    pageutil::setComboIndex(m_serverCombo, info.ntpServerIndex);
    m_serverEdit->setText(pageutil::readLatin1(info.ntpServer, sizeof info.ntpServer));

    const QString text = QString("%1-%2-%3 %4:%5:%6")
                             .arg(info.year)
                             .arg(info.month, 2, 10, QChar('0'))
                             .arg(info.day, 2, 10, QChar('0'))
                             .arg(info.hour, 2, 10, QChar('0'))
                             .arg(info.minute, 2, 10, QChar('0'))
                             .arg(info.second, 2, 10, QChar('0'));
    const QDateTime stored = QDateTime::fromString(text, kDateTimeFormat);
    if (stored.isValid())
        m_setTimeEdit->setDateTime(stored);

    const bool summer = info.summerTime != 0;
    m_summerCheck->setChecked(summer);
    for (QWidget* control : summerControls())
        control->setEnabled(summer);
    pageutil::setComboIndex(m_startMonth, info.summerStartMonth);
    pageutil::setComboIndex(m_startWeek, info.summerStartWeek);
    pageutil::setComboIndex(m_startWeekday, info.summerStartWeekday);
    const QTime startHour = hourTime(info.summerStartHour);
    if (startHour.isValid())
        m_startHour->setTime(startHour);
    pageutil::setComboIndex(m_endMonth, info.summerEndMonth);
    pageutil::setComboIndex(m_endWeek, info.summerEndWeek);
    pageutil::setComboIndex(m_endWeekday, info.summerEndWeekday);
    const QTime endHour = hourTime(info.summerEndHour);
    if (endHour.isValid())
        m_endHour->setTime(endHour);
    pageutil::setComboIndex(m_offsetCombo, info.summerOffset);
}

bool TimeSetWidget::saveTimeInfo() {
    bool isNumber = false;
    int interval = m_intervalEdit->text().toInt(&isNumber, 10);
    if (!isNumber)
        interval = 0;
    if (m_autoSyncCombo->currentIndex() == 0 && (interval < kIntervalMin || interval > kIntervalMax)) {
        showWarningTip(tr("The effective value of time interval is from 1 to 10080!"), m_intervalEdit);
        return false;
    }

    _SC_SETTIME_DATA_ info;
    std::memset(&info, 0, sizeof info);
    const int method = m_methodCombo->currentIndex();
    info.updateMethod = byteOf(method);
    info.timeZone = byteOf(m_zoneCombo->currentIndex());
    info.syncNvr = m_nvrCheck->isChecked() ? 1 : 0;
    info.ntpAutoSync = byteOf(m_autoSyncCombo->currentIndex());
    info.ntpServerIndex = m_serverCombo->currentIndex();
    pageutil::copyLatin1(info.ntpServer, sizeof info.ntpServer, m_serverEdit->text());
    info.ntpInterval = interval;

    info.summerTime = m_summerCheck->isChecked() ? 1 : 0;
    info.summerStartMonth = byteOf(m_startMonth->currentIndex());
    info.summerStartWeek = byteOf(m_startWeek->currentIndex());
    info.summerStartWeekday = byteOf(m_startWeekday->currentIndex());
    info.summerStartHour = byteOf(m_startHour->time().hour());
    info.summerEndMonth = byteOf(m_endMonth->currentIndex());
    info.summerEndWeek = byteOf(m_endWeek->currentIndex());
    info.summerEndWeekday = byteOf(m_endWeekday->currentIndex());
    info.summerEndHour = byteOf(m_endHour->time().hour());
    info.summerOffset = byteOf(m_offsetCombo->currentIndex());

    QDateTime when = m_setTimeEdit->dateTime();
    if (method == 2) {
        // The clock line as shown; the current time if it holds no valid time.
        when = QDateTime::fromString(m_computerTimeEdit->text(), kDateTimeFormat);
        if (!when.isValid())
            when = QDateTime::currentDateTime();
    }
    info.year = static_cast<std::uint16_t>(when.date().year());
    info.month = byteOf(when.date().month());
    info.day = byteOf(when.date().day());
    info.hour = byteOf(when.time().hour());
    info.minute = byteOf(when.time().minute());
    info.second = byteOf(when.time().second());

    ozmParamsMgr()->setTimeInfo(&info);
    return true;
}

void TimeSetWidget::onUpdateMethodChange(int index) {
    const QList<QWidget*> ntpControls = {m_zoneCombo, m_serverCombo, m_serverEdit, m_autoSyncCombo};
    switch (index) {
    case 0:
        OzmLogic::setMyFixedHeight(m_midWidget, 212);
        m_midStack->setCurrentIndex(0);
        for (QWidget* w : ntpControls)
            w->setEnabled(true);
        m_setTimeEdit->setEnabled(false);
        break;
    case 1:
        OzmLogic::setMyFixedHeight(m_midWidget, 67);
        m_midStack->setCurrentIndex(1);
        for (QWidget* w : ntpControls)
            w->setEnabled(false);
        m_setTimeEdit->setEnabled(true);
        break;
    case 2:
        OzmLogic::setMyFixedHeight(m_midWidget, 68);
        m_midStack->setCurrentIndex(2);
        for (QWidget* w : ntpControls)
            w->setEnabled(false);
        m_setTimeEdit->setEnabled(false);
        break;
    default:
        break;
    }
}

void TimeSetWidget::onSntpSeverComboBoxChange(int index) {
    if (index == 5) {
        m_serverEdit->setEnabled(true);
    } else {
        m_serverEdit->setEnabled(false);
        m_serverEdit->setText(m_serverCombo->currentText());
    }
}

void TimeSetWidget::onNtpAutoSyncComboBox(int index) {
    if (index == 0)
        m_intervalEdit->setEnabled(true);
    else if (index == 1)
        m_intervalEdit->setEnabled(false);
}

void TimeSetWidget::onUpdateTime() {
    m_computerTimeEdit->setText(QDateTime::currentDateTime().toString(kDateTimeFormat));
}

void TimeSetWidget::onCheckBoxClicked() {
    if (sender() == nullptr || sender() != m_summerCheck)
        return;
    const Qt::CheckState state = m_summerCheck->checkState();
    if (state != Qt::Checked && state != Qt::Unchecked)
        return;
    for (QWidget* control : summerControls())
        control->setEnabled(state == Qt::Checked);
}
