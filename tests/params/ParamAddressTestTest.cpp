// The TCP/IP page's "Test": strict addresses, the ping run without a shell and judged by its exit
// status, a test that cannot run said so, and the dialog kept responsive while it runs.
#include "ParamDialogTestSupport.h"

#include "winport/WinPort.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

using namespace paramtest;

namespace {

// A folder holding an executable "ping" with the given shell body.
bool writePing(const QString& folder, const QByteArray& body) {
    QDir().mkpath(folder);
    QFile script(folder + "/ping");
    if (!script.open(QIODevice::WriteOnly))
        return false;
    script.write("#!/bin/sh\n" + body + "\n");
    script.close();
    return script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The process's peak resident size in kB, from zero growth on after resetPeak().
long peakKb() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

bool resetPeak() {
    QFile refs("/proc/self/clear_refs");
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

} // namespace

TEST_F(ParamDialogTest, AddressTestJudgesThePingWithoutBlocking) {
    QTemporaryDir tmp;
    const QString simping = qEnvironmentVariable("CORVANE_BIN_DIR") + "/simping";
    ASSERT_TRUE(QFile::exists(simping + "/ping")) << qPrintable(simping);
    const QString argsFile = tmp.filePath("args");
    ASSERT_TRUE(
        writePing(tmp.filePath("recorder"), "printf '%s\\n' \"$@\" > '" + argsFile.toUtf8() + "'\nexit 1"));
    ASSERT_TRUE(writePing(tmp.filePath("hangs"), "exec /bin/sleep 20"));
    ASSERT_TRUE(writePing(tmp.filePath("crashes"), "kill -SEGV $$"));
    // A real ping waits up to its own 1 s: the test's limit never cuts it shorter, however small
    // the time scale (here 0.01, which would make the 30 s limit 0.3 s).
    ASSERT_TRUE(writePing(tmp.filePath("slow"), "/bin/sleep 1\nexit 1"));
    // 64 MB of error output before the unroutable message: read as it streams, never kept, and
    // judged as the short message alone.
    ASSERT_TRUE(writePing(tmp.filePath("floods"),
                          "/usr/bin/head -c 67108864 /dev/zero >&2\n"
                          "echo 'ping: connect: Network is unreachable' >&2\nexit 2"));
    QDir().mkpath(tmp.filePath("none"));

    const QByteArray savedPath = qgetenv("PATH");
    qputenv("CORVANE_SIM_STATE", tmp.filePath("no-fleet.state").toUtf8());
    qputenv("CORVANE_SIM_PING_UP", "127.0.0.50");
    // Answers as the system's ping does for an address outside every route (exit 2), in the
    // messages' language: German unless the test runs it in the C locale.
    qputenv("CORVANE_SIM_PING_UNROUTABLE", "127.0.0.52");
    const QByteArray savedLang = qgetenv("LANG");
    qputenv("LANG", "de_DE.UTF-8");

    const QString notAvailable = "IP Not Available!";
    const QString available = "IP Available!";
    const QString cannotRun = "IP test failed: ping could not run!";
    const QString noEnd = "IP test failed: ping did not end!";
    struct Case {
        const char* address;
        QString pathFolder;
        QString message;
        bool pinged; // the recorder saw the probe
        bool runs;   // a process was started (the result comes later)
    };
    const Case cases[] = {
        {"", tmp.filePath("recorder"), notAvailable, false, false},
        {"127.0.0.256", tmp.filePath("recorder"), notAvailable, false, false},
        {"127.0.1", tmp.filePath("recorder"), notAvailable, false, false},
        {"127.0.0.050", tmp.filePath("recorder"), notAvailable, false, false},
        {"255.255.255.255", tmp.filePath("recorder"), notAvailable, false, false},
        {"127.0.0.1;touch x", tmp.filePath("recorder"), notAvailable, false, false},
        {"127.0.0.51", tmp.filePath("recorder"), available, true, true},
        {"127.0.0.50", simping, notAvailable, false, true},
        {"127.0.0.51", simping, available, false, true},
        {"10.1.2.3", simping, cannotRun, false, true},   // refused by the stand-in, exit 2
        {"127.0.0.52", simping, available, false, true}, // no route: no answer
        {"127.0.0.51", tmp.filePath("crashes"), cannotRun, false, true},
        {"127.0.0.51", tmp.filePath("slow"), available, false, true},
        {"127.0.0.51", tmp.filePath("hangs"), noEnd, false, true},
        {"127.0.0.51", tmp.filePath("floods"), available, false, true},
        {"127.0.0.51", tmp.filePath("none"), cannotRun, false, false},
    };
    auto d = open();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.address) + " with " + c.pathFolder.toStdString());
        QFile::remove(argsFile);
        qputenv("PATH", c.pathFolder.toUtf8());
        A::ip(*d)->setText(c.address);

        harness::ModalCloser closer(harness::ModalCloser::Action::Accept);
        ASSERT_TRUE(resetPeak());
        const long peakBefore = peakKb();
        A::testButton(*d)->click();
        if (c.runs) {
            // The slot has returned with the ping still running and the busy box up.
            EXPECT_TRUE(A::testRunning(*d));
            ASSERT_NE(nullptr, A::testBusy(*d));
            EXPECT_TRUE(A::testBusy(*d)->isVisible());
            EXPECT_FALSE(A::testButton(*d)->isEnabled());
            EXPECT_EQ(0, closer.count());
            A::testButton(*d)->click(); // ignored while a test runs
        }
        EXPECT_TRUE(harness::waitFor([&] { return closer.count() > 0 && !A::testRunning(*d); }, 15000))
            << "waited 15 s for the test's verdict";
        qputenv("PATH", savedPath);
        EXPECT_LT(peakKb() - peakBefore, 16 * 1024) << "the ping's output is not kept";
        ASSERT_EQ(1, closer.count());
        EXPECT_EQ(c.message, closer.seen()[0].labels.last());
        EXPECT_EQ(nullptr, A::testBusy(*d));
        EXPECT_TRUE(A::testButton(*d)->isEnabled());
        EXPECT_EQ(c.pinged, QFile::exists(argsFile));
        if (c.pinged) {
            QFile args(argsFile);
            ASSERT_TRUE(args.open(QIODevice::ReadOnly));
            EXPECT_EQ(QByteArray("-c\n1\n-W\n1\n") + c.address + "\n", args.readAll());
        }
    }
    qunsetenv("CORVANE_SIM_PING_UP");
    qunsetenv("CORVANE_SIM_PING_UNROUTABLE");
    qunsetenv("CORVANE_SIM_STATE");
    if (savedLang.isNull())
        qunsetenv("LANG");
    else
        qputenv("LANG", savedLang);

    // Closing the dialog during a test ends the ping with it at once: it waits neither for the
    // ping (20 s here) nor for the test's 30 s limit, which the full time scale leaves whole.
    const double savedScale = winport::timeScale();
    winport::setTimeScale(1);
    qputenv("PATH", tmp.filePath("hangs").toUtf8());
    A::ip(*d)->setText("127.0.0.51");
    A::testButton(*d)->click();
    qputenv("PATH", savedPath);
    ASSERT_TRUE(A::testRunning(*d));
    QElapsedTimer clock;
    clock.start();
    d->reject();
    d.reset();
    winport::setTimeScale(savedScale);
    EXPECT_LT(clock.elapsed(), 5000) << "the closed dialog waited for its ping";
}
