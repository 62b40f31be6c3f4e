// The main window: construction, placement, module start-up and shut-down, the event loop's
// window. Its full layout, search, batches and fixture tests join with their own code.
#pragma once

#include "ozmlogic/IClientUiElement.h"
#include "tarsel/WindowBase.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QVector>

class QTimer;
struct DSC_SEARCH_RESPONSE_INFO;

class MainFrame : public WindowBase {
    Q_OBJECT

public:
    static constexpr int kWidth = 1336;
    static constexpr int kHeight = 760;

    explicit MainFrame(QWidget* parent = nullptr);
    ~MainFrame() override;

    // Creates what is missing of the engine, the check timers and the notification callback;
    // may run more than once.
    void initModules();
    // Shuts the modules down; may run more than once.
    void uninitModules();

    // Top-left corner for a window of size window on a screen with the available area
    // available: a quarter of the free room on each axis when the screen is wider than the
    // window (truncating toward zero, so negative on a low screen), else (0, 0).
    static QPoint initialPosition(const QRect& available, const QSize& window);

    // The notification callback registered with the framework; runs on the sender's thread.
    static int notifyCallback(const OZM::_NOTIFY_PARAM* param, void* user);

    QTimer* checkTimer() const { return _checkTimer; }
    QTimer* checkFtTimer() const { return _checkFtTimer; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

signals:
    void searchDevEnd();
    void modifyNetInfoEnd();
    void closeSearchDialog();
    void modifyParamEnd(int cmd_type);
    void reLoginReq(DSC_SEARCH_RESPONSE_INFO* resp);

public slots:
    void onReLoginReq(DSC_SEARCH_RESPONSE_INFO* resp);
    void onSearchDevEnd();
    void onModifyNetInfoEnd();
    void onOpenBrowser();
    void onViewQRcode();
    void onSysConfig();
    void onSearchDevices();
    void onSyncTime();
    void onSetIP();
    void onModifyIP();
    void onPlayCheckDevice();
    void onAudioDetection();
    void onGPIOPortDetection();
    void onReboot();
    void onSimpleRecovery();
    void onFullRecovery();
    void onSetOSD();
    void onModifyOSD();
    void onImageTest();
    void onRemoveData(QString qstrMac, int size);
    void onPellora();
    void onSelectFilePath();
    void onUpgrade();
    void onConfigureOtherParameters();
    void onModifyOtherParameters();
    void onFullNetcomEnable();
    void onMainFramePlayEnable(bool enable);
    void onMainFrameFullNetcomEnable(bool enable);
    void updateCheckState(int, QVector<QStringList>);
    void updateCount(int count);
    void onDoubleClickedPlay();
    void onCloseSearchDialog();
    void onCheckTimerSlot();
    void onCheckFtTimerSlot();
    void onModifyParamEnd(int cmd_type);
    void onModifyDhcp();
    void onPtzAndAudio();
    void onCheckSDcard();
    void onTenZoom();
    void showTextInfo();

private:
    void buildUi();

    // Module hooks of the start-up and shut-down sequence. The fixture session, the engine and
    // the notification handling come with their own code; until then these do nothing.
    void loginFixtureHook();
    void logoutFixtureHook();
    void createEngineHook();
    void destroyEngineHook();
    void handleDeviceEvent(const OZM::_NOTIFY_PARAM* param);

    QVector<QStringList> _checkedRows;
    QTimer* _checkTimer = nullptr;
    QTimer* _checkFtTimer = nullptr;
};
