// View: a frame's pane that draws and prints pages. The print command runs the print dialog
// and then one OnPrint per page; the print preview runs the same page loop on its own device.
#pragma once

#include "mfc/CPrintInfo.h"
#include "mfc/MfcTypes.h"

#include <QWidget>
#include <functional>

class CDC;
class CFrameWnd;
class QPrinter;

class CView : public QWidget {
    Q_OBJECT
public:
    explicit CView(QWidget* parent = nullptr);
    ~CView() override;

    // Command routing: TRUE when the view handled the command (ID_FILE_PRINT).
    virtual BOOL OnCmdMsg(UINT id);

    // The print command: OnPreparePrinting (the print dialog), then the pages. TRUE when printed.
    BOOL OnFilePrint();

    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Default: stops after page 1 while the last page is not known.
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo);
    // Default: OnDraw.
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnDraw(CDC* pDC);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);

    // The page loop on printer; also used by the preview. FALSE when the printer cannot paint.
    BOOL printPages(QPrinter* printer, CPrintInfo* pInfo);

    CFrameWnd* GetParentFrame() const;

protected:
    // Shows the print dialog (or asks the hook, see mfc::setPrintDialogHook); in a preview it
    // only takes the application's printer. FALSE when the operator cancels.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
};

class CScrollView : public CView {
    Q_OBJECT
public:
    using CView::CView;
};

namespace mfc {

// While a hook is set the print dialog is not shown: the hook gets the printer to set up and
// returns false to cancel. Without a hook, the environment variable MFC_PRINT_TO_FILE (a PDF file
// name) also skips the dialog and prints to that file.
using PrintDialogHook = std::function<bool(QPrinter* printer)>;
void setPrintDialogHook(PrintDialogHook hook);

} // namespace mfc
