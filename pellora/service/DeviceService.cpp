#include "DeviceService.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdio>
#include <ctime>

namespace {

const char* const kError = "Error";
const char* const kTimeOut = "TimeOut";
const char* const kCookiePrefix = "Cookie: PexorID=";

// Deepest nesting of objects and arrays that a reply may have.
constexpr int kMaxJsonDepth = 64;

// True when the arrays and objects of text nest at most limit deep (strings skipped).
bool nestingWithin(const std::string& text, int limit) {
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth > limit)
                return false;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return true;
}

// The JSON text of a reply body: from its first '{' to its last '}'. A reply nested deeper than
// kMaxJsonDepth is refused before it is parsed.
bool parseReply(const std::string& body, rapidjson::Document& doc, std::string* jsonText = nullptr) {
    size_t first = body.find('{');
    size_t last = body.rfind('}');
    if (first == std::string::npos || last == std::string::npos || last < first)
        return false;
    std::string text = body.substr(first, last - first + 1);
    if (!nestingWithin(text, kMaxJsonDepth))
        return false;
    doc.Parse<rapidjson::kParseIterativeFlag>(text.c_str(), text.size());
    if (doc.HasParseError() || !doc.IsObject())
        return false;
    if (jsonText)
        *jsonText = std::move(text);
    return true;
}

bool intMember(const rapidjson::Value& object, const char* name, int& value) {
    if (!object.IsObject())
        return false;
    auto it = object.FindMember(name);
    if (it == object.MemberEnd() || !it->value.IsInt())
        return false;
    value = it->value.GetInt();
    return true;
}

const rapidjson::Value* dataObject(const rapidjson::Document& doc) {
    auto it = doc.FindMember("data");
    if (it == doc.MemberEnd() || !it->value.IsObject())
        return nullptr;
    return &it->value;
}

// Whether the body holds the member text "code":N (no blanks) with N exactly that number.
bool hasCode(const std::string& body, const std::string& number) {
    const std::string needle = "\"code\":" + number;
    for (size_t at = body.find(needle); at != std::string::npos; at = body.find(needle, at + 1)) {
        const size_t next = at + needle.size();
        if (next == body.size() || std::string("0123456789.eE").find(body[next]) == std::string::npos)
            return true;
    }
    return false;
}

// Cookie value characters (RFC 6265 cookie-octet).
bool isCookieValue(const std::string& cookie) {
    if (cookie.size() > DeviceService::kMaxCookieLength)
        return false;
    for (unsigned char c : cookie) {
        if (c < 0x21 || c > 0x7E || c == '"' || c == ',' || c == ';' || c == '\\')
            return false;
    }
    return true;
}

} // namespace

DeviceService::DeviceService(ServiceSettings settings) : m_settings(std::move(settings)) {
    m_clock = [] { return static_cast<std::uint32_t>(std::time(nullptr)); };
}

DeviceService::~DeviceService() = default;

void DeviceService::setSettings(const ServiceSettings& settings) {
    m_settings = settings;
}

void DeviceService::setClock(std::function<std::uint32_t()> clock) {
    m_clock = std::move(clock);
}

std::string DeviceService::currentTimeText() const {
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(m_clock()));
    return text;
}

std::string DeviceService::toNarrowString(const std::string& base, const std::string& path) {
    if (base.empty())
        return std::string();
    std::string url = base;
    if (url.back() != '/')
        url += '/';
    return url + path;
}

std::string DeviceService::buildLoginBody(const std::string& requestNo, const std::string& accountName,
                                          const std::string& password) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> w(buffer);
    w.StartObject();
    w.Key("requestNo");
    w.String(requestNo.c_str(), static_cast<rapidjson::SizeType>(requestNo.size()));
    w.Key("liveTime");
    w.Int(kLiveTime);
    w.Key("param");
    w.StartObject();
    w.Key("user_name");
    w.String(accountName.c_str(), static_cast<rapidjson::SizeType>(accountName.size()));
    w.Key("password");
    w.String(password.c_str(), static_cast<rapidjson::SizeType>(password.size()));
    w.EndObject();
    w.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize());
}

std::string DeviceService::buildCheckDeviceBody(const std::string& requestNo,
                                                const std::string& serialNumber) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> w(buffer);
    w.StartObject();
    w.Key("requestNo");
    w.String(requestNo.c_str(), static_cast<rapidjson::SizeType>(requestNo.size()));
    w.Key("liveTime");
    w.Int(kLiveTime);
    w.Key("param");
    w.StartObject();
    w.Key("clientId");
    w.String(kClientId);
    w.Key("appId");
    w.Int(kAppId);
    w.Key("version");
    w.String(kClientVersion);
    w.Key("device_id");
    w.String(serialNumber.c_str(), static_cast<rapidjson::SizeType>(serialNumber.size()));
    w.EndObject();
    w.EndObject();
    return std::string(buffer.GetString(), buffer.GetSize());
}

bool DeviceService::post(const std::string& url, const std::string& body, const std::string& extraLine,
                         HttpReply& reply) {
    HttpOptions options;
    options.caFile = m_settings.caFile;
    options.connectTimeoutMs = m_settings.connectTimeoutMs;
    options.receiveTimeoutMs = m_settings.receiveTimeoutMs;
    CHttpRequest http(options);
    if (!http.post(url, body, extraLine, reply.request, reply.head, reply.body)) {
        std::printf("service request failed: %s\n", http.lastError().c_str());
        return false;
    }
    reply.status = CHttpRequest::parseStatus(reply.head);
    return true;
}

std::string DeviceService::postAndCheck(const std::string& url, const std::string& body,
                                        const std::string& extraLine) {
    if (url.empty())
        return kError;
    HttpReply reply;
    if (!post(url, body, extraLine, reply) || reply.status != 200)
        return kError;
    // Success is marked by "code":0 in the body; a body without it is an error whatever its other
    // codes, so the session time-out 15 and the code 2004 count only beside "code":0.
    if (!hasCode(reply.body, "0"))
        return kError;
    rapidjson::Document doc;
    int code = 0;
    if (!parseReply(reply.body, doc) || !intMember(doc, "code", code))
        return kError;
    if (hasCode(reply.body, "15"))
        return kTimeOut;
    return reply.body;
}

std::string DeviceService::loginService() {
    const std::string url = toNarrowString(m_settings.baseUrl, kLoginPath);
    const std::string result =
        postAndCheck(url, buildLoginBody(currentTimeText(), kAccountName, kAccountPassword), std::string());
    if (result == kError || result == kTimeOut)
        return kError;
    rapidjson::Document doc;
    std::string jsonText;
    if (!parseReply(result, doc, &jsonText))
        return kError;
    std::string cookie;
    if (const rapidjson::Value* data = dataObject(doc)) {
        auto it = data->FindMember("cookie");
        if (it != data->MemberEnd()) {
            if (!it->value.IsString())
                return kError;
            cookie.assign(it->value.GetString(), it->value.GetStringLength());
        }
    }
    if (!isCookieValue(cookie))
        return kError;
    m_cookie = cookie;
    return cookie.empty() ? jsonText : cookie;
}

int DeviceService::checkDeviceIdAndMac(const std::string& serialNumber) {
    m_confirmed = 0;
    const std::string url = toNarrowString(m_settings.baseUrl, kCheckPath);
    std::string result =
        postAndCheck(url, buildCheckDeviceBody(currentTimeText(), serialNumber), kCookiePrefix + m_cookie);
    for (int logins = 0; result == kTimeOut; ++logins) {
        if (logins == 3)
            return -1;
        // The session ran out: log in again; only a login that yields a cookie may go on.
        if (loginService() == kError || m_cookie.empty())
            return -1;
        result = postAndCheck(url, buildCheckDeviceBody(currentTimeText(), serialNumber),
                              kCookiePrefix + m_cookie);
    }
    if (result == kError)
        return -1;

    rapidjson::Document doc;
    int code = 0;
    if (!parseReply(result, doc) || !intMember(doc, "code", code) || (code != 0 && code != 2004))
        return -1;
    const rapidjson::Value* data = dataObject(doc);
    if (!data)
        return -1;
    auto verify = data->FindMember("verify");
    auto confirm = data->FindMember("is_confirm");
    if (verify == data->MemberEnd() || !verify->value.IsString() || confirm == data->MemberEnd() ||
        !(confirm->value.IsInt() || confirm->value.IsBool()))
        return -1;
    m_verifyCode.assign(verify->value.GetString(), verify->value.GetStringLength());
    m_confirmed = confirm->value.IsBool() ? (confirm->value.GetBool() ? 1 : 0) : confirm->value.GetInt();
    return 1;
}
