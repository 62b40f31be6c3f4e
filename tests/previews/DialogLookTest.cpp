// Every dialog on the frameless frame looks the same whichever dialog came before it: the main
// window builds its dialogs as locals, so a new dialog often takes the address of the one just
// gone, and nothing of the earlier one's style may reach it. The main window stays open
// meanwhile, as in the program: its style sheet keeps the style-sheet caches alive.
#include "AboutUsDialog.h"
#include "FramelessDialog.h"
#include "ImageTestDialog.h"
#include "MainFrame.h"
#include "PelloraDialog.h"
#include "PlayCheckDeviceDialog.h"
#include "PlayDialog.h"
#include "ProgressBarDialog.h"
#include "PtzAndAudioDeviceDialog.h"
#include "SetIPDialog.h"
#include "SetOsdDialog.h"
#include "ShowResultDialog.h"
#include "ShowResultDlgEx.h"
#include "SysConfigDialog.h"
#include "TipDialog.h"
#include "ViewQRcodeDialog.h"

#include "FleetTest.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <new>

namespace {

struct Kind {
    const char* name;
    std::size_t size;
    std::function<QDialog*(void* at)> build;
};

template <typename T, typename... Args> Kind kind(const char* name, Args... args) {
    return {name, sizeof(T), [args...](void* at) -> QDialog* { return new (at) T(args...); }};
}

std::vector<Kind> kinds() {
    const QStringList headers{"IP", "Result"};
    return {
        kind<TipDialog>("TipDialog"),
        kind<ProgressBarDialog>("ProgressBarDialog"),
        kind<ShowResultDialog>("ShowResultDialog", headers, static_cast<QWidget*>(nullptr), 400, 300),
        kind<ShowResultDlgEx>("ShowResultDlgEx", headers, static_cast<QWidget*>(nullptr), 400, 300),
        kind<SetIPDialog>("SetIPDialog"),
        kind<SetOsdDialog>("SetOsdDialog"),
        kind<PelloraDialog>("PelloraDialog"),
        kind<PlayDialog>("PlayDialog"),
        kind<PlayCheckDeviceDialog>("PlayCheckDeviceDialog", 2, 2),
        kind<PtzAndAudioDeviceDialog>("PtzAndAudioDeviceDialog", 2, 2),
        kind<ImageTestDialog>("ImageTestDialog"),
        kind<AboutUsDialog>("AboutUsDialog"),
        kind<SysConfigDialog>("SysConfigDialog"),
        kind<ViewQRcodeDialog>("ViewQRcodeDialog"),
    };
}

// Raw room for one dialog of any kind.
struct Slot {
    explicit Slot(std::size_t size) : bytes(new unsigned char[size + alignof(std::max_align_t)]) {}
    void* at() {
        void* p = bytes.get();
        std::size_t space = std::numeric_limits<std::size_t>::max();
        return std::align(alignof(std::max_align_t), 1, p, space);
    }
    std::unique_ptr<unsigned char[]> bytes;
};

// Builds the dialog at `at`, shows it with a title and returns its picture; the dialog is gone
// afterwards.
QImage lookAt(const Kind& k, void* at) {
    QDialog* dialog = k.build(at);
    if (auto* framed = qobject_cast<FramelessDialog*>(dialog); framed && framed->titleLabel)
        framed->titleLabel->setText("127.0.0.11");
    // The busy indicator's bar stands still, so that only the look can differ.
    if (auto* busy = qobject_cast<ProgressBarDialog*>(dialog))
        busy->timer->stop();
    dialog->show();
    QApplication::processEvents();
    const QImage image = dialog->grab().toImage().convertToFormat(QImage::Format_RGB32);
    dialog->hide();
    dialog->~QDialog();
    return image;
}

std::string firstDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return "size " + std::to_string(a.width()) + "x" + std::to_string(a.height()) + " instead of " +
               std::to_string(b.width()) + "x" + std::to_string(b.height());
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                       QColor(a.pixel(x, y)).name().toStdString() + " instead of " +
                       QColor(b.pixel(x, y)).name().toStdString();
        }
    }
    return {};
}

class DialogLookTest : public mwtest::FleetTest {};

TEST_F(DialogLookTest, EachDialogLooksAsWhenOpenedFirstAfterEveryOther) {
    MainFrame frame;
    ASSERT_FALSE(frame.styleSheet().isEmpty()) << "the skin's style sheet";
    const std::vector<Kind> all = kinds();
    std::size_t largest = 0;
    for (const Kind& k : all)
        largest = std::max(largest, k.size);

    // Each dialog's own look, at an address no dialog had before (all held at once).
    std::vector<QImage> first;
    {
        std::vector<std::unique_ptr<Slot>> fresh;
        for (const Kind& k : all) {
            fresh.push_back(std::make_unique<Slot>(largest));
            first.push_back(lookAt(k, fresh.back()->at()));
        }
    }
    // Then each after each other at the same address.
    Slot shared(largest);
    int differing = 0;
    for (const Kind& before : all) {
        for (std::size_t b = 0; b < all.size(); ++b) {
            if (all[b].name == before.name)
                continue;
            lookAt(before, shared.at());
            const std::string difference = firstDifference(lookAt(all[b], shared.at()), first[b]);
            if (!difference.empty()) {
                ++differing;
                ADD_FAILURE() << all[b].name << " after " << before.name << ": " << difference;
            }
        }
    }
    EXPECT_EQ(differing, 0) << "of " << all.size() * (all.size() - 1) << " pairs";
}

// A dialog with a look of its own shows it, not the frame's: the system settings' corners are
// rounded (10 pixels) below the title bar; the border runs straight between them.
TEST_F(DialogLookTest, SystemSettingsShowTheirRoundedCorners) {
    SysConfigDialog dialog;
    dialog.show();
    const QImage shot = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(510, 237));
    EXPECT_EQ(QColor(shot.pixel(0, 120)).name().toStdString(), "#adadad");
    EXPECT_EQ(QColor(shot.pixel(255, 236)).name().toStdString(), "#adadad");
    EXPECT_NE(QColor(shot.pixel(0, 236)).name().toStdString(), "#adadad") << "a square corner";
    EXPECT_NE(QColor(shot.pixel(509, 236)).name().toStdString(), "#adadad") << "a square corner";
}

} // namespace
