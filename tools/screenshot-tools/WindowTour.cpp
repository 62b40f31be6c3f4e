#include "WindowTour.h"

#include "CShowtableviewEx.h"
#include "CmodifyresultmodelEx.h"
#include "Cmodifyupgradeview.h"
#include "FixtureSim.h"
#include "MainFrame.h"
#include "MultiTreeWidget.h"
#include "OtherParamConfigDlg.h"
#include "ProgressBarDialog.h"
#include "SearchLogin.h"
#include "SetIPDialog.h"
#include "ShowResultDlgEx.h"
#include "TitleBar.h"
#include "modifyupgradewidget.h"

#include "camsim/SimControl.h"
#include "harness/AtExit.h"
#include "harness/ModalCloser.h"
#include "harness/QtApp.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamRecords.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHash>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <vector>

class MainFrameTestAccess {
public:
    static QPushButton* openFullNetcom(MainFrame& frame) { return frame._openFullNetcomBtn; }
    static QPushButton* openDhcp(MainFrame& frame) { return frame._openDhcpBtn; }
};

namespace mwtest {

namespace {

using Action = harness::ModalCloser::Action;

const int kCameras = 3;
// A preview is looked at again once its panes have had this long to show their streams.
const int kPreviewMs = 1500;
const char* const kStartAddress = "127.0.2.10";

bool isPreview(const QWidget* widget) {
    for (const char* name :
         {"PlayDialog", "PlayCheckDeviceDialog", "PtzAndAudioDeviceDialog", "ImageTestDialog"}) {
        if (widget->inherits(name))
            return true;
    }
    return false;
}

bool upgradeEnded(const QString& progress) {
    return progress == QLatin1String("100") || progress == QLatin1String("0");
}

} // namespace

class WindowTour::Walker : public QObject {
public:
    explicit Walker(TourVisitor visitor) : _visitor(std::move(visitor)) {
        _closer.setDecider([this](QWidget* widget) { return decide(widget); });
        _closer.setLimits(120000, 20000);
        connect(&_poll, &QTimer::timeout, this, [this] { visitNew(); });
    }

    bool run(const QString& language, WindowTour::Paths paths);

    QString error;
    QStringList visits;

private:
    // One step: runs fn as the step named where and waits until its windows have closed.
    bool step(const QString& where, const std::function<void()>& fn);
    void visit(QWidget* window, const QString& where) {
        visits << where;
        _visitor(window, where);
    }
    // Visits every visible top-level window not seen yet (the main window is visited by name).
    void visitNew();
    Action decide(QWidget* widget);
    Action decideParameters(OtherParamConfigDlg* dialog);
    bool fail(const QString& why) {
        if (error.isEmpty())
            error = _where + ": " + why;
        return false;
    }

    TourVisitor _visitor;
    harness::ModalCloser _closer{Action::Reject};
    QTimer _poll;
    MainFrame* _frame = nullptr;
    QString _where;
    QString _package;
    std::vector<QPointer<QWidget>> _seen;
    QHash<QWidget*, qint64> _previewSince;
    QElapsedTimer _clock;
    bool _busy = false;
    bool _detailOpened = false;
    bool _askedSetIp = false;
};

void WindowTour::Walker::visitNew() {
    if (_busy || !_frame)
        return;
    _busy = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == _frame || !window->isVisible() || window->inherits("QTipLabel"))
            continue;
        bool seen = false;
        for (const QPointer<QWidget>& known : _seen)
            seen = seen || known == window;
        if (seen)
            continue;
        _seen.emplace_back(window);
        visit(window, _where + " / " + QString::fromLatin1(window->metaObject()->className()));
    }
    _busy = false;
}

harness::ModalCloser::Action WindowTour::Walker::decide(QWidget* widget) {
    visitNew();
    if (qobject_cast<ProgressBarDialog*>(widget))
        return Action::Leave; // its owner closes it when the work ends
    if (auto* dialog = qobject_cast<OtherParamConfigDlg*>(widget))
        return decideParameters(dialog);
    if (auto* dialog = qobject_cast<SetIPDialog*>(widget)) {
        if (!_askedSetIp) {
            _askedSetIp = true;
            dialog->modifyRadio->setChecked(true);
            dialog->ipEdit->setText(QString::fromLatin1(kStartAddress));
            dialog->maskEdit->setText(QStringLiteral("255.255.255.0"));
            dialog->gatewayEdit->setText(QStringLiteral("127.0.2.1"));
            QTimer::singleShot(0, dialog, [dialog] { dialog->onConfirm(); });
        }
        return Action::Leave;
    }
    if (auto* dialog = qobject_cast<QFileDialog*>(widget)) {
        harness::ModalCloser::chooseFile(dialog, _package);
        return Action::Leave;
    }
    if (auto* window = qobject_cast<modifyupgradewidget*>(widget)) {
        const Cmodifyupgradeview* view = window->view();
        if (view->rowCount() < _frame->checkedRows().size())
            return Action::Leave;
        for (int row = 0; row < view->rowCount(); ++row) {
            if (!upgradeEnded(view->getData(row, 1).toString()))
                return Action::Leave;
        }
        visit(window, _where + " / modifyupgradewidget, every device ended");
        return Action::Close;
    }
    if (auto* gpio = qobject_cast<ShowResultDlgEx*>(widget)) {
        if (_detailOpened)
            return Action::Reject;
        // The detail view of the failing row, opened as the operator does.
        _detailOpened = true;
        CShowtableviewEx* view = gpio->table();
        const int last = view->resultModel()->rowCount() - 1;
        const QPoint at = view->visualRect(view->resultModel()->index(last, 0)).center();
        QTimer::singleShot(0, view, [view, at] {
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        });
        return Action::Leave;
    }
    if (isPreview(widget)) {
        const qint64 since = _previewSince.value(widget, -1);
        if (since < 0) {
            _previewSince.insert(widget, _clock.elapsed());
            return Action::Leave;
        }
        if (_clock.elapsed() - since < kPreviewMs)
            return Action::Leave;
        _previewSince.remove(widget);
        visit(widget, _where + " / " + QString::fromLatin1(widget->metaObject()->className()) + ", playing");
        return Action::Reject;
    }
    return Action::Accept; // message boxes, result tables and the small windows
}

harness::ModalCloser::Action WindowTour::Walker::decideParameters(OtherParamConfigDlg* dialog) {
    auto* tree = dialog->findChild<MultiTreeWidget*>();
    if (!tree) {
        fail(QStringLiteral("the parameter dialog has no family tree"));
        return Action::Reject;
    }
    _busy = true;
    for (int page = 0; page < OZM::FamilyCount; ++page) {
        QTreeWidgetItem* item = tree->familyItem(page);
        if (!item) {
            fail(QStringLiteral("no family item %1").arg(page));
            break;
        }
        emit tree->treeWidget()->itemPressed(item, 0);
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
        visit(dialog, _where + QStringLiteral(" / parameter page %1").arg(page));
    }
    _busy = false;
    return Action::Reject;
}

bool WindowTour::Walker::step(const QString& where, const std::function<void()>& fn) {
    _where = where;
    fn();
    visitNew();
    if (!harness::waitFor([] { return harness::ModalCloser::findModal() == nullptr; }, 30000))
        return fail(QStringLiteral("a window stayed open"));
    // Status texts of the rows arrive from the engine's threads.
    QTest::qWait(150);
    visit(_frame, QStringLiteral("main window after ") + where);
    return error.isEmpty();
}

bool WindowTour::Walker::run(const QString& language, WindowTour::Paths paths) {
    const bool failures = paths == WindowTour::Paths::Failure;
    _clock.start();
    camsim::resetWorld();
    // One camera shows every state of the search's own columns.
    std::vector<camsim::CameraProfile> fleet = camsim::defaultFleet(kCameras);
    fleet[0].dhcp = 1;
    fleet[0].fullNetcom = 1;
    fleet[0].column3Flag = 1;
    camsim::useFleet(fleet);
    // The failures: the second camera refuses its login, the third refuses or does not answer
    // the calls of the batches, the first does not log in again after its reboot.
    const std::string refusing = fleet[1].mac;
    const std::string faulty = fleet[2].mac;
    const std::string lost = fleet[0].mac;
    if (failures) {
        camsim::inject({refusing, "KVX_NET_Login", true, false, 0, -1});
        _detailOpened = true; // the GPIO detail belongs to the successful paths
    }
    ozmParamsMgr()->setSearchTime(5);
    ozmParamsMgr()->setSearchFullNetcom(0);
    ozmParamsMgr()->setCurrentLanCode(language);
    if (!OzmLogic::instance()->init(harness::qtApp()))
        return fail(QStringLiteral("the framework did not start"));
    // Every family but the two that move the cameras to other addresses.
    OZM::SC_OTHERPARAMENABLE enabled{};
    for (int family = OZM::FamilyDdns; family < OZM::FamilyCount; ++family)
        enabled.flag[family] = 1;
    ozmParamsMgr()->setOtherParamEnable(&enabled);

    FixtureSim fixture;
    if (!fixture.start())
        return fail(QStringLiteral("the fake fixture did not start"));
    const bool hadPort = qEnvironmentVariableIsSet("CORVANE_FIXTURE_PORT");
    const QByteArray oldPort = qgetenv("CORVANE_FIXTURE_PORT");
    qputenv("CORVANE_FIXTURE_PORT", QByteArray::number(fixture.port()));
    qunsetenv("CORVANE_OPEN_FILE");
    _package = QDir::currentPath() + QStringLiteral("/firmware.bin");
    {
        QFile file(_package);
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(2048, 'p')) != 2048)
            return fail(QStringLiteral("no upgrade package"));
    }

    MainFrame frame;
    _frame = &frame;
    // However the tour ends: no poll of the window, the fixture's port and the world as before.
    const harness::AtExit restore([&] {
        _poll.stop();
        frame.close();
        _frame = nullptr;
        fixture.stop();
        if (hadPort)
            qputenv("CORVANE_FIXTURE_PORT", oldPort);
        else
            qunsetenv("CORVANE_FIXTURE_PORT");
        camsim::resetWorld();
    });
    frame.show();
    _poll.start(20);
    CTableView* table = frame.deviceTable();
    // Every text a row shows, also those the next message replaces at once.
    connect(table->model(), &QAbstractItemModel::dataChanged, this, [this] {
        if (_frame && !_busy)
            visit(_frame, QStringLiteral("main window during ") + _where);
    });
    bool ok = step(QStringLiteral("start"), [] {}) &&
              step(QStringLiteral("nothing selected"), [&] { frame.onSyncTime(); });
    ok = ok && step(QStringLiteral("search"), [&] {
             const int refused = failures ? 1 : 0;
             if (!frametest::searchAndLogin(frame, kCameras - refused, refused))
                 fail(QStringLiteral("the cameras did not log in as planned"));
         });
    if (!ok)
        return false;
    MainFrame* f = &frame;
    if (failures) {
        table->setIsCheckAll(true);
        fixture.setUnknown(FixtureSim::Unknown::NoMac); // the refusing camera's answer is "NOGET"
        fixture.setResult(lost, FixtureSim::passResult(lost));
        fixture.setResult(faulty, FixtureSim::passResult(faulty));
        fixture.setMacDelayMs(faulty, 1600); // after the test's limit (1.2 s), within Tremix's wait (2 s)
        const std::vector<std::pair<QString, std::function<void()>>> steps = {
            {QStringLiteral("Sync time, no answer"),
             [f, faulty] {
                 camsim::inject({faulty, "KVX_NET_GetTimeParam", true, false, 0, 1});
                 f->onSyncTime();
             }},
            {QStringLiteral("Ten Zoom, no answer"),
             [f, faulty] {
                 camsim::inject({faulty, "KVX_NET_GetCpldData", true, false, 0, 1});
                 f->onTenZoom();
             }},
            {QStringLiteral("Reboot, refused and not back"),
             [f, faulty, lost] {
                 camsim::inject({faulty, "KVX_NET_Reboot", true, false, 0, 1});
                 camsim::inject({lost, "KVX_NET_Login", true, false, 0, -1});
                 f->onReboot();
             }},
            {QStringLiteral("Open FullNetcom, refused"),
             [f, faulty] {
                 camsim::inject({faulty, "KVX_NET_ModifyNetInfo", true, false, 0, -1});
                 MainFrameTestAccess::openFullNetcom(*f)->click();
             }},
            {QStringLiteral("Open DHCP, refused"), [f] { MainFrameTestAccess::openDhcp(*f)->click(); }},
            {QStringLiteral("Audio Detection, NOGET and time-out"), [f] { f->onAudioDetection(); }},
            {QStringLiteral("GPIO Detection, NOGET and time-out"), [f] { f->onGPIOPortDetection(); }},
            {QStringLiteral("File Upgrade, no package"), [f] { f->onUpgrade(); }},
            {QStringLiteral("Browse"), [f] { f->onSelectFilePath(); }},
            {QStringLiteral("File Upgrade, package missing"),
             [this, f] {
                 QFile::remove(_package);
                 f->onUpgrade();
             }},
            {QStringLiteral("Set IP"), [f] { f->onSetIP(); }},
            {QStringLiteral("Modify IP, refused and without login"), [f] { f->onModifyIP(); }},
        };
        for (const auto& s : steps) {
            if (!step(s.first, s.second))
                break;
        }
        return error.isEmpty();
    }
    const QPoint firstRow = table->visualRect(table->model()->index(0, 1)).center();
    ok = step(QStringLiteral("right-click menu"),
              [&] {
                  emit table->customContextMenuRequested(firstRow);
                  if (!harness::waitFor([&] { return table->contextMenu()->isVisible(); }, 2000))
                      fail(QStringLiteral("the menu did not show"));
                  visitNew();
                  table->contextMenu()->hide();
              }) &&
         step(QStringLiteral("QR code"), [&] { frame.onViewQRcode(); }) &&
         step(QStringLiteral("about"),
              [&] {
                  if (auto* title = frame.findChild<TitleBar*>())
                      title->onVersionBtnClicked();
              }) &&
         step(QStringLiteral("system settings"), [&] { frame.onSysConfig(); });
    if (!ok)
        return false;

    fixture.setResult(
        table->getData(kCameras - 1, CTableView::ColMac).toString().toStdString(),
        R"({"uart":"OK","audio":"NG","gpio":[{"name":"GPIO1","function":"IR-CUT","status":"OK"},)"
        R"({"name":"GPIO2","function":"LED","status":"NG"}]})");
    table->setIsCheckAll(true);
    const std::vector<std::pair<QString, std::function<void()>>> steps = {
        {QStringLiteral("Sync time"), [f] { f->onSyncTime(); }},
        {QStringLiteral("Check Device SD Card"), [f] { f->onCheckSDcard(); }},
        {QStringLiteral("Ten Zoom"), [f] { f->onTenZoom(); }},
        {QStringLiteral("Set OSD"), [f] { f->onSetOSD(); }},
        {QStringLiteral("Modify OSD"), [f] { f->onModifyOSD(); }},
        {QStringLiteral("Open FullNetcom"), [f] { MainFrameTestAccess::openFullNetcom(*f)->click(); }},
        {QStringLiteral("Close FullNetcom"), [f] { f->onFullNetcomEnable(); }},
        {QStringLiteral("Open DHCP"), [f] { MainFrameTestAccess::openDhcp(*f)->click(); }},
        {QStringLiteral("Close DHCP"), [f] { f->onModifyDhcp(); }},
        {QStringLiteral("Reboot"), [f] { f->onReboot(); }},
        {QStringLiteral("Simple Recovery"), [f] { f->onSimpleRecovery(); }},
        {QStringLiteral("Full Recovery"), [f] { f->onFullRecovery(); }},
        {QStringLiteral("Config Parm"), [f] { f->onConfigureOtherParameters(); }},
        {QStringLiteral("Modify parameters"), [f] { f->onModifyOtherParameters(); }},
        {QStringLiteral("PtzAndAudio Setting"), [f] { f->onPtzAndAudio(); }},
        {QStringLiteral("Play Check Device"), [f] { f->onPlayCheckDevice(); }},
        {QStringLiteral("Image Test"), [f] { f->onImageTest(); }},
        {QStringLiteral("preview"),
         [f, table, firstRow] {
             QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, firstRow);
         }},
        {QStringLiteral("Audio Detection"), [f] { f->onAudioDetection(); }},
        {QStringLiteral("GPIO Detection"), [f] { f->onGPIOPortDetection(); }},
        {QStringLiteral("Browse"), [f] { f->onSelectFilePath(); }},
        {QStringLiteral("File Upgrade"), [f] { f->onUpgrade(); }},
        {QStringLiteral("Set IP"), [f] { f->onSetIP(); }},
        {QStringLiteral("Modify IP"), [f] { f->onModifyIP(); }},
        {QStringLiteral("Label Printing"), [f] { f->onPellora(); }},
    };
    for (const auto& s : steps) {
        if (!step(s.first, s.second))
            break;
    }
    return error.isEmpty();
}

WindowTour::WindowTour(TourVisitor visitor) : _walker(std::make_unique<Walker>(std::move(visitor))) {}

WindowTour::~WindowTour() = default;

bool WindowTour::run(const QString& language, Paths paths) {
    return _walker->run(language, paths);
}

QString WindowTour::error() const {
    return _walker->error;
}

QStringList WindowTour::visits() const {
    return _walker->visits;
}

} // namespace mwtest
