#include "SimPictures.h"

#include "SimVideoWidget.h"

#include <QApplication>
#include <QPointer>
#include <QThread>

#include <functional>
#include <map>

namespace {

// GUI thread only.
std::map<int, QPointer<SimVideoWidget>>& pictures() {
    static std::map<int, QPointer<SimVideoWidget>> map;
    return map;
}

void onGui(std::function<void()> fn) {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app)
        return;
    if (QThread::currentThread() == app->thread())
        fn();
    else
        QMetaObject::invokeMethod(app, std::move(fn), Qt::QueuedConnection);
}

void dropPicture(int stream) {
    auto it = pictures().find(stream);
    if (it == pictures().end())
        return;
    if (it->second)
        delete it->second.data();
    pictures().erase(it);
}

} // namespace

void SimPictures::show(int stream, unsigned int window, const QString& address, int streamNo) {
    onGui([=] {
        dropPicture(stream);
        if (window == 0)
            return;
        QWidget* target = QWidget::find(static_cast<WId>(window));
        if (!target)
            return;
        pictures()[stream] = new SimVideoWidget(target, address, streamNo);
    });
}

void SimPictures::remove(const std::vector<int>& streams) {
    if (streams.empty())
        return;
    onGui([=] {
        for (int s : streams)
            dropPicture(s);
    });
}

void SimPictures::removeAll() {
    onGui([] {
        while (!pictures().empty())
            dropPicture(pictures().begin()->first);
    });
}

int SimPictures::count() {
    int n = 0;
    for (const auto& entry : pictures()) {
        if (entry.second)
            ++n;
    }
    return n;
}
