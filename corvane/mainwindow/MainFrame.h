// The main window: title bar, top bar, device table, operation buttons and upgrade area; the
// device search, the checked rows and the notification handling.
#pragma once

#include "AddressLedger.h"
#include "DeviceResultInfo.h"
#include "FixturePendingInfo.h"
#include "NewAddressRule.h"
#include "PendingList.h"
#include "RowTexts.h"
#include "kvxnet/DscSearchRecords.h"
#include "ozmlogic/IClientUiElement.h"
#include "ozmlogic/ParamRecords.h"
#include "tarsel/WindowBase.h"

#include <QHash>
#include <QMetaType>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QUrl>
#include <QVector>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CTableView;
class DeviceManager;
class FixtureReaders;
class NetInfoBatch;
class ProgressBarDialog;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProcess;
class QPushButton;
class QTimer;
class SwitchControl;
class TitleBar;

class MainFrame : public WindowBase {
    Q_OBJECT

public:
    static constexpr int kWidth = 1336;
    static constexpr int kHeight = 760;

    // One network card as the card list sees it.
    struct NetworkCard {
        QString name; // human-readable name
        bool up = false;
        bool running = false;
        bool loopback = false;
        QStringList ipv4;
    };

    explicit MainFrame(QWidget* parent = nullptr);
    ~MainFrame() override;

    void initModules();
    void uninitModules();

    static QPoint initialPosition(const QRect& available, const QSize& window);

    // Notification entry registered with the framework; any thread.
    static int notifyCallback(const OZM::_NOTIFY_PARAM* param, void* user);
    void onNotify(const OZM::_NOTIFY_PARAM* param);
    // Takes a copy of the message and applies it on the GUI thread in arrival order: at once
    // when called there, else queued.
    void handleDeviceEvent(const OZM::_NOTIFY_PARAM* param);

    // Search callback; any thread. -1 without a window.
    static int onDeviceFound(const DSC_SEARCH_RESPONSE_INFO* record, void* user);
    // Copies one answer (null: the search is over) and queues it for the GUI thread.
    void onSearchResult(const DSC_SEARCH_RESPONSE_INFO* record);

    // The 19 texts of a device row built from a search record (ports in host order).
    static QStringList buildDeviceRow(const DSC_SEARCH_RESPONSE_INFO& record);
    static std::uint32_t toHostOrder(std::uint32_t value);
    // Items of the network-card box for these cards: real cards first, then the loopback card.
    static QStringList networkCardItems(const QList<NetworkCard>& cards);
    // The IPv4 address inside an item "[name][address]".
    static QString searchAddress(const QString& cardItem);
    // "http://ip:port" when ip is a dotted-quad IPv4 address and port a number 1..65535;
    // otherwise an empty URL.
    static QUrl browserUrl(const QString& ip, const QString& port);
    // Free when the address does not answer, Used when it answers or is not an IPv4 address,
    // NoVerdict when the ping gave none.
    newaddress::Verdict pingHost(std::string ip);
    // Stores the answer's new address and, with relogin, asks the engine to log in again (for
    // the IP change whose answer it is, when change is not 0); false when the camera has no
    // search record.
    bool reLoginDevice(const DSC_MODIFY_NETINFO_RESPONSE* resp, bool relogin = true,
                       AddressLedger::Change change = 0);

    // Network-information answers; the search library's thread. -1 without a window.
    static int modifyNetInfoCallback(const DSC_MODIFY_NETINFO_RESPONSE* resp, void* user);
    // Null: the modification run is over (modifyNetInfoEnd); else the answer of one camera.
    void onModifyNetInfoResult(const DSC_MODIFY_NETINFO_RESPONSE* resp);
    // A start-address record the IP change can count from: complete dotted quads, the start
    // neither 0.0.0.0 nor 255.255.255.255.
    static bool validStartAddress(const OZM::_SC_SETIP_DATA_& info);

    QTimer* checkTimer() const { return _checkTimer; }
    QTimer* checkFtTimer() const { return _checkFtTimer; }
    DeviceManager* engine() const { return _engine; }
    CTableView* deviceTable() const { return _deviceTable; }
    QVector<QStringList> checkedRows() const { return _checkedRows; }

    // Fixture session: login at start-up (and before a test without a session), logout at shut-down.
    void loginFixTureTool();
    void logoutFixture();
    // Tremix's event callback; the library's threads. Writes a debug line, changes nothing.
    static void onFixtureEvent(std::int32_t handle, std::int32_t event, std::int32_t reserved, void* user);
    std::uint32_t fixtureHandle() const { return _fixTureLogin.load(); }
    // A copy of the fixture pending records.
    std::vector<FixturePendingInfo> fixtureRecords();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

signals:
    void searchDevEnd();
    void modifyNetInfoEnd();
    void closeSearchDialog();
    void modifyParamEnd(int cmd_type);
    void reLoginReq(DSC_SEARCH_RESPONSE_INFO resp);

public slots:
    void onReLoginReq(DSC_SEARCH_RESPONSE_INFO resp);
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
    // A notification as copied off the sender's thread.
    struct NotifyMessage {
        int type = 0;
        std::intptr_t value = 0; // code 5
        bool hasTexts = false;
        QStringList texts;
    };

    void buildUi();
    void connectSignals();
    void listNetworkCards();

    void loginFixtureHook();
    void logoutFixtureHook();
    void createEngineHook();
    void destroyEngineHook();

    void drainNotifications();
    void applyDeviceEvent(const NotifyMessage& message);
    void applySearchAnswer(std::uint64_t generation, bool end, const DSC_SEARCH_RESPONSE_INFO& record);
    void addSearchResult(const DSC_SEARCH_RESPONSE_INFO& record);
    // Enables the search button again and gives it back the focus it lost to the search.
    void enableSearchButton();
    void addDeviceRow(const DSC_SEARCH_RESPONSE_INFO& record);
    void applyPendingResult(int type, const QString& mac, const QString& text);
    void clearPendingLists();
    void writeLabelDevice(const QStringList& row);

    // Network-information batches (MainFrameNetInfo.cpp); their state is _netBatch's.
    void onModifyIpResult(const DSC_MODIFY_NETINFO_RESPONSE& resp);
    void onFullNetcomResult(const DSC_MODIFY_NETINFO_RESPONSE& resp);
    void onDhcpResult(const DSC_MODIFY_NETINFO_RESPONSE& resp);
    // Thread bodies; each works on its own copies taken when the batch started.
    void batchModifyIpThd(OZM::_SC_SETIP_DATA_ info, QVector<QStringList> rows);
    void batchModifyDhcpThd(QVector<QStringList> rows, std::uint8_t dhcp);
    // Stops the running IP or DHCP thread and joins it; GUI thread.
    void stopNetBatch();
    // A row-status style notification (code, MAC first) through handleDeviceEvent.
    void notifyRow(int code, const QStringList& texts);
    // A row text of the list (RowTextList.h) for the device.
    void notifyRow(int code, const QString& mac, RowText text);

    // Tracked operations and their sweeps (MainFrameSweeps.cpp).
    void runDeviceBatch(int kind);
    void startCheckTimer();
    void checkModifyIpTimeout(int n);
    void checkFullNetcomTimeout(int n);
    void checkRebootTimeout(int n);
    void checkFullRecoveryTimeout(int n);
    void checkSimpleRecoveryTimeout(int n);
    // The sweep of one kind over n records at program time now (GetTickCount).
    void sweep(int kind, int n, std::uint64_t now);
    ProgressBarDialog** progressOf(int kind);
    void showProgress(int kind, const QString& title);
    // Fixture tests (MainFrameFixture.cpp).
    void startFixtureTest(int kind);
    void readAudioTestResult(std::uint64_t run, QVector<QStringList> rows);
    void readGpioTestResult(std::uint64_t run, QVector<QStringList> rows);
    void readFixtureResults(int kind, std::uint64_t run, const QVector<QStringList>& rows);
    void checkAudioTimeout(int count);
    void checkGpioTimeout(int count);
    void checkFixtureTimeout(int kind, int count);
    void onFixtureTestEnd(int cmd_type);

    // Widgets, in the order of the window's layout code.
    TitleBar* _titleBar = nullptr;
    QLabel* _mainStreamLabel = nullptr;
    SwitchControl* _mainStreamSwitch = nullptr;
    QLabel* _fullNetcomLabel = nullptr;
    SwitchControl* _fullNetcomSwitch = nullptr;
    QLabel* _networkCardLabel = nullptr;
    QComboBox* _networkCardTypeBox = nullptr;
    QPushButton* _sysConfigBtn = nullptr;
    CTableView* _deviceTable = nullptr;
    QLabel* _totalCountLabel = nullptr;
    QLabel* _selectedCountLabel = nullptr;
    QGroupBox* _operationGroupBox = nullptr;
    QPushButton* _searchBtn = nullptr;
    QPushButton* _setIpBtn = nullptr;
    QPushButton* _modifyIpBtn = nullptr;
    QPushButton* _openFullNetcomBtn = nullptr;
    QPushButton* _closeFullNetcomBtn = nullptr;
    QPushButton* _openDhcpBtn = nullptr;
    QPushButton* _closeDhcpBtn = nullptr;
    QPushButton* _ptzAndAudioBtn = nullptr;
    QPushButton* _checkSdCardBtn = nullptr;
    QPushButton* _playCheckBtn = nullptr;
    QPushButton* _syncTimeBtn = nullptr;
    QPushButton* _rebootBtn = nullptr;
    QPushButton* _simpleRecoveryBtn = nullptr;
    QPushButton* _fullRecoveryBtn = nullptr;
    QPushButton* _audioDetectionBtn = nullptr;
    QPushButton* _gpioDetectionBtn = nullptr;
    QPushButton* _configParamBtn = nullptr;
    QPushButton* _modifyParamBtn = nullptr;
    QPushButton* _setOsdBtn = nullptr;
    QPushButton* _modifyOsdBtn = nullptr;
    QPushButton* _imageTestBtn = nullptr;
    QPushButton* _tenZoomBtn = nullptr;
    QPushButton* _printLabelBtn = nullptr;
    QLabel* _firmwareUpgradeLabel = nullptr;
    QLabel* _upgradeFileLabel = nullptr;
    QLineEdit* _upgradeFileEdit = nullptr;
    QPushButton* _browseBtn = nullptr;
    QPushButton* _fileUpgradeBtn = nullptr;
    QLabel* _tipIconLabel = nullptr;
    QLabel* _tipTextLabel = nullptr;

    QVector<QStringList> _checkedRows;
    // The first full row of each MAC in _checkedRows; rebuilt after the rows change.
    QHash<QString, int> _checkedRowOfMac;
    bool _checkedRowIndexStale = true; // set wherever _checkedRows changes
    int _checkedRowIndexCount = 0;     // rows when the index was built
    QStringList* checkedRowOf(const QString& mac);
    DeviceManager* _engine = nullptr;
    // Pending records of the reboot, the recoveries and the fixture tests; one lock for both
    // lists. Those of the network-information batches are _netBatch's.
    std::mutex _pendingMutex;
    PendingList<DeviceResultInfo> _rebootList;
    // The login state of each IP-change record from its own change's relogin, once ended.
    void takeChangeRelogins();
    std::vector<FixturePendingInfo> _fixtureList;
    ProgressBarDialog* _searchProgress = nullptr;
    // Whether the search button had the focus when a search disabled it, and the widget that
    // took the focus then.
    bool _searchHadFocus = false;
    QPointer<QWidget> _searchFocusStandIn;
    QTimer* _checkTimer = nullptr;
    QTimer* _checkFtTimer = nullptr;
    // The label program, started by onPellora; created on first use, kept for the window's life.
    QProcess* _pelloraProcess = nullptr;

    // Tracked operations: their busy indicators, the kind whose end is awaited (-1 none, GUI
    // thread) and the start of its time limit in program milliseconds (monotonic).
    ProgressBarDialog* _modifyIpProgress = nullptr;
    ProgressBarDialog* _fullNetcomProgress = nullptr;
    ProgressBarDialog* _rebootProgress = nullptr;
    ProgressBarDialog* _simpleRecoveryProgress = nullptr;
    ProgressBarDialog* _fullRecoveryProgress = nullptr;
    int _openKind = -1;
    std::atomic<std::uint64_t> _batchStartTick{0};
    // The network-information batches: the IP or DHCP batch thread (one at a time, joined
    // before the next and at shut-down), their pending records with each camera's IP change,
    // the end of a modification run and the IP change's used-up range.
    std::unique_ptr<NetInfoBatch> _netBatch;
    // Fixture session and tests.
    std::atomic<std::uint32_t> _fixTureLogin{0};
    std::atomic<std::int64_t> _ftTimerStartMs{0}; // program ms (monotonic) of the fixture timer's start
    ProgressBarDialog* _audioProgress = nullptr;
    ProgressBarDialog* _gpioProgress = nullptr;
    // The tests' reader threads and the run they read for (readAudioTestResult, readGpioTestResult).
    std::unique_ptr<FixtureReaders> _fixtureReaders;

    // Notifications waiting for the GUI thread, in arrival order.
    std::mutex _notifyMutex;
    std::deque<NotifyMessage> _notifyQueue;
    bool _drainScheduled = false;
    bool _draining = false;

    // Answers of an earlier search are dropped.
    std::atomic<std::uint64_t> _searchGeneration{0};
    bool _reloginConnected = false;

    friend class MainFrameTestAccess;
};

Q_DECLARE_METATYPE(DSC_SEARCH_RESPONSE_INFO)
