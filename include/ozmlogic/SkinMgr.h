// Client framework: skin files (pixmaps and the style sheet) under ./skin/client/default/.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

class SkinMgr {
public:
    // The skin root, relative to the working directory: "./skin/client/default/".
    static QString skinRoot();
    // Path of a skin file: skinRoot() + section + "/" + file.
    static QString skinPath(const QString& section, const QString& file);

    // The pixmap of a skin file; scaled (keeping the aspect ratio) when size is valid.
    // The two ints are reserved: callers pass -1, -1. A missing file gives a null pixmap.
    QPixmap getPixmap(const QString& section, const QString& file, const QSize& size = QSize(),
                      int reserved1 = -1, int reserved2 = -1) const;

    // Fills styleSheet with the skin's style sheet (MainFrame/main.qss). False, and styleSheet
    // unchanged, when the file cannot be read.
    bool getQss(QString& styleSheet) const;
};

// The one skin manager of the process.
SkinMgr* ozmSkinMgr();
