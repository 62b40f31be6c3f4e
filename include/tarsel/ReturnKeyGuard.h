// Widget library: Return and keypad Enter in a dialog click none of its buttons. Qt clicks a
// focused auto-default push button on Return, and the dialog's default button (the first
// auto-default button in the focus chain, chosen when the dialog is shown) when a Return reaches
// the dialog; a camera command, a batch, a save or a close must never start that way.
//
// The guard is an application event filter bound to one dialog: a Return or Enter key press that
// is delivered to a button of the dialog, or to the dialog itself, ends there. Any other widget
// gets the key first (a text field keeps its own Return), and what it leaves unhandled ends at
// the dialog. Working on the delivered events rather than on the buttons, it covers buttons made
// after the dialog was built (pages built later, buttons added at run time) and needs nothing of
// the dialog's subclasses. Space still clicks a focused button.
#pragma once

#include <QObject>

class QDialog;

class ReturnKeyGuard : public QObject {
    Q_OBJECT

public:
    // Guards dialog for its whole life (the guard is its child); a second call adds nothing.
    static void install(QDialog* dialog);
    ~ReturnKeyGuard() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ReturnKeyGuard(QDialog* dialog);

    QDialog* m_dialog;
};
