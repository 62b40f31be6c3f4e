// LockerWidget: construction of the ten sections and their controls.
#include "LockerWidget.h"

#include "LockerButton.h"
#include "ParamPageUtil.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/SkinMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

struct SectionInfo {
    const char* caption;
    int height;
};

constexpr SectionInfo kSections[LockerWidget::kSectionCount] = {
    {QT_TRANSLATE_NOOP("LockerWidget", "Image Adjustment"), 202},
    {QT_TRANSLATE_NOOP("LockerWidget", "Exposure"), 196},
    {QT_TRANSLATE_NOOP("LockerWidget", "Back Light"), 108},
    {QT_TRANSLATE_NOOP("LockerWidget", "Day And Night Conversion"), 200},
    {QT_TRANSLATE_NOOP("LockerWidget", "White Balance"), 202},
    {QT_TRANSLATE_NOOP("LockerWidget", "Video Adjustment"), 158},
    {QT_TRANSLATE_NOOP("LockerWidget", "Image Enhancement"), 114},
    {QT_TRANSLATE_NOOP("LockerWidget", "Dehaze"), 114},
    {QT_TRANSLATE_NOOP("LockerWidget", "Distortion"), 114},
    {QT_TRANSLATE_NOOP("LockerWidget", "Image Rotation"), 70},
};

// The shutter times and the two number lists are item texts like any other: translated.
constexpr const char* kShutterItems[] = {
    QT_TRANSLATE_NOOP("LockerWidget", "1/25"),    QT_TRANSLATE_NOOP("LockerWidget", "1/30"),
    QT_TRANSLATE_NOOP("LockerWidget", "1/75"),    QT_TRANSLATE_NOOP("LockerWidget", "1/100"),
    QT_TRANSLATE_NOOP("LockerWidget", "1/120"),   QT_TRANSLATE_NOOP("LockerWidget", "1/150"),
    QT_TRANSLATE_NOOP("LockerWidget", "1/250"),   QT_TRANSLATE_NOOP("LockerWidget", "1/300"),
    QT_TRANSLATE_NOOP("LockerWidget", "1/425"),   QT_TRANSLATE_NOOP("LockerWidget", "1/600"),
    QT_TRANSLATE_NOOP("LockerWidget", "1/1000"),  QT_TRANSLATE_NOOP("LockerWidget", "1/1250"),
    QT_TRANSLATE_NOOP("LockerWidget", "1/1750"),  QT_TRANSLATE_NOOP("LockerWidget", "1/2500"),
    QT_TRANSLATE_NOOP("LockerWidget", "1/3500"),  QT_TRANSLATE_NOOP("LockerWidget", "1/6000"),
    QT_TRANSLATE_NOOP("LockerWidget", "1/10000"),
};
// Sensitivity 0..7 and filter time 3..10: item i stands for first + i.
constexpr const char* kNumberItems[] = {
    QT_TRANSLATE_NOOP("LockerWidget", "0"),  QT_TRANSLATE_NOOP("LockerWidget", "1"),
    QT_TRANSLATE_NOOP("LockerWidget", "2"),  QT_TRANSLATE_NOOP("LockerWidget", "3"),
    QT_TRANSLATE_NOOP("LockerWidget", "4"),  QT_TRANSLATE_NOOP("LockerWidget", "5"),
    QT_TRANSLATE_NOOP("LockerWidget", "6"),  QT_TRANSLATE_NOOP("LockerWidget", "7"),
    QT_TRANSLATE_NOOP("LockerWidget", "8"),  QT_TRANSLATE_NOOP("LockerWidget", "9"),
    QT_TRANSLATE_NOOP("LockerWidget", "10"),
};

QStringList translated(const char* const* texts, int first, int last) {
    QStringList items;
    for (int i = first; i <= last; ++i)
        items << LockerWidget::tr(texts[i]);
    return items;
}

QHBoxLayout* row(QVBoxLayout* column) {
    auto* layout = new QHBoxLayout;
    layout->setSpacing(8);
    layout->setContentsMargins(0, 0, 0, 0);
    column->addLayout(layout);
    return layout;
}

void addSliderRow(QHBoxLayout* layout, QLabel* label, QSlider* slider, QSpinBox* box) {
    layout->addWidget(label);
    layout->addWidget(slider);
    layout->addWidget(box);
}

} // namespace

LockerWidget::LockerWidget(QWidget* parent) : QWidget(parent) {
    m_brightnessSlider = nullptr;
    m_brightnessBox = nullptr;
    createSections();
    connectControls();
    loadImageInfo();
    m_headers[0]->click();
    connect(m_brightnessBox, SIGNAL(valueChanged(int)), this, SIGNAL(setValue(int)));
    connect(m_brightnessSlider, SIGNAL(valueChanged(int)), this, SLOT(onSliderChange(int)));
    m_brightnessBox->setEnabled(false);
}

LockerWidget::~LockerWidget() = default;

void LockerWidget::createSections() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < kSectionCount; ++i) {
        auto* header = new LockerButton(this);
        header->setImage(ozmSkinMgr()->getPixmap("MainFrame", "icon_tree_less.png", QSize(), -1, -1));
        OzmLogic::setMyFixedHeight(header, 40);
        auto* body = new QWidget(this);
        body->hide();
        body->setObjectName(i == 0 ? "lwWidget" : (i == kSectionCount - 1 ? "lwWidget1" : "lwWidget2"));
        OzmLogic::setMyFixedWidth(body, 814);
        header->setText(tr(kSections[i].caption));
        OzmLogic::setMyFixedHeight(body, kSections[i].height);
        m_headers[i] = header;
        m_bodies[i] = body;
        m_captionWidth = i <= 2 ? 176 : 164;
        switch (i) {
        case 0:
            createImageAdjustment(body);
            break;
        case 1:
            createExposure(body);
            break;
        case 2:
            createBackLight(body);
            break;
        case 3:
            createDayNight(body);
            break;
        case 4:
            createWhiteBalance(body);
            break;
        case 5:
            createVideoAdjustment(body);
            break;
        case 6:
            createImageEnhancement(body);
            break;
        case 7:
            createDehaze(body);
            break;
        case 8:
            createDistortion(body);
            break;
        default:
            createImageRotation(body);
            break;
        }
        connect(header, SIGNAL(clicked()), this, SLOT(onBtnClicked()));
        layout->addWidget(header);
        layout->addWidget(body);
    }
}

QLabel* LockerWidget::makeLabel(const QString& text, int height) {
    auto* label = new QLabel(text, this);
    label->setObjectName("lwLabel");
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    OzmLogic::setMyFixedSize(label, m_captionWidth, height);
    return label;
}

QComboBox* LockerWidget::makeCombo(const QStringList& items) {
    auto* combo = new QComboBox(this);
    combo->setObjectName("lwComboBox");
    pageutil::usePopupList(combo);
    combo->addItems(items);
    OzmLogic::setMyFixedSize(combo, 200, 30);
    return combo;
}

void LockerWidget::makeSliderRow(QSlider*& slider, QSpinBox*& box, int max, int step, int value) {
    slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(0, max);
    slider->setSingleStep(step);
    slider->setPageStep(step);
    OzmLogic::setMyFixedWidth(slider, 200);
    box = new QSpinBox(this);
    box->setRange(0, max);
    box->setSingleStep(step);
    box->setAlignment(Qt::AlignCenter);
    OzmLogic::setMyFixedSize(box, 61, 30);
    // Slider to box first: a slider change reaches the box before anything connected later.
    connect(box, SIGNAL(valueChanged(int)), slider, SLOT(setValue(int)));
    connect(slider, SIGNAL(valueChanged(int)), box, SLOT(setValue(int)));
    box->setValue(value);
}

QRadioButton* LockerWidget::makeRadio(const QString& text, int width) {
    auto* radio = new QRadioButton(text, this);
    radio->setObjectName("radioButton");
    OzmLogic::setMyFixedWidth(radio, width);
    return radio;
}

QVBoxLayout* LockerWidget::bodyLayout(QWidget* body) {
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(0, 20, 0, 0);
    layout->setSpacing(16);
    return layout;
}

void LockerWidget::createImageAdjustment(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    m_luminanceLabel = makeLabel(tr("Luminance:"), 20);
    makeSliderRow(m_luminanceSlider, m_luminanceBox, 255, 1, 128);
    m_restoreButton = new QPushButton(tr("Restore"), this);
    m_restoreButton->setObjectName("lwButton");
    OzmLogic::setMyFixedSize(m_restoreButton, 100, 30);
    QHBoxLayout* first = row(column);
    addSliderRow(first, m_luminanceLabel, m_luminanceSlider, m_luminanceBox);
    first->addWidget(m_restoreButton);
    first->addStretch();

    const struct {
        QLabel** label;
        QSlider** slider;
        QSpinBox** box;
        const char* caption;
    } rows[] = {
        {&m_contrastLabel, &m_contrastSlider, &m_contrastBox, QT_TR_NOOP("Contrast:")},
        {&m_saturationLabel, &m_saturationSlider, &m_saturationBox, QT_TR_NOOP("Saturation:")},
        {&m_sharpnessLabel, &m_sharpnessSlider, &m_sharpnessBox, QT_TR_NOOP("Sharpness:")},
    };
    for (const auto& r : rows) {
        *r.label = makeLabel(tr(r.caption), 20);
        makeSliderRow(*r.slider, *r.box, 255, 1, 128);
        QHBoxLayout* line = row(column);
        addSliderRow(line, *r.label, *r.slider, *r.box);
        line->addStretch();
    }
    column->addStretch();
}

void LockerWidget::createExposure(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    m_exposureLabel = makeLabel(tr("Eposure Mode:"), 20);
    m_exposureAuto = makeRadio(tr("Auto"), 58);
    m_exposureManual = makeRadio(tr("Manual"), 100);
    QHBoxLayout* mode = row(column);
    mode->addWidget(m_exposureLabel);
    mode->addWidget(m_exposureAuto);
    mode->addWidget(m_exposureManual);
    mode->addStretch();

    m_shutterLabel = makeLabel(tr("Electronic Shutter:"), 20);
    m_shutterCombo = makeCombo(translated(kShutterItems, 0, 16));
    QHBoxLayout* shutter = row(column);
    shutter->addWidget(m_shutterLabel);
    shutter->addWidget(m_shutterCombo);
    shutter->addStretch();

    m_autoGainCheck = new QCheckBox(tr("Auto Gain"), this);
    m_autoGainCheck->setObjectName("lwCheckBox");
    QHBoxLayout* autoGain = row(column);
    autoGain->addSpacing(m_captionWidth + 8);
    autoGain->addWidget(m_autoGainCheck);
    autoGain->addStretch();

    m_gainLabel = makeLabel(tr("Gain Adjustment:"), 20);
    makeSliderRow(m_gainSlider, m_gainBox, 255, 1, 128);
    QHBoxLayout* gain = row(column);
    addSliderRow(gain, m_gainLabel, m_gainSlider, m_gainBox);
    gain->addStretch();
    column->addStretch();
}

void LockerWidget::createBackLight(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    m_blcLabel = makeLabel(tr("BLC:"), 20);
    m_blcClose = makeRadio(tr("Close"), 58);
    m_blcOpen = makeRadio(tr("Open"), 100);
    QHBoxLayout* blc = row(column);
    blc->addWidget(m_blcLabel);
    blc->addWidget(m_blcClose);
    blc->addWidget(m_blcOpen);
    blc->addStretch();

    m_backlightLabel = makeLabel(tr("Backlight Amount:"), 20);
    m_backlightCombo = makeCombo({tr("Min"), tr("Medium"), tr("Max")});
    QHBoxLayout* amount = row(column);
    amount->addWidget(m_backlightLabel);
    amount->addWidget(m_backlightCombo);
    amount->addStretch();
    column->addStretch();
}

void LockerWidget::createDayNight(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    m_fillLightLabel = makeLabel(tr("Fill Light Mode:"), 22);
    m_fillLightCombo = makeCombo({tr("Auto"), tr("DayTime"), tr("Night"), tr("Time")});
    m_keepColorLabel = makeLabel(tr("Keep Color:"), 22);
    m_keepColorCombo = makeCombo({tr("No"), tr("Yes")});
    QHBoxLayout* fill = row(column);
    fill->addWidget(m_fillLightLabel);
    fill->addWidget(m_fillLightCombo);
    fill->addWidget(m_keepColorLabel);
    fill->addWidget(m_keepColorCombo);
    fill->addStretch();

    const QStringList sensitivities = translated(kNumberItems, kSensitivityFirst, kSensitivityFirst + 7);
    const QStringList filterTimes = translated(kNumberItems, kFilterTimeFirst, kFilterTimeFirst + 7);
    m_sensitivityLabel = makeLabel(tr("Sensitivity:"), 22);
    m_sensitivityCombo = makeCombo(sensitivities);
    m_sensitivityCombo->setCurrentIndex(3);
    m_filterTimeLabel = makeLabel(tr("Filter Time:"), 22);
    m_filterTimeCombo = makeCombo(filterTimes);
    m_filterTimeCombo->setCurrentIndex(0);
    QHBoxLayout* sensitivity = row(column);
    sensitivity->addWidget(m_sensitivityLabel);
    sensitivity->addWidget(m_sensitivityCombo);
    sensitivity->addWidget(m_filterTimeLabel);
    sensitivity->addWidget(m_filterTimeCombo);
    sensitivity->addStretch();

    m_lightModeLabel = makeLabel(tr("Light Mode:"), 22);
    m_lightModeAuto = makeRadio(tr("Auto"), 58);
    m_lightModeManual = makeRadio(tr("Manual"), 100);
    QHBoxLayout* lightMode = row(column);
    lightMode->addWidget(m_lightModeLabel);
    lightMode->addWidget(m_lightModeAuto);
    lightMode->addWidget(m_lightModeManual);
    lightMode->addStretch();

    m_dawnLabel = makeLabel(tr("Dawn Time:"), 22);
    m_dawnEdit = new QTimeEdit(this);
    m_dawnEdit->setDisplayFormat("HH:mm");
    OzmLogic::setMyFixedSize(m_dawnEdit, 100, 30);
    m_darkLabel = makeLabel(tr("Dark Time:"), 22);
    m_darkEdit = new QTimeEdit(this);
    m_darkEdit->setDisplayFormat("HH:mm");
    OzmLogic::setMyFixedSize(m_darkEdit, 100, 30);
    QHBoxLayout* times = row(column);
    times->addWidget(m_dawnLabel);
    times->addWidget(m_dawnEdit);
    times->addWidget(m_darkLabel);
    times->addWidget(m_darkEdit);
    times->addStretch();
    setDawnDarkVisible(false);

    m_brightnessLabel = makeLabel(tr("Light Brightness:"), 22);
    makeSliderRow(m_brightnessSlider, m_brightnessBox, 100, 10, 100);
    QHBoxLayout* brightness = row(column);
    addSliderRow(brightness, m_brightnessLabel, m_brightnessSlider, m_brightnessBox);
    brightness->addStretch();
    column->addStretch();
}

void LockerWidget::createWhiteBalance(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    m_whiteBalanceLabel = makeLabel(tr("White Balance:"), 22);
    m_whiteBalanceCombo = makeCombo({tr("Auto"), tr("Manual")});
    QHBoxLayout* mode = row(column);
    mode->addWidget(m_whiteBalanceLabel);
    mode->addWidget(m_whiteBalanceCombo);
    mode->addStretch();
    const struct {
        QLabel** label;
        QSlider** slider;
        QSpinBox** box;
        const char* caption;
    } rows[] = {
        {&m_redLabel, &m_redSlider, &m_redBox, QT_TR_NOOP("Red Gain:")},
        {&m_greenLabel, &m_greenSlider, &m_greenBox, QT_TR_NOOP("Green Gain:")},
        {&m_blueLabel, &m_blueSlider, &m_blueBox, QT_TR_NOOP("Blue Gain:")},
    };
    for (const auto& r : rows) {
        *r.label = makeLabel(tr(r.caption), 22);
        makeSliderRow(*r.slider, *r.box, 255, 1, 128);
        QHBoxLayout* line = row(column);
        addSliderRow(line, *r.label, *r.slider, *r.box);
        line->addStretch();
    }
    column->addStretch();
}

void LockerWidget::createVideoAdjustment(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    m_noiseLabel = makeLabel(tr("Digital NS:"), 22);
    m_noiseCombo = makeCombo({tr("Auto"), tr("Manual 2D NR"), tr("Manual 3D NR"), tr("Manual 2D/3D NR")});
    QHBoxLayout* mode = row(column);
    mode->addWidget(m_noiseLabel);
    mode->addWidget(m_noiseCombo);
    mode->addStretch();
    m_noise2dLabel = makeLabel(tr("Digital NS 2D:"), 22);
    makeSliderRow(m_noise2dSlider, m_noise2dBox, 255, 1, 32);
    QHBoxLayout* level2d = row(column);
    addSliderRow(level2d, m_noise2dLabel, m_noise2dSlider, m_noise2dBox);
    level2d->addStretch();
    m_noise3dLabel = makeLabel(tr("Digital NS 3D:"), 22);
    makeSliderRow(m_noise3dSlider, m_noise3dBox, 255, 1, 32);
    QHBoxLayout* level3d = row(column);
    addSliderRow(level3d, m_noise3dLabel, m_noise3dSlider, m_noise3dBox);
    level3d->addStretch();
    column->addStretch();
}

void LockerWidget::createImageEnhancement(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    m_flickerLabel = makeLabel(tr("Flicker Ctrl:"), 22);
    m_flickerCombo = makeCombo({tr("NTSC(60HZ)"), tr("PAL(50HZ)")});
    QHBoxLayout* flicker = row(column);
    flicker->addWidget(m_flickerLabel);
    flicker->addWidget(m_flickerCombo);
    flicker->addStretch();
    m_wdrLabel = makeLabel(tr("Wide Dynamic Switch:"), 22);
    m_wdrCombo =
        makeCombo({tr("Shut Down"), tr("Auto"), tr("Weak"), tr("Moderate"), tr("Strong"), tr("Super")});
    QHBoxLayout* wdr = row(column);
    wdr->addWidget(m_wdrLabel);
    wdr->addWidget(m_wdrCombo);
    wdr->addStretch();
    column->addStretch();
}

void LockerWidget::createDehaze(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    m_dehazeLabel = makeLabel(tr("Dehaze Mode:"), 22);
    m_dehazeCombo = makeCombo({tr("Off"), tr("On"), tr("Auto")});
    QHBoxLayout* mode = row(column);
    mode->addWidget(m_dehazeLabel);
    mode->addWidget(m_dehazeCombo);
    mode->addStretch();
    m_dehazeIntenseLabel = makeLabel(tr("Dehaze Intense:"), 22);
    makeSliderRow(m_dehazeSlider, m_dehazeBox, 255, 1, 0);
    QHBoxLayout* intense = row(column);
    addSliderRow(intense, m_dehazeIntenseLabel, m_dehazeSlider, m_dehazeBox);
    intense->addStretch();
    column->addStretch();
}

void LockerWidget::createDistortion(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    m_distortLabel = makeLabel(tr("Distort Mode:"), 22);
    m_distortCombo = makeCombo({tr("Closed"), tr("Open")});
    QHBoxLayout* mode = row(column);
    mode->addWidget(m_distortLabel);
    mode->addWidget(m_distortCombo);
    mode->addStretch();
    m_distortIntenseLabel = makeLabel(tr("Distort Intense:"), 22);
    makeSliderRow(m_distortSlider, m_distortBox, 255, 1, 0);
    QHBoxLayout* intense = row(column);
    addSliderRow(intense, m_distortIntenseLabel, m_distortSlider, m_distortBox);
    intense->addStretch();
    column->addStretch();
}

void LockerWidget::createImageRotation(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    m_mirrorLabel = makeLabel(tr("Mirroring:"), 22);
    m_mirrorCombo = makeCombo({tr("Off"), tr("Level"), tr("Vertical"), tr("Both")});
    QHBoxLayout* mirror = row(column);
    mirror->addWidget(m_mirrorLabel);
    mirror->addWidget(m_mirrorCombo);
    mirror->addStretch();
    column->addStretch();
}
