#include "FramelessDialogFrame.h"

#include "ozmlogic/OzmLogic.h"
#include "tarsel/ReturnKeyGuard.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace FramelessDialogFrame {

QString scoped(const char* type, const QString& objectName, const QString& declarations) {
    return QStringLiteral("%1#%2{%3}").arg(QLatin1String(type), objectName, declarations);
}

Parts build(QDialog* dialog, int width, int height, const QString& dialogLook) {
    Parts parts;
    ReturnKeyGuard::install(dialog);
    dialog->setFixedSize(width, height);
    if (dialog->objectName().isEmpty())
        dialog->setObjectName(QLatin1String(dialog->metaObject()->className()));
    if (!dialogLook.isEmpty())
        dialog->setStyleSheet(scoped("QDialog", dialog->objectName(), dialogLook));

    parts.titleLogoLabel = new QLabel(dialog);
    parts.titleLogoLabel->setObjectName("titleLogo");
    parts.titleLabel = new QLabel(dialog);
    OzmLogic::setMyFontRegular(parts.titleLabel);

    parts.titleBar = new QWidget(dialog);
    auto* layout = new QHBoxLayout(parts.titleBar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(parts.titleLogoLabel);
    layout->addWidget(parts.titleLabel);
    layout->addStretch();
    parts.titleBar->setGeometry(0, 0, width, kTitleBarHeight);
    // The bar's look applies to the bar alone: unscoped, its width would reach the logo and the
    // title, and a skin that gives the logo a minimum width would make the logo 340 pixels wide
    // and push the title to the middle of the bar.
    parts.titleBar->setObjectName(kTitleBarName);
    parts.titleBar->setStyleSheet(
        scoped("QWidget", QLatin1String(kTitleBarName), "width: 340px; height: 30px;background: #CDCDCD"));

    parts.closeButton = new QPushButton(parts.titleBar);
    parts.closeButton->setObjectName(kCloseButtonName);
    parts.closeButton->setGeometry(width - kTitleBarHeight, 0, kTitleBarHeight, kTitleBarHeight);
    parts.closeButton->setStyleSheet(
        scoped("QPushButton", QLatin1String(kCloseButtonName),
               "background:transparent; "
               "border:no;image:url(./skin/client/default/MainFrame/icon_close_black.png);"));
    parts.closeButton->setAutoDefault(false);
    return parts;
}

void press(const QMouseEvent* event, const QRect& titleRect, QPoint& pressPos, bool& dragging) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    pressPos = event->pos();
    if (pressPos.y() > kDragAreaBottom) {
        return;
    }
    dragging = titleRect.contains(pressPos);
}

void move(QWidget* dialog, const QMouseEvent* event, bool dragging, const QPoint& pressPos) {
    if (dragging) {
        dialog->move(dialog->pos() + event->pos() - pressPos);
    }
}

void release(QMouseEvent* event, bool& dragging) {
    dragging = false;
    if (event->button() == Qt::LeftButton) {
        event->accept();
    }
}

} // namespace FramelessDialogFrame
