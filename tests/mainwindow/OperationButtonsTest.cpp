// The batch buttons, the upgrade package choice and the label program's start, against the
// simulated fleet; and the stored language taking effect at start-up.
#include "DeviceManager.h"
#include "MainFrame.h"
#include "FleetTest.h"
#include "SearchLogin.h"
#include "ShowResultDialog.h"
#include "SysConfigDialog.h"
#include "TipDialog.h"
#include "modifyupgradewidget.h"

#include "camsim/SimControl.h"
#include "harness/LogCapture.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTextCodec>
#include <QTranslator>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <set>

class MainFrameTestAccess {
public:
    static QLineEdit* upgradeEdit(MainFrame& frame) { return frame._upgradeFileEdit; }
    static PendingList<DeviceResultInfo>& rebootList(MainFrame& frame) { return frame._rebootList; }
};

namespace {

using Access = MainFrameTestAccess;
using mwtest::addRow;
using Slot = void (MainFrame::*)();

const char* const kWarningIcon = "./skin/client/default/MainFrame/icon_warning.png";

// A stand-in label program: records its process id, working folder, arguments and the ini it
// found beside itself into run.<pid> in its own folder, then stays up until it is ended.
const char* const kLabelScript = R"sh(#!/bin/sh
here=$(dirname "$0")
{ echo "pid=$$"; echo "cwd=$(pwd)"; echo "args=$*"; cat "$here/PelloraInfo.ini"; } > "$here/.run.$$"
mv "$here/.run.$$" "$here/run.$$"
exec sleep 60
)sh";

bool alive(qint64 pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH);
}

class ButtonsTest : public mwtest::FleetTest {
protected:
    void SetUp() override {
        mwtest::FleetTest::SetUp();
        if (HasFatalFailure())
            return;
        camsim::useFleet(camsim::defaultFleet(3));
        // Message boxes are recorded with whether they carry the warning icon; the rest closes.
        closer().setDecider([this](QWidget* widget) {
            if (auto* tip = qobject_cast<TipDialog*>(widget)) {
                const QPixmap icon = tip->iconLabel->pixmap(Qt::ReturnByValue);
                const bool warning = !icon.isNull() && icon.toImage() == QPixmap(kWarningIcon).toImage();
                warnings << tip->textLabel->text() + (warning ? "" : " (no warning icon)");
                return harness::ModalCloser::Action::Accept;
            }
            if (decide)
                return decide(widget);
            return harness::ModalCloser::Action::Reject;
        });
    }
    // Writes the stand-in label program into folder/Pellora.
    static void installLabelProgram(const QString& folder, const char* script) {
        ASSERT_TRUE(QDir().mkpath(folder + "/Pellora"));
        QFile file(folder + "/Pellora/Pellora");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(script);
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // The runs the stand-in recorded, oldest first by process id order of appearance.
    static QStringList runs(const QString& folder) {
        QStringList out;
        const QDir dir(folder + "/Pellora");
        for (const QString& name : dir.entryList({"run.*"}, QDir::Files, QDir::Time | QDir::Reversed)) {
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                out << QString::fromUtf8(file.readAll());
        }
        return out;
    }
    static qint64 pidOf(const QString& run) { return run.section('\n', 0, 0).section('=', 1).toLongLong(); }

    QStringList warnings;
    std::function<harness::ModalCloser::Action(QWidget*)> decide;
};

TEST_F(ButtonsTest, EveryButtonRefusesAWrongSelectionWithItsWarning) {
    MainFrame frame;
    addRow(frame, "127.0.9.1", "AA:00:00:00:09:01", "SN-1");
    addRow(frame, "127.0.9.2", "AA:00:00:00:09:02", "SN-2");
    const QString select = "Please select the device first!";
    struct Case {
        const char* name;
        Slot slot;
        std::vector<int> checked;
        QString path;
        QString warning;
    } cases[] = {
        {"sync time", &MainFrame::onSyncTime, {}, "", select},
        {"OSD", &MainFrame::onModifyOSD, {}, "", select},
        {"SD card", &MainFrame::onCheckSDcard, {}, "", select},
        {"ten zoom", &MainFrame::onTenZoom, {}, "", select},
        {"upgrade, no rows", &MainFrame::onUpgrade, {}, "/tmp/package.bin", select},
        {"upgrade, no package", &MainFrame::onUpgrade, {0, 1}, "", "Please choose upgrade package!"},
        {"label, no rows", &MainFrame::onPellora, {}, "", "Please select a device!"},
        {"label, two rows", &MainFrame::onPellora, {0, 1}, "", "Please select a device!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frame.deviceTable()->setRowChecked(0, false);
        frame.deviceTable()->setRowChecked(1, false);
        for (int row : c.checked)
            frame.deviceTable()->setRowChecked(row, true);
        ASSERT_EQ(frame.checkedRows().size(), int(c.checked.size()));
        Access::upgradeEdit(frame)->setText(c.path);
        warnings.clear();
        const std::size_t before = modals().size();
        (frame.*c.slot)();
        EXPECT_EQ(warnings, QStringList{c.warning});
        EXPECT_EQ(modals().size(), before + 1) << "nothing but the warning";
    }
    EXPECT_TRUE(QDir(dir() + "/Pellora").entryList({"run.*"}).isEmpty());
}

TEST_F(ButtonsTest, BatchesReachExactlyTheCheckedDevices) {
    const QString package = dir() + "/firmware.bin";
    {
        QFile file(package);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(2048, 'p'));
    }
    MainFrame frame;
    ASSERT_TRUE(frametest::searchAndLogin(frame, 3));
    frame.deviceTable()->setRowChecked(0, true);
    frame.deviceTable()->setRowChecked(2, true);
    const QVector<QStringList> checked = frame.checkedRows();
    ASSERT_EQ(checked.size(), 2);
    const std::set<std::string> expected{checked[0].value(8).toStdString(),
                                         checked[1].value(8).toStdString()};
    Access::upgradeEdit(frame)->setText(package);

    // The upgrade window is closed once every device has finished.
    decide = [&frame](QWidget* widget) {
        if (!qobject_cast<modifyupgradewidget*>(widget))
            return harness::ModalCloser::Action::Accept;
        const QList<QStringList> results = frame.engine()->upgradeResults();
        bool done = results.size() == 2;
        for (const QStringList& entry : results)
            done = done && (entry.value(1) == "100" || entry.value(1) == "0");
        return done ? harness::ModalCloser::Action::Close : harness::ModalCloser::Action::Leave;
    };
    struct Case {
        const char* name;
        Slot slot;
        const char* sdkCall;
        const char* window; // what the engine shows afterwards, if anything
    } cases[] = {
        {"sync time", &MainFrame::onSyncTime, "KVX_NET_SetTimeParam", "ShowResultDialog"},
        {"OSD", &MainFrame::onModifyOSD, "KVX_NET_SetOSD2", "ShowResultDialog"},
        {"SD card", &MainFrame::onCheckSDcard, "KVX_NET_GetStorageInfo2", "ShowResultDialog"},
        {"ten zoom", &MainFrame::onTenZoom, "KVX_NET_SetCpldData", nullptr},
        {"upgrade", &MainFrame::onUpgrade, "KVX_NET_Upgrade", "modifyupgradewidget"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        camsim::clearCallLog();
        const std::size_t before = modals().size();
        (frame.*c.slot)();
        std::set<std::string> reached;
        for (const camsim::CallRecord& call : camsim::calls(c.sdkCall)) {
            reached.insert(call.camera);
            if (std::string(c.sdkCall) == "KVX_NET_Upgrade") {
                EXPECT_EQ(call.text, package.toStdString());
            }
        }
        EXPECT_EQ(reached, expected);
        ASSERT_EQ(modals().size(), before + (c.window ? 1 : 0));
        if (c.window) {
            EXPECT_EQ(modals().back().className, c.window);
        }
        EXPECT_EQ(frame.checkedRows(), checked);
    }
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join("; ").toStdString();
}

// The real picker: Qt's own dialog, driven as a user would once it is up; the choice is taken
// whether or not the name field already has the focus (selectFile() alone leaves a focused field
// empty, and the dialog then never accepted). Cancel clears the package. CORVANE_OPEN_FILE
// answers without the dialog.
TEST_F(ButtonsTest, FileDialogChoosesThePackageAndCancelClearsIt) {
    // A package name need not hold a dot: the picker lists every file.
    const QString package = dir() + "/firmware";
    {
        QFile file(package);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    enum class Pick { Choose, ChooseWithFocus, Cancel };
    Pick pick = Pick::Choose;
    bool listsPackage = false;
    QString caption;
    int dialogs = 0;
    decide = [&](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        if (!dialog)
            return harness::ModalCloser::Action::Reject;
        ++dialogs;
        caption = dialog->windowTitle() + " " + dialog->nameFilters().join(";");
        if (auto* files = dialog->findChild<QFileSystemModel*>())
            listsPackage = QDir::match(files->nameFilters().join(' '), "firmware");
        if (pick == Pick::Cancel)
            return harness::ModalCloser::Action::Reject;
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        EXPECT_NE(name, nullptr) << "Qt's own dialog";
        if (pick == Pick::ChooseWithFocus && name) {
            QApplication::setActiveWindow(dialog);
            name->setFocus();
            EXPECT_TRUE(name->hasFocus());
        }
        harness::ModalCloser::chooseFile(dialog, package);
        return harness::ModalCloser::Action::Leave;
    };
    MainFrame frame;
    addRow(frame, "127.0.9.1", "AA:00:00:00:09:01", "SN-1");
    frame.deviceTable()->setRowChecked(0, true);
    QLineEdit* edit = Access::upgradeEdit(frame);

    for (Pick choice : {Pick::Choose, Pick::ChooseWithFocus}) {
        pick = choice;
        edit->clear();
        frame.onSelectFilePath();
        EXPECT_EQ(caption, "Open All(*)");
        EXPECT_TRUE(listsPackage);
        EXPECT_EQ(QFileInfo(edit->text()), QFileInfo(package));
    }
    pick = Pick::Cancel;
    frame.onSelectFilePath();
    EXPECT_TRUE(edit->text().isEmpty());
    frame.onUpgrade();
    EXPECT_EQ(warnings, QStringList{"Please choose upgrade package!"});
    EXPECT_EQ(dialogs, 3);

    // The seam: no dialog; an empty value is a cancel.
    qputenv("CORVANE_OPEN_FILE", package.toUtf8());
    frame.onSelectFilePath();
    EXPECT_EQ(edit->text(), package);
    qputenv("CORVANE_OPEN_FILE", "");
    frame.onSelectFilePath();
    EXPECT_TRUE(edit->text().isEmpty());
    qunsetenv("CORVANE_OPEN_FILE");
    EXPECT_EQ(dialogs, 3);
}

// The label program is started from the folder the ini is written under, not from the working
// folder (which here holds a stale decoy); a second click ends the first program.
TEST_F(ButtonsTest, LabelProgramStartsBesideItsIniAndARestartEndsTheFirst) {
    const QString program = dir() + "/program";
    ASSERT_NO_FATAL_FAILURE(installLabelProgram(program, kLabelScript));
    ASSERT_NO_FATAL_FAILURE(installLabelProgram(dir(), "#!/bin/sh\ntouch \"$(dirname \"$0\")/run.decoy\"\n"));
    qputenv("CORVANE_PROGRAM_DIR", program.toUtf8());

    auto frame = std::make_unique<MainFrame>();
    addRow(*frame, "127.0.9.1", "AA:00:00:00:09:01", "SN-FIRST");
    addRow(*frame, "127.0.9.2", "AA:00:00:00:09:02", "SN-SECOND");
    CTableView* table = frame->deviceTable();

    table->setRowChecked(0, true);
    frame->onPellora();
    ASSERT_TRUE(harness::waitFor([&] { return runs(program).size() == 1; }, 10000));
    const QString first = runs(program).at(0);
    EXPECT_TRUE(first.contains("\ncwd=" + QDir(program).canonicalPath() + "\n")) << first.toStdString();
    EXPECT_TRUE(first.contains("\nargs=-style fusion\n")) << first.toStdString();
    EXPECT_TRUE(first.contains("SN=SN-FIRST")) << first.toStdString();
    EXPECT_TRUE(first.contains("MAC=AA:00:00:00:09:01")) << first.toStdString();
    EXPECT_TRUE(alive(pidOf(first)));

    table->setRowChecked(0, false);
    table->setRowChecked(1, true);
    frame->onPellora();
    EXPECT_FALSE(alive(pidOf(first))) << "the first label program is ended before the second starts";
    ASSERT_TRUE(harness::waitFor([&] { return runs(program).size() == 2; }, 10000));
    const QString second = runs(program).at(1);
    EXPECT_TRUE(second.contains("SN=SN-SECOND")) << second.toStdString();
    EXPECT_TRUE(alive(pidOf(second)));

    frame.reset();
    EXPECT_FALSE(alive(pidOf(second))) << "the window's end ends the label program";
    EXPECT_FALSE(QFile::exists(dir() + "/Pellora/run.decoy"));
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join("; ").toStdString();
}

TEST_F(ButtonsTest, LabelProgramThatCannotStartIsLoggedAndReported) {
    const QString program = dir() + "/empty-program";
    ASSERT_TRUE(QDir().mkpath(program + "/Pellora"));
    qputenv("CORVANE_PROGRAM_DIR", program.toUtf8());
    harness::LogCapture log;
    MainFrame frame;
    addRow(frame, "127.0.9.1", "AA:00:00:00:09:01", "SN-1");
    frame.deviceTable()->setRowChecked(0, true);
    frame.onPellora();
    ASSERT_TRUE(harness::waitFor([&] { return !warnings.isEmpty(); }, 10000));
    EXPECT_EQ(warnings, QStringList{"The label program cannot be started!"});
    EXPECT_TRUE(
        log.contains("MainFrame::onPellora", "cannot start " + program.toStdString() + "/Pellora/Pellora"));
}

// The stored language is applied when the framework starts: captions are translated and a text
// without a translation stays English.
TEST_F(ButtonsTest, StoredChineseTakesEffectAtTheNextStart) {
    ozmParamsMgr()->setCurrentLanCode("zh_CN");
    {
        MainFrame english;
        EXPECT_NE(english.findChild<QPushButton*>(), nullptr);
        QStringList captions;
        for (QPushButton* button : english.findChildren<QPushButton*>())
            captions << button->text();
        EXPECT_TRUE(captions.contains("Device Search")) << "saving alone changes nothing";
    }
    ASSERT_TRUE(OzmLogic::instance()->init(harness::qtApp()));
    {
        MainFrame frame;
        QStringList captions;
        for (QPushButton* button : frame.findChildren<QPushButton*>())
            captions << button->text();
        for (const char* text : {"搜索设备", "同步时间", "标签打印", "文件升级", "十倍变焦"})
            EXPECT_TRUE(captions.contains(QString::fromUtf8(text))) << text;
        EXPECT_FALSE(captions.contains("Device Search"));
        EXPECT_EQ(QCoreApplication::translate("MainFrame", "A text nobody translated"),
                  "A text nobody translated");
        // Qt's own texts (standard buttons, the file dialog) follow the language as well.
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));

        frame.onSyncTime();
        EXPECT_EQ(warnings, QStringList{QString::fromUtf8("请先选择设备！")});
    }
    SysConfigDialog settings;
    EXPECT_EQ(settings.findChild<QComboBox*>()->currentText(), QString::fromUtf8("中文"));

    // Back to English at the next start.
    ozmParamsMgr()->setCurrentLanCode("en_US");
    ASSERT_TRUE(OzmLogic::instance()->init(harness::qtApp()));
    MainFrame frame;
    QStringList captions;
    for (QPushButton* button : frame.findChildren<QPushButton*>())
        captions << button->text();
    EXPECT_TRUE(captions.contains("Device Search"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}

// A translation of every text: what any language does to texts compared with the engine's.
class EveryTextTranslated : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override {
        return QStringLiteral("<") + QString::fromUtf8(source) + QStringLiteral(">");
    }
};

// The engine sends its row results untranslated; the window recognises them in any language.
TEST_F(ButtonsTest, EngineResultsAreRecognisedInAnyLanguage) {
    EveryTextTranslated translation;
    QCoreApplication::installTranslator(&translation);
    MainFrame frame;
    auto& reboots = Access::rebootList(frame);
    DeviceResultInfo record{};
    record.kind = 6;
    std::snprintf(record.mac, sizeof(record.mac), "%s", "AA:00:00:00:09:01");
    reboots = {record};
    struct Case {
        int code;
        const char* text;
        int status;
        int loginState;
    } cases[] = {
        {11, "Reboot Success", 1, 0},        {11, "Reboot Failed", 2, 0},
        {12, "Full Recovery Success", 1, 0}, {13, "SimpleRecovery Success", 1, 0},
        {13, "Full Recovery Success", 2, 0}, {10, "Login Successful", 0, 1001},
        {10, "Login Failed", 0, 1002},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        reboots[0].status = 0;
        reboots[0].loginState = 0;
        QStringList texts{"AA:00:00:00:09:01", c.text};
        OZM::_NOTIFY_PARAM param{c.code, &texts};
        MainFrame::notifyCallback(&param, &frame);
        EXPECT_EQ(reboots[0].status, c.status);
        EXPECT_EQ(reboots[0].loginState, c.loginState);
    }
    QCoreApplication::removeTranslator(&translation);
}

} // namespace
