// Pages 5-14 until their content lands: each builder makes the empty page frame with its enable
// check box, each saver has nothing to store and never stops the save sequence. A page's own
// file replaces its functions here.
#include "OtherParamConfigDlg.h"

void OtherParamConfigDlg::createAudioPage() {
    createPageFrame(OZM::FamilyAudio);
}

void OtherParamConfigDlg::createAccountPage() {
    createPageFrame(OZM::FamilyAccount);
}

void OtherParamConfigDlg::createTimePage() {
    createPageFrame(OZM::FamilyTime);
}

void OtherParamConfigDlg::createMaintainPage() {
    createPageFrame(OZM::FamilyMaintain);
}

void OtherParamConfigDlg::createAudioBoardPage() {
    createPageFrame(OZM::FamilyAudioBoard);
}

void OtherParamConfigDlg::connectLaterPages() {}
void OtherParamConfigDlg::loadMaintainInfo() {}
void OtherParamConfigDlg::connectLightBrightness() {}

void OtherParamConfigDlg::saveAudioInfo() {}

bool OtherParamConfigDlg::saveTimeInfo() {
    return true;
}

bool OtherParamConfigDlg::saveAccountInfo() {
    return true;
}

void OtherParamConfigDlg::saveMaintainInfo() {}
void OtherParamConfigDlg::saveAudioBoard() {}
