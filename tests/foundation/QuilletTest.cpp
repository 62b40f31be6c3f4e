#include "quillet/Quillet.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

QStringList readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray all = f.readAll();
    if (!all.isEmpty()) {
        EXPECT_EQ('\n', all.back()) << "file does not end with a whole line: " << path.toStdString();
    }
    QStringList lines = QString::fromUtf8(all).split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

const QRegularExpression kLine(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[(\d+)\] ([A-Za-z:]+): (.*)$)");

class QuilletTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(_dir.isValid());
        _path = _dir.filePath("Corvane.log");
    }
    void TearDown() override {
        Qx_Close_Log();
        Qx_Set_Log_Level(600);
        Qx_Set_Log_Hook(nullptr, nullptr);
    }
    QTemporaryDir _dir;
    QString _path;
};

} // namespace

TEST_F(QuilletTest, LineCarriesTimeLevelFunctionAndMessage) {
    ASSERT_EQ(1, Qx_Set_Log_File(_path.toUtf8().constData(), 0x500000, 20, nullptr));
    EXPECT_EQ(1, Qx_Write_Log(600, "main", "Start %s %d", "Corvane", 7));
    EXPECT_EQ(1, Qx_Write_Log(300, "DeviceManager::login", "[Line:%d] failed\n", 42));
    const QStringList lines = readLines(_path);
    ASSERT_EQ(2, lines.size());
    const auto first = kLine.match(lines[0]);
    ASSERT_TRUE(first.hasMatch()) << lines[0].toStdString();
    EXPECT_EQ("600", first.captured(1));
    EXPECT_EQ("main", first.captured(2));
    EXPECT_EQ("Start Corvane 7", first.captured(3));
    const auto second = kLine.match(lines[1]);
    ASSERT_TRUE(second.hasMatch()) << lines[1].toStdString();
    EXPECT_EQ("DeviceManager::login", second.captured(2));
    EXPECT_EQ("[Line:42] failed", second.captured(3)); // trailing newline of the message dropped
}

TEST_F(QuilletTest, LevelFilterDropsLinesAboveTheLevel) {
    ASSERT_EQ(1, Qx_Set_Log_File(_path.toUtf8().constData(), 0x500000, 20, nullptr));
    std::vector<std::string> hooked;
    Qx_Set_Log_Hook([](int, const char* line,
                       void* user) { static_cast<std::vector<std::string>*>(user)->push_back(line); },
                    &hooked);
    Qx_Set_Log_Level(300);
    EXPECT_EQ(0, Qx_Write_Log(600, "A::b", "info dropped"));
    EXPECT_EQ(1, Qx_Write_Log(300, "A::b", "error kept"));
    EXPECT_EQ(1, Qx_Write_Log(100, "A::b", "fatal kept"));
    Qx_Set_Log_Level(600);
    EXPECT_EQ(1, Qx_Write_Log(600, "A::b", "info kept"));
    EXPECT_EQ(0, Qx_Write_Log(700, "A::b", "debug dropped"));

    const QStringList lines = readLines(_path);
    ASSERT_EQ(3, lines.size());
    EXPECT_TRUE(lines[0].endsWith("error kept"));
    EXPECT_TRUE(lines[1].endsWith("fatal kept"));
    EXPECT_TRUE(lines[2].endsWith("info kept"));
    ASSERT_EQ(3u, hooked.size());
    EXPECT_EQ(lines[2].toStdString(), hooked[2]);
}

TEST_F(QuilletTest, RotationAtTheSizeLimitKeepsExactlyTwentyFiles) {
    const unsigned int limit = 2000;
    ASSERT_EQ(1, Qx_Set_Log_File(_path.toUtf8().constData(), limit, 20, nullptr));
    const int total = 1500; // about 75 files' worth
    for (int i = 0; i < total; ++i)
        Qx_Write_Log(600, "Rotation::test", "line %06d %s", i,
                     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");
    Qx_Close_Log();

    QStringList files = QDir(_dir.path()).entryList(QDir::Files);
    EXPECT_EQ(20, files.size()) << files.join(' ').toStdString();
    EXPECT_TRUE(QFile::exists(_path));
    for (int i = 1; i <= 19; ++i)
        EXPECT_TRUE(QFile::exists(_path + "." + QString::number(i))) << i;
    EXPECT_FALSE(QFile::exists(_path + ".20"));

    // Each file stays within the limit; together, newest last, they hold the latest lines in order.
    int expected = -1;
    for (int i = 19; i >= 0; --i) {
        const QString name = i == 0 ? _path : _path + "." + QString::number(i);
        EXPECT_LE(QFileInfo(name).size(), static_cast<qint64>(limit)) << name.toStdString();
        for (const QString& line : readLines(name)) {
            const int n = line.section(' ', 5, 5).toInt();
            if (expected >= 0) {
                EXPECT_EQ(expected, n) << name.toStdString();
            }
            expected = n + 1;
        }
    }
    EXPECT_EQ(total, expected);
}

TEST_F(QuilletTest, RotationAtTheProgramsLimitKeepsEveryFileWithinIt) {
    ASSERT_EQ(1, Qx_Set_Log_File(_path.toUtf8().constData(), 0x500000, 20, nullptr));
    const std::string payload(1000, 'p');
    qint64 written = 0;
    int count = 0;
    while (written < 0x500000 + 5000) {
        Qx_Write_Log(600, "Big::test", "%s", payload.c_str());
        written += 1000 + 40;
        ++count;
    }
    Qx_Close_Log();
    EXPECT_TRUE(QFile::exists(_path + ".1"));
    EXPECT_FALSE(QFile::exists(_path + ".2"));
    EXPECT_LE(QFileInfo(_path + ".1").size(), 0x500000);
    EXPECT_GT(QFileInfo(_path + ".1").size(), 0x500000 - 1100); // rotated only when the next line did not fit
    EXPECT_EQ(count, readLines(_path + ".1").size() + readLines(_path).size());
}

TEST_F(QuilletTest, ConcurrentWritersProduceWholeLines) {
    ASSERT_EQ(1, Qx_Set_Log_File(_path.toUtf8().constData(), 0x500000, 20, nullptr));
    const int threads = 8;
    const int perThread = 400;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([t] {
            for (int i = 0; i < perThread; ++i)
                Qx_Write_Log(600, "Worker::run", "thread %d line %d %s", t, i, "abcdefghijklmnopqrstuvwxyz");
        });
    }
    for (auto& w : workers)
        w.join();
    Qx_Close_Log();

    const QStringList lines = readLines(_path);
    ASSERT_EQ(threads * perThread, lines.size());
    std::set<std::pair<int, int>> seen;
    const QRegularExpression body(R"(^thread (\d+) line (\d+) abcdefghijklmnopqrstuvwxyz$)");
    for (const QString& line : lines) {
        const auto m = kLine.match(line);
        ASSERT_TRUE(m.hasMatch()) << line.toStdString();
        const auto b = body.match(m.captured(3));
        ASSERT_TRUE(b.hasMatch()) << line.toStdString();
        seen.insert({b.captured(1).toInt(), b.captured(2).toInt()});
    }
    EXPECT_EQ(static_cast<std::size_t>(threads * perThread), seen.size());
}

TEST_F(QuilletTest, UnopenableFileFailsAndLinesStillReachTheHook) {
    const QString bad = _dir.filePath("missing/dir/x.log");
    EXPECT_EQ(0, Qx_Set_Log_File(bad.toUtf8().constData(), 0x500000, 20, nullptr));
    EXPECT_EQ(0, Qx_Set_Log_File(nullptr, 0x500000, 20, nullptr));
    int hooked = 0;
    Qx_Set_Log_Hook([](int, const char*, void* user) { ++*static_cast<int*>(user); }, &hooked);
    EXPECT_EQ(1, Qx_Write_Log(300, "A::b", "no file"));
    EXPECT_EQ(1, hooked);
}

// A peer's text with line feeds or other control bytes stays on its one line; UTF-8 passes.
TEST_F(QuilletTest, ControlCharactersInAMessageCannotForgeLines) {
    ASSERT_EQ(1, Qx_Set_Log_File(_path.toUtf8().constData(), 0x500000, 20, nullptr));
    const struct {
        const char* payload;
        const char* shown;
    } cases[] = {
        {"ok\n2024-01-01 00:00:00.000 [300] main: forged",
         "ok\\x0a2024-01-01 00:00:00.000 [300] main: forged"},
        {"a\rb\tc\x1b[2Jd\x7f", "a\\x0db\\x09c\\x1b[2Jd\\x7f"},
        {"\xe4\xb8\xad\xe6\x96\x87", "\xe4\xb8\xad\xe6\x96\x87"},
    };
    for (const auto& c : cases)
        Qx_Write_Log(600, "CLoginAccess::ProcessCMD", "pRecvbuf:%s, nRecvLen:%d", c.payload, 3);
    const QStringList lines = readLines(_path);
    ASSERT_EQ(3, lines.size());
    for (int i = 0; i < 3; ++i) {
        const auto m = kLine.match(lines[i]);
        ASSERT_TRUE(m.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(QString::fromUtf8("pRecvbuf:%1, nRecvLen:3").arg(QString::fromUtf8(cases[i].shown)),
                  m.captured(3));
    }
}

// When the current file cannot be moved aside the cap still holds: the file is emptied at its
// limit, and that is said once on stderr.
TEST_F(QuilletTest, RotationThatCannotRenameKeepsTheCap) {
    const unsigned int limit = 4000;
    struct Case {
        const char* name;
        std::function<bool(const QString& folder)> block; // false: not possible here
    };
    const Case cases[] = {
        {"rotated names taken by folders",
         [](const QString& folder) {
             for (const char* taken : {"/Corvane.log.1/x", "/Corvane.log.2/x"})
                 if (!QDir().mkpath(folder + taken))
                     return false;
             return true;
         }},
        {"folder refuses renames",
         [](const QString& folder) {
             // Root renames anyway.
             return ::geteuid() != 0 && ::chmod(QFile::encodeName(folder).constData(), 0555) == 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath("Corvane.log");
        ASSERT_EQ(1, Qx_Set_Log_File(path.toUtf8().constData(), limit, 3, nullptr));
        if (!c.block(dir.path())) {
            Qx_Close_Log();
            continue;
        }
        ::testing::internal::CaptureStderr();
        for (int i = 0; i < 500; ++i)
            Qx_Write_Log(600, "Rotation::test", "line %06d %s", i, std::string(60, 'x').c_str());
        const std::string err = ::testing::internal::GetCapturedStderr();
        Qx_Close_Log();
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        EXPECT_LE(QFileInfo(path).size(), static_cast<qint64>(limit));
        const QStringList lines = readLines(path);
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.last().contains("line 000499")) << "the latest lines are kept";
        EXPECT_EQ(1, QString::fromStdString(err).count("cannot rotate")) << err;
    }
}
