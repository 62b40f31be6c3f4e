#include "harness/QtApp.h"

#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

// Leaks of the system's font library, reported at exit by LeakSanitizer in every Qt process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace harness {

QApplication* qtApp() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return existing;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // A test binary started by hand must not reach for the fixture's default network address.
    if (!qEnvironmentVariableIsSet("CORVANE_FIXTURE_HOST")) {
        qputenv("CORVANE_FIXTURE_HOST", "127.0.0.1");
        qputenv("CORVANE_FIXTURE_PORT", "1");
    }
    static int argc = 1;
    static char name[] = "corvane-test";
    static char* argv[] = {name, nullptr};
    // Lives for the whole process: destroying it during static destruction would outlive the
    // widgets' libraries.
    static QApplication* app = new QApplication(argc, argv);
    return app;
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            return condition();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

void QtTest::SetUp() {
    qtApp();
}

void QtTest::TearDown() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) {
            w->close();
        }
    }
    QCoreApplication::processEvents();
}

} // namespace harness
