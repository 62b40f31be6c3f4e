// The OSD dialog: controls from the stored record and the record from the controls.
#include "MainWindowTestSupport.h"
#include "PelloraDialog.h"
#include "SetOsdDialog.h"

#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCodec>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class OsdDialogTest : public mwtest::MainWindowTest {};

OZM::_SC_SETOSD_DATA_ osdRecord(std::uint32_t time, std::uint32_t text, std::uint32_t format,
                                std::uint32_t position, const QByteArray& bytes) {
    OZM::_SC_SETOSD_DATA_ r;
    std::memset(&r, 0, sizeof r);
    r.showTime = time;
    r.showText = text;
    r.dateFormat = format;
    r.position = position;
    std::memcpy(r.text, bytes.constData(), std::min<std::size_t>(sizeof r.text, bytes.size()));
    return r;
}

QByteArray gbk(const QString& text) {
    return QTextCodec::codecForName("GBK")->fromUnicode(text);
}

TEST_F(OsdDialogTest, StoredRecordShowsInTheControlsAndConfirmSavesItBack) {
    struct Case {
        const char* name;
        OZM::_SC_SETOSD_DATA_ stored;
        bool time, text;
        QString format, position, edit;
        OZM::_SC_SETOSD_DATA_ saved; // after Confirm without touching anything
    } cases[] = {
        {"plain", osdRecord(1, 0, 1, 0, "CAM-01"), true, false, "MM/DD/YYYY", "Top Left", "CAM-01",
         osdRecord(1, 0, 1, 0, "CAM-01")},
        {"GBK text", osdRecord(0, 7, 2, 1, gbk(QString::fromUtf8("门口 2"))), false, true, "DD/MM/YYYY",
         "Bottom Left", QString::fromUtf8("门口 2"), osdRecord(0, 1, 2, 1, gbk(QString::fromUtf8("门口 2")))},
        {"out of range", osdRecord(0, 0, 5, 9, ""), false, false, "YYYY/MM/DD", "Bottom Left", "",
         osdRecord(0, 0, 0, 1, "")},
        {"unterminated text", osdRecord(1, 1, 0, 0, QByteArray(200, 'A')), true, true, "YYYY/MM/DD",
         "Top Left", QString(31, 'A'), osdRecord(1, 1, 0, 0, QByteArray(31, 'A'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ozmParamsMgr()->setOsdInfo(&c.stored);
        SetOsdDialog dialog;
        EXPECT_EQ(dialog.titleLabel->text(), "Set OSD");
        EXPECT_EQ(dialog.showTimeCheckBox->isChecked(), c.time);
        EXPECT_EQ(dialog.showTextCheckBox->isChecked(), c.text);
        EXPECT_EQ(dialog.dateFormatComboBox->currentText(), c.format);
        EXPECT_EQ(dialog.positionComboBox->currentText(), c.position);
        EXPECT_EQ(dialog.osdTextEdit->text(), c.edit);
        dialog.show();
        dialog.confirmButton->click();
        EXPECT_FALSE(dialog.isVisible());
        OZM::_SC_SETOSD_DATA_ saved;
        ozmParamsMgr()->getOsdInfo(&saved);
        EXPECT_EQ(std::memcmp(&saved, &c.saved, sizeof saved), 0) << saved.text;
    }
    EXPECT_EQ(modalTexts(), (QStringList{"Saved successfully", "Saved successfully", "Saved successfully",
                                         "Saved successfully"}));
}

TEST_F(OsdDialogTest, EditedControlsMakeTheRecordAndCancelKeepsTheStoredOne) {
    const OZM::_SC_SETOSD_DATA_ stored = osdRecord(0, 0, 0, 0, "OLD");
    ozmParamsMgr()->setOsdInfo(&stored);
    {
        SetOsdDialog dialog;
        QTest::keyClicks(dialog.osdTextEdit, QString(40, 'x'));
        EXPECT_EQ(dialog.osdTextEdit->text().size(), 31) << "a 32nd character is refused";
        dialog.showTimeCheckBox->setChecked(true);
        dialog.dateFormatComboBox->setCurrentIndex(2);
        dialog.cancelButton->click();
        OZM::_SC_SETOSD_DATA_ after;
        ozmParamsMgr()->getOsdInfo(&after);
        EXPECT_EQ(std::memcmp(&after, &stored, sizeof after), 0);
    }
    SetOsdDialog dialog;
    dialog.showTextCheckBox->setChecked(true);
    dialog.positionComboBox->setCurrentIndex(1);
    dialog.dateFormatComboBox->setCurrentIndex(1);
    dialog.osdTextEdit->setText(QString::fromUtf8("ab\xF0\x9F\x98\x80")); // not in GBK: replaced
    const OZM::_SC_SETOSD_DATA_ r = dialog.record();
    EXPECT_EQ(r.showTime, 0u);
    EXPECT_EQ(r.showText, 1u);
    EXPECT_EQ(r.dateFormat, 1u);
    EXPECT_EQ(r.position, 1u);
    EXPECT_EQ(std::string(r.text), "ab?");
    for (std::size_t i = 3; i < sizeof r.text; ++i)
        ASSERT_EQ(r.text[i], 0) << i;
}

// The dialog as drawn: size, flags, style sheets and every control's rectangle.
TEST_F(OsdDialogTest, LayoutAsDrawn) {
    SetOsdDialog dialog;
    EXPECT_EQ(dialog.size(), QSize(534, 377));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    {
        const QImage shot = dialog.grab().toImage();
        EXPECT_EQ(QColor(shot.pixel(3, 373)).name(), "#f2f2f2");
        EXPECT_EQ(QColor(shot.pixel(0, 200)).name(), "#adadad");
        EXPECT_EQ(QColor(shot.pixel(300, 15)).name(), "#cdcdcd");
    }
    EXPECT_EQ(dialog.titleLabel->text(), "Set OSD");
    EXPECT_EQ(dialog.closeButton->parentWidget()->geometry(), QRect(0, 0, 534, 30));
    EXPECT_EQ(dialog.closeButton->geometry(), QRect(504, 0, 30, 30));
    const struct {
        const char* text;
        QRect rect;
    } labels[] = {{"Show Time:", {0, 70, 140, 30}},
                  {"Show Text:", {0, 117, 140, 30}},
                  {"Data Type:", {0, 167, 140, 30}},
                  {"OSD Position:", {0, 213, 140, 30}},
                  {"OSD Text:", {0, 261, 140, 30}}};
    for (const auto& l : labels) {
        SCOPED_TRACE(l.text);
        QLabel* found = nullptr;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->text() == l.text)
                found = label;
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->geometry(), l.rect);
        EXPECT_EQ(found->alignment(), Qt::AlignRight | Qt::AlignVCenter);
        EXPECT_EQ(found->styleSheet(), "QLabel{font-size: 14px;color: #333333;}");
    }
    const std::vector<std::pair<QWidget*, QRect>> controls = {
        {dialog.showTimeCheckBox, {154, 75, 20, 20}},     {dialog.showTextCheckBox, {154, 122, 20, 20}},
        {dialog.dateFormatComboBox, {150, 161, 294, 30}}, {dialog.positionComboBox, {150, 209, 294, 30}},
        {dialog.osdTextEdit, {150, 257, 294, 30}},        {dialog.cancelButton, {332, 327, 88, 30}},
        {dialog.confirmButton, {430, 327, 88, 30}}};
    for (const auto& c : controls)
        EXPECT_EQ(c.first->geometry(), c.second) << c.first->metaObject()->className();
    EXPECT_EQ(dialog.cancelButton->text(), "Cancel");
    EXPECT_EQ(dialog.confirmButton->text(), "Confirm");
    EXPECT_EQ(dialog.osdTextEdit->maxLength(), 31);
}

TEST_F(OsdDialogTest, LabelFormHasItsFieldsAndCloses) {
    PelloraDialog dialog;
    EXPECT_EQ(dialog.size(), QSize(534, 477));
    EXPECT_EQ(dialog.titleLabel->text(), "Pellora");
    QStringList captions;
    for (QPushButton* b : {dialog.cancelButton, dialog.previewButton, dialog.printButton})
        captions << b->text();
    EXPECT_EQ(captions, (QStringList{"cancel", "PrintingPreview", "DirectPrinting"}));
    dialog.show();
    dialog.printButton->click();
    dialog.previewButton->click();
    EXPECT_TRUE(dialog.isVisible()) << "the printing buttons do nothing";
    dialog.cancelButton->click();
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
