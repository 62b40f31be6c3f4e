#include "ParamDialogPageEdits.h"

#include "ParamDialogTestSupport.h"
#include "SettingPagesTestAccess.h"

#include "MotionDetectSetWidget.h"
#include "PlayWidget.h"

#include <QMouseEvent>
#include <QTreeWidget>

namespace paramtest {

namespace {

using S = SettingPagesTestAccess;

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

} // namespace

std::vector<PageEdit> everyPageEdit() {
    using namespace typed;
    return {
        {OZM::FamilyTcpIp,
         [](auto& d) {
             A::ip(d)->setText(kStartAddress);
             return true;
         },
         [](auto& d) { EXPECT_EQ(kStartAddress, A::ip(d)->text()); }},
        {OZM::FamilyPort,
         [](auto& d) {
             A::http(d)->setText(QString::number(kHttpPort));
             return true;
         },
         [](auto& d) { EXPECT_EQ(QString::number(kHttpPort), A::http(d)->text()); }},
        {OZM::FamilyDdns,
         [](auto& d) {
             A::domain(d)->setText(kDomain);
             return true;
         },
         [](auto& d) { EXPECT_EQ(kDomain, A::domain(d)->text()); }},
        {OZM::FamilyP2p,
         [](auto& d) {
             A::p2p(d)->setChecked(true);
             return true;
         },
         [](auto& d) { EXPECT_TRUE(A::p2p(d)->isChecked()); }},
        {OZM::FamilyGb28181,
         [](auto& d) {
             A::gbEdits(d)[0]->setText(QString::number(kGbLocalPort));
             return true;
         },
         [](auto& d) { EXPECT_EQ(QString::number(kGbLocalPort), A::gbEdits(d)[0]->text()); }},
        {OZM::FamilyVideo,
         [](auto& d) {
             QLineEdit* bitrate = firstEdit(d, OZM::FamilyVideo);
             if (bitrate)
                 bitrate->setText(QString::number(kMainBitrate));
             return bitrate != nullptr;
         },
         [](auto& d) { EXPECT_TRUE(pageHasText(d, OZM::FamilyVideo, QString::number(kMainBitrate))); }},
        {OZM::FamilyAudio,
         [](auto& d) {
             S::outputVolumeBox(d)->setValue(kOutputVolume);
             return true;
         },
         [](auto& d) { EXPECT_EQ(kOutputVolume, S::outputVolumeSlider(d)->value()); }},
        {OZM::FamilyOsd,
         [](auto& d) {
             QLineEdit* text = firstEdit(d, OZM::FamilyOsd);
             if (text)
                 text->setText(kOsdText);
             return text != nullptr;
         },
         [](auto& d) { EXPECT_TRUE(pageHasText(d, OZM::FamilyOsd, kOsdText)); }},
        {OZM::FamilyImage,
         [](auto& d) {
             auto* image = d.template findChild<LockerWidget*>();
             if (image)
                 image->brightnessBox()->setValue(kBrightness);
             return image != nullptr;
         },
         [](auto& d) {
             EXPECT_EQ(kBrightness, d.template findChild<LockerWidget*>()->brightnessBox()->value());
             EXPECT_EQ(kBrightness, S::boardSlider(d)->value()); // carried over by the brightness link
         }},
        {OZM::FamilyPrivacyMask,
         [](auto& d) {
             auto* editor = d.template findChild<PlayWidget*>();
             if (editor)
                 drag(editor, kPrivacyArea.topLeft(), kPrivacyArea.bottomRight());
             return editor != nullptr;
         },
         [](auto& d) {
             EXPECT_EQ(kPrivacyArea, d.template findChild<PlayWidget*>()->area(0));
             EXPECT_TRUE(pageHasText(d, OZM::FamilyPrivacyMask, QString::number(kPrivacyArea.height())));
         }},
        {OZM::FamilyMotionDetect,
         [](auto& d) {
             auto* motion = d.template findChild<MotionDetectSetWidget*>();
             if (motion)
                 motion->sensitivityBox()->setValue(kSensitivity);
             return motion != nullptr;
         },
         [](auto& d) {
             EXPECT_EQ(kSensitivity,
                       d.template findChild<MotionDetectSetWidget*>()->sensitivityBox()->value());
         }},
        {OZM::FamilyAccount,
         [](auto& d) {
             S::user(d)->setText(kUser);
             S::password(d)->setText(kPassword);
             S::confirm(d)->setText(kPassword);
             return true;
         },
         [](auto& d) {
             EXPECT_EQ(kUser, S::user(d)->text());
             EXPECT_EQ(kPassword, S::password(d)->text());
         }},
        {OZM::FamilyTime,
         [](auto& d) {
             S::time(d)->intervalEdit()->setText(QString::number(kNtpInterval));
             return true;
         },
         [](auto& d) { EXPECT_EQ(QString::number(kNtpInterval), S::time(d)->intervalEdit()->text()); }},
        {OZM::FamilyMaintain,
         [](auto& d) {
             S::period(d)->setCurrentIndex(2);
             S::day(d)->setCurrentIndex(kRestartWeekday);
             S::restartTime(d)->setTime(QTime(kRestartHour, kRestartMinute));
             return true;
         },
         [](auto& d) {
             EXPECT_EQ("Weekly", S::period(d)->currentText());
             EXPECT_EQ("Tue", S::day(d)->currentText());
             EXPECT_EQ("04:20", S::restartTime(d)->text());
         }},
        {OZM::FamilyAudioBoard,
         [](auto& d) {
             S::boardModeCheck(d)->setChecked(true);
             S::boardMode(d)->setCurrentIndex(kBoardMode);
             return true;
         },
         [](auto& d) {
             EXPECT_TRUE(S::boardModeCheck(d)->isChecked());
             EXPECT_EQ("Hard Photosensitive", S::boardMode(d)->currentText());
         }},
    };
}

void editSaveAndReopenEveryPage() {
    const std::vector<PageEdit> steps = everyPageEdit();
    ASSERT_EQ(static_cast<std::size_t>(OtherParamConfigDlg::kPageCount), steps.size());

    {
        auto d = std::make_unique<OtherParamConfigDlg>();
        d->show();
        for (const PageEdit& step : steps) {
            SCOPED_TRACE(step.page);
            QCheckBox* enable = A::enable(*d, step.page);
            ASSERT_FALSE(enable->isChecked());
            enable->click();
            EXPECT_EQ(step.page, A::stack(*d)->currentIndex()); // the tree follows and shows it
            ASSERT_TRUE(step.edit(*d)) << "page " << step.page << " has no widgets to edit";
        }
        EXPECT_EQ(QStringList{"Save Success!"}, messagesOf([&] { A::saveButton(*d)->click(); }));
    }

    auto d = std::make_unique<OtherParamConfigDlg>();
    MultiTreeWidget* tree = A::tree(*d);
    for (const PageEdit& step : steps) {
        SCOPED_TRACE(step.page);
        EXPECT_TRUE(A::enable(*d, step.page)->isChecked());
        EXPECT_EQ(Qt::Checked, tree->familyItem(step.page)->checkState(0));
        step.check(*d);
    }
    for (int group = 0; group < tree->treeWidget()->topLevelItemCount(); ++group)
        EXPECT_EQ(Qt::Checked, tree->treeWidget()->topLevelItem(group)->checkState(0));
    EXPECT_EQ(0, A::stack(*d)->currentIndex());
}

} // namespace paramtest
