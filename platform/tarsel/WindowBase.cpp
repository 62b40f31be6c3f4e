#include "tarsel/WindowBase.h"

#include <QMouseEvent>

namespace {
constexpr int kBorder = 5;
}

WindowBase::WindowBase(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_Hover, true);
    setMouseTracking(true);
}

WindowBase::~WindowBase() = default;

void WindowBase::enableMySizing(bool enable) {
    m_sizing = enable;
    if (!enable) {
        unsetCursor();
    }
}

void WindowBase::myShowMin() {
    showMinimized();
}

void WindowBase::myShowMin(QWidget* window) {
    if (window) {
        window->showMinimized();
    }
}

void WindowBase::myDragMove(const QPoint& topLeft) {
    myDragMove(this, topLeft);
}

void WindowBase::myDragMove(QWidget* window, const QPoint& topLeft) {
    if (window && !isFullScreen(window)) {
        window->move(topLeft);
    }
}

bool WindowBase::isFullScreen() const {
    return isFullScreen(this);
}

bool WindowBase::isFullScreen(const QWidget* window) {
    return window && (window->windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized));
}

bool WindowBase::canResize() const {
    return m_sizing && !isFullScreen() && minimumSize() != maximumSize();
}

int WindowBase::edgesAt(const QPoint& pos) const {
    int edges = None;
    if (pos.x() < kBorder) {
        edges |= Left;
    } else if (pos.x() >= width() - kBorder) {
        edges |= Right;
    }
    if (pos.y() < kBorder) {
        edges |= Top;
    } else if (pos.y() >= height() - kBorder) {
        edges |= Bottom;
    }
    return edges;
}

void WindowBase::updateCursor(const QPoint& pos) {
    if (!canResize()) {
        return;
    }
    const int edges = edgesAt(pos);
    if (edges == (Left | Top) || edges == (Right | Bottom)) {
        setCursor(Qt::SizeFDiagCursor);
    } else if (edges == (Right | Top) || edges == (Left | Bottom)) {
        setCursor(Qt::SizeBDiagCursor);
    } else if (edges & (Left | Right)) {
        setCursor(Qt::SizeHorCursor);
    } else if (edges & (Top | Bottom)) {
        setCursor(Qt::SizeVerCursor);
    } else {
        unsetCursor();
    }
}

void WindowBase::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressGlobal = event->globalPos();
    m_pressGeometry = geometry();
    m_resizeEdges = canResize() ? edgesAt(event->pos()) : None;
    m_dragging = m_resizeEdges == None && event->pos().y() < m_dragStrip && !isFullScreen();
    m_pressOffset = event->globalPos() - frameGeometry().topLeft();
    event->accept();
}

void WindowBase::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        updateCursor(event->pos());
        QWidget::mouseMoveEvent(event);
        return;
    }
    if (m_resizeEdges != None) {
        const QPoint delta = event->globalPos() - m_pressGlobal;
        QRect g = m_pressGeometry;
        if (m_resizeEdges & Left) {
            g.setLeft(qMin(g.left() + delta.x(), g.right() - minimumWidth()));
        }
        if (m_resizeEdges & Right) {
            g.setRight(g.right() + delta.x());
        }
        if (m_resizeEdges & Top) {
            g.setTop(qMin(g.top() + delta.y(), g.bottom() - minimumHeight()));
        }
        if (m_resizeEdges & Bottom) {
            g.setBottom(g.bottom() + delta.y());
        }
        setGeometry(g);
    } else if (m_dragging) {
        myDragMove(event->globalPos() - m_pressOffset);
    }
    event->accept();
}

void WindowBase::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    m_resizeEdges = None;
    if (event->button() == Qt::LeftButton) {
        event->accept();
    } else {
        QWidget::mouseReleaseEvent(event);
    }
}
