// Shows the parameter dialog and saves a PNG of each page into the folder given as the
// first argument (tools/screenshots runs it under Xvfb).
#include "OtherParamConfigDlg.h"
#include "PlayWidget.h"
#include "ozmlogic/SkinMgr.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPixmap>
#include <QTreeWidget>

#include <cstdio>

namespace {

// Drags out one privacy area on the editor.
void drag(PlayWidget* editor, QPoint from, QPoint to) {
    const QPair<QEvent::Type, QPoint> steps[] = {
        {QEvent::MouseButtonPress, from}, {QEvent::MouseMove, to}, {QEvent::MouseButtonRelease, to}};
    for (const auto& step : steps) {
        const Qt::MouseButtons held =
            step.first == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(step.first, step.second, editor->mapToGlobal(step.second), Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(editor, &event);
        editor->repaint(); // the paint reports the area to its coordinate edits
    }
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

    OtherParamConfigDlg dialog;
    dialog.setTitleText(QObject::tr("Other Settings"));
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
            drag(editor, {40, 30}, {180, 120});
            drag(editor, {400, 40}, {260, 170});
        }
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
        const QString path = folder + "/" + s.name + ".png";
        const QPixmap shot = dialog.grab();
        const bool saved = shot.save(path, "PNG");
        std::printf("%s %s (%dx%d)\n", saved ? "saved" : "FAILED", qPrintable(path), shot.width(),
                    shot.height());
        ok &= saved;
    }
    return ok ? 0 : 1;
}
