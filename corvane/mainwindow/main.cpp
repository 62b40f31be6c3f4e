// Corvane's entry: log, client framework, crash dump, single instance, main window, event loop.
#include "MainFrame.h"
#include "MallocArenas.h"
#include "SingleInstanceGuard.h"

#include "ozmlogic/OzmLogic.h"
#include "quillet/Quillet.h"
#include "winport/CrashDump.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <unistd.h>

namespace {

std::int64_t realtimeNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The folder of the log and the crash dumps: CORVANE_LOG_DIR, else the program's folder.
QString outputFolder() {
    const QByteArray env = qgetenv("CORVANE_LOG_DIR");
    return env.isEmpty() ? QCoreApplication::applicationDirPath() : QFile::decodeName(env);
}

// A refused start. CORVANE_PRINT_NOTICES=1 prints it (to out) instead of showing a box, for
// runs without an operator.
void showHint(const QString& text, std::FILE* out) {
    const QString title = QCoreApplication::translate("main", "Hint");
    if (qEnvironmentVariableIntValue("CORVANE_PRINT_NOTICES") == 1) {
        std::fprintf(out, "%s: %s\n", title.toUtf8().constData(), text.toUtf8().constData());
        std::fflush(out);
        return;
    }
    QMessageBox::information(nullptr, title, text, QMessageBox::Ok);
}

// Start-up measurement: CORVANE_EXIT_AFTER_FIRST_PAINT=1 prints the milliseconds from the
// launch (CORVANE_BENCH_T0_NS, realtime nanoseconds, else the start of main) to the window's
// first paint and quits.
class FirstPaintProbe : public QObject {
public:
    explicit FirstPaintProbe(std::int64_t t0) : m_t0(t0) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            std::fprintf(stdout, "first-paint-ms: %.3f\n", static_cast<double>(realtimeNs() - m_t0) / 1e6);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::int64_t m_t0;
    bool m_done = false;
};

// Test hook: CORVANE_CRASH_AFTER_START=abort|segv crashes once the window is up.
void crashOnRequest() {
    const QByteArray how = qgetenv("CORVANE_CRASH_AFTER_START");
    if (how == "abort") {
        std::abort();
    }
    if (how == "segv") {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    std::int64_t t0 = realtimeNs();
    if (const char* env = std::getenv("CORVANE_BENCH_T0_NS")) {
        t0 = std::atoll(env);
    }

    corvane::capMallocArenas();
    QApplication app(argc, argv);
    // Debug traces stay silent unless QT_LOGGING_RULES (which overrides this) asks for them.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));

    const QString folder = outputFolder();
    const QByteArray logPath = QFile::encodeName(folder + "/Corvane.log");
    if (!Qx_Set_Log_File(logPath.constData(), 0x500000, 20, "")) {
        const int error = errno;
        std::fprintf(stderr, "Corvane: cannot write the log %s (%s): no log is kept\n", logPath.constData(),
                     std::strerror(error));
    }
    // Dumps and rotated logs are new files in the folder.
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0) {
        const int error = errno;
        std::fprintf(stderr, "Corvane: cannot create files in %s (%s): no crash dump can be written\n",
                     QFile::encodeName(folder).constData(), std::strerror(error));
    }
    Qx_Set_Log_Level(600);
    Qx_Write_Log(600, "main", "Start Corvane");

    if (!OzmLogic::instance()->init(&app)) {
        Qx_Write_Log(300, "main", "the client framework failed to start");
        std::fprintf(stderr, "Corvane: the client framework failed to start\n");
        return 1;
    }

    if (!winport::installCrashDump(QFile::encodeName(folder).toStdString()))
        Qx_Write_Log(300, "main", "the crash dump handler could not be installed");

    SingleInstanceGuard guard(QStringLiteral("Corvane"));
    switch (guard.acquire()) {
    case SingleInstanceGuard::Result::Acquired:
        break;
    case SingleInstanceGuard::Result::AlreadyRunning:
        Qx_Write_Log(600, "main", "another instance is running");
        showHint(QCoreApplication::translate("main", "The program is running!"), stdout);
        OzmLogic::instance()->unInit();
        return 0;
    case SingleInstanceGuard::Result::Failed:
        Qx_Write_Log(300, "main", "the single-instance guard cannot be made");
        showHint(
            QCoreApplication::translate("main", "The program cannot start: the lock file %1 cannot be used.")
                .arg(QDir::toNativeSeparators(guard.lockPath())),
            stderr);
        OzmLogic::instance()->unInit();
        return 1;
    }

    int result = 0;
    {
        MainFrame frame;
        FirstPaintProbe probe(t0);
        if (qEnvironmentVariableIntValue("CORVANE_EXIT_AFTER_FIRST_PAINT") == 1) {
            frame.installEventFilter(&probe);
        }
        frame.initModules();
        frame.show();
        Qx_Write_Log(600, "main", "main window shown");
        QTimer::singleShot(0, &crashOnRequest);
        // Test hook: CORVANE_SEARCH_AFTER_START=1 presses "Device Search" once the window is up
        // and logs the end of the search.
        if (qEnvironmentVariableIntValue("CORVANE_SEARCH_AFTER_START") == 1) {
            QObject::connect(
                &frame, &MainFrame::searchDevEnd, &frame, [] { Qx_Write_Log(600, "main", "search ended"); },
                Qt::QueuedConnection);
            QTimer::singleShot(0, &frame, &MainFrame::onSearchDevices);
        }
        result = app.exec();
    }
    guard.release();
    Qx_Write_Log(600, "main", "Exit Corvane (%d)", result);
    return result;
}
