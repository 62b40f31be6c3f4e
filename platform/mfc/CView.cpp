#include "mfc/CView.h"

#include "mfc/CDC.h"
#include "mfc/CFrameWnd.h"
#include "mfc/CWinApp.h"

#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>

namespace {
mfc::PrintDialogHook& printHook() {
    static mfc::PrintDialogHook h;
    return h;
}
} // namespace

namespace mfc {
void setPrintDialogHook(PrintDialogHook hook) {
    printHook() = std::move(hook);
}
} // namespace mfc

CView::CView(QWidget* parent) : QWidget(parent) {}

CView::~CView() = default;

BOOL CView::OnCmdMsg(UINT id) {
    if (id == ID_FILE_PRINT) {
        OnFilePrint();
        return TRUE;
    }
    return FALSE;
}

BOOL CView::OnFilePrint() {
    CPrintInfo info;
    if (!OnPreparePrinting(&info) || !info.m_pPrinter)
        return FALSE;
    return printPages(info.m_pPrinter, &info);
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) {
    return DoPreparePrinting(pInfo);
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
    QPrinter* printer = AfxGetApp()->printer();
    pInfo->m_pPrinter = printer;
    if (pInfo->m_bPreview)
        return TRUE;
    if (printHook())
        return printHook()(printer) ? TRUE : FALSE;
    const QByteArray file = qgetenv("MFC_PRINT_TO_FILE");
    if (!file.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromLocal8Bit(file));
        return TRUE;
    }
    QPrintDialog dialog(printer, window());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    return dialog.exec() == QDialog::Accepted ? TRUE : FALSE;
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo) {
    if (pInfo && pInfo->GetMaxPage() == CPrintInfo::kUnknownMaxPage && pInfo->m_nCurPage > 1)
        pInfo->m_bContinuePrinting = FALSE;
}

void CView::OnPrint(CDC* pDC, CPrintInfo*) {
    OnDraw(pDC);
}

void CView::OnDraw(CDC*) {}

void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnActivateView(BOOL, CView*, CView*) {}

BOOL CView::printPages(QPrinter* printer, CPrintInfo* pInfo) {
    QPainter painter;
    if (!printer || !painter.begin(printer))
        return FALSE;
    CDC dc(&painter);
    OnBeginPrinting(&dc, pInfo);
    // A page range chosen in the print dialog limits the pages; the view may still end earlier.
    const bool ranged =
        !pInfo->m_bPreview && printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0;
    const UINT from = ranged ? static_cast<UINT>(printer->fromPage()) : pInfo->GetMinPage();
    const UINT to = ranged ? static_cast<UINT>(printer->toPage()) : 0;
    pInfo->m_nPagesPrinted = 0;
    for (pInfo->m_nCurPage = pInfo->GetMinPage(); pInfo->m_nCurPage <= pInfo->GetMaxPage();
         ++pInfo->m_nCurPage) {
        if (to != 0 && pInfo->m_nCurPage > to)
            break;
        pInfo->m_bContinuePrinting = TRUE;
        OnPrepareDC(&dc, pInfo);
        if (!pInfo->m_bContinuePrinting)
            break;
        if (pInfo->m_nCurPage < from) {
            // Skipped pages are still laid out by the view (it may set the last page there),
            // on no device.
            QPicture discarded;
            QPainter layout(&discarded);
            CDC layoutDc(&layout);
            OnPrint(&layoutDc, pInfo);
            continue;
        }
        if (pInfo->m_nPagesPrinted > 0)
            printer->newPage();
        painter.save();
        OnPrint(&dc, pInfo);
        painter.restore();
        ++pInfo->m_nPagesPrinted;
    }
    OnEndPrinting(&dc, pInfo);
    painter.end();
    return TRUE;
}

CFrameWnd* CView::GetParentFrame() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<CFrameWnd*>(w))
            return frame;
    }
    return nullptr;
}
