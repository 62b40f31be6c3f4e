#include "tarsel/CScheduleSet.h"

#include "ozmlogic/ParamRecords.h"
#include "quillet/Quillet.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace {

constexpr int kLabelWidth = 48;
constexpr int kTopMargin = 24;
constexpr int kRowHeight = 44;
constexpr int kRowGap = 8;
constexpr int kRightMargin = 8;
constexpr int kSteps = 48;

const char* const kDayNames[CScheduleSet::kDays] = {
    QT_TRANSLATE_NOOP("CScheduleSet", "Sun"), QT_TRANSLATE_NOOP("CScheduleSet", "Mon"),
    QT_TRANSLATE_NOOP("CScheduleSet", "Tue"), QT_TRANSLATE_NOOP("CScheduleSet", "Wed"),
    QT_TRANSLATE_NOOP("CScheduleSet", "Thu"), QT_TRANSLATE_NOOP("CScheduleSet", "Fri"),
    QT_TRANSLATE_NOOP("CScheduleSet", "Sat")};

bool validTime(int h, int m, int s) {
    return h >= 0 && h <= 23 && m >= 0 && m <= 59 && s >= 0 && s <= 59;
}

} // namespace

CScheduleSet::CScheduleSet(QWidget* parent) : QWidget(parent) {
    setMinimumSize(kLabelWidth + 4 * kSteps + kRightMargin, kTopMargin + kDays * (kRowHeight + kRowGap));
}

CScheduleSet::~CScheduleSet() = default;

void CScheduleSet::setSchedule(const OZM::_SC_ALARM_DATA_* info) {
    for (auto& day : m_days)
        day.fill(Period{});
    if (info != nullptr) {
        for (int d = 0; d < kDays; ++d) {
            for (int p = 0; p < kPeriods; ++p) {
                const OZM::SC_ALARM_PERIOD& in = info->schedule[d][p];
                if (in.beginHour == 0 && in.beginMinute == 0 && in.beginSecond == 0 && in.endHour == 0 &&
                    in.endMinute == 0 && in.endSecond == 0)
                    continue;
                const int begin = in.beginHour * 3600 + in.beginMinute * 60 + in.beginSecond;
                const int end = in.endHour * 3600 + in.endMinute * 60 + in.endSecond;
                if (!validTime(in.beginHour, in.beginMinute, in.beginSecond) ||
                    !validTime(in.endHour, in.endMinute, in.endSecond) || end < begin) {
                    Qx_Write_Log(300, "CScheduleSet::setSchedule",
                                 "[Line:%d] bad period day %d plan %d skipped", __LINE__, d, p);
                    continue;
                }
                m_days[d][p] = Period{true, begin, end};
            }
        }
    }
    update();
    emit scheduleChanged();
}

QString CScheduleSet::getIotSchedule() const {
    QStringList parts;
    for (int d = 0; d < kDays; ++d) {
        for (int p = 0; p < kPeriods; ++p) {
            const Period& period = m_days[d][p];
            if (!period.used)
                continue;
            QJsonObject object;
            object.insert("dayOfWeek", d);
            object.insert("planNum", p);
            object.insert("beginTime", period.begin);
            object.insert("endTime", period.end);
            parts << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
        }
    }
    return parts.join(';');
}

void CScheduleSet::selectAll() {
    for (auto& day : m_days) {
        day.fill(Period{});
        day[0] = Period{true, 0, kLastSecond};
    }
    update();
    emit scheduleChanged();
}

void CScheduleSet::clearAll() {
    for (auto& day : m_days)
        day.fill(Period{});
    update();
    emit scheduleChanged();
}

int CScheduleSet::periodCount(int day) const {
    if (day < 0 || day >= kDays)
        return 0;
    return static_cast<int>(
        std::count_if(m_days[day].begin(), m_days[day].end(), [](const Period& p) { return p.used; }));
}

bool CScheduleSet::addPeriod(int day, int begin, int end) {
    if (day < 0 || day >= kDays || begin < 0 || end > kLastSecond || end < begin)
        return false;
    auto& periods = m_days[day];
    int mergedBegin = begin;
    int mergedEnd = end;
    int slot = -1;
    bool touched[kPeriods] = {};
    for (int p = 0; p < kPeriods; ++p) {
        const Period& other = periods[p];
        if (other.used && other.begin <= end + 1 && other.end + 1 >= begin) {
            touched[p] = true;
            mergedBegin = std::min(mergedBegin, other.begin);
            mergedEnd = std::max(mergedEnd, other.end);
            if (slot < 0)
                slot = p;
        }
    }
    if (slot < 0) {
        for (int p = 0; p < kPeriods && slot < 0; ++p)
            if (!periods[p].used)
                slot = p;
        if (slot < 0)
            return false; // eight periods already
    }
    for (int p = 0; p < kPeriods; ++p)
        if (touched[p])
            periods[p] = Period{};
    periods[slot] = Period{true, mergedBegin, mergedEnd};
    update();
    emit scheduleChanged();
    return true;
}

bool CScheduleSet::removePeriodAt(int day, int second) {
    if (day < 0 || day >= kDays)
        return false;
    for (Period& p : m_days[day]) {
        if (p.used && p.begin <= second && second <= p.end) {
            p = Period{};
            update();
            emit scheduleChanged();
            return true;
        }
    }
    return false;
}

QRect CScheduleSet::dayRect(int day) const {
    return QRect(kLabelWidth, kTopMargin + day * (kRowHeight + kRowGap), width() - kLabelWidth - kRightMargin,
                 kRowHeight);
}

int CScheduleSet::xOfSecond(int second) const {
    const QRect line = dayRect(0);
    return line.left() + static_cast<int>(static_cast<long long>(second) * line.width() / (kLastSecond + 1));
}

int CScheduleSet::dayAt(const QPoint& pos) const {
    for (int d = 0; d < kDays; ++d)
        if (dayRect(d).contains(pos))
            return d;
    return -1;
}

int CScheduleSet::stepAt(int x) const {
    const QRect line = dayRect(0);
    const int step = (x - line.left()) * kSteps / std::max(1, line.width());
    return std::clamp(step, 0, kSteps - 1);
}

void CScheduleSet::mousePressEvent(QMouseEvent* event) {
    const int day = dayAt(event->pos());
    if (day < 0)
        return;
    if (event->button() == Qt::RightButton) {
        const QRect line = dayRect(day);
        const int second = static_cast<int>(static_cast<long long>(event->pos().x() - line.left()) *
                                            (kLastSecond + 1) / std::max(1, line.width()));
        removePeriodAt(day, second);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_dragDay = day;
    m_dragFrom = m_dragTo = stepAt(event->pos().x());
    update();
}

void CScheduleSet::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragDay < 0 || !(event->buttons() & Qt::LeftButton))
        return;
    m_dragTo = stepAt(event->pos().x());
    update();
}

void CScheduleSet::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_dragDay < 0)
        return;
    m_dragTo = stepAt(event->pos().x());
    const int first = std::min(m_dragFrom, m_dragTo);
    const int last = std::max(m_dragFrom, m_dragTo);
    const int day = m_dragDay;
    m_dragDay = -1;
    addPeriod(day, first * kStepSeconds, (last + 1) * kStepSeconds - 1);
    update();
}

void CScheduleSet::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(0x66, 0x66, 0x66));
    for (int h = 0; h <= 24; h += 2) {
        const int x = xOfSecond(std::min(h * 3600, kLastSecond + 1));
        painter.drawText(QRect(x - 12, 2, 24, kTopMargin - 4), Qt::AlignCenter, QString::number(h));
    }
    for (int d = 0; d < kDays; ++d) {
        const QRect row = dayRect(d);
        painter.setPen(QColor(0x33, 0x33, 0x33));
        painter.drawText(QRect(0, row.top(), kLabelWidth - 6, row.height()),
                         Qt::AlignRight | Qt::AlignVCenter, tr(kDayNames[d]));
        painter.fillRect(row, QColor(0xF2, 0xF4, 0xF7));
        painter.setPen(QColor(0xD0, 0xD4, 0xDA));
        for (int h = 0; h <= 24; ++h) {
            const int x = xOfSecond(std::min(h * 3600, kLastSecond + 1));
            painter.drawLine(x, row.top(), x, row.bottom());
        }
        for (const Period& p : m_days[d]) {
            if (!p.used)
                continue;
            const int x0 = xOfSecond(p.begin);
            const int x1 = xOfSecond(p.end + 1);
            painter.fillRect(QRect(x0, row.top() + 6, std::max(1, x1 - x0), row.height() - 12),
                             QColor(0x00, 0x6A, 0xFE));
        }
        if (d == m_dragDay) {
            const int a = std::min(m_dragFrom, m_dragTo);
            const int b = std::max(m_dragFrom, m_dragTo);
            const int x0 = xOfSecond(a * kStepSeconds);
            const int x1 = xOfSecond((b + 1) * kStepSeconds);
            painter.fillRect(QRect(x0, row.top() + 6, x1 - x0, row.height() - 12),
                             QColor(0x00, 0x6A, 0xFE, 110));
        }
    }
}
