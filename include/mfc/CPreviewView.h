// The print preview: the print view's pages on screen, with a tool bar (Print, Next Page,
// Prev Page, One/Two Page, Zoom In, Zoom Out, Close).
#pragma once

#include "mfc/CPrintPreviewState.h"
#include "mfc/CView.h"

#include <memory>

class QPrintPreviewWidget;
class QPrinter;
class QToolBar;
class QAction;

class CPreviewView : public CView {
    Q_OBJECT
public:
    explicit CPreviewView(QWidget* parent = nullptr);
    ~CPreviewView() override;

    void setPreviewState(std::unique_ptr<CPrintPreviewState> state);
    CPrintPreviewState* previewState() const { return m_pPreviewState.get(); }
    std::unique_ptr<CPrintPreviewState> takePreviewState();

    // Hands over the view whose pages are shown; FALSE when its pages cannot be laid out.
    BOOL SetPrintView(CView* printView);
    CView* printView() const { return m_pPrintView; }

    int pageCount() const;
    int currentPage() const;
    QPrintPreviewWidget* previewWidget() const { return m_preview; }

    BOOL OnCmdMsg(UINT id) override;

    // Tool bar: Close runs the state's close procedure; Print closes the preview and then sends
    // the print command to the print view.
    virtual void OnPreviewClose();
    virtual void OnPreviewPrint();
    virtual void OnEndPrintPreview();
    void OnDraw(CDC* pDC) override;

private:
    void updateButtons();

    std::unique_ptr<CPrintPreviewState> m_pPreviewState;
    CView* m_pPrintView = nullptr;
    QPrintPreviewWidget* m_preview = nullptr;
    QToolBar* m_toolBar = nullptr;
    QAction* m_next = nullptr;
    QAction* m_prev = nullptr;
    QAction* m_pages = nullptr;
    CPrintInfo m_info;
};
