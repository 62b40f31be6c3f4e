#include "CPelloraApp.h"

#include "CPelloraDlg.h"
#include "ScreenshotTour.h"
#include "quillet/Quillet.h"

#include <QCoreApplication>
#include <QDir>

CPelloraApp::CPelloraApp() : CWinApp(QStringLiteral("Pellora")) {}

BOOL CPelloraApp::InitInstance() {
    CWinApp::InitInstance();
    SetRegistryKey(QStringLiteral("应用程序向导生成的本地应用程序"));

    const QString log = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Pellora.log"));
    Qx_Set_Log_File(log.toLocal8Bit().constData(), 0x100000, 5, nullptr);
    Qx_Write_Log(600, "CPelloraApp::InitInstance", "Start Pellora");

    CPelloraDlg dlg;
    m_pMainWnd = &dlg;
    ScreenshotTour tour(&dlg);
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // The program ends with the dialog.
    return FALSE;
}
