// Shows the parameter dialog and saves a PNG of each page into the folder given as the
// first argument (tools/screenshots runs it under Xvfb).
#include "OtherParamConfigDlg.h"
#include "PlayWidget.h"
#include "WidgetShots.h"
#include "ozmlogic/SkinMgr.h"

#include <QApplication>
#include <QPixmap>
#include <QTreeWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString folder = widgetshots::outputFolder(argc, argv);

    OtherParamConfigDlg dialog;
    dialog.setTitleText(QCoreApplication::translate("MainFrame", "Other Settings"));
    QString qss; // the main window's skin, which the dialog inherits in the program
    if (ozmSkinMgr()->getQss(qss))
        app.setStyleSheet(qss);
    dialog.show();
    auto* tree = dialog.findChild<MultiTreeWidget*>();
    struct Shot {
        int page;
        const char* name;
    };
    const Shot shots[] = {{0, "params_tcpip"},   {1, "params_port"},      {2, "params_ddns"},
                          {3, "params_p2p"},     {4, "params_gb28181"},   {5, "params_video"},
                          {7, "params_osd"},     {8, "params_image"},     {9, "params_privacy"},
                          {10, "params_motion"}, {6, "params_audio"},     {11, "params_account"},
                          {12, "params_time"},   {13, "params_maintain"}, {14, "params_audio_board"}};
    bool ok = tree != nullptr;
    for (const Shot& s : shots) {
        if (!ok)
            break;
        emit tree->treeWidget()->itemPressed(tree->familyItem(s.page), 0);
        auto* editor = dialog.findChild<PlayWidget*>();
        if (s.page == OZM::FamilyPrivacyMask && editor) {
            widgetshots::drag(editor, {40, 30}, {180, 120});
            widgetshots::drag(editor, {400, 40}, {260, 170});
        }
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
        ok &= widgetshots::savePng(dialog.grab(), folder + "/" + s.name + ".png");
    }
    return ok ? 0 : 1;
}
