// Pages 8 (image) and 10 (motion detection): the page widgets in their page frames.
#include "OtherParamConfigDlg.h"

#include "LockerWidget.h"
#include "MotionDetectSetWidget.h"

#include <QVBoxLayout>

void OtherParamConfigDlg::createImagePage() {
    QWidget* container = createPageFrame(OZM::FamilyImage, "imgSetWidget");
    _lockerWidget = new LockerWidget(this);
    auto* layout = new QVBoxLayout(container);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(_lockerWidget);
    layout->addStretch();
}

void OtherParamConfigDlg::saveImageInfo() {
    if (_lockerWidget)
        _lockerWidget->saveImageInfo();
}

void OtherParamConfigDlg::createMotionDetectPage() {
    QWidget* content = createPageFrame(OZM::FamilyMotionDetect);
    _motionWidget = new MotionDetectSetWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(_motionWidget);
    layout->addStretch();
}

// The widget is built with the page, so there is always one to save; without it nothing is
// stored and the save stops here, as at a page that fails.
bool OtherParamConfigDlg::saveMotionDetectInfo() {
    return _motionWidget ? _motionWidget->saveMotionDetect() : false;
}
