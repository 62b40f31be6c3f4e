// End-to-end starts of the corvane executable: single instance, crash dump, failed start.
#include "harness/QtApp.h"
#include "harness/TestDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString binDir() {
    const QByteArray env = qgetenv("CORVANE_BIN_DIR");
    return env.isEmpty() ? QDir::currentPath() + "/../../bin" : QFile::decodeName(env);
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override { harness::qtApp(); }

    // A corvane process in the program folder (which holds the skin), with this test's folders.
    std::unique_ptr<QProcess> start(const QProcessEnvironment& extra = {}) {
        auto proc = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        // Sanitizer builds: these runs check exits, not leaks (Qt's platform plugins leak at exit).
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        for (const QString& key : extra.keys()) {
            env.insert(key, extra.value(key));
        }
        proc->setProcessEnvironment(env);
        proc->setWorkingDirectory(binDir());
        proc->start(binDir() + "/corvane", QStringList());
        EXPECT_TRUE(proc->waitForStarted(10000));
        return proc;
    }

    // The exit code of a normal end within 20 s; -1 after a crash or without an end.
    static int exitCode(QProcess& proc) {
        return proc.waitForFinished(20000) && proc.exitStatus() == QProcess::NormalExit ? proc.exitCode()
                                                                                        : -1;
    }

    QString log() const {
        QFile file(dir.logDir() + "/Corvane.log");
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    bool waitForLog(const QString& text, int count = 1, int timeoutMs = 20000) const {
        return harness::waitFor([&] { return log().count(text) >= count; }, timeoutMs);
    }

    harness::TestDir dir; // sets the environment the children inherit
};

TEST_F(Startup, SecondStartIsRefusedAndAStartAfterKill9Succeeds) {
    auto first = start();
    ASSERT_TRUE(waitForLog("main window shown")) << log().toStdString();

    QProcessEnvironment printing;
    printing.insert("CORVANE_PRINT_NOTICES", "1");
    auto second = start(printing);
    EXPECT_EQ(exitCode(*second), 0);
    EXPECT_EQ(QString::fromUtf8(second->readAllStandardOutput()).trimmed(), "Hint: The program is running!");
    EXPECT_EQ(first->state(), QProcess::Running) << "the first instance is undisturbed";
    EXPECT_EQ(log().count("main window shown"), 1);

    ::kill(static_cast<pid_t>(first->processId()), SIGKILL);
    ASSERT_TRUE(first->waitForFinished(10000));

    QProcessEnvironment quick;
    quick.insert("CORVANE_EXIT_AFTER_FIRST_PAINT", "1");
    auto third = start(quick);
    EXPECT_EQ(exitCode(*third), 0);
    EXPECT_TRUE(QString::fromUtf8(third->readAllStandardOutput()).contains("first-paint-ms:"));
    EXPECT_EQ(log().count("main window shown"), 2) << log().toStdString();
    EXPECT_TRUE(log().contains("Exit Corvane (0)"));
}

TEST_F(Startup, FrameworkStartFailureExitsNonZeroWithALogLine) {
    QFile blocker(dir.file("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QProcessEnvironment bad;
    bad.insert("CORVANE_CONFIG_DIR", dir.file("blocker/config"));
    auto proc = start(bad);
    EXPECT_GT(exitCode(*proc), 0);
    const QString text = log();
    EXPECT_TRUE(text.contains("Start Corvane"));
    EXPECT_TRUE(text.contains("[300] main: the client framework failed to start")) << text.toStdString();
    EXPECT_FALSE(text.contains("main window shown"));
}

// A lock path that is not a plain file of this user: the start is refused with a log line and
// the operator is told why.
TEST_F(Startup, UnusableLockFileRefusesTheStartAndTellsTheOperator) {
    const QString lock = QFile::decodeName(qgetenv("XDG_RUNTIME_DIR")) + "/Corvane.lock";
    ASSERT_TRUE(QDir().mkpath(lock)); // a folder where the lock file belongs
    QProcessEnvironment printing;
    printing.insert("CORVANE_PRINT_NOTICES", "1");
    auto proc = start(printing);
    EXPECT_GT(exitCode(*proc), 0);
    const QString err = QString::fromUtf8(proc->readAllStandardError());
    EXPECT_TRUE(err.contains("Hint: The program cannot start: the lock file " + lock + " cannot be used."))
        << err.toStdString();
    EXPECT_TRUE(log().contains("the single-instance guard cannot be made"));
    EXPECT_FALSE(log().contains("main window shown"));
    QDir().rmdir(lock);

    // Without a runtime folder the lock file lives in the shared temp folder, where another user
    // may have made it: it is refused and keeps its content (no pid of ours in it).
    if (::geteuid() != 0)
        GTEST_SKIP() << "handing the lock file to another user needs root";
    const QString shared = dir.file("shared");
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
    const QString foreign = shared + "/Corvane-" + QString::number(::getuid()) + ".lock";
    {
        QFile file(foreign);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("theirs\n");
    }
    ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
    QProcessEnvironment sharedTemp = printing;
    sharedTemp.insert("XDG_RUNTIME_DIR", "");
    sharedTemp.insert("TMPDIR", shared);
    auto other = start(sharedTemp);
    EXPECT_GT(exitCode(*other), 0);
    const QString otherErr = QString::fromUtf8(other->readAllStandardError());
    EXPECT_TRUE(
        otherErr.contains("Hint: The program cannot start: the lock file " + foreign + " cannot be used."))
        << otherErr.toStdString();
    QFile file(foreign);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("theirs\n"));
    EXPECT_FALSE(log().contains("main window shown"));
}

// Without a usable log folder there is neither log nor crash dump: the start says so once on
// stderr and goes on.
TEST_F(Startup, MissingLogFolderIsToldOnStderrOnce) {
    const QString missing = dir.file("no/such/folder");
    QProcessEnvironment env;
    env.insert("CORVANE_LOG_DIR", missing);
    env.insert("CORVANE_EXIT_AFTER_FIRST_PAINT", "1");
    auto proc = start(env);
    EXPECT_EQ(exitCode(*proc), 0);
    const QString err = QString::fromUtf8(proc->readAllStandardError());
    EXPECT_EQ(err.count("Corvane: cannot write the log " + missing + "/Corvane.log"), 1) << err.toStdString();
    EXPECT_EQ(err.count("Corvane: cannot create files in " + missing), 1) << err.toStdString();
    EXPECT_FALSE(QDir(missing).exists());

    // A usable folder gives no such line.
    env.insert("CORVANE_LOG_DIR", dir.logDir());
    auto fine = start(env);
    ASSERT_TRUE(fine->waitForFinished(20000));
    EXPECT_FALSE(QString::fromUtf8(fine->readAllStandardError()).contains("Corvane: cannot"));
}

// A normal start and search prints nothing on standard output; the traces are debug output,
// shown on stderr only when the logging rules ask for them.
TEST_F(Startup, StartAndSearchPrintNothingUnlessTracesAreAsked) {
    QProcessEnvironment asked;
    asked.insert("CORVANE_SEARCH_AFTER_START", "1");
    asked.insert("QT_LOGGING_RULES", "default.debug=true");
    auto tracing = start(asked);
    ASSERT_TRUE(waitForLog("search ended")) << "waited for the search to end: " << log().toStdString();
    // The fixture's event callback writes "6" for a lost connection (the fixture port is closed).
    QByteArray err;
    EXPECT_TRUE(harness::waitFor(
        [&] {
            err += tracing->readAllStandardError();
            return err.split('\n').contains("6");
        },
        10000))
        << "waited for the fixture callback's trace on stderr: " << err.toStdString();
    tracing->kill();
    ASSERT_TRUE(tracing->waitForFinished(10000));
    EXPECT_TRUE(tracing->readAllStandardOutput().isEmpty()) << "the traces are not on standard output";

    QFile::remove(dir.logDir() + "/Corvane.log");
    QProcessEnvironment quiet;
    quiet.insert("CORVANE_SEARCH_AFTER_START", "1");
    auto normal = start(quiet);
    ASSERT_TRUE(waitForLog("search ended")) << "waited for the search to end: " << log().toStdString();
    // The logins and the fixture's reconnects go on after the search: watch them for a while.
    QElapsedTimer watch;
    watch.start();
    while (watch.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    normal->kill();
    ASSERT_TRUE(normal->waitForFinished(10000));
    const QByteArray out = normal->readAllStandardOutput();
    EXPECT_TRUE(out.isEmpty()) << out.toStdString();
    EXPECT_FALSE(normal->readAllStandardError().split('\n').contains("6"));
}

TEST_F(Startup, CrashAfterStartWritesTheDumpAndDiesWithTheSignal) {
    QProcessEnvironment crash;
    crash.insert("CORVANE_CRASH_AFTER_START", "abort");
    auto proc = start(crash);
    ASSERT_TRUE(proc->waitForFinished(20000));
    EXPECT_EQ(proc->exitStatus(), QProcess::CrashExit);
    const QStringList dumps = QDir(dir.logDir()).entryList({"Corvane_1.0.0_*.dmp"}, QDir::Files);
    ASSERT_EQ(dumps.size(), 1);
    EXPECT_TRUE(
        QRegularExpression("^Corvane_1\\.0\\.0_\\d{4}(_\\d{2}){5}\\.dmp$").match(dumps.first()).hasMatch());
    QFile file(dir.logDir() + "/" + dumps.first());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("signal: 6 (SIGABRT)"));

    // The lock died with the process: the next start runs.
    QProcessEnvironment quick;
    quick.insert("CORVANE_EXIT_AFTER_FIRST_PAINT", "1");
    auto next = start(quick);
    EXPECT_EQ(exitCode(*next), 0);
}

} // namespace
