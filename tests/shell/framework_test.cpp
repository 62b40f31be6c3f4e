#include "harness/LogCapture.h"
#include "harness/QtApp.h"
#include "harness/TestDir.h"

#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/SkinMgr.h"
#include "ozmlogic/TcQrencode.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

using harness::QtTest;

class Framework : public QtTest {};

TEST_F(Framework, InitMakesTheConfigFolderAndUnInitIsRepeatable) {
    harness::TestDir dir;
    const QString config = dir.file("nested/config");
    dir.setEnv("CORVANE_CONFIG_DIR", QFile::encodeName(config));
    OzmLogic* logic = OzmLogic::instance();
    EXPECT_EQ(logic, OzmLogic::instance());
    ASSERT_TRUE(logic->init(harness::qtApp()));
    EXPECT_TRUE(QDir(config).exists());
    EXPECT_TRUE(logic->isInitialized());
    logic->unInit();
    logic->unInit();
    EXPECT_FALSE(logic->isInitialized());
}

TEST_F(Framework, InitFailsWithLogLineWhenTheConfigFolderCannotBeMade) {
    harness::TestDir dir;
    QFile blocker(dir.file("plainfile"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    dir.setEnv("CORVANE_CONFIG_DIR", QFile::encodeName(dir.file("plainfile/config")));
    harness::LogCapture log;
    EXPECT_FALSE(OzmLogic::instance()->init(harness::qtApp()));
    EXPECT_TRUE(log.contains("[300]", "OzmLogic::init"));
    EXPECT_FALSE(OzmLogic::instance()->init(nullptr));
}

TEST_F(Framework, SizesAreDesignPixelsAndFontsAreSet) {
    QWidget w;
    OzmLogic::setMyFixedSize(&w, QSize(120, 30));
    EXPECT_EQ(w.minimumSize(), QSize(120, 30));
    EXPECT_EQ(w.maximumSize(), QSize(120, 30));
    OzmLogic::setMyFixedWidth(&w, 248);
    EXPECT_EQ(w.minimumWidth(), 248);
    EXPECT_EQ(w.maximumWidth(), 248);
    OzmLogic::setMyFixedHeight(&w, 760);
    EXPECT_EQ(w.maximumHeight(), 760);
    EXPECT_EQ(OzmLogic::getMyHeight(16), 16);

    QLabel regular, normal;
    OzmLogic::setMyFontRegular(&regular);
    OzmLogic::setMyFontNormal(&normal);
    EXPECT_GT(regular.font().pixelSize(), 0);
    EXPECT_GT(normal.font().pixelSize(), 0);
    OzmLogic::setMyFixedSize(nullptr, QSize(1, 1)); // ignored
}

TEST_F(Framework, TipNotifyShowsItsTextWithTheWidget) {
    QWidget parent;
    auto* hint = new QWidget(&parent);
    OzmLogic::tipNotify(hint, "Please enter 20 digits");
    OzmLogic::tipNotify(hint, "Please enter 18 digits"); // a second call replaces the text
    auto labels = hint->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.first()->text(), "Please enter 18 digits");
    hint->hide();
    parent.show();
    EXPECT_FALSE(labels.first()->isVisible());
    hint->show();
    EXPECT_TRUE(labels.first()->isVisible());
}

TEST_F(Framework, SkinPixmapsOfEveryNamedFileLoad) {
    // The tests run where the build put a copy of the skin.
    const std::vector<std::pair<const char*, const char*>> files = {
        {"MainFrame", "icon_warning.png"},
        {"MainFrame", "icon_notification_success.png"},
        {"MainFrame", "icon_close_black.png"},
        {"MainFrame", "aboutUs.png"},
        {"MainFrame", "button_vedio_right.png"},
        {"MainFrame", "icon_tree_more.png"},
        {"MainFrame", "icon_tree_less.png"},
        {"Management", "checkbox.png"},
        {"Management", "checkbox-checked.png"},
        {"Management", "tableview-row-bk.png"},
        {"Management", "indicator-up.png"},
        {"Management", "indicator-down.png"},
        {"Tarsel", "logo.png"},
    };
    for (const auto& [section, file] : files) {
        const QPixmap pixmap = ozmSkinMgr()->getPixmap(section, file, QSize(), -1, -1);
        EXPECT_FALSE(pixmap.isNull()) << section << "/" << file;
    }
    EXPECT_EQ(SkinMgr::skinPath("MainFrame", "icon_warning.png"),
              "./skin/client/default/MainFrame/icon_warning.png");
    const QPixmap scaled = ozmSkinMgr()->getPixmap("Tarsel", "logo.png", QSize(16, 16), -1, -1);
    EXPECT_EQ(scaled.size(), QSize(16, 16));
    harness::LogCapture log;
    EXPECT_TRUE(ozmSkinMgr()->getPixmap("MainFrame", "no_such_file.png").isNull());
    EXPECT_TRUE(log.contains("SkinMgr::getPixmap"));
}

TEST_F(Framework, StyleSheetStylesTheObjectNamesAndItsImagesExist) {
    QString qss;
    ASSERT_TRUE(ozmSkinMgr()->getQss(qss));
    for (const char* name :
         {"#commonBtn",    "#blackLabel", "#lightLabel",         "#groupBoxArea", "#tipIcon",
          "#LineEdit",     "#QTableView", "#networkCardTypeBox", "#titleLogo",    "#titleName",
          "#versionBtn",   "#minBtn",     "#maxNormalBtn",       "#closeButton",  "#pageSetFrame",
          "#subSetWidget", "#checkBox",   "#settingLabel",       "#comboBox",     "#settinglineEdit",
          "#comButton"}) {
        EXPECT_TRUE(qss.contains(name)) << name;
    }
    const QRegularExpression url("url\\(([^)]+)\\)");
    auto it = url.globalMatch(qss);
    int images = 0;
    while (it.hasNext()) {
        const QString path = it.next().captured(1);
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
        ++images;
    }
    EXPECT_GT(images, 5);

    const QString cwd = QDir::currentPath();
    {
        // Without a skin folder the sheet is not there and the text stays as it was.
        harness::TestDir bare;
        ASSERT_TRUE(QDir::setCurrent(bare.path()));
        QString untouched = "unchanged";
        EXPECT_FALSE(ozmSkinMgr()->getQss(untouched));
        EXPECT_EQ(untouched, "unchanged");
        QDir::setCurrent(cwd);

        // A test folder entered with the skin linked in.
        harness::TestDir entered;
        ASSERT_TRUE(entered.enter());
        EXPECT_EQ(QDir::currentPath(), QDir(entered.path()).canonicalPath());
        EXPECT_TRUE(ozmSkinMgr()->getQss(untouched));
        EXPECT_FALSE(ozmSkinMgr()->getPixmap("Tarsel", "logo.png").isNull());
    }
    EXPECT_EQ(QDir::currentPath(), cwd) << "the working directory comes back";
}

TEST_F(Framework, QrImageDecodesToTheText) {
    const QString text = "https://devices.invalid/home/account/device-qrcode?device_id=SN0123456789";
    const QImage image = TcQrencode::encodeImage(text, 12);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), image.height());
    EXPECT_EQ(image.width() % 12, 0);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255)); // quiet zone

    const QString zbar = QStandardPaths::findExecutable("zbarimg");
    if (zbar.isEmpty()) {
        GTEST_SKIP() << "zbarimg not installed";
    }
    harness::TestDir dir;
    const QString png = dir.file("qr.png");
    ASSERT_TRUE(image.save(png, "PNG"));
    QProcess proc;
    proc.start(zbar, {"--raw", "-q", png});
    ASSERT_TRUE(proc.waitForFinished(20000));
    EXPECT_EQ(QString::fromUtf8(proc.readAllStandardOutput()).trimmed(), text);

    // Module size below 1 counts as 1: version 1 has 21 modules, plus 4 of quiet zone each side.
    EXPECT_EQ(TcQrencode::encodeImage("x", 0).width(), 29);
}

} // namespace
