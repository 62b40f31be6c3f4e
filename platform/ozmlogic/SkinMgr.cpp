#include "ozmlogic/SkinMgr.h"

#include "quillet/Quillet.h"

#include <QFile>

SkinMgr* ozmSkinMgr() {
    static SkinMgr skin;
    return &skin;
}

QString SkinMgr::skinRoot() {
    return QStringLiteral("./skin/client/default/");
}

QString SkinMgr::skinPath(const QString& section, const QString& file) {
    return skinRoot() + section + "/" + file;
}

QPixmap SkinMgr::getPixmap(const QString& section, const QString& file, const QSize& size, int, int) const {
    QPixmap pixmap(skinPath(section, file));
    if (pixmap.isNull()) {
        Qx_Write_Log(300, "SkinMgr::getPixmap", "cannot load %s/%s", section.toUtf8().constData(),
                     file.toUtf8().constData());
        return pixmap;
    }
    if (size.isValid() && !size.isEmpty()) {
        return pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return pixmap;
}

bool SkinMgr::getQss(QString& styleSheet) const {
    QFile file(skinPath("MainFrame", "main.qss"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Qx_Write_Log(300, "SkinMgr::getQss", "cannot read %s",
                     QFile::encodeName(file.fileName()).constData());
        return false;
    }
    styleSheet = QString::fromUtf8(file.readAll());
    return true;
}
