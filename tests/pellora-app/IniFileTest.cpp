// The private-profile functions on GBK ini text, and their round trips with Qt's QSettings.
#include "winport/PrivateProfile.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextCodec>
#include <gtest/gtest.h>

#include "quillet/Quillet.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <mutex>
#include <vector>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("PelloraInfo.ini");
        wpath = path.toStdWString();
    }

    void writeBytes(const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readBytes() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::wstring get(const wchar_t* section, const wchar_t* key, DWORD size = 100, const wchar_t* def = L"") {
        std::wstring buf(size, L'#');
        const DWORD n = GetPrivateProfileString(section, key, def, &buf[0], size, wpath.c_str());
        EXPECT_EQ(buf[n], L'\0');
        return buf.substr(0, n);
    }
    static QByteArray gbk(const QString& s) { return QTextCodec::codecForName("GBK")->fromUnicode(s); }

    QTemporaryDir dir;
    QString path;
    std::wstring wpath;
};

TEST_F(IniFileTest, ReadsLikeThePlatformFunction) {
    writeBytes("; shipped file\r\n"
               " [ printnum ] \r\n"
               "  morveknum =  2  \r\n"
               "[CHINESETITLE]\r\n"
               "Name=" +
               gbk(QStringLiteral("名称：")) +
               "\r\n"
               "Quoted=\"  spaced  \"\r\n"
               "Single='x'\r\n"
               "Half=\"open\r\n"
               "Empty=\r\n"
               "[Other]\r\n"
               "Name=other\r\n");
    EXPECT_EQ(GetPrivateProfileInt(L"PRINTNUM", L"MorvekNum", 0, wpath.c_str()), 2u);
    EXPECT_EQ(get(L"chinesetitle", L"NAME"), L"名称：");
    EXPECT_EQ(get(L" CHINESETITLE ", L" Name "), L"名称：");
    EXPECT_EQ(get(L"CHINESETITLE", L"Quoted"), L"  spaced  ");
    EXPECT_EQ(get(L"CHINESETITLE", L"Single"), L"x");
    EXPECT_EQ(get(L"CHINESETITLE", L"Half"), L"\"open");
    EXPECT_EQ(get(L"CHINESETITLE", L"Empty", 100, L"dflt"), L"");
    EXPECT_EQ(get(L"CHINESETITLE", L"Missing", 100, L"dflt  "), L"dflt");
    EXPECT_EQ(get(L"Nowhere", L"Name"), L"");
    EXPECT_EQ(get(L"Other", L"Name"), L"other");
    EXPECT_EQ(GetPrivateProfileInt(L"PRINTNUM", L"Missing", 7, wpath.c_str()), 7u);
}

TEST_F(IniFileTest, MissingFileReadsDefaults) {
    EXPECT_EQ(get(L"CHINESEPRODUCTINFO", L"SN"), L"");
    EXPECT_EQ(GetPrivateProfileInt(L"PRINTNUM", L"MorvekNum", 0, wpath.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileInt(L"Langugae", L"Chinese", 0, wpath.c_str()), 0u);
}

TEST_F(IniFileTest, NumbersAndValuesCutToTheBuffer) {
    const QString longName(150, QChar(0x540D)); // 150 CJK characters
    writeBytes("[A]\nneg=-3\nhex=0x1A\ntext=abc\nnum=12abc\nName=" + gbk(longName) + "\n");
    EXPECT_EQ(static_cast<int>(GetPrivateProfileInt(L"A", L"neg", 0, wpath.c_str())), -3);
    EXPECT_EQ(GetPrivateProfileInt(L"A", L"hex", 0, wpath.c_str()), 26u);
    EXPECT_EQ(GetPrivateProfileInt(L"A", L"text", 5, wpath.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileInt(L"A", L"num", 0, wpath.c_str()), 12u);
    const std::wstring cut = get(L"A", L"Name", 100);
    EXPECT_EQ(cut.size(), 99u);
    EXPECT_EQ(QString::fromStdWString(cut), longName.left(99));
    EXPECT_EQ(get(L"A", L"text", 3), L"ab");
}

TEST_F(IniFileTest, ListsSectionsAndKeys) {
    // Comment lines inside a section are neither listed nor read as keys.
    writeBytes("[S1]\na=1\n;x=1\n  ; y = 2\nb=2\n[S2]\nc=3\n");
    wchar_t buf[64];
    DWORD n = GetPrivateProfileString(L"S1", nullptr, L"", buf, 64, wpath.c_str());
    EXPECT_EQ(std::wstring(buf, n), std::wstring(L"a\0b\0", 4));
    EXPECT_EQ(get(L"S1", L";x", 100, L"none"), L"none");
    EXPECT_EQ(get(L"S1", L"; y", 100, L"none"), L"none");
    n = GetPrivateProfileString(nullptr, nullptr, L"", buf, 64, wpath.c_str());
    EXPECT_EQ(std::wstring(buf, n), std::wstring(L"S1\0S2\0", 6));
}

TEST_F(IniFileTest, ListCutToTheBufferStaysInside) {
    // The first name ends exactly at the last slot but one; the next one must not be written
    // past the buffer.
    writeBytes("[S]\nabcdefgh=1\nlongername=2\n");
    wchar_t buf[16];
    std::fill(std::begin(buf), std::end(buf), L'#');
    const DWORD n = GetPrivateProfileString(L"S", nullptr, L"", buf, 10, wpath.c_str());
    EXPECT_EQ(n, 8u);
    EXPECT_EQ(std::wstring(buf, 10), std::wstring(L"abcdefgh\0\0", 10));
    for (int i = 10; i < 16; ++i)
        EXPECT_EQ(buf[i], L'#') << i;
}

TEST_F(IniFileTest, WritesKeepOtherLinesAndLineEnds) {
    const QByteArray original = "; comment kept\r\n"
                                "[Langugae]\r\n"
                                "Chinese=1\r\n"
                                "junk line without equals\r\n"
                                "\r\n"
                                "[CHINESEPRODUCTINFO]\r\n"
                                "SN=OLD\r\n"
                                "Bad=\xFF\xFE\x81\r\n"
                                "\r\n"
                                "[Tail]\r\n"
                                "x=1\r\n";
    writeBytes(original);
    ASSERT_TRUE(WritePrivateProfileString(L"langugae", L"CHINESE", L"0", wpath.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"Langugae", L"English", L"1", wpath.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"CHINESEPRODUCTINFO", L"Name", L"网络摄像机", wpath.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"ENGLISHPRODUCTINFO", L"Name", L"Camera", wpath.c_str()));
    EXPECT_EQ(readBytes(), QByteArray("; comment kept\r\n"
                                      "[Langugae]\r\n"
                                      "CHINESE=0\r\n"
                                      "junk line without equals\r\n"
                                      "English=1\r\n"
                                      "\r\n"
                                      "[CHINESEPRODUCTINFO]\r\n"
                                      "SN=OLD\r\n"
                                      "Bad=\xFF\xFE\x81\r\n"
                                      "Name=") +
                               gbk(QStringLiteral("网络摄像机")) +
                               QByteArray("\r\n"
                                          "\r\n"
                                          "[Tail]\r\n"
                                          "x=1\r\n"
                                          "[ENGLISHPRODUCTINFO]\r\n"
                                          "Name=Camera\r\n"));
    EXPECT_EQ(get(L"CHINESEPRODUCTINFO", L"Name"), L"网络摄像机");
}

TEST_F(IniFileTest, EuroSignAndBracketAsSecondByteRoundTrip) {
    // U+4E5A is 0x81 0x5D in GBK: its second byte is ']'.
    ASSERT_TRUE(WritePrivateProfileString(L"\u4E5A", L"k", L"1", wpath.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"\u4E5A", L"k", L"2", wpath.c_str()));
    EXPECT_EQ(readBytes(), QByteArray("[\x81]]\r\nk=2\r\n"));
    EXPECT_EQ(get(L"\u4E5A", L"k"), L"2");
    // GBK has one single-byte character above ASCII: 0x80, the euro sign.
    ASSERT_TRUE(WritePrivateProfileString(L"ENGLISHPRODUCTINFO", L"Power", L"\u20AC12 DC", wpath.c_str()));
    EXPECT_TRUE(readBytes().contains("Power=\x80"
                                     "12 DC\r\n"));
    EXPECT_EQ(get(L"ENGLISHPRODUCTINFO", L"Power"), L"\u20AC12 DC");
}

TEST_F(IniFileTest, DeletesAndRefusesLineInjection) {
    writeBytes("[A]\nk=1\nj=2\n[B]\nm=3\n");
    ASSERT_TRUE(WritePrivateProfileString(L"A", L"k", nullptr, wpath.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"B", nullptr, nullptr, wpath.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"A", L"j", L"two\n[Evil]\nx=1", wpath.c_str()));
    EXPECT_EQ(readBytes(), QByteArray("[A]\nj=two\n"));
    // Characters GBK lacks are written as '?'.
    ASSERT_TRUE(WritePrivateProfileString(L"A", L"e", L"a\U0001F600b", wpath.c_str()));
    EXPECT_EQ(get(L"A", L"e"), L"a?b");
}

TEST_F(IniFileTest, FailedWriteLeavesTheFileAndSetsErrno) {
    const std::wstring bad = dir.filePath("no/such/folder/PelloraInfo.ini").toStdWString();
    errno = 0;
    EXPECT_FALSE(WritePrivateProfileString(L"A", L"k", L"v", bad.c_str()));
    EXPECT_EQ(errno, ENOENT);

    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    writeBytes("[A]\nk=1\n");
    ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0555), 0);
    errno = 0;
    EXPECT_FALSE(WritePrivateProfileString(L"A", L"k", L"2", wpath.c_str()));
    EXPECT_NE(errno, 0);
    chmod(dir.path().toLocal8Bit().constData(), 0755);
    EXPECT_EQ(readBytes(), QByteArray("[A]\nk=1\n"));
}

// Corvane writes the serial number, MAC address and language with QSettings (ini format, GBK);
// Pellora reads them and writes its own keys back, which Corvane's QSettings must still read.
TEST_F(IniFileTest, RoundTripWithQSettingsAsCorvaneWritesIt) {
    writeBytes("[PRINTNUM]\r\nMorvekNum=2\r\n[CHINESETITLE]\r\nName=" + gbk(QStringLiteral("名称:")) +
               "\r\n");
    {
        QSettings settings(path, QSettings::IniFormat);
        settings.setIniCodec("GBK");
        settings.setValue("CHINESEPRODUCTINFO/SN", "SN-0001, rev A");
        settings.setValue("CHINESEPRODUCTINFO/MAC", "00:11:22:33:44:55");
        settings.setValue("Langugae/Chinese", "1");
        settings.setValue("Langugae/English", "0");
        settings.setValue("CHINESEPRODUCTINFO/Name", QStringLiteral("网络摄像机"));
        settings.sync();
        ASSERT_EQ(settings.status(), QSettings::NoError);
    }
    EXPECT_EQ(get(L"CHINESEPRODUCTINFO", L"SN"), L"SN-0001, rev A");
    EXPECT_EQ(get(L"CHINESEPRODUCTINFO", L"MAC"), L"00:11:22:33:44:55");
    EXPECT_EQ(get(L"CHINESEPRODUCTINFO", L"Name"), L"网络摄像机");
    EXPECT_EQ(GetPrivateProfileInt(L"Langugae", L"Chinese", 0, wpath.c_str()), 1u);
    EXPECT_EQ(GetPrivateProfileInt(L"PRINTNUM", L"MorvekNum", 0, wpath.c_str()), 2u);
    EXPECT_EQ(get(L"CHINESETITLE", L"Name"), L"名称:");

    ASSERT_TRUE(WritePrivateProfileString(L"Langugae", L"Chinese", L"0", wpath.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"Langugae", L"English", L"1", wpath.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"ENGLISHPRODUCTINFO", L"Lens", L"4 mm", wpath.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"CHINESEPRODUCTINFO", L"Power", L"直流12伏", wpath.c_str()));

    QSettings settings(path, QSettings::IniFormat);
    settings.setIniCodec("GBK");
    EXPECT_EQ(settings.value("Langugae/Chinese").toString(), "0");
    EXPECT_EQ(settings.value("Langugae/English").toString(), "1");
    EXPECT_EQ(settings.value("ENGLISHPRODUCTINFO/Lens").toString(), "4 mm");
    EXPECT_EQ(settings.value("CHINESEPRODUCTINFO/Power").toString(), QStringLiteral("直流12伏"));
    EXPECT_EQ(settings.value("CHINESEPRODUCTINFO/SN").toString(), "SN-0001, rev A");
    EXPECT_EQ(settings.value("PRINTNUM/MorvekNum").toInt(), 2);
}

} // namespace

namespace {
std::mutex g_logMutex;
std::vector<std::string> g_logLines;
void captureLog(int, const char* line, void*) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_logLines.emplace_back(line);
}
} // namespace

TEST_F(IniFileTest, OnlyBoundedRegularFilesAreRead) {
    const std::string file = QFile::encodeName(path).toStdString();
    struct Case {
        const char* what;
        std::function<void()> make;
        off_t size; // of the file afterwards, -1: not a regular file
    };
    const off_t big = 64 * 1024 * 1024;
    const Case cases[] = {
        {"FIFO", [&] { ASSERT_EQ(0, ::mkfifo(file.c_str(), 0600)); }, -1},
        {"link to a device", [&] { ASSERT_EQ(0, ::symlink("/dev/zero", file.c_str())); }, -1},
        {"large file",
         [&] {
             // A readable section first, then a hole up to 64 MB.
             writeBytes("[S]\nk=v\n");
             ASSERT_EQ(0, ::truncate(file.c_str(), big));
         },
         big},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::unlink(file.c_str());
        c.make();
        {
            std::lock_guard<std::mutex> lock(g_logMutex);
            g_logLines.clear();
        }
        Qx_Set_Log_Hook(&captureLog, nullptr);
        EXPECT_EQ(get(L"S", L"k", 100, L"dflt"), L"dflt");
        EXPECT_EQ(GetPrivateProfileInt(L"S", L"n", 7, wpath.c_str()), 7u);
        errno = 0;
        EXPECT_EQ(0, WritePrivateProfileString(L"S", L"k", L"w", wpath.c_str()));
        EXPECT_NE(0, errno);
        Qx_Set_Log_Hook(nullptr, nullptr);
        struct stat st;
        ASSERT_EQ(0, ::lstat(file.c_str(), &st));
        if (c.size >= 0)
            EXPECT_EQ(c.size, st.st_size); // not replaced by the write
        else
            EXPECT_FALSE(S_ISREG(st.st_mode));
        std::lock_guard<std::mutex> lock(g_logMutex);
        ASSERT_EQ(1u, g_logLines.size()); // once, not per read
        EXPECT_NE(std::string::npos, g_logLines[0].find(file));
    }
    // A regular file is written and read as before.
    ::unlink(file.c_str());
    EXPECT_EQ(1, WritePrivateProfileString(L"S", L"k", L"w", wpath.c_str()));
    EXPECT_EQ(get(L"S", L"k"), L"w");
}
