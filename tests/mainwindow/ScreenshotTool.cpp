// Shows Corvane's main window against the simulated cameras, searches, and saves PNGs of the
// main window and each small window into the folder given as the first argument.
#include "AboutUsDialog.h"
#include "MainFrame.h"
#include "SysConfigDialog.h"
#include "ViewQRcodeDialog.h"
#include "dialogs/TipDialog.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/TcQrencode.h"
#include "tarsel/CTableView.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QThread>

#include <cstdio>

namespace {

void pump(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

bool save(QWidget* widget, const QString& path) {
    widget->show();
    widget->raise();
    pump(300);
    QPixmap shot;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        shot = screen->grabWindow(widget->winId());
    if (shot.isNull() || shot.size() != widget->size())
        shot = widget->grab();
    const bool ok = shot.save(path, "PNG");
    std::printf("%s %s (%dx%d)\n", ok ? "saved" : "FAILED", qPrintable(path), shot.width(), shot.height());
    return ok;
}

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

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER [EXPECTED_ROWS]\n", argv[0]);
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const int expectedRows = argc > 2 ? std::atoi(argv[2]) : 8;
    QDir().mkpath(folder);
    if (!OzmLogic::instance()->init(&app)) {
        std::fprintf(stderr, "the client framework failed to start\n");
        return 1;
    }
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
        QPushButton* search = buttonWithText(&frame, QObject::tr("Device Search"));
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
        ok &= save(&frame, folder + "/main_window.png");

        AboutUsDialog about;
        ok &= save(&about, folder + "/about.png");
        about.close();

        SysConfigDialog settings;
        ok &= save(&settings, folder + "/system_configuration.png");
        settings.close();

        const QString serial =
            table->rowCount() > 0 ? table->getData(0, CTableView::ColSerial).toString() : "";
        ViewQRcodeDialog qr;
        qr.qrLabel()->setPixmap(
            QPixmap::fromImage(TcQrencode::encodeImage(ViewQRcodeDialog::deviceLink(serial), 12)));
        qr.serialLabel()->setText(serial);
        qr.appLabel()->setText(QObject::tr("Android & IOS APP"));
        ok &= save(&qr, folder + "/device_qrcode.png");
        qr.close();

        TipDialog tip;
        tip.textLabel->setText(MainFrame::tr("Please select the device first!"));
        tip.iconLabel->setPixmap(QPixmap("./skin/client/default/MainFrame/icon_warning.png"));
        ok &= save(&tip, folder + "/warning.png");
        tip.close();
        frame.close();
    }
    return ok ? 0 : 1;
}
