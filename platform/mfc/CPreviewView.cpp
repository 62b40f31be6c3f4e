#include "mfc/CPreviewView.h"

#include "mfc/CFrameWnd.h"
#include "mfc/CWinApp.h"

#include <QAction>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

CPreviewView::CPreviewView(QWidget* parent) : CView(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("previewToolBar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(m_toolBar);
    m_info.m_bPreview = TRUE;
}

CPreviewView::~CPreviewView() = default;

void CPreviewView::setPreviewState(std::unique_ptr<CPrintPreviewState> state) {
    m_pPreviewState = std::move(state);
}

std::unique_ptr<CPrintPreviewState> CPreviewView::takePreviewState() {
    return std::move(m_pPreviewState);
}

BOOL CPreviewView::SetPrintView(CView* printView) {
    if (!printView)
        return FALSE;
    m_pPrintView = printView;
    m_info = CPrintInfo();
    m_info.m_bPreview = TRUE;
    if (!printView->OnPreparePrinting(&m_info) || !m_info.m_pPrinter)
        return FALSE;

    m_preview = new QPrintPreviewWidget(m_info.m_pPrinter, this);
    m_preview->setObjectName(QStringLiteral("printPreview"));
    static_cast<QVBoxLayout*>(layout())->addWidget(m_preview, 1);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        CPrintInfo info;
        info.m_bPreview = TRUE;
        info.m_pPrinter = printer;
        if (m_pPrintView)
            m_pPrintView->printPages(printer, &info);
        m_info.SetMaxPage(info.GetMaxPage());
    });
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, [this] { updateButtons(); });

    QAction* print = m_toolBar->addAction(tr("Print..."));
    connect(print, &QAction::triggered, this, [this] { OnCmdMsg(AFX_ID_PREVIEW_PRINT); });
    m_next = m_toolBar->addAction(tr("Next Page"));
    connect(m_next, &QAction::triggered, this, [this] {
        m_preview->setCurrentPage(m_preview->currentPage() + 1);
        updateButtons();
    });
    m_prev = m_toolBar->addAction(tr("Prev Page"));
    connect(m_prev, &QAction::triggered, this, [this] {
        m_preview->setCurrentPage(m_preview->currentPage() - 1);
        updateButtons();
    });
    m_pages = m_toolBar->addAction(tr("Two Page"));
    connect(m_pages, &QAction::triggered, this, [this] {
        if (m_preview->viewMode() == QPrintPreviewWidget::SinglePageView) {
            m_preview->setViewMode(QPrintPreviewWidget::FacingPagesView);
            m_pages->setText(tr("One Page"));
        } else {
            m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
            m_pages->setText(tr("Two Page"));
        }
    });
    QAction* zoomIn = m_toolBar->addAction(tr("Zoom In"));
    connect(zoomIn, &QAction::triggered, this, [this] { m_preview->zoomIn(); });
    QAction* zoomOut = m_toolBar->addAction(tr("Zoom Out"));
    connect(zoomOut, &QAction::triggered, this, [this] { m_preview->zoomOut(); });
    QAction* close = m_toolBar->addAction(tr("Close"));
    connect(close, &QAction::triggered, this, [this] { OnCmdMsg(AFX_ID_PREVIEW_CLOSE); });

    m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_preview->fitToWidth();
    m_preview->updatePreview();
    updateButtons();
    return TRUE;
}

int CPreviewView::pageCount() const {
    return m_preview ? m_preview->pageCount() : 0;
}

int CPreviewView::currentPage() const {
    return m_preview ? m_preview->currentPage() : 0;
}

BOOL CPreviewView::OnCmdMsg(UINT id) {
    if (id == AFX_ID_PREVIEW_CLOSE) {
        OnPreviewClose();
        return TRUE;
    }
    if (id == AFX_ID_PREVIEW_PRINT) {
        OnPreviewPrint();
        return TRUE;
    }
    return FALSE;
}

void CPreviewView::OnPreviewClose() {
    OnEndPrintPreview();
    if (m_pPreviewState && m_pPreviewState->lpfnCloseProc) {
        auto proc = m_pPreviewState->lpfnCloseProc;
        proc(GetParentFrame());
    }
}

void CPreviewView::OnPreviewPrint() {
    CView* printView = m_pPrintView;
    OnPreviewClose();
    if (printView)
        printView->OnCmdMsg(ID_FILE_PRINT);
}

void CPreviewView::OnEndPrintPreview() {}

void CPreviewView::OnDraw(CDC*) {}

void CPreviewView::updateButtons() {
    if (!m_preview)
        return;
    m_next->setEnabled(m_preview->currentPage() < m_preview->pageCount());
    m_prev->setEnabled(m_preview->currentPage() > 1);
}
