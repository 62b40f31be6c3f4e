// Shared helpers of the page widget tests: a store in a temporary folder for the whole
// process (the store is one per process), record helpers and mouse helpers.
#pragma once

#include "harness/QtApp.h"

#include <QPoint>
#include <QTest>
#include <QWidget>

#include <cstring>
#include <vector>

namespace pwtest {

template <typename T> T zeroed() {
    T record;
    std::memset(&record, 0, sizeof record);
    return record;
}

template <typename T> bool sameBytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// Mouse events sent straight to the widget (QTest takes the point (0, 0) for the centre).
inline void mouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                  Qt::MouseButtons held) {
    QMouseEvent event(type, pos, button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}
inline void press(QWidget* widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    mouse(widget, QEvent::MouseButtonPress, pos, button, button);
}
inline void moveTo(QWidget* widget, QPoint pos, Qt::MouseButtons held = Qt::LeftButton) {
    mouse(widget, QEvent::MouseMove, pos, Qt::NoButton, held);
}
inline void release(QWidget* widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    mouse(widget, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

// A left-button drag: press at from, moves through the points, release at the last one.
inline void drag(QWidget* widget, QPoint from, const std::vector<QPoint>& moves, bool release = true) {
    press(widget, from);
    QPoint last = from;
    for (const QPoint& p : moves) {
        moveTo(widget, p);
        last = p;
    }
    if (release)
        pwtest::release(widget, last);
}

class PageTest : public harness::QtTest {};

} // namespace pwtest
