// Widget library: frameless top-level window with its own move, resize and minimise.
#pragma once

#include <QPoint>
#include <QWidget>

class WindowBase : public QWidget {
    Q_OBJECT

public:
    explicit WindowBase(QWidget* parent = nullptr);
    ~WindowBase() override;

    // Resizing by dragging the window's edges (a window of fixed size never resizes).
    void enableMySizing(bool enable);
    bool isMySizingEnabled() const { return m_sizing; }

    // Minimises the window.
    void myShowMin();
    static void myShowMin(QWidget* window);

    // Moves the window's top-left corner to topLeft (global coordinates).
    void myDragMove(const QPoint& topLeft);
    static void myDragMove(QWidget* window, const QPoint& topLeft);

    // Whether the window fills its screen (full-screen or maximised): no dragging then.
    bool isFullScreen() const;
    static bool isFullScreen(const QWidget* window);

    // Height of the strip at the top that moves the window when no child takes the press.
    void setDragStripHeight(int height) { m_dragStrip = height; }
    int dragStripHeight() const { return m_dragStrip; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum Edge { None = 0, Left = 1, Right = 2, Top = 4, Bottom = 8 };

    int edgesAt(const QPoint& pos) const;
    bool canResize() const;
    void updateCursor(const QPoint& pos);

    bool m_sizing = false;
    int m_dragStrip = 30;
    bool m_dragging = false;
    QPoint m_pressOffset;
    int m_resizeEdges = None;
    QRect m_pressGeometry;
    QPoint m_pressGlobal;
};
