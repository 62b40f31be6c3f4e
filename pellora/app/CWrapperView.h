// The print view: hands every page to the frame's page callback; starts the print preview.
#pragma once

#include "mfc/CView.h"

class CMainFrame;
class CFrameWnd;

class CWrapperView : public CScrollView {
    Q_OBJECT
public:
    explicit CWrapperView(QWidget* parent = nullptr);
    ~CWrapperView() override;

    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    BOOL OnCmdMsg(UINT id) override;

    // The print command: print dialog and pages; in direct-print mode the frame is hidden
    // meanwhile and destroyed afterwards.
    void OnFilePrintCommand();
    // Starts the print preview in frame. FALSE when it could not be started.
    BOOL startPreview(CMainFrame* frame);
    // Ends the preview: the dialog becomes the main window again and the frame is destroyed.
    static void previewCloseProc(CFrameWnd* frame);

    CMainFrame* m_pFrame = nullptr;
};
