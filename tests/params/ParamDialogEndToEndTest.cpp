// The whole dialog: enable all fifteen families, edit one field on each page, save, reopen and
// find every value again.
//
// The video, OSD, image, privacy and motion pages are reached without the dialog's members
// (through their page frames and widget classes), so the test does not depend on how those pages
// keep their widgets.
#include "ParamDialogTestSupport.h"
#include "SettingPagesTestAccess.h"

#include "MotionDetectSetWidget.h"
#include "PlayWidget.h"

#include <QMouseEvent>
#include <QTreeWidget>

#include <functional>
#include <vector>

using namespace paramtest;
using S = SettingPagesTestAccess;

namespace {

// The first line edit of a page frame, in creation order.
QLineEdit* firstEdit(OtherParamConfigDlg& d, int page) {
    const auto edits = A::frame(d, page)->findChildren<QLineEdit*>();
    return edits.isEmpty() ? nullptr : edits.first();
}

bool pageHasText(OtherParamConfigDlg& d, int page, const QString& text) {
    for (QLineEdit* edit : A::frame(d, page)->findChildren<QLineEdit*>())
        if (edit->text() == text)
            return true;
    return false;
}

void send(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A drag on the privacy editor from one pixel to another, as the operator makes it.
void drag(PlayWidget* editor, QPoint from, QPoint to) {
    send(editor, QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(editor, QEvent::MouseMove, to, Qt::LeftButton);
    editor->normalizeAreas(); // what the next repaint does
    send(editor, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

struct PageStep {
    int page;
    // Edits the page; false when the page's widgets are not there.
    std::function<bool(OtherParamConfigDlg&)> edit;
    // Checks the reopened dialog.
    std::function<void(OtherParamConfigDlg&)> check;
};

} // namespace

TEST_F(ParamDialogTest, EveryPageSavesAndReopensWithItsValue) {
    OZM::_SC_SETTIME_DATA_ time{};
    time.ntpInterval = 60;
    ozmParamsMgr()->setTimeInfo(&time);

    const QRect privacyArea(10, 10, 11, 21);
    const std::vector<PageStep> steps = {
        {OZM::FamilyTcpIp,
         [](auto& d) {
             A::ip(d)->setText("127.0.0.21");
             return true;
         },
         [](auto& d) { EXPECT_EQ("127.0.0.21", A::ip(d)->text()); }},
        {OZM::FamilyPort,
         [](auto& d) {
             A::http(d)->setText("8081");
             return true;
         },
         [](auto& d) { EXPECT_EQ("8081", A::http(d)->text()); }},
        {OZM::FamilyDdns,
         [](auto& d) {
             A::domain(d)->setText("gate.example");
             return true;
         },
         [](auto& d) { EXPECT_EQ("gate.example", A::domain(d)->text()); }},
        {OZM::FamilyP2p,
         [](auto& d) {
             A::p2p(d)->setChecked(true);
             return true;
         },
         [](auto& d) { EXPECT_TRUE(A::p2p(d)->isChecked()); }},
        {OZM::FamilyGb28181,
         [](auto& d) {
             A::gbEdits(d)[0]->setText("5070");
             return true;
         },
         [](auto& d) { EXPECT_EQ("5070", A::gbEdits(d)[0]->text()); }},
        {OZM::FamilyVideo,
         [](auto& d) {
             QLineEdit* bitrate = firstEdit(d, OZM::FamilyVideo);
             if (bitrate)
                 bitrate->setText("4096");
             return bitrate != nullptr;
         },
         [](auto& d) { EXPECT_TRUE(pageHasText(d, OZM::FamilyVideo, "4096")); }},
        {OZM::FamilyAudio,
         [](auto& d) {
             S::outputVolumeBox(d)->setValue(33);
             return true;
         },
         [](auto& d) { EXPECT_EQ(33, S::outputVolumeSlider(d)->value()); }},
        {OZM::FamilyOsd,
         [](auto& d) {
             QLineEdit* text = firstEdit(d, OZM::FamilyOsd);
             if (text)
                 text->setText("Gate 7");
             return text != nullptr;
         },
         [](auto& d) { EXPECT_TRUE(pageHasText(d, OZM::FamilyOsd, "Gate 7")); }},
        {OZM::FamilyImage,
         [](auto& d) {
             auto* image = d.template findChild<LockerWidget*>();
             if (image)
                 image->brightnessBox()->setValue(60);
             return image != nullptr;
         },
         [](auto& d) {
             EXPECT_EQ(60, d.template findChild<LockerWidget*>()->brightnessBox()->value());
             EXPECT_EQ(60, S::boardSlider(d)->value()); // carried over by the brightness link
         }},
        {OZM::FamilyPrivacyMask,
         [](auto& d) {
             auto* editor = d.template findChild<PlayWidget*>();
             if (editor)
                 drag(editor, QPoint(10, 10), QPoint(20, 30));
             return editor != nullptr;
         },
         [privacyArea](auto& d) {
             EXPECT_EQ(privacyArea, d.template findChild<PlayWidget*>()->area(0));
             EXPECT_TRUE(pageHasText(d, OZM::FamilyPrivacyMask, "21"));
         }},
        {OZM::FamilyMotionDetect,
         [](auto& d) {
             auto* motion = d.template findChild<MotionDetectSetWidget*>();
             if (motion)
                 motion->sensitivityBox()->setValue(7);
             return motion != nullptr;
         },
         [](auto& d) {
             EXPECT_EQ(7, d.template findChild<MotionDetectSetWidget*>()->sensitivityBox()->value());
         }},
        {OZM::FamilyAccount,
         [](auto& d) {
             S::password(d)->setText("Line1234");
             S::confirm(d)->setText("Line1234");
             return true;
         },
         [](auto& d) { EXPECT_EQ("Line1234", S::password(d)->text()); }},
        {OZM::FamilyTime,
         [](auto& d) {
             S::time(d)->intervalEdit()->setText("45");
             return true;
         },
         [](auto& d) { EXPECT_EQ("45", S::time(d)->intervalEdit()->text()); }},
        {OZM::FamilyMaintain,
         [](auto& d) {
             S::period(d)->setCurrentIndex(2);
             S::day(d)->setCurrentIndex(2);
             S::restartTime(d)->setTime(QTime(4, 20));
             return true;
         },
         [](auto& d) {
             EXPECT_EQ("Weekly", S::period(d)->currentText());
             EXPECT_EQ("Tue", S::day(d)->currentText());
             EXPECT_EQ("04:20", S::restartTime(d)->text());
         }},
        {OZM::FamilyAudioBoard,
         [](auto& d) {
             S::boardMode(d)->setCurrentIndex(4);
             return true;
         },
         [](auto& d) { EXPECT_EQ("Hard Photosensitive", S::boardMode(d)->currentText()); }},
    };
    ASSERT_EQ(static_cast<std::size_t>(OtherParamConfigDlg::kPageCount), steps.size());

    std::vector<bool> edited;
    {
        auto d = open();
        d->show();
        for (const PageStep& step : steps) {
            SCOPED_TRACE(step.page);
            QCheckBox* enable = A::enable(*d, step.page);
            ASSERT_FALSE(enable->isChecked());
            enable->click();
            EXPECT_EQ(step.page, A::stack(*d)->currentIndex()); // the tree follows and shows it
            edited.push_back(step.edit(*d));
            ASSERT_TRUE(edited.back()) << "page " << step.page << " has no widgets to edit";
        }
        EXPECT_EQ(QStringList{"Save Success!"}, messagesOf([&] { A::saveButton(*d)->click(); }));
    }

    auto d = open();
    MultiTreeWidget* tree = A::tree(*d);
    for (const PageStep& step : steps) {
        SCOPED_TRACE(step.page);
        EXPECT_TRUE(A::enable(*d, step.page)->isChecked());
        EXPECT_EQ(Qt::Checked, tree->familyItem(step.page)->checkState(0));
        if (edited[step.page])
            step.check(*d);
    }
    for (int group = 0; group < tree->treeWidget()->topLevelItemCount(); ++group)
        EXPECT_EQ(Qt::Checked, tree->treeWidget()->topLevelItem(group)->checkState(0));
    EXPECT_EQ(0, A::stack(*d)->currentIndex());
}
