// Page 6 (audio) and page 14 (audio and light board): builders, loads and savers.
#include "OtherParamConfigDlg.h"

#include "ParamPageKit.h"
#include "ParamPageUtil.h"
#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QSlider* slider(QWidget* parent, int width) {
    auto* result = new QSlider(Qt::Horizontal, parent);
    result->setRange(0, 100);
    result->setSingleStep(1);
    OzmLogic::setMyFixedWidth(result, width);
    return result;
}

QSpinBox* spinBox(QWidget* parent, int width) {
    auto* result = new QSpinBox(parent);
    result->setRange(0, 100);
    result->setSingleStep(1);
    result->setAlignment(Qt::AlignCenter);
    OzmLogic::setMyFixedSize(result, QSize(width, 30));
    return result;
}

// Slider and spin box show the same number whichever of them changes.
void couple(QSlider* slider, QSpinBox* box) {
    QObject::connect(slider, &QSlider::valueChanged, box, &QSpinBox::setValue);
    QObject::connect(box, QOverload<int>::of(&QSpinBox::valueChanged), slider, &QSlider::setValue);
}

QCheckBox* rowCheck(QWidget* parent, const QString& text) {
    auto* check = new QCheckBox(text, parent);
    check->setObjectName("checkBox");
    OzmLogic::setMyFixedWidth(check, 218);
    return check;
}

std::uint32_t flagOf(const QCheckBox* check) {
    return check->isChecked() ? 1u : 0u;
}

// The position of text in a list of translated items; -1 when none matches.
int indexOfText(const QStringList& items, const QString& text) {
    return items.indexOf(text);
}

} // namespace

// ---- page 6, audio -----------------------------------------------------------------------------

void OtherParamConfigDlg::createAudioPage() {
    QWidget* content = createPageFrame(OZM::FamilyAudio);
    auto caption = [&](const QString& text) {
        return pagekit::label(content, text, "settingLabel", 176, 20);
    };

    _audioOpenCheck = new QCheckBox(tr("Open Audio"), this);
    _audioOpenCheck->setObjectName("checkBox");
    QLabel* inputLabel = caption(tr("Audio Input:"));
    _audioInputCombo = pagekit::comboBox(content, {tr("Mic"), tr("Line in")}, 200, 30);
    QLabel* codecLabel = caption(tr("Audio Codec:"));
    _audioCodecCombo = pagekit::comboBox(content, {tr("G711A"), tr("G711U")}, 200, 30);
    QFrame* line = pagekit::splitLine(content);
    QLabel* volumeTitle =
        pagekit::label(content, tr("Volume"), "dnsServerSettingLabel", 0, 20, pagekit::kLeftAligned);
    QLabel* inputVolumeLabel = caption(tr("Input Volume:"));
    _inputVolumeSlider = slider(content, 200);
    _inputVolumeBox = spinBox(content, 60);
    QLabel* outputVolumeLabel = caption(tr("Output Volume:"));
    _outputVolumeSlider = slider(content, 200);
    _outputVolumeBox = spinBox(content, 60);
    couple(_inputVolumeSlider, _inputVolumeBox);
    couple(_outputVolumeSlider, _outputVolumeBox);
    _inputVolumeBox->setValue(100);
    _outputVolumeBox->setValue(100);

    auto* layout = new QVBoxLayout(content);
    layout->setSpacing(18);
    layout->setContentsMargins(0, 20, 0, 0);
    layout->addLayout(pagekit::row({{_audioOpenCheck, 180}}));
    layout->addLayout(pagekit::row({{inputLabel}, {_audioInputCombo, 4}}));
    layout->addLayout(pagekit::row({{codecLabel}, {_audioCodecCombo, 4}}));
    layout->addLayout(pagekit::row({{line}}));
    layout->addLayout(pagekit::row({{volumeTitle}}));
    layout->addLayout(pagekit::row({{inputVolumeLabel}, {_inputVolumeSlider, 4}, {_inputVolumeBox, 9}}));
    layout->addLayout(pagekit::row({{outputVolumeLabel}, {_outputVolumeSlider, 4}, {_outputVolumeBox, 9}}));
    layout->addStretch();

    connect(_audioOpenCheck, &QCheckBox::stateChanged, this, &OtherParamConfigDlg::onCheckBoxStateChanged);

    OZM::_SC_SETAUDIO_DATA_ info{};
    ozmParamsMgr()->getAudioInfo(&info);
    _audioOpenCheck->setChecked(info.enable != 0);
    setAudioFieldsEnabled(info.enable != 0);
    // An index the list does not hold keeps the first item.
    pageutil::setComboIndex(_audioInputCombo, info.input);
    pageutil::setComboIndex(_audioCodecCombo, info.codec);
    _inputVolumeSlider->setValue(std::clamp(info.inputVolume, 0, 100));
    _outputVolumeBox->setValue(std::clamp(info.outputVolume, 0, 100));
}

void OtherParamConfigDlg::setAudioFieldsEnabled(bool enabled) {
    for (QWidget* widget :
         {static_cast<QWidget*>(_audioInputCombo), static_cast<QWidget*>(_audioCodecCombo),
          static_cast<QWidget*>(_inputVolumeSlider), static_cast<QWidget*>(_inputVolumeBox),
          static_cast<QWidget*>(_outputVolumeSlider), static_cast<QWidget*>(_outputVolumeBox)})
        widget->setEnabled(enabled);
}

void OtherParamConfigDlg::saveAudioInfo() {
    OZM::_SC_SETAUDIO_DATA_ info{};
    info.enable = _audioOpenCheck->isChecked() ? 1 : 0;
    info.input = std::max(0, _audioInputCombo->currentIndex());
    info.codec = std::max(0, _audioCodecCombo->currentIndex());
    info.inputVolume = _inputVolumeSlider->value();
    info.outputVolume = _outputVolumeBox->value();
    ozmParamsMgr()->setAudioInfo(&info);
}

// ---- page 14, audio and light board ------------------------------------------------------------

namespace {

QStringList boardControlItems() {
    return {OtherParamConfigDlg::tr("High Level"), OtherParamConfigDlg::tr("Low Level"),
            OtherParamConfigDlg::tr("Pwm")};
}

// All five modes the record knows; the last two are offered too, so that a stored 3 or 4 is
// shown and saved back as it is.
QStringList boardModeItems() {
    return {OtherParamConfigDlg::tr("Infrared Light Board"), OtherParamConfigDlg::tr("Warm Light Board"),
            OtherParamConfigDlg::tr("Infrared + Warm Light"),
            OtherParamConfigDlg::tr("Infrared + White Light"),
            OtherParamConfigDlg::tr("Hard Photosensitive")};
}

} // namespace

void OtherParamConfigDlg::createAudioBoardPage() {
    QWidget* content = createPageFrame(OZM::FamilyAudioBoard);

    _boardInputCheck = rowCheck(content, tr("Audio Input Method:"));
    _boardInputCombo = pagekit::comboBox(content, {tr("Mic"), tr("Line in")}, 200, 30);
    _boardControlCheck = rowCheck(content, tr("Light Board Turn-on Control:"));
    _boardControlCombo = pagekit::comboBox(content, boardControlItems(), 200, 30);
    _boardModeCheck = rowCheck(content, tr("Light Board Mode:"));
    _boardModeCombo = pagekit::comboBox(content, boardModeItems(), 200, 30);
    _boardBrightnessCheck = rowCheck(content, tr("Light Board Brightness:"));
    _boardBrightnessSlider = slider(content, 200);
    _boardBrightnessBox = spinBox(content, 61);
    couple(_boardBrightnessSlider, _boardBrightnessBox);
    _boardBrightnessBox->setValue(100);

    auto* layout = new QVBoxLayout(content);
    layout->setSpacing(18);
    layout->setContentsMargins(59, 30, 0, 0);
    auto* controlRow = new QWidget(content);
    auto* brightnessRow = new QWidget(content);
    layout->addLayout(pagekit::row({{_boardInputCheck}, {_boardInputCombo}}));
    auto* controlLayout = pagekit::row({{_boardControlCheck}, {_boardControlCombo}});
    controlRow->setLayout(controlLayout);
    layout->addWidget(controlRow);
    layout->addLayout(pagekit::row({{_boardModeCheck}, {_boardModeCombo}}));
    brightnessRow->setLayout(
        pagekit::row({{_boardBrightnessCheck}, {_boardBrightnessSlider}, {_boardBrightnessBox, 9}}));
    layout->addWidget(brightnessRow);
    layout->addStretch();
    // The turn-on control and brightness rows are never shown; they still load and save.
    controlRow->hide();
    brightnessRow->hide();

    connect(_boardModeCheck, &QCheckBox::stateChanged, this, &OtherParamConfigDlg::onCheckBoxStateChanged);

    setBoardBrightnessEnabled(false);
    OZM::_SC_SETAUDIOINPUT_DATA_ info{};
    ozmParamsMgr()->getAudioBoard(&info);
    _boardInputCheck->setChecked(info.applyInput != 0);
    _boardControlCheck->setChecked(info.applyTurnOnControl != 0);
    _boardModeCheck->setChecked(info.applyLightBoardMode != 0);
    _boardBrightnessCheck->setChecked(info.applyBrightness != 0);
    setBoardBrightnessEnabled(info.applyLightBoardMode != 0);
    _boardInputCombo->setCurrentIndex(info.input != 0 ? 1 : 0);
    if (info.turnOnControl < static_cast<std::uint32_t>(_boardControlCombo->count()))
        _boardControlCombo->setCurrentIndex(static_cast<int>(info.turnOnControl));
    if (info.lightBoardMode < static_cast<std::uint32_t>(_boardModeCombo->count()))
        _boardModeCombo->setCurrentIndex(static_cast<int>(info.lightBoardMode));
    _boardBrightnessSlider->setValue(static_cast<int>(std::min<std::uint32_t>(info.brightness, 100)));
}

void OtherParamConfigDlg::setBoardBrightnessEnabled(bool enabled) {
    _boardBrightnessCheck->setEnabled(enabled);
    _boardBrightnessSlider->setEnabled(enabled);
    // The number box only shows the slider's value.
    _boardBrightnessBox->setEnabled(false);
}

void OtherParamConfigDlg::saveAudioBoard() {
    OZM::_SC_SETAUDIOINPUT_DATA_ info{};
    info.applyInput = flagOf(_boardInputCheck);
    info.applyTurnOnControl = flagOf(_boardControlCheck);
    info.applyLightBoardMode = flagOf(_boardModeCheck);
    info.applyBrightness = flagOf(_boardBrightnessCheck);
    info.input = _boardInputCombo->currentText() == tr("Mic") ? 0 : 1;
    info.turnOnControl = static_cast<std::uint32_t>(
        std::max(0, indexOfText(boardControlItems(), _boardControlCombo->currentText())));
    info.lightBoardMode = static_cast<std::uint32_t>(
        std::max(0, indexOfText(boardModeItems(), _boardModeCombo->currentText())));
    info.brightness = static_cast<std::uint32_t>(_boardBrightnessSlider->value());
    ozmParamsMgr()->setAudioBoard(&info);
}
