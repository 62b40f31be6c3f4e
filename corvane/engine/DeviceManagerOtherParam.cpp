// The other-parameter run: start (and the run's time limit), configuration thread (records, new
// addresses), one thread per device applying the enabled families in their fixed order, the
// waits after a restart, the result check timer and the result table.
#include "DeviceManager.h"

#include "AddressProbeQueue.h"
#include "DeviceTableRow.h"
#include "MacKey.h"
#include "NewAddressRule.h"
#include "OtherParamFields.h"
#include "PingHelper.h"
#include "ProgressBarDialog.h"
#include "RestartPing.h"
#include "ShowResultDialog.h"
#include "TipDialog.h"
#include "net/DottedQuad.h"
#include "ozmlogic/ParamsMgr.h"
#include "quillet/Quillet.h"
#include "winport/WinPort.h"

#include <QEventLoop>
#include <QLabel>
#include <QPixmap>

#include <chrono>
#include <set>

using namespace otherparam;

namespace {

// The job of the device thread that runs on this thread; empty elsewhere.
thread_local OtherParamJob t_job;
// The device thread's new address in the ledger while it is not yet sent to its camera.
thread_local AddressLedger::Change t_unsentChange = 0;

// Address probes that run ahead of their turn in the configuration thread.
constexpr int kAddressProbeWindow = 16;

// Families in the order the time limit marks them (and sends their failure texts).
constexpr int kTimeoutOrder[OZM::FamilyCount] = {
    OZM::FamilyDdns,         OZM::FamilyP2p,     OZM::FamilyGb28181, OZM::FamilyPrivacyMask,
    OZM::FamilyMotionDetect, OZM::FamilyVideo,   OZM::FamilyAudio,   OZM::FamilyOsd,
    OZM::FamilyImage,        OZM::FamilyAccount, OZM::FamilyTime,    OZM::FamilyMaintain,
    OZM::FamilyAudioBoard,   OZM::FamilyTcpIp,   OZM::FamilyPort};

// Families in the order of the result table's columns.
constexpr int kTableOrder[OZM::FamilyCount] = {
    OZM::FamilyDdns, OZM::FamilyP2p,      OZM::FamilyGb28181,     OZM::FamilyVideo,        OZM::FamilyAudio,
    OZM::FamilyOsd,  OZM::FamilyImage,    OZM::FamilyPrivacyMask, OZM::FamilyMotionDetect, OZM::FamilyAccount,
    OZM::FamilyTime, OZM::FamilyMaintain, OZM::FamilyAudioBoard,  OZM::FamilyTcpIp,        OZM::FamilyPort};

// Per family index: the time-out text and the column header.
constexpr RowText kTimeoutText[OZM::FamilyCount] = {
    RowText::TcpIpFailed,   RowText::PortFailed,      RowText::DdnsFailed,      RowText::P2pFailed,
    RowText::Gb28181Failed, RowText::VideoFailed,     RowText::AudioFailed,     RowText::OsdFailed,
    RowText::ImageFailed,   RowText::PrivacyTimedOut, RowText::MotionFailed,    RowText::AccountFailed,
    RowText::TimeFailed,    RowText::MaintainFailed,  RowText::AudioBoardFailed};

const char* const kHeader[OZM::FamilyCount] = {
    QT_TRANSLATE_NOOP("DeviceManager", "Setting TCP/IP"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting Port"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting DDNS"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting P2P"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting GB28181"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting Video"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting Audio"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting OSD"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting Image"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting Privacy Mask"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting Motion Detect"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting Account Manage"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting Time"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting Regular Maintain"),
    QT_TRANSLATE_NOOP("DeviceManager", "Setting The Audio Board In")};

bool recordDone(const OtherParamResultInfo& record) {
    for (int f = 0; f < OZM::FamilyCount; ++f) {
        const bool on = record.flags[f] == 1;
        if (on ? record.results[f] == 0 : record.results[f] != 0)
            return false;
    }
    return true;
}

} // namespace

thread_local DeviceManager::OtherSleeper* DeviceManager::t_otherSleeper = nullptr;

// ---------------------------------------------------------------- set-up and shut-down

void DeviceManager::initOtherParam() {
    m_otherTemplates = std::make_shared<OtherParamTemplates>();
    if (!m_otherCheckTimer) {
        m_otherCheckTimer = new QTimer(this);
        connect(m_otherCheckTimer, &QTimer::timeout, this, &DeviceManager::onCheckTimerSlot);
    }
    connect(this, &DeviceManager::modifyOtherParamEnd, this, &DeviceManager::onModifyOtherParamEnd);
}

void DeviceManager::stopOtherParam() {
    {
        std::lock_guard<std::mutex> lock(m_otherSleepLock);
        m_otherStop = true;
    }
    m_otherSleepWake.notify_all();
    wakeOtherSleepers();
    if (m_otherCheckTimer)
        m_otherCheckTimer->stop();
    if (m_otherConfigThread.joinable())
        m_otherConfigThread.join();
    wakeOtherSleepers(); // the threads that the configuration thread started meanwhile
    // Every wait of a device thread ends at the stop flag; only an SDK call in progress can
    // hold one back, and that returns within the SDK's own time-out.
    const std::uint64_t start = winport::realTickMs();
    while (otherParamThreads() > 0 && winport::realTickMs() - start < kOtherJoinLimitRealMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const int left = otherParamThreads();
    if (left > 0)
        Qx_Write_Log(300, "DeviceManager::stopOtherParam", "[Line:%d] %d device threads still busy", __LINE__,
                     left);
    reapOtherThreads(true);
}

void DeviceManager::wakeOtherSleepers() {
    std::vector<std::shared_ptr<OtherSleeper>> sleepers;
    {
        std::lock_guard<std::mutex> lock(m_otherThreadLock);
        for (const auto& t : m_otherThreads)
            sleepers.push_back(t.sleeper);
    }
    // Taking each sleeper's lock orders the stop flag before its next check: no wake-up is lost.
    for (const auto& sleeper : sleepers) {
        { std::lock_guard<std::mutex> lock(sleeper->lock); }
        sleeper->wake.notify_all();
    }
}

void DeviceManager::reapOtherThreads(bool all) {
    std::vector<std::thread> finished;
    {
        std::lock_guard<std::mutex> lock(m_otherThreadLock);
        for (auto it = m_otherThreads.begin(); it != m_otherThreads.end();) {
            if (all || it->done->load()) {
                finished.push_back(std::move(it->thread));
                it = m_otherThreads.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& t : finished) {
        if (t.joinable())
            t.join();
    }
}

std::set<std::string> DeviceManager::busyOtherMacs(const std::set<std::string>& macs) {
    std::set<std::string> busy;
    std::lock_guard<std::mutex> lock(m_otherThreadLock);
    for (const auto& t : m_otherThreads) {
        if (!t.done->load() && macs.count(t.mac))
            busy.insert(t.mac);
    }
    return busy;
}

int DeviceManager::otherParamThreads() {
    std::lock_guard<std::mutex> lock(m_otherThreadLock);
    int n = 0;
    for (const auto& t : m_otherThreads)
        n += t.done->load() ? 0 : 1;
    return n;
}

bool DeviceManager::otherSleep(int programMs) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(
                              winport::toRealMs(static_cast<std::uint64_t>(programMs < 0 ? 0 : programMs)));
    OtherSleeper* own = t_otherSleeper;
    std::unique_lock<std::mutex> lock(own ? own->lock : m_otherSleepLock);
    std::condition_variable& wake = own ? own->wake : m_otherSleepWake;
    return !wake.wait_until(lock, deadline, [this] { return m_otherStop.load(); });
}

OtherParamJob DeviceManager::currentJob() {
    if (t_job.runId != 0)
        return t_job;
    std::lock_guard<std::mutex> lock(m_otherLock);
    OtherParamJob job;
    job.runId = m_otherRunId;
    job.templates = m_otherTemplates;
    return job;
}

// ---------------------------------------------------------------- start

int DeviceManager::otherParamTimeLimit(const OZM::SC_OTHERPARAMENABLE& flags, int devices, int waitSeconds) {
    const bool heavy = flags.flag[OZM::FamilyTcpIp] == 1 && flags.flag[OZM::FamilyPort] == 1 &&
                       flags.flag[OZM::FamilyImage] == 1 && flags.flag[OZM::FamilyVideo] == 1;
    const long long cap = static_cast<long long>(devices < 0 ? 0 : devices) * (heavy ? 360 : 300);
    return static_cast<int>(std::min<long long>(cap, waitSeconds));
}

newaddress::Verdict DeviceManager::pingDevice(const QString& address) {
    return PingHelper::probe(address.toStdString());
}

int DeviceManager::startOtherParamConfig(QVector<QStringList> rows) {
    OZM::SC_OTHERPARAMENABLE enable;
    std::memset(&enable, 0, sizeof enable);
    ozmParamsMgr()->getOtherParamEnable(&enable);
    // A family counts only when its flag is exactly 1.
    bool any = false;
    for (int f = 0; f < OZM::FamilyCount; ++f)
        any = any || enable.flag[f] == 1;
    if (!any) {
        TipDialog::showWarning(tr("Please select a set first!"));
        return -1;
    }
    m_otherCheckTimer->stop();
    if (m_otherProgress)
        delete m_otherProgress.data();
    // A new run waits for the previous configuration thread.
    if (m_otherConfigThread.joinable())
        m_otherConfigThread.join();
    reapOtherThreads(false);

    // A camera that an earlier run's device thread still changes (it may be restarting) is
    // left to that thread first: the new run starts, behind its busy indicator, once those
    // threads have ended, or after kOtherBusyWaitMs without the cameras still busy then.
    std::set<std::string> macs;
    for (const QStringList& row : rows)
        macs.insert(row.value(DeviceColumn::Mac).toStdString());
    const bool mustWait = !busyOtherMacs(macs).empty();
    QPointer<ProgressBarDialog> dialog = new ProgressBarDialog();
    m_otherProgress = dialog;
    dialog->titleLabel->setText(mustWait ? tr("Waiting for the previous run to finish...")
                                         : tr("Other Parameter Config Modify..."));
    dialog->setModal(true);
    dialog->show();
    std::set<std::string> leftOut;
    if (mustWait) {
        Qx_Write_Log(300, "DeviceManager::startOtherParamConfig",
                     "waiting for the device threads of an earlier run");
        const std::uint64_t since = GetTickCount();
        QEventLoop wait;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &wait, [&] {
            if (otherStopping() || busyOtherMacs(macs).empty() ||
                GetTickCount() - since >= static_cast<std::uint64_t>(kOtherBusyWaitMs))
                wait.quit();
        });
        poll.start(kOtherBusyPollRealMs);
        wait.exec();
        reapOtherThreads(false);
        leftOut = busyOtherMacs(macs);
        if (!leftOut.empty())
            Qx_Write_Log(300, "DeviceManager::startOtherParamConfig",
                         "%d devices still busy with an earlier run are left out",
                         static_cast<int>(leftOut.size()));
        if (dialog)
            dialog->titleLabel->setText(tr("Other Parameter Config Modify..."));
    }

    std::uint64_t runId = 0;
    {
        std::lock_guard<std::mutex> lock(m_otherLock);
        runId = ++m_otherRunId;
        m_otherResults.clear();
        m_otherResultOfMac.clear();
        m_otherLeftOut.clear();
        m_otherRows = rows;
        m_otherReached = 0;
        m_otherFlags = enable;
        m_otherConfigDone = false;
        m_otherEnded = false;
        m_otherRangeUsedUp = false;
    }
    // This run's limit, set once before its check timer starts: the timer never judges it by
    // the previous run's limit.
    m_otherWaitTime = otherParamTimeLimit(enable, rows.size(), ozmParamsMgr()->getWaitInfo());
    m_otherStartTick = GetTickCount();
    m_otherConfigThread = std::thread([this, rows, runId, enable, leftOut] {
        OtherParamJob job;
        job.runId = runId;
        auto templates = std::make_shared<OtherParamTemplates>();
        templates->enable = enable;
        job.templates = templates;
        configOtherParamThd(rows, job, leftOut);
    });
    m_otherCheckTimer->start(winport::timerInterval(kOtherCheckMs));

    // Modal until onModifyOtherParamEnd has shown the result table and it was closed (no
    // event of this run is delivered before the loop starts).
    QEventLoop loop;
    m_otherLoop = &loop;
    m_otherShown = false;
    loop.exec(QEventLoop::DialogExec);
    m_otherLoop = nullptr;
    if (dialog)
        delete dialog.data();
    m_otherProgress = nullptr;
    return 0;
}

// ---------------------------------------------------------------- configuration thread

void DeviceManager::configOtherParamThd(QVector<QStringList> rows, OtherParamJob job,
                                        std::set<std::string> leftOut) {
    const std::uint64_t runId = job.runId;
    auto runLive = [this, runId] {
        std::lock_guard<std::mutex> lock(m_otherLock);
        return runId == m_otherRunId && !m_otherEnded && !m_otherStop.load();
    };
    auto finish = [this, runId] {
        {
            std::lock_guard<std::mutex> lock(m_otherLock);
            if (runId == m_otherRunId)
                m_otherConfigDone = true;
        }
        // Ends a run without records, or whose devices are already done, at once.
        QMetaObject::invokeMethod(
            this, [this] { onCheckTimerSlot(); }, Qt::QueuedConnection);
    };
    if (rows.isEmpty()) {
        finish();
        return;
    }
    auto templates = std::make_shared<OtherParamTemplates>(*job.templates);
    OtherParamTemplates& t = *templates;
    ParamsMgr* store = ozmParamsMgr();

    if (t.enabled(OZM::FamilyTcpIp))
        store->getTcpIpInfo(&t.tcpIp);
    if (t.enabled(OZM::FamilyPort))
        store->getPortParamInfo(&t.port);
    if (t.enabled(OZM::FamilyDdns))
        store->getDDNSInfo(&t.ddns);
    if (t.enabled(OZM::FamilyP2p))
        t.p2p = store->getP2PInfo();
    if (t.enabled(OZM::FamilyGb28181))
        store->getGb28181Info(&t.gb28181);
    if (t.enabled(OZM::FamilyVideo))
        store->getVideoInfo(&t.video);
    if (t.enabled(OZM::FamilyAudio))
        store->getAudioInfo(&t.audio);
    if (t.enabled(OZM::FamilyOsd))
        store->getOsdInfo(&t.osd);
    if (t.enabled(OZM::FamilyImage))
        store->getImageInfo(&t.image);
    if (t.enabled(OZM::FamilyPrivacyMask))
        store->getPrivacyMaskInfo(&t.privacy);
    if (t.enabled(OZM::FamilyMotionDetect))
        store->getAlarmInfo(&t.alarm);
    if (t.enabled(OZM::FamilyAccount))
        store->getAccountInfo(&t.account);
    if (t.enabled(OZM::FamilyTime))
        store->getTimeInfo(&t.time);
    if (t.enabled(OZM::FamilyMaintain))
        store->getMaintainInfo(&t.maintain);
    if (t.enabled(OZM::FamilyAudioBoard)) {
        store->getAudioBoard(&t.audioBoard);
        const auto& b = t.audioBoard;
        if (b.applyInput == 0 && b.applyTurnOnControl == 0 && b.applyLightBoardMode == 0 &&
            b.applyBrightness == 0)
            t.enable.flag[OZM::FamilyAudioBoard] = 0;
    }
    job.templates = templates;
    {
        std::lock_guard<std::mutex> lock(m_otherLock);
        if (runId == m_otherRunId) {
            m_otherTemplates = templates;
            m_otherFlags = t.enable;
        }
    }

    // New addresses: counted up from a strictly valid start address, never wrapping. Without
    // one no address is pinged and every device's TCP/IP family fails.
    const bool tcpIp = t.enabled(OZM::FamilyTcpIp);
    std::uint32_t next = 0;
    bool haveAddresses = false;
    std::uint32_t mask = 0xFFFFFFFFu; // no subnet known: no address is an edge
    if (tcpIp) {
        std::uint32_t start = 0;
        const std::string text = fieldText(t.tcpIp.ip, sizeof t.tcpIp.ip);
        haveAddresses = newaddress::validStart(text, &start);
        if (!haveAddresses)
            Qx_Write_Log(300, "DeviceManager::configOtherParamThd", "invalid start address:%s", text.c_str());
        next = start;
        if (!PingHelper::parseDottedQuad(fieldText(t.tcpIp.mask, sizeof t.tcpIp.mask), &mask))
            mask = 0xFFFFFFFFu;
    }

    using newaddress::Verdict;
    std::unique_ptr<AddressProbeQueue> probes;
    if (tcpIp && haveAddresses)
        probes = std::make_unique<AddressProbeQueue>(
            next, mask, kAddressProbeWindow,
            [this](const std::string& address) { return !m_ledger.mayHandOut(address); },
            [](const std::string& address) { return pingDevice(QString::fromStdString(address)); });
    for (int index = 0; index < rows.size(); ++index) {
        const QStringList& row = rows[index];
        if (!runLive())
            break;
        const std::string mac = row.value(DeviceColumn::Mac).toStdString();
        const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> info = findSearchInfo(mac);
        if (!info) {
            {
                // Reached, left out; past the time limit the row is the limit's.
                std::lock_guard<std::mutex> lock(m_otherLock);
                if (runId != m_otherRunId || m_otherEnded)
                    break;
                m_otherReached = index + 1;
            }
            Qx_Write_Log(300, "DeviceManager::configOtherParamThd", "cannot findSearchInfo, mac:%s",
                         mac.c_str());
            continue;
        }
        OtherParamResultInfo record;
        std::memset(&record, 0, sizeof record);
        copyField(record.mac, info->mac);
        copyField(record.ip, info->ip);
        std::memcpy(record.flags, t.enable.flag, sizeof record.flags);
        record.kind = 7;
        const bool busy = leftOut.count(mac) > 0;
        if (busy) {
            // Not changed by this run: every family failed, and the table says why.
            for (int f = 0; f < OZM::FamilyCount; ++f)
                record.results[f] = record.flags[f] == 1 ? 2 : 0;
        }
        {
            std::lock_guard<std::mutex> lock(m_otherLock);
            // Past the time limit the rows not reached yet have their records from the limit.
            if (runId != m_otherRunId || m_otherEnded)
                break;
            m_otherReached = index + 1;
            m_otherResults.push_back(record);
            if (busy)
                m_otherLeftOut.insert(m_otherResults.size() - 1);
            else
                m_otherResultOfMac.emplace(mackey::key(fieldText(record.mac, sizeof record.mac)),
                                           m_otherResults.size() - 1);
        }
        if (busy) {
            Qx_Write_Log(300, "DeviceManager::configOtherParamThd",
                         "still busy with an earlier run, left out, mac:%s", mac.c_str());
            notifyRowText(2, row.value(DeviceColumn::Mac), RowText::LeftOut);
            continue;
        }

        QStringList copy = row;
        AddressLedger::Change claim = 0; // the row's new address in the ledger
        if (tcpIp && haveAddresses) {
            QString found;
            bool gaveUp = false;
            while (found.isEmpty() && !gaveUp && runLive()) {
                std::uint32_t candidate = 0;
                Verdict verdict = Verdict::NoVerdict;
                if (!probes->next(rows.size() - index, &candidate, &verdict)) {
                    // The range is used up: this device and the later rows get no thread.
                    Qx_Write_Log(300, "DeviceManager::configOtherParamThd", "laddr is 0xFFFFFFFF");
                    {
                        std::lock_guard<std::mutex> lock(m_otherLock);
                        if (runId == m_otherRunId)
                            m_otherRangeUsedUp = true;
                    }
                    finish();
                    return;
                }
                const std::string text = dottedquad::format(candidate);
                // Judged free; taken only if nothing came to hold it since.
                if (verdict == Verdict::Free && (claim = m_ledger.sent(mac, text)) == 0)
                    verdict = Verdict::Held;
                if (verdict == Verdict::Free) {
                    found = QString::fromStdString(text);
                } else if (verdict != Verdict::NoVerdict) {
                    newaddress::logPassedOver("DeviceManager::configOtherParamThd", verdict, text);
                } else {
                    // Not known to be free: this device's TCP/IP fails without a request.
                    Qx_Write_Log(300, "DeviceManager::configOtherParamThd",
                                 "ping could not run, no new address for mac:%s,pNewIp = %s", mac.c_str(),
                                 text.c_str());
                    gaveUp = true;
                }
            }
            if (!found.isEmpty()) {
                while (copy.size() < DeviceColumn::NewIp)
                    copy << QString();
                if (copy.size() == DeviceColumn::NewIp)
                    copy << found;
                else
                    copy[DeviceColumn::NewIp] = found;
            }
        }
        // A run that ended meanwhile starts no more devices.
        if (!runLive()) {
            m_ledger.refused(claim); // never sent: no camera takes it
            break;
        }
        startOtherDeviceThread(copy, job, claim);
    }
    finish();
}

void DeviceManager::startOtherDeviceThread(QStringList row, const OtherParamJob& job,
                                           AddressLedger::Change claim) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto sleeper = std::make_shared<OtherSleeper>();
    OtherDeviceThread entry;
    entry.done = done;
    entry.mac = row.value(DeviceColumn::Mac).toStdString();
    entry.sleeper = sleeper;
    entry.thread = std::thread([this, row, job, done, sleeper, claim]() mutable {
        t_job = job;
        t_otherSleeper = sleeper.get();
        t_unsentChange = claim;
        handleModifyOtherParam(&row);
        // The thread's end frees nothing its camera was told; an address never sent is let go.
        m_ledger.refused(std::exchange(t_unsentChange, 0));
        t_otherSleeper = nullptr;
        t_job = OtherParamJob();
        done->store(true);
    });
    std::lock_guard<std::mutex> lock(m_otherThreadLock);
    m_otherThreads.push_back(std::move(entry));
}

// ---------------------------------------------------------------- device thread

void DeviceManager::handleModifyOtherParam(QStringList* row) {
    if (!row || row->isEmpty())
        return;
    const OtherParamJob job = currentJob();
    if (!job.templates)
        return;
    const OtherParamTemplates& t = *job.templates;
    const QString mac = row->value(DeviceColumn::Mac);

    if (t.enabled(OZM::FamilyDdns))
        modifyDDNSInfo(row);
    using Applier = void (DeviceManager::*)(QStringList*);
    static const struct {
        int family;
        Applier apply;
    } plain[] = {{OZM::FamilyGb28181, &DeviceManager::modify28181Info},
                 {OZM::FamilyAudio, &DeviceManager::modifyAudioInfo},
                 {OZM::FamilyOsd, &DeviceManager::modifyOSDInfo},
                 {OZM::FamilyPrivacyMask, &DeviceManager::modifyPrivacyInfo},
                 {OZM::FamilyMotionDetect, &DeviceManager::modifyAlarmInfo},
                 {OZM::FamilyAccount, &DeviceManager::modifyAccount},
                 {OZM::FamilyTime, &DeviceManager::modifyTimeInfo},
                 {OZM::FamilyMaintain, &DeviceManager::modifyMaintain},
                 {OZM::FamilyAudioBoard, &DeviceManager::modifyAudioBoard},
                 {OZM::FamilyP2p, &DeviceManager::modifyP2PInfo}};
    for (const auto& step : plain) {
        if (!t.enabled(step.family))
            continue;
        if (!otherSleep(kOtherStepGapMs))
            return;
        (this->*step.apply)(row);
    }

    using RebootApplier = void (DeviceManager::*)(QStringList*, int*);
    static const struct {
        int family;
        RebootApplier apply;
    } restarting[] = {{OZM::FamilyVideo, &DeviceManager::modifyVideoInfo},
                      {OZM::FamilyImage, &DeviceManager::modifyImageInfo}};
    for (const auto& step : restarting) {
        if (!t.enabled(step.family))
            continue;
        if (!otherSleep(kOtherStepGapMs))
            return;
        int needReboot = 0;
        (this->*step.apply)(row, &needReboot);
        if (needReboot > 0)
            rebootWait(mac, false);
    }

    if (t.enabled(OZM::FamilyPort)) {
        if (!otherSleep(kOtherStepGapMs))
            return;
        const bool ok = modifyPortInfo(row) == 0;
        if (ok) {
            notifyRowText(2, mac, RowText::PortSuccess);
            const int http = t.port.httpPort & 0xFFFF;
            const int rtsp = t.port.rtspPort & 0xFFFF;
            const bool known = updateSearchInfo(mac.toStdString(), [&](DSC_SEARCH_RESPONSE_INFO& r) {
                r.httpPort = static_cast<std::uint32_t>(http);
                r.rtspPort = static_cast<std::uint32_t>(rtsp);
            });
            if (!known)
                return;
            notifyTexts(9, {mac, QString::number(http), QString::number(rtsp)});
            rebootWait(mac, false);
        } else {
            notifyRowText(2, mac, RowText::PortFailed);
        }
        setOtherResult(job.runId, mac, OZM::FamilyPort, ok ? 1 : 2);
    }

    if (t.enabled(OZM::FamilyTcpIp)) {
        if (!otherSleep(kOtherStepGapMs))
            return;
        const bool ok = modifyTcpInfo(row) == 0;
        // Held until the camera is seen at the address (or at a later one); a refusal ends it.
        const AddressLedger::Change change = std::exchange(t_unsentChange, 0);
        if (!ok)
            m_ledger.refused(change);
        if (ok) {
            notifyRowText(2, mac, RowText::TcpIpSuccess);
            const QString newIp = row->value(DeviceColumn::NewIp);
            const bool known = updateSearchInfo(mac.toStdString(), [&](DSC_SEARCH_RESPONSE_INFO& r) {
                copyField(r.ip, newIp.toStdString());
                copyField(r.mask, t.tcpIp.mask);
                copyField(r.gateway, t.tcpIp.gateway);
                copyField(r.dns, t.tcpIp.dns);
                r.dhcp = static_cast<std::uint8_t>(t.tcpIp.dhcp & 0xFF);
                r.fullNetcom = static_cast<std::uint8_t>(t.tcpIp.fullNetcom & 0xFF);
            });
            if (!known) {
                m_ledger.gaveUp(change);
                return;
            }
            notifyTexts(8, {mac, newIp, RowTexts::text(RowText::NewIp, newIp)});
            if (!rebootWait(mac, true))
                m_ledger.gaveUp(change); // not back at the address: it stays held
        } else {
            notifyRowText(2, mac, RowText::TcpIpFailed);
        }
        setOtherResult(job.runId, mac, OZM::FamilyTcpIp, ok ? 1 : 2);
    }
}

bool DeviceManager::pingUntilBack(const std::string& address) {
    otherparam::RestartPing wait;
    wait.limitMs = kRebootPingMs;
    wait.pauseMs = kRebootPingPauseMs;
    wait.answers = kRebootAnswers;
    return wait.run([&] { return !otherStopping() && PingHelper::answers(address); },
                    [] { return static_cast<std::uint64_t>(GetTickCount()); },
                    [this](int ms) { return !otherStopping() && otherSleep(ms); });
}

bool DeviceManager::rebootWait(const QString& mac, bool lastStep) {
    const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> info = findSearchInfo(mac.toStdString());
    if (!info)
        return false;
    if (!otherSleep(kRebootSettleMs))
        return false;
    const std::string ip = fieldText(info->ip, sizeof info->ip);
    const bool back = pingUntilBack(ip);
    if (back)
        Qx_Write_Log(300, "DeviceManager::handleModifyOtherParam", "[Line:%d] Ip is online, ip:%s", __LINE__,
                     ip.c_str());
    if (otherStopping())
        return back;
    const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> current = findSearchInfo(mac.toStdString());
    reloginAfterReboot(current ? current.get() : info.get());
    if (!lastStep)
        otherSleep(kRebootSettleMs);
    return back;
}

// ---------------------------------------------------------------- results

void DeviceManager::setOtherResult(std::uint64_t runId, const QString& mac, int family, int value) {
    if (family < 0 || family >= OZM::FamilyCount)
        return;
    const std::string key = mackey::key(mac.toStdString());
    std::lock_guard<std::mutex> lock(m_otherLock);
    if (runId == 0 || runId != m_otherRunId)
        return; // a thread of an earlier run
    const auto it = m_otherResultOfMac.find(key);
    if (it == m_otherResultOfMac.end() || it->second >= m_otherResults.size())
        return;
    OtherParamResultInfo& record = m_otherResults[it->second];
    if (record.results[family] == 0)
        record.results[family] = value;
}

void DeviceManager::finishFamily(const QString& mac, int family, bool ok, RowText okText, RowText failText,
                                 const std::function<void()>& beforeText,
                                 const std::function<void()>& afterText) {
    if (ok && beforeText)
        beforeText();
    notifyRowText(2, mac, ok ? okText : failText);
    if (ok && afterText)
        afterText();
    setOtherResult(currentJob().runId, mac, family, ok ? 1 : 2);
}

std::vector<OtherParamResultInfo> DeviceManager::otherParamResults() {
    std::lock_guard<std::mutex> lock(m_otherLock);
    return m_otherResults;
}

void DeviceManager::onCheckTimerSlot() {
    bool limit = false;
    QVector<QStringList> unreached;
    OZM::SC_OTHERPARAMENABLE flags{};
    {
        std::lock_guard<std::mutex> lock(m_otherLock);
        if (m_otherEnded)
            return;
        const std::uint64_t elapsed = GetTickCount() - m_otherStartTick.load();
        if (elapsed < static_cast<std::uint64_t>(m_otherWaitTime.load()) * 1000u) {
            // Done only once the configuration thread has added every record.
            if (!m_otherConfigDone || !std::all_of(m_otherResults.begin(), m_otherResults.end(), recordDone))
                return;
        } else {
            limit = true;
            unreached = m_otherRows.mid(m_otherReached);
            m_otherReached = m_otherRows.size();
            flags = m_otherFlags;
        }
        m_otherEnded = true; // the configuration thread adds no record from here on
    }
    if (limit)
        timeOutOtherRecords(unreached, flags);
    emit modifyOtherParamEnd();
}

void DeviceManager::timeOutOtherRecords(const QVector<QStringList>& unreached,
                                        const OZM::SC_OTHERPARAMENABLE& flags) {
    // The rows the configuration thread never reached are in the table too, every family failed.
    std::vector<OtherParamResultInfo> added;
    for (const QStringList& row : unreached) {
        const std::string mac = row.value(DeviceColumn::Mac).toStdString();
        Qx_Write_Log(300, "DeviceManager::onCheckTimerSlot",
                     "time limit reached before the device was started, mac:%s", mac.c_str());
        OtherParamResultInfo record;
        std::memset(&record, 0, sizeof record);
        const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> info = findSearchInfo(mac);
        copyField(record.mac, info ? fieldText(info->mac, sizeof info->mac) : mac);
        copyField(record.ip,
                  info ? fieldText(info->ip, sizeof info->ip) : row.value(DeviceColumn::Ip).toStdString());
        std::memcpy(record.flags, flags.flag, sizeof record.flags);
        record.kind = 7;
        added.push_back(record);
    }
    std::vector<std::pair<QString, int>> timedOut;
    {
        std::lock_guard<std::mutex> lock(m_otherLock);
        m_otherResults.insert(m_otherResults.end(), added.begin(), added.end());
        for (auto& record : m_otherResults) {
            if (record.kind != 7)
                continue;
            for (int f : kTimeoutOrder) {
                if (record.flags[f] == 1 && record.results[f] == 0) {
                    record.results[f] = 3;
                    timedOut.emplace_back(
                        QString::fromLatin1(fieldText(record.mac, sizeof record.mac).c_str()), f);
                }
            }
        }
    }
    for (const auto& item : timedOut)
        notifyRowText(2, item.first, kTimeoutText[item.second]);
}

void DeviceManager::onModifyOtherParamEnd() {
    m_otherCheckTimer->stop();
    {
        std::lock_guard<std::mutex> lock(m_otherLock);
        m_otherEnded = true;
    }
    // The busy indicator goes first (startOtherParamConfig deletes it when its loop ends).
    if (m_otherProgress)
        m_otherProgress->hide();
    std::vector<OtherParamResultInfo> records;
    std::set<std::size_t> leftOut;
    bool rangeUsedUp = false;
    {
        std::lock_guard<std::mutex> lock(m_otherLock);
        records = m_otherResults;
        leftOut = m_otherLeftOut;
        rangeUsedUp = m_otherRangeUsedUp;
    }
    if (rangeUsedUp) {
        TipDialog::showWarning(tr("No free IP address is left: the remaining devices were not changed!"));
    }
    QStringList headers{tr("IP")};
    int columns = 0;
    if (!records.empty()) {
        for (int f : kTableOrder) {
            if (records.front().flags[f] == 1) {
                headers << tr(kHeader[f]);
                ++columns;
            }
        }
    }
    ShowResultDialog dialog(headers, nullptr, 1280, 720);
    dialog.showOtherParamResult(records, columns, leftOut);
    dialog.exec();
    m_otherShown = true;
    if (m_otherLoop)
        m_otherLoop->quit();
}
