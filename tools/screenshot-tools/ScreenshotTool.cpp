// Shows Corvane's main window against the simulated cameras and a fake fixture, searches, and
// saves PNGs of the main window, each small window and the fixture tests' result tables into
// the folder given as the first argument.
#include "AboutUsDialog.h"
#include "CShowtableviewEx.h"
#include "Cmodifytableview.h"
#include "CmodifyresultmodelEx.h"
#include "FixtureSim.h"
#include "MainFrame.h"
#include "ShowResultDialog.h"
#include "ShowResultDlgEx.h"
#include "SysConfigDialog.h"
#include "ViewQRcodeDialog.h"
#include "WidgetShots.h"
#include "dialogs/TipDialog.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/TcQrencode.h"
#include "tarsel/CTableView.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

using widgetshots::pump;
using widgetshots::saveWindow;

QPushButton* buttonWithText(QWidget* root, const QString& text) {
    for (QPushButton* button : root->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

int loggedInRows(const CTableView* table) {
    int count = 0;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->getData(row, CTableView::ColStatus).toString() == "Login Successful")
            ++count;
    }
    return count;
}

// Saves the result tables as they open: a two-column table under the name given by
// nameTables (first the fixture's audio table), the GPIO table, and the detail view of the GPIO
// table's row detailRow; closes each after its picture.
class ResultGrabber : public QObject {
public:
    ResultGrabber(const QString& folder, int detailRow) : _folder(folder), _detailRow(detailRow) {
        connect(&_timer, &QTimer::timeout, this, &ResultGrabber::poll);
        _timer.start(50);
    }
    void nameTables(const QString& name) { _tableName = name; }
    bool ok = true;
    int saved = 0;

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (_busy || !modal || modal == _last)
            return;
        _busy = true;
        if (auto* gpio = qobject_cast<ShowResultDlgEx*>(modal)) {
            if (!_detailOpened) {
                ok &= saveWindow(gpio, _folder + "/gpio_result.png");
                ++saved;
                _detailOpened = true;
                CShowtableviewEx* view = gpio->table();
                const QPoint at = view->visualRect(view->resultModel()->index(_detailRow, 0)).center();
                QTimer::singleShot(0, view, [view, at] {
                    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
                });
            } else {
                _last = modal;
                gpio->close();
            }
        } else if (auto* table = qobject_cast<ShowResultDialog*>(modal)) {
            const bool detail = table->table()->getData(0, 2).isValid();
            ok &= saveWindow(table, _folder + (detail ? "/gpio_detail.png" : "/" + _tableName + ".png"));
            ++saved;
            _last = modal;
            table->close();
        }
        _busy = false;
    }

    QTimer _timer;
    QString _folder;
    int _detailRow;
    QString _tableName = "audio_result";
    bool _busy = false;
    bool _detailOpened = false;
    QPointer<QWidget> _last; // a closed table's successor may take its address
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString folder = widgetshots::outputFolder(argc, argv, " [EXPECTED_ROWS]");
    const int expectedRows = argc > 2 ? std::atoi(argv[2]) : 8;
    if (!OzmLogic::instance()->init(&app)) {
        std::fprintf(stderr, "the client framework failed to start\n");
        return 1;
    }
    // The fake fixture: every camera passes except the last of the expected rows.
    FixtureSim fixture;
    if (!fixture.start()) {
        std::fprintf(stderr, "the fake fixture failed to start\n");
        return 1;
    }
    qputenv("CORVANE_FIXTURE_HOST", "127.0.0.1");
    qputenv("CORVANE_FIXTURE_PORT", QByteArray::number(fixture.port()));
    bool ok = true;
    {
        MainFrame frame;
        frame.initModules();
        frame.show();
        pump(300);

        auto* cards = frame.findChild<QComboBox*>("networkCardTypeBox");
        const int loopback = cards ? cards->findText("[127.0.0.1]", Qt::MatchContains) : -1;
        if (loopback >= 0)
            cards->setCurrentIndex(loopback);
        QPushButton* search = buttonWithText(&frame, MainFrame::tr("Device Search"));
        if (!search) {
            std::fprintf(stderr, "no search button\n");
            return 1;
        }
        search->click();
        QElapsedTimer waited;
        waited.start();
        CTableView* table = frame.deviceTable();
        while (waited.elapsed() < 60000 && (!search->isEnabled() || loggedInRows(table) < expectedRows))
            pump(100);
        std::printf("rows %d, logged in %d, %lld ms\n", table->rowCount(), loggedInRows(table),
                    static_cast<long long>(waited.elapsed()));
        if (table->rowCount() > 0)
            table->setRowChecked(0, true);
        ok &= saveWindow(&frame, folder + "/main_window.png");

        AboutUsDialog about;
        ok &= saveWindow(&about, folder + "/about.png");
        about.close();

        SysConfigDialog settings;
        ok &= saveWindow(&settings, folder + "/system_configuration.png");
        settings.close();

        const QString serial =
            table->rowCount() > 0 ? table->getData(0, CTableView::ColSerial).toString() : "";
        ViewQRcodeDialog qr;
        qr.qrLabel()->setPixmap(
            QPixmap::fromImage(TcQrencode::encodeImage(ViewQRcodeDialog::deviceLink(serial), 12)));
        qr.serialLabel()->setText(serial);
        qr.appLabel()->setText(MainFrame::tr("Android & IOS APP"));
        ok &= saveWindow(&qr, folder + "/device_qrcode.png");
        qr.close();

        TipDialog tip;
        tip.textLabel->setText(MainFrame::tr("Please select the device first!"));
        tip.iconLabel->setPixmap(QPixmap("./skin/client/default/MainFrame/icon_warning.png"));
        ok &= saveWindow(&tip, folder + "/warning.png");
        tip.close();

        // The fixture tests of every row; their buttons stay hidden, so they are clicked directly.
        const int rows = table->rowCount();
        if (rows > 0) {
            const QString ngMac = table->getData(rows - 1, CTableView::ColMac).toString();
            fixture.setResult(
                ngMac.toStdString(),
                R"({"uart":"OK","audio":"NG","gpio":[{"name":"GPIO1","function":"IR-CUT","status":"OK"},)"
                R"({"name":"GPIO2","function":"LED","status":"NG"},)"
                R"({"name":"GPIO3","function":"ALARM-IN","status":"OK"}]})");
            for (int row = 0; row < rows; ++row)
                table->setRowChecked(row, true);
            ResultGrabber grabber(folder, rows - 1);
            for (const char* caption : {"Audio Detection", "GPIO Detection"}) {
                if (QPushButton* button = buttonWithText(&frame, MainFrame::tr(caption)))
                    button->click(); // returns once its result table has been closed
            }
            ok &= grabber.ok && grabber.saved == 3;

            // A batch's result table: the reboot of every row, once the cameras are back.
            grabber.nameTables("reboot_result");
            if (QPushButton* reboot = buttonWithText(&frame, MainFrame::tr("Reboot")))
                reboot->click();
            QElapsedTimer rebooted;
            rebooted.start();
            while (rebooted.elapsed() < 60000 && grabber.saved < 4)
                pump(100);
            if (grabber.saved < 4)
                std::fprintf(stderr, "no reboot result table within 60 s\n");
            ok &= grabber.ok && grabber.saved == 4;
        }
        frame.close();
    }
    fixture.stop();
    return ok ? 0 : 1;
}
