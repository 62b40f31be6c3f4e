// The widgets of the audio, account, time, timed-restart and audio/light board pages, and the
// time and motion savers, reached through a friend of the dialog.
#pragma once

#include "LockerWidget.h"
#include "MotionDetectSetWidget.h"
#include "OtherParamConfigDlg.h"
#include "TimeSetWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>

class SettingPagesTestAccess {
public:
    using D = OtherParamConfigDlg;

    static QCheckBox* audioOpen(D& d) { return d._audioOpenCheck; }
    static QComboBox* audioInput(D& d) { return d._audioInputCombo; }
    static QComboBox* audioCodec(D& d) { return d._audioCodecCombo; }
    static QSlider* inputVolumeSlider(D& d) { return d._inputVolumeSlider; }
    static QSpinBox* inputVolumeBox(D& d) { return d._inputVolumeBox; }
    static QSlider* outputVolumeSlider(D& d) { return d._outputVolumeSlider; }
    static QSpinBox* outputVolumeBox(D& d) { return d._outputVolumeBox; }

    static QLineEdit* user(D& d) { return d._accountUserEdit; }
    static QComboBox* userType(D& d) { return d._userTypeCombo; }
    static QLineEdit* password(D& d) { return d._accountPwdEdit; }
    static QLineEdit* confirm(D& d) { return d._accountConfirmEdit; }

    static TimeSetWidget* time(D& d) { return d._timeSetWidget; }

    static QComboBox* period(D& d) { return d._restartPeriodCombo; }
    static QComboBox* day(D& d) { return d._restartDayCombo; }
    static QDateTimeEdit* restartTime(D& d) { return d._restartTimeEdit; }

    static QCheckBox* boardInputCheck(D& d) { return d._boardInputCheck; }
    static QCheckBox* boardControlCheck(D& d) { return d._boardControlCheck; }
    static QCheckBox* boardModeCheck(D& d) { return d._boardModeCheck; }
    static QCheckBox* boardBrightnessCheck(D& d) { return d._boardBrightnessCheck; }
    static QComboBox* boardInput(D& d) { return d._boardInputCombo; }
    static QComboBox* boardControl(D& d) { return d._boardControlCombo; }
    static QComboBox* boardMode(D& d) { return d._boardModeCombo; }
    static QSlider* boardSlider(D& d) { return d._boardBrightnessSlider; }
    static QSpinBox* boardBox(D& d) { return d._boardBrightnessBox; }

    // The image page's accordion; while the image page is not built in this tree, one is made
    // here and linked the way the constructor links it.
    static LockerWidget* locker(D& d) {
        if (!d._lockerWidget) {
            d._lockerWidget = new LockerWidget(&d);
            d.connectLightBrightness();
        }
        return d._lockerWidget;
    }

    // The time or motion saver, with the page widget taken away for the call when missing.
    template <typename W> static bool saveWithoutWidget(D& d, W*& slot, bool (D::*save)(), bool missing) {
        W* widget = slot;
        if (missing)
            slot = nullptr;
        const bool ok = (d.*save)();
        slot = widget;
        return ok;
    }
    static bool saveTimeWithoutWidget(D& d, bool missing) {
        return saveWithoutWidget(d, d._timeSetWidget, &D::saveTimeInfo, missing);
    }
    static bool saveMotionWithoutWidget(D& d, bool missing) {
        return saveWithoutWidget(d, d._motionWidget, &D::saveMotionDetectInfo, missing);
    }

    static void saveAudio(D& d) { d.saveAudioInfo(); }
    static bool saveAccount(D& d) { return d.saveAccountInfo(); }
    static void saveMaintain(D& d) { d.saveMaintainInfo(); }
    static void saveBoard(D& d) { d.saveAudioBoard(); }
    static const OZM::_SC_SETRESTARTREGULARLY_DATA_& maintainRecord(D& d) { return d._maintainInfo; }
};
