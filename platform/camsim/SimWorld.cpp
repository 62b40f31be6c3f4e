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
    const auto it = m_idsByAddress.find(address);
    return it == m_idsByAddress.end() || it->second.empty() ? nullptr : cameraById(it->second.front());
}

SimWorld::Camera* SimWorld::cameraByMac(const std::string& mac) {
    if (mac.empty())
        return nullptr;
    const auto it = m_idByMac.find(mac);
    return it == m_idByMac.end() ? nullptr : cameraById(it->second);
}

void SimWorld::indexFleet() {
    m_idsByAddress.clear();
    m_idByMac.clear();
    for (const auto& c : m_cameras) {
        m_idsByAddress[c->profile.ip].push_back(c->id);
        m_idByMac.emplace(c->profile.mac, c->id);
    }
}

void SimWorld::moveCamera(Camera& c, const std::string& address) {
    const std::string old = c.profile.ip;
    auto it = m_idsByAddress.find(old);
    if (it != m_idsByAddress.end()) {
        auto& ids = it->second;
        ids.erase(std::remove(ids.begin(), ids.end(), c.id), ids.end());
        if (ids.empty())
            m_idsByAddress.erase(it);
    }
    auto& ids = m_idsByAddress[address];
    ids.insert(std::lower_bound(ids.begin(), ids.end(), c.id), c.id);
    c.profile.ip = address;
    publishAddress(old);
    publishAddress(address);
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
        act.held = inj.held;
        if (camera)
            act.camera = camera->profile.mac;
        break;
    }
    return act;
}

void SimWorld::applyDelay(const Act& act) {
    if (act.delayMs > 0)
        Sleep(static_cast<DWORD>(act.delayMs));
    if (!act.held)
        return;
    std::unique_lock<std::mutex> lock(m_holdLock);
    const std::uint64_t all = m_releases;
    const std::uint64_t mine = m_releasesOf[act.camera];
    ++m_heldNow[act.camera];
    m_holdWake.wait(lock, [&] { return m_releases != all || m_releasesOf[act.camera] != mine; });
    --m_heldNow[act.camera];
}

void SimWorld::releaseHeldCalls(const std::string& mac) {
    {
        std::lock_guard<std::mutex> lock(m_holdLock);
        if (mac == "*")
            ++m_releases;
        else
            ++m_releasesOf[mac];
    }
    m_holdWake.notify_all();
}

int SimWorld::heldCalls(const std::string& mac) {
    std::lock_guard<std::mutex> lock(m_holdLock);
    int n = 0;
    for (const auto& entry : m_heldNow)
        n += mac == "*" || entry.first == mac ? entry.second : 0;
    return n;
}

void SimWorld::logCall(const char* function, std::vector<long long> args, const std::string& text,
                       const Camera* camera, std::vector<std::uint8_t> in, const void* out,
                       std::size_t outSize, long long result) {
    if (!m_recordCalls)
        return;
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

void SimWorld::publishAddress(const std::string& address) {
    std::uint32_t value = 0;
    if (!simaddr::parse(address, &value))
        return;
    bool up = false;
    const auto it = m_idsByAddress.find(address);
    if (it != m_idsByAddress.end()) {
        for (int id : it->second) {
            const Camera* c = cameraById(id);
            up = up || (c && c->online);
        }
    }
    m_upTable.set(value, up);
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
    publishAddress(c->profile.ip);
    if (!c->pendingIp.empty()) {
        moveCamera(*c, c->pendingIp);
        c->pendingIp.clear();
    }
    const int gen = ++c->bootGen;
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
    publishAddress(c->profile.ip);
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
