// The application object: one per program; makes the Qt application and runs InitInstance.
#pragma once

#include "mfc/MfcTypes.h"

#include <QString>
#include <memory>

class QPrinter;
class QWidget;

class CWinApp {
public:
    explicit CWinApp(const QString& appName = QString());
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Called once the Qt application exists. Returns FALSE when the program is to end at once.
    virtual BOOL InitInstance();
    // Called after InitInstance returned FALSE or the event loop ended; the program's exit code.
    virtual int ExitInstance();

    // Program entry: makes the QApplication (the framework's "-style" arguments are honoured),
    // registers the font substitutes, runs InitInstance and, when it returns TRUE, the event loop.
    int run(int argc, char** argv);

    void SetRegistryKey(const QString& key) { m_registryKey = key; }
    const QString& appName() const { return m_appName; }

    // The printer settings shared by the print dialog and the print preview.
    QPrinter* printer();

    // The window the framework treats as the program's main window.
    QWidget* m_pMainWnd = nullptr;

private:
    QString m_appName;
    QString m_registryKey;
    std::unique_ptr<QPrinter> m_printer;
};

// The program's application object; a default one when the program made none (tests).
CWinApp* AfxGetApp();
QWidget* AfxGetMainWnd();
