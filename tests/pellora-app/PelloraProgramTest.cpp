// The Pellora program end to end: started from its own folder against the local HTTPS double, it
// verifies the device, previews, prints two pages to PDF, writes its ini file back and ends.
#include "TlsTestServer.h"
#include "winport/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCodec>
#include <gtest/gtest.h>

namespace {

QString iniValue(const QString& ini, const wchar_t* section, const wchar_t* key) {
    wchar_t buf[100];
    GetPrivateProfileString(section, key, L"", buf, 100, ini.toStdWString().c_str());
    return QString::fromWCharArray(buf);
}

TEST(PelloraProgramTest, VerifiesPreviewsAndPrintsFromItsOwnFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bin = QString::fromLocal8Bit(qgetenv("CORVANE_BIN_DIR")) + "/Pellora";
    const QString src = QString::fromLocal8Bit(qgetenv("CORVANE_SOURCE_DIR")) + "/pellora/app/files";
    const QString folder = dir.filePath("Pellora");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(bin + "/Pellora", folder + "/Pellora"));
    for (const char* name : {"PelloraInfo.ini", "IP.bmp", "ce.bmp"})
        ASSERT_TRUE(QFile::copy(src + "/" + name, folder + "/" + name)) << name;
    const QString ini = folder + "/PelloraInfo.ini";
    QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner);

    testsupport::TlsTestServer server;
    server.enqueue(testsupport::ScriptedReply::http(200, "OK", R"({"code":0,"data":{"cookie":"e2e"}})"));
    server.enqueue(
        testsupport::ScriptedReply::http(200, "OK", R"({"code":0,"data":{"verify":"E2E7","is_confirm":1}})"));
    const std::wstring wini = ini.toStdWString();
    ASSERT_TRUE(WritePrivateProfileString(L"SERVICE", L"BaseUrl",
                                          QString::fromStdString(server.baseUrl()).toStdWString().c_str(),
                                          wini.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(
        L"SERVICE", L"CaFile", QString::fromStdString(server.caFile()).toStdWString().c_str(), wini.c_str()));
    // What Corvane writes before the start.
    ASSERT_TRUE(WritePrivateProfileString(L"CHINESEPRODUCTINFO", L"SN", L"SNE2E0001", wini.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"CHINESEPRODUCTINFO", L"MAC", L"00:AA:BB:CC:DD:EE", wini.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"Langugae", L"Chinese", L"1", wini.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(L"Langugae", L"English", L"0", wini.c_str()));

    const QString shots = dir.filePath("shots");
    const QString pdf = dir.filePath("labels.pdf");
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("PELLORA_SCREENSHOT_DIR", shots);
    env.insert("MFC_PRINT_TO_FILE", pdf);
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(dir.path());
    program.start(folder + "/Pellora", {"-style", "fusion"});
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(program.waitForFinished(60000)) << program.readAllStandardError().constData();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().constData();

    EXPECT_TRUE(QFile::exists(shots + "/pellora-dialog.png"));
    EXPECT_TRUE(QFile::exists(shots + "/pellora-preview.png"));
    ASSERT_TRUE(QFile::exists(pdf));
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished(20000);
    EXPECT_TRUE(info.readAllStandardOutput().contains("Pages:           2"));

    const auto exchanges = server.exchanges();
    ASSERT_EQ(exchanges.size(), 2u);
    EXPECT_NE(exchanges[1].request.find("\"device_id\":\"SNE2E0001\""), std::string::npos);
    // Saved before the preview and before the print; the shipped keys stay.
    EXPECT_EQ(iniValue(ini, L"Langugae", L"Chinese"), "1");
    EXPECT_EQ(iniValue(ini, L"Langugae", L"English"), "0");
    EXPECT_EQ(iniValue(ini, L"CHINESEPRODUCTINFO", L"SN"), "SNE2E0001");
    EXPECT_EQ(iniValue(ini, L"CHINESEPRODUCTINFO", L"Name"), QStringLiteral("网络摄像机"));
    EXPECT_EQ(iniValue(ini, L"CHINESETITLE", L"POE"), QStringLiteral("Poe设置:"));
    QFile log(folder + "/Pellora.log");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("Start Pellora"));
}

} // namespace
