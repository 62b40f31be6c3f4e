#include "harness/TestDir.h"

#include "winport/CrashDump.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Case {
    const char* how;
    int signal;
    const char* name;
    const char* code; // si_code as the dump shows it; nullptr: not checked
};

class CrashDump : public ::testing::TestWithParam<Case> {};

// Runs crash_child (next to this test) and returns its raw wait status.
int runChild(const QString& folder, const char* how) {
    const QByteArray exe = QFile::encodeName(QDir::currentPath() + "/crash_child");
    const QByteArray dir = QFile::encodeName(folder);
    const pid_t pid = fork();
    if (pid == 0) {
        execl(exe.constData(), exe.constData(), dir.constData(), how, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

TEST_P(CrashDump, ChildDiesWithTheSignalAndLeavesANamedDump) {
    const Case c = GetParam();
    harness::TestDir dir;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const int status = runChild(dir.path(), c.how);
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), c.signal);

    const QStringList dumps = QDir(dir.path()).entryList({"*.dmp"}, QDir::Files);
    ASSERT_EQ(dumps.size(), 1) << dumps.join(",").toStdString();
    const QRegularExpression pattern("^Corvane_1\\.0\\.0_(\\d{4}_\\d{2}_\\d{2}_\\d{2}_\\d{2}_\\d{2})\\.dmp$");
    const auto match = pattern.match(dumps.first());
    ASSERT_TRUE(match.hasMatch()) << dumps.first().toStdString();
    const QDateTime stamp = QDateTime::fromString(match.captured(1), "yyyy_MM_dd_HH_mm_ss");
    EXPECT_TRUE(stamp >= before.addMSecs(-before.time().msec()) && stamp <= after)
        << "local time expected: " << match.captured(1).toStdString();

    QFile file(dir.file(dumps.first()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(content.contains(QString("signal: %1 (%2)").arg(c.signal).arg(c.name)))
        << content.toStdString();
    if (c.code) {
        EXPECT_TRUE(content.contains(QString("\ncode: %1\n").arg(c.code))) << content.toStdString();
    }
    EXPECT_TRUE(content.contains("backtrace:"));
    EXPECT_GT(content.count('\n'), 8) << "a backtrace of several frames";
}

INSTANTIATE_TEST_SUITE_P(Signals, CrashDump,
                         ::testing::Values(Case{"segv", SIGSEGV, "SIGSEGV", "1"},
                                           Case{"bus", SIGBUS, "SIGBUS", "-6"},
                                           Case{"fpe", SIGFPE, "SIGFPE", "-6"},
                                           Case{"ill", SIGILL, "SIGILL", nullptr},
                                           Case{"abort", SIGABRT, "SIGABRT", "-6"}),
                         [](const auto& info) { return std::string(info.param.how); });

// Links planted at every name the dump may take in the next seconds, each to a victim: the dump
// follows none of them and goes to a new file of its own.
TEST(CrashDumpName, NeverFollowsALinkPlantedAtItsName) {
    harness::TestDir dir;
    const QString victim = dir.file("victim");
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("victim");
    }
    const QDateTime now = QDateTime::currentDateTime();
    for (int s = -2; s <= 8; ++s) {
        const QString stamp = now.addSecs(s).toString("yyyy_MM_dd_HH_mm_ss");
        ASSERT_TRUE(QFile::link(victim, dir.file("Corvane_1.0.0_" + stamp + ".dmp")));
    }
    const int status = runChild(dir.path(), "abort");
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    QFile f(victim);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("victim"));
    const QFileInfoList dumps = QDir(dir.path()).entryInfoList({"*.dmp"}, QDir::Files | QDir::System);
    QStringList own;
    for (const QFileInfo& dump : dumps) {
        if (!dump.isSymLink())
            own << dump.fileName();
    }
    ASSERT_EQ(own.size(), 1) << own.join(",").toStdString();
    EXPECT_TRUE(QRegularExpression("^Corvane_1\\.0\\.0_\\d{4}(_\\d{2}){5}_1\\.dmp$").match(own[0]).hasMatch())
        << own[0].toStdString();
    QFile dump(dir.file(own[0]));
    ASSERT_TRUE(dump.open(QIODevice::ReadOnly));
    EXPECT_TRUE(dump.readAll().contains("signal: 6 (SIGABRT)"));
}

TEST(CrashDumpTime, FormatsLikeTheCalendar) {
    char out[24];
    for (qint64 t :
         {0LL, 951782400LL /* 2000-02-29 */, 1715938205LL, 4102444799LL /* 2099-12-31 23:59:59 */}) {
        for (int offset : {0, 8 * 3600, -5 * 3600 - 1800}) {
            ASSERT_EQ(winport::formatDumpTime(t, offset, out), 19);
            const QString expected =
                QDateTime::fromSecsSinceEpoch(t + offset, Qt::UTC).toString("yyyy_MM_dd_HH_mm_ss");
            EXPECT_EQ(QString::fromLatin1(out), expected) << t << " " << offset;
        }
    }
}

TEST(CrashDumpInstall, RefusesAFolderTooLongForTheName) {
    EXPECT_FALSE(winport::installCrashDump(std::string(600, 'x')));
    EXPECT_FALSE(winport::programFolder().empty());
}

} // namespace
