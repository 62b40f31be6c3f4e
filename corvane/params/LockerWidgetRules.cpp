// LockerWidget: loading, saving and the enable rules.
#include "LockerButton.h"
#include "LockerWidget.h"
#include "ParamPageUtil.h"
#include "ozmlogic/ParamsMgr.h"
#include "ozmlogic/SkinMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDebug>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimeEdit>

#include <cstring>

using OZM::_SC_IMAGE_DATA_;

namespace {

QTime minutesToTime(std::int32_t minutes) {
    const auto value = static_cast<std::uint32_t>(minutes);
    const QString text =
        QString("%1:%2").arg(value / 60, 2, 10, QChar('0')).arg(value % 60, 2, 10, QChar('0'));
    return QTime::fromString(text, "HH:mm");
}

std::int32_t timeToMinutes(const QTimeEdit* edit) {
    const QTime time = edit->time();
    return time.hour() * 60 + time.minute();
}

std::uint8_t byteOf(int value) {
    return static_cast<std::uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// Selects the item whose text is the number; a number that is not an item changes nothing.
// Item i of a number list stands for first + i; a number the list lacks selects nothing new.
void selectNumber(QComboBox* combo, int first, int number) {
    const int index = number - first;
    if (index >= 0 && index < combo->count())
        combo->setCurrentIndex(index);
}

} // namespace

void LockerWidget::connectControls() {
    connect(m_restoreButton, SIGNAL(clicked()), this, SLOT(onResetDefault()));
    connect(m_autoGainCheck, SIGNAL(stateChanged(int)), this, SLOT(onCheckBoxStateChanged(int)));
    for (QRadioButton* radio : {m_blcClose, m_blcOpen, m_exposureManual, m_lightModeManual})
        connect(radio, SIGNAL(toggled(bool)), this, SLOT(onCheckSlot(bool)));
    for (QComboBox* combo :
         {m_whiteBalanceCombo, m_noiseCombo, m_dehazeCombo, m_distortCombo, m_fillLightCombo})
        connect(combo, SIGNAL(currentIndexChanged(int)), this, SLOT(onComboBoxChanged(int)));
}

void LockerWidget::setPair(QSlider* slider, QSpinBox* box, bool enabled) {
    slider->setEnabled(enabled);
    box->setEnabled(enabled);
}

void LockerWidget::setBrightnessRowVisible(bool visible) {
    m_brightnessLabel->setVisible(visible);
    m_brightnessSlider->setVisible(visible);
    m_brightnessBox->setVisible(visible);
}

void LockerWidget::setLightModeRowVisible(bool visible) {
    m_lightModeLabel->setVisible(visible);
    m_lightModeAuto->setVisible(visible);
    m_lightModeManual->setVisible(visible);
}

void LockerWidget::setDawnDarkVisible(bool visible) {
    m_dawnLabel->setVisible(visible);
    m_dawnEdit->setVisible(visible);
    m_darkLabel->setVisible(visible);
    m_darkEdit->setVisible(visible);
}

void LockerWidget::setSensitivityRow(bool visible, bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{m_sensitivityLabel, m_sensitivityCombo,
                                                      m_filterTimeLabel, m_filterTimeCombo}) {
        w->setVisible(visible);
        w->setEnabled(enabled);
    }
}

void LockerWidget::applyWhiteBalance(int index) {
    const bool manual = index == 1;
    if (index != 0 && index != 1)
        return;
    setPair(m_redSlider, m_redBox, manual);
    setPair(m_greenSlider, m_greenBox, manual);
}

void LockerWidget::applyNoiseReduction(int index) {
    if (index < 0 || index > 3)
        return;
    setPair(m_noise2dSlider, m_noise2dBox, index == 1 || index == 3);
    setPair(m_noise3dSlider, m_noise3dBox, index == 2 || index == 3);
}

void LockerWidget::applyDehaze(int index) {
    if (index < 0 || index > 2)
        return;
    setPair(m_dehazeSlider, m_dehazeBox, index == 1);
}

void LockerWidget::applyDistortion(int index) {
    if (index < 0 || index > 1)
        return;
    setPair(m_distortSlider, m_distortBox, index == 1);
}

// The fill light rows as the constructor sets them after loading the mode.
void LockerWidget::applyFillLightLoaded(int mode) {
    switch (mode) {
    case 0:
        setSensitivityRow(true, true);
        setDawnDarkVisible(false);
        setBrightnessRowVisible(true);
        m_brightnessSlider->setEnabled(true);
        break;
    case 1:
        setSensitivityRow(true, false);
        setDawnDarkVisible(false);
        setBrightnessRowVisible(false);
        break;
    case 2:
        setSensitivityRow(true, false);
        setDawnDarkVisible(false);
        setBrightnessRowVisible(true);
        break;
    case 3:
        setSensitivityRow(false, true);
        setDawnDarkVisible(true);
        setBrightnessRowVisible(true);
        break;
    default:
        break;
    }
}

void LockerWidget::loadImageInfo() {
    _SC_IMAGE_DATA_ info;
    std::memset(&info, 0, sizeof info);
    ozmParamsMgr()->getImageInfo(&info);

    m_luminanceBox->setValue(info.luminance);
    m_contrastBox->setValue(info.contrast);
    m_saturationBox->setValue(info.saturation);
    m_sharpnessBox->setValue(info.sharpness);

    const bool manualExposure = info.exposureMode == 1;
    m_exposureManual->setChecked(manualExposure);
    m_exposureAuto->setChecked(!manualExposure);
    m_shutterCombo->setEnabled(manualExposure);
    m_autoGainCheck->setEnabled(manualExposure);
    setPair(m_gainSlider, m_gainBox, manualExposure);
    pageutil::setComboIndex(m_shutterCombo, info.shutter);

    m_autoGainCheck->setChecked(info.autoGain != 0);
    setPair(m_gainSlider, m_gainBox, info.autoGain == 0);
    m_gainBox->setValue(info.gain);

    const bool blcOpen = info.blc != 0;
    m_blcOpen->setChecked(blcOpen);
    m_blcClose->setChecked(!blcOpen);
    m_backlightCombo->setEnabled(blcOpen);
    pageutil::setComboIndex(m_backlightCombo, info.backlightAmount);

    pageutil::setComboIndex(m_fillLightCombo, info.fillLightMode);
    applyFillLightLoaded(info.fillLightMode);
    selectNumber(m_sensitivityCombo, kSensitivityFirst, info.sensitivity);
    selectNumber(m_filterTimeCombo, kFilterTimeFirst, info.filterTime);

    const QTime dawn = minutesToTime(info.dawnTime);
    if (dawn.isValid())
        m_dawnEdit->setTime(dawn);
    const QTime dark = minutesToTime(info.darkTime);
    if (dark.isValid())
        m_darkEdit->setTime(dark);

    m_brightnessBox->setValue(info.lightBrightness);
    pageutil::setComboIndex(m_keepColorCombo, info.keepColor);

    const bool manualLight = info.lightMode != 0;
    m_lightModeManual->setChecked(manualLight);
    m_lightModeAuto->setChecked(!manualLight);
    if (manualLight)
        m_brightnessSlider->setEnabled(true);
    else
        setPair(m_brightnessSlider, m_brightnessBox, false);

    pageutil::setComboIndex(m_whiteBalanceCombo, info.whiteBalance);
    m_redBox->setValue(info.redGain);
    m_greenBox->setValue(info.greenGain);
    m_blueBox->setValue(info.blueGain);
    applyWhiteBalance(info.whiteBalance);

    pageutil::setComboIndex(m_noiseCombo, info.noiseMode);
    m_noise2dBox->setValue(info.noise2dLevel);
    m_noise3dBox->setValue(info.noise3dLevel);
    applyNoiseReduction(info.noiseMode);

    pageutil::setComboIndex(m_flickerCombo, info.flicker);
    pageutil::setComboIndex(m_wdrCombo, info.wdrOn == 0 ? 0 : info.wdrLevel);

    pageutil::setComboIndex(m_dehazeCombo, info.dehazeMode);
    m_dehazeBox->setValue(info.dehazeIntensity);
    applyDehaze(info.dehazeMode);

    pageutil::setComboIndex(m_distortCombo, info.distortion);
    m_distortBox->setValue(info.distortionIntensity);
    applyDistortion(info.distortion);

    pageutil::setComboIndex(m_mirrorCombo, info.mirror);
}

void LockerWidget::saveImageInfo() {
    _SC_IMAGE_DATA_ info;
    std::memset(&info, 0, sizeof info);

    info.luminance = byteOf(m_luminanceBox->value());
    info.contrast = byteOf(m_contrastBox->value());
    info.saturation = byteOf(m_saturationBox->value());
    info.sharpness = byteOf(m_sharpnessBox->value());

    if (m_exposureAuto->isChecked())
        info.exposureMode = 0;
    else if (m_exposureManual->isChecked())
        info.exposureMode = 1;
    info.shutter = byteOf(m_shutterCombo->currentIndex());
    info.autoGain = m_autoGainCheck->isChecked() ? 1 : 0;
    info.gain = byteOf(m_gainBox->value());

    if (m_blcClose->isChecked())
        info.blc = 0;
    else if (m_blcOpen->isChecked())
        info.blc = 1;
    info.backlightAmount = byteOf(m_backlightCombo->currentIndex());

    info.fillLightMode = byteOf(m_fillLightCombo->currentIndex());
    info.sensitivity = byteOf(kSensitivityFirst + m_sensitivityCombo->currentIndex());
    info.filterTime = byteOf(kFilterTimeFirst + m_filterTimeCombo->currentIndex());

    info.dawnTime = timeToMinutes(m_dawnEdit);
    info.darkTime = timeToMinutes(m_darkEdit);

    info.keepColor = byteOf(m_keepColorCombo->currentIndex());
    info.lightMode = m_lightModeAuto->isChecked() ? 0 : 1;
    info.lightBrightness = byteOf(m_brightnessBox->value());

    info.whiteBalance = byteOf(m_whiteBalanceCombo->currentIndex());
    info.redGain = byteOf(m_redBox->value());
    info.greenGain = byteOf(m_greenBox->value());
    info.blueGain = byteOf(m_blueBox->value());

    info.noiseMode = byteOf(m_noiseCombo->currentIndex());
    info.noise2dLevel = byteOf(m_noise2dBox->value());
    info.noise3dLevel = byteOf(m_noise3dBox->value());

    info.flicker = byteOf(m_flickerCombo->currentIndex());
    const int wdr = m_wdrCombo->currentIndex();
    if (wdr > 0) {
        info.wdrOn = 1;
        info.wdrLevel = byteOf(wdr);
    }

    info.dehazeMode = byteOf(m_dehazeCombo->currentIndex());
    info.dehazeIntensity = byteOf(m_dehazeBox->value());
    info.distortion = byteOf(m_distortCombo->currentIndex());
    info.distortionIntensity = byteOf(m_distortBox->value());
    info.mirror = byteOf(m_mirrorCombo->currentIndex());

    ozmParamsMgr()->setImageInfo(&info);
}

void LockerWidget::onBtnClicked() {
    auto* clicked = qobject_cast<LockerButton*>(sender());
    if (clicked == nullptr)
        return;
    qDebug() << "onBtnClicked" << clicked->getTextLabel()->text();
    const QPixmap more = ozmSkinMgr()->getPixmap("MainFrame", "icon_tree_more.png", QSize(), -1, -1);
    const QPixmap less = ozmSkinMgr()->getPixmap("MainFrame", "icon_tree_less.png", QSize(), -1, -1);
    for (int i = 0; i < kSectionCount; ++i) {
        const bool open = m_headers[i] == clicked;
        m_headers[i]->setImage(open ? more : less);
        m_bodies[i]->setVisible(open);
    }
}

void LockerWidget::onResetDefault() {
    for (QSpinBox* box : {m_luminanceBox, m_contrastBox, m_saturationBox, m_sharpnessBox})
        box->setValue(128);
}

void LockerWidget::onCheckBoxStateChanged(int state) {
    auto* box = qobject_cast<QCheckBox*>(sender());
    if (box == nullptr)
        return;
    qDebug() << "onCheckBoxStateChanged" << box->text();
    if (box != m_autoGainCheck)
        return;
    if (state == Qt::Checked)
        setPair(m_gainSlider, m_gainBox, false);
    else if (state == Qt::Unchecked)
        setPair(m_gainSlider, m_gainBox, true);
}

void LockerWidget::onCheckSlot(bool state) {
    QObject* from = sender();
    if (from == nullptr)
        return;
    if (from == m_exposureManual) {
        m_shutterCombo->setEnabled(state);
        m_autoGainCheck->setEnabled(state);
        setPair(m_gainSlider, m_gainBox, state);
    } else if (from == m_blcClose) {
        if (state)
            m_backlightCombo->setEnabled(false);
    } else if (from == m_blcOpen) {
        if (state)
            m_backlightCombo->setEnabled(true);
    } else if (from == m_lightModeManual) {
        if (state)
            m_brightnessSlider->setEnabled(true);
        else
            setPair(m_brightnessSlider, m_brightnessBox, false);
    }
}

void LockerWidget::onComboBoxChanged(int index) {
    QObject* from = sender();
    if (from == nullptr)
        return;
    if (from == m_whiteBalanceCombo) {
        applyWhiteBalance(index);
    } else if (from == m_noiseCombo) {
        applyNoiseReduction(index);
    } else if (from == m_dehazeCombo) {
        applyDehaze(index);
    } else if (from == m_distortCombo) {
        applyDistortion(index);
    } else if (from == m_fillLightCombo) {
        switch (index) {
        case 0:
            setSensitivityRow(true, true);
            setLightModeRowVisible(true);
            setDawnDarkVisible(false);
            setBrightnessRowVisible(true);
            if (!m_lightModeAuto->isChecked())
                m_brightnessSlider->setEnabled(true);
            else
                setPair(m_brightnessSlider, m_brightnessBox, false);
            break;
        case 1:
            setSensitivityRow(true, false);
            setLightModeRowVisible(false);
            setDawnDarkVisible(false);
            setBrightnessRowVisible(false);
            break;
        case 2:
            setSensitivityRow(true, false);
            setLightModeRowVisible(false);
            setDawnDarkVisible(false);
            setBrightnessRowVisible(true);
            m_brightnessSlider->setEnabled(true);
            break;
        case 3:
            setSensitivityRow(false, true);
            setLightModeRowVisible(false);
            setDawnDarkVisible(true);
            setBrightnessRowVisible(true);
            m_brightnessSlider->setEnabled(true);
            break;
        default:
            break;
        }
    }
}

void LockerWidget::onSetValue(int value) {
    if (m_brightnessBox == nullptr || m_brightnessBox->value() == value)
        return;
    m_brightnessBox->setValue(value);
}

void LockerWidget::onSliderChange(int value) {
    const int snapped = value - value % 10;
    if (snapped != value)
        m_brightnessSlider->setValue(snapped);
}
