// The default fleet and the fleet file reader.
#include "SimAddress.h"
#include "SimControl.h"
#include "winport/BoundedFileRead.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <cmath>
#include <cstdio>
#include <set>

namespace camsim {

namespace {

// Bounds of a fleet file: its size, and the cameras listed and generated together.
constexpr std::size_t kMaxFleetFileBytes = 8u << 20;
constexpr int kMaxCameras = 4096;

CameraProfile generated(int index) {
    CameraProfile c;
    // 127.0.0.11 upwards, skipping host parts 0 and 255: 254 addresses per /24 from .1.
    const std::uint32_t k = static_cast<std::uint32_t>(index) + 10u;
    const std::uint32_t addr = (127u << 24) + (k / 254u) * 256u + (k % 254u) + 1u;
    c.ip = simaddr::format(addr);
    char mac[18];
    std::snprintf(mac, sizeof mac, "00:1A:2B:%02X:%02X:%02X", (index >> 16) & 0xFF, (index >> 8) & 0xFF,
                  (index + 1) & 0xFF);
    c.mac = mac;
    char serial[32];
    std::snprintf(serial, sizeof serial, "KVX%09d", index + 1);
    c.serial = serial;
    c.name = "Camera " + std::to_string(index + 1);
    return c;
}

// An int in a JSON number, or false when it is not a whole number that fits.
bool wholeInt(const QJsonValue& v, int* out) {
    const double d = v.toDouble(0.5);
    if (!v.isDouble() || std::floor(d) != d || d < -2147483648.0 || d > 2147483647.0)
        return false;
    *out = static_cast<int>(d);
    return true;
}

bool readCamera(const QJsonObject& o, CameraProfile* c, std::string* error) {
    // A key of the wrong type rejects the file rather than leaving the default in place.
    bool typesOk = true;
    std::string badKey;
    auto wrong = [&](const char* key) {
        if (typesOk)
            badKey = key;
        typesOk = false;
    };
    auto text = [&](const char* key, std::string* field) {
        if (!o.contains(key))
            return;
        if (o.value(key).isString())
            *field = o.value(key).toString().toStdString();
        else
            wrong(key);
    };
    auto number = [&](const char* key, int* field) {
        if (o.contains(key) && !wholeInt(o.value(key), field))
            wrong(key);
    };
    auto flag = [&](const char* key, bool* field) {
        if (!o.contains(key))
            return;
        if (o.value(key).isBool())
            *field = o.value(key).toBool();
        else
            wrong(key);
    };
    text("mac", &c->mac);
    text("serial", &c->serial);
    text("ip", &c->ip);
    text("mask", &c->mask);
    text("gateway", &c->gateway);
    text("dns", &c->dns);
    text("user", &c->user);
    text("password", &c->password);
    text("deviceType", &c->deviceType);
    text("name", &c->name);
    text("model", &c->model);
    number("httpPort", &c->httpPort);
    number("rtspPort", &c->rtspPort);
    number("httpsPort", &c->httpsPort);
    number("onvifPort", &c->onvifPort);
    number("dhcp", &c->dhcp);
    number("fullNetcom", &c->fullNetcom);
    number("column3Flag", &c->column3Flag);
    number("loginDelayMs", &c->loginDelayMs);
    number("rebootMs", &c->rebootMs);
    flag("online", &c->online);
    flag("silentLogin", &c->silentLogin);
    flag("sdCard", &c->sdCardPresent);
    // A whole number that fits the record's u32; the cast of anything else is undefined.
    auto capacity = [&](const char* key, std::uint32_t* field) {
        if (!o.contains(key))
            return true;
        const double value = o.value(key).toDouble(-1.0);
        if (!(value >= 0.0 && value <= 4294967295.0) || std::floor(value) != value) {
            *error = std::string(key) + " is not a whole number in 0..4294967295";
            return false;
        }
        *field = static_cast<std::uint32_t>(value);
        return true;
    };
    if (!capacity("sdTotal", &c->sdTotal) || !capacity("sdFree", &c->sdFree))
        return false;
    if (!typesOk) {
        *error = "camera key \"" + badKey + "\" has the wrong type";
        return false;
    }

    std::uint32_t addr = 0;
    if (!simaddr::parse(c->ip, &addr) || (addr >> 24) != 127) {
        *error = "camera address not in 127.0.0.0/8: " + c->ip;
        return false;
    }
    if ((addr & 0xFFu) == 0 || (addr & 0xFFu) == 255) {
        *error = "camera address ends in .0 or .255: " + c->ip;
        return false;
    }
    if (!simaddr::parse(c->mask, nullptr) || !simaddr::isLoopback(c->gateway) ||
        !simaddr::isLoopback(c->dns)) {
        *error = "mask, gateway or DNS not a dotted quad in 127.0.0.0/8 for " + c->ip;
        return false;
    }
    if (c->mac.empty() || c->mac.size() > 17) {
        *error = "camera MAC missing or longer than 17 characters";
        return false;
    }
    for (int port : {c->httpPort, c->rtspPort, c->httpsPort, c->onvifPort}) {
        if (port < 1 || port > 65535) {
            *error = "port out of range for " + c->mac;
            return false;
        }
    }
    if (c->user.size() > 31 || c->password.size() > 31) {
        *error = "account longer than 31 characters for " + c->mac;
        return false;
    }
    return true;
}

} // namespace

std::vector<CameraProfile> defaultFleet(int count) {
    std::vector<CameraProfile> fleet;
    for (int i = 0; i < count; ++i)
        fleet.push_back(generated(i));
    return fleet;
}

bool readFleetFile(const std::string& path, std::vector<CameraProfile>* out, std::string* error) {
    std::string bytes;
    std::string why;
    if (winport::readRegularFile(path, kMaxFleetFileBytes, &bytes, &why) != winport::FileReadResult::Ok) {
        *error = "cannot read " + path + ": " + why;
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(
        QByteArray::fromRawData(bytes.data(), static_cast<int>(bytes.size())), &parseError);
    if (doc.isNull()) {
        *error = "invalid JSON: " + parseError.errorString().toStdString();
        return false;
    }
    QJsonArray list;
    int generate = 0;
    if (doc.isArray()) {
        list = doc.array();
    } else {
        const QJsonObject top = doc.object();
        if (top.contains("cameras") && !top.value("cameras").isArray()) {
            *error = "cameras is not an array";
            return false;
        }
        list = top.value("cameras").toArray();
        if (top.contains("generate") && !wholeInt(top.value("generate"), &generate))
            generate = -1;
        if (generate < 0 || generate > kMaxCameras) {
            *error = "generate out of range (0.." + std::to_string(kMaxCameras) + ")";
            return false;
        }
    }
    if (list.size() + generate > kMaxCameras) {
        *error = "more than " + std::to_string(kMaxCameras) + " cameras listed and generated";
        return false;
    }
    std::vector<CameraProfile> fleet;
    for (int i = 0; i < list.size(); ++i) {
        if (!list.at(i).isObject()) {
            *error = "camera entry " + std::to_string(i) + " is not an object";
            return false;
        }
        CameraProfile c = generated(i);
        if (!readCamera(list.at(i).toObject(), &c, error))
            return false;
        fleet.push_back(c);
    }
    for (int i = 0; i < generate; ++i)
        fleet.push_back(generated(static_cast<int>(list.size()) + i));
    std::set<std::string> macs;
    std::set<std::string> addresses;
    for (const auto& c : fleet) {
        if (!macs.insert(c.mac).second || !addresses.insert(c.ip).second) {
            *error = "duplicate MAC or address: " + c.mac + " " + c.ip;
            return false;
        }
    }
    *out = fleet;
    return true;
}

} // namespace camsim
