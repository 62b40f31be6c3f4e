#include "mfc/CFrameWnd.h"

#include "mfc/CPrintPreviewState.h"
#include "mfc/CView.h"

#include <QCloseEvent>
#include <QStackedWidget>

CFrameWnd::CFrameWnd(QWidget* parent) : QMainWindow(parent), m_panes(new QStackedWidget(this)) {
    setCentralWidget(m_panes);
}

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::Create(const QString& title, const CRect& rect) {
    setWindowTitle(title);
    setGeometry(rect.toQRect());
    return OnCreate() == 0 ? TRUE : FALSE;
}

int CFrameWnd::OnCreate() {
    return 0;
}

BOOL CFrameWnd::OnCmdMsg(UINT) {
    return FALSE;
}

void CFrameWnd::addPane(QWidget* pane) {
    if (m_panes->indexOf(pane) < 0)
        m_panes->addWidget(pane);
}

void CFrameWnd::showPane(QWidget* pane) {
    addPane(pane);
    m_panes->setCurrentWidget(pane);
}

void CFrameWnd::SetActiveView(CView* view) {
    CView* old = m_activeView;
    m_activeView = view;
    if (view && view != old)
        view->OnActivateView(TRUE, view, old);
}

void CFrameWnd::OnSetPreviewMode(BOOL preview, CPrintPreviewState* state) {
    m_previewState = preview ? state : nullptr;
}

void CFrameWnd::RecalcLayout() {
    if (m_activeView)
        showPane(m_activeView);
    m_panes->updateGeometry();
}

void CFrameWnd::closeEvent(QCloseEvent* event) {
    if (m_previewState && m_previewState->lpfnCloseProc) {
        // Closing the frame during the preview ends the preview as its Close button does.
        event->ignore();
        auto proc = m_previewState->lpfnCloseProc;
        proc(this);
        return;
    }
    QMainWindow::closeEvent(event);
}
