#include "MainFrame.h"

#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/SkinMgr.h"
#include "quillet/Quillet.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

MainFrame::MainFrame(QWidget* parent) : WindowBase(parent) {
    setFixedSize(kWidth, kHeight);
    buildUi();
    setObjectName("mainFrame");
    enableMySizing(true);

    QString styleSheet;
    if (ozmSkinMgr()->getQss(styleSheet)) {
        setStyleSheet(styleSheet);
    }

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
    if (available.width() > window.width()) {
        return QPoint((available.width() - window.width()) / 4, (available.height() - window.height()) / 4);
    }
    return QPoint(0, 0);
}

void MainFrame::buildUi() {
    auto* titleStrip = new QWidget(this);
    titleStrip->setObjectName("titleStrip");
    titleStrip->setFixedHeight(40);
    setDragStripHeight(40);
    auto* logo = new QLabel(titleStrip);
    logo->setObjectName("titleLogo");
    auto* name = new QLabel(QStringLiteral("IPC Corvane"), titleStrip);
    name->setObjectName("titleName");
    OzmLogic::setMyFontRegular(name);
    auto* titleLayout = new QHBoxLayout(titleStrip);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->setSpacing(0);
    titleLayout->addWidget(logo);
    titleLayout->addWidget(name);
    titleLayout->addStretch();

    auto* centralArea = new QWidget(this);
    centralArea->setObjectName("centralArea");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(titleStrip, 0, Qt::AlignTop);
    layout->addWidget(centralArea, 1);
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
    // Unique: initModules runs more than once, and each request must relogin only once.
    // By signature: the search record is only declared here.
    connect(this, SIGNAL(reLoginReq(DSC_SEARCH_RESPONSE_INFO*)), this,
            SLOT(onReLoginReq(DSC_SEARCH_RESPONSE_INFO*)), Qt::UniqueConnection);
    IClientUiElement::setNotifyCallBack(&MainFrame::notifyCallback, this);
}

void MainFrame::uninitModules() {
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

int MainFrame::notifyCallback(const OZM::_NOTIFY_PARAM* param, void* user) {
    auto* frame = static_cast<MainFrame*>(user);
    if (frame && param) {
        frame->handleDeviceEvent(param);
    }
    return 0;
}

void MainFrame::loginFixtureHook() {}
void MainFrame::logoutFixtureHook() {}
void MainFrame::createEngineHook() {}
void MainFrame::destroyEngineHook() {}
void MainFrame::handleDeviceEvent(const OZM::_NOTIFY_PARAM*) {}

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

// Slots whose work comes with the search, batch, fixture and dialog code.
void MainFrame::onReLoginReq(DSC_SEARCH_RESPONSE_INFO*) {}
void MainFrame::onSearchDevEnd() {}
void MainFrame::onModifyNetInfoEnd() {}
void MainFrame::onOpenBrowser() {}
void MainFrame::onViewQRcode() {}
void MainFrame::onSysConfig() {}
void MainFrame::onSearchDevices() {}
void MainFrame::onSyncTime() {}
void MainFrame::onSetIP() {}
void MainFrame::onModifyIP() {}
void MainFrame::onPlayCheckDevice() {}
void MainFrame::onAudioDetection() {}
void MainFrame::onGPIOPortDetection() {}
void MainFrame::onReboot() {}
void MainFrame::onSimpleRecovery() {}
void MainFrame::onFullRecovery() {}
void MainFrame::onSetOSD() {}
void MainFrame::onModifyOSD() {}
void MainFrame::onImageTest() {}
void MainFrame::onRemoveData(QString, int) {}
void MainFrame::onPellora() {}
void MainFrame::onSelectFilePath() {}
void MainFrame::onUpgrade() {}
void MainFrame::onConfigureOtherParameters() {}
void MainFrame::onModifyOtherParameters() {}
void MainFrame::onFullNetcomEnable() {}
void MainFrame::onMainFramePlayEnable(bool) {}
void MainFrame::onMainFrameFullNetcomEnable(bool) {}
void MainFrame::updateCheckState(int, QVector<QStringList>) {}
void MainFrame::updateCount(int) {}
void MainFrame::onDoubleClickedPlay() {}
void MainFrame::onCloseSearchDialog() {}
void MainFrame::onCheckTimerSlot() {}
void MainFrame::onCheckFtTimerSlot() {}
void MainFrame::onModifyParamEnd(int) {}
void MainFrame::onModifyDhcp() {}
void MainFrame::onPtzAndAudio() {}
void MainFrame::onCheckSDcard() {}
void MainFrame::onTenZoom() {}
void MainFrame::showTextInfo() {}
