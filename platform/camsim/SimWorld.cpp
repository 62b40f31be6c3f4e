#include "SimWorld.h"

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

namespace {

const char kDefaultUser[] = "mivel";
const char kDefaultPassword[] = "mivel";

// Bounded copy into a fixed text field; always terminated.
void putText(char* field, std::size_t size, const std::string& text) {
    if (size == 0)
        return;
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, size - n);
}

// Reads a text field up to its terminator, never past the field.
std::string getText(const char* field, std::size_t size) {
    std::size_t n = 0;
    while (n < size && field[n] != '\0')
        ++n;
    return std::string(field, n);
}

std::vector<std::uint8_t> bytesOf(const void* record, std::size_t size) {
    if (!record || size == 0)
        return {};
    const auto* p = static_cast<const std::uint8_t*>(record);
    return std::vector<std::uint8_t>(p, p + size);
}

QTextCodec* gbk() {
    QTextCodec* codec = QTextCodec::codecForName("GBK");
    return codec ? codec : QTextCodec::codecForLocale();
}

template <class T> std::vector<std::uint8_t> recordBytes(const T& record) {
    return bytesOf(&record, sizeof record);
}

} // namespace

SimWorld& SimWorld::instance() {
    static SimWorld world;
    return world;
}

SimWorld::SimWorld() {
    const char* state = std::getenv("CORVANE_SIM_STATE");
    if (state && *state) {
        m_statePath = state;
    } else {
        m_statePath =
            QDir(QDir::tempPath())
                .filePath(QStringLiteral("corvane-sim-%1.state").arg(static_cast<qint64>(::getpid())))
                .toStdString();
        m_ownStateFile = true;
    }
    useFleet(initialFleet());
}

SimWorld::~SimWorld() {
    m_dispatcher.clear();
    if (m_ownStateFile)
        std::remove(m_statePath.c_str());
}

std::vector<camsim::CameraProfile> SimWorld::initialFleet() {
    const char* path = std::getenv("CORVANE_SIM_FLEET");
    if (path && *path) {
        std::vector<camsim::CameraProfile> fleet;
        std::string error;
        if (camsim::readFleetFile(path, &fleet, &error))
            return fleet;
        Qx_Write_Log(300, "camsim", "fleet file %s not used: %s", path, error.c_str());
        std::fprintf(stderr, "camsim: fleet file %s not used: %s\n", path, error.c_str());
    }
    return camsim::defaultFleet(8);
}

// ---------------------------------------------------------------- lookup and helpers

SimWorld::Camera* SimWorld::cameraById(int id) {
    // useFleet numbers a fleet's cameras consecutively in list order.
    if (m_cameras.empty() || id < m_cameras.front()->id)
        return nullptr;
    const auto at = static_cast<std::size_t>(id - m_cameras.front()->id);
    return at < m_cameras.size() ? m_cameras[at].get() : nullptr;
}

SimWorld::Camera* SimWorld::cameraByAddress(const std::string& address) {
    for (auto& c : m_cameras) {
        if (c->profile.ip == address)
            return c.get();
    }
    return nullptr;
}

SimWorld::Camera* SimWorld::cameraByMac(const std::string& mac) {
    if (mac.empty())
        return nullptr;
    for (auto& c : m_cameras) {
        if (c->profile.mac == mac)
            return c.get();
    }
    return nullptr;
}

SimWorld::Camera* SimWorld::cameraByKey(const std::string& key) {
    Camera* c = cameraByMac(key);
    return c ? c : cameraByAddress(key);
}

SimWorld::Camera* SimWorld::liveCamera(int handle) {
    if (m_startups <= 0)
        return nullptr;
    auto it = m_sessions.find(handle);
    if (it == m_sessions.end())
        return nullptr;
    if (it->second.state == LoginState::Pending && it->second.answerDue <= SimDispatcher::Clock::now())
        settleLogin(it->second);
    if (it->second.state != LoginState::Live)
        return nullptr;
    Camera* c = cameraById(it->second.cameraId);
    if (!c || !c->online || c->bootGen != it->second.bootGen)
        return nullptr;
    return c;
}

SimWorld::Act SimWorld::match(const std::string& function, const Camera* camera) {
    Act act;
    for (auto& inj : m_injections) {
        const bool cameraMatches =
            inj.camera == "*" ||
            (camera && (inj.camera == camera->profile.mac || inj.camera == camera->profile.ip));
        // "*" stands for every real call, not for the pseudo-calls ("name:aspect").
        const bool callMatches =
            (inj.call == "*" && function.find(':') == std::string::npos) || inj.call == function;
        if (!cameraMatches || !callMatches || inj.times == 0)
            continue;
        if (inj.times > 0)
            --inj.times;
        act.fail = inj.fail;
        act.silent = inj.silent;
        act.delayMs = inj.delayMs;
        break;
    }
    return act;
}

void SimWorld::applyDelay(const Act& act) {
    if (act.delayMs > 0)
        Sleep(static_cast<DWORD>(act.delayMs));
}

void SimWorld::logCall(const char* function, std::vector<long long> args, const std::string& text,
                       const Camera* camera, std::vector<std::uint8_t> in, const void* out,
                       std::size_t outSize, long long result) {
    camsim::CallRecord r;
    r.function = function;
    r.args = std::move(args);
    r.text = text;
    if (camera)
        r.camera = camera->profile.mac;
    r.in = std::move(in);
    r.out = bytesOf(out, outSize);
    r.result = result;
    m_log.add(std::move(r));
}

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

void SimWorld::defaultParams(Camera& c) {
    c.params.clear();
    KvxOsdInfo osd{};
    osd.showTime = 1;
    osd.showText = 1;
    putText(osd.text, sizeof osd.text,
            gbk()->fromUnicode(QString::fromStdString(c.profile.name)).toStdString());
    c.params["osd"] = recordBytes(osd);

    KvxTimeParam time{};
    const QDateTime now = QDateTime::currentDateTime();
    time.year = static_cast<std::uint16_t>(now.date().year());
    time.month = static_cast<std::uint8_t>(now.date().month());
    time.day = static_cast<std::uint8_t>(now.date().day());
    time.hour = static_cast<std::uint8_t>(now.time().hour());
    time.minute = static_cast<std::uint8_t>(now.time().minute());
    time.second = static_cast<std::uint8_t>(now.time().second());
    putText(time.ntpServer, sizeof time.ntpServer, "pool.ntp.example");
    std::vector<std::uint8_t> timeBytes = recordBytes(time);
    timeBytes.resize(KVX_TIME_PARAM_SDK_BYTES);
    c.params["time"] = timeBytes;

    c.params["dst"] = std::vector<std::uint8_t>(sizeof(KvxDstProperty), 0);
    c.params["cpld"] = std::vector<std::uint8_t>(sizeof(KvxCpldData), 0);
    c.params["net"] = std::vector<std::uint8_t>(sizeof(KvxNetProperty), 0);
    c.params["ddns"] = std::vector<std::uint8_t>(sizeof(KvxDdnsInfo), 0);
    c.params["p2p"] = std::vector<std::uint8_t>(sizeof(KvxP2pInfo), 0);
    KvxGb28181Params gb{};
    gb.serverPort = 5060;
    gb.localSipPort = 5060;
    c.params["gb28181"] = recordBytes(gb);

    KvxEncodingScope scope{};
    const struct {
        std::uint32_t w, h, fps;
    } mainSizes[] = {{2304, 1296, 20}, {1920, 1080, 25}, {1280, 720, 30}},
      subSizes[] = {{720, 480, 25}, {640, 480, 30}};
    auto fill = [](KvxEncodingScopeBlock& block, const auto& sizes, int count) {
        block.codec1Count = static_cast<std::uint8_t>(count);
        block.codec2Count = static_cast<std::uint8_t>(count);
        for (int i = 0; i < count; ++i) {
            block.codec1[i].width = block.codec2[i].width = sizes[i].w;
            block.codec1[i].height = block.codec2[i].height = sizes[i].h;
            block.codec1[i].maxFrameRate = block.codec2[i].maxFrameRate = sizes[i].fps;
        }
    };
    fill(scope.block[0], mainSizes, 3);
    fill(scope.block[1], subSizes, 2);
    c.params["encScope"] = recordBytes(scope);

    KvxEncodingPropertyPro enc{};
    enc.mainStream.width = 1920;
    enc.mainStream.height = 1080;
    enc.mainStream.frameRate = 25;
    enc.mainStream.bitrate = 4096;
    enc.mainStream.iFrameInterval = 50;
    enc.subStream.width = 640;
    enc.subStream.height = 480;
    enc.subStream.frameRate = 25;
    enc.subStream.bitrate = 512;
    enc.subStream.iFrameInterval = 50;
    c.params["encPro"] = recordBytes(enc);

    KvxAudioInfo audio{};
    audio.enable = 1;
    audio.outputVolume = 50;
    audio.inputVolume = 50;
    c.params["audio"] = recordBytes(audio);
    KvxAudioEncoding audioEnc{};
    audioEnc.selector = 52;
    audioEnc.codec = 16;
    c.params["audioEnc"] = recordBytes(audioEnc);

    c.params["fillLight"] = std::vector<std::uint8_t>(sizeof(KvxFillLightSettings), 0);
    KvxVideoParam video{};
    video.luminance = video.contrast = video.saturation = video.sharpness = 50;
    video.flicker = 1;
    c.params["videoParam"] = recordBytes(video);
    c.params["videoCover"] = std::vector<std::uint8_t>(sizeof(KvxVideoCover), 0);
    c.params["md"] = std::vector<std::uint8_t>(sizeof(KvxMotionDetectInfo), 0);
    c.params["alarm"] = std::vector<std::uint8_t>(sizeof(KvxAlarmProperty), 0);
    c.params["rebootEx"] = std::vector<std::uint8_t>(sizeof(KvxRebootExProperty), 0);
}

// ---------------------------------------------------------------- online state and reboots

void SimWorld::writeState() {
    std::string text;
    for (const auto& c : m_cameras) {
        if (c->online)
            text += "up " + c->profile.ip + "\n";
    }
    const std::string tmp = m_statePath + ".tmp" + std::to_string(static_cast<long long>(::getpid()));
    // The temporary name is predictable: never follow a link planted there.
    std::remove(tmp.c_str());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    FILE* f = ::fdopen(fd, "w");
    if (!f) {
        ::close(fd);
        std::remove(tmp.c_str());
        return;
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) == 0 && ok)
        std::rename(tmp.c_str(), m_statePath.c_str());
    else
        std::remove(tmp.c_str());
}

void SimWorld::scheduleReboot(Camera& c) {
    if (!c.online || c.rebootPending)
        return;
    c.rebootPending = true;
    const int id = c.id;
    const int epoch = m_epoch;
    const auto offlineAt = SimDispatcher::dueIn(m_timing.rebootGraceMs);
    m_dispatcher.post(offlineAt, 0, [this, id, epoch, offlineAt] { goOffline(id, epoch, offlineAt); });
}

void SimWorld::goOffline(int cameraId, int epoch, SimDispatcher::Clock::time_point offlineAt) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Camera* c = cameraById(cameraId);
    if (epoch != m_epoch || !c || !c->rebootPending || rebootHeld(*c, epoch))
        return;
    c->rebootPending = false;
    c->online = false;
    if (!c->pendingIp.empty()) {
        c->profile.ip = c->pendingIp;
        c->pendingIp.clear();
    }
    const int gen = ++c->bootGen;
    writeState();
    // Back rebootMs after the due time of going offline, however late this task ran: the
    // camera's timeline does not stretch when this thread is starved.
    const auto backAt = offlineAt + (SimDispatcher::dueIn(c->profile.rebootMs) - SimDispatcher::Clock::now());
    m_dispatcher.post(backAt, 0, [this, cameraId, epoch, gen] { comeOnline(cameraId, epoch, gen); });
}

void SimWorld::comeOnline(int cameraId, int epoch, int bootGen) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Camera* c = cameraById(cameraId);
    if (epoch != m_epoch || !c || c->bootGen != bootGen || c->online)
        return;
    c->online = true;
    writeState();
}

// ---------------------------------------------------------------- SDK: start-up and login

int SimWorld::startup() {
    std::lock_guard<std::mutex> lock(m_mutex);
    ++m_startups;
    logCall("KVX_NET_Startup", {}, std::string(), nullptr, {}, nullptr, 0, 1);
    return 1;
}

int SimWorld::cleanup() {
    std::vector<std::uint64_t> channels;
    std::vector<int> streams;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_startups > 0)
            --m_startups;
        if (m_startups == 0) {
            for (const auto& s : m_sessions)
                channels.push_back(s.second.channel);
            m_sessions.clear();
            for (const auto& s : m_streams)
                streams.push_back(s.first);
            m_streams.clear();
        }
        logCall("KVX_NET_Cleanup", {}, std::string(), nullptr, {}, nullptr, 0, 1);
    }
    for (auto ch : channels)
        m_dispatcher.close(ch);
    SimPictures::remove(streams);
    return 1;
}

int SimWorld::setWaitTime(int a, int b, int c) {
    std::lock_guard<std::mutex> lock(m_mutex);
    logCall("KVX_NET_SetWaitTime", {a, b, c}, std::string(), nullptr, {}, nullptr, 0, 1);
    return 1;
}

int SimWorld::login(const KvxLoginInfo* info) {
    const std::string address = info ? getText(info->address, sizeof info->address) : std::string();
    const std::vector<std::uint8_t> in = bytesOf(info, info ? offsetof(KvxLoginInfo, userData) : 0);
    int result = 0;
    Act returnLater;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Camera* camera = cameraByAddress(address);
        const Act act = match("KVX_NET_Login", camera);
        returnLater = match("KVX_NET_Login:return", camera);
        if (m_startups > 0 && info && !act.fail) {
            Session s;
            s.handle = m_nextHandle++;
            s.channel = m_dispatcher.newChannel();
            s.address = address;
            s.port = info->port;
            s.user = getText(info->user, sizeof info->user);
            s.password = getText(info->password, sizeof info->password);
            s.callback = info->callback;
            s.userData = info->userData;
            const int handle = s.handle;
            const bool silent = act.silent || (camera && camera->profile.silentLogin);
            const int delay = (camera ? camera->profile.loginDelayMs : 100) + act.delayMs;
            if (!silent) {
                s.answerDue = SimDispatcher::dueIn(delay);
                m_dispatcher.post(s.answerDue, s.channel, [this, handle] { deliverLogin(handle); });
            }
            m_sessions[handle] = s;
            result = handle;
        }
        std::vector<long long> args;
        if (info)
            args = {info->port,    info->stream,  info->window,
                    info->flag204, info->flag206, info->deviceTypeFlag};
        logCall("KVX_NET_Login", args, address, camera, in, nullptr, 0, result);
    }
    // The call may return after its answer has been delivered.
    applyDelay(returnLater);
    return result;
}

void SimWorld::deliverLogin(int handle) {
    KvxMessageCallBack callback = nullptr;
    void* user = nullptr;
    int message = KVX_MSG_LOGIN_FAILED;
    std::vector<int> dropped;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_sessions.find(handle);
        if (it == m_sessions.end() || it->second.answered)
            return;
        Session& s = it->second;
        if (s.state == LoginState::Pending)
            message = settleLogin(s);
        else if (s.state == LoginState::Live)
            message = KVX_MSG_LOGIN_OK; // settled by an earlier call on the handle
        else if (s.state != LoginState::Failed)
            return;
        s.answered = true;
        if (message != KVX_MSG_LOGIN_OK)
            dropped = dropStreamsOf(handle);
        callback = s.callback;
        user = s.userData;
    }
    SimPictures::remove(dropped);
    if (callback)
        callback(handle, message, nullptr, user);
}

// The camera's answer as of its due time; the caller holds the lock.
int SimWorld::settleLogin(Session& s) {
    Camera* c = cameraByAddress(s.address);
    const bool ok = c && c->online && s.port == static_cast<std::uint32_t>(c->profile.httpPort) &&
                    s.user == c->profile.user && s.password == c->profile.password;
    if (!ok) {
        s.state = LoginState::Failed;
        return KVX_MSG_LOGIN_FAILED;
    }
    s.state = LoginState::Live;
    s.cameraId = c->id;
    s.bootGen = c->bootGen;
    return KVX_MSG_LOGIN_OK;
}

void SimWorld::sendMessage(int handle, int message, int value) {
    KvxMessageCallBack callback = nullptr;
    void* user = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_sessions.find(handle);
        if (it == m_sessions.end() || it->second.state != LoginState::Live)
            return;
        callback = it->second.callback;
        user = it->second.userData;
    }
    int param = value;
    if (callback)
        callback(handle, message, message == KVX_MSG_UPGRADE_PROGRESS ? &param : nullptr, user);
}

std::vector<int> SimWorld::dropStreamsOf(int loginHandle) {
    std::vector<int> dropped;
    for (auto it = m_streams.begin(); it != m_streams.end();) {
        if (it->second.login == loginHandle) {
            dropped.push_back(it->first);
            it = m_streams.erase(it);
        } else {
            ++it;
        }
    }
    return dropped;
}

int SimWorld::logout(int handle) {
    std::uint64_t channel = 0;
    std::vector<int> streams;
    int result = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_sessions.find(handle);
        Camera* camera = nullptr;
        if (it != m_sessions.end()) {
            camera = cameraById(it->second.cameraId);
            channel = it->second.channel;
            streams = dropStreamsOf(handle);
            m_sessions.erase(it);
            result = 1;
        }
        logCall("KVX_NET_Logout", {handle}, std::string(), camera, {}, nullptr, 0, result);
    }
    if (channel)
        m_dispatcher.close(channel);
    SimPictures::remove(streams);
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

// ---------------------------------------------------------------- search library

DSC_SEARCH_RESPONSE_INFO SimWorld::searchRecord(const Camera& c) const {
    DSC_SEARCH_RESPONSE_INFO r;
    std::memset(&r, 0, sizeof r);
    putText(r.tag, sizeof r.tag, DSC_TAG);
    r.type = DSC_TYPE_FOUND;
    r.dhcp = static_cast<std::uint8_t>(c.profile.dhcp);
    r.fullNetcom = static_cast<std::uint8_t>(c.profile.fullNetcom);
    r.column3Flag = static_cast<std::uint8_t>(c.profile.column3Flag);
    putText(r.ip, sizeof r.ip, c.profile.ip);
    putText(r.mask, sizeof r.mask, c.profile.mask);
    putText(r.gateway, sizeof r.gateway, c.profile.gateway);
    putText(r.dns, sizeof r.dns, c.profile.dns);
    putText(r.mac, sizeof r.mac, c.profile.mac);
    r.httpPort = htonl(static_cast<std::uint32_t>(c.profile.httpPort));
    r.rtspPort = htonl(static_cast<std::uint32_t>(c.profile.rtspPort));
    r.number296 = 1;
    r.number300 = static_cast<std::uint32_t>(c.profile.httpsPort);
    putText(r.deviceType, sizeof r.deviceType, c.profile.deviceType);
    putText(r.text384, sizeof r.text384, c.profile.model);
    putText(r.serial, sizeof r.serial, c.profile.serial);
    putText(r.user, sizeof r.user, c.profile.user);
    putText(r.password, sizeof r.password, c.profile.password);
    return r;
}

int SimWorld::startSearch(int seconds, const char* card, DscSearchCallBack callback, void* user,
                          int fullNetcom) {
    const std::string cardText = card ? getText(card, 64) : std::string();
    std::uint64_t old = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        old = m_searchChannel;
        m_searchChannel = 0;
    }
    if (old)
        m_dispatcher.close(old);
    std::lock_guard<std::mutex> lock(m_mutex);
    int result = -1;
    // "KVX_NET_StartSearchDevice:start" with fail refuses the search as a whole.
    const bool refused = match("KVX_NET_StartSearchDevice:start", nullptr).fail;
    if (callback && !refused) {
        const std::uint64_t channel = m_dispatcher.newChannel();
        m_searchChannel = channel;
        auto last = SimDispatcher::Clock::now();
        int index = 0;
        for (const auto& c : m_cameras) {
            const Act act = match("KVX_NET_StartSearchDevice", c.get());
            if (!c->online || act.fail || act.silent)
                continue;
            const auto due = SimDispatcher::dueIn(m_timing.searchFirstAnswerMs +
                                                  m_timing.searchAnswerStepMs * index + act.delayMs);
            ++index;
            last = std::max(last, due);
            const int id = c->id;
            m_dispatcher.post(due, channel, [this, id, callback, user] {
                DSC_SEARCH_RESPONSE_INFO record;
                {
                    std::lock_guard<std::mutex> inner(m_mutex);
                    Camera* cam = cameraById(id);
                    if (!cam || !cam->online)
                        return;
                    record = searchRecord(*cam);
                }
                callback(&record, user);
            });
        }
        const auto end = std::max(SimDispatcher::dueIn(std::max(seconds, 0) * 1000.0),
                                  last + std::chrono::microseconds(1));
        m_dispatcher.post(end, channel, [this, channel, callback, user] {
            {
                std::lock_guard<std::mutex> inner(m_mutex);
                if (m_searchChannel == channel)
                    m_searchChannel = 0;
            }
            callback(nullptr, user);
        });
        result = 0;
    }
    logCall("KVX_NET_StartSearchDevice", {seconds, fullNetcom}, cardText, nullptr, {}, nullptr, 0, result);
    return result;
}

int SimWorld::stopSearch() {
    std::uint64_t channel = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        channel = m_searchChannel;
        m_searchChannel = 0;
        logCall("KVX_NET_StopSearchDevice", {}, std::string(), nullptr, {}, nullptr, 0, 0);
    }
    if (channel)
        m_dispatcher.close(channel);
    return 0;
}

int SimWorld::modifyNetInfo(const DSC_MODIFY_NETINFO_REQUEST* request, DscModifyNetInfoCallBack callback,
                            void* user) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::uint8_t> in = bytesOf(request, request ? sizeof *request : 0);
    if (!request || !callback) {
        logCall("KVX_NET_ModifyNetInfo", {}, std::string(), nullptr, std::move(in), nullptr, 0, -1);
        return -1;
    }
    const DSC_MODIFY_NETINFO_REQUEST req = *request;
    if (m_modifyChannel == 0) {
        m_modifyChannel = m_dispatcher.newChannel();
        m_modifyLastAnswer = SimDispatcher::Clock::now();
    }
    const std::uint64_t channel = m_modifyChannel;
    Camera* camera = cameraByMac(getText(req.mac2, sizeof req.mac2));
    if (!camera)
        camera = cameraByMac(getText(req.mac, sizeof req.mac));
    if (!camera)
        camera = cameraByMac(getText(req.mac3, sizeof req.mac3));
    const Act act = match("KVX_NET_ModifyNetInfo", camera);
    if (camera && camera->online && !act.silent) {
        const auto due = SimDispatcher::dueIn(m_timing.modifyAnswerMs + act.delayMs);
        m_modifyLastAnswer = std::max(m_modifyLastAnswer, due);
        const bool fail = act.fail;
        m_dispatcher.post(due, channel,
                          [this, req, callback, user, fail] { answerModify(req, callback, user, fail); });
    }
    const std::uint64_t seq = ++m_modifyEndSeq;
    const auto end = std::max(SimDispatcher::dueIn(m_timing.modifyRunEndMs),
                              m_modifyLastAnswer + std::chrono::microseconds(1));
    m_dispatcher.post(end, channel, [this, channel, seq, callback, user] {
        {
            std::lock_guard<std::mutex> inner(m_mutex);
            if (m_modifyChannel != channel || m_modifyEndSeq != seq)
                return;
            m_modifyChannel = 0;
        }
        callback(nullptr, user);
    });
    logCall("KVX_NET_ModifyNetInfo", {}, std::string(), camera, std::move(in), nullptr, 0, 0);
    return 0;
}

void SimWorld::answerModify(const DSC_MODIFY_NETINFO_REQUEST& req, DscModifyNetInfoCallBack callback,
                            void* user, bool fail) {
    DSC_MODIFY_NETINFO_RESPONSE resp;
    std::memset(&resp, 0, sizeof resp);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Camera* c = cameraByMac(getText(req.mac2, sizeof req.mac2));
        if (!c)
            c = cameraByMac(getText(req.mac, sizeof req.mac));
        if (!c)
            c = cameraByMac(getText(req.mac3, sizeof req.mac3));
        if (!c || !c->online)
            return;
        const bool accountOk = getText(req.user, sizeof req.user) == c->profile.user &&
                               getText(req.password, sizeof req.password) == c->profile.password;
        std::uint8_t result = (fail || !accountOk) ? 1 : 0;
        if (result == 0 && (req.changeMask & DSC_CHANGE_IP)) {
            const std::string ip = getText(req.newIp, sizeof req.newIp);
            bool taken = false;
            for (const auto& other : m_cameras) {
                if (other.get() != c && (other->profile.ip == ip || other->pendingIp == ip))
                    taken = true;
            }
            if (!simaddr::isLoopback(ip) || taken) {
                result = 1;
            } else {
                const std::string mask = getText(req.mask, sizeof req.mask);
                const std::string gateway = getText(req.gateway, sizeof req.gateway);
                if ((req.changeMask & DSC_CHANGE_MASK) && simaddr::parse(mask, nullptr))
                    c->profile.mask = mask;
                if ((req.changeMask & DSC_CHANGE_GATEWAY) && simaddr::parse(gateway, nullptr))
                    c->profile.gateway = gateway;
                if (ip != c->profile.ip)
                    c->pendingIp = ip;
                scheduleReboot(*c);
            }
        }
        if (result == 0 && (req.changeMask & DSC_CHANGE_DHCP))
            c->profile.dhcp = req.dhcp ? 1 : 0;
        if (result == 0 && (req.changeMask & DSC_CHANGE_FULL_NETCOM))
            c->profile.fullNetcom = req.fullNetcom ? 1 : 0;
        putText(resp.tag, sizeof resp.tag, DSC_TAG);
        resp.type = DSC_TYPE_MODIFY_RESPONSE;
        resp.result = result;
        putText(resp.mac, sizeof resp.mac, c->profile.mac);
        resp.changeMask = static_cast<std::int32_t>(req.changeMask);
        resp.dhcp = static_cast<std::uint8_t>(c->profile.dhcp);
        resp.fullNetcom = static_cast<std::uint8_t>(c->profile.fullNetcom);
        resp.column3Flag = static_cast<std::uint8_t>(c->profile.column3Flag);
        putText(resp.newIp, sizeof resp.newIp, c->pendingIp.empty() ? c->profile.ip : c->pendingIp);
        putText(resp.mac2, sizeof resp.mac2, c->profile.mac);
    }
    callback(&resp, user);
}

int SimWorld::stopModify() {
    std::uint64_t channel = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        channel = m_modifyChannel;
        m_modifyChannel = 0;
        logCall("KVX_NET_StopModifyNetInfo", {}, std::string(), nullptr, {}, nullptr, 0, 0);
    }
    if (channel)
        m_dispatcher.close(channel);
    return 0;
}

// ---------------------------------------------------------------- control

void SimWorld::useFleet(const std::vector<camsim::CameraProfile>& cameras) {
    m_dispatcher.clear();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_epoch;
        m_sessions.clear();
        m_streams.clear();
        m_searchChannel = 0;
        m_modifyChannel = 0;
        m_cameras.clear();
        for (const auto& profile : cameras) {
            auto c = std::make_unique<Camera>();
            c->id = m_nextCameraId++;
            c->profile = profile;
            c->online = profile.online;
            defaultParams(*c);
            m_cameras.push_back(std::move(c));
        }
        writeState();
    }
    SimPictures::removeAll();
}

void SimWorld::reset() {
    useFleet(initialFleet());
    std::lock_guard<std::mutex> lock(m_mutex);
    m_injections.clear();
    m_timing = camsim::Timing();
    m_log.clear();
}

std::vector<camsim::CameraProfile> SimWorld::fleet() {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<camsim::CameraProfile> out;
    for (const auto& c : m_cameras) {
        out.push_back(c->profile);
        out.back().online = c->online;
    }
    return out;
}

bool SimWorld::findCamera(const std::string& key, camsim::CameraProfile* out) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Camera* c = cameraByKey(key);
    if (!c)
        return false;
    if (out) {
        *out = c->profile;
        out->online = c->online;
    }
    return true;
}

void SimWorld::setOnline(const std::string& mac, bool online) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Camera* c = cameraByKey(mac);
    if (!c || c->online == online)
        return;
    c->online = online;
    c->rebootPending = false;
    if (!online)
        ++c->bootGen;
    writeState();
}

void SimWorld::rebootCamera(const std::string& mac) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Camera* c = cameraByKey(mac);
    if (c)
        scheduleReboot(*c);
}

std::vector<std::uint8_t> SimWorld::paramBytes(const std::string& mac, const std::string& family) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Camera* c = cameraByKey(mac);
    if (!c)
        return {};
    auto it = c->params.find(family);
    return it == c->params.end() ? std::vector<std::uint8_t>() : it->second;
}

bool SimWorld::setParamBytes(const std::string& mac, const std::string& family,
                             const std::vector<std::uint8_t>& bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Camera* c = cameraByKey(mac);
    if (!c)
        return false;
    auto it = c->params.find(family);
    if (it == c->params.end() || it->second.size() != bytes.size())
        return false;
    it->second = bytes;
    return true;
}

void SimWorld::inject(const camsim::Injection& injection) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_injections.push_back(injection);
}

void SimWorld::clearInjections() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_injections.clear();
}

void SimWorld::setTiming(const camsim::Timing& timing) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_timing = timing;
}

camsim::Timing SimWorld::timing() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_timing;
}

int SimWorld::startupCount() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_startups;
}

int SimWorld::sessionCount() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_sessions.size());
}

int SimWorld::streamCount() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_streams.size());
}
