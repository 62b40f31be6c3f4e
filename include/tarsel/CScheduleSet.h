// Widget library: weekly schedule editor. Seven day rows (0 = Sunday) over a 24-hour line;
// each day holds at most eight periods (seconds since midnight, begin <= end <= 86399).
// A left drag along a day adds a period in half-hour steps (merged with the periods it
// overlaps or touches); a right click on a period removes it.
#pragma once

#include <QString>
#include <QWidget>

#include <array>

namespace OZM {
struct _SC_ALARM_DATA_;
}

class CScheduleSet : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDays = 7;
    static constexpr int kPeriods = 8;
    static constexpr int kLastSecond = 86399;
    static constexpr int kStepSeconds = 1800;

    struct Period {
        bool used = false;
        int begin = 0;
        int end = 0;
    };

    explicit CScheduleSet(QWidget* parent = nullptr);
    ~CScheduleSet() override;

    // Takes the periods from the record's schedule table: slot p of day d is period p of day
    // d. All-zero periods are empty; a period with a field out of range or ending before it
    // begins is dropped with a log line. Null: the schedule is cleared.
    void setSchedule(const OZM::_SC_ALARM_DATA_* info);
    // The non-empty periods as JSON objects {"dayOfWeek","planNum","beginTime","endTime"}
    // separated by ";", day by day, slot by slot. Empty text when there is none.
    QString getIotSchedule() const;
    // Every day armed all day / nothing armed.
    void selectAll();
    void clearAll();

    // Adds [begin, end] to a day, merging the periods it overlaps or touches into one. False,
    // and nothing changes, for a bad day or time or when the day already has eight periods
    // that the new one does not touch.
    bool addPeriod(int day, int begin, int end);
    // Removes the period of day that holds second; false when there is none.
    bool removePeriodAt(int day, int second);
    Period period(int day, int slot) const { return m_days[day][slot]; }
    int periodCount(int day) const;

    // Geometry of the drawing: the rectangle of day's row and the x of a second.
    QRect dayRect(int day) const;
    int xOfSecond(int second) const;

signals:
    void scheduleChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int dayAt(const QPoint& pos) const;
    int stepAt(int x) const; // half-hour step 0..47 under x, clamped

    std::array<std::array<Period, kPeriods>, kDays> m_days{};
    int m_dragDay = -1;
    int m_dragFrom = -1;
    int m_dragTo = -1;
};
