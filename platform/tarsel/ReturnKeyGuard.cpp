#include "tarsel/ReturnKeyGuard.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>

namespace {

bool isReturnKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

void ReturnKeyGuard::install(QDialog* dialog) {
    if (!dialog || dialog->findChild<ReturnKeyGuard*>(QString(), Qt::FindDirectChildrenOnly))
        return;
    new ReturnKeyGuard(dialog);
}

ReturnKeyGuard::ReturnKeyGuard(QDialog* dialog) : QObject(dialog), m_dialog(dialog) {
    setObjectName(QStringLiteral("returnKeyGuard"));
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

ReturnKeyGuard::~ReturnKeyGuard() {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool ReturnKeyGuard::eventFilter(QObject* watched, QEvent* event) {
    // Every event of the GUI thread passes here while the dialog lives: the cheap tests first.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!isReturnKey(key->key()))
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    // A button clicks on Return whatever the modifiers; the dialog clicks its default button.
    const bool ends =
        widget == m_dialog || (qobject_cast<QAbstractButton*>(widget) && m_dialog->isAncestorOf(widget));
    if (!ends)
        return false;
    key->accept();
    return true;
}
