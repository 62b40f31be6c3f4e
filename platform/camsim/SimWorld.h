// The simulated world: the fleet of cameras, the SDK's logins and streams, the search and
// modification runs, fault injection and the call log. One per process (instance()).
#pragma once

#include "SimCallLog.h"
#include "SimControl.h"
#include "SimDispatcher.h"
#include "SimUpTable.h"
#include "kvxnet/DscSearch.h"
#include "kvxnet/KvxNetSdk.h"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class SimWorld {
public:
    static SimWorld& instance();
    SimWorld();
    ~SimWorld();

    // SDK
    int startup();
    int cleanup();
    int setWaitTime(int a, int b, int c);
    int login(const KvxLoginInfo* info);
    int logout(int handle);
    int reboot(int handle);
    int restore(int handle, KvxRestoreInfo* record);
    // Plain get/set of a stored family record of size bytes.
    int getFamily(const char* function, int handle, const char* family, void* record, std::size_t size,
                  std::vector<long long> args);
    int setFamily(const char* function, int handle, const char* family, void* record, std::size_t size,
                  std::vector<long long> args);
    int getNetProperty(int handle, KvxNetProperty* record);
    int setNetProperty(int handle, KvxNetProperty* record);
    int setAgreement(int handle, int channel, KvxAgreementProperty* record, int count);
    int setEncodingPro(int handle, KvxEncodingPropertyPro* record);
    int setVideoParam(int handle, int channel, KvxVideoParam* record);
    int getStorage(int handle, int channel, int type, int maxCount, KvxStorageInfo* record, int count,
                   int* length);
    int userConfig(int handle, KvxUserConfig* record, int type);
    int upgradeFileProperty(int handle, KvxUpgradeFileProperty* record);
    int upgrade(int handle, const char* path);
    int ptz(int handle, KvxPtzCommand* record);
    int clientStart(int handle, const KvxLoginInfo* info, int reserved);
    int clientSetWnd(int stream, unsigned int window);
    int clientStop(int stream);
    int streamFamily(const char* function, int stream, bool set, void* record, std::size_t size);
    int streamSwitch(const char* function, int stream, std::vector<long long> args);

    // Search library
    int startSearch(int seconds, const char* card, DscSearchCallBack callback, void* user, int fullNetcom);
    int stopSearch();
    int modifyNetInfo(const DSC_MODIFY_NETINFO_REQUEST* request, DscModifyNetInfoCallBack callback,
                      void* user);
    int stopModify();

    // Control
    void useFleet(const std::vector<camsim::CameraProfile>& cameras);
    void reset();
    std::vector<camsim::CameraProfile> fleet();
    bool findCamera(const std::string& key, camsim::CameraProfile* out);
    void setOnline(const std::string& mac, bool online);
    void rebootCamera(const std::string& mac);
    std::vector<std::uint8_t> paramBytes(const std::string& mac, const std::string& family);
    bool setParamBytes(const std::string& mac, const std::string& family,
                       const std::vector<std::uint8_t>& bytes);
    void inject(const camsim::Injection& injection);
    void clearInjections();
    void releaseHeldCalls(const std::string& mac);
    int heldCalls(const std::string& mac);
    void setTiming(const camsim::Timing& timing);
    camsim::Timing timing();
    SimCallLog& log() { return m_log; }
    void setCallRecording(bool on);
    int startupCount();
    int sessionCount();
    int liveSessionCount();
    int streamCount();
    std::string stateFilePath() const { return m_statePath; }

private:
    struct Camera {
        int id = 0;
        camsim::CameraProfile profile;
        bool online = true;
        bool rebootPending = false;
        std::string pendingIp;                        // address taken when the camera goes offline
        SimDispatcher::Clock::time_point busyUntil{}; // a pending reboot waits for this
        int bootGen = 0;
        int onvifEnable = 1;
        std::map<std::string, std::vector<std::uint8_t>> params;
    };
    enum class LoginState { Pending, Live, Failed };
    struct Session {
        int handle = 0;
        std::uint64_t channel = 0;
        LoginState state = LoginState::Pending;
        std::string address;
        std::uint32_t port = 0;
        std::string user;
        std::string password;
        int cameraId = 0; // after the login answer
        int bootGen = 0;
        KvxMessageCallBack callback = nullptr;
        void* userData = nullptr;
        // When the answer is due; a call on the handle after that sees the login settled even
        // if this thread has not delivered the answer yet.
        std::chrono::steady_clock::time_point answerDue = std::chrono::steady_clock::time_point::max();
        bool answered = false; // the callback has had its answer
    };
    struct Stream {
        int handle = 0;
        int login = 0;
        unsigned int window = 0;
        int streamNo = 0;
        bool audio = false;
        bool talk = false;
    };
    struct Act {
        bool fail = false;
        bool silent = false;
        int delayMs = 0;
        bool held = false;
        std::string camera; // MAC of the camera the call reached
    };

    Camera* cameraById(int id);
    Camera* cameraByAddress(const std::string& address);
    Camera* cameraByMac(const std::string& mac);
    Camera* cameraByKey(const std::string& key);
    // The camera behind a live login whose camera is up and has not rebooted since.
    Camera* liveCamera(int handle);
    Act match(const std::string& function, const Camera* camera);
    void applyDelay(const Act& act);
    void defaultParams(Camera& camera);
    void scheduleReboot(Camera& camera);
    void goOffline(int cameraId, int epoch, std::chrono::steady_clock::time_point offlineAt);
    int settleLogin(Session& s);
    // A camera restarts only once its calls are answered (SimRebootHold.cpp).
    void holdReboot(Camera& camera, int delayMs);
    bool rebootHeld(Camera& camera, int epoch);
    void comeOnline(int cameraId, int epoch, int bootGen);
    // The ping table's entry of an address: up when an online camera holds it.
    void publishAddress(const std::string& address);
    // Moves a camera to a new address, in its profile and in the address index.
    void moveCamera(Camera& camera, const std::string& address);
    void indexFleet();
    void deliverLogin(int handle);
    std::vector<int> dropStreamsOf(int loginHandle);
    DSC_SEARCH_RESPONSE_INFO searchRecord(const Camera& camera) const;
    void answerModify(const DSC_MODIFY_NETINFO_REQUEST& request, DscModifyNetInfoCallBack callback,
                      void* user, bool fail);
    void sendMessage(int handle, int message, int value);
    template <class F>
    int onCamera(const char* function, int handle, std::vector<long long> args, void* record,
                 std::size_t size, F body, int failValue = 0);
    void logCall(const char* function, std::vector<long long> args, const std::string& text,
                 const Camera* camera, std::vector<std::uint8_t> in, const void* out, std::size_t outSize,
                 long long result);
    std::vector<camsim::CameraProfile> initialFleet();

    std::mutex m_mutex;
    std::vector<std::unique_ptr<Camera>> m_cameras;
    // Camera ids by address (in fleet order) and by MAC (the first), kept with every change.
    std::unordered_map<std::string, std::vector<int>> m_idsByAddress;
    std::unordered_map<std::string, int> m_idByMac;
    std::map<int, Session> m_sessions;
    std::map<int, Stream> m_streams;
    std::vector<camsim::Injection> m_injections;
    // Held calls wait outside m_mutex for a release.
    std::mutex m_holdLock;
    std::condition_variable m_holdWake;
    std::uint64_t m_releases = 0;                      // releases of every held call
    std::map<std::string, std::uint64_t> m_releasesOf; // of the calls to one camera
    std::map<std::string, int> m_heldNow;              // held calls by camera
    camsim::Timing m_timing;
    int m_startups = 0;
    int m_nextHandle = 1;
    int m_nextStream = 1;
    int m_nextCameraId = 1;
    int m_epoch = 0;
    std::uint64_t m_searchChannel = 0;
    std::uint64_t m_modifyChannel = 0;
    std::uint64_t m_modifyEndSeq = 0;
    SimDispatcher::Clock::time_point m_modifyLastAnswer{};
    std::string m_statePath;
    SimUpTable m_upTable; // written in place under m_mutex; the stand-in ping reads it
    bool m_ownStateFile = false;
    SimCallLog m_log;
    bool m_recordCalls = true; // under m_mutex
    SimDispatcher m_dispatcher;
};
