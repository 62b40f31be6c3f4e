// Values shown on two pages: the audio input (audio page and board page) and the light
// brightness (image page and board page).
#include "OtherParamConfigDlg.h"

#include "LockerWidget.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>

// Runs after every page is built and loaded, so loading moves neither value across.
void OtherParamConfigDlg::connectLightBrightness() {
    const auto indexChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);
    connect(_audioInputCombo, indexChanged, this, &OtherParamConfigDlg::onComboBoxChanged,
            Qt::UniqueConnection);
    connect(_boardInputCombo, indexChanged, this, &OtherParamConfigDlg::onComboBoxChanged,
            Qt::UniqueConnection);
    connect(_boardBrightnessSlider, &QSlider::valueChanged, this, &OtherParamConfigDlg::onSliderChange,
            Qt::UniqueConnection);
    if (_lockerWidget) {
        connect(_lockerWidget, &LockerWidget::setValue, this, &OtherParamConfigDlg::onSetValue,
                Qt::UniqueConnection);
        connect(_boardBrightnessBox, QOverload<int>::of(&QSpinBox::valueChanged), _lockerWidget,
                &LockerWidget::onSetValue, Qt::UniqueConnection);
    }
}

void OtherParamConfigDlg::mirrorAudioInput(QComboBox* from, int index) {
    QComboBox* to = from == _audioInputCombo ? _boardInputCombo : _audioInputCombo;
    const QString text = index == 0 ? tr("Mic") : index == 1 ? tr("Line in") : QString();
    const int target = to->findText(text);
    if (target >= 0)
        to->setCurrentIndex(target);
}

void OtherParamConfigDlg::onSetValue(int value) {
    // Blocking the number box keeps the value from travelling back to the image page.
    const QSignalBlocker block(_boardBrightnessBox);
    _boardBrightnessSlider->setValue(value);
}

void OtherParamConfigDlg::onSliderChange(int value) {
    const int snapped = value - value % 10;
    if (snapped != value)
        _boardBrightnessSlider->setValue(snapped);
}
