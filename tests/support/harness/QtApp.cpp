#include "harness/QtApp.h"

#include "harness/ModalCloser.h"
#include "harness/Watchdog.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

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
    watchWindows();
    return app;
}

std::string describeWindows() {
    std::string out;
    QWidget* active = QApplication::activeModalWidget();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        out += "      ";
        out += w == active ? "[active modal] " : w->isModal() ? "[modal] " : "";
        out += ModalCloser::describeLine(w).toStdString() + "\n";
    }
    // Dialogs that exist but are hidden: one whose exec() still runs without its window shows here.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() && qobject_cast<QDialog*>(w))
            out += "      [hidden] " + ModalCloser::describeLine(w).toStdString() + "\n";
    }
    return out.empty() ? std::string("      (none)\n") : out;
}

void watchWindows() {
    watchdog::setWindowHooks(&describeWindows, [](std::function<void()> call) {
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, std::move(call), Qt::QueuedConnection);
    });
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs, const char* file, int line) {
    const std::string where =
        QFileInfo(QString::fromUtf8(file)).fileName().toStdString() + ":" + std::to_string(line);
    // Events handled here may open a modal loop that never returns: bounded too.
    const Deadline limit("the condition waited for at " + where + " (" + std::to_string(timeoutMs) + " ms)",
                         timeoutMs + 20000);
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) {
            if (condition())
                return true;
            std::fprintf(stderr, "waitFor at %s: not reached within %d ms; open windows:\n%s", where.c_str(),
                         timeoutMs, describeWindows().c_str());
            return false;
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

namespace {

// Counts the tests that ended: a hold armed in one test never runs in a later one, whose modal
// loop it would stop and whose condition and flag owners are gone.
std::atomic<unsigned> g_testsEnded{0};

class HoldEnder : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { ++g_testsEnded; }
};

unsigned currentTest() {
    static const bool installed = [] {
        ::testing::UnitTest::GetInstance()->listeners().Append(new HoldEnder);
        return true;
    }();
    (void)installed;
    return g_testsEnded.load();
}

// Runs hold at the first turn of an event loop entered after the call (events that a widget's
// show() processes before that loop are passed by), as long as the arming test runs.
void holdInNextLoop(int armedLevel, unsigned test, std::shared_ptr<std::function<void()>> hold) {
    QTimer::singleShot(0, [armedLevel, test, hold] {
        if (g_testsEnded.load() != test) {
            std::fprintf(stderr, "holdGuiThreadUntil: no event loop came before its test ended\n");
            return;
        }
        if (QThread::currentThread()->loopLevel() > armedLevel)
            (*hold)();
        else
            holdInNextLoop(armedLevel, test, hold);
    });
}

} // namespace

void harness::holdGuiThreadUntil(std::function<bool()> condition, bool* held, int limitMs) {
    *held = false;
    auto hold = std::make_shared<std::function<void()>>([condition = std::move(condition), held, limitMs] {
        QElapsedTimer clock;
        clock.start();
        while (!(*held = condition()) && clock.elapsed() < limitMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    });
    holdInNextLoop(QThread::currentThread()->loopLevel(), currentTest(), hold);
}
