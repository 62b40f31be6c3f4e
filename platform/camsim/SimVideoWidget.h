// The generated test picture of a simulated stream: colour bars, the camera's address, the
// stream number and a frame counter. A child of the window the system handed over, covering
// it and letting every mouse event through.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

class SimVideoWidget : public QWidget {
public:
    // Frames per second of the test picture, in real time (video is not time-scaled).
    static constexpr int kFramesPerSecond = 30;

    SimVideoWidget(QWidget* target, const QString& address, int streamNo);
    quint64 frame() const { return m_frame; }
    // Frames actually drawn.
    quint64 paintedFrames() const { return m_painted; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_address;
    int m_streamNo;
    quint64 m_frame = 0;
    quint64 m_painted = 0;
    QTimer m_timer;
};
