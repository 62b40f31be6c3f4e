#include "LockerButton.h"
#include "LockerWidget.h"
#include "PageWidgetsTestSupport.h"
#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QTimeEdit>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using OZM::_SC_IMAGE_DATA_;
using pwtest::zeroed;

// Friend of LockerWidget: the checks that read its controls.
struct LockerWidgetProbe {
    static void zeroRecordLoad(LockerWidget& w);
    static void enableRules(LockerWidget& w);
    static void brightnessRestoreAccordion(LockerWidget& widget);
};

namespace {

_SC_IMAGE_DATA_ loadAndSave(const _SC_IMAGE_DATA_& stored) {
    ozmParamsMgr()->setImageInfo(&stored);
    LockerWidget widget;
    widget.saveImageInfo();
    auto saved = zeroed<_SC_IMAGE_DATA_>();
    ozmParamsMgr()->getImageInfo(&saved);
    return saved;
}

_SC_IMAGE_DATA_ fullRecord() {
    auto r = zeroed<_SC_IMAGE_DATA_>();
    r.luminance = 1;
    r.contrast = 2;
    r.saturation = 254;
    r.sharpness = 255;
    r.exposureMode = 1;
    r.shutter = 16;
    r.autoGain = 1;
    r.gain = 77;
    r.blc = 1;
    r.backlightAmount = 2;
    r.fillLightMode = 3;
    r.keepColor = 1;
    r.sensitivity = 7;
    r.filterTime = 10;
    r.dawnTime = 6 * 60 + 30;
    r.darkTime = 23 * 60 + 59;
    r.lightMode = 1;
    r.lightBrightness = 47;
    r.redGain = 10;
    r.greenGain = 20;
    r.blueGain = 30;
    r.whiteBalance = 1;
    r.noiseMode = 3;
    r.noise2dLevel = 40;
    r.noise3dLevel = 50;
    r.flicker = 1;
    r.wdrOn = 1;
    r.wdrLevel = 5;
    r.dehazeMode = 2;
    r.dehazeIntensity = 60;
    r.distortion = 1;
    r.distortionIntensity = 70;
    r.mirror = 3;
    return r;
}

class LockerWidgetTest : public pwtest::PageTest {};

TEST_F(LockerWidgetTest, SavingRightAfterLoadingWritesBackWhatTheControlsCanShow) {
    struct Case {
        const char* name;
        _SC_IMAGE_DATA_ stored;
        std::function<void(_SC_IMAGE_DATA_&)> expect; // stored -> expected
    };
    auto zero = zeroed<_SC_IMAGE_DATA_>();
    auto wdrOnly = zeroed<_SC_IMAGE_DATA_>();
    wdrOnly.wdrOn = 1; // level 0: the list shows "Shut Down"
    wdrOnly.filterTime = 5;
    auto outOfRange = fullRecord();
    outOfRange.shutter = 40;
    outOfRange.backlightAmount = 3;
    outOfRange.fillLightMode = 7;
    outOfRange.keepColor = 2;
    outOfRange.wdrLevel = 9;
    outOfRange.mirror = 9;
    outOfRange.dehazeMode = 3;
    outOfRange.sensitivity = 8;
    outOfRange.dawnTime = 1440;
    outOfRange.darkTime = -5;
    outOfRange.lightBrightness = 140;
    // Exposure reads 1 as manual and anything else as auto; light mode 0 as auto and anything
    // else as manual.
    auto modesTwo = fullRecord();
    modesTwo.exposureMode = 2;
    modesTwo.lightMode = 2;
    const Case cases[] = {
        {"exposure and light mode 2", modesTwo,
         [](_SC_IMAGE_DATA_& e) {
             e.exposureMode = 0;
             e.lightMode = 1;
         }},
        {"every field set", fullRecord(), [](_SC_IMAGE_DATA_&) {}},
        {"zeros", zero, [](_SC_IMAGE_DATA_& e) { e.filterTime = 3; }},
        {"wdr on at level 0", wdrOnly, [](_SC_IMAGE_DATA_& e) { e.wdrOn = 0; }},
        {"indices outside the lists keep the defaults", outOfRange,
         [](_SC_IMAGE_DATA_& e) {
             e.shutter = 0;
             e.backlightAmount = 0;
             e.fillLightMode = 0;
             e.keepColor = 0;
             e.wdrOn = 0;
             e.wdrLevel = 0;
             e.mirror = 0;
             e.dehazeMode = 0;
             e.sensitivity = 3;
             e.dawnTime = 0;
             e.darkTime = 0;
             e.lightBrightness = 100;
         }},
    };
    for (const Case& c : cases) {
        auto expected = c.stored;
        c.expect(expected);
        const auto saved = loadAndSave(c.stored);
        EXPECT_TRUE(pwtest::sameBytes(expected, saved)) << c.name;
        EXPECT_EQ(expected.shutter, saved.shutter) << c.name;
        EXPECT_EQ(expected.mirror, saved.mirror) << c.name;
        EXPECT_EQ(expected.wdrLevel, saved.wdrLevel) << c.name;
        EXPECT_EQ(expected.dawnTime, saved.dawnTime) << c.name;
        EXPECT_EQ(expected.lightBrightness, saved.lightBrightness) << c.name;
    }
}

TEST_F(LockerWidgetTest, ZeroRecordLoadsWithTheEnableRulesApplied) {
    const auto zero = zeroed<_SC_IMAGE_DATA_>();
    ozmParamsMgr()->setImageInfo(&zero);
    LockerWidget widget;
    LockerWidgetProbe::zeroRecordLoad(widget);
}

TEST_F(LockerWidgetTest, EnableAndVisibilityRulesFollowTheirControls) {
    const auto zero = zeroed<_SC_IMAGE_DATA_>();
    ozmParamsMgr()->setImageInfo(&zero);
    LockerWidget widget;
    LockerWidgetProbe::enableRules(widget);
}

TEST_F(LockerWidgetTest, BrightnessSnapsRestoreAndAccordion) {
    auto stored = fullRecord();
    stored.lightBrightness = 47;
    stored.fillLightMode = 0;
    ozmParamsMgr()->setImageInfo(&stored);
    LockerWidget widget;
    LockerWidgetProbe::brightnessRestoreAccordion(widget);
}

} // namespace

void LockerWidgetProbe::zeroRecordLoad(LockerWidget& w) {
    LockerWidget& widget = w;
    const struct {
        const char* name;
        QWidget* control;
        bool enabled;
    } rows[] = {
        {"shutter", w.m_shutterCombo, false},
        {"auto gain", w.m_autoGainCheck, false},
        {"gain slider", w.m_gainSlider, true},
        {"gain box", w.m_gainBox, true},
        {"backlight", w.m_backlightCombo, false},
        {"sensitivity", w.m_sensitivityCombo, true},
        {"brightness", w.m_brightnessSlider, false},
        {"brightness box", w.m_brightnessBox, false},
        {"red", w.m_redSlider, false},
        {"green box", w.m_greenBox, false},
        {"blue", w.m_blueSlider, true},
        {"2D", w.m_noise2dSlider, false},
        {"3D", w.m_noise3dBox, false},
        {"dehaze", w.m_dehazeSlider, false},
        {"distort", w.m_distortBox, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.enabled, r.control->isEnabled()) << r.name;
    EXPECT_TRUE(w.m_exposureAuto->isChecked());
    EXPECT_TRUE(w.m_blcClose->isChecked());
    EXPECT_TRUE(w.m_lightModeAuto->isChecked());
    EXPECT_EQ("0", w.m_sensitivityCombo->currentText());
    EXPECT_EQ("3", w.m_filterTimeCombo->currentText());
    EXPECT_EQ("NTSC(60HZ)", w.m_flickerCombo->currentText());
    EXPECT_EQ("Shut Down", w.m_wdrCombo->currentText());
    EXPECT_TRUE(w.m_dawnEdit->isHidden());
    EXPECT_EQ(0, w.m_luminanceBox->value());
    for (int i = 0; i < LockerWidget::kSectionCount; ++i)
        EXPECT_EQ(i == 0, !widget.body(i)->isHidden()) << i;
}

void LockerWidgetProbe::enableRules(LockerWidget& w) {

    // Combo rules: index -> enabled state of the dependent pairs.
    const struct {
        QComboBox* combo;
        int index;
        std::vector<std::pair<QWidget*, bool>> expected;
    } combos[] = {
        {w.m_whiteBalanceCombo, 1, {{w.m_redSlider, true}, {w.m_greenBox, true}, {w.m_blueSlider, true}}},
        {w.m_whiteBalanceCombo, 0, {{w.m_redBox, false}, {w.m_greenSlider, false}, {w.m_blueBox, true}}},
        {w.m_noiseCombo, 1, {{w.m_noise2dSlider, true}, {w.m_noise2dBox, true}, {w.m_noise3dSlider, false}}},
        {w.m_noiseCombo, 2, {{w.m_noise2dSlider, false}, {w.m_noise3dSlider, true}, {w.m_noise3dBox, true}}},
        {w.m_noiseCombo, 3, {{w.m_noise2dBox, true}, {w.m_noise3dBox, true}}},
        {w.m_noiseCombo, 0, {{w.m_noise2dBox, false}, {w.m_noise3dBox, false}}},
        {w.m_dehazeCombo, 1, {{w.m_dehazeSlider, true}, {w.m_dehazeBox, true}}},
        {w.m_dehazeCombo, 2, {{w.m_dehazeSlider, false}, {w.m_dehazeBox, false}}},
        {w.m_distortCombo, 1, {{w.m_distortSlider, true}, {w.m_distortBox, true}}},
        {w.m_distortCombo, 0, {{w.m_distortSlider, false}}},
    };
    for (const auto& c : combos) {
        c.combo->setCurrentIndex(c.index);
        for (const auto& e : c.expected)
            EXPECT_EQ(e.second, e.first->isEnabled()) << c.combo->itemText(0).toStdString() << " " << c.index;
    }

    // Fill light: visibility and enabling of the day/night rows.
    const struct {
        int index;
        bool sensitivityShown, sensitivityEnabled, lightModeShown, dawnShown, brightnessShown;
    } fills[] = {
        {1, true, false, false, false, false},
        {2, true, false, false, false, true},
        {3, false, true, false, true, true},
        {0, true, true, true, false, true},
    };
    for (const auto& f : fills) {
        w.m_fillLightCombo->setCurrentIndex(f.index);
        EXPECT_EQ(f.sensitivityShown, !w.m_sensitivityCombo->isHidden()) << f.index;
        EXPECT_EQ(f.sensitivityEnabled, w.m_filterTimeCombo->isEnabled()) << f.index;
        EXPECT_EQ(f.lightModeShown, !w.m_lightModeManual->isHidden()) << f.index;
        EXPECT_EQ(f.dawnShown, !w.m_darkEdit->isHidden()) << f.index;
        EXPECT_EQ(f.brightnessShown, !w.m_brightnessSlider->isHidden()) << f.index;
    }
    // Back to "Auto" with light mode "Auto": the brightness stays disabled; "Night" enables it.
    EXPECT_FALSE(w.m_brightnessSlider->isEnabled());
    w.m_fillLightCombo->setCurrentIndex(2);
    EXPECT_TRUE(w.m_brightnessSlider->isEnabled());
    EXPECT_FALSE(w.m_brightnessBox->isEnabled());

    // Radios and the auto-gain box.
    w.m_exposureManual->setChecked(true);
    EXPECT_TRUE(w.m_shutterCombo->isEnabled());
    EXPECT_TRUE(w.m_autoGainCheck->isEnabled());
    w.m_autoGainCheck->setChecked(true);
    EXPECT_FALSE(w.m_gainSlider->isEnabled());
    w.m_autoGainCheck->setChecked(false);
    EXPECT_TRUE(w.m_gainBox->isEnabled());
    w.m_exposureAuto->setChecked(true);
    EXPECT_FALSE(w.m_shutterCombo->isEnabled());
    EXPECT_FALSE(w.m_gainSlider->isEnabled());
    w.m_blcOpen->setChecked(true);
    EXPECT_TRUE(w.m_backlightCombo->isEnabled());
    w.m_blcClose->setChecked(true);
    EXPECT_FALSE(w.m_backlightCombo->isEnabled());
    w.m_fillLightCombo->setCurrentIndex(0);
    w.m_lightModeManual->setChecked(true);
    EXPECT_TRUE(w.m_brightnessSlider->isEnabled());
    EXPECT_FALSE(w.m_brightnessBox->isEnabled());
}

void LockerWidgetProbe::brightnessRestoreAccordion(LockerWidget& widget) {
    LockerWidget& w = widget;
    EXPECT_EQ(47, widget.brightnessBox()->value()) << "no snapping while loading";

    QSignalSpy spy(&widget, SIGNAL(setValue(int)));
    widget.brightnessSlider()->setValue(63);
    EXPECT_EQ(60, widget.brightnessSlider()->value());
    EXPECT_EQ(60, widget.brightnessBox()->value());
    ASSERT_EQ(2, spy.count());
    EXPECT_EQ(63, spy.at(0).at(0).toInt());
    EXPECT_EQ(60, spy.at(1).at(0).toInt());

    spy.clear();
    widget.onSetValue(60);
    EXPECT_EQ(0, spy.count()) << "the value already shown changes nothing";
    widget.onSetValue(30);
    EXPECT_EQ(30, widget.brightnessSlider()->value());
    EXPECT_EQ(1, spy.count());

    w.m_restoreButton->click();
    for (QSpinBox* box : {w.m_luminanceBox, w.m_contrastBox, w.m_saturationBox, w.m_sharpnessBox})
        EXPECT_EQ(128, box->value());
    EXPECT_EQ(77, w.m_gainBox->value()) << "Restore changes only the four adjustments";

    for (int open : {4, 4, 9, 0}) {
        widget.header(open)->click();
        for (int i = 0; i < LockerWidget::kSectionCount; ++i)
            EXPECT_EQ(i == open, !widget.body(i)->isHidden()) << open << " " << i;
    }
    EXPECT_TRUE(widget.header(3)->text().isEmpty());
    EXPECT_EQ("Day And Night Conversion", widget.header(3)->getTextLabel()->text());
}
