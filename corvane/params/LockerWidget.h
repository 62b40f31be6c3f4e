// Image parameters: an accordion of ten sections (header button above a body of controls),
// one body open at a time. Loads _SC_IMAGE_DATA_ from the parameter store when built and
// writes it back with saveImageInfo. The light brightness is shared with the audio/light board
// page through setValue / onSetValue.
#pragma once

#include <QWidget>

#include <array>
#include <initializer_list>

namespace OZM {
struct _SC_IMAGE_DATA_;
}

class LockerButton;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QCheckBox;
class QSlider;
class QSpinBox;
class QTimeEdit;
class QVBoxLayout;

class LockerWidget : public QWidget {
    Q_OBJECT

public:
    static constexpr int kSectionCount = 10;
    // The numbers of the first sensitivity and filter-time items; each list has eight items.
    static constexpr int kSensitivityFirst = 0;
    static constexpr int kFilterTimeFirst = 3;

    explicit LockerWidget(QWidget* parent = nullptr);
    ~LockerWidget() override;

    // Writes every control into a fresh record and stores it. Never fails.
    void saveImageInfo();

    // Read access for the dialog's wiring and for tests.
    LockerButton* header(int section) const { return m_headers.at(section); }
    QWidget* body(int section) const { return m_bodies.at(section); }
    QSlider* brightnessSlider() const { return m_brightnessSlider; }
    QSpinBox* brightnessBox() const { return m_brightnessBox; }

signals:
    void setValue(int value);

public slots:
    void onBtnClicked();
    void onResetDefault();
    void onCheckBoxStateChanged(int state);
    void onCheckSlot(bool state);
    void onComboBoxChanged(int index);
    void onSetValue(int value);
    void onSliderChange(int value);

private:
    friend struct LockerWidgetProbe; // tests

    void createSections();
    void createImageAdjustment(QWidget* body);
    void createExposure(QWidget* body);
    void createBackLight(QWidget* body);
    void createDayNight(QWidget* body);
    void createWhiteBalance(QWidget* body);
    void createVideoAdjustment(QWidget* body);
    void createImageEnhancement(QWidget* body);
    void createDehaze(QWidget* body);
    void createDistortion(QWidget* body);
    void createImageRotation(QWidget* body);

    // Builders' helpers. A row is one line of a section: its widgets left to right, then a stretch.
    // A caption is sized for the section being built.
    QLabel* makeLabel(const QString& text);
    QComboBox* makeCombo(const QStringList& items);
    QRadioButton* makeRadio(const QString& text, int width);
    QVBoxLayout* bodyLayout(QWidget* body);
    QHBoxLayout* addRow(QVBoxLayout* column, std::initializer_list<QWidget*> widgets);
    // A caption and a combo with its items.
    void addComboRow(QVBoxLayout* column, QLabel*& label, const QString& caption, QComboBox*& combo,
                     const QStringList& items);
    // A caption and two radio buttons.
    void addRadioRow(QVBoxLayout* column, QLabel*& label, const QString& caption, QRadioButton*& first,
                     const QString& firstText, QRadioButton*& second, const QString& secondText);
    // A caption, a slider and a number box that follow each other over 0..max by step, starting at
    // value.
    QHBoxLayout* addSliderRow(QVBoxLayout* column, QLabel*& label, const QString& caption, QSlider*& slider,
                              QSpinBox*& box, int max, int step, int value);

    void connectControls();
    void loadImageInfo();
    void applyFillLightLoaded(int mode);
    void setPair(QSlider* slider, QSpinBox* box, bool enabled);
    void setBrightnessRowVisible(bool visible);
    void setLightModeRowVisible(bool visible);
    void setDawnDarkVisible(bool visible);
    void setSensitivityRow(bool visible, bool enabled);
    void applyWhiteBalance(int index);
    void applyNoiseReduction(int index);
    void applyDehaze(int index);
    void applyDistortion(int index);

    std::array<LockerButton*, kSectionCount> m_headers{};
    std::array<QWidget*, kSectionCount> m_bodies{};

    // 0 Image Adjustment
    QLabel* m_luminanceLabel = nullptr;
    QSlider* m_luminanceSlider = nullptr;
    QSpinBox* m_luminanceBox = nullptr;
    QPushButton* m_restoreButton = nullptr;
    QLabel* m_contrastLabel = nullptr;
    QSlider* m_contrastSlider = nullptr;
    QSpinBox* m_contrastBox = nullptr;
    QLabel* m_saturationLabel = nullptr;
    QSlider* m_saturationSlider = nullptr;
    QSpinBox* m_saturationBox = nullptr;
    QLabel* m_sharpnessLabel = nullptr;
    QSlider* m_sharpnessSlider = nullptr;
    QSpinBox* m_sharpnessBox = nullptr;
    // 1 Exposure
    QLabel* m_exposureLabel = nullptr;
    QRadioButton* m_exposureAuto = nullptr;
    QRadioButton* m_exposureManual = nullptr;
    QLabel* m_shutterLabel = nullptr;
    QComboBox* m_shutterCombo = nullptr;
    QCheckBox* m_autoGainCheck = nullptr;
    QLabel* m_gainLabel = nullptr;
    QSlider* m_gainSlider = nullptr;
    QSpinBox* m_gainBox = nullptr;
    // 2 Back Light
    QLabel* m_blcLabel = nullptr;
    QRadioButton* m_blcClose = nullptr;
    QRadioButton* m_blcOpen = nullptr;
    QLabel* m_backlightLabel = nullptr;
    QComboBox* m_backlightCombo = nullptr;
    // 3 Day And Night Conversion
    QLabel* m_fillLightLabel = nullptr;
    QComboBox* m_fillLightCombo = nullptr;
    QLabel* m_keepColorLabel = nullptr;
    QComboBox* m_keepColorCombo = nullptr;
    QLabel* m_sensitivityLabel = nullptr;
    QComboBox* m_sensitivityCombo = nullptr;
    QLabel* m_filterTimeLabel = nullptr;
    QComboBox* m_filterTimeCombo = nullptr;
    QLabel* m_lightModeLabel = nullptr;
    QRadioButton* m_lightModeAuto = nullptr;
    QRadioButton* m_lightModeManual = nullptr;
    QLabel* m_dawnLabel = nullptr;
    QTimeEdit* m_dawnEdit = nullptr;
    QLabel* m_darkLabel = nullptr;
    QTimeEdit* m_darkEdit = nullptr;
    QLabel* m_brightnessLabel = nullptr;
    QSlider* m_brightnessSlider = nullptr;
    QSpinBox* m_brightnessBox = nullptr;
    // 4 White Balance
    QLabel* m_whiteBalanceLabel = nullptr;
    QComboBox* m_whiteBalanceCombo = nullptr;
    QLabel* m_redLabel = nullptr;
    QSlider* m_redSlider = nullptr;
    QSpinBox* m_redBox = nullptr;
    QLabel* m_greenLabel = nullptr;
    QSlider* m_greenSlider = nullptr;
    QSpinBox* m_greenBox = nullptr;
    QLabel* m_blueLabel = nullptr;
    QSlider* m_blueSlider = nullptr;
    QSpinBox* m_blueBox = nullptr;
    // 5 Video Adjustment
    QLabel* m_noiseLabel = nullptr;
    QComboBox* m_noiseCombo = nullptr;
    QLabel* m_noise2dLabel = nullptr;
    QSlider* m_noise2dSlider = nullptr;
    QSpinBox* m_noise2dBox = nullptr;
    QLabel* m_noise3dLabel = nullptr;
    QSlider* m_noise3dSlider = nullptr;
    QSpinBox* m_noise3dBox = nullptr;
    // 6 Image Enhancement
    QLabel* m_flickerLabel = nullptr;
    QComboBox* m_flickerCombo = nullptr;
    QLabel* m_wdrLabel = nullptr;
    QComboBox* m_wdrCombo = nullptr;
    // 7 Dehaze
    QLabel* m_dehazeLabel = nullptr;
    QComboBox* m_dehazeCombo = nullptr;
    QLabel* m_dehazeIntenseLabel = nullptr;
    QSlider* m_dehazeSlider = nullptr;
    QSpinBox* m_dehazeBox = nullptr;
    // 8 Distortion
    QLabel* m_distortLabel = nullptr;
    QComboBox* m_distortCombo = nullptr;
    QLabel* m_distortIntenseLabel = nullptr;
    QSlider* m_distortSlider = nullptr;
    QSpinBox* m_distortBox = nullptr;
    // 9 Image Rotation
    QLabel* m_mirrorLabel = nullptr;
    QComboBox* m_mirrorCombo = nullptr;

    QSize m_captionSize{176, 20}; // 176x20 in sections 0..2, 164x22 after
};
