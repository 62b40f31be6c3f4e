#include "AreaWndWidget.h"

#include "ozmlogic/ParamRecords.h"

#include <QMouseEvent>
#include <QPainter>

AreaWndWidget::AreaWndWidget(QWidget* parent) : QFrame(parent) {
    setFixedSize(kWidth, kHeight);
    m_area = QRect(0, 0, width(), height());
    resetArea();
    m_width = width();
    m_height = height();
    m_cellWidth = m_width / kColumns;
    m_cellHeight = m_height / kRows;
}

AreaWndWidget::~AreaWndWidget() = default;

void AreaWndWidget::clearAll() {
    setAllCells(0);
    update();
}

void AreaWndWidget::selectAll() {
    setAllCells(1);
    m_dragging = false;
    update();
}

void AreaWndWidget::setAllCells(std::uint8_t value) {
    for (auto& row : m_grid)
        row.fill(value);
}

void AreaWndWidget::resetArea() {
    m_dragging = false;
    m_width = m_height = -1;
    m_pressX = m_pressY = -1;
    m_moveX = m_moveY = -1;
    m_cellWidth = m_cellHeight = -1;
    setAllCells(0);
}

int AreaWndWidget::selectedCount() const {
    int count = 0;
    for (const auto& row : m_grid)
        for (std::uint8_t c : row)
            count += c != 0;
    return count;
}

int AreaWndWidget::columnAt(int x) const {
    return x * kColumns / m_width;
}

int AreaWndWidget::rowAt(int y) const {
    return y * kRows / m_height;
}

void AreaWndWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_area.contains(event->pos()))
        return;
    m_pressX = event->pos().x();
    m_pressY = event->pos().y();
    m_dragging = true;
    update();
}

void AreaWndWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) || !m_dragging)
        return;
    m_moveX = event->pos().x();
    m_moveY = event->pos().y();
    // Leaving the grid to the right or bottom ends the drag.
    if (m_moveX >= m_width || m_moveY >= m_height) {
        m_dragging = false;
        update();
        return;
    }
    if (m_moveX < m_pressX || m_moveY < m_pressY)
        return; // above or left of the press: nothing selected, the drag goes on
    const int firstRow = rowAt(m_pressY);
    const int firstColumn = columnAt(m_pressX);
    const int lastRow = rowAt(m_moveY);
    const int lastColumn = columnAt(m_moveX);
    for (int r = firstRow; r <= lastRow && r < kRows; ++r)
        for (int c = firstColumn; c <= lastColumn && c < kColumns; ++c)
            m_grid[r][c] = 1;
    update();
}

void AreaWndWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    update();
}

void AreaWndWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    drawCells();
}

void AreaWndWidget::drawCells() {
    QPainter painter(this);
    painter.setPen(QPen(QColor(255, 0, 0, 255), 1, Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    const int w = width();
    const int h = height();
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            if (m_grid[r][c] == 0)
                continue;
            painter.drawRect(c * w / kColumns, r * h / kRows, w / kColumns + 1, h / kRows + 1);
        }
    }
}

void AreaMaskToGrid(AreaWndWidget* widget, const OZM::_SC_ALARM_DATA_* info) {
    if (widget == nullptr || info == nullptr)
        return;
    for (int r = 0; r < AreaWndWidget::kRows; ++r)
        for (int c = 0; c < AreaWndWidget::kColumns; ++c)
            widget->m_grid[r][c] = (info->area[r] >> c) & 1u;
    widget->update();
}

void AreaGridToMask(const AreaWndWidget* widget, OZM::_SC_ALARM_DATA_* info) {
    if (widget == nullptr || info == nullptr)
        return;
    for (int r = 0; r < AreaWndWidget::kRows; ++r) {
        std::uint32_t word = 0;
        for (int c = 0; c < AreaWndWidget::kColumns; ++c)
            if (widget->m_grid[r][c] != 0)
                word |= 1u << c;
        info->area[r] = word;
    }
}
