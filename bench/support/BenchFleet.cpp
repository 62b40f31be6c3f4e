#include "BenchFleet.h"

#include "DeviceManager.h"
#include "camsim/SimControl.h"

#include <QApplication>
#include <QDir>
#include <QThread>

#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace benchfleet {

void prepareEnvironment(const QTemporaryDir& config) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("CORVANE_CONFIG_DIR", config.path().toUtf8());
}

void useSimPing() {
    qputenv("PATH", QDir(QCoreApplication::applicationDirPath()).filePath("simping").toUtf8() + ":" +
                        qgetenv("PATH"));
}

QVector<QStringList> loginFleet(DeviceManager& engine) {
    QVector<QStringList> rows;
    for (const camsim::CameraProfile& camera : camsim::fleet()) {
        DSC_SEARCH_RESPONSE_INFO record;
        std::memset(&record, 0, sizeof record);
        std::snprintf(record.ip, sizeof record.ip, "%s", camera.ip.c_str());
        std::snprintf(record.mac, sizeof record.mac, "%s", camera.mac.c_str());
        std::snprintf(record.deviceType, sizeof record.deviceType, "%s", camera.deviceType.c_str());
        std::snprintf(record.user, sizeof record.user, "%s", camera.user.c_str());
        std::snprintf(record.password, sizeof record.password, "%s", camera.password.c_str());
        record.httpPort = static_cast<std::uint32_t>(camera.httpPort);
        engine.addSearchInfo(record.mac, &record);
        engine.addLoginTask(&record);
        QStringList row;
        for (int c = 0; c < 19; ++c)
            row << QString();
        row[1] = QString::fromStdString(camera.ip);
        row[8] = QString::fromStdString(camera.mac);
        rows << row;
    }
    return rows;
}

int loggedInCount(DeviceManager& engine, const QVector<QStringList>& rows) {
    int loggedIn = 0;
    for (const QStringList& row : rows) {
        const auto matching = engine.slotsForMac(row[8].toStdString());
        if (!matching.empty() && matching.front().loggedIn())
            ++loggedIn;
    }
    return loggedIn;
}

int waitForLogins(DeviceManager& engine, const QVector<QStringList>& rows, int wanted,
                  const QElapsedTimer& clock, qint64 limitMs, int pauseMs) {
    int loggedIn = 0;
    while (clock.elapsed() < limitMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        loggedIn = loggedInCount(engine, rows);
        if (loggedIn >= wanted)
            break;
        QThread::msleep(static_cast<unsigned long>(pauseMs));
    }
    return loggedIn;
}

namespace {

double seconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return seconds(usage);
}

double ownCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return seconds(usage);
}

} // namespace benchfleet
