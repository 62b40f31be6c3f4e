// Dialog base: controls addressed by ids, command handlers per id, data exchange, a modal run
// that OnInitDialog can end before the dialog is shown.
#pragma once

#include "mfc/CDataExchange.h"
#include "mfc/MfcTypes.h"

#include <QDialog>
#include <QMap>
#include <functional>

class QEventLoop;

class CDialogEx : public QDialog {
    Q_OBJECT
public:
    explicit CDialogEx(int templateId, QWidget* parent = nullptr);
    ~CDialogEx() override;

    int templateId() const { return m_templateId; }

    // Runs the dialog modally: OnInitDialog, then (unless it ended the dialog) shows it and waits
    // for EndDialog. Returns the value given to EndDialog.
    int DoModal();
    void EndDialog(int result);
    bool isModalRunning() const { return m_loop != nullptr; }

    // TRUE: controls into members; FALSE: members into controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    QWidget* GetDlgItem(int id) const;
    void SetDlgItemText(int id, const QString& text);
    QString GetDlgItemText(int id) const;
    void SetWindowText(const QString& text) { setWindowTitle(text); }
    QString GetWindowText() const { return windowTitle(); }

    // Sends the control's command (a button click) as the framework's message map would.
    BOOL SendCommand(int id);
    // Closes the dialog as the window's close box does.
    void SendCloseMessage();

    // Dialog units of the template font into pixels.
    QRect MapDialogRect(int x, int y, int w, int h) const;

protected:
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnClose();

    // Registers a control under its id; IDOK and IDCANCEL buttons get OnOK and OnCancel.
    template <class W> W* addControl(int id, W* control) {
        registerControl(id, control);
        return control;
    }
    // Message map entry: the button's click runs the handler.
    void onCommand(int id, std::function<void()> handler);

    void reject() override;
    void accept() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void registerControl(int id, QWidget* control);

    int m_templateId;
    QMap<int, QWidget*> m_controls;
    QMap<int, std::function<void()>> m_commands;
    QEventLoop* m_loop = nullptr;
    bool m_ended = false;
    int m_result = IDCANCEL;
};
