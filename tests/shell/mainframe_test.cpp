#include "harness/LogCapture.h"
#include "harness/QtApp.h"
#include "harness/TestDir.h"

#include "MainFrame.h"
#include "ozmlogic/OzmLogic.h"

#include "tarsel/SwitchControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

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

// Every control the skin styles looks different when disabled, and every one that takes
// keyboard focus looks different when it has it (a button's caption keeping its room): list
// boxes, check boxes, buttons, edits, labels and the switches.
TEST_F(MainFrameTest, SkinShowsDisabledAndFocusedControls) {
    ASSERT_TRUE(QFile::exists("./skin/client/default/MainFrame/checkbox.png"))
        << "the skin's images are here";
    QString sheet;
    {
        MainFrame frame;
        sheet = frame.styleSheet();
    }
    QWidget host;
    host.setObjectName("mainFrame");
    host.setStyleSheet(sheet);
    host.resize(400, 300);
    host.show();
    QApplication::setActiveWindow(&host);
    ASSERT_TRUE(harness::waitFor([&] { return host.isActiveWindow(); }, 5000))
        << "waited for the window to be active";

    // The image-only parts of the title strip and the picture frames are never disabled.
    const QStringList skipped = {"versionBtn", "minBtn",    "maxNormalBtn", "closeButton",
                                 "titleLogo",  "titleName", "tipIcon",      "imageLabel"};
    QRegularExpression selector(
        "\\b(QPushButton|QComboBox|QLineEdit|QCheckBox|QRadioButton|QLabel|QGroupBox|QTableView)#(\\w+)");
    QSet<QString> seen;
    std::vector<std::unique_ptr<QWidget>> controls;
    for (auto it = selector.globalMatch(sheet); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString key = m.captured(1) + "#" + m.captured(2);
        if (skipped.contains(m.captured(2)) || seen.contains(key))
            continue;
        seen.insert(key);
        const QString type = m.captured(1);
        auto add = [&](QWidget* w, const QString& what) {
            w->setObjectName(m.captured(2));
            w->setAccessibleName(what);
            w->setParent(&host);
            w->setGeometry(10, 10, 160, 32);
            controls.emplace_back(w);
        };
        if (type == "QPushButton") {
            add(new QPushButton("Save"), key);
        } else if (type == "QComboBox") {
            auto* combo = new QComboBox;
            combo->addItems({"G711A", "Mic"});
            add(combo, key);
        } else if (type == "QLineEdit") {
            add(new QLineEdit("192.168.1.10"), key);
        } else if (type == "QCheckBox") {
            add(new QCheckBox("Auto Gain"), key + " unchecked");
            auto* checked = new QCheckBox("Auto Gain");
            checked->setChecked(true);
            add(checked, key + " checked");
        } else if (type == "QRadioButton") {
            add(new QRadioButton("Manual"), key + " unchecked");
            auto* checked = new QRadioButton("Manual");
            checked->setAutoExclusive(false);
            checked->setChecked(true);
            add(checked, key + " checked");
        } else if (type == "QGroupBox") {
            add(new QGroupBox("Operation"), key);
        } else if (type == "QTableView") {
            auto* view = new QTableWidget(2, 2);
            view->setItem(0, 0, new QTableWidgetItem("127.0.0.11"));
            add(view, key);
        } else {
            add(new QLabel("Sensitivity"), key);
        }
    }
    for (const char* must : {"QComboBox#comboBox", "QComboBox#lwComboBox", "QComboBox#timeComboBox",
                             "QCheckBox#checkBox", "QPushButton#commonBtn"})
        EXPECT_TRUE(seen.contains(must)) << must << " is styled";
    auto sw = std::make_unique<SwitchControl>(28, 16);
    sw->setParent(&host);
    sw->move(10, 10);
    sw->setAccessibleName("SwitchControl");
    controls.push_back(std::move(sw));

    for (const auto& control : controls) {
        QWidget* w = control.get();
        const std::string what = w->accessibleName().toStdString();
        for (const auto& other : controls)
            other->setVisible(other.get() == w);
        w->setEnabled(true);
        w->clearFocus();
        const QImage enabled = w->grab().toImage();
        w->setEnabled(false);
        EXPECT_NE(w->grab().toImage(), enabled) << what << ": disabled looks like enabled";
        w->setEnabled(true);
        if (qobject_cast<QGroupBox*>(w) || qobject_cast<QAbstractItemView*>(w)) {
            // Frames and the table show their focus through their items, not the skin.
        } else if (w->focusPolicy() & Qt::TabFocus && !qobject_cast<QLabel*>(w)) {
            w->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(w->hasFocus()) << what;
            EXPECT_NE(w->grab().toImage(), enabled) << what << ": focused looks like unfocused";
            w->clearFocus();
            if (auto* button = qobject_cast<QAbstractButton*>(w)) {
                const QStyle::SubElement contents =
                    qobject_cast<QPushButton*>(w) ? QStyle::SE_PushButtonContents
                    : qobject_cast<QCheckBox*>(w) ? QStyle::SE_CheckBoxContents
                                                  : QStyle::SE_RadioButtonContents;
                QStyleOptionButton option;
                option.initFrom(button);
                option.text = button->text();
                const QRect unfocused = w->style()->subElementRect(contents, &option, w);
                option.state |= QStyle::State_HasFocus;
                const QRect focused = w->style()->subElementRect(contents, &option, w);
                EXPECT_EQ(focused.width(), unfocused.width())
                    << what << ": the focus look narrows the caption";
                EXPECT_GE(focused.height(), w->fontMetrics().height())
                    << what << ": the focus look cuts the caption";
            }
        } else {
            EXPECT_TRUE(qobject_cast<QLabel*>(w)) << what << " takes no keyboard focus: " << w->focusPolicy();
        }
    }
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
