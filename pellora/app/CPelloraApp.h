// The label program's application object: runs the dialog; the program ends with it.
#pragma once

#include "mfc/CWinApp.h"

class CPelloraApp : public CWinApp {
public:
    CPelloraApp();
    BOOL InitInstance() override;
};
