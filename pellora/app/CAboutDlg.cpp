#include "CAboutDlg.h"

#include "Resource.h"

#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : CDialogEx(IDD_ABOUTBOX, parent) {
    setFont(QFont(QStringLiteral("MS Shell Dlg"), 9));
    setWindowTitle(tr("关于 Pellora"));
    const QRect size = MapDialogRect(0, 0, 170, 62);
    setFixedSize(size.width(), size.height());
    auto* icon = new QLabel(this);
    if (parent)
        icon->setPixmap(parent->windowIcon().pixmap(32, 32));
    icon->setGeometry(MapDialogRect(14, 14, 21, 20));
    auto* text = new QLabel(tr("Pellora，1.0 版"), this);
    text->setGeometry(MapDialogRect(42, 14, 114, 8));
    auto* ok = addControl(IDOK, new QPushButton(tr("确定"), this));
    ok->setGeometry(MapDialogRect(113, 41, 50, 14));
    ok->setDefault(true);
}
