#include "DeviceManager.h"

#include "DeviceTableRow.h"
#include "MacKey.h"
#include "fields/FixedFieldText.h"
#include "kvxnet/KvxNetSdk.h"
#include "quillet/Quillet.h"
#include "winport/WinPort.h"

#include <QThread>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/prctl.h>

namespace {

using fixedfield::copyField;
using fixedfield::fieldLength;
using fixedfield::fieldText;
using fixedfield::gbkText;

// The login record the engine fills from a search record.
KvxLoginInfo loginRecord(const DSC_SEARCH_RESPONSE_INFO& record, LoginSlot* slot) {
    KvxLoginInfo info;
    std::memset(&info, 0, sizeof info);
    std::snprintf(info.address, sizeof info.address, "%s", fieldText(record.ip, sizeof record.ip).c_str());
    info.port = record.httpPort;
    info.stream = 0;
    copyField(info.user, sizeof info.user, record.user, sizeof record.user);
    copyField(info.password, sizeof info.password, record.password, sizeof record.password);
    info.window = 0;
    info.flag204 = 0;
    info.flag206 = 1;
    info.deviceTypeFlag = fieldText(record.deviceType, sizeof record.deviceType) == "IPCAMERA" ? 0 : 1;
    info.flag208 = 0;
    info.flag210 = 0;
    info.userData = slot;
    info.callback = &DeviceManager::onSdkMessage;
    return info;
}

} // namespace

DeviceManager::DeviceManager(QWidget* parent) : QWidget(parent) {
    // No user interface of its own: it must never cover part of its parent window.
    hide();
    KVX_NET_Startup();
    KVX_NET_SetWaitTime(2, -1, 2);
    for (int i = 0; i < kLoginSlots; ++i)
        m_slots[i] = LoginSlot();
    initTimers();
    initOtherParam();
}

DeviceManager::~DeviceManager() {
    stopOtherParam(); // device threads use the logins and the SDK below
    // The worker goes first so that no login starts after the logout below. The flag is set
    // under the queue's lock: a worker between its check and its wait would miss the wake-up.
    {
        std::lock_guard<std::mutex> lock(m_taskLock);
        m_stop = 1;
    }
    m_taskWake.notify_all();
    {
        std::lock_guard<std::mutex> lock(m_nameLock);
        m_nameStop = true; // name reads still pending are dropped
    }
    m_nameWake.notify_all();
    m_nameDone.notify_all();
    if (m_worker.joinable())
        m_worker.join();
    if (m_nameReader.joinable())
        m_nameReader.join();
    if (m_loginCheckTimer)
        m_loginCheckTimer->stop();
    logoutAll();
    KVX_NET_Cleanup();
}

void DeviceManager::initTimers() {
    m_stop = 0;
    m_worker = std::thread([this] { taskLoop(); });
    m_nameReader = std::thread([this] { nameReadLoop(); });
    if (!m_loginCheckTimer) {
        m_loginCheckTimer = new QTimer(this);
        connect(m_loginCheckTimer, &QTimer::timeout, this, &DeviceManager::onCheckLoginTimerSlot);
        m_loginCheckTimer->start(winport::timerInterval(kLoginCheckMs));
    }
}

bool DeviceManager::sleepMs(int ms) {
    Sleep(static_cast<DWORD>(ms < 0 ? 0 : ms));
    return true;
}

// ---------------------------------------------------------------- notifications

void DeviceManager::notifyTexts(int code, const QStringList& texts) {
    OZM::_NOTIFY_PARAM param;
    QStringList list = texts;
    param.type = code;
    param.data = &list;
    notify(&param);
}

void DeviceManager::notifyRowText(int code, const QString& mac, RowText text) {
    notifyTexts(code, {mac, RowTexts::text(text)});
}

void DeviceManager::notifyDone() {
    OZM::_NOTIFY_PARAM param;
    param.type = 6;
    param.data = nullptr;
    notify(&param);
}

void DeviceManager::checkAllAttempted() {
    if (m_totalKnown.load() && m_loginCounter.load() >= m_loginTotal.load())
        notifyDone();
}

void DeviceManager::setNotify(const OZM::_NOTIFY_PARAM* param) {
    if (!param || param->type != 5)
        return;
    m_loginTotal = static_cast<int>(reinterpret_cast<std::intptr_t>(param->data));
    m_totalKnown = true;
    checkAllAttempted();
}

// ---------------------------------------------------------------- search-information map

std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> DeviceManager::findSearchInfo(const std::string& mac) {
    const std::string key = mackey::key(mac);
    std::lock_guard<std::mutex> lock(m_mapLock);
    if (key.empty())
        return nullptr;
    auto it = m_searchInfo.find(key);
    if (it == m_searchInfo.end())
        return nullptr;
    return std::make_unique<DSC_SEARCH_RESPONSE_INFO>(it->second);
}

int DeviceManager::addSearchInfo(const std::string& mac, const DSC_SEARCH_RESPONSE_INFO* record) {
    if (mac.empty() || !record)
        return -1;
    {
        std::lock_guard<std::mutex> lock(m_mapLock);
        m_searchInfo[mackey::key(mac)] = *record;
    }
    m_ledger.seenAt(mac, fieldText(record->ip, sizeof record->ip));
    return 0;
}

void DeviceManager::removeSearchInfo(const std::string& mac) {
    if (mac.empty())
        return;
    std::lock_guard<std::mutex> lock(m_mapLock);
    m_searchInfo.erase(mackey::key(mac));
}

void DeviceManager::clearSearchInfo() {
    std::lock_guard<std::mutex> lock(m_mapLock);
    m_searchInfo.clear();
}

int DeviceManager::searchInfoCount() {
    std::lock_guard<std::mutex> lock(m_mapLock);
    return static_cast<int>(m_searchInfo.size());
}

void DeviceManager::setSearchInfoAccount(const std::string& mac, const char* user, const char* password,
                                         bool resetHttpPort) {
    updateSearchInfo(mac, [&](DSC_SEARCH_RESPONSE_INFO& record) {
        copyField(record.user, sizeof record.user, user, sizeof record.user);
        copyField(record.password, sizeof record.password, password, sizeof record.password);
        if (resetHttpPort)
            record.httpPort = 80;
    });
}

bool DeviceManager::updateSearchInfo(const std::string& mac,
                                     const std::function<void(DSC_SEARCH_RESPONSE_INFO&)>& edit) {
    const std::string key = mackey::key(mac);
    std::lock_guard<std::mutex> lock(m_mapLock);
    if (key.empty())
        return false;
    auto it = m_searchInfo.find(key);
    if (it == m_searchInfo.end())
        return false;
    edit(it->second);
    return true;
}

// ---------------------------------------------------------------- worker

int DeviceManager::addLoginTask(const DSC_SEARCH_RESPONSE_INFO* record) {
    if (!record)
        return -1;
    DeviceTask task;
    task.type = DeviceTask::Login;
    task.generation = m_generation.load();
    task.record = *record;
    {
        std::lock_guard<std::mutex> lock(m_taskLock);
        m_tasks.push_back(std::move(task));
    }
    m_taskWake.notify_one();
    return 0;
}

int DeviceManager::pendingLoginTasks() {
    std::lock_guard<std::mutex> lock(m_taskLock);
    return static_cast<int>(m_tasks.size());
}

void DeviceManager::taskLoop() {
    // The login pauses are short at small time scales: keep the kernel's timer slack from
    // stretching them.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    while (m_stop.load() == 0) {
        DeviceTask task;
        {
            std::unique_lock<std::mutex> lock(m_taskLock);
            m_taskWake.wait(lock, [this] { return m_stop.load() != 0 || !m_tasks.empty(); });
            if (m_stop.load() != 0)
                break;
            task = std::move(m_tasks.front());
            m_tasks.pop_front();
        }
        runTask(task);
    }
}

void DeviceManager::runTask(DeviceTask& task) {
    switch (task.type) {
    case DeviceTask::Login:
        // Logins queued for an earlier search are dropped.
        if (task.generation == m_generation.load())
            loginDevice(&task.record);
        break;
    case DeviceTask::FullRecovery:
        // A login of the device queued before the recovery has its name read first, as
        // when the worker read it itself.
        if (waitNameReads(task.row.value(DeviceColumn::Mac).toStdString()))
            fullRecovery(&task.row);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- logins

int DeviceManager::loginDevice(const DSC_SEARCH_RESPONSE_INFO* record) {
    if (!record)
        return -1;
    const std::string mac = fieldText(record->mac, sizeof record->mac);
    NameRead read;
    read.generation = m_generation.load();
    read.mac = mac;
    {
        std::lock_guard<std::mutex> run(m_loginRun);
        if (read.generation != m_generation.load())
            return 0; // a new search began before this login's turn
        const int index = m_nextSlot++;
        if (index >= kLoginSlots) {
            // The table is full: the device is reported and takes no slot.
            Qx_Write_Log(300, "DeviceManager::loginDevice", "[Line:%d] login table full, ip:%s", __LINE__,
                         fieldText(record->ip, sizeof record->ip).c_str());
            notifyRowText(10, QString::fromStdString(mac), RowText::LoginFailed);
        } else {
            LoginSlot* slot = &m_slots[index];
            {
                std::lock_guard<std::mutex> lock(m_slotLock);
                slot->owner = this;
                slot->index = index;
                copyField(slot->mac, sizeof slot->mac, record->mac, sizeof record->mac);
                std::vector<int>& indices = m_slotsByMac[mackey::key(fieldText(slot->mac, sizeof slot->mac))];
                indices.insert(std::lower_bound(indices.begin(), indices.end(), index), index);
                copyField(slot->ip, sizeof slot->ip, record->ip, sizeof record->ip);
                slot->hIPCLogin = 0;
                slot->state = LoginSlot::LoggingIn;
                slot->startTick = GetTickCount();
                slot->inLoginCall = true;
                slot->change = 0;
            }
            callLogin(*record, slot, mac);
            read.slot = index;
        }
    }
    // The name is read 1000 ms after this login call returned; the worker goes on meanwhile.
    // A login without a slot counts in the same order.
    scheduleNameRead(GetTickCount() + static_cast<std::uint64_t>(kOsdReadDelayMs), read);
    return 0;
}

void DeviceManager::scheduleNameRead(std::uint64_t dueTick, const NameRead& read) {
    {
        std::lock_guard<std::mutex> lock(m_nameLock);
        if (m_nameStop)
            return;
        m_nameReads.emplace(dueTick, read); // after the reads due at the same tick
        ++m_namesPending[read.mac];
    }
    m_nameWake.notify_one();
}

void DeviceManager::nameReadLoop() {
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    std::unique_lock<std::mutex> lock(m_nameLock);
    while (!m_nameStop) {
        if (m_nameReads.empty()) {
            m_nameWake.wait(lock);
            continue;
        }
        const std::uint64_t due = m_nameReads.begin()->first;
        const std::uint64_t now = GetTickCount();
        if (now < due) {
            // Program milliseconds to real time; the tick is checked again on waking.
            const double realUs = static_cast<double>(due - now) * winport::timeScale() * 1000.0;
            m_nameWake.wait_for(lock, std::chrono::microseconds(
                                          std::max<std::int64_t>(1, static_cast<std::int64_t>(realUs))));
            continue;
        }
        const NameRead read = m_nameReads.begin()->second;
        m_nameReads.erase(m_nameReads.begin());
        lock.unlock();
        readName(read);
        lock.lock();
    }
}

void DeviceManager::releaseNameReadLocked(const std::string& mac) {
    auto it = m_namesPending.find(mac);
    if (it != m_namesPending.end() && --it->second <= 0)
        m_namesPending.erase(it);
}

void DeviceManager::nameReadEnded(const std::string& mac) {
    {
        std::lock_guard<std::mutex> lock(m_nameLock);
        releaseNameReadLocked(mac);
    }
    m_nameDone.notify_all();
}

bool DeviceManager::waitNameReads(const std::string& mac) {
    std::unique_lock<std::mutex> lock(m_nameLock);
    m_nameDone.wait(lock, [&] { return m_nameStop || m_namesPending.count(mac) == 0; });
    return !m_nameStop;
}

void DeviceManager::readName(const NameRead& read) {
    struct Ended {
        DeviceManager* self;
        const std::string& mac;
        bool waits = false; // the read goes on after the login's answer: still pending
        ~Ended() {
            if (!waits)
                self->nameReadEnded(mac);
        }
    } ended{this, read.mac};
    {
        std::lock_guard<std::mutex> run(m_loginRun);
        if (read.generation != m_generation.load())
            return; // a new search began meanwhile: this attempt no longer counts
        if (LoginSlot* slot = slotPointer(read.slot)) {
            std::uint32_t handle = 0;
            {
                std::lock_guard<std::mutex> lock(m_slotLock);
                handle = slot->hIPCLogin;
                // A camera still logging in is named once its login succeeds.
                if (slot->state == LoginSlot::LoggingIn && slot->mac[0] != '\0') {
                    slot->nameWanted = true;
                    ended.waits = true;
                }
            }
            KvxOsdInfo osd;
            std::memset(&osd, 0, sizeof osd);
            if (!ended.waits && KVX_NET_GetOSD2(static_cast<int>(handle), 0, &osd) != 0)
                notifyTexts(1, {QString::fromStdString(read.mac), gbkText(osd.text, sizeof osd.text)});
        }
        if (read.counts)
            ++m_loginCounter;
    }
    if (read.counts)
        checkAllAttempted();
}

void DeviceManager::settleWantedName(int slot, const std::string& mac, bool succeeded) {
    if (!succeeded) {
        nameReadEnded(mac);
        return;
    }
    NameRead read;
    read.generation = m_generation.load();
    read.slot = slot;
    read.mac = mac;
    read.counts = false;
    {
        std::lock_guard<std::mutex> lock(m_nameLock);
        if (m_nameStop)
            return;
        // Takes over the pending count of the read that waited.
        m_nameReads.emplace(GetTickCount(), read);
    }
    m_nameWake.notify_one();
}

int DeviceManager::reloginDevice(const DSC_SEARCH_RESPONSE_INFO* record, AddressLedger::Change change) {
    if (!record)
        return -1;
    DeviceTask task;
    task.type = DeviceTask::Relogin;
    task.generation = m_generation.load();
    task.change = change;
    task.record = *record;
    if (change != 0) {
        std::lock_guard<std::mutex> lock(m_changeLock);
        m_changeRelogins[change] = ChangeRelogin::Pending;
    }
    int length = 0;
    {
        std::lock_guard<std::mutex> lock(m_reloginLock);
        _login_param_queue.push_back(std::move(task));
        length = static_cast<int>(_login_param_queue.size());
    }
    Qx_Write_Log(600, "DeviceManager::reloginDevice", "===reloginDevice _login_param_queue:%d", length);
    auto arm = [this] {
        QTimer::singleShot(winport::timerInterval(kReloginDelayMs), this, &DeviceManager::reLogionSlot);
    };
    if (QThread::currentThread() == thread())
        arm();
    else
        QMetaObject::invokeMethod(this, arm, Qt::QueuedConnection);
    return 0;
}

int DeviceManager::pendingRelogins() {
    std::lock_guard<std::mutex> lock(m_reloginLock);
    return static_cast<int>(_login_param_queue.size());
}

void DeviceManager::reLogionSlot() {
    DeviceTask task;
    bool have = false;
    int remaining = 0;
    {
        std::lock_guard<std::mutex> lock(m_reloginLock);
        if (!_login_param_queue.empty()) {
            task = std::move(_login_param_queue.front());
            _login_param_queue.pop_front();
            have = true;
        }
        remaining = static_cast<int>(_login_param_queue.size());
    }
    if (have && task.type == DeviceTask::Relogin && task.generation == m_generation.load()) {
        // The device's record as it is now (a recovery may have changed its account).
        const std::string mac = fieldText(task.record.mac, sizeof task.record.mac);
        auto current = findSearchInfo(mac);
        relogin(current ? current.get() : &task.record, false, task.change);
    } else if (have && task.change != 0) {
        changeReloginEnded(task.change, ChangeRelogin::NotRenewed); // a new search began meanwhile
    }
    Qx_Write_Log(600, "DeviceManager::reLogionSlot", "===_login_param_queue:%d", remaining);
}

int DeviceManager::reloginDeviceNow(const DSC_SEARCH_RESPONSE_INFO* record) {
    return relogin(record, false);
}

int DeviceManager::reloginAfterReboot(const DSC_SEARCH_RESPONSE_INFO* record) {
    return relogin(record, true);
}

int DeviceManager::relogin(const DSC_SEARCH_RESPONSE_INFO* record, bool afterReboot,
                           AddressLedger::Change change) {
    if (!record) {
        changeReloginEnded(change, ChangeRelogin::NotRenewed);
        return -1;
    }
    const std::string mac = fieldText(record->mac, sizeof record->mac);
    std::lock_guard<std::mutex> run(m_loginRun);
    LoginSlot* slot = nullptr;
    std::uint32_t old = 0;
    {
        std::lock_guard<std::mutex> lock(m_slotLock);
        if (const std::vector<int>* indices = mac.empty() ? nullptr : slotIndicesOf(mac))
            slot = &m_slots[static_cast<std::size_t>(indices->front())];
        // The login run is held: no login call is under way, the handle decides.
        if (slot && slot->renewable())
            old = slot->hIPCLogin;
        if (old != 0)
            slot->hIPCLogin = 0;
    }
    if (old == 0) {
        changeReloginEnded(change, ChangeRelogin::NotRenewed);
        if (!slot)
            return afterReboot ? -1 : 0;
        return 0; // never logged in: nothing to renew
    }
    KVX_NET_Logout(static_cast<int>(old));
    LoginEnd abandoned; // a relogin still awaiting its answer gets none now
    {
        std::lock_guard<std::mutex> lock(m_slotLock);
        if (slot->loggingIn())
            abandoned = takeLoginEnd(*slot, false);
        slot->owner = this;
        // The device may answer at a new address now (IP change, new network settings).
        copyField(slot->ip, sizeof slot->ip, record->ip, sizeof record->ip);
        slot->state = LoginSlot::LoggingIn;
        slot->startTick = GetTickCount();
        slot->inLoginCall = true;
        slot->change = change;
    }
    settleLogin(abandoned);
    callLogin(*record, slot, mac);
    return 0;
}

int DeviceManager::callLogin(const DSC_SEARCH_RESPONSE_INFO& record, LoginSlot* slot,
                             const std::string& mac) {
    const KvxLoginInfo info = loginRecord(record, slot);
    const int handle = KVX_NET_Login(&info);
    // Results are reported in the order the answers settle the slot.
    std::lock_guard<std::mutex> order(m_resultOrder);
    bool answered = false;
    LoginEnd end;
    {
        std::lock_guard<std::mutex> lock(m_slotLock);
        slot->inLoginCall = false;
        if (handle != 0) {
            slot->hIPCLogin = static_cast<std::uint32_t>(handle);
            answered = slot->state != LoginSlot::LoggingIn;
        } else if (slot->state == LoginSlot::LoggingIn) {
            slot->state = LoginSlot::Failed;
            end = takeLoginEnd(*slot, false);
        }
    }
    settleLogin(end);
    if (handle == 0) {
        notifyRowText(10, QString::fromStdString(mac), RowText::LoginFailed);
        Qx_Write_Log(600, "DeviceManager::callLogin", "[Line:%d] login refused, mac:%s", __LINE__,
                     mac.c_str());
    } else if (!answered) {
        notifyRowText(2, QString::fromStdString(mac), RowText::LoggingIn);
    }
    return handle;
}

void DeviceManager::logoutAll() {
    ++m_generation; // queued and in-flight logins of the old search no longer count
    {
        std::lock_guard<std::mutex> lock(m_taskLock);
        for (auto it = m_tasks.begin(); it != m_tasks.end();) {
            if (it->type == DeviceTask::Login)
                it = m_tasks.erase(it);
            else
                ++it;
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_nameLock);
        for (auto it = m_nameReads.begin(); it != m_nameReads.end();) {
            if (it->second.generation != m_generation.load()) {
                releaseNameReadLocked(it->second.mac);
                it = m_nameReads.erase(it);
            } else {
                ++it;
            }
        }
    }
    m_nameDone.notify_all();
    std::lock_guard<std::mutex> run(m_loginRun);
    std::vector<std::uint32_t> handles;
    std::vector<std::string> unnamed; // name reads that waited for these logins
    {
        std::lock_guard<std::mutex> lock(m_slotLock);
        for (auto& s : m_slots) {
            if (s.hIPCLogin != 0)
                handles.push_back(s.hIPCLogin);
            s.hIPCLogin = 0;
            if (s.nameWanted)
                unnamed.push_back(fieldText(s.mac, sizeof s.mac));
            s.nameWanted = false;
            s.mac[0] = '\0'; // every used slot, failed logins included
        }
        m_slotsByMac.clear();
    }
    for (const std::string& mac : unnamed)
        settleWantedName(-1, mac, false);
    for (std::uint32_t h : handles)
        KVX_NET_Logout(static_cast<int>(h));
    m_nextSlot = 0;
    m_loginCounter = 0;
    m_loginTotal = 0;
    m_totalKnown = false;
    clearSearchInfo();
}

// ---------------------------------------------------------------- SDK messages and the sweep

void DeviceManager::onSdkMessage(int handle, int message, void* param, void* user) {
    auto* slot = static_cast<LoginSlot*>(user);
    if (!slot || !slot->owner)
        return;
    slot->owner->handleSdkMessage(slot, handle, message, param);
}

void DeviceManager::handleSdkMessage(LoginSlot* slot, int handle, int message, void* param) {
    const auto h = static_cast<std::uint32_t>(handle);
    if (message == KVX_MSG_LOGIN_OK || message == KVX_MSG_LOGIN_FAILED) {
        std::lock_guard<std::mutex> order(m_resultOrder);
        QString mac;
        bool wantedName = false;
        LoginEnd end;
        {
            std::lock_guard<std::mutex> lock(m_slotLock);
            const bool ours = slot->hIPCLogin == h || (slot->hIPCLogin == 0 && slot->inLoginCall);
            if (!ours || slot->mac[0] == '\0')
                return; // a stale handle: not the slot's current login
            // A live session that drops out is failed too; other final results stay.
            const bool dropped =
                message == KVX_MSG_LOGIN_FAILED && slot->state == LoginSlot::LoggedIn && slot->hIPCLogin == h;
            if (slot->state != LoginSlot::LoggingIn && !dropped)
                return;
            if (slot->hIPCLogin == 0)
                slot->hIPCLogin = h;
            slot->state = message == KVX_MSG_LOGIN_OK ? LoginSlot::LoggedIn : LoginSlot::Failed;
            mac = QString::fromLatin1(slot->mac, static_cast<int>(fieldLength(slot->mac, sizeof slot->mac)));
            wantedName = slot->nameWanted;
            slot->nameWanted = false;
            if (!dropped)
                end = takeLoginEnd(*slot, message == KVX_MSG_LOGIN_OK);
        }
        settleLogin(end);
        notifyRowText(10, mac, message == KVX_MSG_LOGIN_OK ? RowText::LoginSuccessful : RowText::LoginFailed);
        if (wantedName)
            settleWantedName(slot->index, mac.toStdString(), message == KVX_MSG_LOGIN_OK);
        return;
    }
    if (message != KVX_MSG_UPGRADE_PROGRESS && message != KVX_MSG_UPGRADE_DONE &&
        message != KVX_MSG_UPGRADE_FAILED)
        return;
    if (message == KVX_MSG_UPGRADE_PROGRESS && !param)
        return;
    QStringList row;
    {
        std::lock_guard<std::mutex> lock(m_slotLock);
        if (slot->hIPCLogin != h || slot->mac[0] == '\0')
            return;
        row << QString::fromLatin1(slot->mac, static_cast<int>(fieldLength(slot->mac, sizeof slot->mac)))
            << QString::fromLatin1(slot->ip, static_cast<int>(fieldLength(slot->ip, sizeof slot->ip)));
    }
    int num = -1;
    if (message == KVX_MSG_UPGRADE_PROGRESS)
        num = *static_cast<int*>(param);
    else if (message == KVX_MSG_UPGRADE_DONE)
        num = 100;
    emit upgradeDate(row, num);
}

void DeviceManager::onCheckLoginTimerSlot() {
    const std::uint64_t now = GetTickCount();
    std::vector<std::pair<std::uint32_t, QString>> expired;
    std::vector<LoginEnd> ends;
    std::vector<std::string> unnamed; // name reads that waited for these logins
    {
        std::lock_guard<std::mutex> order(m_resultOrder);
        std::lock_guard<std::mutex> lock(m_slotLock);
        for (auto& s : m_slots) {
            if (s.mac[0] == '\0' || s.state != LoginSlot::LoggingIn || s.inLoginCall)
                continue;
            if (now < s.startTick || now - s.startTick <= static_cast<std::uint64_t>(kLoginLimitMs))
                continue;
            s.state = LoginSlot::TimedOut;
            ends.push_back(takeLoginEnd(s, false));
            expired.emplace_back(
                s.hIPCLogin, QString::fromLatin1(s.mac, static_cast<int>(fieldLength(s.mac, sizeof s.mac))));
            s.hIPCLogin = 0;
            if (s.nameWanted)
                unnamed.push_back(expired.back().second.toStdString());
            s.nameWanted = false;
        }
    }
    for (const auto& e : expired) {
        if (e.first != 0)
            KVX_NET_Logout(static_cast<int>(e.first));
        notifyRowText(10, e.second, RowText::LoginFailed);
    }
    for (const LoginEnd& end : ends)
        settleLogin(end);
    for (const std::string& mac : unnamed)
        settleWantedName(-1, mac, false);
}

// ---------------------------------------------------------------- login table

std::vector<LoginSlot> DeviceManager::slotsForMac(const std::string& mac) {
    std::vector<LoginSlot> out;
    if (mac.empty())
        return out;
    std::lock_guard<std::mutex> lock(m_slotLock);
    if (const std::vector<int>* indices = slotIndicesOf(mac)) {
        for (int index : *indices)
            out.push_back(m_slots[static_cast<std::size_t>(index)]);
    }
    return out;
}

const std::vector<int>* DeviceManager::slotIndicesOf(const std::string& mac) const {
    const auto it = m_slotsByMac.find(mackey::key(mac));
    return it == m_slotsByMac.end() || it->second.empty() ? nullptr : &it->second;
}

LoginSlot DeviceManager::slotAt(int index) {
    std::lock_guard<std::mutex> lock(m_slotLock);
    if (index < 0 || index >= kLoginSlots)
        return LoginSlot();
    return m_slots[index];
}
