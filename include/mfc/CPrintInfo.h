// The state of one print job or print preview, handed to the view for every page.
#pragma once

#include "mfc/MfcTypes.h"

class QPrinter;

class CPrintInfo {
public:
    // A last page of 0xFFFF means "not known yet": only page 1 is printed unless the view sets it.
    static constexpr UINT kUnknownMaxPage = 0xFFFF;

    void SetMinPage(UINT page) { m_minPage = page; }
    void SetMaxPage(UINT page) { m_maxPage = page; }
    UINT GetMinPage() const { return m_minPage; }
    UINT GetMaxPage() const { return m_maxPage; }

    UINT m_nCurPage = 1;
    BOOL m_bPreview = FALSE;
    BOOL m_bDirect = FALSE;
    BOOL m_bContinuePrinting = TRUE;
    QPrinter* m_pPrinter = nullptr; // the job's printer, set by the print preparation
    UINT m_nPagesPrinted = 0;

private:
    UINT m_minPage = 1;
    UINT m_maxPage = kUnknownMaxPage;
};
