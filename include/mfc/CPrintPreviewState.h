// What the print preview needs to end: the procedure that closes it and the view it replaced.
#pragma once

#include <functional>

class CFrameWnd;
class CView;

class CPrintPreviewState {
public:
    std::function<void(CFrameWnd*)> lpfnCloseProc;
    CView* pViewActiveOld = nullptr;
};
