#include "ozmlogic/ParamsMgr.h"
#include "quillet/Quillet.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>

#include <atomic>
#include <functional>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

using namespace OZM;

namespace {

// Collects log lines of level 300 while alive.
class ErrorLogCapture {
public:
    ErrorLogCapture() { Qx_Set_Log_Hook(&ErrorLogCapture::hook, this); }
    ~ErrorLogCapture() { Qx_Set_Log_Hook(nullptr, nullptr); }
    std::vector<std::string> lines() {
        std::lock_guard<std::mutex> lock(_mutex);
        return _lines;
    }

private:
    static void hook(int level, const char* line, void* user) {
        if (level != 300)
            return;
        auto* self = static_cast<ErrorLogCapture*>(user);
        std::lock_guard<std::mutex> lock(self->_mutex);
        self->_lines.emplace_back(line);
    }
    std::mutex _mutex;
    std::vector<std::string> _lines;
};

template <typename T> T patterned(std::uint32_t seed) {
    T record;
    std::mt19937 gen(seed);
    auto* bytes = reinterpret_cast<unsigned char*>(&record);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<unsigned char>(gen() | 1u); // never zero, so a lost byte shows
    return record;
}

template <typename T> bool allBytes(const T& record, unsigned char value) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    for (std::size_t i = 0; i < sizeof(T); ++i)
        if (bytes[i] != value)
            return false;
    return true;
}

// One record family: its getter and setter.
template <typename T> struct Family {
    void (ParamsMgr::*get)(T*) const;
    bool (ParamsMgr::*set)(const T*);
};

template <typename T> void setPatterned(ParamsMgr& mgr, Family<T> f, std::uint32_t seed) {
    const T stored = patterned<T>(seed);
    EXPECT_TRUE((mgr.*f.set)(&stored)) << typeid(T).name();
}

template <typename T> void expectPatterned(ParamsMgr& mgr, Family<T> f, std::uint32_t seed) {
    const T expected = patterned<T>(seed);
    T loaded;
    std::memset(&loaded, 0, sizeof loaded);
    (mgr.*f.get)(&loaded);
    EXPECT_EQ(0, std::memcmp(&expected, &loaded, sizeof(T))) << typeid(T).name();
}

template <typename T> void expectZeroWhenNeverSet(ParamsMgr& mgr, Family<T> f) {
    T loaded;
    std::memset(&loaded, 0xCD, sizeof loaded);
    (mgr.*f.get)(&loaded);
    EXPECT_TRUE(allBytes(loaded, 0)) << typeid(T).name();
}

// Applies fn to every record family of the store.
template <typename Fn> void forEachFamily(Fn&& fn) {
    fn(Family<_SC_SETIP_DATA_>{&ParamsMgr::getIpInfo, &ParamsMgr::setIpInfo});
    fn(Family<SC_OTHERPARAMENABLE>{&ParamsMgr::getOtherParamEnable, &ParamsMgr::setOtherParamEnable});
    fn(Family<_SC_TCP_IP_DATA>{&ParamsMgr::getTcpIpInfo, &ParamsMgr::setTcpIpInfo});
    fn(Family<_SC_PORT_DATA>{&ParamsMgr::getPortParamInfo, &ParamsMgr::setPortParamInfo});
    fn(Family<_SC_DDNS_DATA>{&ParamsMgr::getDDNSInfo, &ParamsMgr::setDDNSInfo});
    fn(Family<_SC_GB28181_DATA>{&ParamsMgr::getGb28181Info, &ParamsMgr::setGb28181Info});
    fn(Family<_SC_SETVIDEO_DATA_>{&ParamsMgr::getVideoInfo, &ParamsMgr::setVideoInfo});
    fn(Family<_SC_SETAUDIO_DATA_>{&ParamsMgr::getAudioInfo, &ParamsMgr::setAudioInfo});
    fn(Family<_SC_SETOSD_DATA_>{&ParamsMgr::getOsdInfo, &ParamsMgr::setOsdInfo});
    fn(Family<_SC_IMAGE_DATA_>{&ParamsMgr::getImageInfo, &ParamsMgr::setImageInfo});
    fn(Family<_SC_SETPRIVACYMASKINFO_DATA_>{&ParamsMgr::getPrivacyMaskInfo, &ParamsMgr::setPrivacyMaskInfo});
    fn(Family<_SC_ALARM_DATA_>{&ParamsMgr::getAlarmInfo, &ParamsMgr::setAlarmInfo});
    fn(Family<_SC_ACCOUNT_DATA>{&ParamsMgr::getAccountInfo, &ParamsMgr::setAccountInfo});
    fn(Family<_SC_SETTIME_DATA_>{&ParamsMgr::getTimeInfo, &ParamsMgr::setTimeInfo});
    fn(Family<_SC_SETRESTARTREGULARLY_DATA_>{&ParamsMgr::getMaintainInfo, &ParamsMgr::setMaintainInfo});
    fn(Family<_SC_SETAUDIOINPUT_DATA_>{&ParamsMgr::getAudioBoard, &ParamsMgr::setAudioBoard});
}

void expectDefaults(ParamsMgr& mgr) {
    EXPECT_EQ(5, mgr.getSearchTime());
    EXPECT_EQ(1, mgr.getStream());
    EXPECT_EQ(0, mgr.getSearchFullNetcom());
    EXPECT_EQ(QString("en_US"), mgr.currentLanCode());
    EXPECT_EQ(360, mgr.getWaitInfo());
    EXPECT_EQ(0, mgr.getFullNetcom());
    EXPECT_EQ(0, mgr.getP2PInfo());
    forEachFamily([&](auto f) { expectZeroWhenNeverSet(mgr, f); });
}

std::uint32_t crc32(const QByteArray& data) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (char ch : data) {
        crc ^= static_cast<std::uint8_t>(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1u) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return crc ^ 0xFFFFFFFFu;
}

void putU32(QByteArray& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A store file built by hand: entries (id, bytes), a correct checksum.
QByteArray buildFile(const std::vector<std::pair<std::uint32_t, QByteArray>>& entries) {
    QByteArray out("CVPS");
    putU32(out, 1);
    putU32(out, static_cast<std::uint32_t>(entries.size()));
    for (const auto& e : entries) {
        putU32(out, e.first);
        putU32(out, static_cast<std::uint32_t>(e.second.size()));
        out.append(e.second);
    }
    putU32(out, crc32(out));
    return out;
}

QByteArray i32(std::int32_t v) {
    QByteArray out;
    putU32(out, static_cast<std::uint32_t>(v));
    return out;
}

template <typename T> QByteArray bytesOf(const T& record) {
    return QByteArray(reinterpret_cast<const char*>(&record), static_cast<int>(sizeof record));
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(_dir.isValid()); }
    QString folder() const { return _dir.path(); }
    QString file() const { return _dir.filePath(ParamsMgr::kFileName); }
    void writeFile(const QByteArray& bytes) {
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(bytes.size(), f.write(bytes));
    }
    QByteArray readFile() {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // A store file holding non-default values everywhere.
    QByteArray fullFile() {
        ParamsMgr mgr(folder());
        mgr.setSearchTime(8);
        mgr.setStream(0);
        mgr.setCurrentLanCode("zh_CN");
        std::uint32_t seed = 1;
        forEachFamily([&](auto f) { setPatterned(mgr, f, seed++); });
        return readFile();
    }
    QTemporaryDir _dir;
};

} // namespace

TEST_F(StoreTest, FreshStoreHasDefaultsAndZeroRecords) {
    ParamsMgr mgr(folder());
    expectDefaults(mgr);
    EXPECT_EQ(QString("1.0.0"), mgr.version());
    EXPECT_EQ(QString("Corvane"), mgr.appName());
    EXPECT_FALSE(QFile::exists(file())); // reading writes nothing
}

TEST_F(StoreTest, EveryRecordRoundTripsByteExactThroughAFreshInstance) {
    ParamsMgr writer(folder());
    std::uint32_t seed = 100;
    forEachFamily([&](auto f) {
        setPatterned(writer, f, seed);
        expectPatterned(writer, f, seed++);
    });
    ParamsMgr reader(folder());
    seed = 100;
    forEachFamily([&](auto f) { expectPatterned(reader, f, seed++); });

    // Overwriting one record leaves the others as they were.
    setPatterned(writer, Family<_SC_SETOSD_DATA_>{&ParamsMgr::getOsdInfo, &ParamsMgr::setOsdInfo}, 7);
    ParamsMgr again(folder());
    expectPatterned(again, Family<_SC_SETOSD_DATA_>{&ParamsMgr::getOsdInfo, &ParamsMgr::setOsdInfo}, 7);
    expectPatterned(again, Family<_SC_ALARM_DATA_>{&ParamsMgr::getAlarmInfo, &ParamsMgr::setAlarmInfo}, 111);
}

TEST_F(StoreTest, SettingsRoundTripThroughAFreshInstance) {
    {
        ParamsMgr mgr(folder());
        mgr.setSearchTime(9);
        mgr.setStream(0);
        mgr.setSearchFullNetcom(1);
        mgr.setCurrentLanCode("zh_CN");
        mgr.setWaitInfo(1000);
        mgr.setFullNetcom(1);
        mgr.setP2pInfo(1);
        EXPECT_TRUE(mgr.lastSaveOk());
    }
    ParamsMgr mgr(folder());
    EXPECT_EQ(9, mgr.getSearchTime());
    EXPECT_EQ(0, mgr.getStream());
    EXPECT_EQ(1, mgr.getSearchFullNetcom());
    EXPECT_EQ(QString("zh_CN"), mgr.currentLanCode());
    EXPECT_EQ(1000, mgr.getWaitInfo());
    EXPECT_EQ(1, mgr.getFullNetcom());
    EXPECT_EQ(1, mgr.getP2PInfo());
    EXPECT_TRUE(mgr.setP2pInfo(0));
    EXPECT_EQ(0, ParamsMgr(folder()).getP2PInfo());
}

// The P2P switch is 1 on and every other value off, on set and on load.
TEST_F(StoreTest, P2pSwitchIsOnOnlyForOne) {
    const struct {
        std::int32_t value;
        int stored;
    } cases[] = {{1, 1}, {0, 0}, {2, 0}, {-1, 0}, {255, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        {
            ParamsMgr mgr(folder());
            mgr.setP2pInfo(1 - c.stored); // start from the other state
            EXPECT_TRUE(mgr.setP2pInfo(c.value));
            EXPECT_EQ(c.stored, mgr.getP2PInfo());
        }
        EXPECT_EQ(c.stored, ParamsMgr(folder()).getP2PInfo());
        writeFile(buildFile({{7, i32(c.value)}}));
        EXPECT_EQ(c.stored, ParamsMgr(folder()).getP2PInfo());
    }
}

TEST_F(StoreTest, OutOfRangeSettingsAreClampedOrRefused) {
    ErrorLogCapture log;
    ParamsMgr mgr(folder());
    mgr.setSearchTime(3);
    EXPECT_EQ(5, mgr.getSearchTime());
    mgr.setSearchTime(11);
    EXPECT_EQ(10, mgr.getSearchTime());
    mgr.setStream(0);
    mgr.setStream(2);
    EXPECT_EQ(0, mgr.getStream());
    mgr.setStream(-1);
    EXPECT_EQ(0, mgr.getStream());
    mgr.setCurrentLanCode("zh_CN");
    mgr.setCurrentLanCode("de_DE");
    mgr.setCurrentLanCode("");
    EXPECT_EQ(QString("zh_CN"), mgr.currentLanCode());
    mgr.setSearchFullNetcom(7);
    EXPECT_EQ(1, mgr.getSearchFullNetcom());
    mgr.setFullNetcom(-3);
    EXPECT_EQ(1, mgr.getFullNetcom());
    mgr.setWaitInfo(0);
    EXPECT_EQ(1, mgr.getWaitInfo());
    mgr.setWaitInfo(1 << 30);
    EXPECT_EQ(86400, mgr.getWaitInfo());
    EXPECT_GE(log.lines().size(), 4u); // the refusals are logged

    ParamsMgr fresh(folder());
    EXPECT_EQ(10, fresh.getSearchTime());
    EXPECT_EQ(0, fresh.getStream());
    EXPECT_EQ(QString("zh_CN"), fresh.currentLanCode());
}

TEST_F(StoreTest, OutOfRangeSettingsInTheFileAreClampedOnLoad) {
    writeFile(buildFile(
        {{1, i32(99)}, {2, i32(7)}, {3, i32(5)}, {4, "xx_XX"}, {5, i32(-4)}, {6, i32(9)}, {7, i32(-2)}}));
    ParamsMgr mgr(folder());
    EXPECT_EQ(0, mgr.getP2PInfo());
    EXPECT_EQ(10, mgr.getSearchTime());
    EXPECT_EQ(1, mgr.getStream());
    EXPECT_EQ(1, mgr.getSearchFullNetcom());
    EXPECT_EQ(QString("en_US"), mgr.currentLanCode());
    EXPECT_EQ(1, mgr.getWaitInfo());
    EXPECT_EQ(1, mgr.getFullNetcom());
}

TEST_F(StoreTest, UnknownAndMisSizedEntriesAreSkippedOthersKept) {
    const _SC_PORT_DATA port = patterned<_SC_PORT_DATA>(7);
    QByteArray shortOsd(10, 'x');
    writeFile(buildFile({{999, QByteArray(33, 'z')}, {19, bytesOf(port)}, {24, shortOsd}, {1, i32(7)}}));
    ErrorLogCapture log;
    ParamsMgr mgr(folder());
    _SC_PORT_DATA loaded{};
    mgr.getPortParamInfo(&loaded);
    EXPECT_EQ(0, std::memcmp(&port, &loaded, sizeof port));
    _SC_SETOSD_DATA_ osd;
    std::memset(&osd, 0xAA, sizeof osd);
    mgr.getOsdInfo(&osd);
    EXPECT_TRUE(allBytes(osd, 0));
    EXPECT_EQ(7, mgr.getSearchTime());
    EXPECT_EQ(1u, log.lines().size());
}

TEST_F(StoreTest, DamagedFilesLoadAsDefaultsWithALogLine) {
    const QByteArray good = fullFile();
    ASSERT_GT(good.size(), 1000);
    {
        ParamsMgr check(folder());
        EXPECT_EQ(8, check.getSearchTime());
    }

    struct Case {
        const char* name;
        QByteArray bytes;
    };
    std::vector<Case> cases = {
        {"empty", QByteArray()},
        {"magic only", QByteArray("CVPS")},
        {"garbage", QByteArray(3000, '\x5A')},
        {"wrong magic", QByteArray("XVPS") + good.mid(4)},
        {"wrong version", good.left(4) + i32(2) + good.mid(8)},
        {"trailing byte", good + "!"},
        {"count one less than the entries",
         [&good] {
             QByteArray b = good.left(good.size() - 4);
             const QByteArray count = b.mid(8, 4);
             const std::uint32_t n =
                 static_cast<std::uint8_t>(count[0]) | (static_cast<std::uint8_t>(count[1]) << 8);
             b.replace(8, 4, i32(static_cast<std::int32_t>(n - 1)));
             putU32(b, crc32(b));
             return b;
         }()},
        {"huge entry count",
         [] {
             QByteArray b("CVPS");
             putU32(b, 1);
             putU32(b, 0xFFFFFFFFu);
             putU32(b, 1);
             putU32(b, 4);
             b.append(i32(8));
             putU32(b, crc32(b));
             return b;
         }()},
        {"huge entry length",
         [] {
             QByteArray b("CVPS");
             putU32(b, 1);
             putU32(b, 1);
             putU32(b, 1);
             putU32(b, 0xFFFFFFF0u);
             b.append(i32(8));
             putU32(b, crc32(b));
             return b;
         }()},
    };
    // Every truncation and every single flipped byte.
    for (int n = 0; n < good.size(); n += 7)
        cases.push_back({"truncated", good.left(n)});
    for (int i = 0; i < good.size(); i += 5) {
        QByteArray flipped = good;
        flipped[i] = static_cast<char>(flipped[i] ^ 0x10);
        cases.push_back({"flipped", flipped});
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.bytes.size()));
        writeFile(c.bytes);
        ErrorLogCapture log;
        ParamsMgr mgr(folder());
        expectDefaults(mgr);
        EXPECT_EQ(1u, log.lines().size());
        if (::testing::Test::HasFailure())
            break;
    }

    // A damaged file is replaced by a good one on the next set.
    ParamsMgr mgr(folder());
    mgr.setSearchTime(6);
    EXPECT_EQ(6, ParamsMgr(folder()).getSearchTime());
}

TEST_F(StoreTest, MissingFolderIsCreatedAndWritesLeaveNoTemporaryFiles) {
    const QString nested = folder() + "/a/b";
    ParamsMgr mgr(nested);
    EXPECT_TRUE(QDir(nested).exists());
    for (int i = 0; i < 5; ++i)
        mgr.setSearchTime(5 + i);
    EXPECT_EQ(QStringList{ParamsMgr::kFileName}, QDir(nested).entryList(QDir::Files | QDir::Hidden));
}

TEST_F(StoreTest, FailedWriteKeepsTheValueInMemoryAndLogs) {
    QFile blocker(folder() + "/blocker");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ErrorLogCapture log;
    ParamsMgr mgr(folder() + "/blocker/store"); // a file where the folder should be
    EXPECT_FALSE(mgr.setSearchTime(7));
    EXPECT_FALSE(mgr.lastSaveOk());
    EXPECT_EQ(7, mgr.getSearchTime());
    EXPECT_FALSE(log.lines().empty());
}

// A full disk (the file size limit) during a save: the set fails with a log line and the old
// file stays whole. Each save runs in a child process with the limit set and SIGXFSZ ignored.
TEST_F(StoreTest, WriteErrorDuringASaveKeepsTheOldFileAndFails) {
    const QByteArray good = fullFile();
    ASSERT_GT(good.size(), 1000);
    for (const rlim_t limit : {rlim_t(0), rlim_t(12), rlim_t(good.size() / 2), rlim_t(good.size() - 1)}) {
        SCOPED_TRACE("limit " + std::to_string(limit));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit rl{limit, limit};
            int code = setrlimit(RLIMIT_FSIZE, &rl) == 0 ? 0 : 64;
            ErrorLogCapture log;
            ParamsMgr mgr(folder());
            if (mgr.getSearchTime() != 8)
                code |= 1;
            if (mgr.setSearchTime(6))
                code |= 2; // reported success
            if (mgr.lastSaveOk())
                code |= 4;
            if (mgr.getSearchTime() != 6)
                code |= 8; // the value is kept in memory
            if (log.lines().empty())
                code |= 16;
            _exit(code);
        }
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(0, WEXITSTATUS(status));
        EXPECT_EQ(good, readFile());
        EXPECT_EQ(QStringList{ParamsMgr::kFileName}, QDir(folder()).entryList(QDir::Files | QDir::Hidden));
    }
    EXPECT_EQ(8, ParamsMgr(folder()).getSearchTime());
}

// Only a regular file of at most the largest valid size is read: a FIFO would block for ever, a
// device or a huge file would be read into memory.
TEST_F(StoreTest, StoreThatIsNoRegularFileOrTooLargeIsRefusedUnread) {
    struct Case {
        const char* name;
        std::function<void(const QString&)> make;
    };
    const std::vector<Case> cases = {
        {"fifo",
         [](const QString& path) { ASSERT_EQ(0, mkfifo(QFile::encodeName(path).constData(), 0600)); }},
        {"link to /dev/zero", [](const QString& path) { ASSERT_TRUE(QFile::link("/dev/zero", path)); }},
        {"folder", [](const QString& path) { ASSERT_TRUE(QDir().mkdir(path)); }},
        {"one byte too large",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             ASSERT_TRUE(f.resize(static_cast<qint64>(ParamsMgr::maxFileSize()) + 1));
         }},
        {"2 GB sparse",
         [](const QString& path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             ASSERT_TRUE(f.resize(qint64(2) << 30));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        c.make(dir.filePath(ParamsMgr::kFileName));
        ErrorLogCapture log;
        QElapsedTimer clock;
        clock.start();
        ParamsMgr mgr(dir.path());
        EXPECT_LT(clock.elapsed(), 2000);
        expectDefaults(mgr);
        EXPECT_EQ(1u, log.lines().size());
    }
    // The bound is exact: a full valid file has the largest size, and it loads.
    ASSERT_EQ(static_cast<std::size_t>(fullFile().size()), ParamsMgr::maxFileSize());
    EXPECT_EQ(8, ParamsMgr(folder()).getSearchTime());
}

// The save never writes through a link or over what is not a regular file of this user: the set
// fails with a log line and what was planted stays as it was.
TEST_F(StoreTest, SaveRefusesAStorePathThatIsNoRegularFileOfThisUser) {
    struct Case {
        const char* name;
        std::function<bool(const QString& dir, const QString& path)> plant; // false: not possible here
    };
    auto writeVictim = [](const QString& dir) {
        QFile victim(dir + "/victim");
        return victim.open(QIODevice::WriteOnly) && victim.write("victim") == 6;
    };
    const std::vector<Case> cases = {
        {"link to a file",
         [&](const QString& dir, const QString& path) {
             return writeVictim(dir) && QFile::link(dir + "/victim", path);
         }},
        {"link to nothing",
         [](const QString& dir, const QString& path) { return QFile::link(dir + "/victim", path); }},
        {"link to a FIFO",
         [](const QString& dir, const QString& path) {
             return mkfifo(QFile::encodeName(dir + "/victim").constData(), 0600) == 0 &&
                    QFile::link(dir + "/victim", path);
         }},
        {"FIFO", [](const QString&,
                    const QString& path) { return mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }},
        {"another user's file",
         [](const QString&, const QString& path) {
             QFile f(path);
             return f.open(QIODevice::WriteOnly) && f.write("theirs") == 6 && f.flush() &&
                    ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0 && ::getuid() != 65534;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString path = dir.filePath(ParamsMgr::kFileName);
        if (!c.plant(dir.path(), path))
            continue; // chown needs root
        auto snapshot = [&] {
            QStringList state;
            for (const QFileInfo& e :
                 QDir(dir.path())
                     .entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                                    QDir::Name)) {
                QFile f(e.filePath());
                const bool regular = e.isFile() && !e.isSymLink();
                state << e.fileName() + (e.isSymLink() ? " -> " + e.symLinkTarget() : QString()) + " " +
                             QString::number(e.isFile()) +
                             (regular && f.open(QIODevice::ReadOnly) ? " " + QString::fromLatin1(f.readAll())
                                                                     : QString());
            }
            return state;
        };
        ParamsMgr mgr(dir.path());
        const QStringList before = snapshot();
        ErrorLogCapture log;
        EXPECT_FALSE(mgr.setSearchTime(7));
        EXPECT_FALSE(mgr.lastSaveOk());
        ASSERT_EQ(1u, log.lines().size());
        EXPECT_NE(std::string::npos, log.lines()[0].find("refusing to write")) << log.lines()[0];
        EXPECT_EQ(before, snapshot());
        EXPECT_EQ(7, mgr.getSearchTime()) << "kept in memory";
    }
}

TEST_F(StoreTest, StaleTemporaryFilesOfKilledSavesAreRemovedAtStart) {
    writeFile(fullFile());
    const QDateTime old = QDateTime::currentDateTime().addSecs(-3600);
    struct Entry {
        const char* name;
        bool old;
        bool kept;
    };
    const std::vector<Entry> entries = {
        {"ParamStore.bin.Ab3xYz", true, false}, {"ParamStore.bin.000000", true, false},
        {"ParamStore.bin.fresh1", false, true}, // may be a save in progress
        {"ParamStore.bin.keep", true, true},    {"ParamStore.bin.1234567", true, true},
        {"Other.bin.Ab3xYz", true, true},
    };
    for (const Entry& e : entries) {
        QFile f(folder() + "/" + e.name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("partial");
        f.flush();
        if (e.old) {
            ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
        }
    }
    ParamsMgr mgr(folder());
    EXPECT_EQ(8, mgr.getSearchTime());
    for (const Entry& e : entries)
        EXPECT_EQ(e.kept, QFile::exists(folder() + "/" + e.name)) << e.name;
}

TEST_F(StoreTest, NullPointersAreIgnored) {
    ParamsMgr mgr(folder());
    EXPECT_FALSE(mgr.setTcpIpInfo(nullptr));
    EXPECT_FALSE(mgr.setStream(3));
    mgr.getTcpIpInfo(nullptr);
    EXPECT_FALSE(QFile::exists(file()));
}

TEST_F(StoreTest, ConcurrentReadersNeverSeeATornRecord) {
    ParamsMgr mgr(folder());
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::atomic<long> reads{0};

    std::vector<std::thread> readers;
    for (int r = 0; r < 4; ++r) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                _SC_ALARM_DATA_ alarm;
                mgr.getAlarmInfo(&alarm);
                const unsigned char first = reinterpret_cast<const unsigned char*>(&alarm)[0];
                if (!allBytes(alarm, first))
                    ++torn;
                _SC_SETTIME_DATA_ time;
                mgr.getTimeInfo(&time);
                const unsigned char firstTime = reinterpret_cast<const unsigned char*>(&time)[0];
                if (!allBytes(time, firstTime))
                    ++torn;
                const int searchTime = mgr.getSearchTime();
                if (searchTime < 5 || searchTime > 10)
                    ++torn;
                ++reads;
            }
        });
    }
    std::thread writer([&] {
        for (int k = 1; k <= 60; ++k) {
            _SC_ALARM_DATA_ alarm;
            std::memset(&alarm, k, sizeof alarm);
            mgr.setAlarmInfo(&alarm);
            _SC_SETTIME_DATA_ time;
            std::memset(&time, k, sizeof time);
            mgr.setTimeInfo(&time);
            mgr.setSearchTime(5 + k % 6);
        }
    });
    writer.join();
    stop = true;
    for (auto& t : readers)
        t.join();
    EXPECT_EQ(0, torn.load());
    EXPECT_GT(reads.load(), 0);

    _SC_ALARM_DATA_ last;
    ParamsMgr(folder()).getAlarmInfo(&last);
    EXPECT_TRUE(allBytes(last, 60));
}

TEST(StoreSingleton, UsesTheConfigFolderFromTheEnvironment) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + "/cfg";
    ASSERT_EQ(0, setenv("CORVANE_CONFIG_DIR", folder.toLocal8Bit().constData(), 1));
    EXPECT_EQ(folder, ParamsMgr::defaultFolder());
    ParamsMgr* mgr = ozmParamsMgr();
    ASSERT_NE(nullptr, mgr);
    EXPECT_EQ(mgr, ozmParamsMgr());
    EXPECT_EQ(QDir(folder).filePath(ParamsMgr::kFileName), mgr->filePath());
    mgr->setSearchTime(10);
    EXPECT_EQ(10, ParamsMgr(folder).getSearchTime());

    unsetenv("CORVANE_CONFIG_DIR");
    EXPECT_TRUE(ParamsMgr::defaultFolder().endsWith("/Corvane"));
}
