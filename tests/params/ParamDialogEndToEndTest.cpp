// The whole dialog: enable all fifteen families, edit one field on each page, save, reopen and
// find every value again.
//
// The video, OSD, image, privacy and motion pages are reached without the dialog's members
// (through their page frames and widget classes), so the test does not depend on how those pages
// keep their widgets.
#include "ParamDialogPageEdits.h"
#include "ParamDialogTestSupport.h"

using namespace paramtest;

TEST_F(ParamDialogTest, EveryPageSavesAndReopensWithItsValue) {
    OZM::_SC_SETTIME_DATA_ time{};
    time.ntpInterval = 60;
    ozmParamsMgr()->setTimeInfo(&time);
    ASSERT_NO_FATAL_FAILURE(editSaveAndReopenEveryPage());
}
