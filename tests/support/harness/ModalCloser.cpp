#include "harness/ModalCloser.h"

#include "harness/Watchdog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace harness {

// A modal dialog the closer has seen and that has not closed yet, with its limits.
struct ModalCloser::Open {
    const void* key;
    QPointer<QWidget> widget;
    std::string line;
    std::unique_ptr<Deadline> open;
    std::unique_ptr<Deadline> acted;
    ~Open() { watchdog::forgetModal(key); }
};

ModalCloser::ModalCloser(Action action, int pollMs) : m_action(action) {
    m_clock.start();
    connect(&m_timer, &QTimer::timeout, this, &ModalCloser::poll);
    m_timer.start(pollMs);
}

ModalCloser::~ModalCloser() {
    for (const auto& open : m_open) {
        if (open->widget)
            open->widget->removeEventFilter(this);
    }
}

void ModalCloser::setLimits(int openLimitMs, int actedLimitMs) {
    m_openLimitMs = openLimitMs;
    m_actedLimitMs = actedLimitMs;
}

QString ModalCloser::describeLine(QWidget* widget) {
    const SeenDialog d = describe(widget);
    QString line = d.className + " \"" + d.title + "\"";
    if (!d.objectName.isEmpty())
        line += " (" + d.objectName + ")";
    if (qobject_cast<QMessageBox*>(widget))
        line += " text \"" + d.text + "\"";
    QStringList labels = d.labels.mid(0, 8);
    for (QString& label : labels) {
        label = label.simplified();
        if (label.size() > 100)
            label = label.left(100) + "...";
    }
    if (!labels.isEmpty())
        line += " labels [" + labels.join(" | ") + "]";
    if (auto* files = qobject_cast<QFileDialog*>(widget)) {
        if (auto* name = files->findChild<QLineEdit*>("fileNameEdit"))
            line += " file name \"" + name->text() + "\"";
    }
    return line;
}

void ModalCloser::chooseFile(QWidget* fileDialog, const QString& path) {
    auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
    if (!dialog)
        return;
    const QFileInfo info(path);
    dialog->setDirectory(info.absolutePath());
    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit"))
        name->setText(info.fileName());
    else
        dialog->selectFile(info.absoluteFilePath());
    static_cast<QDialog*>(dialog)->accept(); // QFileDialog's own accept(): it checks the name
}

bool ModalCloser::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide || event->type() == QEvent::Destroy) {
        for (auto it = m_open.begin(); it != m_open.end(); ++it) {
            if ((*it)->key == watched) {
                watched->removeEventFilter(this);
                m_open.erase(it);
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void ModalCloser::track(QWidget* modal, bool acted) {
    // Dialogs that closed since the last look.
    for (auto it = m_open.begin(); it != m_open.end();) {
        if (!(*it)->widget || !(*it)->widget->isVisible())
            it = m_open.erase(it);
        else
            ++it;
    }
    Open* entry = nullptr;
    for (const auto& open : m_open) {
        if (open->widget == modal)
            entry = open.get();
    }
    if (!entry) {
        // Its limits end when it hides or goes, whether or not the closer looks again.
        modal->installEventFilter(this);
        auto open = std::make_unique<Open>();
        open->key = modal;
        open->widget = modal;
        open->line = describeLine(modal).toStdString();
        watchdog::noteModal(modal, open->line);
        open->open = std::make_unique<Deadline>("modal dialog " + open->line + " to close", m_openLimitMs);
        entry = open.get();
        m_open.push_back(std::move(open));
    }
    if (acted && !entry->acted)
        entry->acted = std::make_unique<Deadline>(
            "modal dialog " + entry->line + " to close after the closer acted on it", m_actedLimitMs);
}

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
        m_open.clear();
        return;
    }
    const qint64 now = m_clock.elapsed();
    if (modal != m_current) {
        m_current = modal;
        m_currentSince = now;
        m_recorded = false;
    }
    if (now - m_currentSince < m_delayMs) {
        track(modal, false);
        return;
    }
    const Action action = m_decider ? m_decider(modal) : m_action;
    if (!m_recorded) {
        m_seen.push_back(describe(modal));
        m_recorded = true;
    }
    // The decider may have run an event loop: the dialog may be gone.
    if (modal != findModal())
        return;
    track(modal, action != Action::Leave);
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
