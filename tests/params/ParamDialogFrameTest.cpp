// The dialog's frame: tree, check boxes and pages in step, the enable flags, the save sequence's
// stop and skip rules, the main window's button, and Return in every dialog of the program.
#include "ParamDialogTestSupport.h"
#include "SettingPagesTestAccess.h"
#include "frame/FamilyCaptions.h"

#include "AboutUsDialog.h"
#include "ImageTestDialog.h"
#include "MainFrame.h"
#include "PelloraDialog.h"
#include "PlayCheckDeviceDialog.h"
#include "PlayDialog.h"
#include "PreviewTestSupport.h"
#include "PtzAndAudioDeviceDialog.h"
#include "SetIPDialog.h"
#include "SetOsdDialog.h"
#include "ShowResultDialog.h"
#include "ShowResultDlgEx.h"
#include "SysConfigDialog.h"
#include "TipDialog.h"
#include "ViewQRcodeDialog.h"
#include "modifyupgradewidget.h"
#include "ozmlogic/OzmLogic.h"

#include "harness/TestDir.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>
#include <vector>

using namespace paramtest;

namespace {

struct TreeEvent {
    QTreeWidgetItem* item;
    ACTION_EVENT_TYPE action;
};

std::vector<Qt::CheckState> familyStates(MultiTreeWidget& tree) {
    std::vector<Qt::CheckState> states;
    for (int i = 0; i < MultiTreeWidget::kFamilyCount; ++i)
        states.push_back(tree.familyItem(i)->checkState(0));
    return states;
}

std::vector<Qt::CheckState> groupStates(MultiTreeWidget& tree) {
    std::vector<Qt::CheckState> states;
    for (int i = 0; i < tree.treeWidget()->topLevelItemCount(); ++i)
        states.push_back(tree.treeWidget()->topLevelItem(i)->checkState(0));
    return states;
}

constexpr Qt::CheckState U = Qt::Unchecked;
constexpr Qt::CheckState C = Qt::Checked;

} // namespace

TEST_F(ParamDialogTest, TreeKeepsGroupsAndFamiliesInStep) {
    MultiTreeWidget tree;
    std::vector<TreeEvent> events;
    QObject::connect(&tree, &MultiTreeWidget::configItemChange,
                     [&](QTreeWidgetItem* item, int, ACTION_EVENT_TYPE action) {
                         events.push_back({item, action});
                     });
    QTreeWidget* view = tree.treeWidget();

    // Five groups with their families in page-index order, all unchecked and user-checkable.
    const QStringList groups{"Network Parameters", "Media Setting", "Alarm Setting", "System Setting",
                             "Hardware Setting"};
    const int childCounts[] = {5, 5, 1, 3, 1};
    QStringList families;
    ASSERT_EQ(5, view->topLevelItemCount());
    for (int g = 0; g < 5; ++g) {
        QTreeWidgetItem* group = view->topLevelItem(g);
        EXPECT_EQ(groups[g], group->text(0));
        ASSERT_EQ(childCounts[g], group->childCount());
        for (int c = 0; c < group->childCount(); ++c) {
            families << group->child(c)->text(0);
            EXPECT_EQ(Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled,
                      group->child(c)->flags());
        }
    }
    EXPECT_EQ(MultiTreeWidget::familyTexts(), families);
    EXPECT_EQ(QStringList({"TCP/IP Setting", "Port Setting", "DDNS Setting", "P2P Setting", "GB28181 Setting",
                           "Video Setting", "Audio Setting", "OSD Setting", "Image Setting", "Privacy Mask",
                           "Motion Alarm", "Account Manage", "Time Setting", "Regular Maintain",
                           "Audio Lgtboard In"}),
              families);
    EXPECT_TRUE(events.empty());

    // Checking a group checks its families with one event for the group.
    QTreeWidgetItem* network = view->topLevelItem(0);
    network->setCheckState(0, C);
    EXPECT_EQ((std::vector<Qt::CheckState>{C, C, C, C, C, U, U, U, U, U, U, U, U, U, U}), familyStates(tree));
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(network, events[0].item);
    EXPECT_EQ(ACTION_ITEM_CHECKED, events[0].action);

    // Some but not all families checked: the group keeps its state, either way.
    struct Step {
        int family;
        Qt::CheckState state;
        Qt::CheckState networkAfter;
    };
    const Step steps[] = {{2, U, C}, {0, U, C}, {1, U, C}, {3, U, C}, {4, U, U},
                          {4, C, U}, {1, C, U}, {0, C, U}, {3, C, U}, {2, C, C}};
    for (const Step& step : steps) {
        events.clear();
        tree.familyItem(step.family)->setCheckState(0, step.state);
        EXPECT_EQ(step.networkAfter, network->checkState(0)) << "family " << step.family;
        ASSERT_EQ(1u, events.size());
        EXPECT_EQ(tree.familyItem(step.family), events[0].item);
    }

    // A one-family group follows its family.
    QTreeWidgetItem* hardware = view->topLevelItem(4);
    tree.familyItem(14)->setCheckState(0, C);
    EXPECT_EQ(C, hardware->checkState(0));
    tree.familyItem(14)->setCheckState(0, U);
    EXPECT_EQ(U, hardware->checkState(0));

    // Each enable caption reaches exactly its family; other texts and unchanged states nothing.
    network->setCheckState(0, U);
    const QStringList captions = MultiTreeWidget::enableCaptions();
    ASSERT_EQ(15, captions.size());
    for (int i = 0; i < 15; ++i) {
        events.clear();
        tree.onCheckBoxStateChange(captions[i], C);
        std::vector<Qt::CheckState> expected(15, U);
        expected[i] = C;
        EXPECT_EQ(expected, familyStates(tree)) << qPrintable(captions[i]);
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(tree.familyItem(i), events.back().item);
        events.clear();
        tree.onCheckBoxStateChange(captions[i], C);
        EXPECT_TRUE(events.empty());
        tree.onCheckBoxStateChange(captions[i], U);
    }
    events.clear();
    tree.onCheckBoxStateChange("Setting Nothing", C);
    tree.onCheckBoxStateChange("Motion Alarm", C); // a leaf's text is not a caption
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(std::vector<Qt::CheckState>(15, U), familyStates(tree));

    // A press is reported as such.
    emit view->itemPressed(tree.familyItem(6), 0);
    ASSERT_EQ(1u, events.size());
    EXPECT_EQ(ACTION_ITEM_PRESSED, events[0].action);
}

TEST_F(ParamDialogTest, DialogOpensOnTheStoredFlagsOnPageZero) {
    const QStringList& captions = frametest::kFamilyCaptions;
    // Flags as stored (only 1 is set, as the run applies only 1), and the groups the tree then shows.
    const std::vector<std::tuple<std::vector<int>, std::vector<Qt::CheckState>>> cases = {
        {std::vector<int>(15, 0), {U, U, U, U, U}},
        {std::vector<int>(15, 1), {C, C, C, C, C}},
        {{1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 7, 0, 0, 0, -1}, {C, U, U, U, U}},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1}, {U, U, C, U, C}},
        {{0, 1, 0, 0, 0, 1, 1, 1, 1, 1, 0, 1, 1, 1, 0}, {U, C, U, C, U}},
    };
    for (const auto& c : cases) {
        const std::vector<int>& flags = std::get<0>(c);
        OZM::SC_OTHERPARAMENABLE stored{};
        for (int i = 0; i < 15; ++i)
            stored.flag[i] = flags[i];
        ozmParamsMgr()->setOtherParamEnable(&stored);

        auto d = open();
        EXPECT_EQ(760, d->height());
        EXPECT_EQ(15, A::stack(*d)->count());
        EXPECT_EQ(0, A::stack(*d)->currentIndex());
        MultiTreeWidget* tree = A::tree(*d);
        for (int i = 0; i < 15; ++i) {
            EXPECT_EQ(captions[i], A::enable(*d, i)->text());
            EXPECT_EQ("pageSetFrame", A::frame(*d, i)->objectName());
            EXPECT_EQ(A::frame(*d, i), A::stack(*d)->widget(i));
            EXPECT_EQ(flags[i] == 1, A::enable(*d, i)->isChecked()) << i;
            EXPECT_EQ(flags[i] == 1 ? C : U, tree->familyItem(i)->checkState(0)) << i;
        }
        EXPECT_EQ(std::get<1>(c), groupStates(*tree));
    }
}

TEST_F(ParamDialogTest, TreeCheckBoxesAndPagesMoveTogether) {
    auto d = open();
    MultiTreeWidget* tree = A::tree(*d);
    QTreeWidget* view = tree->treeWidget();

    // A pressed family shows its page and gives its check box the item's state.
    tree->familyItem(5)->setCheckState(0, C);
    A::enable(*d, 5)->setChecked(false);
    emit view->itemPressed(tree->familyItem(5), 0);
    EXPECT_EQ(5, A::stack(*d)->currentIndex());
    EXPECT_TRUE(A::enable(*d, 5)->isChecked());
    // A pressed group changes nothing.
    emit view->itemPressed(view->topLevelItem(1), 0);
    EXPECT_EQ(5, A::stack(*d)->currentIndex());

    // Clicking a page's check box checks its leaf and shows its page; its group follows.
    for (int i : {7, 6, 8, 9}) {
        A::enable(*d, i)->click();
        EXPECT_EQ(i, A::stack(*d)->currentIndex());
        EXPECT_EQ(C, tree->familyItem(i)->checkState(0));
    }
    EXPECT_EQ(C, view->topLevelItem(1)->checkState(0));
    A::enable(*d, 9)->click();
    EXPECT_EQ(U, tree->familyItem(9)->checkState(0));
    EXPECT_EQ(C, view->topLevelItem(1)->checkState(0));

    // A checked group checks the check boxes of its pages only.
    const std::vector<std::pair<int, std::vector<int>>> groups = {
        {0, {0, 1, 2, 3, 4}}, {2, {10}}, {3, {11, 12, 13}}, {4, {14}}};
    for (const auto& group : groups) {
        std::vector<bool> before;
        for (int i = 0; i < 15; ++i)
            before.push_back(A::enable(*d, i)->isChecked());
        view->topLevelItem(group.first)->setCheckState(0, C);
        for (int i = 0; i < 15; ++i) {
            const bool member = std::find(group.second.begin(), group.second.end(), i) != group.second.end();
            EXPECT_EQ(member ? true : bool(before[i]), A::enable(*d, i)->isChecked())
                << group.first << "/" << i;
        }
        view->topLevelItem(group.first)->setCheckState(0, U);
        for (int i : group.second)
            EXPECT_FALSE(A::enable(*d, i)->isChecked());
    }
}

TEST_F(ParamDialogTest, SaveSequenceStopsAtTheFirstFailureAndSkipsDisabledFamilies) {
    struct Case {
        const char* name;
        std::vector<int> enabled;
        std::function<void(OtherParamConfigDlg&)> breakPage;
        QString message;
        // Stored afterwards: TCP/IP, port, DDNS, P2P, GB28181.
        std::vector<bool> stored;
        // A refusal shows the page of the refused field (tree item current) with it focused;
        // a success leaves page 0.
        int page = 0;
        std::function<QWidget*(OtherParamConfigDlg&)> refused = nullptr;
    };
    using S = SettingPagesTestAccess;
    const QString success = "Save Success!";
    const std::vector<Case> cases = {
        {"all disabled", {}, nullptr, success, {true, true, false, true, false}},
        {"all enabled", {0, 1, 2, 3, 4, 5, 9, 14}, nullptr, success, {true, true, true, true, true}},
        {"bad TCP/IP, disabled",
         {7},
         [](OtherParamConfigDlg& d) { A::ip(d)->setText("127.0.0.0"); },
         "Invalid IP address!",
         {false, false, false, false, false},
         0,
         [](OtherParamConfigDlg& d) { return A::ip(d); }},
        {"bad netmask after opening another page",
         {},
         [](OtherParamConfigDlg& d) {
             A::mask(d)->setText("255.0.255.0");
             A::stack(d)->setCurrentIndex(11);
         },
         "Invalid Netmask address!",
         {false, false, false, false, false},
         0,
         [](OtherParamConfigDlg& d) { return A::mask(d); }},
        {"bad port",
         {2, 4},
         [](OtherParamConfigDlg& d) { A::http(d)->setText("81"); },
         "The effective value of HTTP port is 80 or from 1024 to 65535!",
         {true, false, false, false, false},
         1,
         [](OtherParamConfigDlg& d) { return A::http(d); }},
        {"repeated port",
         {},
         [](OtherParamConfigDlg& d) { A::onvif(d)->setText(A::rtsp(d)->text()); },
         "The port is repeated!",
         {true, false, false, false, false},
         1,
         [](OtherParamConfigDlg& d) { return A::rtsp(d); }},
        {"bad DDNS, enabled",
         {2},
         [](OtherParamConfigDlg& d) { A::ddnsConfirm(d)->setText("Other1"); },
         "DDNS Password twice inconsistent!",
         {true, true, false, false, false},
         2,
         [](OtherParamConfigDlg& d) { return A::ddnsConfirm(d); }},
        {"bad DDNS, disabled",
         {4},
         [](OtherParamConfigDlg& d) { A::ddnsConfirm(d)->setText("Other1"); },
         success,
         {true, true, false, true, true}},
        {"bad GB28181, enabled",
         {4},
         [](OtherParamConfigDlg& d) { A::gbEdits(d)[1]->setText("123"); },
         "GB28181 ServerId Please enter 20 digits!",
         {true, true, false, true, false},
         4,
         [](OtherParamConfigDlg& d) { return A::gbEdits(d)[1]; }},
        {"bad time, enabled",
         {12},
         [](OtherParamConfigDlg& d) {
             S::time(d)->autoSyncCombo()->setCurrentIndex(0);
             S::time(d)->intervalEdit()->setText("0");
         },
         "The effective value of time interval is from 1 to 10080!",
         {true, true, false, true, false},
         12,
         [](OtherParamConfigDlg& d) { return S::time(d)->intervalEdit(); }},
        {"bad account, enabled",
         {11},
         [](OtherParamConfigDlg& d) { S::confirm(d)->setText("Different9"); },
         "Account Password twice inconsistent!",
         {true, true, false, true, false},
         11,
         [](OtherParamConfigDlg& d) { return S::confirm(d); }},
        {"bad GB28181, disabled",
         {2},
         [](OtherParamConfigDlg& d) { A::gbEdits(d)[1]->setText("123"); },
         success,
         {true, true, true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        storeValidNetworkRecords();
        auto d = open();
        for (int i : c.enabled)
            A::enable(*d, i)->setChecked(true);
        // A valid change on every network page shows whether that page was stored.
        A::ip(*d)->setText("127.0.0.21");
        A::http(*d)->setText("8081");
        A::domain(*d)->setText("marked.example");
        A::p2p(*d)->setChecked(true);
        A::gbEdits(*d)[0]->setText("5070");
        if (c.breakPage)
            c.breakPage(*d);

        EXPECT_EQ(QStringList{c.message}, messagesOf([&] { A::saveButton(*d)->click(); }));
        EXPECT_EQ(A::stack(*d)->currentIndex(), c.page) << "the page of the refused field";
        if (c.refused) {
            EXPECT_EQ(d->focusWidget(), c.refused(*d)) << "the refused field has the focus";
            EXPECT_EQ(A::tree(*d)->treeWidget()->currentItem(), A::tree(*d)->familyItem(c.page));
        }

        const auto flags = freshRecord(&ParamsMgr::getOtherParamEnable);
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(A::enable(*d, i)->isChecked() ? 1 : 0, flags.flag[i]) << "flag " << i;
        EXPECT_EQ(c.stored[0], QString(freshRecord(&ParamsMgr::getTcpIpInfo).ip) == "127.0.0.21");
        EXPECT_EQ(c.stored[1], freshRecord(&ParamsMgr::getPortParamInfo).httpPort == 8081);
        EXPECT_EQ(c.stored[2], QString(freshRecord(&ParamsMgr::getDDNSInfo).domain) == "marked.example");
        EXPECT_EQ(c.stored[3], ParamsMgr(storeFolder()).getP2PInfo() == 1);
        EXPECT_EQ(c.stored[4], freshRecord(&ParamsMgr::getGb28181Info).localSipPort == 5070);
    }
}

TEST_F(ParamDialogTest, StoreThatCannotWriteIsReportedNotSuccess) {
    auto d = open();
    const QString folder = storeFolder();
    const QString away = folder + ".away";
    ASSERT_TRUE(QDir().rename(folder, away));
    {
        QFile blocker(folder); // a file where the store's folder should be
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    A::p2p(*d)->setChecked(true);
    const QStringList messages = messagesOf([&] { A::saveButton(*d)->click(); });
    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().rename(away, folder));

    EXPECT_EQ(QStringList{"Save Failed! The settings could not be written."}, messages);
    // Saved again once the store can write.
    EXPECT_EQ(QStringList{"Save Success!"}, messagesOf([&] { A::saveButton(*d)->click(); }));
    EXPECT_EQ(1, ParamsMgr(folder).getP2PInfo());
}

// ---- main window -------------------------------------------------------------------------------

class MainFrameTestAccess {
public:
    static QPushButton* configButton(MainFrame& frame) { return frame._configParamBtn; }
};

TEST_F(ParamDialogTest, MainWindowButtonOpensTheDialogAndEscapeSavesNothing) {
    harness::TestDir dir;
    ASSERT_TRUE(dir.enter());
    dir.setEnv("CORVANE_PROGRAM_DIR", dir.path().toUtf8());
    ASSERT_TRUE(OzmLogic::instance()->init(harness::qtApp()));
    OZM::SC_OTHERPARAMENABLE flags{};
    flags.flag[3] = 1;
    ozmParamsMgr()->setOtherParamEnable(&flags);

    MainFrame frame;
    QFile file(ozmParamsMgr()->filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    harness::ModalCloser closer;
    closer.setDecider([](QWidget* modal) {
        if (auto* dialog = qobject_cast<OtherParamConfigDlg*>(modal)) {
            A::enable(*dialog, 0)->setChecked(true); // an edit that is not saved
            return harness::ModalCloser::Action::Reject;
        }
        return harness::ModalCloser::Action::Accept;
    });
    MainFrameTestAccess::configButton(frame)->click();

    ASSERT_EQ(1, closer.count());
    EXPECT_EQ("OtherParamConfigDlg", closer.seen()[0].className);
    EXPECT_TRUE(closer.seen()[0].labels.contains("Other Settings"));
    EXPECT_TRUE(frame.findChildren<OtherParamConfigDlg*>().isEmpty()); // destroyed after use
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(before, file.readAll());
}

namespace {

// One dialog of the program, opened as its caller opens it (the previews on simulated cameras).
struct OpenedDialog {
    const char* name;
    std::function<QDialog*(const QVector<QStringList>& rows)> open;
    bool hasTextFields = false;
    bool escapeLeaves = true;
};

FixtureGpioItem gpioItem(const char* name, const char* status) {
    FixtureGpioItem item;
    std::memset(&item, 0, sizeof item);
    std::strcpy(item.name, name);
    std::strcpy(item.function, "LED");
    std::strcpy(item.status, status);
    return item;
}

std::vector<OpenedDialog> everyDialog() {
    using Rows = QVector<QStringList>;
    return {
        {"parameter dialog", [](const Rows&) { return new OtherParamConfigDlg(nullptr); }, true},
        {"Set IP", [](const Rows&) { return new SetIPDialog(nullptr); }, true},
        {"Set OSD", [](const Rows&) { return new SetOsdDialog(nullptr); }, true},
        {"System Configuration", [](const Rows&) { return new SysConfigDialog(nullptr); }, true},
        {"label form", [](const Rows&) { return new PelloraDialog(nullptr); }, true},
        {"message box",
         [](const Rows&) {
             auto* tip = new TipDialog(nullptr);
             tip->textLabel->setText("Please select the device first!");
             return tip;
         }},
        {"busy indicator", [](const Rows&) { return new ProgressBarDialog(nullptr); }, false, false},
        {"result table",
         [](const Rows&) {
             auto* d = new ShowResultDialog({"IP", "Set SyncTime"}, nullptr, 354, 239);
             DeviceResultInfo record;
             std::memset(&record, 0, sizeof record);
             std::strcpy(record.ip, "127.0.0.11");
             record.status = 1;
             d->showBatchResult({record});
             return d;
         }},
        {"GPIO result table",
         [](const Rows&) {
             auto* d = new ShowResultDlgEx({"IP", "GPIO Port"}, nullptr, 720, 576);
             FixturePendingInfo record;
             std::memset(&record, 0, sizeof record);
             std::strcpy(record.ip, "127.0.0.11");
             std::strcpy(record.result, "NG");
             record.gpio[0] = gpioItem("GPIO1", "NG");
             record.gpioCount = 1;
             d->showGpioTestResult({record});
             return d;
         }},
        {"GPIO detail",
         [](const Rows&) {
             auto* d = new ShowResultDialog({"Interface", "Features", "Test Result"}, nullptr, 720, 576);
             const FixtureGpioItem items[] = {gpioItem("GPIO1", "OK"), gpioItem("GPIO2", "NG")};
             d->showTestDetail(items, 2);
             return d;
         }},
        {"upgrade window", [](const Rows&) { return new modifyupgradewidget(nullptr); }},
        {"about", [](const Rows&) { return new AboutUsDialog(nullptr); }},
        {"QR code", [](const Rows&) { return new ViewQRcodeDialog(nullptr); }},
        {"preview grid",
         [](const Rows& rows) {
             auto* d = new PlayCheckDeviceDialog(2, 2);
             d->startPlay(rows);
             return d;
         }},
        {"single preview",
         [](const Rows& rows) {
             auto* d = new PlayDialog;
             d->setAttribute(Qt::WA_DeleteOnClose, false); // the test owns it
             d->playDevice(rows.value(0));
             return d;
         }},
        {"PTZ and audio",
         [](const Rows& rows) {
             auto* d = new PtzAndAudioDeviceDialog(2, 2);
             d->startPlay(rows);
             return d;
         }},
        {"image test",
         [](const Rows& rows) {
             auto* d = new ImageTestDialog;
             d->setDeviceList(rows);
             return d;
         }},
    };
}

// Counts the Return and Enter key presses that reach a widget's own handler.
class ReturnsSeen : public QObject {
public:
    explicit ReturnsSeen(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            count += key == Qt::Key_Return || key == Qt::Key_Enter;
        }
        return false;
    }
};

QString widgetName(const QWidget* widget) {
    QString name = QString::fromLatin1(widget->metaObject()->className());
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        name += " \"" + button->text() + "\"";
    if (!widget->objectName().isEmpty())
        name += " #" + widget->objectName();
    return name;
}

} // namespace

// Return and keypad Enter click nothing in any dialog the program opens: not a focused button,
// not the dialog's default button, not one added after the dialog was built, whether the focus
// is in a text field, on a button or on no widget. A text field keeps what was typed; nothing
// is sent to a camera, stored or confirmed, the dialog stays open, and Escape still leaves.
TEST_F(ParamDialogTest, ReturnClicksNothingInAnyDialog) {
    harness::TestDir dir;
    ASSERT_TRUE(dir.enter());
    dir.setEnv("CORVANE_PROGRAM_DIR", dir.path().toUtf8());
    camsim::resetWorld();
    const QVector<QStringList> rows = previewtest::fleetRows(4);
    ASSERT_EQ(rows.size(), 4);
    for (const OpenedDialog& entry : everyDialog()) {
        SCOPED_TRACE(entry.name);
        QFile file(ozmParamsMgr()->filePath());
        const QByteArray before = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.close();
        harness::ModalCloser closer(harness::ModalCloser::Action::Accept);
        std::unique_ptr<QDialog> dialog(entry.open(rows));
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        // A button that comes after the dialog was built, inside a widget of its own.
        auto* lateHost = new QWidget(dialog.get());
        auto* late = new QPushButton("late", lateHost);
        lateHost->setGeometry(0, 0, 40, 20);
        lateHost->show();

        QStringList clicked;
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            QObject::connect(button, &QAbstractButton::clicked,
                             [&clicked, button] { clicked << widgetName(button) + " clicked"; });
            QObject::connect(button, &QAbstractButton::pressed,
                             [&clicked, button] { clicked << widgetName(button) + " pressed"; });
        }
        const std::size_t calls = camsim::callLog().size();
        const auto pressReturn = [&](QWidget* target, const QString& where) {
            QTest::keyClick(target, Qt::Key_Return);
            QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
            QTest::keyClick(target, Qt::Key_Return, Qt::ControlModifier);
            EXPECT_TRUE(clicked.isEmpty()) << where.toStdString() << ": " << clicked.join(", ").toStdString();
            clicked.clear();
            EXPECT_TRUE(dialog->isVisible()) << where.toStdString();
            dialog->show(); // the next case starts open
        };

        int fields = 0;
        for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
            if (!edit->isVisible() || !edit->isEnabled() || edit->isReadOnly())
                continue;
            ++fields;
            edit->setFocus();
            edit->clear();
            QTest::keyClicks(edit, "10.1.2.3");
            const QString typed = edit->text();
            auto* seen = new ReturnsSeen(edit);
            pressReturn(edit, "text field " + widgetName(edit));
            EXPECT_EQ(edit->text(), typed);
            EXPECT_EQ(seen->count, 3) << "the field takes its own Return first";
            delete seen;
        }
        EXPECT_EQ(fields > 0, entry.hasTextFields);
        int buttons = 0;
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (!button->isVisible() || !button->isEnabled())
                continue;
            ++buttons;
            button->setFocus();
            pressReturn(button, "focus on " + widgetName(button));
        }
        EXPECT_GE(buttons, 1) << "the late button at least";
        EXPECT_TRUE(late->isVisible());
        if (QWidget* focus = dialog->focusWidget())
            focus->clearFocus();
        ASSERT_EQ(dialog->focusWidget(), nullptr);
        // Through the window, as a key press arrives: it reaches the dialog itself.
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Return);
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_TRUE(clicked.isEmpty()) << "no focus: " << clicked.join(", ").toStdString();
        EXPECT_TRUE(dialog->isVisible()) << "no focus";

        std::vector<std::string> sent;
        const std::vector<camsim::CallRecord> log = camsim::callLog();
        for (std::size_t i = calls; i < log.size(); ++i)
            sent.push_back(log[i].function);
        EXPECT_TRUE(sent.empty()) << "sent to the cameras: " << ::testing::PrintToString(sent);
        EXPECT_EQ(closer.count(), 0) << "no message: nothing was confirmed or saved";
        ASSERT_TRUE(file.open(QIODevice::ReadOnly) || before.isEmpty());
        EXPECT_EQ(file.readAll(), before) << "nothing stored";
        file.close();
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        EXPECT_EQ(!dialog->isVisible(), entry.escapeLeaves) << "Escape";
        dialog.reset();
    }
    EXPECT_TRUE(camsim::calls("KVX_NET_PTZCtrl").empty()) << "no PTZ command reached a camera";
    camsim::resetWorld();
}

// A page's warning shows the warning icon; "Save Success!" the success icon.
TEST_F(ParamDialogTest, WarningAndSuccessCarryTheirIcons) {
    harness::TestDir dir;
    ASSERT_TRUE(dir.enter()); // the skin beside the working folder
    const QImage warning("./skin/client/default/MainFrame/icon_warning.png");
    const QImage success("./skin/client/default/MainFrame/icon_notification_success.png");
    ASSERT_FALSE(warning.isNull());
    ASSERT_FALSE(success.isNull());
    ASSERT_NE(warning, success);
    auto d = open();
    std::vector<std::pair<QString, QImage>> seen;
    harness::ModalCloser closer(harness::ModalCloser::Action::Accept);
    closer.setDecider([&](QWidget* modal) {
        if (auto* tip = qobject_cast<TipDialog*>(modal)) {
            const QPixmap icon = tip->iconLabel->pixmap(Qt::ReturnByValue);
            seen.emplace_back(tip->textLabel->text(), icon.isNull() ? QImage() : icon.toImage());
        }
        return harness::ModalCloser::Action::Accept;
    });
    A::ip(*d)->setText("127.0.0.0");
    A::saveButton(*d)->click();
    A::ip(*d)->setText("127.0.0.21");
    A::saveButton(*d)->click();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].first, "Invalid IP address!");
    EXPECT_EQ(seen[0].second.convertToFormat(warning.format()), warning);
    EXPECT_EQ(seen[1].first, "Save Success!");
    EXPECT_EQ(seen[1].second.convertToFormat(success.format()), success);
}
