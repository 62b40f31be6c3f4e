// Motion area grid: a 507 x 300 frame of 18 rows by 22 cells; dragging with the left button
// selects the block from the press cell to the cell under the pointer. Hit-testing uses whole
// 23 x 16 cells (506 x 288 pixels); drawing spreads the cells over the whole frame. Loads from and saves
// to the 18 row words of the alarm record (bit c of word r = cell (r, c)).
#pragma once

#include <QFrame>
#include <QRect>

#include <array>
#include <cstdint>

namespace OZM {
struct _SC_ALARM_DATA_;
}

class AreaWndWidget : public QFrame {
    Q_OBJECT

public:
    static constexpr int kRows = 18;
    static constexpr int kColumns = 22;
    static constexpr int kWidth = 507;
    static constexpr int kHeight = 300;

    explicit AreaWndWidget(QWidget* parent = nullptr);
    ~AreaWndWidget() override;

    void clearAll();
    void selectAll();
    void setAllCells(std::uint8_t value);
    void resetArea();
    void drawCells();

    bool cell(int row, int column) const { return m_grid[row][column] != 0; }
    int selectedCount() const;
    bool isDragging() const { return m_dragging; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend void AreaMaskToGrid(AreaWndWidget* widget, const OZM::_SC_ALARM_DATA_* info);
    friend void AreaGridToMask(const AreaWndWidget* widget, OZM::_SC_ALARM_DATA_* info);

    QRect m_area;
    bool m_dragging = false;
    std::array<std::array<std::uint8_t, kColumns>, kRows> m_grid{};
    int m_width = -1;
    int m_height = -1;
    int m_pressX = -1;
    int m_pressY = -1;
    int m_moveX = -1;
    int m_moveY = -1;
    int m_cellWidth = -1;
    int m_cellHeight = -1;
};

// Grid from the record's row words 0..17 (bits above 21 ignored); repaints. Null: nothing.
void AreaMaskToGrid(AreaWndWidget* widget, const OZM::_SC_ALARM_DATA_* info);
// Row words 0..17 of the record from the grid; other fields untouched. Null: nothing.
void AreaGridToMask(const AreaWndWidget* widget, OZM::_SC_ALARM_DATA_* info);
