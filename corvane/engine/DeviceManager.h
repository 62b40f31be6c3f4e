// The engine: logs the found cameras in through the camera SDK and keeps the search
// information of the last search (one record per MAC) and the login table (1024 slots).
// Results go out as notification messages through the client framework's channel.
#pragma once

#include "AddressLedger.h"
#include "DeviceTask.h"
#include "LoginSlot.h"
#include "NewAddressRule.h"
#include "OtherParamResultInfo.h"
#include "OtherParamTemplates.h"
#include "RowTexts.h"
#include "kvxnet/DscSearchRecords.h"
#include "ozmlogic/IClientUiElement.h"

#include <QList>
#include <QMutex>
#include <QPointer>
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
#include <set>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

class modifyupgradewidget;
class ProgressBarDialog;
class QEventLoop;

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

    // Search-information map: value copies under one lock, one record per MAC key (MacKey.h).
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
    // change: the IP change the relogin follows; its end is kept for changeRelogin.
    int reloginDevice(const DSC_SEARCH_RESPONSE_INFO* record, AddressLedger::Change change = 0);
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

    // Other-parameter run (DeviceManagerOtherParam.cpp; the family appliers in
    // DeviceManagerParams.cpp and DeviceManagerMediaParams.cpp). Program milliseconds.
    static constexpr int kOtherCheckMs = 2000;          // result check timer
    static constexpr int kOtherStepGapMs = 1000;        // before every family but DDNS
    static constexpr int kRebootSettleMs = 20000;       // after a restart, and after the relogin
    static constexpr int kRebootPingMs = 60000;         // how long a restarted device is pinged
    static constexpr int kRebootPingPauseMs = 100;      // from the start of one ping to the next
    static constexpr int kRebootAnswers = 9;            // answers that count as "back"
    static constexpr int kOtherJoinLimitRealMs = 15000; // shut-down wait for device threads
    static constexpr int kOtherBusyPollRealMs = 20;     // a new run looks for an earlier run's threads
    // How long a new run waits for an earlier run's device threads on its cameras (a restart
    // wait takes up to 100 s); cameras still busy then are left out of the run.
    static constexpr int kOtherBusyWaitMs = 120000;

    // Runs the stored families on the rows; modal until the result table is closed. -1 when no
    // family is enabled, else 0.
    int startOtherParamConfig(QVector<QStringList> rows);
    // The run's time limit in seconds for devices rows and the stored wait time.
    static int otherParamTimeLimit(const OZM::SC_OTHERPARAMENABLE& flags, int devices, int waitSeconds);
    // Used when the address answers a ping or is not a dotted IPv4 address, Free when it does
    // not, NoVerdict when the ping gave none.
    static newaddress::Verdict pingDevice(const QString& address);
    // A copy of the current run's result records.
    std::vector<OtherParamResultInfo> otherParamResults();
    int otherParamWaitTime() const { return m_otherWaitTime.load(); }
    // Device threads of all runs that have not finished yet.
    int otherParamThreads();

    // New addresses on their way to a camera. Both address batches pass over an address the
    // ledger holds, unpinged: its camera may not answer there yet. The engine tells it of the
    // search answers, the logins and the run's address changes.
    AddressLedger& addressLedger() { return m_ledger; }
    // How an IP change's own relogin ended (DeviceManagerAddresses.cpp): Pending until then;
    // NotRenewed when there was no handle to renew.
    enum class ChangeRelogin { Pending, LoggedIn, Failed, NotRenewed };
    ChangeRelogin changeRelogin(AddressLedger::Change change);
    // Whether a relogin of the device would renew its login (a handle, also of a failed or
    // dropped session, or a login call under way).
    bool reloginRenews(const std::string& mac);

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

    // Other-parameter run: its end, the family appliers (row column 8 is the MAC, column 19
    // the new address) and the result check timer.
    void onModifyOtherParamEnd();
    int modifyTcpInfo(QStringList* qstrList);
    int modifyPortInfo(QStringList* qstrList);
    void modifyDDNSInfo(QStringList* qstrList);
    void modifyP2PInfo(QStringList* qstrList);
    void modify28181Info(QStringList* qstrList);
    void modifyVideoInfo(QStringList* qstrList, int* needReboot);
    void modifyAudioInfo(QStringList* qstrList);
    void modifyOSDInfo(QStringList* qstrList);
    void modifyImageInfo(QStringList* qstrList, int* needReboot);
    void modifyPrivacyInfo(QStringList* qstrList);
    void modifyAlarmInfo(QStringList* qstrList);
    void modifyAccount(QStringList* qstrList);
    void modifyTimeInfo(QStringList* qstrList);
    void modifyMaintain(QStringList* qstrList);
    void modifyAudioBoard(QStringList* qstrList);
    void onCheckTimerSlot();

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
    // A row text of the list (RowTextList.h) for the device, as code's payload.
    void notifyRowText(int code, const QString& mac, RowText text);
    void notifyDone();
    void checkAllAttempted();
    // Logs out whatever handle the device's slot holds (a refused or dropped login too) and logs
    // in again; a slot without a handle is left alone. No slot with the MAC: -1 after a reboot,
    // else 0.
    int relogin(const DSC_SEARCH_RESPONSE_INFO* record, bool afterReboot, AddressLedger::Change change = 0);
    // Calls the SDK's login for a prepared slot and records the handle; reports a refused call
    // at once and "Logging in..." while no answer has come. Returns the handle (0: refused).
    int callLogin(const DSC_SEARCH_RESPONSE_INFO& record, LoginSlot* slot, const std::string& mac);
    void handleSdkMessage(LoginSlot* slot, int handle, int message, void* param);

    // The end of one login attempt, taken from its slot under m_slotLock and reported with
    // settleLogin once that lock is let go: a success is a sighting of the camera at the
    // login's address, and a change's relogin has its end.
    struct LoginEnd {
        bool ended = false;
        bool loggedIn = false;
        std::string mac;
        std::string ip;
        AddressLedger::Change change = 0;
    };
    static LoginEnd takeLoginEnd(LoginSlot& slot, bool loggedIn);
    void settleLogin(const LoginEnd& end);
    void changeReloginEnded(AddressLedger::Change change, ChangeRelogin outcome);
    AddressLedger m_ledger;
    std::mutex m_changeLock;
    std::map<AddressLedger::Change, ChangeRelogin> m_changeRelogins;

    // Search-information map, by MAC key.
    std::mutex m_mapLock;
    std::map<std::string, DSC_SEARCH_RESPONSE_INFO> m_searchInfo;

    // Login table. m_slotLock guards every slot field; m_loginRun serialises a login attempt
    // against logoutAll; m_resultOrder keeps a login's status texts in order.
    std::mutex m_slotLock;
    std::array<LoginSlot, kLoginSlots> m_slots;
    // The slots of each MAC key in index order, kept with every change of a slot's MAC.
    std::unordered_map<std::string, std::vector<int>> m_slotsByMac;
    // The slot indices of a MAC, or null; m_slotLock held.
    const std::vector<int>* slotIndicesOf(const std::string& mac) const;
    std::mutex m_loginRun;
    std::mutex m_resultOrder;
    std::atomic<int> m_nextSlot{0};     // slots handed out since the last logoutAll
    std::atomic<int> m_loginCounter{0}; // logins attempted (name read included) since then
    std::atomic<int> m_loginTotal{0};
    std::atomic<bool> m_totalKnown{false};
    std::atomic<std::uint64_t> m_generation{1};

    // Worker and its queue.
    std::atomic<int> m_stop{0};
    std::mutex m_taskLock;
    std::condition_variable m_taskWake;
    std::deque<DeviceTask> m_tasks;
    std::thread m_worker;

    // Name reads, each due kOsdReadDelayMs after its own login call, served in due order by one
    // thread so that the worker goes on to the next login at once.
    struct NameRead {
        std::uint64_t generation = 0;
        int slot = -1; // -1: the login took no slot; it is only counted
        std::string mac;
        bool counts = true; // false: the read waited for the login's success, which was counted
    };
    void nameReadLoop();
    void scheduleNameRead(std::uint64_t dueTick, const NameRead& read);
    void readName(const NameRead& read);
    std::mutex m_nameLock;
    std::condition_variable m_nameWake;
    std::multimap<std::uint64_t, NameRead> m_nameReads;  // due program tick -> read, in call order
    std::unordered_map<std::string, int> m_namesPending; // reads not done yet, per MAC
    std::condition_variable m_nameDone;
    bool m_nameStop = false;
    // Waits until the device's name reads are done (a full recovery follows its login's
    // read); false when the engine stops meanwhile.
    bool waitNameReads(const std::string& mac);
    void nameReadEnded(const std::string& mac);
    void releaseNameReadLocked(const std::string& mac); // m_nameLock held
    // The slot's login settled (or the slot was let go): its waiting name read is made now on
    // success, else dropped. Neither lock held.
    void settleWantedName(int slot, const std::string& mac, bool succeeded);
    std::thread m_nameReader;

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

    // Other-parameter run.
    // Each device thread sleeps on its own wake-up, so that a thousand sleeping threads do not
    // share one lock.
    struct OtherSleeper {
        std::mutex lock;
        std::condition_variable wake;
    };
    struct OtherDeviceThread {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
        std::string mac;
        std::shared_ptr<OtherSleeper> sleeper;
    };
    static thread_local OtherSleeper* t_otherSleeper; // the device thread's own, else null
    void initOtherParam();
    void stopOtherParam();
    // leftOut: MACs that an earlier run's device threads still work on; they get a record
    // without a device thread.
    void configOtherParamThd(QVector<QStringList> rows, OtherParamJob job, std::set<std::string> leftOut);
    // claim: the ledger's change of the row's new address (column 19). The thread lets it go if
    // it never sends it; once sent, only the ledger's evidence ends it.
    void startOtherDeviceThread(QStringList row, const OtherParamJob& job, AddressLedger::Change claim);
    void handleModifyOtherParam(QStringList* row);
    // Sleeps in program time; false when the engine is shutting down.
    bool otherSleep(int programMs);
    bool otherStopping() const { return m_otherStop.load(); }
    // Waits for a restarted device (settle, ping, relogin, settle again unless lastStep).
    // True when the address answered.
    bool rebootWait(const QString& mac, bool lastStep);
    bool pingUntilBack(const std::string& address);
    // The calling device thread's run, or the latest run's records outside a device thread.
    OtherParamJob currentJob();
    // The login slot of the row's MAC (first in index order); false when none.
    bool otherLoginSlot(const QStringList* row, LoginSlot* out);
    // What an applier works with: its run's records and the device's login.
    struct ApplierContext {
        OtherParamJob job;
        LoginSlot slot;
        std::string ip; // the slot's address, named in the log lines
        int handle = 0;
        bool loggedIn = false;
        const OtherParamTemplates& templates() const { return *job.templates; }
    };
    // The appliers' common prologue. False when the applier has no effect at all (no run, or
    // no login slot with the row's MAC). A device that is not logged in gets the line
    // "[Line:N] <notLoggedIn>, ip:IP" under the applier's name (none when notLoggedIn is
    // null), N being the caller's own source line.
    bool openApplier(const QStringList* row, const char* function, const char* notLoggedIn,
                     ApplierContext* out, int line = __builtin_LINE());
    // Status text and result of one family (steps 8 and 9 of an applier). On success
    // beforeText runs before the status text, afterText after it and before the result (the
    // family's extra effects and notifications).
    void finishFamily(const QString& mac, int family, bool ok, RowText okText, RowText failText,
                      const std::function<void()>& beforeText = nullptr,
                      const std::function<void()>& afterText = nullptr);
    void setOtherResult(std::uint64_t runId, const QString& mac, int family, int value);
    // The time limit: the unreached rows get records, every pending family of every record is
    // timed out (result 3) with its failure text.
    void timeOutOtherRecords(const QVector<QStringList>& unreached, const OZM::SC_OTHERPARAMENABLE& flags);
    void reapOtherThreads(bool all);
    // Those of these MACs that a device thread of any run still works on.
    std::set<std::string> busyOtherMacs(const std::set<std::string>& macs);
    void wakeOtherSleepers();

    QPointer<ProgressBarDialog> m_otherProgress;
    QEventLoop* m_otherLoop = nullptr; // the busy indicator's modal loop
    bool m_otherShown = false;         // the result table was shown and closed
    QTimer* m_otherCheckTimer = nullptr;
    std::mutex m_otherLock; // every field below up to the start tick
    std::vector<OtherParamResultInfo> m_otherResults;
    std::unordered_map<std::string, std::size_t> m_otherResultOfMac; // first record of each MAC key
    std::set<std::size_t> m_otherLeftOut;    // records of cameras left out as still busy
    QVector<QStringList> m_otherRows;        // the run's checked rows
    int m_otherReached = 0;                  // rows the configuration thread has dealt with
    OZM::SC_OTHERPARAMENABLE m_otherFlags{}; // the run's flags, as its records copy them
    std::uint64_t m_otherRunId = 0;
    bool m_otherConfigDone = true;
    bool m_otherEnded = true;
    bool m_otherRangeUsedUp = false; // the run's new addresses ran out
    std::shared_ptr<const OtherParamTemplates> m_otherTemplates;
    std::atomic<std::uint64_t> m_otherStartTick{0};
    std::atomic<int> m_otherWaitTime{360};
    std::thread m_otherConfigThread;
    std::mutex m_otherThreadLock;
    std::vector<OtherDeviceThread> m_otherThreads;
    std::mutex m_otherSleepLock; // sleeps outside the device threads
    std::condition_variable m_otherSleepWake;
    std::atomic<bool> m_otherStop{false};
};
