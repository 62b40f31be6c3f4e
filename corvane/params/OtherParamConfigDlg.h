// The editor of the other parameters: a checkable family tree beside fifteen stacked pages, each
// with its enable check box; "Save" validates the pages and writes the records and the enable
// flags into the parameter store. The page index 0..14 ties tree leaf, page, check box and flag.
//
// Implementation by page group: OtherParamConfigDlg.cpp (frame, tree wiring, save sequence),
// OtherParamConfigDlgNetwork*.cpp (pages 0-4 and the slots several pages share),
// OtherParamConfigDlgVideo.cpp (5), OtherParamConfigDlgAudio.cpp (6 and 14),
// OtherParamConfigDlgOsd.cpp (7), OtherParamConfigDlgWidgetPages.cpp (8 and 10),
// OtherParamConfigDlgPrivacy.cpp (9), OtherParamConfigDlgSystem.cpp (11-13) and
// OtherParamConfigDlgLinks.cpp (the values two pages share). Pages 0, 4 and 9 are objects of
// their own (TcpIpPage, Gb28181Page, PrivacyMaskPage) that the dialog builds, loads, checks
// and saves through their calls; a refused check is shown by the dialog's warning.
#pragma once

#include "MultiTreeWidget.h"
#include "ozmlogic/ParamRecords.h"
#include "tarsel/OzmDialog.h"

#include <QString>

class Gb28181Page;
class LockerWidget;
class MotionDetectSetWidget;
class PlayWidget;
class PrivacyMaskPage;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QRect;
class QStackedLayout;
class QTreeWidgetItem;
class TcpIpPage;
class TimeSetWidget;
class QVBoxLayout;

class OtherParamConfigDlg : public OzmDialog {
    Q_OBJECT

public:
    static constexpr int kPageCount = OZM::FamilyCount;

    explicit OtherParamConfigDlg(QWidget* parent = nullptr);
    ~OtherParamConfigDlg() override;

    // 0 for a strict dotted-quad address other than 255.255.255.255, -1 otherwise.
    static int checkIpAddress(const char* text);

protected:
    void closeEvent(QCloseEvent* event) override;

public slots:
    void reject() override;
    void onSaveParamSlot();
    void onConfigItemChange(QTreeWidgetItem* item, int column, ACTION_EVENT_TYPE action);
    void onCheckBoxClicked();
    void onBtnClicked();
    void onCheckBoxStateChanged(int state);
    void onComboBoxChanged(int index);
    void onMonthComboBoxChanged(int index);
    void onSetValue(int value);
    void onSliderChange(int value);
    // Privacy mask coordinates (OtherParamConfigDlgPrivacy.cpp).
    void onPosChanged(int index, QRect* rect);
    void onTextChanged(const QString& text);

private:
    // Frame (OtherParamConfigDlg.cpp).
    void switchConfigPage(QTreeWidgetItem* item, int column);
    void syncGroupCheckState(QTreeWidgetItem* item, int column);
    void loadOtherParamEnable();
    void saveOtherParamEnable();
    // The warning of a refused save; with a field, its page is shown and the field focused
    // first, so the message points at it.
    void showWarningTip(const QString& text, QWidget* field = nullptr);
    void revealField(QWidget* field);
    // The page frame "pageSetFrame" of an index with its enable check box above the content
    // widget (named contentName), which is returned.
    QWidget* createPageFrame(int index, const char* contentName = "subSetWidget");
    // A page object's save: its first refused check shown as a warning (false), or its record
    // stored (true).
    template <typename Page> bool saveCheckedPage(const Page& page);

    // Group builders, in construction order.
    void initNetworkPages();
    void initMediaPages();
    void initAlarmPages();
    void initSystemPages();
    void initAudioBoardPages();

    // Network pages (OtherParamConfigDlgNetwork*.cpp).
    void createTcpIpPage();
    void createPortPage();
    void createDdnsPage();
    void createP2pPage();
    void createGb28181Page();
    bool saveTcpIpInfo();
    bool savePortParamInfo();
    bool saveDDNSInfo();
    void saveP2PInfo();
    bool saveGb28181Info();
    void connectNetworkPages();
    void setDdnsFieldsEnabled(bool enabled);
    void setDdnsLinks(int provider);
    void openDdnsLink(const QString& caption);

    // Pages 5-14: builders, savers and the constructor's steps that belong to them.
    void createVideoPage();
    void createAudioPage();
    void createOsdPage();
    void createImagePage();
    void createPrivacyMaskPage();
    void createMotionDetectPage();
    void createAccountPage();
    void createTimePage();
    void createMaintainPage();
    void createAudioBoardPage();
    // Called by the constructor after the enable flags load, in this order: the timed-restart
    // record, the brightness link between the image and audio board pages, the privacy
    // editor's areas (after page 0 is shown).
    void loadMaintainInfo();
    void connectLightBrightness();
    void loadPrivacyEditor();
    void showPrivacyEditor(bool visible);
    bool savePrivacyMaskInfo();
    bool saveMotionDetectInfo();
    void saveVideoInfo();
    void saveAudioInfo();
    void saveOsdInfo();
    void saveImageInfo(); // LockerWidget::saveImageInfo when the image page exists
    bool saveTimeInfo();
    bool saveAccountInfo();
    void saveMaintainInfo();
    void saveAudioBoard();

    MultiTreeWidget* _treeWidget = nullptr;
    QPushButton* _saveBtn = nullptr;
    QStackedLayout* _stackedLayout = nullptr;
    QFrame* _pageFrame[kPageCount] = {};
    QCheckBox* _enableCheck[kPageCount] = {};
    LockerWidget* _lockerWidget = nullptr;
    PlayWidget* _playWidget = nullptr;
    OZM::SC_OTHERPARAMENABLE _otherParamEnable{};
    OZM::_SC_SETRESTARTREGULARLY_DATA_ _maintainInfo{};

    // Page 0, TCP/IP, with its address test.
    TcpIpPage* _tcpIpPage = nullptr;

    // Page 1, ports.
    QLineEdit* _httpPortEdit = nullptr;
    QLineEdit* _rtspPortEdit = nullptr;
    QLineEdit* _httpsPortEdit = nullptr;
    QLineEdit* _onvifPortEdit = nullptr;
    QCheckBox* _onvifCheck = nullptr;

    // Page 2, DDNS.
    QCheckBox* _ddnsCheck = nullptr;
    QComboBox* _ddnsTypeCombo = nullptr;
    QLineEdit* _domainEdit = nullptr;
    QLineEdit* _ddnsUserEdit = nullptr;
    QLineEdit* _ddnsPasswordEdit = nullptr;
    QLineEdit* _ddnsConfirmEdit = nullptr;
    QLabel* _ddnsStatusLabel = nullptr;
    QLabel* _ddnsServiceLabel = nullptr;
    QPushButton* _applyLinkBtn = nullptr;
    QPushButton* _helpLinkBtn = nullptr;

    // Page 3, P2P.
    QCheckBox* _p2pCheck = nullptr;

    // Page 4, GB28181.
    Gb28181Page* _gb28181Page = nullptr;

    // Pages 6, 11-14 (OtherParamConfigDlgAudio.cpp, OtherParamConfigDlgSystem.cpp,
    // OtherParamConfigDlgLinks.cpp).
    void setAudioFieldsEnabled(bool enabled);
    void setBoardBrightnessEnabled(bool enabled);
    void mirrorAudioInput(QComboBox* from, int index);
    void setRestartTime();
    void fillRestartDays(int period);

    // Page 6, audio.
    QCheckBox* _audioOpenCheck = nullptr;
    QComboBox* _audioInputCombo = nullptr;
    QComboBox* _audioCodecCombo = nullptr;
    QSlider* _inputVolumeSlider = nullptr;
    QSpinBox* _inputVolumeBox = nullptr;
    QSlider* _outputVolumeSlider = nullptr;
    QSpinBox* _outputVolumeBox = nullptr;

    // Page 11, account.
    QLineEdit* _accountUserEdit = nullptr;
    QComboBox* _userTypeCombo = nullptr;
    QLineEdit* _accountPwdEdit = nullptr;
    QLineEdit* _accountConfirmEdit = nullptr;

    // Page 12, time.
    TimeSetWidget* _timeSetWidget = nullptr;

    // Page 13, timed restart.
    QComboBox* _restartPeriodCombo = nullptr;
    QComboBox* _restartDayCombo = nullptr;
    QDateTimeEdit* _restartTimeEdit = nullptr;

    // Page 14, audio and light board.
    QCheckBox* _boardInputCheck = nullptr;
    QCheckBox* _boardControlCheck = nullptr;
    QCheckBox* _boardModeCheck = nullptr;
    QCheckBox* _boardBrightnessCheck = nullptr;
    QComboBox* _boardInputCombo = nullptr;
    QComboBox* _boardControlCombo = nullptr;
    QComboBox* _boardModeCombo = nullptr;
    QSlider* _boardBrightnessSlider = nullptr;
    QSpinBox* _boardBrightnessBox = nullptr;

    friend class SettingPagesTestAccess;
    // Page 5, video (OtherParamConfigDlgVideo.cpp).
    QComboBox* _mainStreamCombo = nullptr;
    QComboBox* _subStreamCombo = nullptr;
    QComboBox* _mainCodecCombo = nullptr;
    QComboBox* _subCodecCombo = nullptr;
    QComboBox* _mainResolutionCombo = nullptr;
    QComboBox* _subResolutionCombo = nullptr;
    QComboBox* _mainFrameRateCombo = nullptr;
    QComboBox* _subFrameRateCombo = nullptr;
    QLineEdit* _mainBitrateEdit = nullptr;
    QLineEdit* _subBitrateEdit = nullptr;
    QComboBox* _mainBitrateModeCombo = nullptr;
    QComboBox* _subBitrateModeCombo = nullptr;
    QLineEdit* _mainIFrameEdit = nullptr;
    QLineEdit* _subIFrameEdit = nullptr;
    QComboBox* _h265PlusCombo = nullptr;

    // Page 7, OSD (OtherParamConfigDlgOsd.cpp).
    QCheckBox* _osdTimeCheck = nullptr;
    QCheckBox* _osdTextCheck = nullptr;
    QComboBox* _osdDateCombo = nullptr;
    QComboBox* _osdLocationCombo = nullptr;
    QLineEdit* _osdTextEdit = nullptr;

    // Page 9, privacy mask (OtherParamConfigDlgPrivacy.cpp).
    PrivacyMaskPage* _privacyPage = nullptr;

    // Page 10, motion detection.
    MotionDetectSetWidget* _motionWidget = nullptr;

    friend class OtherParamConfigDlgTestAccess;
    friend class MediaPagesTestAccess;
};
