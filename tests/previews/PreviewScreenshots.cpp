// Saves PNGs of the preview dialogs against the simulated cameras into the folder given as the
// first argument: the preview grid with 4 and 10 devices, the single preview, the PTZ and audio
// test, the image test and the OSD dialog. Run by tools/screenshots under Xvfb.
#include "ImageTestDialog.h"
#include "PlayCheckDeviceDialog.h"
#include "PlayDialog.h"
#include "PreviewTestSupport.h"
#include "PtzAndAudioDeviceDialog.h"
#include "SetOsdDialog.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>

#include <cstdio>
#include <cstring>

namespace {

void pump(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
}

bool save(QWidget* widget, const QString& path) {
    widget->show();
    widget->raise();
    pump(800);
    QPixmap shot;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        shot = screen->grabWindow(widget->winId());
    if (shot.isNull() || shot.size() != widget->size())
        shot = widget->grab();
    const bool ok = shot.save(path, "PNG");
    std::printf("%s %s (%dx%d)\n", ok ? "saved" : "FAILED", qPrintable(path), shot.width(), shot.height());
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(folder);
    if (!OzmLogic::instance()->init(&app)) {
        std::fprintf(stderr, "the client framework failed to start\n");
        return 1;
    }
    camsim::useFleet(camsim::defaultFleet(10));
    bool ok = true;
    {
        PlayCheckDeviceDialog grid(2, 2);
        grid.startPlay(previewtest::fleetRows(4));
        ok &= save(&grid, folder + "/preview_grid_4.png");
        grid.onCloseBtnClicked();
    }
    {
        PlayCheckDeviceDialog grid(3, 4);
        grid.startPlay(previewtest::fleetRows(10));
        ok &= save(&grid, folder + "/preview_grid_10.png");
        grid.onCloseBtnClicked();
    }
    {
        ozmParamsMgr()->setStream(1);
        auto* single = new PlayDialog;
        const QStringList row = previewtest::fleetRows(1).value(0);
        single->titleLabel->setText(row.value(1));
        single->playDevice(row);
        ok &= save(single, folder + "/single_preview.png");
        single->close();
    }
    {
        PtzAndAudioDeviceDialog ptz(2, 2);
        ptz.startPlay(previewtest::fleetRows(3));
        pump(300);
        ptz.ptzButton("Open Voice")->click();
        ok &= save(&ptz, folder + "/ptz_and_audio.png");
        ptz.onCloseBtnClicked();
    }
    {
        ImageTestDialog image;
        image.setDeviceList(previewtest::fleetRows(3));
        ok &= save(&image, folder + "/image_test.png");
        image.stopPreview();
    }
    {
        OZM::_SC_SETOSD_DATA_ osd;
        std::memset(&osd, 0, sizeof osd);
        osd.showTime = 1;
        osd.dateFormat = 1;
        std::strcpy(osd.text, "GATE-7");
        ozmParamsMgr()->setOsdInfo(&osd);
        SetOsdDialog dialog;
        ok &= save(&dialog, folder + "/set_osd.png");
        dialog.close();
    }
    return ok ? 0 : 1;
}
