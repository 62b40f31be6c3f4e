// Client framework: the parameter store. Settings and parameter records, kept in memory and
// written to one file on every change. Thread-safe: every access holds one mutex.
#pragma once

#include "ozmlogic/ParamRecords.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <mutex>

class ParamsMgr {
public:
    // The store file's name inside its folder.
    static constexpr const char* kFileName = "ParamStore.bin";
    // Largest file a valid store can have; a larger one is refused unread.
    static std::size_t maxFileSize();

    // Limits and defaults of the settings.
    static constexpr int kSearchTimeMin = 5;
    static constexpr int kSearchTimeMax = 10;
    static constexpr int kDefaultSearchTime = 5;
    static constexpr int kDefaultStream = 1; // sub stream: the preview grid may show ten devices
    static constexpr int kWaitTimeMin = 1;
    static constexpr int kWaitTimeMax = 86400;
    static constexpr int kDefaultWaitTime = 360;

    // A store on "folder/ParamStore.bin"; creates the folder and loads the file (a missing or
    // damaged file gives the defaults).
    explicit ParamsMgr(const QString& folder);
    ParamsMgr(const ParamsMgr&) = delete;
    ParamsMgr& operator=(const ParamsMgr&) = delete;

    // CORVANE_CONFIG_DIR, else the user's configuration folder + "/Corvane".
    static QString defaultFolder();
    QString filePath() const;

    // Search time of the LAN search in seconds, 5..10 (clamped).
    int getSearchTime() const;
    bool setSearchTime(int seconds);
    // Preview stream: 0 main, 1 sub (other values are refused).
    int getStream() const;
    bool setStream(int stream);
    // Full-netcom flag of the LAN search, 0 or 1 (non-zero stored as 1).
    int getSearchFullNetcom() const;
    bool setSearchFullNetcom(int on);
    // Language code "zh_CN" or "en_US" (other codes are refused); in effect from the next start.
    QString currentLanCode() const;
    bool setCurrentLanCode(const QString& code);
    // Time limit of the other-parameter run in seconds, 1..86400 (clamped).
    int getWaitInfo() const;
    bool setWaitInfo(int seconds);
    // The last full-netcom choice of the main window, 0 or 1 (non-zero stored as 1).
    int getFullNetcom() const;
    bool setFullNetcom(int value);

    QString appName() const;
    QString manufacturers() const;
    QString version() const;

    // Records: a get fills the caller's record with the bytes of the last set (all zeros when
    // never set); a set stores a copy. Null pointers are ignored.
    // Every set returns false when the value was refused or the file could not be written (the
    // value is then kept in memory only and the old file stays as it was).
    void getIpInfo(OZM::_SC_SETIP_DATA_* info) const;
    bool setIpInfo(const OZM::_SC_SETIP_DATA_* info);
    void getOtherParamEnable(OZM::SC_OTHERPARAMENABLE* info) const;
    bool setOtherParamEnable(const OZM::SC_OTHERPARAMENABLE* info);
    void getTcpIpInfo(OZM::_SC_TCP_IP_DATA* info) const;
    bool setTcpIpInfo(const OZM::_SC_TCP_IP_DATA* info);
    void getPortParamInfo(OZM::_SC_PORT_DATA* info) const;
    bool setPortParamInfo(const OZM::_SC_PORT_DATA* info);
    void getDDNSInfo(OZM::_SC_DDNS_DATA* info) const;
    bool setDDNSInfo(const OZM::_SC_DDNS_DATA* info);
    // P2P: 1 on, 0 off (any value other than 1 is stored as 0).
    int getP2PInfo() const;
    bool setP2pInfo(int on);
    void getGb28181Info(OZM::_SC_GB28181_DATA* info) const;
    bool setGb28181Info(const OZM::_SC_GB28181_DATA* info);
    void getVideoInfo(OZM::_SC_SETVIDEO_DATA_* info) const;
    bool setVideoInfo(const OZM::_SC_SETVIDEO_DATA_* info);
    void getAudioInfo(OZM::_SC_SETAUDIO_DATA_* info) const;
    bool setAudioInfo(const OZM::_SC_SETAUDIO_DATA_* info);
    void getOsdInfo(OZM::_SC_SETOSD_DATA_* info) const;
    bool setOsdInfo(const OZM::_SC_SETOSD_DATA_* info);
    void getImageInfo(OZM::_SC_IMAGE_DATA_* info) const;
    bool setImageInfo(const OZM::_SC_IMAGE_DATA_* info);
    void getPrivacyMaskInfo(OZM::_SC_SETPRIVACYMASKINFO_DATA_* info) const;
    bool setPrivacyMaskInfo(const OZM::_SC_SETPRIVACYMASKINFO_DATA_* info);
    void getAlarmInfo(OZM::_SC_ALARM_DATA_* info) const;
    bool setAlarmInfo(const OZM::_SC_ALARM_DATA_* info);
    void getAccountInfo(OZM::_SC_ACCOUNT_DATA* info) const;
    bool setAccountInfo(const OZM::_SC_ACCOUNT_DATA* info);
    void getTimeInfo(OZM::_SC_SETTIME_DATA_* info) const;
    bool setTimeInfo(const OZM::_SC_SETTIME_DATA_* info);
    void getMaintainInfo(OZM::_SC_SETRESTARTREGULARLY_DATA_* info) const;
    bool setMaintainInfo(const OZM::_SC_SETRESTARTREGULARLY_DATA_* info);
    void getAudioBoard(OZM::_SC_SETAUDIOINPUT_DATA_* info) const;
    bool setAudioBoard(const OZM::_SC_SETAUDIOINPUT_DATA_* info);

    // False after the last write of the file failed (the value is kept in memory).
    bool lastSaveOk() const;

private:
    struct Values {
        std::int32_t searchTime = kDefaultSearchTime;
        std::int32_t stream = kDefaultStream;
        std::int32_t searchFullNetcom = 0;
        std::int32_t waitTime = kDefaultWaitTime;
        std::int32_t fullNetcom = 0;
        std::int32_t p2p = 0;
        QByteArray lanCode = "en_US";
        OZM::_SC_SETIP_DATA_ ip{};
        OZM::SC_OTHERPARAMENABLE enable{};
        OZM::_SC_TCP_IP_DATA tcpIp{};
        OZM::_SC_PORT_DATA port{};
        OZM::_SC_DDNS_DATA ddns{};
        OZM::_SC_GB28181_DATA gb28181{};
        OZM::_SC_SETVIDEO_DATA_ video{};
        OZM::_SC_SETAUDIO_DATA_ audio{};
        OZM::_SC_SETOSD_DATA_ osd{};
        OZM::_SC_IMAGE_DATA_ image{};
        OZM::_SC_SETPRIVACYMASKINFO_DATA_ privacy{};
        OZM::_SC_ALARM_DATA_ alarm{};
        OZM::_SC_ACCOUNT_DATA account{};
        OZM::_SC_SETTIME_DATA_ time{};
        OZM::_SC_SETRESTARTREGULARLY_DATA_ maintain{};
        OZM::_SC_SETAUDIOINPUT_DATA_ audioBoard{};
    };

    template <typename T> void getRecord(const T& stored, T* out) const;
    template <typename T> bool setRecord(T& stored, const T* in, const char* function);
    bool setInt(std::int32_t& stored, std::int32_t value, const char* function);

    void load(); // mutex held or not yet shared
    bool saveLocked(const char* function);
    void removeStaleTemporaries(); // of saves that never finished

    QString _folder;
    QString _path;
    mutable std::mutex _mutex;
    Values _values;
    bool _lastSaveOk = true;
};

// The one store of the process, on ParamsMgr::defaultFolder().
ParamsMgr* ozmParamsMgr();
