// The line end to end: search, IP change, time sync, the other-parameter run, the fixture's audio
// and GPIO tests, the OSD batch, a firmware upgrade and the label program, each through the slot
// its button uses, with every result table, the parameter store and the cameras checked.
#include "DeviceManager.h"
#include "LineDriver.h"
#include "LongLimits.h"
#include "MainFrame.h"
#include "SetIPDialog.h"

#include "FixtureSim.h"
#include "TlsTestServer.h"
#include "camsim/SimControl.h"
#include "harness/ModalCloser.h"
#include "harness/QtApp.h"
#include "harness/ProgramFolderTest.h"
#include "harness/TestDir.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"
#include "winport/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <set>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '[' << list.join(", ").toStdString() << ']';
}

namespace {

using line::ShownTable;
using Rows = QList<QStringList>;

std::string text(const std::vector<std::uint8_t>& b, std::size_t at) {
    std::string out;
    for (std::size_t i = at; i < b.size() && b[i]; ++i)
        out += static_cast<char>(b[i]);
    return out;
}

// Rows of (first column, fixed result) for these addresses.
Rows expectRows(const QStringList& ips, const QStringList& results) {
    Rows rows;
    for (int i = 0; i < ips.size(); ++i)
        rows << (QStringList{ips[i]} + results);
    return rows;
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return QStringLiteral("<failed: %1>").arg(program);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class LineEndToEnd : public harness::ProgramFolderTest {
protected:
    void SetUp() override {
        harness::ProgramFolderTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(QStandardPaths::findExecutable("ping"), putStandInPingFirst()) << "only the stand-in ping";
        ozmParamsMgr()->setCurrentLanCode("en_US");
        ozmParamsMgr()->setSearchTime(5);
        ozmParamsMgr()->setSearchFullNetcom(0);
        ASSERT_TRUE(OzmLogic::instance()->init(harness::qtApp()));
        camsim::resetWorld();
        camsim::useFleet(camsim::defaultFleet(8));
        ASSERT_TRUE(fixture.start());
        folder().setEnv("CORVANE_FIXTURE_PORT", QByteArray::number(fixture.port()));
    }
    void TearDown() override {
        fixture.stop();
        camsim::resetWorld();
        harness::ProgramFolderTest::TearDown();
    }

    // The label program's folder: the built program and its shipped files.
    void installLabelProgram() {
        const QString program = folder().path() + "/Pellora";
        const QString src = qEnvironmentVariable("CORVANE_SOURCE_DIR") + "/pellora/app/files";
        ASSERT_TRUE(QDir().mkpath(program));
        ASSERT_TRUE(
            QFile::copy(qEnvironmentVariable("CORVANE_BIN_DIR") + "/Pellora/Pellora", program + "/Pellora"));
        for (const char* name : {"PelloraInfo.ini", "IP.bmp", "ce.bmp"})
            ASSERT_TRUE(QFile::copy(src + "/" + name, program + "/" + name)) << name;
        QFile::setPermissions(program + "/PelloraInfo.ini", QFile::ReadOwner | QFile::WriteOwner);
    }

    FixtureSim fixture;
};

TEST_F(LineEndToEnd, EightCamerasThroughEveryStation) {
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    ASSERT_EQ(fleet.size(), 8u);
    fixture.setResult(fleet[5].mac,
                      R"({"audio":"NG","gpio":[{"name":"GPIO1","function":"LED","status":"NG"}]})");
    installLabelProgram();

    MainFrame frame;
    line::LineDriver driver(frame, 60000);
    ASSERT_TRUE(driver.search(8, 30000)) << driver.loggedIn();
    driver.checkAll(true);
    ASSERT_EQ(frame.checkedRows().size(), 8);
    const QStringList macs = driver.column(8);
    QStringList oldIps;
    for (const QString& mac : macs) {
        camsim::CameraProfile camera;
        ASSERT_TRUE(camsim::findCamera(mac.toStdString(), &camera));
        oldIps << QString::fromStdString(camera.ip);
    }
    EXPECT_EQ(driver.column(1), oldIps);

    // Start address through the dialog, then the IP change: every camera answers at its new
    // address and logs in there again.
    driver.setExtra([](QWidget* widget, harness::ModalCloser::Action* action) {
        auto* dialog = qobject_cast<SetIPDialog*>(widget);
        if (!dialog)
            return false;
        if (dialog->ipEdit->text() != "127.0.2.10") {
            dialog->modifyRadio->setChecked(true);
            dialog->ipEdit->setText("127.0.2.10");
            dialog->maskEdit->setText("255.255.255.0");
            dialog->gatewayEdit->setText("127.0.2.1");
            QTimer::singleShot(0, dialog, [dialog] { dialog->onConfirm(); });
        }
        *action = harness::ModalCloser::Action::Leave;
        return true;
    });
    EXPECT_TRUE(driver.run("Set IP", [&] { frame.onSetIP(); }).empty());
    EXPECT_EQ(driver.tips(), QStringList{"Saved successfully"});
    OZM::_SC_SETIP_DATA_ start{};
    ozmParamsMgr()->getIpInfo(&start);
    EXPECT_EQ(start.mode, 1u);
    EXPECT_STREQ(start.ip, "127.0.2.10");
    driver.setExtra(nullptr);

    QStringList newIps;
    for (int i = 0; i < 8; ++i)
        newIps << QStringLiteral("127.0.2.%1").arg(10 + i);
    // The relogins at the new addresses, whose success the table and the rows show, within their
    // limits on a loaded machine.
    std::optional<frametest::LongLimits> limits(std::in_place);
    std::vector<ShownTable> tables = driver.run("Modify IP", [&] { frame.onModifyIP(); });
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].headers, (QStringList{"IP", "Set IP"}));
    EXPECT_EQ(tables[0].rows, expectRows(oldIps, {"Success"}));
    for (int i = 0; i < 8; ++i) {
        camsim::CameraProfile camera;
        ASSERT_TRUE(camsim::findCamera(macs[i].toStdString(), &camera));
        EXPECT_EQ(QString::fromStdString(camera.ip), newIps[i]) << i;
        EXPECT_EQ(camera.mask, "255.255.255.0");
        EXPECT_EQ(camera.gateway, "127.0.2.1");
        EXPECT_EQ(QProcess::execute("ping", {"-c", "1", "-W", "1", oldIps[i]}), 1) << oldIps[i].toStdString();
    }
    ASSERT_TRUE(harness::waitFor([&] { return driver.loggedIn() == 8 && driver.column(1) == newIps; }, 30000))
        << driver.column(1).join(" ").toStdString() << " / " << driver.column(6).join(",").toStdString();
    ASSERT_EQ(frame.checkedRows().size(), 8);
    std::set<std::string> loginAddresses;
    for (const camsim::CallRecord& call : camsim::calls("KVX_NET_Login"))
        loginAddresses.insert(call.text);
    for (const QString& ip : newIps)
        EXPECT_TRUE(loginAddresses.count(ip.toStdString())) << "logged in again at " << ip.toStdString();
    limits.reset();

    // Time sync.
    camsim::clearCallLog();
    tables = driver.run("Sync time", [&] { frame.onSyncTime(); });
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].headers, (QStringList{"IP", "Set SyncTime"}));
    EXPECT_EQ(tables[0].rows, expectRows(newIps, {"Success"}));
    EXPECT_EQ(tables[0].failed, "0");
    std::set<std::string> reached;
    for (const camsim::CallRecord& call : camsim::calls("KVX_NET_SetTimeParam"))
        reached.insert(call.camera);
    EXPECT_EQ(reached.size(), 8u);

    // The other-parameter run with five families.
    ParamsMgr* store = ozmParamsMgr();
    OZM::_SC_DDNS_DATA ddns{};
    ddns.enable = 1;
    ddns.provider = 2;
    std::strcpy(ddns.domain, "line.example");
    std::strcpy(ddns.user, "lineuser");
    std::strcpy(ddns.password, "pw");
    ASSERT_TRUE(store->setDDNSInfo(&ddns));
    OZM::_SC_GB28181_DATA gb{};
    gb.enable = 1;
    gb.localSipPort = 5061;
    std::strcpy(gb.sipServerId, "LINESIP");
    std::strcpy(gb.sipServerAddress, "127.0.0.9");
    gb.sipServerPort = 5070;
    ASSERT_TRUE(store->setGb28181Info(&gb));
    OZM::_SC_SETAUDIO_DATA_ audio{1, 1, 1, 70, 80};
    ASSERT_TRUE(store->setAudioInfo(&audio));
    OZM::_SC_SETOSD_DATA_ osd{};
    osd.showTime = 1;
    osd.showText = 1;
    osd.dateFormat = 2;
    osd.position = 1;
    std::strcpy(osd.text, "Line 1");
    ASSERT_TRUE(store->setOsdInfo(&osd));
    OZM::_SC_SETRESTARTREGULARLY_DATA_ maintain{1, 1, 15, 3, 30, 9, 5};
    ASSERT_TRUE(store->setMaintainInfo(&maintain));
    OZM::SC_OTHERPARAMENABLE flags{};
    for (int f : {OZM::FamilyDdns, OZM::FamilyGb28181, OZM::FamilyAudio, OZM::FamilyOsd, OZM::FamilyMaintain})
        flags.flag[f] = 1;
    ASSERT_TRUE(store->setOtherParamEnable(&flags));
    tables = driver.run("Other parameters", [&] { frame.onModifyOtherParameters(); });
    ASSERT_FALSE(driver.stuck());
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].headers, (QStringList{"IP", "Setting DDNS", "Setting GB28181", "Setting Audio",
                                              "Setting OSD", "Setting Regular Maintain"}));
    EXPECT_EQ(tables[0].rows, expectRows(newIps, {"Success", "Success", "Success", "Success", "Success"}));
    OZM::SC_OTHERPARAMENABLE storedFlags{};
    store->getOtherParamEnable(&storedFlags);
    EXPECT_EQ(std::memcmp(&storedFlags, &flags, sizeof flags), 0);
    for (const QString& mac : macs) {
        SCOPED_TRACE(mac.toStdString());
        const std::string m = mac.toStdString();
        const auto d = camsim::paramBytes(m, "ddns");
        EXPECT_EQ(d.at(0), 1);
        EXPECT_EQ(text(d, 40), "line.example");
        EXPECT_EQ(text(camsim::paramBytes(m, "gb28181"), 4), "LINESIP");
        const auto a = camsim::paramBytes(m, "audio");
        EXPECT_EQ(std::vector<std::uint8_t>(a.begin(), a.begin() + 4),
                  (std::vector<std::uint8_t>{1, 80, 70, 1}));
        EXPECT_EQ(text(camsim::paramBytes(m, "osd"), 12), "Line 1");
        const auto r = camsim::paramBytes(m, "rebootEx");
        EXPECT_EQ(std::vector<std::uint8_t>(r.begin(), r.begin() + 7),
                  (std::vector<std::uint8_t>{1, 1, 15, 3, 30, 9, 5}));
    }
    EXPECT_EQ(driver.column(CTableView::ColName), QVector<QString>(8, "Line 1").toList())
        << "names follow the OSD text";

    // Fixture tests and the upgrade, within the fixture's limit and the upgrade's stall limit.
    limits.emplace();
    ASSERT_TRUE(FixtureSim::waitFor([&] { return fixture.clients() == 1; }, 10000));
    tables = driver.run("Audio Detection", [&] { frame.onAudioDetection(); });
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].headers, (QStringList{"IP", "Audio"}));
    Rows audioRows = expectRows(newIps, {"OK"});
    audioRows[5][1] = "NG";
    EXPECT_EQ(tables[0].rows, audioRows);
    EXPECT_EQ(tables[0].failed, "1");
    tables = driver.run("GPIO Detection", [&] { frame.onGPIOPortDetection(); });
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].className, "ShowResultDlgEx");
    EXPECT_EQ(tables[0].rows, audioRows);
    EXPECT_EQ(fixture.count("test_result"), 16);

    // The OSD batch with a new text.
    std::strcpy(osd.text, "Line 2");
    ASSERT_TRUE(store->setOsdInfo(&osd));
    tables = driver.run("OSD Modify", [&] { frame.onModifyOSD(); });
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables[0].headers, (QStringList{"IP", "Set OSD"}));
    EXPECT_EQ(tables[0].rows, expectRows(newIps, {"Success"}));
    for (const QString& mac : macs)
        EXPECT_EQ(text(camsim::paramBytes(mac.toStdString(), "osd"), 12), "Line 2");

    // Firmware upgrade.
    const QString package = folder().file("firmware.bin");
    {
        QFile file(package);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'f'));
    }
    camsim::clearCallLog();
    // The picker answered through its seam (the real dialog is driven by the buttons test).
    folder().setEnv("CORVANE_OPEN_FILE", package.toUtf8());
    EXPECT_TRUE(driver.run("Browse", [&] { frame.onSelectFilePath(); }).empty());
    tables = driver.run("File Upgrade", [&] { frame.onUpgrade(); });
    ASSERT_EQ(tables.size(), 1u);
    // One line per device at the address it was logged in at last (not its search-time one).
    EXPECT_EQ(tables[0].rows, expectRows(newIps, {"100", "Upgrade Success!"}));
    EXPECT_EQ(camsim::calls("KVX_NET_Upgrade").size(), 8u);
    limits.reset();

    // The label program for one row, against the service double, printing to a PDF.
    testsupport::TlsTestServer service;
    service.enqueue(testsupport::ScriptedReply::http(200, "OK", R"({"code":0,"data":{"cookie":"line"}})"));
    service.enqueue(testsupport::ScriptedReply::http(
        200, "OK", R"({"code":0,"data":{"verify":"LINE7","is_confirm":1}})"));
    const std::wstring ini = (folder().path() + "/Pellora/PelloraInfo.ini").toStdWString();
    ASSERT_TRUE(WritePrivateProfileString(L"SERVICE", L"BaseUrl",
                                          QString::fromStdString(service.baseUrl()).toStdWString().c_str(),
                                          ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileString(
        L"SERVICE", L"CaFile", QString::fromStdString(service.caFile()).toStdWString().c_str(), ini.c_str()));
    driver.checkAll(false);
    frame.deviceTable()->setRowChecked(3, true);
    ASSERT_EQ(frame.checkedRows().size(), 1);
    const QString serial = frame.checkedRows()[0].value(7);
    ASSERT_FALSE(serial.isEmpty());
    const QString pdf = folder().file("label.pdf");
    folder().setEnv("MFC_PRINT_TO_FILE", pdf.toUtf8());
    folder().setEnv("PELLORA_SCREENSHOT_DIR", folder().file("pellora-shots").toUtf8());
    folder().setEnv("QT_QPA_PLATFORM", "offscreen");
    // In a sanitized build the label program's exit must not turn Qt's own one-off allocations
    // (screens of the offscreen platform) into a failing exit code.
    folder().setEnv("ASAN_OPTIONS", "detect_leaks=0");
    EXPECT_TRUE(driver.run("Label Printing", [&] { frame.onPellora(); }).empty());
    const QList<QProcess*> processes = frame.findChildren<QProcess*>();
    ASSERT_EQ(processes.size(), 1);
    ASSERT_TRUE(processes[0]->waitForFinished(60000)) << processes[0]->readAllStandardError().constData();
    EXPECT_EQ(processes[0]->exitCode(), 0) << processes[0]->readAllStandardError().constData();
    ASSERT_TRUE(QFile::exists(pdf));
    const auto exchanges = service.exchanges();
    ASSERT_EQ(exchanges.size(), 2u);
    EXPECT_NE(exchanges[1].request.find("\"device_id\":\"" + serial.toStdString() + "\""), std::string::npos);

    const QUrl base(QString::fromStdString(service.baseUrl()));
    const QString link = QStringLiteral("https://%1:%2/home/account/device-qrcode?device_id=%3")
                             .arg(base.host())
                             .arg(base.port())
                             .arg(serial);
    ASSERT_EQ(QProcess::execute("pdftoppm", {"-r", "300", "-png", pdf, folder().file("page")}), 0);
    const QStringList pages = QDir(folder().path()).entryList({"page*.png"}, QDir::Files, QDir::Name);
    ASSERT_EQ(pages.size(), 2);
    for (const QString& page : pages) {
        const QStringList codes =
            run("zbarimg", {"-q", "--raw", folder().file(page)}).split('\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(codes.isEmpty()) << page.toStdString();
        for (const QString& code : codes)
            EXPECT_EQ(code, link) << page.toStdString();
    }
}

} // namespace
