#include "PlayWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstdlib>

PlayWidget::PlayWidget(QWidget* parent) : QFrame(parent, Qt::WindowFlags()) {
    setFixedSize(kWidth, kHeight);
    m_rect = geometry();
    m_rect.moveTo(0, 0);
    for (int i = 0; i < kAreaCount; ++i)
        m_areas[i] = QRect(0, 0, 0, 0);
}

PlayWidget::~PlayWidget() = default;

int PlayWidget::clearArea(int index) {
    if (index < 0 || index >= kAreaCount)
        return -1;
    m_areas[index] = QRect(0, 0, 0, 0);
    m_inUse[index] = 0;
    m_drawing[index] = 0;
    update();
    return 0;
}

int PlayWidget::refreshAreas() {
    for (int i = 0; i < kAreaCount; ++i) {
        const QRect& r = m_areas[i];
        if (r.x() == 0 && r.y() == 0 && r.width() == 0 && r.height() == 0) {
            m_inUse[i] = 0;
            m_drawing[i] = 0;
        } else {
            m_inUse[i] = 1;
        }
    }
    update();
    return 0;
}

int PlayWidget::setAreaValue(int field, int value) {
    if (field >= 0 && field < kAreaCount * 4) {
        QRect& r = m_areas[field / 4];
        switch (field % 4) {
        case 0:
            r.setLeft(value);
            break; // keeps the right edge
        case 1:
            r.setTop(value);
            break; // keeps the bottom edge
        case 2:    // right = left + width - 1, kept within int
            r.setRight(static_cast<int>(
                std::clamp<long long>(static_cast<long long>(r.left()) + value - 1, INT_MIN, INT_MAX)));
            break;
        default:
            r.setBottom(static_cast<int>(
                std::clamp<long long>(static_cast<long long>(r.top()) + value - 1, INT_MIN, INT_MAX)));
            break;
        }
    }
    update();
    return 0;
}

QRect* PlayWidget::normalizeAreas() {
    for (int i = 0; i < kAreaCount; ++i)
        if (m_drawing[i] == 1)
            takeDragRect(i);
    if (m_current < kAreaCount)
        emit posChanged(m_current, &m_areas[m_current]);
    return &m_areas[0];
}

// Both corners included: a drag from (10, 10) to (20, 30) gives x 10, y 10, width 11, height 21.
void PlayWidget::takeDragRect(int index) {
    const QPoint a = m_start[index] - m_rect.topLeft();
    const QPoint b = m_end[index] - m_rect.topLeft();
    m_areas[index] = QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                           QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

void PlayWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (!m_rect.contains(event->pos())) {
        update();
        return;
    }
    int free = -1;
    for (int i = 0; i < kAreaCount && free < 0; ++i)
        if (m_inUse[i] == 0)
            free = i;
    if (free < 0) {
        m_current = kAreaCount; // no fourth area
        update();
        return;
    }
    m_inUse[free] = 1;
    m_start[free] = event->pos();
    m_end[free] = event->pos();
    m_current = free;
    update();
}

void PlayWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return;
    // Clamped to the frame's width and height: an area dragged across the whole frame reaches
    // one pixel past its last column and row.
    const int x = std::clamp(event->pos().x(), 0, m_rect.width());
    const int y = std::clamp(event->pos().y(), 0, m_rect.height());
    if (m_current < kAreaCount) {
        m_drawing[m_current] = 1;
        m_end[m_current] = QPoint(x, y);
        takeDragRect(m_current); // the area follows the pointer even before the next paint
    }
    update();
}

void PlayWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (m_current < kAreaCount && m_drawing[m_current] == 1)
        m_drawing[m_current] = 0;
    update();
}

void PlayWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    QPen pen(QColor(255, 0, 0, 255), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    painter.setPen(pen);
    const QRect* areas = normalizeAreas();
    for (int i = 0; i < kAreaCount; ++i)
        painter.drawRect(areas[i].left(), areas[i].top(), areas[i].width(), areas[i].height());
    painter.end();
}
