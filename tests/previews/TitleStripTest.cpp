// The title strip of the preview dialogs the main window opens, after another dialog has been
// open and closed: its colour and where its text starts are those of the dialog opened first.
#include "ImageTestDialog.h"
#include "MainFrame.h"
#include "MainWindowTestSupport.h"
#include "SearchLogin.h"
#include "PlayCheckDeviceDialog.h"
#include "PreviewTestSupport.h"
#include "PtzAndAudioDeviceDialog.h"
#include "harness/ProgramFolderTest.h"

#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace previewtest;

namespace {

using frametest::button;
using harness::ModalCloser;

// What a title strip shows: the grab of its 30 rows, its colour right of the text and the first
// column where the text begins (-1: none).
struct Strip {
    QImage image;
    QRgb colour = 0;
    int textLeft = -1;
};

Strip stripOf(QWidget* dialog) {
    Strip s;
    const QRect strip(0, 0, dialog->width() - 30, 30);
    s.image = dialog->grab(strip).toImage().convertToFormat(QImage::Format_RGB32);
    // The strip's colour at its right end, well clear of a short title.
    s.colour = s.image.pixel(s.image.width() - 10, 15);
    for (int x = 0; x < s.image.width() / 2 && s.textLeft < 0; ++x) {
        for (int y = 0; y < s.image.height(); ++y) {
            const QRgb p = s.image.pixel(x, y);
            if (qAbs(qGray(p) - qGray(s.colour)) > 40) {
                s.textLeft = x;
                break;
            }
        }
    }
    return s;
}

std::string hex(QRgb c) {
    return QColor(c).name().toStdString();
}

class TitleStripTest : public harness::ProgramFolderTest {
protected:
    void SetUp() override {
        harness::ProgramFolderTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(OzmLogic::instance()->init(harness::qtApp()));
        camsim::resetWorld();
        camsim::useFleet(camsim::defaultFleet(2));
        ozmParamsMgr()->setStream(1);
    }
    void TearDown() override {
        camsim::resetWorld();
        harness::ProgramFolderTest::TearDown();
    }
    // Opens the dialog of `caption` for the one checked row and grabs its title strip once it is
    // on screen, then escapes it.
    Strip open(MainFrame& frame, const char* caption) {
        Strip strip;
        bool grabbed = false;
        ModalCloser closer;
        closer.setDecider([&](QWidget* modal) {
            auto* dialog = qobject_cast<QDialog*>(modal);
            if (!dialog || !dialog->isVisible())
                return ModalCloser::Action::Leave;
            if (auto* image = qobject_cast<ImageTestDialog*>(modal); image && image->starting())
                return ModalCloser::Action::Leave;
            if (!grabbed) {
                grabbed = true;
                strip = stripOf(dialog);
            }
            QTimer::singleShot(0, dialog, [dialog] { dialog->reject(); });
            return ModalCloser::Action::Leave;
        });
        button(frame, caption)->click();
        EXPECT_TRUE(grabbed) << caption;
        return strip;
    }
};

TEST_F(TitleStripTest, ImageTestKeepsItsLookAfterThePtzDialog) {
    for (const char* before : {"", "Play Check Device", "PtzAndAudio Setting"}) {
        SCOPED_TRACE(std::string("before: ") + (*before ? before : "nothing"));
        MainFrame frame;
        const QVector<QStringList> rows = fleetRows(2);
        for (const QStringList& row : rows)
            frame.deviceTable()->addRow(row);
        frame.deviceTable()->setRowChecked(1, true);
        if (*before) {
            frame.deviceTable()->setRowChecked(0, true);
            open(frame, before);
        }
        const Strip strip = open(frame, "Image Test");
        EXPECT_EQ(hex(strip.colour), "#adadad");
        EXPECT_GT(strip.textLeft, 0) << "the title text touches the left edge";
    }
}

} // namespace
