#include "PreviewPanes.h"

#include <QDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace PreviewPanes {

QSize screenSize() {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry().size();
    return QSize(1280, 720);
}

FramelessDialogFrame::Parts buildFrame(QDialog* dialog, int width, int height, const QString& dialogLook) {
    return FramelessDialogFrame::build(dialog, width, height, dialogLook);
}

QWidget* buildVideoArea(QWidget* parent, const QRect& geometry, int rows, int columns,
                        QList<QWidget*>* panes) {
    auto* area = new QWidget(parent);
    area->setGeometry(geometry);
    area->setAttribute(Qt::WA_StyledBackground);
    area->setObjectName(kVideoAreaName);
    area->setStyleSheet(FramelessDialogFrame::scoped("QWidget", QLatin1String(kVideoAreaName),
                                                     "background-color : rgb(96,96,96)"));
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    const int count = rows * columns;
    for (int k = 0; k < count; ++k) {
        auto* pane = new QWidget(area);
        pane->setAttribute(Qt::WA_TransparentForMouseEvents);
        grid->addWidget(pane, k / columns, k % columns, 1, 1);
        panes->append(pane);
    }
    return area;
}

} // namespace PreviewPanes
