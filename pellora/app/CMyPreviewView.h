// The print preview of the label program: its Print button prints and then ends the preview.
#pragma once

#include "mfc/CPreviewView.h"

class CMyPreviewView : public CPreviewView {
    Q_OBJECT
public:
    explicit CMyPreviewView(QWidget* parent = nullptr);
    ~CMyPreviewView() override;

    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;
    void OnDraw(CDC* pDC) override;
    void OnEndPrintPreview() override;
    void OnPreviewPrint() override;
};
