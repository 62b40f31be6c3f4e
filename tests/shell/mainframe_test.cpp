#include "harness/LogCapture.h"
#include "harness/QtApp.h"
#include "harness/TestDir.h"

#include "MainFrame.h"
#include "ozmlogic/OzmLogic.h"

#include <QIcon>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using harness::QtTest;

TEST(MainFramePlacement, QuarterOfTheFreeRoomOrTheCorner) {
    const QSize window(1336, 760);
    EXPECT_EQ(MainFrame::initialPosition(QRect(0, 0, 1920, 1040), window), QPoint(146, 70));
    EXPECT_EQ(MainFrame::initialPosition(QRect(0, 0, 1336, 1040), window), QPoint(0, 0)) << "not wider";
    EXPECT_EQ(MainFrame::initialPosition(QRect(0, 0, 1280, 1024), window), QPoint(0, 0)) << "narrow screen";
    // A low screen: the vertical offset is negative, truncated toward zero.
    EXPECT_EQ(MainFrame::initialPosition(QRect(0, 0, 1440, 700), window), QPoint(26, -15));
    EXPECT_EQ(MainFrame::initialPosition(QRect(0, 0, 1339, 757), window), QPoint(0, 0));
}

class MainFrameTest : public QtTest {
protected:
    void SetUp() override {
        QtTest::SetUp();
        ASSERT_TRUE(OzmLogic::instance()->init(harness::qtApp()));
    }
    harness::TestDir dir;
};

TEST_F(MainFrameTest, ConstructionSizeNameStyleAndIcon) {
    MainFrame frame;
    EXPECT_EQ(frame.size(), QSize(1336, 760));
    EXPECT_EQ(frame.minimumSize(), frame.maximumSize());
    EXPECT_EQ(frame.objectName(), "mainFrame");
    EXPECT_TRUE(frame.isMySizingEnabled());
    EXPECT_TRUE(frame.styleSheet().contains("#commonBtn")) << "the skin's sheet is applied";
    EXPECT_FALSE(frame.windowIcon().isNull());
    EXPECT_TRUE(frame.windowFlags().testFlag(Qt::FramelessWindowHint));
    ASSERT_NE(frame.checkTimer(), nullptr);
    ASSERT_NE(frame.checkFtTimer(), nullptr);
    EXPECT_FALSE(frame.checkTimer()->isActive()) << "started by the operations that need it";
}

TEST_F(MainFrameTest, InitTwiceKeepsTheTimersAndShutDownIsRepeatable) {
    MainFrame frame;
    QTimer* check = frame.checkTimer();
    QTimer* ft = frame.checkFtTimer();
    frame.initModules();
    EXPECT_EQ(frame.checkTimer(), check);
    EXPECT_EQ(frame.checkFtTimer(), ft);

    frame.show();
    frame.close(); // closeEvent shuts the modules down
    EXPECT_EQ(frame.checkTimer(), nullptr);
    EXPECT_EQ(frame.checkFtTimer(), nullptr);
    EXPECT_FALSE(OzmLogic::instance()->isInitialized());
    frame.uninitModules(); // the destructor runs it again as well
}

class Probe : public IClientUiElement {
public:
    void setNotify(const OZM::_NOTIFY_PARAM*) override {}
};

TEST_F(MainFrameTest, NotificationCallbackIsRegisteredUntilShutDown) {
    static int otherCalls = 0;
    otherCalls = 0;
    IClientUiElement::setNotifyCallBack(
        [](const OZM::_NOTIFY_PARAM*, void*) {
            ++otherCalls;
            return 0;
        },
        nullptr);
    Probe probe;
    OZM::_NOTIFY_PARAM param;
    param.type = 6;
    {
        MainFrame frame; // registers its own callback, replacing ours
        probe.notify(&param);
        EXPECT_EQ(otherCalls, 0);
        frame.uninitModules();
        probe.notify(&param);
        EXPECT_EQ(otherCalls, 0) << "cleared, not restored";
    }
}

TEST_F(MainFrameTest, KeyPressHasNoEffect) {
    MainFrame frame;
    frame.show();
    const QPoint pos = frame.pos();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &escape);
    QKeyEvent f4(QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    QCoreApplication::sendEvent(&frame, &f4);
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.pos(), pos);
}

TEST_F(MainFrameTest, WindowBaseDragsByItsTopStripAndMinimises) {
    MainFrame frame;
    frame.move(100, 100);
    frame.show();
    const QPoint before = frame.pos();
    WindowBase::myDragMove(&frame, QPoint(40, 50));
    EXPECT_EQ(frame.pos(), QPoint(40, 50));
    frame.myDragMove(before);
    EXPECT_EQ(frame.pos(), before);
    frame.setWindowState(Qt::WindowFullScreen);
    EXPECT_TRUE(frame.isFullScreen());
    frame.myDragMove(QPoint(1, 1));
    EXPECT_EQ(frame.pos(), before) << "no dragging while full-screen";
    frame.setWindowState(Qt::WindowNoState);
    frame.myShowMin();
    EXPECT_TRUE(frame.windowState().testFlag(Qt::WindowMinimized));
}

} // namespace
