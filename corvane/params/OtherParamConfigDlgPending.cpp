// Pages 5-14 until their content lands: each builder makes the empty page frame with its enable
// check box, each saver has nothing to store and never stops the save sequence. A page's own
// file replaces its functions here.
#include "OtherParamConfigDlg.h"

void OtherParamConfigDlg::createVideoPage() {
    createPageFrame(OZM::FamilyVideo);
}

void OtherParamConfigDlg::createOsdPage() {
    createPageFrame(OZM::FamilyOsd);
}

void OtherParamConfigDlg::createImagePage() {
    createPageFrame(OZM::FamilyImage, "imgSetWidget");
}

void OtherParamConfigDlg::createPrivacyMaskPage() {
    createPageFrame(OZM::FamilyPrivacyMask);
}

void OtherParamConfigDlg::createMotionDetectPage() {
    createPageFrame(OZM::FamilyMotionDetect);
}

void OtherParamConfigDlg::connectLaterPages() {}
void OtherParamConfigDlg::loadPrivacyEditor() {}
void OtherParamConfigDlg::showPrivacyEditor(bool) {}

bool OtherParamConfigDlg::savePrivacyMaskInfo() {
    return true;
}

bool OtherParamConfigDlg::saveMotionDetectInfo() {
    return true;
}

void OtherParamConfigDlg::saveVideoInfo() {}
void OtherParamConfigDlg::saveOsdInfo() {}
void OtherParamConfigDlg::saveImageInfo() {}
