#include "CMainFrame.h"

#include "CWrapperView.h"
#include "LabelDrawing.h"

#include "mfc/CDialogEx.h"
#include "mfc/CWinApp.h"

CMainFrame::CMainFrame(CDialogEx* dialog, void* callbackData, int mode)
    : m_pDialog(dialog), m_pCallbackData(callbackData), m_pfnCallback(&printPageCallback), m_nMode(mode) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    const QString caption = dialog ? dialog->GetWindowText() : QString();
    const QString title = caption.isEmpty() ? tr("打印预览") : caption + tr(" (预览)");
    Create(title, CRect(200, 200, 500, 500));
}

CMainFrame::~CMainFrame() {
    if (m_pDialog && m_pDialog->isModalRunning())
        m_pDialog->show();
}

BOOL CMainFrame::OnCmdMsg(UINT id) {
    // The print view first, the frame only when the view does not take the command.
    if (m_pView && m_pView->OnCmdMsg(id))
        return TRUE;
    return CFrameWnd::OnCmdMsg(id);
}

int CMainFrame::OnCreate() {
    if (CFrameWnd::OnCreate() != 0)
        return -1;
    m_pView = new CWrapperView(this);
    addPane(m_pView);
    if (m_nMode == kPreviewMode)
        showPane(m_pView);
    SetActiveView(m_pView);
    if (m_pDialog)
        setWindowIcon(m_pDialog->windowIcon());
    setGeometry(200, 200, 720, 650);
    AfxGetApp()->m_pMainWnd = this;

    if (m_nMode == kDirectPrintMode) {
        SendCommand(ID_FILE_PRINT);
    } else {
        m_pView->startPreview(this);
        if (m_pDialog)
            m_pDialog->hide();
    }
    return 0;
}

void CMainFrame::runPageCallback(CDC* pDC, CPrintInfo* pInfo) {
    if (m_pfnCallback)
        m_pfnCallback(pDC, pInfo, m_pCallbackData);
}

void CMainFrame::returnToDialog() {
    AfxGetApp()->m_pMainWnd = m_pDialog;
    hide();
    deleteLater();
}
