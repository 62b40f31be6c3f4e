// Saves PNGs of the preview dialogs against the simulated cameras into the folder given as the
// first argument: the preview grid with 4 and 10 devices, the single preview, the PTZ and audio
// test, the image test and the OSD dialog. Run by tools/screenshots under Xvfb.
#include "ImageTestDialog.h"
#include "PlayCheckDeviceDialog.h"
#include "PlayDialog.h"
#include "PreviewTestSupport.h"
#include "PtzAndAudioDeviceDialog.h"
#include "SetOsdDialog.h"
#include "WidgetShots.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

#include <cstdio>
#include <cstring>

namespace {

// The video needs longer than a still window to settle.
constexpr int kSettleMs = 800;

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString folder = widgetshots::outputFolder(argc, argv);
    if (!OzmLogic::instance()->init(&app)) {
        std::fprintf(stderr, "the client framework failed to start\n");
        return 1;
    }
    camsim::useFleet(camsim::defaultFleet(10));
    bool ok = true;
    {
        PlayCheckDeviceDialog grid(2, 2);
        grid.startPlay(previewtest::fleetRows(4));
        ok &= widgetshots::saveWindow(&grid, folder + "/preview_grid_4.png", kSettleMs);
        grid.onCloseBtnClicked();
    }
    {
        PlayCheckDeviceDialog grid(3, 4);
        grid.startPlay(previewtest::fleetRows(10));
        ok &= widgetshots::saveWindow(&grid, folder + "/preview_grid_10.png", kSettleMs);
        grid.onCloseBtnClicked();
    }
    {
        ozmParamsMgr()->setStream(1);
        auto* single = new PlayDialog;
        const QStringList row = previewtest::fleetRows(1).value(0);
        single->titleLabel->setText(row.value(1));
        single->playDevice(row);
        ok &= widgetshots::saveWindow(single, folder + "/single_preview.png", kSettleMs);
        single->close();
    }
    {
        PtzAndAudioDeviceDialog ptz(2, 2);
        ptz.startPlay(previewtest::fleetRows(3));
        widgetshots::pump(300);
        ptz.ptzButton("Open Voice")->click();
        ok &= widgetshots::saveWindow(&ptz, folder + "/ptz_and_audio.png", kSettleMs);
        ptz.onCloseBtnClicked();
    }
    {
        ImageTestDialog image;
        image.setDeviceList(previewtest::fleetRows(3));
        ok &= widgetshots::saveWindow(&image, folder + "/image_test.png", kSettleMs);
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
        ok &= widgetshots::saveWindow(&dialog, folder + "/set_osd.png", kSettleMs);
        dialog.close();
    }
    return ok ? 0 : 1;
}
