#include "MainFrame.h"

#include "DeviceManager.h"
#include "DeviceTableRow.h"
#include "FixtureReaders.h"
#include "NetInfoBatch.h"
#include "PingHelper.h"
#include "RowTexts.h"
#include "SysConfigDialog.h"
#include "TitleBar.h"
#include "ViewQRcodeDialog.h"
#include "dialogs/ProgressBarDialog.h"
#include "dialogs/TipDialog.h"
#include "fields/FixedFieldText.h"
#include "kvxnet/DscSearch.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"
#include "ozmlogic/SkinMgr.h"
#include "ozmlogic/TcQrencode.h"
#include "quillet/Quillet.h"
#include "tarsel/CTableView.h"
#include "tarsel/SwitchControl.h"
#include "winport/WinPort.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDebug>
#include <QDesktopServices>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QNetworkInterface>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTextCodec>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <arpa/inet.h>

#include <cstring>

namespace {

template <std::size_t N> QString latin1Field(const char (&field)[N]) {
    return fixedfield::latin1Text(field, N);
}

const char* const kCountStyle = " font-size: 14px; color: #666666; line-height: 20px; ";

QPushButton* makeButton(const QString& text, int width, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName("commonBtn");
    OzmLogic::setMyFixedSize(button, QSize(width, 30));
    return button;
}

QLabel* makeLabel(const QString& text, const char* objectName, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

// A plain widget holding two buttons side by side.
QWidget* makeButtonRow(QPushButton* left, QPushButton* right, int spacing, bool trailingStretch,
                       QWidget* parent) {
    auto* row = new QWidget(parent);
    OzmLogic::setMyFixedSize(row, QSize(248, 30));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    layout->addWidget(left);
    layout->addWidget(right);
    if (trailingStretch)
        layout->addStretch();
    return row;
}

QWidget* makeGroup(QWidget* first, QWidget* second, QWidget* parent) {
    auto* group = new QWidget(parent);
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addStretch();
    return group;
}

} // namespace

MainFrame::MainFrame(QWidget* parent)
    : WindowBase(parent), _netBatch(std::make_unique<NetInfoBatch>()),
      _fixtureReaders(std::make_unique<FixtureReaders>()) {
    qRegisterMetaType<QVector<QStringList>>("QVector<QStringList>");
    qRegisterMetaType<DSC_SEARCH_RESPONSE_INFO>("DSC_SEARCH_RESPONSE_INFO");
    setFixedSize(kWidth, kHeight);
    buildUi();
    connectSignals();
    listNetworkCards();
    setObjectName("mainFrame");
    enableMySizing(true);

    QString styleSheet;
    if (ozmSkinMgr()->getQss(styleSheet))
        setStyleSheet(styleSheet);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    move(initialPosition(available, size()));

    setWindowIcon(QIcon(ozmSkinMgr()->getPixmap("Tarsel", "logo.png", QSize(), -1, -1)));
    initModules();
}

MainFrame::~MainFrame() {
    uninitModules();
}

QPoint MainFrame::initialPosition(const QRect& available, const QSize& window) {
    if (available.width() > window.width())
        return QPoint((available.width() - window.width()) / 4, (available.height() - window.height()) / 4);
    return QPoint(0, 0);
}

void MainFrame::buildUi() {
    _titleBar = new TitleBar(this);

    _mainStreamLabel = makeLabel(tr("Main Stream Play"), "blackLabel", this);
    _mainStreamSwitch = new SwitchControl(28, 16, this);
    _mainStreamSwitch->setToggle(ozmParamsMgr()->getStream() == 0);
    QWidget* streamGroup = makeGroup(_mainStreamLabel, _mainStreamSwitch, this);

    _fullNetcomLabel = makeLabel(tr("Search FullNetcom"), "blackLabel", this);
    _fullNetcomSwitch = new SwitchControl(30, 16, this);
    _fullNetcomSwitch->setToggle(ozmParamsMgr()->getSearchFullNetcom() != 0);
    QWidget* fullNetcomGroup = makeGroup(_fullNetcomLabel, _fullNetcomSwitch, this);

    _networkCardLabel = makeLabel(tr("Network Card"), "blackLabel", this);
    _networkCardTypeBox = new QComboBox(this);
    _networkCardTypeBox->setObjectName("networkCardTypeBox");
    _networkCardTypeBox->setView(new QListView());
    QWidget* cardGroup = makeGroup(_networkCardLabel, _networkCardTypeBox, this);

    _sysConfigBtn = makeButton(tr("System Configuration"), 166, this);
    auto* topBar = new QWidget(this);
    auto* topLayout = new QHBoxLayout(topBar);
    topLayout->setContentsMargins(16, 20, 10, 10);
    topLayout->setSpacing(10);
    topLayout->addWidget(streamGroup);
    topLayout->addWidget(fullNetcomGroup);
    topLayout->addWidget(cardGroup);
    topLayout->addStretch();
    topLayout->addSpacing(320);
    topLayout->addWidget(_sysConfigBtn);

    // Table area: count strip, table.
    auto* tableArea = new QWidget(this);
    tableArea->setFixedSize(1007, 510);
    auto* countStrip = new QWidget(tableArea);
    countStrip->setFixedSize(1007, 40);
    countStrip->setStyleSheet("background: #FFFFFF; ");
    auto* totalCaption = new QLabel(tr("Search Completed,Total:"), countStrip);
    _totalCountLabel = new QLabel("0", countStrip);
    auto* selectedCaption = new QLabel(tr("Selected:"), countStrip);
    _selectedCountLabel = new QLabel("0", countStrip);
    for (QLabel* label : {totalCaption, _totalCountLabel, selectedCaption, _selectedCountLabel})
        label->setStyleSheet(kCountStyle);
    auto* totalGroup = new QWidget(countStrip);
    auto* totalLayout = new QHBoxLayout(totalGroup);
    totalLayout->setContentsMargins(10, 0, 0, 0);
    totalLayout->addWidget(totalCaption);
    totalLayout->addWidget(_totalCountLabel);
    totalLayout->addStretch();
    auto* selectedGroup = new QWidget(countStrip);
    auto* selectedLayout = new QHBoxLayout(selectedGroup);
    selectedLayout->setContentsMargins(0, 0, 20, 0);
    selectedLayout->setSpacing(5);
    selectedLayout->addStretch();
    selectedLayout->addWidget(selectedCaption);
    selectedLayout->addWidget(_selectedCountLabel);
    auto* countLayout = new QHBoxLayout(countStrip);
    countLayout->setContentsMargins(0, 0, 0, 0);
    countLayout->addWidget(totalGroup, 1);
    countLayout->addStretch();
    countLayout->addWidget(selectedGroup, 2);

    _deviceTable = new CTableView(tableArea);
    _deviceTable->setFixedSize(1007, 460);
    _deviceTable->setObjectName("QTableView");
    _deviceTable->setDisplayText(&RowTexts::display);
    auto* tableLayout = new QVBoxLayout(tableArea);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    tableLayout->setSpacing(0);
    tableLayout->addWidget(countStrip);
    tableLayout->addWidget(_deviceTable);
    tableLayout->addStretch();

    // Operations.
    auto* operations = new QWidget(this);
    _operationGroupBox = new QGroupBox(tr("Operationl Insruction"), operations);
    _operationGroupBox->setObjectName("groupBoxArea");
    OzmLogic::setMyFixedSize(_operationGroupBox, QSize(288, 510));
    _operationGroupBox->move(0, 0);
    QWidget* box = _operationGroupBox;
    _searchBtn = makeButton(tr("Device Search"), 248, box);
    _setIpBtn = makeButton(tr("Set IP"), 120, box);
    _modifyIpBtn = makeButton(tr("Modify"), 120, box);
    _openFullNetcomBtn = makeButton(tr("Open FullNetcom"), 120, box);
    _closeFullNetcomBtn = makeButton(tr("Close FullNetcom"), 120, box);
    _openDhcpBtn = makeButton(tr("Open DHCP"), 120, box);
    _closeDhcpBtn = makeButton(tr("Close DHCP"), 120, box);
    _ptzAndAudioBtn = makeButton(tr("PtzAndAudio Setting"), 248, box);
    _checkSdCardBtn = makeButton(tr("Check Device SD Card"), 248, box);
    _playCheckBtn = makeButton(tr("Play Check Device"), 248, box);
    _syncTimeBtn = makeButton(tr("Sync time"), 120, box);
    _rebootBtn = makeButton(tr("Reboot"), 120, box);
    _simpleRecoveryBtn = makeButton(tr("Simple Recovery"), 120, box);
    _fullRecoveryBtn = makeButton(tr("Full Recovery"), 120, box);
    _audioDetectionBtn = makeButton(tr("Audio Detection"), 120, box);
    _gpioDetectionBtn = makeButton(tr("GPIO Detection"), 120, box);
    _configParamBtn = makeButton(tr("Config Parm"), 120, box);
    _modifyParamBtn = makeButton(tr("Modify"), 120, box);
    _setOsdBtn = makeButton(tr("Set OSD"), 120, box);
    _modifyOsdBtn = makeButton(tr("Modify"), 120, box);
    _imageTestBtn = makeButton(tr("Image Test"), 248, box);
    _tenZoomBtn = makeButton(tr("Ten Zoom"), 248, box);
    _printLabelBtn = makeButton(tr("Label Printing"), 248, box);

    QWidget* ipRow = makeButtonRow(_setIpBtn, _modifyIpBtn, 0, false, box);
    QWidget* fullNetcomRow = makeButtonRow(_openFullNetcomBtn, _closeFullNetcomBtn, 5, true, box);
    QWidget* dhcpRow = makeButtonRow(_openDhcpBtn, _closeDhcpBtn, 5, true, box);
    QWidget* detectionRow = makeButtonRow(_audioDetectionBtn, _gpioDetectionBtn, 0, false, box);
    detectionRow->hide();
    QWidget* timeRow = makeButtonRow(_syncTimeBtn, _rebootBtn, 0, false, box);
    QWidget* recoveryRow = makeButtonRow(_simpleRecoveryBtn, _fullRecoveryBtn, 0, false, box);
    QWidget* paramRow = makeButtonRow(_configParamBtn, _modifyParamBtn, 0, false, box);
    QWidget* osdRow = makeButtonRow(_setOsdBtn, _modifyOsdBtn, 0, false, box);

    auto* boxLayout = new QVBoxLayout(_operationGroupBox);
    boxLayout->setContentsMargins(20, 0, 0, 0);
    boxLayout->setSpacing(0);
    for (QWidget* item : {static_cast<QWidget*>(_searchBtn), ipRow, fullNetcomRow, dhcpRow, detectionRow,
                          timeRow, recoveryRow, paramRow, osdRow, static_cast<QWidget*>(_ptzAndAudioBtn),
                          static_cast<QWidget*>(_checkSdCardBtn), static_cast<QWidget*>(_tenZoomBtn),
                          static_cast<QWidget*>(_playCheckBtn), static_cast<QWidget*>(_imageTestBtn),
                          static_cast<QWidget*>(_printLabelBtn)})
        boxLayout->addWidget(item);

    auto* middle = new QWidget(this);
    auto* middleLayout = new QHBoxLayout(middle);
    middleLayout->addWidget(tableArea);
    middleLayout->addWidget(operations);

    // Upgrade area.
    auto* upgradeArea = new QWidget(this);
    _firmwareUpgradeLabel = makeLabel(tr("Firmware Upgrade"), "lightLabel", upgradeArea);
    _upgradeFileLabel = makeLabel(tr("Upgrade File"), "blackLabel", upgradeArea);
    _upgradeFileEdit = new QLineEdit(upgradeArea);
    _upgradeFileEdit->setObjectName("LineEdit");
    OzmLogic::setMyFixedSize(_upgradeFileEdit, QSize(909, 30));
    _browseBtn = makeButton(tr("Browse"), 140, upgradeArea);
    _fileUpgradeBtn = makeButton(tr("File Upgrade"), 140, upgradeArea);
    auto* upgradeRow = new QWidget(upgradeArea);
    auto* upgradeRowLayout = new QHBoxLayout(upgradeRow);
    upgradeRowLayout->setContentsMargins(0, 0, 0, 0);
    upgradeRowLayout->setSpacing(5);
    upgradeRowLayout->addWidget(_upgradeFileLabel);
    upgradeRowLayout->addWidget(_upgradeFileEdit);
    upgradeRowLayout->addWidget(_browseBtn);
    upgradeRowLayout->addWidget(_fileUpgradeBtn);
    upgradeRowLayout->addStretch();
    _tipIconLabel = makeLabel(QString(), "tipIcon", upgradeArea);
    OzmLogic::setMyFixedSize(_tipIconLabel, QSize(30, 30));
    _tipTextLabel = makeLabel(tr("Right-click can open the Browser,view the QR code download device,remote "
                                 "configuration operation"),
                              "lightLabel", upgradeArea);
    auto* hintRow = new QWidget(upgradeArea);
    auto* hintLayout = new QHBoxLayout(hintRow);
    hintLayout->setContentsMargins(0, 0, 0, 0);
    hintLayout->setSpacing(0);
    hintLayout->addWidget(_tipIconLabel);
    hintLayout->addWidget(_tipTextLabel);
    hintLayout->addStretch();
    auto* upgradeLayout = new QVBoxLayout(upgradeArea);
    upgradeLayout->setContentsMargins(10, 10, 0, 0);
    upgradeLayout->setSpacing(12);
    upgradeLayout->addWidget(_firmwareUpgradeLabel);
    upgradeLayout->addWidget(upgradeRow);
    upgradeLayout->addWidget(hintRow);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(_titleBar, 0, Qt::AlignTop);
    layout->addWidget(topBar);
    layout->addWidget(middle);
    layout->addWidget(upgradeArea);
    layout->addStretch();

    // Tab goes from the table through the operation buttons as they are shown (top to bottom,
    // left to right) and on to the upgrade row.
    QWidget* previous = _deviceTable;
    for (QWidget* next : std::initializer_list<QWidget*>{
             _searchBtn,     _setIpBtn,          _modifyIpBtn,       _openFullNetcomBtn, _closeFullNetcomBtn,
             _openDhcpBtn,   _closeDhcpBtn,      _audioDetectionBtn, _gpioDetectionBtn,  _syncTimeBtn,
             _rebootBtn,     _simpleRecoveryBtn, _fullRecoveryBtn,   _configParamBtn,    _modifyParamBtn,
             _setOsdBtn,     _modifyOsdBtn,      _ptzAndAudioBtn,    _checkSdCardBtn,    _tenZoomBtn,
             _playCheckBtn,  _imageTestBtn,      _printLabelBtn,     _upgradeFileEdit,   _browseBtn,
             _fileUpgradeBtn}) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void MainFrame::connectSignals() {
    connect(_sysConfigBtn, &QPushButton::clicked, this, &MainFrame::onSysConfig);
    connect(_deviceTable, &CTableView::onOpenTheDeviceBrowser, this, &MainFrame::onOpenBrowser);
    connect(_deviceTable, &CTableView::onViewDeviceQRcode, this, &MainFrame::onViewQRcode);
    connect(_searchBtn, &QPushButton::clicked, this, &MainFrame::onSearchDevices);
    connect(_syncTimeBtn, &QPushButton::clicked, this, &MainFrame::onSyncTime);
    connect(_setIpBtn, &QPushButton::clicked, this, &MainFrame::onSetIP);
    connect(_modifyIpBtn, &QPushButton::clicked, this, &MainFrame::onModifyIP);
    connect(_openFullNetcomBtn, &QPushButton::clicked, this, &MainFrame::onFullNetcomEnable);
    connect(_closeFullNetcomBtn, &QPushButton::clicked, this, &MainFrame::onFullNetcomEnable);
    connect(_playCheckBtn, &QPushButton::clicked, this, &MainFrame::onPlayCheckDevice);
    connect(_audioDetectionBtn, &QPushButton::clicked, this, &MainFrame::onAudioDetection);
    connect(_gpioDetectionBtn, &QPushButton::clicked, this, &MainFrame::onGPIOPortDetection);
    connect(_rebootBtn, &QPushButton::clicked, this, &MainFrame::onReboot);
    connect(_simpleRecoveryBtn, &QPushButton::clicked, this, &MainFrame::onSimpleRecovery);
    connect(_fullRecoveryBtn, &QPushButton::clicked, this, &MainFrame::onFullRecovery);
    connect(_setOsdBtn, &QPushButton::clicked, this, &MainFrame::onSetOSD);
    connect(_modifyOsdBtn, &QPushButton::clicked, this, &MainFrame::onModifyOSD);
    connect(_imageTestBtn, &QPushButton::clicked, this, &MainFrame::onImageTest);
    connect(_printLabelBtn, &QPushButton::clicked, this, &MainFrame::onPellora);
    connect(_browseBtn, &QPushButton::clicked, this, &MainFrame::onSelectFilePath);
    connect(_fileUpgradeBtn, &QPushButton::clicked, this, &MainFrame::onUpgrade);
    connect(_configParamBtn, &QPushButton::clicked, this, &MainFrame::onConfigureOtherParameters);
    connect(_modifyParamBtn, &QPushButton::clicked, this, &MainFrame::onModifyOtherParameters);
    connect(_deviceTable, &CTableView::update_checkstate, this, &MainFrame::updateCheckState);
    connect(_deviceTable, &CTableView::updateCount, this, &MainFrame::updateCount);
    connect(_mainStreamSwitch, SIGNAL(toggled(bool)), this, SLOT(onMainFramePlayEnable(bool)));
    connect(_fullNetcomSwitch, SIGNAL(toggled(bool)), this, SLOT(onMainFrameFullNetcomEnable(bool)));
    connect(_deviceTable, &CTableView::leftdoubleClicked, this, &MainFrame::onDoubleClickedPlay);
    connect(this, SIGNAL(searchDevEnd()), this, SLOT(onSearchDevEnd()));
    connect(this, SIGNAL(modifyNetInfoEnd()), this, SLOT(onModifyNetInfoEnd()));
    connect(this, SIGNAL(closeSearchDialog()), this, SLOT(onCloseSearchDialog()));
    connect(this, SIGNAL(modifyParamEnd(int)), this, SLOT(onModifyParamEnd(int)));
    connect(_openDhcpBtn, &QPushButton::clicked, this, &MainFrame::onModifyDhcp);
    connect(_closeDhcpBtn, &QPushButton::clicked, this, &MainFrame::onModifyDhcp);
    connect(_ptzAndAudioBtn, &QPushButton::clicked, this, &MainFrame::onPtzAndAudio);
    connect(_checkSdCardBtn, &QPushButton::clicked, this, &MainFrame::onCheckSDcard);
    connect(_tenZoomBtn, &QPushButton::clicked, this, &MainFrame::onTenZoom);
}

QStringList MainFrame::networkCardItems(const QList<NetworkCard>& cards) {
    QStringList items;
    QStringList loopbackItems;
    for (const NetworkCard& card : cards) {
        if (!card.up || !card.running)
            continue;
        if (card.loopback) {
            // The simulated cameras live on the loopback card: listed after the real cards.
            for (const QString& ip : card.ipv4)
                loopbackItems << "[" + card.name + "][" + ip + "]";
            continue;
        }
        if (card.name.contains("VMware", Qt::CaseInsensitive))
            continue;
        for (const QString& ip : card.ipv4)
            items << "[" + card.name + "][" + ip + "]";
    }
    return items + loopbackItems;
}

void MainFrame::listNetworkCards() {
    if (!_networkCardTypeBox)
        return;
    QList<NetworkCard> cards;
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        NetworkCard card;
        card.name = iface.humanReadableName();
        card.up = iface.flags().testFlag(QNetworkInterface::IsUp);
        card.running = iface.flags().testFlag(QNetworkInterface::IsRunning);
        card.loopback = iface.flags().testFlag(QNetworkInterface::IsLoopBack);
        for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                card.ipv4 << entry.ip().toString();
        }
        cards << card;
    }
    _networkCardTypeBox->addItems(networkCardItems(cards));
    if (_networkCardTypeBox->count() >= 2)
        _networkCardTypeBox->setCurrentIndex(1);
}

QString MainFrame::searchAddress(const QString& cardItem) {
    return cardItem.split("[").last().split("]").first();
}

void MainFrame::initModules() {
    loginFixtureHook();
    createEngineHook();
    if (!_checkTimer) {
        _checkTimer = new QTimer();
        connect(_checkTimer, &QTimer::timeout, this, &MainFrame::onCheckTimerSlot);
    }
    if (!_checkFtTimer) {
        _checkFtTimer = new QTimer();
        connect(_checkFtTimer, &QTimer::timeout, this, &MainFrame::onCheckFtTimerSlot);
    }
    // initModules runs more than once; each request must relogin only once.
    if (!_reloginConnected) {
        connect(this, &MainFrame::reLoginReq, this, &MainFrame::onReLoginReq);
        _reloginConnected = true;
    }
    IClientUiElement::setNotifyCallBack(&MainFrame::notifyCallback, this);
}

void MainFrame::uninitModules() {
    // No search answer may reach a window on its way out.
    KVX_NET_StopSearchDevice();
    ++_searchGeneration;
    // No batch thread or modify answer may outlive the window or the engine.
    stopNetBatch();
    KVX_NET_StopModifyNetInfo();
    logoutFixtureHook();
    if (_checkFtTimer) {
        _checkFtTimer->stop();
        delete _checkFtTimer;
        _checkFtTimer = nullptr;
    }
    if (_checkTimer) {
        _checkTimer->stop();
        delete _checkTimer;
        _checkTimer = nullptr;
    }
    IClientUiElement::setNotifyCallBack(nullptr, nullptr);
    destroyEngineHook();
    OzmLogic::instance()->unInit();
}

void MainFrame::createEngineHook() {
    if (!_engine)
        _engine = new DeviceManager(this);
}

void MainFrame::destroyEngineHook() {
    if (_engine) {
        delete _engine;
        _engine = nullptr;
    }
}

// ---- Search ----

void MainFrame::onSearchDevices() {
    const QString address = searchAddress(_networkCardTypeBox->currentText());
    KVX_NET_StopSearchDevice();
    // Answers still queued from the stopped search are dropped from here on.
    const std::uint64_t generation = ++_searchGeneration;
    if (_engine)
        _engine->logoutAll();
    Sleep(1);
    // A running IP or DHCP thread would add records of the old rows to the new lists.
    stopNetBatch();
    clearPendingLists();
    _checkedRows.clear();
    _checkedRowIndexStale = true;
    _deviceTable->clear();
    _totalCountLabel->setText("0");
    _selectedCountLabel->setText("0");
    _deviceTable->setIsCheckAll(false);

    const int searchTime = ozmParamsMgr()->getSearchTime();
    const int fullNetcom = ozmParamsMgr()->getSearchFullNetcom() != 0 ? 1 : 0;
    // Disabling the focused button hands the focus on; it comes back when the search ends. A
    // restart while the button is disabled keeps what the first start noted.
    if (_searchBtn->isEnabled()) {
        _searchHadFocus = focusWidget() == _searchBtn;
        _searchBtn->setEnabled(false);
        _searchFocusStandIn = _searchHadFocus ? focusWidget() : nullptr;
    }
    const QByteArray addressBytes = address.toLatin1();
    const int result = KVX_NET_StartSearchDevice(searchTime, addressBytes.constData(),
                                                 &MainFrame::onDeviceFound, this, fullNetcom);
    if (result != 0) {
        Qx_Write_Log(300, "MainFrame::onSearchDevices",
                     "KVX_NET_StartSearchDevice failed, card:%s, result:%d", addressBytes.constData(),
                     result);
        if (generation == _searchGeneration.load())
            enableSearchButton();
    }
}

void MainFrame::enableSearchButton() {
    _searchBtn->setEnabled(true);
    // The focus returns only from where the disabling put it: a move of the operator's stays.
    if (_searchHadFocus && focusWidget() == _searchFocusStandIn)
        _searchBtn->setFocus(Qt::OtherFocusReason);
    _searchHadFocus = false;
    _searchFocusStandIn = nullptr;
}

int MainFrame::onDeviceFound(const DSC_SEARCH_RESPONSE_INFO* record, void* user) {
    auto* frame = static_cast<MainFrame*>(user);
    if (!frame)
        return -1;
    frame->onSearchResult(record);
    return 0;
}

void MainFrame::onSearchResult(const DSC_SEARCH_RESPONSE_INFO* record) {
    // The library's record lives only during the call: a value copy goes to the GUI thread,
    // tagged with the search it belongs to.
    const std::uint64_t generation = _searchGeneration.load();
    const bool end = record == nullptr;
    DSC_SEARCH_RESPONSE_INFO copy{};
    if (record)
        std::memcpy(&copy, record, sizeof(copy));
    QMetaObject::invokeMethod(
        this, [this, generation, end, copy]() { applySearchAnswer(generation, end, copy); },
        Qt::QueuedConnection);
}

void MainFrame::applySearchAnswer(std::uint64_t generation, bool end,
                                  const DSC_SEARCH_RESPONSE_INFO& record) {
    if (generation != _searchGeneration.load())
        return; // an answer of an earlier search
    if (end) {
        emit searchDevEnd();
        enableSearchButton();
        return;
    }
    if (latin1Field(record.tag) != QLatin1String(DSC_TAG) || record.type != DSC_TYPE_FOUND)
        return;
    DSC_SEARCH_RESPONSE_INFO copy = record;
    const QString mac = latin1Field(copy.mac);
    if (mac.isEmpty())
        return;
    addSearchResult(copy);
    // Every answer, a repeated one too, goes to the engine with its HTTP port in host order.
    copy.httpPort = toHostOrder(copy.httpPort);
    if (_engine) {
        _engine->addSearchInfo(mac.toStdString(), &copy);
        _engine->addLoginTask(&copy);
    }
}

void MainFrame::addSearchResult(const DSC_SEARCH_RESPONSE_INFO& record) {
    const QString ip = latin1Field(record.ip);
    const QString mac = latin1Field(record.mac);
    // A row with the same IP and MAC makes the answer a duplicate.
    if (_deviceTable->containsDevice(ip, mac))
        return;
    addDeviceRow(record);
}

void MainFrame::addDeviceRow(const DSC_SEARCH_RESPONSE_INFO& record) {
    _deviceTable->addRow(buildDeviceRow(record));
}

std::uint32_t MainFrame::toHostOrder(std::uint32_t value) {
    return ((value & 0x000000FFu) << 24) | ((value & 0x0000FF00u) << 8) | ((value & 0x00FF0000u) >> 8) |
           ((value & 0xFF000000u) >> 24);
}

QStringList MainFrame::buildDeviceRow(const DSC_SEARCH_RESPONSE_INFO& record) {
    const std::uint8_t dhcp = record.dhcp;
    const QString fullNetcom =
        RowTexts::text(record.fullNetcom == 1 ? RowText::FullNetcomEnabled : RowText::FullNetcomDisabled);
    const QString netcomFlag = record.column3Flag == 1 ? RowTexts::text(RowText::NetcomFlagSet) : QString();
    const QString dhcpText = dhcp == 1   ? RowTexts::text(RowText::DhcpOpen)
                             : dhcp == 0 ? RowTexts::text(RowText::DhcpClose)
                                         : QString();
    // The check-box, name and status columns start empty.
    QStringList row;
    row.reserve(DeviceColumn::Count);
    for (int column = 0; column < DeviceColumn::Count; ++column)
        row << QString();
    using namespace DeviceColumn;
    row[Ip] = latin1Field(record.ip);
    row[FullNetcom] = fullNetcom;
    row[NetcomFlag] = netcomFlag;
    row[Text384] = latin1Field(record.text384);
    row[Serial] = latin1Field(record.serial);
    row[Mac] = latin1Field(record.mac);
    row[Mask] = latin1Field(record.mask);
    row[Gateway] = latin1Field(record.gateway);
    row[Dns] = latin1Field(record.dns);
    row[HttpPort] = QString::number(toHostOrder(record.httpPort));
    row[RtspPort] = QString::number(toHostOrder(record.rtspPort));
    row[Number296] = QString::number(record.number296);
    row[Dhcp] = dhcpText;
    row[Number300] = QString::number(record.number300);
    row[User] = latin1Field(record.user);
    row[Password] = latin1Field(record.password);
    return row;
}

void MainFrame::onSearchDevEnd() {
    KVX_NET_StopSearchDevice();
    if (_engine)
        _engine->addressLedger().searchDone();
    OZM::_NOTIFY_PARAM param;
    param.type = 5;
    param.data = reinterpret_cast<void*>(static_cast<std::intptr_t>(_deviceTable->rowCount()));
    handleDeviceEvent(&param);
}

void MainFrame::onCloseSearchDialog() {
    if (_searchProgress) {
        _searchProgress->close();
        delete _searchProgress;
        _searchProgress = nullptr;
    }
}

// ---- Checked rows, counts, switches ----

void MainFrame::updateCheckState(int state, QVector<QStringList> rows) {
    _checkedRows.clear();
    _checkedRowIndexStale = true;
    _selectedCountLabel->setText("0");
    if (state == CTableView::TableCleared || rows.isEmpty())
        return;
    _checkedRows = rows;
    _selectedCountLabel->setText(QString::number(rows.size()));
    if (rows.size() == 1)
        writeLabelDevice(rows.first());
}

void MainFrame::writeLabelDevice(const QStringList& row) {
    QSettings ini(SysConfigDialog::pelloraIniPath(), QSettings::IniFormat);
    ini.setIniCodec(QTextCodec::codecForName("GBK"));
    ini.setValue("CHINESEPRODUCTINFO/SN", row.value(DeviceColumn::Serial));
    ini.setValue("CHINESEPRODUCTINFO/MAC", row.value(DeviceColumn::Mac));
}

void MainFrame::updateCount(int count) {
    _totalCountLabel->setText(QString::number(count));
}

void MainFrame::onMainFramePlayEnable(bool enable) {
    ozmParamsMgr()->setStream(enable ? 0 : 1);
}

void MainFrame::onMainFrameFullNetcomEnable(bool enable) {
    ozmParamsMgr()->setSearchFullNetcom(enable ? 1 : 0);
}

void MainFrame::showTextInfo() {
    TipDialog::showWarning(tr("Please select the device first!"));
}

// ---- Relogin ----

void MainFrame::onReLoginReq(DSC_SEARCH_RESPONSE_INFO resp) {
    if (_engine)
        _engine->reloginDevice(&resp);
}

bool MainFrame::reLoginDevice(const DSC_MODIFY_NETINFO_RESPONSE* resp, bool relogin,
                              AddressLedger::Change change) {
    if (!resp)
        return false;
    // At most as many characters as the search record's MAC and address fields hold.
    const std::string mac = fixedfield::fieldText(resp->mac, sizeof DSC_SEARCH_RESPONSE_INFO::mac - 1);
    const std::string ip = fixedfield::fieldText(resp->newIp, sizeof DSC_SEARCH_RESPONSE_INFO::ip - 1);
    // The stored record takes the new address: the relogin reads the record as stored.
    const bool stored = _engine && _engine->updateSearchInfo(mac, [&ip](DSC_SEARCH_RESPONSE_INFO& record) {
        fixedfield::copyField(record.ip, ip);
    });
    std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> record = stored ? _engine->findSearchInfo(mac) : nullptr;
    if (!record) {
        Qx_Write_Log(300, "MainFrame::reLoginDevice", "cannot findSearchInfo, mac:%s", mac.c_str());
        return false;
    }
    if (relogin && change != 0)
        _engine->reloginDevice(record.get(), change); // the change's own relogin
    else if (relogin)
        emit reLoginReq(*record);
    return true;
}

// ---- Small windows and the browser ----

void MainFrame::onSysConfig() {
    SysConfigDialog dialog;
    dialog.exec();
}

void MainFrame::onViewQRcode() {
    const QStringList row = _deviceTable->menuRowData();
    if (row.isEmpty())
        return;
    const QString serial = row.value(DeviceColumn::Serial);
    const QImage image = TcQrencode::encodeImage(ViewQRcodeDialog::deviceLink(serial), 12);
    ViewQRcodeDialog dialog;
    dialog.qrLabel()->setPixmap(QPixmap::fromImage(image));
    dialog.serialLabel()->setText(serial);
    dialog.appLabel()->setText(tr("Android & IOS APP"));
    dialog.exec();
    qDebug() << "ViewDeviceQRcode";
}

QUrl MainFrame::browserUrl(const QString& ip, const QString& port) {
    in_addr address{};
    const QByteArray ipBytes = ip.toLatin1();
    if (ip.isEmpty() || ip.size() > 15 || inet_pton(AF_INET, ipBytes.constData(), &address) != 1)
        return QUrl();
    bool ok = false;
    const int number = port.toInt(&ok, 10);
    if (!ok || number < 1 || number > 65535 || port.size() > 5 || port.startsWith('+') ||
        port.startsWith('-'))
        return QUrl();
    return QUrl("http://" + ip + ":" + QString::number(number));
}

void MainFrame::onOpenBrowser() {
    const QStringList row = _deviceTable->menuRowData();
    const QString ip = row.value(DeviceColumn::Ip);
    const QString port = row.value(DeviceColumn::HttpPort);
    if (ip.isEmpty() || port.isEmpty())
        return;
    const QUrl url = browserUrl(ip, port);
    if (!url.isValid() || url.isEmpty()) {
        Qx_Write_Log(300, "MainFrame::onOpenBrowser", "not an address, ip:%s port:%s",
                     ip.toLatin1().constData(), port.toLatin1().constData());
        return;
    }
    QDesktopServices::openUrl(url);
    qDebug() << "onOpenBrowser" << url.toString();
}

newaddress::Verdict MainFrame::pingHost(std::string ip) {
    constexpr int kAnswerWaitMs = 15; // longer than the engine's own probe
    return PingHelper::probe(ip, kAnswerWaitMs);
}

// ---- Window events ----

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
    return WindowBase::eventFilter(watched, event);
}

void MainFrame::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    Q_UNUSED(key);
}

void MainFrame::closeEvent(QCloseEvent* event) {
    uninitModules();
    event->accept();
}
