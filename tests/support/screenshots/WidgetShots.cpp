#include "WidgetShots.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QTranslator>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace widgetshots {

QString outputFolder(int argc, char* argv[], const char* moreUsage) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER%s\n", argv[0], moreUsage);
        std::exit(2);
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(folder);
    const QString code = qEnvironmentVariable("SCREENSHOT_LANG");
    if (!code.isEmpty()) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        const QString path = QDir::current().absoluteFilePath("translations/corvane_" + code + ".qm");
        if (!translator->load(path) || !QCoreApplication::installTranslator(translator)) {
            std::fprintf(stderr, "cannot load %s\n", QFile::encodeName(path).constData());
            std::exit(2);
        }
    }
    return folder;
}

void pump(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

bool savePng(const QPixmap& shot, const QString& path) {
    const bool ok = shot.save(path, "PNG");
    std::printf("%s %s (%dx%d)\n", ok ? "saved" : "FAILED", qPrintable(path), shot.width(), shot.height());
    return ok;
}

bool saveWindow(QWidget* widget, const QString& path, int settleMs, Grab grab) {
    widget->show();
    widget->raise();
    pump(settleMs);
    QPixmap shot;
    if (grab == Grab::Screen) {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            shot = screen->grabWindow(widget->winId());
    }
    if (shot.isNull() || shot.size() != widget->size())
        shot = widget->grab();
    return savePng(shot, path);
}

void drag(QWidget* widget, QPoint from, QPoint to) {
    const struct {
        QEvent::Type type;
        QPoint at;
        Qt::MouseButtons held;
    } steps[] = {{QEvent::MouseButtonPress, from, Qt::LeftButton},
                 {QEvent::MouseMove, to, Qt::LeftButton},
                 {QEvent::MouseButtonRelease, to, Qt::NoButton}};
    for (const auto& step : steps) {
        QMouseEvent event(step.type, step.at, widget->mapToGlobal(step.at),
                          step.type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, step.held,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
        widget->repaint();
    }
}

} // namespace widgetshots
