// Closes the modal dialogs that code under test opens with exec(), and records what they showed.
// Arm it before the call that runs exec(); a timer on the GUI thread polls for the active modal
// widget, records its title and texts, then acts on it. A dialog that is still open a while after
// the closer acted on it (actedLimitMs), or that stays open longer than openLimitMs, ends the test
// process with a message naming it, the other open windows and the code that opened it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace harness {

struct SeenDialog {
    QString className; // metaObject()->className()
    QString objectName;
    QString title;      // windowTitle()
    QString text;       // QMessageBox::text(), else the first non-empty QLabel text
    QStringList labels; // every non-empty QLabel text, in child order
};

class ModalCloser : public QObject {
    Q_OBJECT

public:
    enum class Action {
        Accept, // QMessageBox: its default or first accept button; QDialog: accept()
        Reject, // QMessageBox: escape/reject button; QDialog: reject()
        Close,  // QWidget::close()
        Leave,  // record only
    };

    explicit ModalCloser(Action action = Action::Accept, int pollMs = 10);
    ~ModalCloser() override;

    // Decides per dialog; returning Leave records it once and leaves it open.
    void setDecider(std::function<Action(QWidget*)> decider) { m_decider = std::move(decider); }
    // Acts only after the dialog has been open for delayMs.
    void setDelay(int delayMs) { m_delayMs = delayMs; }
    // Limits of one dialog: open at most openLimitMs; closed at most actedLimitMs after the
    // closer's first action on it.
    void setLimits(int openLimitMs, int actedLimitMs);

    const std::vector<SeenDialog>& seen() const { return m_seen; }
    int count() const { return static_cast<int>(m_seen.size()); }
    // Texts of every seen dialog, "title: text".
    QStringList summaries() const;

    static SeenDialog describe(QWidget* widget);
    // One line: class, title, text and labels.
    static QString describeLine(QWidget* widget);
    static QWidget* findModal();

    // Accepts a file dialog with `path` typed as its file name: what a user does. (selectFile()
    // leaves the name field alone once it has the focus, and accept() then has nothing to accept.)
    static void chooseFile(QWidget* fileDialog, const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void poll();

private:
    struct Open;

    void act(QWidget* widget, Action action);
    void track(QWidget* modal, bool acted);

    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_openLimitMs = 60000;
    int m_actedLimitMs = 10000;
    std::vector<std::unique_ptr<Open>> m_open;
    Action m_action;
    std::function<Action(QWidget*)> m_decider;
    int m_delayMs = 0;
    std::vector<SeenDialog> m_seen;
    QPointer<QWidget> m_current;
    qint64 m_currentSince = 0;
    bool m_recorded = false;
};

} // namespace harness
