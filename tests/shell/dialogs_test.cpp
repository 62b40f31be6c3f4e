#include "harness/ModalCloser.h"
#include "harness/QtApp.h"
#include "harness/Watchdog.h"

#include "ProgressBarDialog.h"
#include "TipDialog.h"
#include "tarsel/OzmDialog.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using harness::QtTest;

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button) {
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, w->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button,
                      buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

// Presses at pos, moves by (25, 15), releases; returns how far the widget moved.
QPoint dragBy(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton) {
    const QPoint before = w->pos();
    sendMouse(w, QEvent::MouseButtonPress, pos, button);
    sendMouse(w, QEvent::MouseMove, pos + QPoint(25, 15), button);
    sendMouse(w, QEvent::MouseButtonRelease, pos + QPoint(25, 15), button);
    return w->pos() - before;
}

class Dialogs : public QtTest {};

TEST_F(Dialogs, TipDialogLayoutAsBuilt) {
    TipDialog dlg;
    EXPECT_EQ(dlg.windowFlags() & ~Qt::WindowType_Mask, Qt::FramelessWindowHint);
    EXPECT_EQ(dlg.size(), QSize(286, 202));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    {
        // The frame's grey with its 1-pixel border, and the title bar's grey.
        const QImage shot = dlg.grab().toImage();
        EXPECT_EQ(QColor(shot.pixel(10, 100)).name(), "#f2f2f2");
        EXPECT_EQ(QColor(shot.pixel(0, 100)).name(), "#adadad");
        EXPECT_EQ(QColor(shot.pixel(285, 100)).name(), "#adadad");
        EXPECT_EQ(QColor(shot.pixel(150, 15)).name(), "#cdcdcd");
    }
    EXPECT_EQ(dlg.titleRect, QRect(0, 0, 286, 202));
    EXPECT_EQ(dlg.iconLabel->geometry(), QRect(20, 51, 20, 20));
    EXPECT_TRUE(dlg.iconLabel->hasScaledContents());
    EXPECT_EQ(dlg.textLabel->geometry(), QRect(44, 54, 220, 62));
    EXPECT_TRUE(dlg.textLabel->wordWrap());
    EXPECT_EQ(dlg.textLabel->alignment(), Qt::AlignLeft | Qt::AlignTop);
    EXPECT_EQ(dlg.confirmButton->text(), "Confirm");
    EXPECT_EQ(dlg.confirmButton->geometry(), QRect(152, 132, 88, 30));
    EXPECT_EQ(dlg.closeButton->geometry(), QRect(256, 0, 30, 30));
    EXPECT_EQ(dlg.titleLogoLabel->objectName(), "titleLogo");
    EXPECT_EQ(dlg.closeButton->parentWidget()->geometry(), QRect(0, 0, 286, 30));
    EXPECT_TRUE(dlg.titleLabel->text().isEmpty());
    EXPECT_FALSE(dlg.isDragging);
}

TEST_F(Dialogs, DragStartsOnlyFromTheTop40PixelsWithTheLeftButton) {
    TipDialog dlg;
    dlg.move(100, 100);
    dlg.show();
    EXPECT_EQ(dragBy(&dlg, QPoint(100, 40)), QPoint(25, 15)) << "a press at y 40 drags";
    EXPECT_FALSE(dlg.isDragging) << "release ends the drag";
    EXPECT_EQ(dragBy(&dlg, QPoint(100, 41)), QPoint(0, 0)) << "a press at y 41 does not";
    EXPECT_EQ(dragBy(&dlg, QPoint(100, 5), Qt::RightButton), QPoint(0, 0)) << "the right button does not";
    EXPECT_EQ(dragBy(&dlg, QPoint(0, 0)), QPoint(25, 15)) << "the corner is inside the area";

    // The grabbed point stays under the cursor across several moves.
    ProgressBarDialog busy;
    busy.move(50, 60);
    busy.show();
    sendMouse(&busy, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton);
    EXPECT_TRUE(busy.isDragging);
    sendMouse(&busy, QEvent::MouseMove, QPoint(20, 30), Qt::LeftButton);
    sendMouse(&busy, QEvent::MouseMove, QPoint(15, 5), Qt::LeftButton);
    sendMouse(&busy, QEvent::MouseButtonRelease, QPoint(15, 5), Qt::LeftButton);
    EXPECT_EQ(busy.pos(), QPoint(65, 75));
}

TEST_F(Dialogs, ConfirmAndCloseBothEndExec) {
    for (int which = 0; which < 2; ++which) {
        TipDialog dlg;
        dlg.textLabel->setText("Please select the device first!");
        QPushButton* button = which == 0 ? dlg.confirmButton : dlg.closeButton;
        harness::ModalCloser watcher(harness::ModalCloser::Action::Leave);
        bool clicked = false;
        QTimer::singleShot(50, [&] {
            clicked = true;
            button->click();
        });
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &dlg, &QDialog::reject);
        guard.start(5000);
        dlg.exec();
        EXPECT_TRUE(clicked);
        EXPECT_TRUE(guard.isActive()) << "exec ended by the button, not the guard";
        EXPECT_FALSE(dlg.isVisible());
        ASSERT_GE(watcher.count(), 1);
        EXPECT_EQ(watcher.seen().front().className, "TipDialog");
        EXPECT_EQ(watcher.seen().front().text, "Please select the device first!");
    }
}

TEST_F(Dialogs, ProgressBarDialogHasNoCloseButtonAndItsTimerRuns) {
    ProgressBarDialog dlg;
    dlg.titleLabel->setText("Testing...");
    EXPECT_EQ(dlg.size(), QSize(354, 139));
    const Qt::WindowFlags flags = dlg.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::SplashScreen));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::BypassWindowManagerHint));
    dlg.show();
    EXPECT_FALSE(dlg.closeButton->isVisible());
    EXPECT_EQ(dlg.closeButton->geometry(), QRect(324, 0, 30, 30));
    EXPECT_EQ(dlg.progressBar->geometry(), QRect(17, 71, 300, 16));
    EXPECT_FALSE(dlg.progressBar->isTextVisible());
    EXPECT_EQ(dlg.progressBar->minimum(), 0);
    EXPECT_EQ(dlg.progressBar->maximum(), 100);
    EXPECT_TRUE(dlg.timer->isActive());
    EXPECT_EQ(dlg.timer->interval(), 200);
    EXPECT_EQ(dlg.timer->parent(), &dlg);
    EXPECT_TRUE(harness::waitFor([&] { return dlg.progressValue >= 2; }, 3000));
    dlg.close();
    EXPECT_TRUE(dlg.timer->isActive()) << "hiding does not stop the timer";
}

// The owner closes the busy indicator from whatever event ends the work, also one handled while
// the indicator shows (before QApplication::exec(), showing a splash screen handles the pending
// events): exec() returns, and a run that has not ended keeps it up, modal.
TEST_F(Dialogs, ProgressBarExecEndsWhenClosedWhileItShows) {
    for (const bool closeWhileShowing : {true, false}) {
        SCOPED_TRACE(closeWhileShowing ? "closed while it shows" : "closed from its loop");
        ProgressBarDialog dlg;
        bool wasModal = false;
        // Due at once: handled while the dialog shows. Later: from exec()'s loop.
        QTimer::singleShot(closeWhileShowing ? 0 : 50, &dlg, [&] {
            wasModal = QApplication::activeModalWidget() == &dlg;
            dlg.close();
        });
        const harness::Deadline limit("the busy indicator's exec() to return after its close", 10000);
        dlg.exec();
        EXPECT_FALSE(dlg.isVisible());
        if (!closeWhileShowing) {
            EXPECT_TRUE(wasModal) << "modal while its loop runs";
        }
        EXPECT_EQ(dlg.windowModality(), Qt::NonModal) << "only modal while exec() runs";
    }
}

// The operator cannot end the busy indicator: Escape and reject() leave it open and its exec()
// running; only its owner's close() ends it.
TEST_F(Dialogs, ProgressBarDialogEndsOnlyByItsOwner) {
    ProgressBarDialog busy;
    busy.setWindowModality(Qt::ApplicationModal);
    busy.show();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&busy, &escape);
    EXPECT_TRUE(busy.isVisible()) << "Escape";
    busy.reject();
    EXPECT_TRUE(busy.isVisible()) << "reject()";
    bool finished = false;
    QObject::connect(&busy, &QDialog::finished, [&] { finished = true; });
    busy.close(); // the owner
    EXPECT_FALSE(busy.isVisible());
    EXPECT_TRUE(finished) << "what ends exec()";
}

TEST_F(Dialogs, ProgressBarSequenceClimbsStaysFullOnceAndRestarts) {
    ProgressBarDialog dlg;
    dlg.timer->stop();
    EXPECT_EQ(dlg.progressValue, 0);
    std::vector<int> shown;
    for (int i = 0; i < 103; ++i) {
        dlg.onProgressBar();
        shown.push_back(dlg.progressBar->value());
    }
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(shown[i], i + 1) << "step " << i;
    }
    EXPECT_EQ(shown[100], 100) << "101 is out of range: the bar stays full";
    EXPECT_EQ(shown[101], 1);
    EXPECT_EQ(shown[102], 2);

    // With a caller's range 0..3 the bar is full from the fourth step on.
    ProgressBarDialog ranged;
    ranged.timer->stop();
    ranged.progressBar->setRange(0, 3);
    for (int i = 1; i <= 10; ++i) {
        ranged.onProgressBar();
        EXPECT_EQ(ranged.progressBar->value(), std::min(i, 3));
    }
}

TEST_F(Dialogs, OzmDialogTitleContentDragAndClose) {
    QWidget owner;
    OzmDialog dlg(&owner);
    dlg.setTitleText("Other Settings");
    EXPECT_EQ(dlg.titleText(), "Other Settings");
    auto* layout = new QVBoxLayout;
    auto* inside = new QLabel("page");
    layout->addWidget(inside);
    dlg.setContentLayout(layout);
    EXPECT_EQ(inside->parentWidget(), dlg.contentWidget());
    auto* second = new QVBoxLayout;
    auto* replacement = new QLabel("second");
    second->addWidget(replacement);
    dlg.setContentLayout(second);
    EXPECT_EQ(replacement->parentWidget(), dlg.contentWidget());
    EXPECT_TRUE(dlg.windowFlags().testFlag(Qt::FramelessWindowHint));

    dlg.resize(400, 300);
    dlg.move(10, 10);
    dlg.show();
    EXPECT_EQ(dragBy(&dlg, QPoint(200, 40)), QPoint(25, 15));
    EXPECT_EQ(dragBy(&dlg, QPoint(200, 41)), QPoint(0, 0));

    QTimer::singleShot(30, dlg.closeButton(), &QPushButton::click);
    harness::ModalCloser watcher(harness::ModalCloser::Action::Leave);
    dlg.exec();
    EXPECT_FALSE(dlg.isVisible());
    ASSERT_GE(watcher.count(), 1);
    EXPECT_TRUE(watcher.seen().front().labels.contains("Other Settings"));
}

TEST_F(Dialogs, ModalCloserRecordsAndClosesMessageBoxesAndTipDialogs) {
    harness::ModalCloser closer;
    const auto answer = QMessageBox::information(nullptr, "Hint", "The program is running!", QMessageBox::Ok);
    EXPECT_EQ(answer, QMessageBox::Ok);
    {
        TipDialog tip;
        tip.textLabel->setText("Saved successfully");
        tip.exec();
    }
    ASSERT_EQ(closer.count(), 2);
    EXPECT_EQ(closer.seen()[0].title, "Hint");
    EXPECT_EQ(closer.seen()[0].text, "The program is running!");
    EXPECT_EQ(closer.seen()[1].text, "Saved successfully");
    EXPECT_TRUE(closer.seen()[1].labels.contains("Saved successfully"));
    EXPECT_EQ(closer.summaries().first(), "Hint: The program is running!");
}

} // namespace
