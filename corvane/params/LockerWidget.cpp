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
        m_captionSize = i <= 2 ? QSize(176, 20) : QSize(164, 22);
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

QLabel* LockerWidget::makeLabel(const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName("lwLabel");
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    OzmLogic::setMyFixedSize(label, m_captionSize.width(), m_captionSize.height());
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

QHBoxLayout* LockerWidget::addRow(QVBoxLayout* column, std::initializer_list<QWidget*> widgets) {
    auto* line = new QHBoxLayout;
    line->setSpacing(8);
    line->setContentsMargins(0, 0, 0, 0);
    column->addLayout(line);
    for (QWidget* widget : widgets)
        line->addWidget(widget);
    line->addStretch();
    return line;
}

void LockerWidget::addComboRow(QVBoxLayout* column, QLabel*& label, const QString& caption, QComboBox*& combo,
                               const QStringList& items) {
    label = makeLabel(caption);
    combo = makeCombo(items);
    addRow(column, {label, combo});
}

void LockerWidget::addRadioRow(QVBoxLayout* column, QLabel*& label, const QString& caption,
                               QRadioButton*& first, const QString& firstText, QRadioButton*& second,
                               const QString& secondText) {
    label = makeLabel(caption);
    first = makeRadio(firstText, 58);
    second = makeRadio(secondText, 100);
    addRow(column, {label, first, second});
}

QHBoxLayout* LockerWidget::addSliderRow(QVBoxLayout* column, QLabel*& label, const QString& caption,
                                        QSlider*& slider, QSpinBox*& box, int max, int step, int value) {
    label = makeLabel(caption);
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
    return addRow(column, {label, slider, box});
}

void LockerWidget::createImageAdjustment(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    QHBoxLayout* luminance = addSliderRow(column, m_luminanceLabel, tr("Luminance:"), m_luminanceSlider,
                                          m_luminanceBox, 255, 1, 128);
    m_restoreButton = new QPushButton(tr("Restore"), this);
    m_restoreButton->setObjectName("lwButton");
    OzmLogic::setMyFixedSize(m_restoreButton, 100, 30);
    luminance->insertWidget(luminance->count() - 1, m_restoreButton); // behind the box, before the stretch
    addSliderRow(column, m_contrastLabel, tr("Contrast:"), m_contrastSlider, m_contrastBox, 255, 1, 128);
    addSliderRow(column, m_saturationLabel, tr("Saturation:"), m_saturationSlider, m_saturationBox, 255, 1,
                 128);
    addSliderRow(column, m_sharpnessLabel, tr("Sharpness:"), m_sharpnessSlider, m_sharpnessBox, 255, 1, 128);
    column->addStretch();
}

void LockerWidget::createExposure(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    addRadioRow(column, m_exposureLabel, tr("Eposure Mode:"), m_exposureAuto, tr("Auto"), m_exposureManual,
                tr("Manual"));
    addComboRow(column, m_shutterLabel, tr("Electronic Shutter:"), m_shutterCombo,
                translated(kShutterItems, 0, 16));
    m_autoGainCheck = new QCheckBox(tr("Auto Gain"), this);
    m_autoGainCheck->setObjectName("lwCheckBox");
    addRow(column, {m_autoGainCheck})->insertSpacing(0, m_captionSize.width() + 8); // under the controls
    addSliderRow(column, m_gainLabel, tr("Gain Adjustment:"), m_gainSlider, m_gainBox, 255, 1, 128);
    column->addStretch();
}

void LockerWidget::createBackLight(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    addRadioRow(column, m_blcLabel, tr("BLC:"), m_blcClose, tr("Close"), m_blcOpen, tr("Open"));
    addComboRow(column, m_backlightLabel, tr("Backlight Amount:"), m_backlightCombo,
                {tr("Min"), tr("Medium"), tr("Max")});
    column->addStretch();
}

void LockerWidget::createDayNight(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    m_fillLightLabel = makeLabel(tr("Fill Light Mode:"));
    m_fillLightCombo = makeCombo({tr("Auto"), tr("DayTime"), tr("Night"), tr("Time")});
    m_keepColorLabel = makeLabel(tr("Keep Color:"));
    m_keepColorCombo = makeCombo({tr("No"), tr("Yes")});
    addRow(column, {m_fillLightLabel, m_fillLightCombo, m_keepColorLabel, m_keepColorCombo});

    m_sensitivityLabel = makeLabel(tr("Sensitivity:"));
    m_sensitivityCombo = makeCombo(translated(kNumberItems, kSensitivityFirst, kSensitivityFirst + 7));
    m_sensitivityCombo->setCurrentIndex(3);
    m_filterTimeLabel = makeLabel(tr("Filter Time:"));
    m_filterTimeCombo = makeCombo(translated(kNumberItems, kFilterTimeFirst, kFilterTimeFirst + 7));
    m_filterTimeCombo->setCurrentIndex(0);
    addRow(column, {m_sensitivityLabel, m_sensitivityCombo, m_filterTimeLabel, m_filterTimeCombo});

    addRadioRow(column, m_lightModeLabel, tr("Light Mode:"), m_lightModeAuto, tr("Auto"), m_lightModeManual,
                tr("Manual"));

    m_dawnLabel = makeLabel(tr("Dawn Time:"));
    m_dawnEdit = new QTimeEdit(this);
    m_dawnEdit->setDisplayFormat("HH:mm");
    OzmLogic::setMyFixedSize(m_dawnEdit, 100, 30);
    m_darkLabel = makeLabel(tr("Dark Time:"));
    m_darkEdit = new QTimeEdit(this);
    m_darkEdit->setDisplayFormat("HH:mm");
    OzmLogic::setMyFixedSize(m_darkEdit, 100, 30);
    addRow(column, {m_dawnLabel, m_dawnEdit, m_darkLabel, m_darkEdit});
    setDawnDarkVisible(false);

    addSliderRow(column, m_brightnessLabel, tr("Light Brightness:"), m_brightnessSlider, m_brightnessBox, 100,
                 10, 100);
    column->addStretch();
}

void LockerWidget::createWhiteBalance(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    addComboRow(column, m_whiteBalanceLabel, tr("White Balance:"), m_whiteBalanceCombo,
                {tr("Auto"), tr("Manual")});
    addSliderRow(column, m_redLabel, tr("Red Gain:"), m_redSlider, m_redBox, 255, 1, 128);
    addSliderRow(column, m_greenLabel, tr("Green Gain:"), m_greenSlider, m_greenBox, 255, 1, 128);
    addSliderRow(column, m_blueLabel, tr("Blue Gain:"), m_blueSlider, m_blueBox, 255, 1, 128);
    column->addStretch();
}

void LockerWidget::createVideoAdjustment(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    addComboRow(column, m_noiseLabel, tr("Digital NS:"), m_noiseCombo,
                {tr("Auto"), tr("Manual 2D NR"), tr("Manual 3D NR"), tr("Manual 2D/3D NR")});
    addSliderRow(column, m_noise2dLabel, tr("Digital NS 2D:"), m_noise2dSlider, m_noise2dBox, 255, 1, 32);
    addSliderRow(column, m_noise3dLabel, tr("Digital NS 3D:"), m_noise3dSlider, m_noise3dBox, 255, 1, 32);
    column->addStretch();
}

void LockerWidget::createImageEnhancement(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    addComboRow(column, m_flickerLabel, tr("Flicker Ctrl:"), m_flickerCombo,
                {tr("NTSC(60HZ)"), tr("PAL(50HZ)")});
    addComboRow(column, m_wdrLabel, tr("Wide Dynamic Switch:"), m_wdrCombo,
                {tr("Shut Down"), tr("Auto"), tr("Weak"), tr("Moderate"), tr("Strong"), tr("Super")});
    column->addStretch();
}

void LockerWidget::createDehaze(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    addComboRow(column, m_dehazeLabel, tr("Dehaze Mode:"), m_dehazeCombo, {tr("Off"), tr("On"), tr("Auto")});
    addSliderRow(column, m_dehazeIntenseLabel, tr("Dehaze Intense:"), m_dehazeSlider, m_dehazeBox, 255, 1, 0);
    column->addStretch();
}

void LockerWidget::createDistortion(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    addComboRow(column, m_distortLabel, tr("Distort Mode:"), m_distortCombo, {tr("Closed"), tr("Open")});
    addSliderRow(column, m_distortIntenseLabel, tr("Distort Intense:"), m_distortSlider, m_distortBox, 255, 1,
                 0);
    column->addStretch();
}

void LockerWidget::createImageRotation(QWidget* body) {
    QVBoxLayout* column = bodyLayout(body);
    addComboRow(column, m_mirrorLabel, tr("Mirroring:"), m_mirrorCombo,
                {tr("Off"), tr("Level"), tr("Vertical"), tr("Both")});
    column->addStretch();
}
