// The main window's preview, PTZ and audio, image test and OSD buttons and the double-click
// preview, against the simulated fleet.
#include "DeviceManager.h"
#include "ImageTestDialog.h"
#include "LongLimits.h"
#include "MainFrame.h"
#include "MainWindowTestSupport.h"
#include "harness/ProgramFolderTest.h"
#include "PlayCheckDeviceDialog.h"
#include "PlayDialog.h"
#include "PreviewTestSupport.h"
#include "PtzAndAudioDeviceDialog.h"
#include "SearchLogin.h"
#include "SetOsdDialog.h"

#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

class MainFrameTestAccess {
public:
    static QLabel* totalLabel(MainFrame& frame) { return frame._totalCountLabel; }
    static QLabel* selectedLabel(MainFrame& frame) { return frame._selectedCountLabel; }
};

using namespace previewtest;

namespace {

using Access = MainFrameTestAccess;
using frametest::button;
using harness::ModalCloser;

// Ends a modal dialog from the event loop rather than inside the closer's poll.
ModalCloser::Action later(QWidget* modal, std::function<void()> action) {
    QTimer::singleShot(0, modal, std::move(action));
    return ModalCloser::Action::Leave;
}
ModalCloser::Action rejectLater(QWidget* modal) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    return later(modal, [dialog] { dialog->reject(); });
}

// Walks the image test: each device, once it has been on screen (`shown` sees it then), goes on
// with Next, the last with Close; the next click waits for that. Other dialogs are escaped.
std::function<ModalCloser::Action(QWidget*)> stepImageTest(std::function<void(ImageTestDialog*)> shown = {}) {
    auto pending = std::make_shared<bool>(false);
    return [pending, shown](QWidget* modal) {
        auto* dialog = qobject_cast<ImageTestDialog*>(modal);
        if (!dialog)
            return rejectLater(modal);
        if (*pending || dialog->starting())
            return ModalCloser::Action::Leave;
        if (shown)
            shown(dialog);
        *pending = true;
        QPushButton* next = dialog->nextButton()->isVisible() ? dialog->nextButton() : dialog->closeButton;
        return later(modal, [next, pending] {
            *pending = false;
            next->click();
        });
    };
}

// Each test arms its own modal-dialog closer.
class PreviewButtonsTest : public harness::ProgramFolderTest {
protected:
    void SetUp() override {
        harness::ProgramFolderTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(OzmLogic::instance()->init(harness::qtApp()));
        camsim::resetWorld();
        ozmParamsMgr()->setSearchTime(5);
    }
    void TearDown() override {
        camsim::resetWorld();
        harness::ProgramFolderTest::TearDown();
    }
    // Lists the first rows of the fleet and checks the first `checked` of them.
    static void listAndCheck(MainFrame& frame, int rows, int checked) {
        const QVector<QStringList> all = fleetRows(rows);
        for (const QStringList& row : all)
            frame.deviceTable()->addRow(row);
        for (int i = 0; i < checked; ++i)
            frame.deviceTable()->setRowChecked(i, true);
        ASSERT_EQ(frame.checkedRows().size(), checked);
    }
};

TEST_F(PreviewButtonsTest, GridButtonsKeepTheStreamLimitsAndChooseTheGrid) {
    camsim::useFleet(camsim::defaultFleet(11));
    struct Case {
        const char* button;
        int setting;
        int checked;
        QString warning; // empty: the dialog opens
        int gridRows, gridColumns;
    } cases[] = {
        {"Play Check Device", 1, 0, "Please select the device first!", 0, 0},
        {"Play Check Device", 1, 1, "", 1, 1},
        {"Play Check Device", 0, 4, "", 2, 2},
        {"Play Check Device", 0, 5, "Play the main stream, please select less than 4 units!", 0, 0},
        {"Play Check Device", 1, 10, "", 3, 4},
        {"Play Check Device", 1, 11, "Play the sub stream, please select less than 10 units!", 0, 0},
        {"PtzAndAudio Setting", 1, 0, "Please select the device first!", 0, 0},
        {"PtzAndAudio Setting", 0, 2, "", 2, 2},
        {"PtzAndAudio Setting", 0, 5, "Play the main stream, please select less than 4 units!", 0, 0},
        {"PtzAndAudio Setting", 1, 10, "", 3, 4},
        {"PtzAndAudio Setting", 1, 11, "Play the sub stream, please select less than 10 units!", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " setting " + std::to_string(c.setting) + " rows " +
                     std::to_string(c.checked));
        ozmParamsMgr()->setStream(c.setting);
        MainFrame frame;
        ASSERT_NO_FATAL_FAILURE(listAndCheck(frame, 11, c.checked));
        const int startups = camsim::startupCount();
        camsim::clearCallLog();
        QString seenClass;
        int panes = -1, streams = -1, logins = -1;
        ModalCloser closer;
        closer.setDecider([&](QWidget* modal) {
            seenClass = modal->metaObject()->className();
            if (auto* grid = qobject_cast<PlayCheckDeviceDialog*>(modal)) {
                panes = grid->paneCount();
                EXPECT_EQ(grid->rows() * 100 + grid->columns(), c.gridRows * 100 + c.gridColumns);
            } else if (auto* ptz = qobject_cast<PtzAndAudioDeviceDialog*>(modal)) {
                panes = ptz->paneCount();
            }
            streams = camsim::streamCount();
            logins = static_cast<int>(camsim::calls("KVX_NET_Login").size());
            return rejectLater(modal); // Escape
        });
        button(frame, c.button)->click();
        if (!c.warning.isEmpty()) {
            EXPECT_EQ(seenClass, "TipDialog");
            ASSERT_EQ(closer.seen().size(), 1u);
            EXPECT_EQ(closer.seen()[0].labels.value(0), c.warning);
            EXPECT_EQ(camsim::calls("KVX_NET_Login").size(), 0u);
            continue;
        }
        EXPECT_EQ(seenClass, std::string(c.button) == "Play Check Device" ? "PlayCheckDeviceDialog"
                                                                          : "PtzAndAudioDeviceDialog");
        EXPECT_EQ(panes, c.gridRows * c.gridColumns);
        EXPECT_EQ(logins, c.checked);
        EXPECT_EQ(streams, c.checked);
        for (const camsim::CallRecord& r : camsim::calls("KVX_NET_Login"))
            EXPECT_EQ(u32(r.in, 132), c.checked > 4 ? 1u : 0u);
        EXPECT_EQ(camsim::sessionCount(), 0);
        EXPECT_EQ(camsim::streamCount(), 0);
        EXPECT_EQ(camsim::startupCount(), startups);
    }
}

TEST_F(PreviewButtonsTest, ImageTestRemovesEachShownDeviceFromTheWindow) {
    camsim::useFleet(camsim::defaultFleet(4));
    ozmParamsMgr()->setStream(1);
    MainFrame frame;
    ASSERT_TRUE(frametest::chooseLoopback(frame));
    QPushButton* search = button(frame, "Device Search");
    {
        const frametest::LongLimits limits;
        search->click();
        // The window's own logins are all made before the dialog's are counted.
        ASSERT_TRUE(harness::waitFor(
            [&] {
                return search->isEnabled() && frame.deviceTable()->rowCount() == 4 &&
                       camsim::liveSessionCount() == 4;
            },
            20000));
    }
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    CTableView* table = frame.deviceTable();
    for (int i = 0; i < 3; ++i)
        table->setRowChecked(i, true);

    struct Step {
        int rows, checked;
        QString total, selected, title;
        bool nextVisible;
    };
    std::vector<Step> steps;
    ModalCloser closer;
    closer.setDecider(stepImageTest([&](ImageTestDialog* dialog) {
        steps.push_back({table->rowCount(), frame.checkedRows().size(), Access::totalLabel(frame)->text(),
                         Access::selectedLabel(frame)->text(), dialog->titleLabel->text(),
                         dialog->nextButton()->isVisible()});
    }));
    const int sessionsBefore = camsim::sessionCount();
    button(frame, "Image Test")->click();

    ASSERT_EQ(steps.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Step& s = steps[static_cast<std::size_t>(i)];
        EXPECT_EQ(s.rows, 3 - i);
        EXPECT_EQ(s.total, QString::number(3 - i));
        EXPECT_EQ(s.selected, QString::number(2 - i));
        EXPECT_EQ(s.title, QString::fromStdString(fleet[static_cast<std::size_t>(i)].ip));
        EXPECT_EQ(s.nextVisible, i < 2);
    }
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->getData(0, CTableView::ColMac).toString().toStdString(), fleet[3].mac);
    EXPECT_TRUE(frame.checkedRows().isEmpty());
    EXPECT_FALSE(table->isCheckAll());
    EXPECT_FALSE(table->isRowChecked(0));
    EXPECT_EQ(Access::totalLabel(frame)->text(), "1");
    EXPECT_EQ(Access::selectedLabel(frame)->text(), "0");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(frame.engine()->findSearchInfo(fleet[static_cast<std::size_t>(i)].mac), nullptr) << i;
    EXPECT_NE(frame.engine()->findSearchInfo(fleet[3].mac), nullptr);
    EXPECT_EQ(camsim::sessionCount(), sessionsBefore) << "the dialog's own logins are gone";

    // Nothing checked: the image test's own message.
    closer.setDecider(rejectLater);
    button(frame, "Image Test")->click();
    ASSERT_EQ(closer.seen().size(), 2u);
    EXPECT_EQ(closer.seen().back().labels.value(0), "Please search for device!");
}

TEST_F(PreviewButtonsTest, ImageTestClosedEarlyKeepsTheOthersChecked) {
    camsim::useFleet(camsim::defaultFleet(3));
    // Escape while the first device starts: it was never on screen, nothing leaves the table.
    // Escape once it has been on screen: only it leaves.
    for (bool afterShown : {false, true}) {
        SCOPED_TRACE(afterShown ? "after the first was shown" : "while the first starts");
        camsim::clearCallLog();
        MainFrame frame;
        ASSERT_NO_FATAL_FAILURE(listAndCheck(frame, 3, 3));
        ModalCloser closer;
        closer.setDecider([afterShown](QWidget* modal) {
            auto* dialog = qobject_cast<ImageTestDialog*>(modal);
            if (dialog && afterShown && dialog->starting())
                return ModalCloser::Action::Leave;
            if (dialog && !afterShown) {
                EXPECT_TRUE(dialog->starting());
                return ModalCloser::Action::Reject; // Escape, at once
            }
            return rejectLater(modal); // Escape
        });
        button(frame, "Image Test")->click();
        EXPECT_EQ(frame.deviceTable()->rowCount(), afterShown ? 2 : 3);
        EXPECT_EQ(frame.checkedRows().size(), afterShown ? 2 : 3);
        EXPECT_EQ(camsim::sessionCount(), 0);
        EXPECT_EQ(countCalls("KVX_NET_Cleanup"), 1);
    }
}

// With the table's select-all on, showing the last device switches it off.
TEST_F(PreviewButtonsTest, ImageTestSwitchesSelectAllOffAfterTheLast) {
    camsim::useFleet(camsim::defaultFleet(2));
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(listAndCheck(frame, 2, 0));
    CTableView* table = frame.deviceTable();
    table->setIsCheckAll(true);
    ASSERT_TRUE(table->isCheckAll());
    ASSERT_EQ(frame.checkedRows().size(), 2);
    ModalCloser closer;
    closer.setDecider(stepImageTest());
    button(frame, "Image Test")->click();
    EXPECT_EQ(table->rowCount(), 0);
    EXPECT_TRUE(frame.checkedRows().isEmpty());
    EXPECT_FALSE(table->isCheckAll());
}

// A removal without a MAC address changes nothing: no row, no count, no select-all state.
TEST_F(PreviewButtonsTest, RemovalWithoutAMacChangesNothing) {
    camsim::useFleet(camsim::defaultFleet(2));
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(listAndCheck(frame, 2, 0));
    QStringList noMac = fleetRows(2).value(1);
    noMac[1] = "127.0.9.9";
    noMac[8].clear();
    frame.deviceTable()->addRow(noMac);
    CTableView* table = frame.deviceTable();
    table->setIsCheckAll(true);
    ASSERT_EQ(frame.checkedRows().size(), 3);
    Access::totalLabel(frame)->setText("total");
    Access::selectedLabel(frame)->setText("selected");
    frame.onRemoveData(QString(), 0);
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(frame.checkedRows().size(), 3);
    EXPECT_TRUE(table->isCheckAll());
    EXPECT_EQ(Access::totalLabel(frame)->text(), "total");
    EXPECT_EQ(Access::selectedLabel(frame)->text(), "selected");
}

TEST_F(PreviewButtonsTest, DoubleClickPreviewsTheRowOnTheStoredStream) {
    camsim::useFleet(camsim::defaultFleet(2));
    ozmParamsMgr()->setStream(0);
    MainFrame frame;
    ASSERT_NO_FATAL_FAILURE(listAndCheck(frame, 2, 0));
    frame.show();
    CTableView* table = frame.deviceTable();
    const QPoint cell = table->visualRect(table->model()->index(1, 1)).center();
    QString title;
    int streams = -1;
    ModalCloser closer;
    closer.setDecider([&](QWidget* modal) {
        if (auto* play = qobject_cast<PlayDialog*>(modal)) {
            title = play->titleLabel->text();
            streams = camsim::streamCount();
        }
        return rejectLater(modal);
    });
    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        camsim::clearCallLog();
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
        EXPECT_EQ(title.toStdString(), fleet[1].ip);
        EXPECT_EQ(streams, 1);
        const auto logins = camsim::calls("KVX_NET_Login");
        ASSERT_EQ(logins.size(), 1u) << "each opening logs in afresh";
        EXPECT_EQ(text(logins[0].in, 0, 128), fleet[1].ip);
        EXPECT_EQ(u32(logins[0].in, 132), 0u);
        EXPECT_EQ(countCalls("KVX_NET_Cleanup"), 1);
        EXPECT_EQ(camsim::streamCount(), 0);
        EXPECT_TRUE(frame.findChildren<PlayDialog*>().isEmpty()) << "deleted after use";
    }
}

TEST_F(PreviewButtonsTest, SetOsdButtonSavesTheDialogsRecord) {
    MainFrame frame;
    bool confirmed = false;
    ModalCloser closer;
    closer.setDecider([&](QWidget* modal) {
        if (auto* osd = qobject_cast<SetOsdDialog*>(modal)) {
            if (confirmed)
                return ModalCloser::Action::Leave;
            confirmed = true;
            osd->showTimeCheckBox->setChecked(true);
            osd->positionComboBox->setCurrentIndex(1);
            osd->osdTextEdit->setText("GATE-7");
            return later(modal, [osd] { osd->confirmButton->click(); });
        }
        return rejectLater(modal);
    });
    button(frame, "Set OSD")->click();
    OZM::_SC_SETOSD_DATA_ saved;
    ozmParamsMgr()->getOsdInfo(&saved);
    EXPECT_EQ(saved.showTime, 1u);
    EXPECT_EQ(saved.position, 1u);
    EXPECT_STREQ(saved.text, "GATE-7");
    ASSERT_EQ(closer.seen().size(), 2u);
    EXPECT_EQ(closer.seen()[1].labels.value(0), "Saved successfully");
}

} // namespace
