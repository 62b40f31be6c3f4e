// Calls of the device-management web service: login with a session cookie, then the device check.
//
// Pellora reads the settings from its ini file "PelloraInfo.ini":
//   [SERVICE]
//   BaseUrl=https://host.example/      service base URL; empty (the default): every call fails ("Error")
//   CaFile=                            extra CA certificates (PEM) trusted besides the system's; optional
//   ConnectTimeoutMs=400               TCP connect time-out
//   ReceiveTimeoutMs=12000             idle limit of every read
// and hands them over as ServiceSettings. Each call, from the connect to the reply's last byte,
// ends within ConnectTimeoutMs + 1000 ms (the send time-out) + ReceiveTimeoutMs.
//
// A reply counts only with status 200 and the text "code":0 in its body; the session time-out
// ("code":15) and the check's code 2004 are honoured only beside it.
#pragma once

#include "CHttpRequest.h"

#include <cstdint>
#include <functional>
#include <string>

struct ServiceSettings {
    std::string baseUrl; // "https://" + host + "/"; a missing final '/' is added
    std::string caFile;
    int connectTimeoutMs = 400;
    int receiveTimeoutMs = 12000;
};

class DeviceService {
public:
    static constexpr const char* kLoginPath = "api/account/login-with-data";
    static constexpr const char* kCheckPath = "api/device/check-device-id-and-mac";
    static constexpr const char* kClientVersion = "2.1.0.210906";
    static constexpr const char* kClientId = "1";
    static constexpr const char* kAccountName = "line_module";
    static constexpr const char* kAccountPassword = "&5204!qm";
    static constexpr int kAppId = 10;
    static constexpr int kLiveTime = 30;
    static constexpr std::size_t kMaxCookieLength = 512;

    explicit DeviceService(ServiceSettings settings = ServiceSettings());
    virtual ~DeviceService();

    const ServiceSettings& settings() const { return m_settings; }
    void setSettings(const ServiceSettings& settings);
    // Seconds since 1970; the default reads the system clock.
    void setClock(std::function<std::uint32_t()> clock);

    std::string currentTimeText() const;
    static std::string toNarrowString(const std::string& base, const std::string& path);
    static std::string buildLoginBody(const std::string& requestNo, const std::string& accountName,
                                      const std::string& password);
    static std::string buildCheckDeviceBody(const std::string& requestNo, const std::string& serialNumber);

    // "Error", "TimeOut" or the reply body.
    std::string postAndCheck(const std::string& url, const std::string& body, const std::string& extraLine);

    // "Error", the session cookie, or (cookie-less reply) the reply's JSON text. Stores the cookie.
    std::string loginService();
    // 1: device known (verifyCode() and confirmed() set); -1: failure.
    int checkDeviceIdAndMac(const std::string& serialNumber);

    const std::string& cookie() const { return m_cookie; }
    void setCookie(const std::string& cookie) { m_cookie = cookie; }
    const std::string& verifyCode() const { return m_verifyCode; } // UTF-8 as sent by the service
    int confirmed() const { return m_confirmed; }

protected:
    // One POST; tests may replace it.
    virtual bool post(const std::string& url, const std::string& body, const std::string& extraLine,
                      HttpReply& reply);

private:
    ServiceSettings m_settings;
    std::function<std::uint32_t()> m_clock;
    std::string m_cookie;
    std::string m_verifyCode;
    int m_confirmed = 0;
};
