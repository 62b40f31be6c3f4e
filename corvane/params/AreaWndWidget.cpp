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
    // Hit-testing uses whole cells of 23 x 16 pixels, so the hit grid covers 506 x 288 pixels.
    // The block runs from the press cell up to the cell that the pointer has entered; C++
    // division truncates toward zero, and only a positive remainder adds the entered cell.
    const int firstRow = m_pressY / m_cellHeight;
    const int firstColumn = m_pressX / m_cellWidth;
    const int endRow = m_moveY / m_cellHeight + (m_moveY % m_cellHeight > 0 ? 1 : 0);
    const int endColumn = m_moveX / m_cellWidth + (m_moveX % m_cellWidth > 0 ? 1 : 0);
    if (endRow <= kRows && endColumn <= kColumns && firstRow <= kRows && firstColumn <= kColumns) {
        // Above or left of the press the block is empty: nothing selected, the drag goes on.
        for (int r = firstRow; r < endRow; ++r)
            for (int c = firstColumn; c < endColumn; ++c)
                m_grid[r][c] = 1;
    } else {
        // Beyond the hit grid the drag ends; later moves select nothing until the next press.
        m_dragging = false;
    }
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
