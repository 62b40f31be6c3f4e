// MainFrame: the fixture session and the audio and GPIO tests through the test fixture.
#include "MainFrame.h"

#include "DeviceTableRow.h"
#include "FixtureReaders.h"
#include "NetInfoBatch.h"
#include "dialogs/ProgressBarDialog.h"
#include "dialogs/ShowResultDialog.h"
#include "dialogs/ShowResultDlgEx.h"
#include "fields/FixedField.h"
#include "quillet/Quillet.h"
#include "tremix/Tremix.h"
#include "winport/WinPort.h"

#include <QByteArray>
#include <QDebug>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char* const kDefaultFixtureHost = "192.168.1.240";
constexpr int kDefaultFixturePort = 6800;
constexpr int kFtTimerMs = 2000;
// A row's request may first wait up to a request's wait (10 s) for the device's open question to
// close, then up to 10 s for its answer: the limit per row leaves room for both.
constexpr std::int64_t kSecondsPerDevice = 25;
constexpr std::int64_t kLimitCapSeconds = 120;

constexpr std::int32_t kKindGpio = 0;
constexpr std::int32_t kKindAudio = 1;
constexpr std::int32_t kWaiting = 4;
constexpr std::int32_t kGot = 5;
constexpr std::int32_t kNoResult = 6;
constexpr std::int32_t kTimedOut = 7;

// Copies a text of at most sourceSize bytes (it may lack a terminator) into a fixed field;
// always terminated.
template <std::size_t N> void copyBounded(char (&field)[N], const char* source, std::size_t sourceSize) {
    fixedfield::copyField(field, N, source, sourceSize);
}

template <std::size_t N> void copyBounded(char (&field)[N], const QByteArray& text) {
    copyBounded(field, text.constData(), static_cast<std::size_t>(text.size()));
}

template <std::size_t N> bool fieldEquals(const char (&field)[N], const char* text) {
    const std::size_t length = strnlen(field, N);
    return length == std::strlen(text) && std::memcmp(field, text, length) == 0;
}

// The fixture's endpoint: CORVANE_FIXTURE_HOST / CORVANE_FIXTURE_PORT, else the fixture's own.
FixtureLoginInfo fixtureLoginRecord(void* user) {
    FixtureLoginInfo info;
    std::memset(&info, 0, sizeof info);
    const QByteArray host = qEnvironmentVariableIsSet("CORVANE_FIXTURE_HOST")
                                ? qgetenv("CORVANE_FIXTURE_HOST")
                                : QByteArray(kDefaultFixtureHost);
    std::snprintf(info.host, sizeof info.host, "%s", host.constData());
    bool ok = false;
    const int port = qEnvironmentVariableIntValue("CORVANE_FIXTURE_PORT", &ok);
    info.port = ok && port > 0 && port <= 65535 ? port : kDefaultFixturePort;
    info.user = user;
    info.callback = &MainFrame::onFixtureEvent;
    return info;
}

std::int64_t programMs() {
    return static_cast<std::int64_t>(GetTickCount64());
}

} // namespace

// ---- Session ----

void MainFrame::loginFixTureTool() {
    PTQ_FT_Startup();
    PTQ_FT_SetWaitTime(2, -1, 2);
    // The readers use the session: none may run across its replacement. The logout wakes a
    // request they wait in.
    _fixtureReaders->endRun();
    if (const std::uint32_t previous = _fixTureLogin.exchange(0))
        PTQ_FT_Logout(static_cast<std::int32_t>(previous));
    _fixtureReaders->stop();
    const FixtureLoginInfo info = fixtureLoginRecord(this);
    const std::int32_t handle = PTQ_FT_Login(&info);
    _fixTureLogin.store(handle > 0 ? static_cast<std::uint32_t>(handle) : 0);
    if (handle <= 0)
        Qx_Write_Log(300, "MainFrame::loginFixTureTool", "PTQ_FT_Login failed _fixTureLogin:%d", handle);
    else
        Qx_Write_Log(600, "MainFrame::loginFixTureTool", "PTQ_FT_Login %s:%d _fixTureLogin:%d", info.host,
                     info.port, handle);
}

void MainFrame::logoutFixture() {
    // The logout wakes a request a reader waits in, so the readers are joined at once after it
    // and before the library is cleaned up.
    _fixtureReaders->endRun();
    if (const std::uint32_t handle = _fixTureLogin.exchange(0)) {
        PTQ_FT_Logout(static_cast<std::int32_t>(handle));
        Qx_Write_Log(600, "MainFrame::logoutFixture", "PTQ_FT_Logout _fixTureLogin:%u", handle);
    }
    _fixtureReaders->stop();
    PTQ_FT_Cleanup();
}

void MainFrame::loginFixtureHook() {
    loginFixTureTool();
}

void MainFrame::logoutFixtureHook() {
    logoutFixture();
    // A window going away mid-test takes the busy indicators with it.
    for (ProgressBarDialog** progress : {&_audioProgress, &_gpioProgress}) {
        if (*progress) {
            (*progress)->close(); // its owner deletes it when exec() returns
            *progress = nullptr;
        }
    }
}

void MainFrame::onFixtureEvent(std::int32_t, std::int32_t event, std::int32_t, void*) {
    switch (event) {
    case FIXTURE_EVENT_CONNECTED:
        qDebug().noquote() << "1";
        break;
    case FIXTURE_EVENT_LOST_RETRYING:
        qDebug().noquote() << "6";
        break;
    case FIXTURE_EVENT_LOST_GIVEN_UP:
        qDebug().noquote() << "2";
        break;
    default:
        break;
    }
}

std::vector<FixturePendingInfo> MainFrame::fixtureRecords() {
    std::lock_guard<std::mutex> lock(_pendingMutex);
    return _fixtureList;
}

// ---- Test start ----

void MainFrame::onAudioDetection() {
    startFixtureTest(kKindAudio);
}

void MainFrame::onGPIOPortDetection() {
    startFixtureTest(kKindGpio);
}

void MainFrame::startFixtureTest(int kind) {
    const bool audio = kind == kKindAudio;
    const char* logName = audio ? "MainFrame::onAudioDetection" : "MainFrame::onGPIOPortDetection";
    if (_checkedRows.isEmpty()) {
        showTextInfo();
        return;
    }
    if (_checkFtTimer) {
        _checkFtTimer->stop();
        _ftTimerStartMs.store(programMs());
    }
    ProgressBarDialog*& progress = audio ? _audioProgress : _gpioProgress;
    if (progress) {
        progress->close(); // its owner deletes it when exec() returns
        progress = nullptr;
    }
    if (_fixTureLogin.load() == 0) {
        const FixtureLoginInfo info = fixtureLoginRecord(this);
        const std::int32_t handle = PTQ_FT_Login(&info);
        _fixTureLogin.store(handle > 0 ? static_cast<std::uint32_t>(handle) : 0);
        if (handle <= 0) {
            Qx_Write_Log(300, logName, "PTQ_FT_Login failed _fixTureLogin:%d", handle);
            return;
        }
    }
    // Readers of an earlier test, of either kind, add nothing to this one. One may still wait for
    // an answer (up to a request's wait): it finishes in the background, the GUI does not wait.
    const std::uint64_t run = _fixtureReaders->beginRun();

    // One waiting record per checked row, so that the sweep counts every row from the start.
    const QVector<QStringList> rows = _checkedRows;
    _netBatch->clearRecords();
    {
        std::lock_guard<std::mutex> lock(_pendingMutex);
        _fixtureList.clear();
        _rebootList.clear();
        const std::int32_t start = static_cast<std::int32_t>(_time64(nullptr));
        for (const QStringList& row : rows) {
            FixturePendingInfo record;
            std::memset(&record, 0, sizeof record);
            record.kind = kind;
            record.start = start;
            record.status = kWaiting;
            copyBounded(record.mac, row.value(DeviceColumn::Mac).toUtf8());
            copyBounded(record.ip, row.value(DeviceColumn::Ip).toUtf8());
            _fixtureList.push_back(record);
        }
    }
    _fixtureReaders->start(audio, [this, run, rows, audio] {
        if (audio)
            readAudioTestResult(run, rows);
        else
            readGpioTestResult(run, rows);
    });

    if (_checkFtTimer) {
        _ftTimerStartMs.store(programMs());
        _checkFtTimer->start(winport::timerInterval(kFtTimerMs));
    }
    // Owned here: the end of the test (which may come while it shows) only closes and forgets it.
    auto dialog = std::make_unique<ProgressBarDialog>();
    progress = dialog.get();
    progress->titleLabel->setText(audio ? tr("Audio Detecting....") : tr("GPIO Detecting...."));
    // Returns when the end of the test (or the window's end) has closed it.
    const QPointer<MainFrame> self(this);
    dialog->exec();
    if (self && progress == dialog.get())
        progress = nullptr;
}

// ---- Readers ----

void MainFrame::readAudioTestResult(std::uint64_t run, QVector<QStringList> rows) {
    readFixtureResults(kKindAudio, run, rows);
}

void MainFrame::readGpioTestResult(std::uint64_t run, QVector<QStringList> rows) {
    readFixtureResults(kKindGpio, run, rows);
}

void MainFrame::readFixtureResults(int kind, std::uint64_t run, const QVector<QStringList>& rows) {
    const std::uint32_t handle = _fixTureLogin.load();
    auto result = std::make_unique<FixtureTestResult>();
    for (int index = 0; index < rows.size(); ++index) {
        if (!_fixtureReaders->isCurrent(run))
            return; // the test has ended: a late answer goes nowhere
        const QByteArray mac = rows.at(index).value(DeviceColumn::Mac).toUtf8();
        std::memset(result.get(), 0, sizeof(FixtureTestResult));
        const bool got = handle != 0 && PTQ_FT_GetTestResult(static_cast<std::int32_t>(handle),
                                                             mac.constData(), result.get()) == 1;

        std::lock_guard<std::mutex> lock(_pendingMutex);
        if (!_fixtureReaders->isCurrent(run))
            return;
        if (index >= static_cast<int>(_fixtureList.size()))
            return;
        FixturePendingInfo& record = _fixtureList[static_cast<std::size_t>(index)];
        if (record.kind != kind || record.status != kWaiting)
            continue;
        if (kind == kKindAudio) {
            record.status = got ? kGot : kNoResult;
            if (got)
                copyBounded(record.audio, result->audio, sizeof result->audio);
            else
                copyBounded(record.audio, "NOGET", 6);
            continue;
        }
        if (!got) {
            record.status = kNoResult;
            record.gpioCount = 0;
            copyBounded(record.result, "NOGET", 6);
            continue;
        }
        record.status = kGot;
        // OK only for at least one item, each with a name and the status "OK"; anything else is
        // NG and the detail view shows what came.
        const int count = std::clamp<int>(result->gpioCount, 0, kFixtureGpioMax);
        record.gpioCount = count;
        bool allOk = count >= 1;
        for (int i = 0; i < count; ++i) {
            const FixtureGpioItem& item = result->gpio[i];
            FixtureGpioItem& target = record.gpio[i];
            copyBounded(target.name, item.name, sizeof item.name);
            copyBounded(target.function, item.function, sizeof item.function);
            copyBounded(target.status, item.status, sizeof item.status);
            allOk = allOk && target.name[0] != '\0' && fieldEquals(target.status, "OK");
        }
        copyBounded(record.result, allOk ? "OK" : "NG", 3);
    }
}

// ---- Sweep and end ----

void MainFrame::onCheckFtTimerSlot() {
    int kind = -1;
    int count = 0;
    {
        std::lock_guard<std::mutex> lock(_pendingMutex);
        if (_fixtureList.empty())
            return;
        kind = _fixtureList.front().kind;
        count = static_cast<int>(_fixtureList.size());
    }
    if (kind == kKindAudio)
        checkAudioTimeout(count);
    else if (kind == kKindGpio)
        checkGpioTimeout(count);
}

void MainFrame::checkAudioTimeout(int count) {
    checkFixtureTimeout(kKindAudio, count);
}

void MainFrame::checkGpioTimeout(int count) {
    checkFixtureTimeout(kKindGpio, count);
}

void MainFrame::checkFixtureTimeout(int kind, int count) {
    const std::int64_t limitMs = std::min(kSecondsPerDevice * count, kLimitCapSeconds) * 1000;
    const std::int64_t elapsedMs = programMs() - _ftTimerStartMs.load();
    if (elapsedMs < limitMs) {
        int finished = 0;
        {
            std::lock_guard<std::mutex> lock(_pendingMutex);
            for (const FixturePendingInfo& record : _fixtureList) {
                if (record.kind == kind &&
                    (record.status == kGot || record.status == kNoResult || record.status == kTimedOut))
                    ++finished;
            }
        }
        if (finished < count)
            return;
    } else {
        QStringList timedOut;
        {
            std::lock_guard<std::mutex> lock(_pendingMutex);
            for (FixturePendingInfo& record : _fixtureList) {
                if (record.kind == kind && record.status == kWaiting) {
                    record.status = kTimedOut;
                    timedOut << QString::fromUtf8(record.mac,
                                                  static_cast<int>(strnlen(record.mac, sizeof record.mac)));
                }
            }
        }
        const QString text =
            RowTexts::text(kind == kKindAudio ? RowText::AudioStateTimeout : RowText::GpioStateTimeout);
        for (const QString& mac : timedOut) {
            QStringList texts{mac, text};
            OZM::_NOTIFY_PARAM param;
            param.type = 2;
            param.data = &texts;
            handleDeviceEvent(&param);
        }
    }
    // The readers of this test add nothing from here on.
    _fixtureReaders->endRun();
    emit modifyParamEnd(kind);
}

void MainFrame::onFixtureTestEnd(int cmd_type) {
    if (_checkFtTimer)
        _checkFtTimer->stop();
    ProgressBarDialog*& progress = cmd_type == kKindAudio ? _audioProgress : _gpioProgress;
    if (progress) {
        progress->close(); // its owner deletes it when exec() returns
        progress = nullptr;
    }
    const std::vector<FixturePendingInfo> records = fixtureRecords();
    if (cmd_type == kKindAudio) {
        ShowResultDialog table(QStringList{tr("IP"), tr("Audio")}, nullptr, 720, 576);
        table.showAudioTestResult(records);
        table.exec();
    } else {
        ShowResultDlgEx table(QStringList{tr("IP"), tr("GPIO Port")}, nullptr, 720, 576);
        table.showGpioTestResult(records);
        table.exec();
    }
}
