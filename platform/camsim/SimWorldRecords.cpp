// The simulated world: the SDK's commands, parameter records and live streams.
#include "SimWorld.h"
#include "SimWorldText.h"

#include "SimAddress.h"
#include "SimPictures.h"
#include "quillet/Quillet.h"
#include "winport/WinPort.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextCodec>

#include <algorithm>
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace simworld;

// One command on a logged-in camera: the injection, the call, its log entry.
template <class F>
int SimWorld::onCamera(const char* function, int handle, std::vector<long long> args, void* record,
                       std::size_t size, F body, int failValue) {
    args.insert(args.begin(), handle);
    std::vector<std::uint8_t> in = bytesOf(record, size);
    Act act;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        act = match(function, liveCamera(handle));
        if (Camera* c = liveCamera(handle))
            holdReboot(*c, act.delayMs);
    }
    applyDelay(act);
    std::lock_guard<std::mutex> lock(m_mutex);
    Camera* camera = liveCamera(handle);
    int result = failValue;
    if (camera && record && !act.fail && !act.silent)
        result = body(*camera);
    logCall(function, std::move(args), std::string(), camera, std::move(in), record, size, result);
    return result;
}

// ---------------------------------------------------------------- SDK: commands and records

int SimWorld::reboot(int handle) {
    char none = 0;
    return onCamera("KVX_NET_Reboot", handle, {}, &none, 0, [this](Camera& c) {
        scheduleReboot(c);
        return 1;
    });
}

int SimWorld::restore(int handle, KvxRestoreInfo* record) {
    return onCamera("KVX_NET_RestoreDefaultNew", handle, {}, record, sizeof *record,
                    [this, record](Camera& c) {
                        c.profile.user = kDefaultUser;
                        c.profile.password = kDefaultPassword;
                        c.profile.httpPort = 80;
                        c.profile.rtspPort = 554;
                        if (record->full == 1) {
                            c.profile.httpsPort = 443;
                            c.profile.onvifPort = 8000;
                            c.onvifEnable = 1;
                            defaultParams(c);
                        }
                        scheduleReboot(c);
                        return 1;
                    });
}

int SimWorld::getFamily(const char* function, int handle, const char* family, void* record, std::size_t size,
                        std::vector<long long> args) {
    return onCamera(function, handle, std::move(args), record, size, [&](Camera& c) {
        auto it = c.params.find(family);
        if (it == c.params.end())
            return 0;
        std::memcpy(record, it->second.data(), std::min(size, it->second.size()));
        return 1;
    });
}

int SimWorld::setFamily(const char* function, int handle, const char* family, void* record, std::size_t size,
                        std::vector<long long> args) {
    return onCamera(function, handle, std::move(args), record, size, [&](Camera& c) {
        auto it = c.params.find(family);
        if (it == c.params.end())
            return 0;
        std::memcpy(it->second.data(), record, std::min(size, it->second.size()));
        if (std::strcmp(family, "osd") == 0) {
            const auto* osd = static_cast<const KvxOsdInfo*>(record);
            c.profile.name = gbk()
                                 ->toUnicode(QByteArray::fromStdString(getText(osd->text, sizeof osd->text)))
                                 .toStdString();
        }
        return 1;
    });
}

int SimWorld::getNetProperty(int handle, KvxNetProperty* record) {
    return onCamera("KVX_NET_GetNetPropertyEx", handle, {}, record, sizeof *record, [record](Camera& c) {
        std::memcpy(record, c.params["net"].data(), sizeof *record);
        record->dhcp = static_cast<std::uint8_t>(c.profile.dhcp);
        putText(record->ip, sizeof record->ip, c.profile.ip);
        putText(record->mask, sizeof record->mask, c.profile.mask);
        putText(record->gateway, sizeof record->gateway, c.profile.gateway);
        putText(record->dns, sizeof record->dns, c.profile.dns);
        record->fullNetcom = static_cast<std::uint8_t>(c.profile.fullNetcom);
        return 1;
    });
}

int SimWorld::setNetProperty(int handle, KvxNetProperty* record) {
    return onCamera("KVX_NET_SetNetPropertyEx", handle, {}, record, sizeof *record,
                    [this, record](Camera& c) {
                        const std::string ip = getText(record->ip, sizeof record->ip);
                        const std::string mask = getText(record->mask, sizeof record->mask);
                        const std::string gateway = getText(record->gateway, sizeof record->gateway);
                        const std::string dns = getText(record->dns, sizeof record->dns);
                        if (!simaddr::isLoopback(ip))
                            return 0;
                        for (const auto& other : m_cameras) {
                            if (other.get() != &c && (other->profile.ip == ip || other->pendingIp == ip))
                                return 0;
                        }
                        bool change = ip != c.profile.ip || (record->dhcp ? 1 : 0) != c.profile.dhcp;
                        if (simaddr::parse(mask, nullptr)) {
                            change = change || mask != c.profile.mask;
                            c.profile.mask = mask;
                        }
                        if (simaddr::parse(gateway, nullptr)) {
                            change = change || gateway != c.profile.gateway;
                            c.profile.gateway = gateway;
                        }
                        if (simaddr::parse(dns, nullptr))
                            c.profile.dns = dns;
                        c.profile.dhcp = record->dhcp ? 1 : 0;
                        c.profile.fullNetcom = record->fullNetcom ? 1 : 0;
                        std::memcpy(c.params["net"].data(), record, sizeof *record);
                        if (ip != c.profile.ip)
                            c.pendingIp = ip;
                        if (change)
                            scheduleReboot(c);
                        return 1;
                    });
}

int SimWorld::setAgreement(int handle, int channel, KvxAgreementProperty* record, int count) {
    return onCamera("KVX_NET_SetAgreementProperty", handle, {channel, count}, record, sizeof *record,
                    [this, record](Camera& c) {
                        const int port = record->port;
                        if (port < 1)
                            return 0;
                        int* field = nullptr;
                        switch (record->protocol) {
                        case KVX_AGREEMENT_RTSP:
                            field = &c.profile.rtspPort;
                            break;
                        case KVX_AGREEMENT_HTTPS:
                            field = &c.profile.httpsPort;
                            break;
                        case KVX_AGREEMENT_ONVIF:
                            field = &c.profile.onvifPort;
                            c.onvifEnable = record->onvifEnable;
                            break;
                        case KVX_AGREEMENT_HTTP:
                            field = &c.profile.httpPort;
                            break;
                        default:
                            return 0;
                        }
                        if (*field != port) {
                            *field = port;
                            scheduleReboot(c);
                        }
                        return 1;
                    });
}

int SimWorld::setEncodingPro(int handle, KvxEncodingPropertyPro* record) {
    return onCamera(
        "KVX_NET_SetEncodingPropertyPro", handle, {}, record, sizeof *record, [this, record](Camera& c) {
            KvxEncodingPropertyPro old{};
            std::memcpy(&old, c.params["encPro"].data(), sizeof old);
            const bool reboot = (old.mainStream.width == 2304) != (record->mainStream.width == 2304) ||
                                old.mainStream.h265Plus != record->mainStream.h265Plus;
            std::memcpy(c.params["encPro"].data(), record, sizeof *record);
            if (reboot)
                scheduleReboot(c);
            return 1;
        });
}

int SimWorld::setVideoParam(int handle, int channel, KvxVideoParam* record) {
    return onCamera(
        "KVX_NET_ClientSetVideoParam2", handle, {channel}, record, sizeof *record, [this, record](Camera& c) {
            const bool reboot = c.params["videoParam"][offsetof(KvxVideoParam, flicker)] != record->flicker;
            std::memcpy(c.params["videoParam"].data(), record, sizeof *record);
            if (reboot)
                scheduleReboot(c);
            return 1;
        });
}

int SimWorld::getStorage(int handle, int channel, int type, int maxCount, KvxStorageInfo* record, int count,
                         int* length) {
    return onCamera("KVX_NET_GetStorageInfo2", handle, {channel, type, maxCount, count}, record,
                    sizeof *record, [record, length](Camera& c) {
                        record->cardUnavailable = c.profile.sdCardPresent ? 0 : 1;
                        record->totalCapacity = c.profile.sdCardPresent ? c.profile.sdTotal : 0;
                        record->freeCapacity = c.profile.sdCardPresent ? c.profile.sdFree : 0;
                        if (length)
                            *length = static_cast<int>(sizeof *record);
                        return 1;
                    });
}

int SimWorld::userConfig(int handle, KvxUserConfig* record, int type) {
    return onCamera("KVX_NET_UserConfig", handle, {type}, record, sizeof *record, [record](Camera& c) {
        const std::string user = getText(record->user, sizeof record->user);
        if (user.empty())
            return 0;
        c.profile.user = user;
        c.profile.password = getText(record->password, sizeof record->password);
        return 1;
    });
}

int SimWorld::upgradeFileProperty(int handle, KvxUpgradeFileProperty* record) {
    return onCamera(
        "KVX_NET_GetUpgradeFileProperty", handle, {}, record, sizeof *record,
        [record](Camera&) {
            const bool empty = std::all_of(record->header, record->header + sizeof record->header,
                                           [](std::uint8_t b) { return b == 0; });
            return empty ? KVX_UPGRADE_PACKAGE_REJECTED : 1;
        },
        KVX_UPGRADE_PACKAGE_REJECTED);
}

int SimWorld::upgrade(int handle, const char* path) {
    Act act;
    Act outcome;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Camera* c = liveCamera(handle);
        act = match("KVX_NET_Upgrade", c);
        outcome = match("KVX_NET_Upgrade:result", c);
    }
    applyDelay(act);
    const QString file = path ? gbk()->toUnicode(path) : QString();
    const bool readable = path && QFileInfo(file).isFile() && QFileInfo(file).isReadable();
    std::lock_guard<std::mutex> lock(m_mutex);
    Camera* c = liveCamera(handle);
    int result = -1;
    if (c && readable && !act.fail) {
        result = 0;
        if (!act.silent) {
            const std::uint64_t channel = m_sessions[handle].channel;
            const int step = m_timing.upgradeStepMs;
            for (int k = 0; k < 5; ++k) {
                m_dispatcher.post(SimDispatcher::dueIn(step * (k + 1)), channel, [this, handle, k] {
                    sendMessage(handle, KVX_MSG_UPGRADE_PROGRESS, k * 20);
                });
            }
            const int message = outcome.fail ? KVX_MSG_UPGRADE_FAILED : KVX_MSG_UPGRADE_DONE;
            m_dispatcher.post(SimDispatcher::dueIn(step * 6), channel,
                              [this, handle, message] { sendMessage(handle, message, 0); });
        }
    }
    logCall("KVX_NET_Upgrade", {handle}, path ? std::string(path) : std::string(), c, {}, nullptr, 0, result);
    return result;
}

int SimWorld::ptz(int handle, KvxPtzCommand* record) {
    return onCamera("KVX_NET_PTZCtrl", handle, {}, record, sizeof *record, [](Camera&) { return 1; });
}

// ---------------------------------------------------------------- SDK: streams

int SimWorld::clientStart(int handle, const KvxLoginInfo* info, int reserved) {
    const std::vector<std::uint8_t> in = bytesOf(info, info ? offsetof(KvxLoginInfo, userData) : 0);
    int result = -1;
    unsigned int window = 0;
    int streamNo = 0;
    std::string address;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_sessions.find(handle);
        Camera* camera = it != m_sessions.end() ? cameraByAddress(it->second.address) : nullptr;
        const Act act = match("KVX_NET_ClientStart", camera);
        if (m_startups > 0 && info && it != m_sessions.end() && it->second.state != LoginState::Failed &&
            !act.fail && !act.silent) {
            Stream s;
            s.handle = m_nextStream++;
            s.login = handle;
            s.window = info->window;
            s.streamNo = static_cast<int>(info->stream);
            m_streams[s.handle] = s;
            result = s.handle;
            window = s.window;
            streamNo = s.streamNo;
            address = it->second.address;
        }
        logCall("KVX_NET_ClientStart", {handle, reserved}, address, camera, in, nullptr, 0, result);
    }
    if (result > 0 && window != 0)
        SimPictures::show(result, window, QString::fromStdString(address), streamNo);
    return result;
}

int SimWorld::clientSetWnd(int stream, unsigned int window) {
    int result = 0;
    int streamNo = 0;
    std::string address;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_streams.find(stream);
        if (it != m_streams.end()) {
            it->second.window = window;
            streamNo = it->second.streamNo;
            auto s = m_sessions.find(it->second.login);
            if (s != m_sessions.end())
                address = s->second.address;
            result = 1;
        }
        logCall("KVX_NET_ClientSetWnd", {stream, window}, std::string(), nullptr, {}, nullptr, 0, result);
    }
    if (result)
        SimPictures::show(stream, window, QString::fromStdString(address), streamNo);
    return result;
}

int SimWorld::clientStop(int stream) {
    int result = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        result = m_streams.erase(stream) ? 1 : 0;
        logCall("KVX_NET_ClientStop", {stream}, std::string(), nullptr, {}, nullptr, 0, result);
    }
    if (result)
        SimPictures::remove({stream});
    return result;
}

int SimWorld::streamFamily(const char* function, int stream, bool set, void* record, std::size_t size) {
    std::vector<std::uint8_t> in = bytesOf(record, size);
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_streams.find(stream);
    Camera* camera = it != m_streams.end() ? liveCamera(it->second.login) : nullptr;
    const Act act = match(function, camera);
    int result = 0;
    if (camera && record && !act.fail && !act.silent) {
        auto& bytes = camera->params["videoCover"];
        if (set)
            std::memcpy(bytes.data(), record, std::min(size, bytes.size()));
        else
            std::memcpy(record, bytes.data(), std::min(size, bytes.size()));
        result = 1;
    }
    logCall(function, {stream}, std::string(), camera, std::move(in), record, size, result);
    return result;
}

int SimWorld::streamSwitch(const char* function, int stream, std::vector<long long> args) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_streams.find(stream);
    Camera* camera = nullptr;
    if (it != m_streams.end()) {
        auto s = m_sessions.find(it->second.login);
        if (s != m_sessions.end())
            camera = cameraByAddress(s->second.address);
    }
    const Act act = match(function, camera);
    int result = 0;
    if (it != m_streams.end() && !act.fail && !act.silent) {
        const std::string name = function;
        if (name == "KVX_NET_ClientPlayAudio")
            it->second.audio = true;
        else if (name == "KVX_NET_ClientStopAudio")
            it->second.audio = false;
        else if (name == "KVX_NET_ClientStartTalk2")
            it->second.talk = true;
        else if (name == "KVX_NET_ClientStopTalk")
            it->second.talk = false;
        result = 1;
    }
    args.insert(args.begin(), stream);
    logCall(function, std::move(args), std::string(), camera, {}, nullptr, 0, result);
    return result;
}
