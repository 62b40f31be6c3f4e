// Saves PNGs of the image page (accordion, section "Day And Night Conversion" open), the motion
// detection page (both tabs), the time page and the privacy rectangle editor with three
// rectangles drawn, each as a standalone window, into the folder given as the first argument.
#include "LockerButton.h"
#include "LockerWidget.h"
#include "MotionDetectSetWidget.h"
#include "PlayWidget.h"
#include "TimeSetWidget.h"
#include "WidgetShots.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"
#include "ozmlogic/SkinMgr.h"

#include <QApplication>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>
#include <cstring>

namespace {

using widgetshots::drag;
using widgetshots::Grab;
using widgetshots::saveWindow;

// A page on a white window with the skin's style sheet, as the dialog shows it.
QWidget* framed(QWidget* page, const QString& qss) {
    auto* window = new QWidget;
    window->setStyleSheet(qss);
    window->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(16, 10, 16, 16);
    page->setParent(window);
    layout->addWidget(page);
    return window;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString folder = widgetshots::outputFolder(argc, argv);
    if (!OzmLogic::instance()->init(&app))
        return 1;
    QString qss;
    ozmSkinMgr()->getQss(qss);

    OZM::_SC_IMAGE_DATA_ image;
    std::memset(&image, 0, sizeof image);
    image.luminance = image.contrast = image.saturation = image.sharpness = 128;
    image.sensitivity = 4;
    image.filterTime = 5;
    image.lightMode = 1;
    image.lightBrightness = 60;
    ozmParamsMgr()->setImageInfo(&image);
    OZM::_SC_ALARM_DATA_ alarm;
    std::memset(&alarm, 0, sizeof alarm);
    alarm.enable = 1;
    alarm.sensitivity = 6;
    for (int r = 4; r < 12; ++r)
        alarm.area[r] = 0x0FF00u;
    for (int d = 1; d < 6; ++d) {
        alarm.schedule[d][0] = {8, 0, 0, 0, 12, 0, 0, 0};
        alarm.schedule[d][1] = {13, 30, 0, 0, 18, 0, 0, 0};
    }
    alarm.schedule[6][0] = {0, 0, 0, 0, 23, 59, 59, 0};
    ozmParamsMgr()->setAlarmInfo(&alarm);
    OZM::_SC_SETTIME_DATA_ time;
    std::memset(&time, 0, sizeof time);
    time.timeZone = 40;
    time.ntpInterval = 60;
    time.summerTime = 1;
    time.summerStartMonth = 2;
    time.summerStartWeek = 4;
    time.summerEndMonth = 9;
    time.summerEndWeek = 4;
    time.summerOffset = 1;
    std::strcpy(time.ntpServer, "pool.ntp.org");
    ozmParamsMgr()->setTimeInfo(&time);

    bool ok = true;
    auto* locker = new LockerWidget;
    QWidget* imageWindow = framed(locker, qss);
    ok &= saveWindow(imageWindow, folder + "/page08_image.png", 300, Grab::Widget);
    locker->header(3)->click();
    ok &= saveWindow(imageWindow, folder + "/page08_image_day_night.png", 300, Grab::Widget);

    auto* motion = new MotionDetectSetWidget;
    QWidget* motionWindow = framed(motion, qss);
    ok &= saveWindow(motionWindow, folder + "/page10_motion_arming.png", 300, Grab::Widget);
    motion->regionButton()->click();
    ok &= saveWindow(motionWindow, folder + "/page10_motion_region.png", 300, Grab::Widget);

    auto* timePage = new TimeSetWidget;
    QWidget* timeWindow = framed(timePage, qss);
    ok &= saveWindow(timeWindow, folder + "/page12_time.png", 300, Grab::Widget);

    auto* privacy = new PlayWidget;
    privacy->setStyleSheet("QFrame{background:#20242B;}");
    QWidget* privacyWindow = framed(privacy, qss);
    privacyWindow->show();
    widgetshots::pump(100);
    drag(privacy, QPoint(30, 20), QPoint(150, 110));
    drag(privacy, QPoint(400, 40), QPoint(250, 160));
    drag(privacy, QPoint(60, 200), QPoint(700, 400));
    ok &= saveWindow(privacyWindow, folder + "/privacy_editor.png", 300, Grab::Widget);

    delete imageWindow;
    delete motionWindow;
    delete timeWindow;
    delete privacyWindow;
    OzmLogic::instance()->unInit();
    return ok ? 0 : 1;
}
