// The simulated world: the LAN search library and the fleet control of tests and tools.
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
            m_dispatcher.close(channel);
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
        m_dispatcher.close(channel);
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
        indexFleet();
        // A fresh table for every fleet: nothing of the previous fleet answers any more.
        m_upTable.create(m_statePath);
        for (const auto& c : m_cameras)
            publishAddress(c->profile.ip);
    }
    SimPictures::removeAll();
}

void SimWorld::reset() {
    releaseHeldCalls("*");
    useFleet(initialFleet());
    std::lock_guard<std::mutex> lock(m_mutex);
    m_injections.clear();
    m_timing = camsim::Timing();
    m_log.clear();
    m_recordCalls = true;
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
    publishAddress(c->profile.ip);
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

void SimWorld::setCallRecording(bool on) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_recordCalls = on;
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
