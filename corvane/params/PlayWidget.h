// Privacy rectangle editor: a 507 x 300 frame on which up to three rectangles (the privacy
// mask areas) are dragged out with the left button and drawn in red. Its pixels are the
// coordinate space of the stored areas. Reports the area being worked on with posChanged.
#pragma once

#include <QFrame>
#include <QPoint>
#include <QRect>

class PlayWidget : public QFrame {
    Q_OBJECT

public:
    static constexpr int kAreaCount = 3;
    static constexpr int kWidth = 507;
    static constexpr int kHeight = 300;

    explicit PlayWidget(QWidget* parent = nullptr);
    ~PlayWidget() override;

    // Empties area index (0..2): 0; any other index: -1 and nothing changes.
    int clearArea(int index);
    // Every non-empty area counts as in use, every all-zero one as free. Returns 0.
    int refreshAreas();
    // field / 4 is the area, field % 4 the value: 0 x (keeps the right edge), 1 y (keeps the
    // bottom edge), 2 width, 3 height. Fields outside 0..11 change nothing. Returns 0.
    int setAreaValue(int field, int value);
    // Rectangles of the areas being dragged from their start and end points; emits posChanged
    // for the current area. Called by the paint handler.
    QRect* normalizeAreas();

    QRect area(int index) const { return m_areas[index]; }
    bool inUse(int index) const { return m_inUse[index] != 0; }
    bool drawing(int index) const { return m_drawing[index] != 0; }
    int currentIndex() const { return m_current; }

signals:
    void posChanged(int index, QRect* rect);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void takeDragRect(int index);

    QRect m_rect;
    QPoint m_start[kAreaCount];
    QPoint m_end[kAreaCount];
    int m_inUse[kAreaCount] = {0, 0, 0};
    int m_drawing[kAreaCount] = {0, 0, 0};
    QRect m_areas[kAreaCount];
    int m_current = 0;
};
