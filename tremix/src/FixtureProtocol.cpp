#include "FixtureProtocol.h"

#include "fields/FixedField.h"

#include <json/json.h>

#include <cstring>
#include <memory>
#include <sstream>

namespace tremix {

const char* const kCmdHeartbeat = "heart_beat";
const char* const kCmdDeviceList = "device_list";
const char* const kCmdTestResult = "test_result";

namespace {

std::string writeCompact(const Json::Value& value) {
    thread_local std::unique_ptr<Json::StreamWriter> writer = [] {
        Json::StreamWriterBuilder builder;
        builder["indentation"] = "";
        return std::unique_ptr<Json::StreamWriter>(builder.newStreamWriter());
    }();
    std::ostringstream out;
    writer->write(value, &out);
    out << '\n';
    return out.str();
}

Json::CharReader& reader() {
    thread_local std::unique_ptr<Json::CharReader> instance = [] {
        Json::CharReaderBuilder builder;
        return std::unique_ptr<Json::CharReader>(builder.newCharReader());
    }();
    return *instance;
}

const Json::Value* member(const Json::Value& object, const char* key) {
    if (!object.isObject())
        return nullptr;
    return object.find(key, key + std::strlen(key));
}

std::string getRequest(const char* cmd) {
    Json::Value request(Json::objectValue);
    request["action"] = "get";
    request["cmd"] = cmd;
    return writeCompact(request);
}

// Fills items from a JSON array: entry i holds element i, the first 128 of them, with the texts
// that came (a key that is missing or not a string, and every key of an element that is not an
// object, reads as empty), so that a malformed item shows as one. Returns the number of elements,
// which may exceed the 128 the record holds.
template <typename Item, typename Fill>
int copyItems(const Json::Value& object, const char* key, Item* items, Fill fill) {
    const Json::Value* array = member(object, key);
    if (!array || !array->isArray())
        return 0;
    const Json::ArrayIndex size = array->size();
    for (Json::ArrayIndex i = 0; i < size && i < static_cast<Json::ArrayIndex>(FIXTURE_MAX_ITEMS); ++i)
        fill((*array)[i], items[i]);
    return size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(size);
}

} // namespace

std::string heartbeatRequest() {
    return getRequest(kCmdHeartbeat);
}
std::string deviceListRequest() {
    return getRequest(kCmdDeviceList);
}

std::string testResultRequest(const char* mac) {
    // The compact writer's bytes for {"action","cmd","mac"} (keys sorted), built directly.
    std::string request = "{\"action\":\"get\",\"cmd\":\"test_result\",\"mac\":";
    request += Json::valueToQuotedString(mac ? mac : "");
    request += "}\n";
    return request;
}

std::string buildFrame(std::uint8_t type, const std::string& payload) {
    const std::size_t length = payload.size() > kMaxPayload ? kMaxPayload : payload.size();
    std::string frame;
    frame.reserve(kFrameHeaderSize + length);
    frame.push_back(static_cast<char>(kFrameMark));
    frame.push_back(0x01);
    frame.push_back(static_cast<char>(type));
    frame.push_back(0x01);
    frame.push_back(static_cast<char>(length & 0xFF));
    frame.push_back(static_cast<char>((length >> 8) & 0xFF));
    frame.push_back(0);
    frame.push_back(0);
    frame.append(payload, 0, length);
    return frame;
}

bool parseJsonObject(const char* text, std::size_t length, Json::Value& out) {
    if (!text || length == 0)
        return false;
    try {
        Json::Value value;
        if (!reader().parse(text, text + length, &value, nullptr))
            return false;
        if (!value.isObject())
            return false;
        out.swap(value);
        return true;
    } catch (...) {
        return false;
    }
}

std::string jsonString(const Json::Value& object, const char* key) {
    const Json::Value* value = member(object, key);
    if (!value || !value->isString())
        return std::string();
    // The texts end up in C fields: a text stops at an embedded zero, so "\u0000x" is empty.
    std::string text = value->asString();
    text.resize(std::strlen(text.c_str()));
    return text;
}

int jsonInt(const Json::Value& object, const char* key) {
    const Json::Value* value = member(object, key);
    if (!value || !value->isInt())
        return 0;
    return value->asInt();
}

using fixedfield::copyField;

bool parseTestResult(const Json::Value& object, FixtureTestResult& out) {
    const std::string mac = jsonString(object, "mac");
    if (mac.empty())
        return false;
    auto record = std::make_unique<FixtureTestResult>();
    std::memset(record.get(), 0, sizeof(FixtureTestResult));
    copyField(record->mac, sizeof record->mac, mac);
    copyField(record->uuid, sizeof record->uuid, jsonString(object, "uuid"));
    record->port = jsonInt(object, "port");
    copyField(record->uart, 17, jsonString(object, "uart"));
    copyField(record->audio, sizeof record->audio, jsonString(object, "audio"));
    record->gpioCount =
        copyItems(object, "gpio", record->gpio, [](const Json::Value& e, FixtureGpioItem& item) {
            copyField(item.name, sizeof item.name, jsonString(e, "name"));
            copyField(item.function, sizeof item.function, jsonString(e, "function"));
            copyField(item.status, sizeof item.status, jsonString(e, "status"));
        });
    record->networkCount =
        copyItems(object, "network", record->network, [](const Json::Value& e, FixtureNetItem& item) {
            copyField(item.name, sizeof item.name, jsonString(e, "name"));
            copyField(item.status, sizeof item.status, jsonString(e, "status"));
        });
    std::memcpy(&out, record.get(), sizeof(FixtureTestResult));
    return true;
}

bool parseTestResult(const char* text, std::size_t length, FixtureTestResult& out) {
    Json::Value object;
    if (!parseJsonObject(text, length, object))
        return false;
    return parseTestResult(object, out);
}

bool parseDevList(const char* text, std::size_t length, FixtureDevInfo& out) {
    Json::Value object;
    return parseJsonObject(text, length, object) && parseDevList(object, out);
}

bool parseDevList(const Json::Value& object, FixtureDevInfo& out) {
    if (!object.isObject())
        return false;
    const std::string version = jsonString(object, "version");
    const std::string uuid = jsonString(object, "uuid");
    const std::string mode = jsonString(object, "mode");
    if (!version.empty())
        copyField(out.version, sizeof out.version, version);
    if (!uuid.empty())
        copyField(out.uuid, sizeof out.uuid, uuid);
    if (!mode.empty())
        copyField(out.mode, sizeof out.mode, mode);
    out.port_num = jsonInt(object, "port_num");
    return true;
}

std::string normalizeMac(const std::string& mac) {
    std::string key;
    key.reserve(mac.size());
    for (char c : mac) {
        if (c >= 'A' && c <= 'Z')
            key.push_back(static_cast<char>(c - 'A' + 'a'));
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            key.push_back(c);
    }
    return key;
}

bool macMatches(const std::string& a, const std::string& b) {
    const std::string na = normalizeMac(a);
    const std::string nb = normalizeMac(b);
    if (na.empty() || nb.empty())
        return a == b && !a.empty();
    return na == nb;
}

} // namespace tremix
