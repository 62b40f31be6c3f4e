#include "DeviceService.h"
#include "TlsTestServer.h"

#include <gtest/gtest.h>

using testsupport::ScriptedReply;
using testsupport::TlsTestServer;

namespace {

const char kHead[] = "Accept: */*\r\nAccept-Language: en-us\r\nAccept-Encoding: gzip, default\r\n"
                     "User-Agent: http client\r\nAuthorization: Basic\r\n";

std::string loginReply(const std::string& cookie) {
    return "{\"code\":0,\"msg\":\"ok\",\"data\":{\"cookie\":\"" + cookie + "\",\"user\":\"line_module\"}}";
}

std::string checkReply(int code, const std::string& verify, int confirm) {
    return "{\"code\":" + std::to_string(code) + ",\"data\":{\"verify\":\"" + verify +
           "\",\"is_confirm\":" + std::to_string(confirm) + "}}";
}

// The session time-out counts only in a body that also holds "code":0.
const std::string kTimeOutReply = "{\"code\":15,\"msg\":\"session expired\",\"data\":{\"code\":0}}";

ScriptedReply ok(const std::string& body) {
    return ScriptedReply::http(200, "OK", body);
}

class DeviceServiceTest : public ::testing::Test {
protected:
    DeviceServiceTest() {
        ServiceSettings s;
        s.baseUrl = server.baseUrl();
        s.caFile = server.caFile();
        s.receiveTimeoutMs = 3000;
        service.setSettings(s);
        service.setClock([] { return 1700000000u; });
    }

    std::vector<std::string> requestPaths() {
        std::vector<std::string> paths;
        for (const auto& e : server.exchanges()) {
            size_t sp = e.request.find(' ');
            paths.push_back(e.request.substr(sp + 1, e.request.find(' ', sp + 1) - sp - 1));
        }
        return paths;
    }

    TlsTestServer server;
    DeviceService service;
};

const std::string kLoginPath = "/api/account/login-with-data";
const std::string kCheckPath = "/api/device/check-device-id-and-mac";

} // namespace

TEST(DeviceServiceBodies, CompactJsonInMemberOrder) {
    EXPECT_EQ("{\"requestNo\":\"42\",\"liveTime\":30,\"param\":{\"user_name\":\"line_module\",\"password\":"
              "\"&5204!qm\"}}",
              DeviceService::buildLoginBody("42", "line_module", "&5204!qm"));
    EXPECT_EQ("{\"requestNo\":\"42\",\"liveTime\":30,\"param\":{\"clientId\":\"1\",\"appId\":10,\"version\":"
              "\"2.1.0.210906\",\"device_id\":\"SN\\\"1\"}}",
              DeviceService::buildCheckDeviceBody("42", "SN\"1"));
    EXPECT_EQ("https://h/api/x", DeviceService::toNarrowString("https://h/", "api/x"));
    EXPECT_EQ("https://h/api/x", DeviceService::toNarrowString("https://h", "api/x"));
    EXPECT_EQ("", DeviceService::toNarrowString("", "api/x"));

    DeviceService s;
    s.setClock([] { return 4294967295u; });
    EXPECT_EQ("4294967295", s.currentTimeText());
    EXPECT_EQ(s.currentTimeText(), s.currentTimeText());
}

TEST_F(DeviceServiceTest, LoginThenCheckSendExactBytes) {
    server.enqueue(ok(loginReply("c00kie-1")));
    server.enqueue(ok(checkReply(0, "A1B2C3", 1)));
    EXPECT_EQ("c00kie-1", service.loginService());
    EXPECT_EQ("c00kie-1", service.cookie());
    EXPECT_EQ(1, service.checkDeviceIdAndMac("SN0001"));
    EXPECT_EQ("A1B2C3", service.verifyCode());
    EXPECT_EQ(1, service.confirmed());

    ASSERT_TRUE(server.waitForExchanges(2, 2000));
    auto ex = server.exchanges();
    // The wire text; a cookie goes on the "Connection" line and into a header of its own.
    auto post = [](const std::string& path, const std::string& cookie, const std::string& body) {
        const std::string c = cookie.empty() ? "" : "Cookie: PexorID=" + cookie;
        return "POST " + path + " HTTP/1.1\r\n" + kHead + "Connection: close " + c +
               "\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\nHost: 127.0.0.1\r\nContent-Type: application/x-www-form-urlencoded\r\n" +
               (cookie.empty() ? "" : c + "\r\n") + "\r\n" + body;
    };
    EXPECT_EQ(post("/api/account/login-with-data", "",
                   "{\"requestNo\":\"1700000000\",\"liveTime\":30,\"param\":{\"user_name\":"
                   "\"line_module\",\"password\":\"&5204!qm\"}}"),
              ex[0].request);
    EXPECT_EQ(post("/api/device/check-device-id-and-mac", "c00kie-1",
                   "{\"requestNo\":\"1700000000\",\"liveTime\":30,\"param\":{\"clientId\":\"1\","
                   "\"appId\":10,\"version\":\"2.1.0.210906\",\"device_id\":\"SN0001\"}}"),
              ex[1].request);
}

TEST_F(DeviceServiceTest, CheckOutcomes) {
    service.setCookie("k");
    // 2004 is accepted beside "code":0 only.
    server.enqueue(ok("{\"code\":2004,\"data\":{\"code\":0,\"verify\":\"V\",\"is_confirm\":0}}"));
    server.enqueue(ok(checkReply(7, "V", 1)));                                   // refused code
    server.enqueue(ok("{\"code\":0,\"data\":{\"is_confirm\":1}}"));              // no verify
    server.enqueue(ok("{\"code\":0,\"data\":{\"verify\":5,\"is_confirm\":1}}")); // wrong type
    server.enqueue(ok("{\"code\":0,\"data\":{\"verify\":\"V\",\"is_confirm\":\"1\"}}"));
    server.enqueue(ok("{\"code\":0,\"data\":[]}"));
    server.enqueue(ok("{\"code\":150,\"data\":{\"verify\":\"V\",\"is_confirm\":1}}"));
    server.enqueue(ScriptedReply::http(404, "Not Found", checkReply(0, "V", 1)));
    server.enqueue(ScriptedReply::http(500, "Not 200 OK", checkReply(0, "V", 1)));
    server.enqueue(ok(checkReply(2004, "V", 1)));                                     // 2004 alone
    server.enqueue(ok("{\"code\":15,\"data\":{\"verify\":\"V\",\"is_confirm\":1}}")); // 15 alone
    server.enqueue(ok("{\"code\":0.5,\"data\":{\"verify\":\"V\",\"is_confirm\":1}}"));

    EXPECT_EQ(1, service.checkDeviceIdAndMac("SN"));
    EXPECT_EQ("V", service.verifyCode());
    EXPECT_EQ(0, service.confirmed());
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(-1, service.checkDeviceIdAndMac("SN")) << "reply " << i + 2;
    EXPECT_EQ(0, service.confirmed());
    // Neither 15 nor 2004 alone led to a login.
    ASSERT_TRUE(server.waitForExchanges(12, 5000));
    for (const std::string& path : requestPaths())
        EXPECT_EQ(kCheckPath, path);
}

TEST_F(DeviceServiceTest, LoginFailuresAreErrors) {
    const char* bodies[] = {
        "{\"code\":1,\"data\":{\"cookie\":\"x\"}}",
        "{\"code\":10,\"note\":\"\\\"code\\\":0\"}", // "code":0 only inside a text
        "{\"code\":\"0\",\"data\":{\"cookie\":\"x\"}}",
        "{\"code\":0,\"data\":{\"cookie\":\"x\"}", // no closing brace
        "{\"code\":0,\"data\":{\"cookie\":7}}",
        "{\"code\":15}",
        "no json here",
        "{\"code\":2004,\"data\":{\"cookie\":\"x\"}}",
        "{\"code\":00,\"data\":{\"cookie\":\"x\"}}",
    };
    for (const char* b : bodies)
        server.enqueue(ok(b));
    server.enqueue(ScriptedReply::http(403, "Forbidden", loginReply("x")));
    for (size_t i = 0; i < sizeof bodies / sizeof *bodies + 1; ++i)
        EXPECT_EQ("Error", service.loginService()) << "reply " << i;
}

TEST_F(DeviceServiceTest, CookieLessLoginReturnsTheJsonText) {
    server.enqueue(ok("garbage before " + loginReply("") + " after"));
    server.enqueue(ok(checkReply(0, "V", 1)));
    EXPECT_EQ(loginReply(""), service.loginService());
    EXPECT_EQ(1, service.checkDeviceIdAndMac("SN"));
    ASSERT_TRUE(server.waitForExchanges(2, 2000));
    EXPECT_NE(std::string::npos, server.exchanges()[1].request.find("\r\nCookie: PexorID=\r\n"));
}

TEST_F(DeviceServiceTest, HostileCookieIsRefused) {
    server.enqueue(ok(loginReply("abc\\r\\nX-Injected: 1")));
    server.enqueue(ok(loginReply("a;b")));
    server.enqueue(ok(loginReply(std::string(DeviceService::kMaxCookieLength + 1, 'c'))));
    server.enqueue(ok(loginReply(std::string(DeviceService::kMaxCookieLength, 'c'))));
    service.setCookie("old");
    EXPECT_EQ("Error", service.loginService());
    EXPECT_EQ("Error", service.loginService());
    EXPECT_EQ("Error", service.loginService());
    EXPECT_EQ("old", service.cookie());
    EXPECT_EQ(std::string(DeviceService::kMaxCookieLength, 'c'), service.loginService());
}

TEST_F(DeviceServiceTest, ExpiredSessionLogsInAgain) {
    service.setCookie("first");
    server.enqueue(ok(kTimeOutReply));
    server.enqueue(ok(loginReply("second")));
    server.enqueue(ok(checkReply(0, "V2", 1)));
    EXPECT_EQ(1, service.checkDeviceIdAndMac("SN"));
    EXPECT_EQ("V2", service.verifyCode());
    ASSERT_TRUE(server.waitForExchanges(3, 2000));
    EXPECT_EQ((std::vector<std::string>{kCheckPath, kLoginPath, kCheckPath}), requestPaths());
    auto ex = server.exchanges();
    EXPECT_NE(std::string::npos, ex[0].request.find("\r\nCookie: PexorID=first\r\n"));
    EXPECT_NE(std::string::npos, ex[2].request.find("\r\nCookie: PexorID=second\r\n"));
}

TEST_F(DeviceServiceTest, ReloginIsBounded) {
    service.setCookie("c");
    for (int i = 0; i < 3; ++i) {
        server.enqueue(ok(kTimeOutReply));
        server.enqueue(ok(loginReply("c" + std::to_string(i))));
    }
    server.enqueue(ok(kTimeOutReply));
    server.enqueue(ok(checkReply(0, "never", 1)));
    EXPECT_EQ(-1, service.checkDeviceIdAndMac("SN"));
    ASSERT_TRUE(server.waitForExchanges(7, 2000));
    EXPECT_EQ((std::vector<std::string>{kCheckPath, kLoginPath, kCheckPath, kLoginPath, kCheckPath,
                                        kLoginPath, kCheckPath}),
              requestPaths());
}

TEST_F(DeviceServiceTest, FailedOrCookieLessReloginEndsTheCheck) {
    service.setCookie("c");
    server.enqueue(ok(kTimeOutReply));
    server.enqueue(ScriptedReply::http(500, "Internal Server Error", "{}"));
    EXPECT_EQ(-1, service.checkDeviceIdAndMac("SN"));
    server.enqueue(ok(kTimeOutReply));
    server.enqueue(ok(loginReply("")));
    server.enqueue(ok(checkReply(0, "never", 1)));
    EXPECT_EQ(-1, service.checkDeviceIdAndMac("SN"));
    ASSERT_TRUE(server.waitForExchanges(4, 2000));
    EXPECT_EQ((std::vector<std::string>{kCheckPath, kLoginPath, kCheckPath, kLoginPath}), requestPaths());
}

TEST_F(DeviceServiceTest, ChunkedCheckReply) {
    service.setCookie("c");
    server.enqueue(ScriptedReply::chunked(checkReply(0, "CHUNKED", 1), 5));
    EXPECT_EQ(1, service.checkDeviceIdAndMac("SN"));
    EXPECT_EQ("CHUNKED", service.verifyCode());
}

TEST_F(DeviceServiceTest, SilentServerAndMissingSettingsFail) {
    server.enqueue(ScriptedReply::silent(3000));
    ServiceSettings s = service.settings();
    s.receiveTimeoutMs = 200;
    service.setSettings(s);
    EXPECT_EQ("Error", service.loginService());

    s.baseUrl.clear();
    service.setSettings(s);
    EXPECT_EQ("Error", service.loginService());
    EXPECT_EQ(-1, service.checkDeviceIdAndMac("SN"));

    s.baseUrl = server.baseUrl();
    s.caFile.clear(); // the test CA is not trusted
    service.setSettings(s);
    EXPECT_EQ("Error", service.loginService());
}

TEST_F(DeviceServiceTest, DeeplyNestedRepliesAreErrors) {
    // 150 000 open brackets, far below the body cap.
    const std::string deep = std::string(150000, '[') + std::string(150000, ']');
    const std::string nested64 = std::string(62, '[') + std::string(62, ']'); // 64 with the two objects
    const std::string nested65 = std::string(63, '[') + std::string(63, ']');
    server.enqueue(ok("{\"code\":0,\"data\":{\"cookie\":\"x\",\"n\":" + deep + "}}"));
    server.enqueue(ok("{\"code\":0,\"data\":{\"cookie\":\"x\",\"n\":" + nested65 + "}}"));
    server.enqueue(ok("{\"code\":0,\"data\":{\"cookie\":\"x\",\"n\":\"[[[[\",\"m\":" + nested64 + "}}"));
    server.enqueue(ok("{\"code\":0,\"data\":{\"verify\":\"V\",\"is_confirm\":1,\"n\":" + deep + "}}"));
    EXPECT_EQ("Error", service.loginService());
    EXPECT_EQ("Error", service.loginService());
    // Brackets inside a text do not count.
    EXPECT_EQ("x", service.loginService());
    EXPECT_EQ(-1, service.checkDeviceIdAndMac("SN"));
}
