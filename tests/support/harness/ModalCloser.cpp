#include "harness/ModalCloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace harness {

ModalCloser::ModalCloser(Action action, int pollMs) : m_action(action) {
    connect(&m_timer, &QTimer::timeout, this, &ModalCloser::poll);
    m_timer.start(pollMs);
}

ModalCloser::~ModalCloser() = default;

QStringList ModalCloser::summaries() const {
    QStringList out;
    for (const SeenDialog& d : m_seen) {
        out << d.title + ": " + d.text;
    }
    return out;
}

QWidget* ModalCloser::findModal() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && (w->isModal() || w->windowModality() != Qt::NonModal)) {
            return w;
        }
    }
    return nullptr;
}

SeenDialog ModalCloser::describe(QWidget* widget) {
    SeenDialog d;
    d.className = QString::fromLatin1(widget->metaObject()->className());
    d.objectName = widget->objectName();
    d.title = widget->windowTitle();
    for (QLabel* label : widget->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            d.labels << label->text();
        }
    }
    if (auto* box = qobject_cast<QMessageBox*>(widget)) {
        d.text = box->text();
    } else if (!d.labels.isEmpty()) {
        d.text = d.labels.first();
    }
    return d;
}

void ModalCloser::poll() {
    QWidget* modal = findModal();
    if (!modal) {
        m_current = nullptr;
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (modal != m_current) {
        m_current = modal;
        m_currentSince = now;
        m_recorded = false;
    }
    if (now - m_currentSince < m_delayMs) {
        return;
    }
    const Action action = m_decider ? m_decider(modal) : m_action;
    if (!m_recorded) {
        m_seen.push_back(describe(modal));
        m_recorded = true;
    }
    if (action != Action::Leave) {
        act(modal, action);
    }
}

void ModalCloser::act(QWidget* widget, Action action) {
    if (auto* box = qobject_cast<QMessageBox*>(widget)) {
        QAbstractButton* button = nullptr;
        if (action == Action::Accept) {
            button = box->defaultButton();
            if (!button && !box->buttons().isEmpty()) {
                button = box->buttons().first();
            }
        } else if (action == Action::Reject) {
            button = box->escapeButton();
        }
        if (button) {
            button->click();
            return;
        }
    }
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (dialog && action == Action::Accept) {
        dialog->accept();
    } else if (dialog && action == Action::Reject) {
        dialog->reject();
    } else {
        widget->close();
    }
}

} // namespace harness
