// Pages 5-14 until their content lands: each builder makes the empty page frame with its enable
// check box, each saver has nothing to store and never stops the save sequence. A page's own
// file replaces its functions here.
#include "OtherParamConfigDlg.h"

void OtherParamConfigDlg::connectLaterPages() {}
