// The live-video test picture drawn into the window the caller hands over.
#include "SimTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QWidget>

using namespace simtest;

namespace {

void pump(int realMs) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < realMs)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

TEST_F(SimTest, PictureFollowsTheStream) {
    QWidget window;
    window.resize(320, 200);
    QWidget pane(&window);
    pane.setGeometry(0, 0, 320, 200);
    window.show();
    KVX_NET_Startup();
    MessageSink sink;
    KvxLoginInfo info = loginRecord(fleet[0], &sink);
    info.window = static_cast<std::uint32_t>(pane.winId());
    const int h = KVX_NET_Login(&info);
    ASSERT_GT(h, 0);
    const int stream =
        KVX_NET_ClientStart(h, &info, 0); // started before the login answer, as the previews do
    ASSERT_GT(stream, 0);
    EXPECT_EQ(camsim::pictureCount(), 1);
    QWidget* picture = pane.findChild<QWidget*>();
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(picture->geometry(), pane.rect());
    pump(250);
    const QImage image = pane.grab().toImage();
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));  // first colour bar
    EXPECT_EQ(image.pixelColor(315, 5), QColor(Qt::blue)); // last colour bar
    pane.resize(400, 300);
    EXPECT_EQ(picture->geometry(), pane.rect());
    EXPECT_NE(KVX_NET_ClientStop(stream), 0);
    EXPECT_EQ(camsim::pictureCount(), 0);
    EXPECT_EQ(pane.findChild<QWidget*>(), nullptr);

    info.window = 0;
    const int blind = KVX_NET_ClientStart(h, &info, 0); // window 0 is accepted, nothing drawn
    EXPECT_GT(blind, 0);
    EXPECT_EQ(camsim::pictureCount(), 0);
    EXPECT_EQ(KVX_NET_ClientSetWnd(blind, static_cast<unsigned>(pane.winId())), 1);
    EXPECT_EQ(camsim::pictureCount(), 1);
    KVX_NET_Logout(h); // logout removes the picture
    EXPECT_EQ(camsim::pictureCount(), 0);
    EXPECT_EQ(camsim::streamCount(), 0);
}

TEST_F(SimTest, PictureFromAnotherThreadAndCleanup) {
    QWidget pane;
    pane.resize(200, 120);
    pane.show();
    KVX_NET_Startup();
    MessageSink sink;
    const int h = loginLive(0, sink);
    KvxLoginInfo info = loginRecord(fleet[0], &sink);
    info.window = static_cast<std::uint32_t>(pane.winId());
    int stream = -1;
    std::thread worker([&] { stream = KVX_NET_ClientStart(h, &info, 0); });
    worker.join();
    ASSERT_GT(stream, 0);
    pump(20);
    EXPECT_EQ(camsim::pictureCount(), 1);
    KVX_NET_Cleanup();
    EXPECT_EQ(camsim::pictureCount(), 0);
}

TEST_F(SimTest, StreamOfAFailedLoginIsRefused) {
    KVX_NET_Startup();
    MessageSink sink;
    KvxLoginInfo info = loginRecord(fleet[0], &sink);
    std::snprintf(info.password, sizeof info.password, "bad");
    const int h = KVX_NET_Login(&info);
    ASSERT_TRUE(sink.waitMessage(h, KVX_MSG_LOGIN_FAILED));
    EXPECT_EQ(KVX_NET_ClientStart(h, &info, 0), -1);
    EXPECT_EQ(KVX_NET_ClientStart(0, &info, 0), -1);
}
