#include "CMyPreviewView.h"

CMyPreviewView::CMyPreviewView(QWidget* parent) : CPreviewView(parent) {}

CMyPreviewView::~CMyPreviewView() = default;

void CMyPreviewView::OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) {
    CPreviewView::OnActivateView(activate, activateView, deactiveView);
}

void CMyPreviewView::OnDraw(CDC* pDC) {
    CPreviewView::OnDraw(pDC);
}

void CMyPreviewView::OnEndPrintPreview() {
    CPreviewView::OnEndPrintPreview();
}

void CMyPreviewView::OnPreviewPrint() {
    // Print first (the frame stays open meanwhile), then end the preview.
    if (CView* view = printView())
        view->OnCmdMsg(ID_FILE_PRINT);
    OnPreviewClose();
}
