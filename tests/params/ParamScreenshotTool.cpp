// Shows the parameter dialog and saves a PNG of each network page and of the audio, account,
// time, timed-restart and audio/light board pages into the folder given as the
// first argument (tools/screenshots runs it under Xvfb).
#include "OtherParamConfigDlg.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTreeWidget>

#include <cstdio>
#include <utility>

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
    dialog.show();
    auto* tree = dialog.findChild<MultiTreeWidget*>();
    const char* const names[] = {"params_tcpip", "params_port", "params_ddns", "params_p2p",
                                 "params_gb28181"};
    bool ok = tree != nullptr;
    for (int page = 0; ok && page < 5; ++page) {
        emit tree->treeWidget()->itemPressed(tree->familyItem(page), 0);
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
        const QString path = folder + "/" + names[page] + ".png";
        const QPixmap shot = dialog.grab();
        const bool saved = shot.save(path, "PNG");
        std::printf("%s %s (%dx%d)\n", saved ? "saved" : "FAILED", qPrintable(path), shot.width(),
                    shot.height());
        ok &= saved;
    }
    // The audio, account, time, timed-restart and audio/light board pages.
    const std::pair<int, const char*> settingPages[] = {{6, "params_audio"},
                                                        {11, "params_account"},
                                                        {12, "params_time"},
                                                        {13, "params_maintain"},
                                                        {14, "params_audio_board"}};
    for (const auto& [page, name] : settingPages) {
        if (!ok)
            break;
        emit tree->treeWidget()->itemPressed(tree->familyItem(page), 0);
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
        const QString path = folder + "/" + name + ".png";
        const QPixmap shot = dialog.grab();
        const bool saved = shot.save(path, "PNG");
        std::printf("%s %s (%dx%d)\n", saved ? "saved" : "FAILED", qPrintable(path), shot.width(),
                    shot.height());
        ok &= saved;
    }
    return ok ? 0 : 1;
}
