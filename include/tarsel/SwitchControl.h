// An on/off switch: a rounded track with a sliding knob. A click or Space toggles it and emits
// toggled; it takes keyboard focus and shows it as a ring.
#pragma once

#include <QWidget>

class SwitchControl : public QWidget {
    Q_OBJECT
public:
    // width and height of the track in pixels.
    SwitchControl(int width, int height, QWidget* parent = nullptr);

    bool isToggled() const { return _checked; }
    // Sets the state without emitting toggled.
    void setToggle(bool checked);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void toggled(bool checked);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void toggleByOperator();

    int _trackWidth;
    int _trackHeight;
    bool _checked = false;
    bool _pressed = false;
};
