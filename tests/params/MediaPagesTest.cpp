// Video, OSD and privacy mask pages, and the image and motion pages in the dialog: what a stored
// record shows, what a save writes through a fresh store, the privacy editor's drags and Delete.
#include "LockerWidget.h"
#include "MotionDetectSetWidget.h"
#include "ParamDialogTestSupport.h"
#include "PlayWidget.h"
#include "PrivacyMaskPage.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTreeWidget>

#include <array>
#include <cstdint>
#include <vector>

class MediaPagesTestAccess {
public:
    using D = OtherParamConfigDlg;
    // Main then sub: codec, resolution, frame rate, bitrate, mode, I-frame; H265+ after main.
    static std::vector<QWidget*> video(D& d) {
        return {d._mainCodecCombo,    d._mainResolutionCombo,  d._mainFrameRateCombo,
                d._mainBitrateEdit,   d._mainBitrateModeCombo, d._mainIFrameEdit,
                d._h265PlusCombo,     d._subCodecCombo,        d._subResolutionCombo,
                d._subFrameRateCombo, d._subBitrateEdit,       d._subBitrateModeCombo,
                d._subIFrameEdit};
    }
    static QCheckBox* osdTime(D& d) { return d._osdTimeCheck; }
    static QCheckBox* osdText(D& d) { return d._osdTextCheck; }
    static QComboBox* osdDate(D& d) { return d._osdDateCombo; }
    static QComboBox* osdLocation(D& d) { return d._osdLocationCombo; }
    static QLineEdit* osdEdit(D& d) { return d._osdTextEdit; }
    static QLineEdit* privacy(D& d, int area, int value) { return d._privacyPage->_privacyEdit[area][value]; }
    static QPushButton* del(D& d, int area) { return d._privacyPage->_privacyDeleteBtn[area]; }
    static PlayWidget* editor(D& d) { return d._playWidget; }
    static LockerWidget* image(D& d) { return d._lockerWidget; }
    static MotionDetectSetWidget* motion(D& d) { return d._motionWidget; }
    static void saveVideo(D& d) { d.saveVideoInfo(); }
    static void saveOsd(D& d) { d.saveOsdInfo(); }
    static bool savePrivacy(D& d) { return d.savePrivacyMaskInfo(); }
};

using namespace paramtest;
using M = MediaPagesTestAccess;

namespace {

QString shown(QWidget* widget) {
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    return static_cast<QLineEdit*>(widget)->text();
}

QStringList shownTexts(const std::vector<QWidget*>& widgets) {
    QStringList texts;
    for (QWidget* widget : widgets)
        texts << shown(widget);
    return texts;
}

// Main: codec, resolution, rate, bitrate, mode, I-frame, H265+; then sub: the same without
// H265+.
OZM::_SC_SETVIDEO_DATA_ video(std::array<std::int32_t, 13> v) {
    OZM::_SC_SETVIDEO_DATA_ r{};
    auto u = [](std::int32_t x) { return static_cast<std::uint32_t>(x); };
    r.mainCodec = u(v[0]);
    r.mainResolution = u(v[1]);
    r.mainFrameRate = u(v[2]);
    r.mainBitrate = u(v[3]);
    r.mainBitrateMode = u(v[4]);
    r.mainIFrameInterval = u(v[5]);
    r.mainH265Plus = u(v[6]);
    r.subCodec = u(v[7]);
    r.subResolution = u(v[8]);
    r.subFrameRate = u(v[9]);
    r.subBitrate = u(v[10]);
    r.subBitrateMode = u(v[11]);
    r.subIFrameInterval = u(v[12]);
    return r;
}

OZM::_SC_SETOSD_DATA_ osd(std::uint32_t time, std::uint32_t text, std::uint32_t date, std::uint32_t position,
                          const QByteArray& bytes) {
    OZM::_SC_SETOSD_DATA_ r{time, text, date, position, {}};
    std::memcpy(r.text, bytes.constData(), std::min<std::size_t>(bytes.size(), sizeof r.text));
    return r;
}

QByteArray fieldBytes(const OZM::_SC_SETOSD_DATA_& r) {
    return QByteArray(r.text, sizeof r.text);
}

// "大门摄像机" in GBK; the code points of "大门摄像机".
const QByteArray kGbkGate("\xb4\xf3\xc3\xc5\xc9\xe3\xcf\xf1\xbb\xfa", 10);
const QString kGate = QString::fromUtf8("\xe5\xa4\xa7\xe9\x97\xa8\xe6\x91\x84\xe5\x83\x8f\xe6\x9c\xba");

void sendMouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A left-button drag on the editor, then the repaint that reports the current area.
void drag(PlayWidget* editor, QPoint from, QPoint to) {
    sendMouse(editor, QEvent::MouseButtonPress, from, Qt::LeftButton);
    sendMouse(editor, QEvent::MouseMove, to, Qt::LeftButton);
    sendMouse(editor, QEvent::MouseButtonRelease, to, Qt::NoButton);
    editor->grab(); // renders, as a repaint does
}

QStringList areaTexts(OtherParamConfigDlg& d, int area) {
    QStringList texts;
    for (int v = 0; v < 4; ++v)
        texts << M::privacy(d, area, v)->text();
    return texts;
}

OZM::_SC_SETPRIVACYMASKINFO_DATA_ freshPrivacy() {
    const auto r = freshRecord(&ParamsMgr::getPrivacyMaskInfo);
    return r;
}

} // namespace

TEST_F(ParamDialogTest, VideoRecordsShowAndSaveThroughAFreshStore) {
    struct Case {
        const char* what;
        OZM::_SC_SETVIDEO_DATA_ stored;
        QStringList shown;
        OZM::_SC_SETVIDEO_DATA_ saved;
    };
    OZM::_SC_SETVIDEO_DATA_ withStreamWords = video({1, 1, 30, 4096, 1, 50, 1, 1, 1, 15, 256, 1, 30});
    withStreamWords.mainStream = 3;
    withStreamWords.mainReserved = 4;
    withStreamWords.subStream = 5;
    withStreamWords.subReserved = 6;
    const Case cases[] = {
        {"never stored: build frame rates, zero numbers",
         {},
         {"H.264", "2304*1296", "25", "0", "VBR", "0", "Disable", "H.264", "720*480", "20", "0", "VBR", "0"},
         video({0, 0, 25, 0, 0, 0, 0, 0, 0, 20, 0, 0, 0})},
        {"every field set",
         video({1, 1, 30, 4096, 1, 50, 1, 1, 1, 15, 256, 1, 30}),
         {"H.265", "1920*1080", "30", "4096", "CBR", "50", "Enable", "H.265", "640*480", "15", "256", "CBR",
          "30"},
         video({1, 1, 30, 4096, 1, 50, 1, 1, 1, 15, 256, 1, 30})},
        {"last items, first frame rate",
         video({0, 2, 1, 1, 0, 1, 0, 0, 0, 1, 1, 0, 1}),
         {"H.264", "1280*720", "1", "1", "VBR", "1", "Disable", "H.264", "720*480", "1", "1", "VBR", "1"},
         video({0, 2, 1, 1, 0, 1, 0, 0, 0, 1, 1, 0, 1})},
        // Out-of-range indexes show the item the record reads them as, never nothing.
        {"out of range",
         video({7, 9, 31, -5, 5, -1, 3, -1, 2, 0, 2147483647, -9, 12}),
         {"H.265", "1280*720", "25", "-5", "VBR", "-1", "Disable", "H.265", "640*480", "20", "2147483647",
          "VBR", "12"},
         video({1, 2, 25, -5, 0, -1, 0, 1, 1, 20, 2147483647, 0, 12})},
        {"negative indexes",
         video({-1, -1, -1, 0, -1, 0, -1, 0, -3, 20, 0, -1, 0}),
         {"H.265", "1280*720", "25", "0", "VBR", "0", "Disable", "H.264", "640*480", "20", "0", "VBR", "0"},
         video({1, 2, 25, 0, 0, 0, 0, 0, 1, 20, 0, 0, 0})},
        {"stream words are written as 0",
         withStreamWords,
         {"H.265", "1920*1080", "30", "4096", "CBR", "50", "Enable", "H.265", "640*480", "15", "256", "CBR",
          "30"},
         video({1, 1, 30, 4096, 1, 50, 1, 1, 1, 15, 256, 1, 30})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ozmParamsMgr()->setVideoInfo(&c.stored);
        auto d = open();
        EXPECT_EQ(c.shown, shownTexts(M::video(*d)));
        M::saveVideo(*d);
        M::saveVideo(*d); // a second save writes the same
        const auto saved = freshRecord(&ParamsMgr::getVideoInfo);
        EXPECT_TRUE(sameBytes(c.saved, saved));
        EXPECT_EQ(c.shown, shownTexts(M::video(*open())));
    }

    // Typed numbers: as typed, non-numbers and overflow 0.
    struct Typed {
        const char* text;
        std::int32_t stored;
    };
    const Typed typed[] = {{"", 0}, {"abc", 0}, {"12x", 0}, {"-5", -5}, {"99999999999", 0}, {"8192", 8192}};
    auto d = open();
    const std::vector<QWidget*> widgets = M::video(*d);
    for (const Typed& t : typed) {
        SCOPED_TRACE(t.text);
        for (int i : {3, 5, 10, 12})
            static_cast<QLineEdit*>(widgets[i])->setText(t.text);
        M::saveVideo(*d);
        const auto saved = freshRecord(&ParamsMgr::getVideoInfo);
        for (std::uint32_t value :
             {saved.mainBitrate, saved.mainIFrameInterval, saved.subBitrate, saved.subIFrameInterval})
            EXPECT_EQ(t.stored, static_cast<std::int32_t>(value));
    }
}

TEST_F(ParamDialogTest, OsdRecordsShowAndSaveThroughAFreshStore) {
    const QByteArray a200(200, 'A');
    QByteArray gbk40; // forty double-byte characters
    QString gate40;
    for (int i = 0; i < 8; ++i) {
        gbk40 += kGbkGate;
        gate40 += kGate;
    }
    QByteArray gbk31 = gbk40.left(62);
    struct Case {
        const char* what;
        OZM::_SC_SETOSD_DATA_ stored;
        bool time, text;
        QString date, location, edit;
        OZM::_SC_SETOSD_DATA_ saved;
    };
    const Case cases[] = {
        {"never stored", {}, false, false, "YYYY/MM/DD", "Top Left", "", {}},
        {"every field set", osd(1, 1, 2, 1, "Gate 3"), true, true, "DD/MM/YYYY", "Bottom Left", "Gate 3",
         osd(1, 1, 2, 1, "Gate 3")},
        {"middle date format", osd(0, 1, 1, 0, "x"), false, true, "MM/DD/YYYY", "Top Left", "x",
         osd(0, 1, 1, 0, "x")},
        // Non-zero switches are on, a position above 1 is bottom left, an unknown date format
        // the first; a text that fills the whole field without a zero is cut to 31 characters.
        {"odd values, unterminated text", osd(7, 9, 3, 2, a200), true, true, "YYYY/MM/DD", "Bottom Left",
         QString(31, 'A'), osd(1, 1, 0, 1, QByteArray(31, 'A'))},
        {"GBK text", osd(0, 0, 0, 0, kGbkGate), false, false, "YYYY/MM/DD", "Top Left", kGate,
         osd(0, 0, 0, 0, kGbkGate)},
        {"long GBK text", osd(0, 0, 0, 0, gbk40), false, false, "YYYY/MM/DD", "Top Left", gate40.left(31),
         osd(0, 0, 0, 0, gbk31)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ozmParamsMgr()->setOsdInfo(&c.stored);
        auto d = open();
        EXPECT_EQ(c.time, M::osdTime(*d)->isChecked());
        EXPECT_EQ(c.text, M::osdText(*d)->isChecked());
        EXPECT_EQ(c.date, M::osdDate(*d)->currentText());
        EXPECT_EQ(c.location, M::osdLocation(*d)->currentText());
        EXPECT_EQ(c.edit, M::osdEdit(*d)->text());
        M::saveOsd(*d);
        const auto saved = freshRecord(&ParamsMgr::getOsdInfo);
        EXPECT_TRUE(sameBytes(c.saved, saved)) << fieldBytes(saved).toHex().toStdString();
    }

    // Typed texts go out in GBK, bounded, with zeros behind; what GBK lacks becomes "?".
    struct Typed {
        QString text;
        QByteArray bytes;
    };
    const Typed typed[] = {
        {kGate + "12", kGbkGate + "12"},
        {QString(40, 'b'), QByteArray(31, 'b')},
        {QString::fromUtf8("\xf0\x9f\x98\x80") + "ok", "?ok"},
    };
    auto d = open();
    for (const Typed& t : typed) {
        SCOPED_TRACE(t.text.toStdString());
        M::osdEdit(*d)->setText(t.text);
        M::saveOsd(*d);
        const auto saved = freshRecord(&ParamsMgr::getOsdInfo);
        QByteArray expected = t.bytes;
        expected.append(QByteArray(200 - expected.size(), '\0'));
        EXPECT_EQ(expected.toHex().toStdString(), fieldBytes(saved).toHex().toStdString());
    }
}

TEST_F(ParamDialogTest, PrivacyAreasFollowDragsDeleteAndSave) {
    // Area 1 set, area 2 empty, area 3 with a zero size but y 5: in use after loading.
    const OZM::_SC_SETPRIVACYMASKINFO_DATA_ stored{{{10, 20, 30, 40}, {0, 0, 0, 0}, {0, 5, 0, 0}}};
    ozmParamsMgr()->setPrivacyMaskInfo(&stored);
    auto d = open();
    PlayWidget* editor = M::editor(*d);
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(QStringList({"10", "20", "30", "40"}), areaTexts(*d, 0));
    EXPECT_EQ(QStringList({"0", "0", "0", "0"}), areaTexts(*d, 1));
    EXPECT_EQ(QStringList({"0", "5", "0", "0"}), areaTexts(*d, 2));
    EXPECT_EQ(QRect(10, 20, 30, 40), editor->area(0));
    EXPECT_EQ(QRect(0, 5, 0, 0), editor->area(2));
    EXPECT_TRUE(editor->inUse(0));
    EXPECT_FALSE(editor->inUse(1));
    EXPECT_TRUE(editor->inUse(2));
    for (int area = 0; area < 3; ++area)
        for (int v = 0; v < 4; ++v)
            EXPECT_FALSE(M::privacy(*d, area, v)->isEnabled());

    // The editor shows only on the privacy page.
    d->show();
    QTreeWidget* tree = A::tree(*d)->treeWidget();
    emit tree->itemPressed(A::tree(*d)->familyItem(OZM::FamilyPrivacyMask), 0);
    EXPECT_TRUE(editor->isVisible());
    emit tree->itemPressed(A::tree(*d)->familyItem(OZM::FamilyOsd), 0);
    EXPECT_FALSE(editor->isVisible());
    emit tree->itemPressed(A::tree(*d)->familyItem(OZM::FamilyPrivacyMask), 0);
    ASSERT_TRUE(editor->isVisible());

    // The first free area takes a drag, both corners included; a program edit moves the editor.
    drag(editor, {20, 30}, {10, 10});
    EXPECT_EQ(QStringList({"10", "10", "11", "21"}), areaTexts(*d, 1));
    M::privacy(*d, 0, 2)->setText("50");
    EXPECT_EQ(QRect(10, 20, 50, 40), editor->area(0));
    // All three in use: a fourth drag changes nothing.
    drag(editor, {100, 100}, {200, 200});
    EXPECT_EQ(QStringList({"10", "20", "50", "40"}), areaTexts(*d, 0));
    EXPECT_EQ(QStringList({"10", "10", "11", "21"}), areaTexts(*d, 1));
    EXPECT_EQ(QStringList({"0", "5", "0", "0"}), areaTexts(*d, 2));

    // Delete frees area 3 (twice is the same); the next drag, past the corner, takes it.
    for (int i = 0; i < 2; ++i) {
        M::del(*d, 2)->click();
        EXPECT_EQ(QStringList({"0", "0", "0", "0"}), areaTexts(*d, 2));
        EXPECT_EQ(QRect(0, 0, 0, 0), editor->area(2));
        EXPECT_FALSE(editor->inUse(2));
    }
    // A drag from the corner across the whole editor gives one above its size.
    drag(editor, {0, 0}, {900, 900});
    EXPECT_EQ(QStringList({"0", "0", "508", "301"}), areaTexts(*d, 2));
    // Delete of area 1 leaves the others.
    M::del(*d, 0)->click();
    EXPECT_EQ(QStringList({"0", "0", "0", "0"}), areaTexts(*d, 0));
    EXPECT_FALSE(editor->inUse(0));
    EXPECT_TRUE(editor->inUse(1));

    EXPECT_TRUE(M::savePrivacy(*d));
    const OZM::_SC_SETPRIVACYMASKINFO_DATA_ expected{{{0, 0, 0, 0}, {10, 10, 11, 21}, {0, 0, 508, 301}}};
    EXPECT_TRUE(sameBytes(expected, freshPrivacy()));

    // Reopened, the editor holds the saved areas exactly and the free one takes the next drag.
    auto again = open();
    EXPECT_EQ(QRect(10, 10, 11, 21), M::editor(*again)->area(1));
    EXPECT_EQ(QRect(0, 0, 508, 301), M::editor(*again)->area(2));
    EXPECT_EQ(QStringList({"10", "10", "11", "21"}), areaTexts(*again, 1));
    EXPECT_FALSE(M::editor(*again)->inUse(0));
}

// Stored areas are clamped to the editor when the page loads them (edits and editor alike), so
// that what comes from the store cannot overflow the editor's rectangles.
TEST_F(ParamDialogTest, StoredPrivacyAreasAreClampedToTheEditor) {
    const int big = 2147483647;
    const int low = -2147483647 - 1;
    const OZM::_SC_SETPRIVACYMASKINFO_DATA_ stored{
        {{big, big, big, big}, {low, low, low, low}, {500, 290, 100, 100}}};
    ozmParamsMgr()->setPrivacyMaskInfo(&stored);
    auto d = open();
    PlayWidget* editor = M::editor(*d);
    ASSERT_NE(nullptr, editor);
    // x and y within 507 x 300, width and height up to one past its edge.
    EXPECT_EQ(QStringList({"507", "300", "1", "1"}), areaTexts(*d, 0));
    EXPECT_EQ(QStringList({"0", "0", "0", "0"}), areaTexts(*d, 1));
    EXPECT_EQ(QStringList({"500", "290", "8", "11"}), areaTexts(*d, 2));
    EXPECT_EQ(QRect(507, 300, 1, 1), editor->area(0));
    EXPECT_EQ(QRect(0, 0, 0, 0), editor->area(1));
    EXPECT_EQ(QRect(500, 290, 8, 11), editor->area(2));
    EXPECT_FALSE(editor->inUse(1));
    editor->grab(); // a repaint of the clamped areas
    EXPECT_TRUE(M::savePrivacy(*d));
    const OZM::_SC_SETPRIVACYMASKINFO_DATA_ expected{{{507, 300, 1, 1}, {0, 0, 0, 0}, {500, 290, 8, 11}}};
    EXPECT_TRUE(sameBytes(expected, freshPrivacy()));
}

// The whole save sequence stores the pages of this file and the two widget pages; a reopened
// dialog shows every value.
TEST_F(ParamDialogTest, SaveStoresMediaImageAndMotionPages) {
    const OZM::_SC_SETVIDEO_DATA_ zeroVideo{};
    const OZM::_SC_SETOSD_DATA_ zeroOsd{};
    const OZM::_SC_SETPRIVACYMASKINFO_DATA_ zeroPrivacy{};
    ozmParamsMgr()->setVideoInfo(&zeroVideo);
    ozmParamsMgr()->setOsdInfo(&zeroOsd);
    ozmParamsMgr()->setPrivacyMaskInfo(&zeroPrivacy);
    {
        auto d = open();
        ASSERT_NE(nullptr, M::image(*d));
        ASSERT_NE(nullptr, M::motion(*d));
        EXPECT_EQ(M::image(*d)->parentWidget()->objectName(), "imgSetWidget");
        EXPECT_EQ(M::motion(*d)->parentWidget()->objectName(), "subSetWidget");
        static_cast<QComboBox*>(M::video(*d)[1])->setCurrentIndex(1);
        M::osdEdit(*d)->setText(kGate);
        M::privacy(*d, 1, 0)->setText("7");
        M::image(*d)->brightnessBox()->setValue(60);
        M::motion(*d)->enableCheck()->setChecked(true);
        for (int page : {OZM::FamilyVideo, OZM::FamilyOsd, OZM::FamilyImage, OZM::FamilyPrivacyMask,
                         OZM::FamilyMotionDetect})
            A::enable(*d, page)->click();
        EXPECT_EQ(QStringList({"Save Success!"}), messagesOf([&] { A::saveButton(*d)->click(); }));
    }
    const auto flags = freshRecord(&ParamsMgr::getOtherParamEnable);
    for (int page : {OZM::FamilyVideo, OZM::FamilyOsd, OZM::FamilyImage, OZM::FamilyPrivacyMask,
                     OZM::FamilyMotionDetect})
        EXPECT_EQ(1, flags.flag[page]) << page;
    EXPECT_EQ(1u, freshRecord(&ParamsMgr::getVideoInfo).mainResolution);
    EXPECT_EQ(kGbkGate, QByteArray(freshRecord(&ParamsMgr::getOsdInfo).text));
    EXPECT_EQ(7, freshPrivacy().area[1].x);
    EXPECT_EQ(60, freshRecord(&ParamsMgr::getImageInfo).lightBrightness);
    EXPECT_EQ(1, freshRecord(&ParamsMgr::getAlarmInfo).enable);

    auto d = open();
    EXPECT_EQ("1920*1080", shown(M::video(*d)[1]));
    EXPECT_EQ(kGate, M::osdEdit(*d)->text());
    EXPECT_EQ("7", M::privacy(*d, 1, 0)->text());
    EXPECT_EQ(QRect(7, 0, 0, 0), M::editor(*d)->area(1));
    EXPECT_EQ(60, M::image(*d)->brightnessBox()->value());
    EXPECT_TRUE(M::motion(*d)->enableCheck()->isChecked());
    for (int page : {OZM::FamilyVideo, OZM::FamilyOsd, OZM::FamilyImage, OZM::FamilyPrivacyMask,
                     OZM::FamilyMotionDetect})
        EXPECT_TRUE(A::enable(*d, page)->isChecked()) << page;
}
