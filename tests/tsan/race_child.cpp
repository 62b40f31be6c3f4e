// A worker thread and GUI-thread slots of RaceProbe, run under ThreadSanitizer by
// tsan_suppressions_test. "signal" and "call" write the probe's member from the worker and from
// onTick, which a queued signal or a queued call runs; "handover" passes data only through queued
// signals and queued calls.
#include <QApplication>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVector>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kRounds = 200;

class RaceProbe : public QObject {
    Q_OBJECT
public:
    int ticks = 0;
    std::atomic<bool> ticked{false};
    qint64 sum = 0;
    QStringList names;

signals:
    void tick();
    void delivered(const QVector<int>& values, const QString& name);

public slots:
    void onTick() {
        ++ticks;
        ticked.store(true, std::memory_order_relaxed);
    }
    void onDelivered(const QVector<int>& values, const QString& name) {
        for (int v : values) {
            sum += v;
        }
        names.append(name);
        finishIfDone();
    }
    void onCalled(const QString& name) {
        names.append(name);
        finishIfDone();
    }

private:
    void finishIfDone() {
        if (names.size() == 2 * kRounds) {
            QCoreApplication::quit();
        }
    }
};

} // namespace

int main(int argc, char* argv[]) {
    const char* mode = argc > 1 ? argv[1] : "";
    const bool bySignal = !std::strcmp(mode, "signal");
    const bool byCall = !std::strcmp(mode, "call");
    if (!bySignal && !byCall && std::strcmp(mode, "handover")) {
        std::fprintf(stderr, "usage: race_child signal|call|handover\n");
        return 2;
    }
    QApplication app(argc, argv);
    qRegisterMetaType<QVector<int>>();
    RaceProbe probe;
    QObject::connect(&probe, &RaceProbe::tick, &probe, &RaceProbe::onTick);
    QObject::connect(&probe, &RaceProbe::delivered, &probe, &RaceProbe::onDelivered);

    std::unique_ptr<QThread> worker;
    if (bySignal || byCall) {
        worker.reset(QThread::create([&probe, bySignal] {
            if (bySignal) {
                emit probe.tick();
            } else {
                QMetaObject::invokeMethod(
                    &probe, [&probe] { probe.onTick(); }, Qt::QueuedConnection);
            }
            // The relaxed flag tells that onTick ran but orders nothing: this write races onTick's.
            while (!probe.ticked.load(std::memory_order_relaxed)) {
                QThread::msleep(1);
            }
            ++probe.ticks;
        }));
        QObject::connect(worker.get(), &QThread::finished, &app, &QCoreApplication::quit);
    } else {
        worker.reset(QThread::create([&probe] {
            for (int i = 0; i < kRounds; ++i) {
                QVector<int> values(16, i);
                emit probe.delivered(values, QString::number(i));
                const QString name = QStringLiteral("call %1").arg(i);
                QMetaObject::invokeMethod(
                    &probe, [&probe, name] { probe.onCalled(name); }, Qt::QueuedConnection);
            }
        }));
    }
    worker->start();
    app.exec();
    worker->wait();
    std::printf("ticks %d, sum %lld, names %d\n", probe.ticks, static_cast<long long>(probe.sum),
                static_cast<int>(probe.names.size()));
    return 0;
}

#include "race_child.moc"
