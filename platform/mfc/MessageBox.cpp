#include "mfc/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace {
mfc::MessageBoxHook& hook() {
    static mfc::MessageBoxHook h;
    return h;
}
} // namespace

namespace mfc {
void setMessageBoxHook(MessageBoxHook h) {
    hook() = std::move(h);
}
} // namespace mfc

int AfxMessageBox(const QString& text, UINT type) {
    if (hook())
        return hook()(text, type);
    QMessageBox box;
    box.setWindowTitle(QApplication::applicationName());
    box.setText(text);
    switch (type & 0xF0) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (type & 0xF) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return IDCANCEL;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDOK;
    }
}
