// The main window's parameter dialog.
#include "MainFrame.h"

#include "OtherParamConfigDlg.h"

void MainFrame::onConfigureOtherParameters() {
    OtherParamConfigDlg dialog(this);
    dialog.setTitleText(tr("Other Settings"));
    dialog.exec();
}
