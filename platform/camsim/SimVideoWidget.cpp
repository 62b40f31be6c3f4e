#include "SimVideoWidget.h"

#include <QEvent>
#include <QPainter>

SimVideoWidget::SimVideoWidget(QWidget* target, const QString& address, int streamNo)
    : QWidget(target), m_address(address), m_streamNo(streamNo) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(target->rect());
    target->installEventFilter(this);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1000 / kFramesPerSecond);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        ++m_frame;
        update();
    });
    m_timer.start();
    show();
    raise();
}

bool SimVideoWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}

void SimVideoWidget::paintEvent(QPaintEvent*) {
    static const QColor bars[] = {Qt::white, Qt::yellow, Qt::cyan, Qt::green, Qt::magenta, Qt::red, Qt::blue};
    ++m_painted;
    QPainter painter(this);
    const int n = static_cast<int>(sizeof bars / sizeof bars[0]);
    const int w = width();
    for (int i = 0; i < n; ++i) {
        const int x0 = w * i / n;
        const int x1 = w * (i + 1) / n;
        painter.fillRect(x0, 0, x1 - x0, height(), bars[i]);
    }
    const QRect band(0, height() / 2 - 30, width(), 60);
    painter.fillRect(band, QColor(0, 0, 0, 170));
    painter.setPen(Qt::white);
    painter.drawText(band, Qt::AlignCenter,
                     QStringLiteral("%1\nstream %2  frame %3").arg(m_address).arg(m_streamNo).arg(m_frame));
}
