#include "tarsel/SwitchControl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

SwitchControl::SwitchControl(int width, int height, QWidget* parent)
    : QWidget(parent), _trackWidth(std::max(width, 8)), _trackHeight(std::max(height, 4)) {
    setFixedSize(_trackWidth, _trackHeight);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void SwitchControl::setToggle(bool checked) {
    if (_checked == checked)
        return;
    _checked = checked;
    update();
}

QSize SwitchControl::sizeHint() const {
    return QSize(_trackWidth, _trackHeight);
}

QSize SwitchControl::minimumSizeHint() const {
    return sizeHint();
}

void SwitchControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track(0.5, 0.5, _trackWidth - 1.0, _trackHeight - 1.0);
    const qreal radius = track.height() / 2.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(isEnabled() ? (_checked ? QColor("#2F7CF6") : QColor("#BFBFBF")) : QColor("#E0E0E0"));
    painter.drawRoundedRect(track, radius, radius);
    if (hasFocus()) {
        // Keyboard focus: an amber ring on the track.
        painter.setPen(QPen(QColor("#F2A900"), 2.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
        painter.setPen(Qt::NoPen);
    }

    const qreal margin = 2.0;
    const qreal knob = track.height() - 2 * margin;
    const qreal x = _checked ? track.right() - margin - knob : track.left() + margin;
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(x, track.top() + margin, knob, knob));
}

void SwitchControl::toggleByOperator() {
    _checked = !_checked;
    update();
    emit toggled(_checked);
}

void SwitchControl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        toggleByOperator();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SwitchControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        _pressed = true;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void SwitchControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && _pressed) {
        _pressed = false;
        if (rect().contains(event->pos()))
            toggleByOperator();
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
