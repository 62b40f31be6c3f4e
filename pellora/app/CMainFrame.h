// The frame that printing and print preview need: made on demand, in preview or direct-print
// mode, holding the print view whose pages the dialog's page callback draws.
#pragma once

#include "mfc/CFrameWnd.h"

#include <QPointer>

class CDC;
#include "mfc/CDialogEx.h"
class CPrintInfo;
class CWrapperView;

using PageCallback = void (*)(CDC* pDC, CPrintInfo* pInfo, void* data);

class CMainFrame : public CFrameWnd {
    Q_OBJECT
public:
    static constexpr int kPreviewMode = 0;
    static constexpr int kDirectPrintMode = 1;

    // Direct-print mode prints (through the print dialog) before the constructor returns and then
    // destroys the frame; preview mode starts the preview and hides the dialog.
    CMainFrame(CDialogEx* dialog, void* callbackData, int mode);
    // Shows the dialog again while it still runs.
    ~CMainFrame() override;

    BOOL OnCmdMsg(UINT id) override;
    int OnCreate() override;

    // Runs the page callback for one page.
    void runPageCallback(CDC* pDC, CPrintInfo* pInfo);

    int mode() const { return m_nMode; }
    CDialogEx* dialog() const { return m_pDialog; }
    CWrapperView* printView() const { return m_pView; }

    // Makes the dialog the main window again and destroys the frame.
    void returnToDialog();

private:
    QPointer<CDialogEx> m_pDialog;
    void* m_pCallbackData;
    PageCallback m_pfnCallback;
    int m_nMode;
    CWrapperView* m_pView = nullptr;
};
