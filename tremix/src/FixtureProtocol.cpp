#include "FixtureProtocol.h"

#include "fields/FixedField.h"

#include <json/json.h>

#include <algorithm>
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

// An entry that reads OK: a name and the status "OK" (the whole text).
template <typename Item> bool itemOk(const Item& item) {
    return item.name[0] != '\0' && std::strcmp(item.status, "OK") == 0;
}

// Fills items from a JSON array: entry i holds element i, the first 128 of them, with the texts
// that came (a key that is missing or not a string, and every key of an element that is not an
// object, reads as empty), so that a malformed item shows as one. Returns the number of entries
// filled: never more than the record holds. Of further elements, the first that does not read OK
// takes the last entry when the kept ones all read OK, so that a list never reads OK for what
// was dropped; the others are dropped.
template <typename Item, typename Fill>
int copyItems(const Json::Value& object, const char* key, Item* items, Fill fill) {
    const Json::Value* array = member(object, key);
    if (!array || !array->isArray())
        return 0;
    const Json::ArrayIndex size = std::min<Json::ArrayIndex>(array->size(), FIXTURE_MAX_ITEMS);
    bool allOk = true;
    for (Json::ArrayIndex i = 0; i < size; ++i) {
        fill((*array)[i], items[i]);
        allOk = allOk && itemOk(items[i]);
    }
    for (Json::ArrayIndex i = size; allOk && i < array->size(); ++i) {
        Item dropped{};
        fill((*array)[i], dropped);
        if (!itemOk(dropped)) {
            items[size - 1] = dropped;
            break;
        }
    }
    return static_cast<int>(size);
}

// Copies a text into a fixed field, bounded and terminated. A zero byte inside the text is stored
// as '?': the field then shows that more followed and never reads as a shorter text ("OK\0NG" is
// not "OK").
void copyText(char* field, std::size_t size, const std::string& text) {
    std::string shown = text;
    std::replace(shown.begin(), shown.end(), '\0', '?');
    fixedfield::copyField(field, size, shown);
}

// An item's name: one of zero bytes only names nothing.
std::string itemName(const Json::Value& item) {
    std::string name = jsonString(item, "name");
    if (name.find_first_not_of('\0') == std::string::npos)
        name.clear();
    return name;
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
    return value->asString();
}

int jsonInt(const Json::Value& object, const char* key) {
    const Json::Value* value = member(object, key);
    if (!value || !value->isInt())
        return 0;
    return value->asInt();
}

bool parseTestResult(const Json::Value& object, FixtureTestResult& out) {
    // A MAC with a zero byte inside names no device: no C text can ask for it.
    const std::string mac = jsonString(object, "mac");
    if (mac.empty() || mac.find('\0') != std::string::npos)
        return false;
    auto record = std::make_unique<FixtureTestResult>();
    std::memset(record.get(), 0, sizeof(FixtureTestResult));
    copyText(record->mac, sizeof record->mac, mac);
    copyText(record->uuid, sizeof record->uuid, jsonString(object, "uuid"));
    record->port = jsonInt(object, "port");
    copyText(record->uart, 17, jsonString(object, "uart"));
    copyText(record->audio, sizeof record->audio, jsonString(object, "audio"));
    record->gpioCount =
        copyItems(object, "gpio", record->gpio, [](const Json::Value& e, FixtureGpioItem& item) {
            copyText(item.name, sizeof item.name, itemName(e));
            copyText(item.function, sizeof item.function, jsonString(e, "function"));
            copyText(item.status, sizeof item.status, jsonString(e, "status"));
        });
    record->networkCount =
        copyItems(object, "network", record->network, [](const Json::Value& e, FixtureNetItem& item) {
            copyText(item.name, sizeof item.name, itemName(e));
            copyText(item.status, sizeof item.status, jsonString(e, "status"));
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
        copyText(out.version, sizeof out.version, version);
    if (!uuid.empty())
        copyText(out.uuid, sizeof out.uuid, uuid);
    if (!mode.empty())
        copyText(out.mode, sizeof out.mode, mode);
    out.port_num = jsonInt(object, "port_num");
    return true;
}

std::string macKey(const std::string& mac) {
    if (mac.empty() || mac.find('\0') != std::string::npos)
        return std::string();
    std::string key;
    key.reserve(mac.size());
    for (char c : mac) {
        if (c >= 'A' && c <= 'Z')
            key.push_back(static_cast<char>(c - 'A' + 'a'));
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            key.push_back(c);
    }
    return key.empty() ? "=" + mac : key;
}

bool macMatches(const std::string& a, const std::string& b) {
    const std::string key = macKey(a);
    return !key.empty() && key == macKey(b);
}

} // namespace tremix
