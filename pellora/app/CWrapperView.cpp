#include "CWrapperView.h"

#include "CMainFrame.h"
#include "CMyPreviewView.h"

#include "mfc/CPrintPreviewState.h"
#include "mfc/MessageBox.h"

CWrapperView::CWrapperView(QWidget* parent) : CScrollView(parent) {}

CWrapperView::~CWrapperView() = default;

BOOL CWrapperView::OnPreparePrinting(CPrintInfo* pInfo) {
    return DoPreparePrinting(pInfo);
}

void CWrapperView::OnPrint(CDC* pDC, CPrintInfo* pInfo) {
    if (!pDC)
        return;
    if (auto* frame = qobject_cast<CMainFrame*>(GetParentFrame()))
        frame->runPageCallback(pDC, pInfo);
}

void CWrapperView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {
    CScrollView::OnEndPrinting(pDC, pInfo);
}

BOOL CWrapperView::OnCmdMsg(UINT id) {
    if (id == ID_FILE_PRINT) {
        OnFilePrintCommand();
        return TRUE;
    }
    return CScrollView::OnCmdMsg(id);
}

void CWrapperView::OnFilePrintCommand() {
    auto* frame = qobject_cast<CMainFrame*>(GetParentFrame());
    const bool direct = frame && frame->mode() == CMainFrame::kDirectPrintMode;
    if (direct)
        frame->hide();
    OnFilePrint();
    if (direct)
        frame->returnToDialog();
}

BOOL CWrapperView::startPreview(CMainFrame* frame) {
    m_pFrame = frame;
    auto state = std::make_unique<CPrintPreviewState>();
    state->lpfnCloseProc = &CWrapperView::previewCloseProc;

    auto* preview = new CMyPreviewView(frame);
    if (!preview) {
        AfxMessageBox(tr("Command failed."), MB_OK | MB_ICONERROR);
        return FALSE;
    }
    preview->setPreviewState(std::move(state));
    frame->OnSetPreviewMode(TRUE, preview->previewState());
    frame->showPane(preview);

    CView* active = frame->GetActiveView();
    preview->previewState()->pViewActiveOld = active;
    if (active)
        active->OnActivateView(FALSE, preview, active);

    if (!preview->SetPrintView(this)) {
        previewCloseProc(frame);
        return FALSE;
    }
    frame->SetActiveView(preview);
    frame->RecalcLayout();
    frame->update();
    return TRUE;
}

void CWrapperView::previewCloseProc(CFrameWnd* frame) {
    if (auto* mainFrame = qobject_cast<CMainFrame*>(frame)) {
        mainFrame->OnSetPreviewMode(FALSE, nullptr);
        mainFrame->returnToDialog();
    }
}
