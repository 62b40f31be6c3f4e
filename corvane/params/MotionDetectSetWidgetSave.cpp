// MotionDetectSetWidget: the save and the schedule text it reads.
#include "MotionDetectSetWidget.h"

#include "AreaWndWidget.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CScheduleSet.h"

#include <QCheckBox>
#include <QDebug>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QSpinBox>
#include <QStringList>
#include <QTextCodec>

#include <cstring>

namespace {

constexpr int kDays = 7;
constexpr int kPeriods = 8;
constexpr int kLastSecond = 86399;

// An integer member; false when missing or not a whole number.
bool intMember(const QJsonObject& object, const char* key, int& value) {
    const QJsonValue v = object.value(QLatin1String(key));
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (d != static_cast<double>(static_cast<long long>(d)) || d < -2147483648.0 || d > 2147483647.0)
        return false;
    value = static_cast<int>(d);
    return true;
}

// A trace for the developer, on the ordinary debug output.
void skipped(const QString& part, const char* why) {
    qDebug().noquote() << "schedule part skipped (" << why << "):" << part.left(200);
}

} // namespace

int MotionDetectSetWidget::applyIotSchedule(const QString& schedule, OZM::_SC_ALARM_DATA_* info) {
    if (info == nullptr)
        return 0;
    QTextCodec* gbk = QTextCodec::codecForName("GBK");
    int written = 0;
    for (const QString& part : schedule.split(';')) {
        if (part.isEmpty())
            continue;
        QJsonParseError error{};
        const QByteArray bytes = gbk != nullptr ? gbk->fromUnicode(part) : part.toLocal8Bit();
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
        if (document.isNull() || !document.isObject()) {
            qDebug() << "String is NULL" << part;
            skipped(part, "not a JSON object");
            continue;
        }
        const QJsonObject object = document.object();
        int day = 0;
        int plan = 0;
        int begin = 0;
        int end = 0;
        if (!intMember(object, "dayOfWeek", day) || !intMember(object, "planNum", plan) ||
            !intMember(object, "beginTime", begin) || !intMember(object, "endTime", end)) {
            skipped(part, "missing or bad key");
            continue;
        }
        if (day < 0 || day >= kDays || plan < 0 || plan >= kPeriods) {
            skipped(part, "day or period out of range");
            continue;
        }
        if (begin < 0 || begin > kLastSecond || end < 0 || end > kLastSecond) {
            skipped(part, "time out of range");
            continue;
        }
        OZM::SC_ALARM_PERIOD& period = info->schedule[day][plan];
        period.beginHour = static_cast<std::uint8_t>(begin / 3600);
        period.beginMinute = static_cast<std::uint8_t>(begin % 3600 / 60);
        period.beginSecond = static_cast<std::uint8_t>(begin % 60);
        period.endHour = static_cast<std::uint8_t>(end / 3600);
        period.endMinute = static_cast<std::uint8_t>(end % 3600 / 60);
        period.endSecond = static_cast<std::uint8_t>(end % 60);
        ++written;
        qDebug() << "set Schedule:" << part;
    }
    return written;
}

bool MotionDetectSetWidget::saveMotionDetect() {
    OZM::_SC_ALARM_DATA_ info;
    std::memset(&info, 0, sizeof info);
    info.enable = m_enableCheck->isChecked() ? 1 : 0;
    info.sensitivity = static_cast<std::uint8_t>(m_sensitivityBox->value());
    if (m_areaWidget != nullptr)
        AreaGridToMask(m_areaWidget, &info);
    if (m_scheduleSet != nullptr)
        applyIotSchedule(m_scheduleSet->getIotSchedule(), &info);
    ozmParamsMgr()->setAlarmInfo(&info);
    return true;
}
