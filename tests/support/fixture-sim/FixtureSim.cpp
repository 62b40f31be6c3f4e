#include "FixtureSim.h"

#include <json/json.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::uint64_t nowMs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint64_t steadyNs() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
}

// A MAC without letters or digits is kept as it is.
std::string normalize(const std::string& mac) {
    const std::string key = FixtureSim::deviceKey(mac);
    return key.empty() ? mac : key;
}

bool parseObject(const std::string& text, Json::Value& out) {
    try {
        Json::CharReaderBuilder builder;
        std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
        return reader->parse(text.data(), text.data() + text.size(), &out, nullptr) && out.isObject();
    } catch (...) {
        return false;
    }
}

std::string compact(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    return Json::writeString(builder, value);
}

std::string member(const Json::Value& object, const char* key) {
    if (!object.isObject())
        return std::string();
    const Json::Value* v = object.find(key, key + std::char_traits<char>::length(key));
    return v && v->isString() ? v->asString() : std::string();
}

// Adds "cmd" to a JSON object text when missing; other text is kept as it is.
std::string withCmd(const std::string& json, const char* cmd) {
    Json::Value object;
    if (!parseObject(json, object))
        return json;
    if (!object.isMember("cmd"))
        object["cmd"] = cmd;
    return compact(object);
}

} // namespace

struct FixtureSim::Client {
    int fd = -1;
    std::uint16_t peerPort = 0;
    std::string in;
    bool midStream = false; // the last bytes written end inside a frame of the stream
};

std::string FixtureSim::deviceKey(const std::string& mac) {
    std::string key;
    for (char c : mac) {
        if (c >= 'A' && c <= 'Z')
            key.push_back(static_cast<char>(c - 'A' + 'a'));
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            key.push_back(c);
    }
    return key;
}

FixtureSim::FixtureSim() {
    m_deviceList = "{\"cmd\":\"device_list\",\"mode\":\"auto\",\"port_num\":8,\"uuid\":\"fixture-sim-0001\","
                   "\"version\":\"1.0.0\"}";
}

FixtureSim::~FixtureSim() {
    stop();
}

std::string FixtureSim::frame(std::uint8_t type, const std::string& payload) {
    const std::size_t length = payload.size() > 0xFFFF ? 0xFFFF : payload.size();
    std::string bytes;
    bytes.push_back(static_cast<char>(0xF0));
    bytes.push_back(0x01);
    bytes.push_back(static_cast<char>(type));
    bytes.push_back(0x01);
    bytes.push_back(static_cast<char>(length & 0xFF));
    bytes.push_back(static_cast<char>(length >> 8));
    bytes.push_back(0);
    bytes.push_back(0);
    bytes.append(payload, 0, length);
    return bytes;
}

std::string FixtureSim::passResult(const std::string& mac) {
    Json::Value r(Json::objectValue);
    r["cmd"] = "test_result";
    r["mac"] = mac;
    r["uuid"] = "fixture-sim-0001";
    r["port"] = 1;
    r["uart"] = "OK";
    r["audio"] = "OK";
    const char* gpioNames[] = {"GPIO1", "GPIO2", "GPIO3", "GPIO4"};
    const char* gpioFunctions[] = {"IR-CUT", "LED", "ALARM-IN", "ALARM-OUT"};
    for (int i = 0; i < 4; ++i) {
        Json::Value item(Json::objectValue);
        item["name"] = gpioNames[i];
        item["function"] = gpioFunctions[i];
        item["status"] = "OK";
        r["gpio"].append(item);
    }
    const char* netNames[] = {"eth0", "wifi"};
    for (const char* name : netNames) {
        Json::Value item(Json::objectValue);
        item["name"] = name;
        item["status"] = "OK";
        r["network"].append(item);
    }
    return compact(r);
}

bool FixtureSim::start(std::uint16_t port, const std::string& host) {
    in_addr address{};
    if (inet_pton(AF_INET, host.c_str(), &address) != 1 || (ntohl(address.s_addr) >> 24) != 127)
        return false;
    m_host = host;
    if (!listenOn(port))
        return false;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        ::close(m_listener);
        m_listener = -1;
        return false;
    }
    m_wakeRead = pipeFds[0];
    m_wakeWrite = pipeFds[1];
    m_stop = false;
    m_thread = std::thread([this] { loop(); });
    return true;
}

bool FixtureSim::listenOn(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_port = htons(port);
    inet_pton(AF_INET, m_host.c_str(), &sa.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(fd, 64) != 0) {
        ::close(fd);
        return false;
    }
    socklen_t len = sizeof sa;
    getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    m_port = ntohs(sa.sin_port);
    m_listener = fd;
    return true;
}

void FixtureSim::stop() {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    wake();
    m_thread.join();
    for (auto& c : m_clients)
        ::close(c.second->fd);
    m_clients.clear();
    m_writes.clear();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_scheduled.clear();
    }
    if (m_listener >= 0)
        ::close(m_listener);
    m_listener = -1;
    ::close(m_wakeRead);
    ::close(m_wakeWrite);
    m_wakeRead = m_wakeWrite = -1;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_clientCount = 0;
}

void FixtureSim::wake() {
    if (m_wakeWrite >= 0) {
        const char b = 1;
        (void)!::write(m_wakeWrite, &b, 1);
    }
}

void FixtureSim::post(std::function<void()> action) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_actions.push_back(std::move(action));
    }
    wake();
}

void FixtureSim::setAnswerHeartbeat(bool answer) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_answerHeartbeat = answer;
}

void FixtureSim::setDeviceList(const std::string& json) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_deviceList = withCmd(json, "device_list");
}

void FixtureSim::setResult(const std::string& mac, const std::string& json) {
    std::string payload = withCmd(json, "test_result");
    Json::Value object;
    if (parseObject(payload, object) && !object.isMember("mac")) {
        object["mac"] = mac;
        payload = compact(object);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_results[normalize(mac)] = payload;
}

void FixtureSim::clearResults() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_results.clear();
}

void FixtureSim::setUnknown(Unknown policy) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_unknown = policy;
}

void FixtureSim::setReplyDelayMs(int ms) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_delayMs = ms;
}

void FixtureSim::setMacDelayMs(const std::string& mac, int ms) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_macDelay[normalize(mac)] = ms;
}

void FixtureSim::setSplit(std::vector<std::size_t> offsets) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_split = std::move(offsets);
}

void FixtureSim::queueReply(const std::string& payload) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queued.push_back(payload);
}

void FixtureSim::scriptAnswers(const std::string& mac, std::vector<std::vector<Answer>> script) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_scripts[normalize(mac)] = Script{std::move(script), 0};
}

void FixtureSim::setResponder(Responder responder) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_responder = std::move(responder);
}

void FixtureSim::setWrittenHook(WrittenHook hook) {
    post([this, hook] { m_writtenHook = hook; });
}

void FixtureSim::setCloseOnRequest(bool close) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closeOnRequest = close;
}

void FixtureSim::push(const std::string& json) {
    sendFrame(2, withCmd(json, "test_result"));
}

void FixtureSim::sendFrame(std::uint8_t type, const std::string& payload, const std::string& tag) {
    sendRaw(frame(type, payload), tag);
}

void FixtureSim::sendRaw(const std::string& bytes, const std::string& tag) {
    post([this, bytes, tag] { toAll(bytes, tag); });
}

void FixtureSim::sendSplit(const std::string& bytes, std::size_t cut, int pauseMs, const std::string& tag) {
    post([this, bytes, cut, pauseMs, tag] {
        const std::uint64_t now = nowMs();
        for (auto& c : m_clients) {
            m_writes.push_back({c.first, bytes, now, tag, 0});
            m_writes.back().pauseAt = std::min(cut, bytes.size());
            m_writes.back().pauseMs = pauseMs;
        }
    });
}

void FixtureSim::closeClients() {
    auto closed = std::make_shared<std::promise<void>>();
    std::future<void> done = closed->get_future();
    post([this, closed] {
        std::vector<int> ids;
        for (auto& c : m_clients)
            ids.push_back(c.first);
        for (int id : ids)
            closeClient(id);
        closed->set_value();
    });
    // Returns once the links are closed, so a caller's next step never races a queued close.
    if (m_thread.joinable() && std::this_thread::get_id() != m_thread.get_id())
        done.wait_for(std::chrono::seconds(5));
}

void FixtureSim::setRefusing(bool refuse) {
    post([this, refuse] {
        if (refuse && m_listener >= 0) {
            ::close(m_listener);
            m_listener = -1;
        } else if (!refuse && m_listener < 0) {
            listenOn(m_port);
        }
    });
}

void FixtureSim::sendOnAccept(const std::string& bytes, const std::string& tag) {
    post([this, bytes, tag] { m_onAccept.push_back({bytes, tag}); });
}

void FixtureSim::setStalled(bool stalled) {
    post([this, stalled] {
        m_stalled = stalled;
        if (m_listener >= 0) {
            // Inherited by the connections accepted from now on.
            const int bytes = stalled ? 1024 : 128 * 1024;
            setsockopt(m_listener, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes);
        }
    });
}

void FixtureSim::stream(const std::string& frame, std::size_t cut, int periodMs, int durationMs) {
    post([this, frame, cut, periodMs, durationMs] {
        m_streamFrame = frame;
        m_streamCut = std::min(std::max<std::size_t>(cut, 1), frame.size() - 1);
        m_streamPeriodMs = static_cast<std::uint64_t>(std::max(periodMs, 1));
        m_streamNextMs = nowMs();
        m_streamUntilMs = m_streamNextMs + static_cast<std::uint64_t>(std::max(durationMs, 0));
    });
}

std::uint64_t FixtureSim::releaseStream(std::uint64_t now) {
    if (m_streamUntilMs == 0 || now < m_streamNextMs)
        return m_streamNextMs;
    // A piece has no bytes of its own (see flushWrites); the last only ends the frame begun before.
    const bool last = now >= m_streamUntilMs;
    for (auto& c : m_clients)
        m_writes.push_back({c.first, std::string(), now, std::string(), 0, last});
    m_streamNextMs = now + m_streamPeriodMs;
    if (last)
        m_streamUntilMs = m_streamNextMs = 0;
    return m_streamNextMs;
}

int FixtureSim::connections() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_connections;
}

int FixtureSim::clients() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_clientCount;
}

std::vector<FixtureSim::Request> FixtureSim::requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

int FixtureSim::count(const std::string& cmd) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    int n = 0;
    for (const Request& r : m_requests)
        n += r.cmd == cmd ? 1 : 0;
    return n;
}

void FixtureSim::clearRequests() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}

bool FixtureSim::waitFor(const std::function<bool()>& pred, int ms) {
    const std::uint64_t deadline = nowMs() + static_cast<std::uint64_t>(ms);
    while (!pred()) {
        if (nowMs() >= deadline)
            return pred();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool FixtureSim::loadResults(const std::string& path, std::string* error) {
    std::ifstream file(path);
    if (!file) {
        if (error)
            *error = "cannot open " + path;
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    Json::Value root;
    try {
        Json::CharReaderBuilder builder;
        std::string message;
        if (!Json::parseFromStream(builder, text, &root, &message)) {
            if (error)
                *error = message;
            return false;
        }
    } catch (const std::exception& e) {
        if (error)
            *error = e.what();
        return false;
    }
    // An entry that names its MAC and nothing else has no result of its own: the all-pass one.
    const auto take = [this](const std::string& mac, const Json::Value& item) {
        bool onlyMac = item.isObject();
        for (const std::string& name : item.isObject() ? item.getMemberNames() : std::vector<std::string>())
            onlyMac = onlyMac && (name == "mac" || name == "cmd");
        setResult(mac, onlyMac ? passResult(mac) : compact(item));
    };
    if (root.isArray()) {
        for (const Json::Value& item : root) {
            const std::string mac = member(item, "mac");
            if (!mac.empty())
                take(mac, item);
        }
        return true;
    }
    if (root.isObject()) {
        for (const std::string& mac : root.getMemberNames()) {
            Json::Value item = root[mac];
            if (item.isObject() && !item.isMember("mac"))
                item["mac"] = mac;
            take(mac, item);
        }
        return true;
    }
    if (error)
        *error = "expected a JSON array or object";
    return false;
}

void FixtureSim::closeClient(int id) {
    auto it = m_clients.find(id);
    if (it == m_clients.end())
        return;
    ::close(it->second->fd);
    m_clients.erase(it);
    std::vector<Write> kept;
    for (Write& w : m_writes) {
        if (w.client != id)
            kept.push_back(std::move(w));
    }
    m_writes.swap(kept);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_clientCount = static_cast<int>(m_clients.size());
}

void FixtureSim::toAll(const std::string& bytes, const std::string& tag) {
    const std::uint64_t now = nowMs();
    for (auto& c : m_clients)
        m_writes.push_back({c.first, bytes, now, tag, 0});
}

void FixtureSim::reply(int id, const std::string& payload, int delayMs) {
    std::vector<std::size_t> split;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        split = m_split;
    }
    const std::string bytes = frame(1, payload);
    // Each piece goes out after the one before it, a few ms apart, so that it arrives on its own.
    std::uint64_t due = nowMs() + static_cast<std::uint64_t>(delayMs > 0 ? delayMs : 0);
    std::size_t from = 0;
    for (std::size_t cut : split) {
        if (cut <= from || cut >= bytes.size())
            continue;
        m_writes.push_back({id, bytes.substr(from, cut - from), due, std::string(), 0});
        due += 5;
        from = cut;
    }
    m_writes.push_back({id, bytes.substr(from), due, std::string(), 0});
}

void FixtureSim::onFrame(int id, std::uint8_t type, const std::string& payload) {
    Json::Value object;
    const bool json = parseObject(payload, object);
    Request request;
    request.type = type;
    request.payload = payload;
    request.cmd = json ? member(object, "cmd") : std::string();
    request.mac = json ? member(object, "mac") : std::string();
    request.atMs = nowMs();
    const auto client = m_clients.find(id);
    request.peerPort = client != m_clients.end() ? client->second->peerPort : 0;

    std::string answer;
    int delay = 0;
    bool close = false;
    bool answerIt = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(request);
        if (type != 0)
            return;
        if (request.cmd == "heart_beat") {
            if (m_answerHeartbeat) {
                answer = "{\"cmd\":\"heart_beat\"}";
                answerIt = true;
            }
        } else if (m_closeOnRequest) {
            close = true;
        } else if (m_responder && (request.cmd == "device_list" || request.cmd == "test_result")) {
            schedule(request, m_responder(request));
        } else if (Script* script = scriptFor(request)) {
            schedule(request, script->answers[script->next]);
            ++script->next;
        } else if (request.cmd == "device_list" || request.cmd == "test_result") {
            delay = m_delayMs;
            if (!m_queued.empty()) {
                answer = m_queued.front();
                m_queued.erase(m_queued.begin());
                answerIt = true;
            } else if (request.cmd == "device_list") {
                answer = m_deviceList;
                answerIt = true;
            } else {
                const std::string key = normalize(request.mac);
                const auto delayIt = m_macDelay.find(key);
                if (delayIt != m_macDelay.end())
                    delay = delayIt->second;
                const auto it = m_results.find(key);
                if (it != m_results.end()) {
                    answer = it->second;
                    answerIt = true;
                } else if (m_unknown == Unknown::Pass) {
                    answer = passResult(request.mac);
                    answerIt = true;
                } else if (m_unknown == Unknown::NoMac) {
                    answer = "{\"cmd\":\"test_result\",\"uart\":\"OK\"}";
                    answerIt = true;
                }
            }
        }
    }
    if (close) {
        closeClient(id);
        return;
    }
    if (answerIt)
        reply(id, answer, delay);
}

void FixtureSim::flushWrites(std::uint64_t now) {
    std::vector<int> failed;
    std::size_t i = 0;
    while (i < m_writes.size()) {
        // Writes to one client keep their order: a later write waits for an earlier one.
        bool blocked = false;
        for (std::size_t j = 0; j < i; ++j)
            blocked = blocked || m_writes[j].client == m_writes[i].client;
        if (blocked || m_writes[i].dueMs > now) {
            ++i;
            continue;
        }
        Write& w = m_writes[i];
        auto it = m_clients.find(w.client);
        if (it == m_clients.end()) {
            m_writes.erase(m_writes.begin() + static_cast<long>(i));
            continue;
        }
        if (w.startedNs == 0) {
            w.startedNs = steadyNs();
            // While a stream runs, every write ends the frame of it begun before and begins the
            // next one.
            if (it->second->midStream)
                w.bytes.insert(0, m_streamFrame.substr(m_streamCut));
            it->second->midStream = m_streamUntilMs != 0 && !w.streamEnd;
            if (it->second->midStream)
                w.bytes += m_streamFrame.substr(0, m_streamCut);
        }
        if (w.bytes.empty()) {
            m_writes.erase(m_writes.begin() + static_cast<long>(i));
            continue;
        }
        const std::size_t length = w.pauseAt ? w.pauseAt : w.bytes.size();
        const ssize_t n = ::send(it->second->fd, w.bytes.data(), length, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            ++i;
            continue;
        }
        if (n < 0) {
            failed.push_back(w.client);
            m_writes.erase(m_writes.begin() + static_cast<long>(i));
            continue;
        }
        if (static_cast<std::size_t>(n) < w.bytes.size()) {
            w.bytes.erase(0, static_cast<std::size_t>(n));
            // The rest after the pause; the writes behind it wait for it.
            if (w.pauseAt && (w.pauseAt -= static_cast<std::size_t>(n)) == 0)
                w.dueMs = now + static_cast<std::uint64_t>(w.pauseMs);
            ++i;
            continue;
        }
        if (!w.tag.empty() && m_writtenHook)
            m_writtenHook(w.tag, it->second->peerPort, w.startedNs, steadyNs());
        m_writes.erase(m_writes.begin() + static_cast<long>(i));
    }
    for (int id : failed)
        closeClient(id);
}

void FixtureSim::schedule(const Request& request, const std::vector<Answer>& answers) {
    for (const Answer& a : answers) {
        std::string json = withCmd(a.json, "test_result");
        Json::Value answerObject;
        if (parseObject(json, answerObject) && member(answerObject, "cmd") == "test_result" &&
            !answerObject.isMember("mac")) {
            answerObject["mac"] = request.mac;
            json = compact(answerObject);
        }
        m_scheduled.emplace(request.atMs + static_cast<std::uint64_t>(std::max(a.delayMs, 0)),
                            Scheduled{frame(a.type, json), a.tag});
    }
}

FixtureSim::Script* FixtureSim::scriptFor(const Request& request) {
    if (request.cmd != "test_result")
        return nullptr;
    const auto it = m_scripts.find(normalize(request.mac));
    return it != m_scripts.end() && it->second.next < it->second.answers.size() ? &it->second : nullptr;
}

std::uint64_t FixtureSim::releaseScheduled(std::uint64_t now) {
    std::vector<Scheduled> due;
    std::uint64_t next = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        while (!m_scheduled.empty() && m_scheduled.begin()->first <= now) {
            due.push_back(std::move(m_scheduled.begin()->second));
            m_scheduled.erase(m_scheduled.begin());
        }
        if (!m_scheduled.empty())
            next = m_scheduled.begin()->first;
    }
    for (const Scheduled& s : due)
        toAll(s.bytes, s.tag);
    return next;
}

void FixtureSim::loop() {
    for (;;) {
        std::vector<std::function<void()>> actions;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stop)
                return;
            actions.swap(m_actions);
        }
        for (auto& action : actions)
            action();

        const std::uint64_t now = nowMs();
        const std::uint64_t nextScheduled = releaseScheduled(now);
        const std::uint64_t nextStream = releaseStream(now);
        flushWrites(now);

        int timeout = 50;
        for (const std::uint64_t next : {nextScheduled, nextStream})
            if (next > now && next - now < static_cast<std::uint64_t>(timeout))
                timeout = static_cast<int>(next - now);
        bool pendingOut = false;
        for (const Write& w : m_writes) {
            if (w.dueMs > now) {
                const int left = static_cast<int>(w.dueMs - now);
                timeout = left < timeout ? left : timeout;
            } else {
                pendingOut = true;
            }
        }
        std::vector<pollfd> fds;
        fds.push_back({m_wakeRead, POLLIN, 0});
        if (m_listener >= 0)
            fds.push_back({m_listener, POLLIN, 0});
        std::vector<int> ids;
        for (auto& c : m_clients) {
            fds.push_back(
                {c.second->fd, static_cast<short>((m_stalled ? 0 : POLLIN) | (pendingOut ? POLLOUT : 0)), 0});
            ids.push_back(c.first);
        }
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR)
            continue;
        std::size_t k = 0;
        if (fds[k++].revents) {
            char drain[64];
            while (::read(m_wakeRead, drain, sizeof drain) > 0) {
            }
        }
        if (m_listener >= 0) {
            if (fds[k++].revents & POLLIN) {
                sockaddr_in peer{};
                socklen_t peerLength = sizeof peer;
                const int fd =
                    ::accept4(m_listener, reinterpret_cast<sockaddr*>(&peer), &peerLength, SOCK_CLOEXEC);
                if (fd >= 0) {
                    const int on = 1;
                    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                    auto client = std::make_unique<Client>();
                    client->fd = fd;
                    client->peerPort = ntohs(peer.sin_port);
                    const int id = m_nextId++;
                    m_clients[id] = std::move(client);
                    for (const Scheduled& s : m_onAccept)
                        m_writes.push_back({id, s.bytes, now, s.tag, 0});
                    m_onAccept.clear();
                    std::lock_guard<std::mutex> lock(m_mutex);
                    ++m_connections;
                    m_clientCount = static_cast<int>(m_clients.size());
                }
            }
        }
        for (std::size_t n = 0; n < ids.size(); ++n, ++k) {
            if (m_stalled || !(fds[k].revents & (POLLIN | POLLERR | POLLHUP)))
                continue;
            auto it = m_clients.find(ids[n]);
            if (it == m_clients.end())
                continue;
            char buffer[65536];
            const ssize_t got = ::recv(it->second->fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
                continue;
            if (got <= 0) {
                closeClient(ids[n]);
                continue;
            }
            std::string& in = it->second->in;
            in.append(buffer, static_cast<std::size_t>(got));
            std::vector<std::pair<std::uint8_t, std::string>> frames;
            for (;;) {
                const std::size_t mark = in.find(static_cast<char>(0xF0));
                if (mark == std::string::npos) {
                    in.clear();
                    break;
                }
                in.erase(0, mark);
                if (in.size() < 8)
                    break;
                const std::size_t length = static_cast<unsigned char>(in[4]) |
                                           (static_cast<std::size_t>(static_cast<unsigned char>(in[5])) << 8);
                if (in.size() < 8 + length)
                    break;
                frames.emplace_back(static_cast<std::uint8_t>(in[2]), in.substr(8, length));
                in.erase(0, 8 + length);
            }
            const int id = ids[n];
            for (auto& f : frames) {
                if (m_clients.find(id) == m_clients.end())
                    break;
                onFrame(id, f.first, f.second);
            }
        }
    }
}
