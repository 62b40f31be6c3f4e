#include "AboutUsDialog.h"
#include "SysConfigDialog.h"
#include "TitleBar.h"
#include "ViewQRcodeDialog.h"
#include "tarsel/WindowBase.h"
#include "ozmlogic/ParamsMgr.h"

#include "MainWindowTestSupport.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTextCodec>

#include <gtest/gtest.h>

namespace {

class SmallWindowsTest : public mwtest::MainWindowTest {};

TEST_F(SmallWindowsTest, SearchTimeValidatorKeepsOneAndClearsOthers) {
    ozmParamsMgr()->setSearchTime(7);
    SysConfigDialog dialog;
    EXPECT_EQ(dialog.searchTimeEdit()->text(), "7");
    EXPECT_TRUE(dialog.saveButton()->isEnabled());

    dialog.searchTimeEdit()->clear();
    EXPECT_FALSE(dialog.saveButton()->isEnabled());
    QTest::keyClicks(dialog.searchTimeEdit(), "1");
    EXPECT_EQ(dialog.searchTimeEdit()->text(), "1") << "1 may become 10";
    EXPECT_FALSE(dialog.saveButton()->isEnabled());
    QTest::keyClicks(dialog.searchTimeEdit(), "0");
    EXPECT_EQ(dialog.searchTimeEdit()->text(), "10");
    EXPECT_TRUE(dialog.saveButton()->isEnabled());

    dialog.searchTimeEdit()->clear();
    QTest::keyClicks(dialog.searchTimeEdit(), "3");
    EXPECT_EQ(dialog.searchTimeEdit()->text(), "");
    EXPECT_FALSE(dialog.saveButton()->isEnabled());
    QTest::keyClicks(dialog.searchTimeEdit(), "5");
    EXPECT_EQ(dialog.searchTimeEdit()->text(), "5");
    EXPECT_TRUE(dialog.saveButton()->isEnabled());

    dialog.onCheckSearchTime("0");
    EXPECT_FALSE(dialog.saveButton()->isEnabled());
    EXPECT_EQ(dialog.searchTimeEdit()->text(), "");
}

TEST_F(SmallWindowsTest, SaveWritesLanguageKeysAndSettings) {
    ozmParamsMgr()->setCurrentLanCode("zh_CN");
    ozmParamsMgr()->setSearchTime(5);
    {
        SysConfigDialog dialog;
        EXPECT_EQ(dialog.languageBox()->currentText(), "Chinese");
        dialog.languageBox()->setCurrentText("English");
        dialog.searchTimeEdit()->setText("9");
        dialog.show();
        dialog.saveButton()->click();
        EXPECT_FALSE(dialog.isVisible());
    }
    ASSERT_EQ(modalTexts().size(), 1);
    EXPECT_EQ(modalTexts().at(0), "Saved successfully");
    EXPECT_EQ(ozmParamsMgr()->getSearchTime(), 9);
    EXPECT_EQ(ozmParamsMgr()->currentLanCode(), "en_US");
    {
        QSettings ini(SysConfigDialog::pelloraIniPath(), QSettings::IniFormat);
        ini.setIniCodec(QTextCodec::codecForName("GBK"));
        EXPECT_EQ(ini.value("Langugae/Chinese").toString(), "0");
        EXPECT_EQ(ini.value("Langugae/English").toString(), "1");
    }

    SysConfigDialog again;
    EXPECT_EQ(again.languageBox()->currentText(), "English");
    again.languageBox()->setCurrentText("Chinese");
    again.saveButton()->click();
    EXPECT_EQ(ozmParamsMgr()->currentLanCode(), "zh_CN");
    QSettings ini(SysConfigDialog::pelloraIniPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("Langugae/Chinese").toString(), "1");
    EXPECT_EQ(ini.value("Langugae/English").toString(), "0");
}

TEST_F(SmallWindowsTest, SaveKeepsOtherSectionsOfTheIni) {
    {
        QSettings ini(SysConfigDialog::pelloraIniPath(), QSettings::IniFormat);
        ini.setValue("CHINESEPRODUCTINFO/SN", "SN-KEEP");
    }
    SysConfigDialog dialog;
    dialog.saveButton()->click();
    QSettings ini(SysConfigDialog::pelloraIniPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("CHINESEPRODUCTINFO/SN").toString(), "SN-KEEP");
}

TEST_F(SmallWindowsTest, AboutShowsVersionAndDragsOnlyFromTheTop) {
    AboutUsDialog about;
    EXPECT_EQ(about.size(), QSize(312, 146));
    EXPECT_EQ(about.windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    EXPECT_EQ(about.titleLabel()->text(), "About Us");
    EXPECT_EQ(about.versionLabel()->text(), "Version: " + ozmParamsMgr()->version());
    about.move(100, 100);
    about.show();

    QTest::mousePress(&about, Qt::LeftButton, Qt::NoModifier, QPoint(50, 41));
    EXPECT_FALSE(about.isDragging());
    QTest::mouseRelease(&about, Qt::LeftButton, Qt::NoModifier, QPoint(50, 41));
    QTest::mousePress(&about, Qt::RightButton, Qt::NoModifier, QPoint(50, 10));
    EXPECT_FALSE(about.isDragging());
    QTest::mouseRelease(&about, Qt::RightButton, Qt::NoModifier, QPoint(50, 10));

    QTest::mousePress(&about, Qt::LeftButton, Qt::NoModifier, QPoint(50, 40));
    EXPECT_TRUE(about.isDragging());
    const QPoint before = about.pos();
    QMouseEvent move(QEvent::MouseMove, QPoint(80, 60), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&about, &move);
    EXPECT_EQ(about.pos(), before + QPoint(30, 20)) << "the grabbed point stays under the cursor";
    QTest::mouseRelease(&about, Qt::RightButton, Qt::NoModifier, QPoint(80, 60));
    EXPECT_FALSE(about.isDragging()) << "any release ends a drag";
}

TEST_F(SmallWindowsTest, AboutCloseButtonEndsExec) {
    AboutUsDialog about;
    QTimer::singleShot(0, &about, [&about] { about.closeButton()->click(); });
    about.exec();
    EXPECT_FALSE(about.isVisible());
}

TEST_F(SmallWindowsTest, QrDialogLinkAndLayout) {
    EXPECT_TRUE(
        ViewQRcodeDialog::deviceLink("SN123").endsWith("/home/account/device-qrcode?device_id=SN123"));
    EXPECT_TRUE(ViewQRcodeDialog::deviceLink("SN123").startsWith("https://"));
    EXPECT_TRUE(ViewQRcodeDialog::deviceLink("").endsWith("device_id="));
    EXPECT_TRUE(ViewQRcodeDialog::deviceLink("A&B=C").endsWith("device_id=A%26B%3DC"));
    ViewQRcodeDialog dialog;
    EXPECT_EQ(dialog.size(), QSize(340, 400));
    EXPECT_TRUE(dialog.qrLabel()->hasScaledContents());
    EXPECT_EQ(dialog.qrLabel()->size(), QSize(240, 240));

    // White body under the title, inside the grey border; every label inside the window.
    const QImage shot = dialog.grab().toImage();
    for (const QPoint& at : {QPoint(20, 60), QPoint(320, 300), QPoint(170, 395), QPoint(5, 390)})
        EXPECT_EQ(shot.pixelColor(at), QColor("#FFFFFF")) << at.x() << "," << at.y();
    EXPECT_EQ(shot.pixelColor(0, 200), QColor("#ADADAD"));
    for (QLabel* label : {dialog.qrLabel(), dialog.serialLabel(), dialog.appLabel()}) {
        const QRect inWindow(label->mapTo(&dialog, QPoint(0, 0)), label->size());
        EXPECT_TRUE(QRect(1, 30, 338, 369).contains(inWindow)) << label->y();
    }
}

TEST_F(SmallWindowsTest, TitleBarButtons) {
    QWidget window;
    auto* bar = new TitleBar(&window);
    window.show();
    EXPECT_FALSE(bar->maxNormalButton()->isEnabled());
    EXPECT_EQ(bar->nameLabel()->text(), "IPC Corvane");
    const QRect geometry = window.geometry();
    QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(window.geometry(), geometry) << "double-click changes nothing";

    bar->versionButton()->click();
    ASSERT_EQ(modalTitles().size(), 1);
    EXPECT_EQ(modalTitles().at(0), "About Us");

    bar->closeButton()->click();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(SmallWindowsTest, TitleBarDragsAndMinimisesItsWindow) {
    WindowBase window;
    auto* bar = new TitleBar(&window);
    bar->setGeometry(0, 0, 600, 40);
    window.resize(600, 300);
    window.move(100, 100);
    window.show();
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    const QPoint start = window.pos();
    const QPoint grab(10, 10);
    auto send = [bar](QEvent::Type type, const QPoint& global, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
        QMouseEvent event(type, bar->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(bar, &event);
    };
    const QPoint pressGlobal = bar->mapToGlobal(grab);
    send(QEvent::MouseButtonPress, pressGlobal, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, pressGlobal + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
    send(QEvent::MouseButtonRelease, pressGlobal + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseMove, pressGlobal + QPoint(80, 80), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(window.pos(), start + QPoint(30, 20)) << "no drag after the release";

    bar->minButton()->click();
    EXPECT_TRUE(window.windowState().testFlag(Qt::WindowMinimized));
}

} // namespace
