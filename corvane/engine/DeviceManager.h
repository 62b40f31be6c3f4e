// The engine: logs the found cameras in through the camera SDK and keeps the search
// information of the last search (one record per MAC) and the login table (1024 slots).
// Results go out as notification messages through the client framework's channel.
#pragma once

#include "DeviceTask.h"
#include "LoginSlot.h"
#include "kvxnet/DscSearchRecords.h"
#include "ozmlogic/IClientUiElement.h"

#include <QList>
#include <QMutex>
#include <QStringList>
#include <QVector>
#include <QTimer>
#include <QWidget>

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class modifyupgradewidget;

class DeviceManager : public QWidget, public IClientUiElement {
    Q_OBJECT

public:
    static constexpr int kLoginSlots = 1024;
    static constexpr int kLoginCheckMs = 6000;    // login time-out sweep interval
    static constexpr int kLoginLimitMs = 30000;   // a login still unanswered after this has failed
    static constexpr int kReloginDelayMs = 20000; // a relogin request is served this much later
    static constexpr int kOsdReadDelayMs = 1000;  // pause between the login call and the name read

    explicit DeviceManager(QWidget* parent = nullptr);
    ~DeviceManager() override;

    // Search-information map: value copies under one lock.
    // A copy of the stored record, or null for an empty or unknown MAC.
    std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> findSearchInfo(const std::string& mac);
    // Stores a copy of the record; a record of the same MAC is replaced. 0, or -1 for an
    // empty MAC or a null record.
    int addSearchInfo(const std::string& mac, const DSC_SEARCH_RESPONSE_INFO* record);
    void removeSearchInfo(const std::string& mac);
    void clearSearchInfo();
    int searchInfoCount();
    // Writes the account (each read up to its 32-byte field, stored with a terminator) and,
    // with resetHttpPort, HTTP port 80 into the stored record.
    void setSearchInfoAccount(const std::string& mac, const char* user, const char* password,
                              bool resetHttpPort);
    // Edits the stored record under the map's lock; false when the MAC is unknown.
    bool updateSearchInfo(const std::string& mac, const std::function<void(DSC_SEARCH_RESPONSE_INFO&)>& edit);

    // Logins. Every task keeps its own copy of the record.
    int addLoginTask(const DSC_SEARCH_RESPONSE_INFO* record);
    int loginDevice(const DSC_SEARCH_RESPONSE_INFO* record);
    int reloginDevice(const DSC_SEARCH_RESPONSE_INFO* record);
    int reloginDeviceNow(const DSC_SEARCH_RESPONSE_INFO* record);
    int reloginAfterReboot(const DSC_SEARCH_RESPONSE_INFO* record);
    void logoutAll();

    // The main window passes every notification except code 6; code 5 is the login total.
    void setNotify(const OZM::_NOTIFY_PARAM* param) override;
    static void onSdkMessage(int handle, int message, void* param, void* user);
    static bool sleepMs(int ms);

    // Login table, read for the batch operations: copies of the slots whose MAC equals mac,
    // in index order.
    std::vector<LoginSlot> slotsForMac(const std::string& mac);
    LoginSlot slotAt(int index);
    int loginCount() const { return m_loginCounter.load(); }
    int pendingLoginTasks();
    int pendingRelogins();

    // Batch operations on checked device rows (DeviceManagerBatches.cpp).
    void batchSyncTime(QVector<QStringList> rows);
    int rebootDevices(QStringList row);
    int simpleRecoveryDevices(QStringList row);
    int fullRecoveryDevices(QStringList row);
    void batchModifyOSD(QVector<QStringList> rows);
    void checkSDCard(QVector<QStringList> rows);
    void batchTenZoom(QVector<QStringList> rows);

    // Firmware upgrade (DeviceManagerUpgrade.cpp); returns when the upgrade window closes.
    void batchUpgrade(QVector<QStringList> rows, QString filePath);
    modifyupgradewidget* upgradeWindow() const { return m_upgradeWindow; }
    QList<QStringList> upgradeResults();

signals:
    void modifyOtherParamEnd();
    void upgradeDate(QStringList rowList, int num);

public slots:
    void reLogionSlot();
    void onCheckLoginTimerSlot();
    // One device's upgrade progress; row item 1 is its IP.
    void onUpgradeProgress(QStringList row, int num);
    // The upgrade window gave up on a device that stopped reporting.
    void onUpgradeStalled(const QString& ip);

protected:
    // The slot itself, as the SDK callback receives it.
    LoginSlot* slotPointer(int index) {
        return index >= 0 && index < kLoginSlots ? &m_slots[index] : nullptr;
    }

private:
    void initTimers();
    void taskLoop();
    // Runs one task of the worker queue (logins; other task types join here).
    void runTask(DeviceTask& task);
    void notifyTexts(int code, const QStringList& texts);
    void notifyDone();
    void checkAllAttempted();
    // Logs out whatever handle the device's slot holds (a refused or dropped login too) and logs
    // in again; a slot without a handle is left alone. No slot with the MAC: -1 after a reboot,
    // else 0.
    int relogin(const DSC_SEARCH_RESPONSE_INFO* record, bool afterReboot);
    // Calls the SDK's login for a prepared slot and records the handle; reports a refused call
    // at once and "Logging in..." while no answer has come. Returns the handle (0: refused).
    int callLogin(const DSC_SEARCH_RESPONSE_INFO& record, LoginSlot* slot, const std::string& mac);
    void handleSdkMessage(LoginSlot* slot, int handle, int message, void* param);

    // Search-information map.
    std::mutex m_mapLock;
    std::map<std::string, DSC_SEARCH_RESPONSE_INFO> m_searchInfo;

    // Login table. m_slotLock guards every slot field; m_loginRun serialises a login attempt
    // against logoutAll; m_resultOrder keeps a login's status texts in order.
    std::mutex m_slotLock;
    std::array<LoginSlot, kLoginSlots> m_slots;
    std::mutex m_loginRun;
    std::mutex m_resultOrder;
    std::atomic<int> m_nextSlot{0};     // next slot to fill
    std::atomic<int> m_loginCounter{0}; // logins attempted since the last logoutAll
    std::atomic<int> m_loginTotal{0};
    std::atomic<bool> m_totalKnown{false};
    std::atomic<std::uint64_t> m_generation{1};

    // Worker and its queue.
    std::atomic<int> m_stop{0};
    std::mutex m_taskLock;
    std::condition_variable m_taskWake;
    std::deque<DeviceTask> m_tasks;
    std::thread m_worker;

    // Relogin queue, served on the GUI thread.
    std::mutex m_reloginLock;
    std::deque<DeviceTask> _login_param_queue;

    QTimer* m_loginCheckTimer = nullptr;

    // Batches.
    void rebootDevice(const QStringList* row);
    void simpleRecovery(const QStringList* row);
    void fullRecovery(const QStringList* row);

    // Firmware upgrade: the window of the last batch (a child of the engine) and one entry
    // [IP, progress, state] per device address, guarded by m_upgradeLock.
    modifyupgradewidget* m_upgradeWindow = nullptr;
    QMutex m_upgradeLock;
    QList<QStringList> m_upgradeResults;
    QStringList m_upgradeKeys;
};
