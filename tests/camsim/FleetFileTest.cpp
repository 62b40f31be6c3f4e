// The fleet file.
#include "SimTestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <set>
#include <sys/stat.h>

namespace {

std::string writeFile(const QTemporaryDir& dir, const char* text) {
    const QString path = dir.filePath("fleet.json");
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(text);
    return path.toStdString();
}

} // namespace

TEST(FleetFile, ReadsCamerasAndGeneratedOnes) {
    QTemporaryDir dir;
    const std::string path = writeFile(dir, R"({"cameras": [
        {"mac": "AA:BB:CC:00:00:01", "ip": "127.0.5.1", "user": "root", "password": "pw", "httpPort": 8080,
         "deviceType": "NVR", "silentLogin": true, "online": false, "sdCard": false}
      ], "generate": 2})");
    std::vector<camsim::CameraProfile> fleet;
    std::string error;
    ASSERT_TRUE(camsim::readFleetFile(path, &fleet, &error)) << error;
    ASSERT_EQ(fleet.size(), 3u);
    EXPECT_EQ(fleet[0].mac, "AA:BB:CC:00:00:01");
    EXPECT_EQ(fleet[0].httpPort, 8080);
    EXPECT_EQ(fleet[0].deviceType, "NVR");
    EXPECT_TRUE(fleet[0].silentLogin);
    EXPECT_FALSE(fleet[0].online);
    EXPECT_FALSE(fleet[0].sdCardPresent);
    EXPECT_EQ(fleet[0].rtspPort, 554); // defaults fill what is left out
    EXPECT_EQ(fleet[1].ip, "127.0.0.12");
    EXPECT_EQ(fleet[2].ip, "127.0.0.13");
}

// Cameras the world cannot hold, card sizes outside the record and values of the wrong type are
// refused; the values at the edges are taken.
TEST(FleetFile, RefusesWhatTheWorldOrTheRecordCannotHold) {
    QTemporaryDir dir;
    std::vector<camsim::CameraProfile> fleet;
    std::string error;
    for (const char* text : {R"([{"mac": "A", "ip": "192.168.1.10"}])",
                             R"([{"mac": "A", "ip": "127.0.0.5"}, {"mac": "A", "ip": "127.0.0.6"}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "httpPort": 0}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "gateway": "192.168.1.1"}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "dns": "8.8.8.8"}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "mask": "255.255.255.0; x"}])",
                             "{not json",
                             R"([{"mac": "A", "ip": "127.0.0.5", "sdTotal": -1}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "sdTotal": 1e300}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "sdFree": 4294967296}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "sdFree": 1.5}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "sdFree": "big"}])",
                             R"({"cameras": {"mac": "A", "ip": "127.0.0.5"}})",
                             R"({"cameras": [], "generate": "3"})",
                             R"({"cameras": [], "generate": 1e12})",
                             R"([{"mac": "A", "ip": "127.0.0.5", "httpPort": "99999"}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "rtspPort": 554.5}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "loginDelayMs": 1e12}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "online": "no"}])",
                             R"([{"mac": "A", "ip": "127.0.0.5", "password": 12345}])"})
        EXPECT_FALSE(camsim::readFleetFile(writeFile(dir, text), &fleet, &error)) << text;
    EXPECT_FALSE(camsim::readFleetFile(dir.filePath("missing.json").toStdString(), &fleet, &error));

    EXPECT_TRUE(camsim::readFleetFile(
        writeFile(dir,
                  R"([{"mac": "A", "ip": "127.0.0.5", "mask": "255.255.0.0", "gateway": "127.0.0.254"}])"),
        &fleet, &error))
        << error;
    ASSERT_TRUE(camsim::readFleetFile(
        writeFile(dir, R"([{"mac": "A", "ip": "127.0.0.5", "sdTotal": 4294967295, "sdFree": 0}])"), &fleet,
        &error))
        << error;
    EXPECT_EQ(fleet[0].sdTotal, 4294967295u);
    EXPECT_EQ(fleet[0].sdFree, 0u);
    ASSERT_TRUE(camsim::readFleetFile(
        writeFile(dir, R"({"cameras": [{"mac": "A", "ip": "127.0.0.5", "loginDelayMs": -5, "online": false}],
                          "generate": 1})"),
        &fleet, &error))
        << error;
    ASSERT_EQ(fleet.size(), 2u);
    EXPECT_EQ(fleet[0].loginDelayMs, -5);
    EXPECT_FALSE(fleet[0].online);
}

TEST(FleetFile, DefaultFleetIsLoopback) {
    const auto fleet = camsim::defaultFleet(300);
    ASSERT_EQ(fleet.size(), 300u);
    EXPECT_EQ(fleet[0].ip, "127.0.0.11");
    EXPECT_EQ(fleet[7].ip, "127.0.0.18");
    std::set<std::string> ips;
    for (const auto& c : fleet) {
        EXPECT_EQ(c.ip.rfind("127.", 0), 0u);
        EXPECT_EQ(c.deviceType, "IPCAMERA");
        ips.insert(c.ip);
    }
    EXPECT_EQ(ips.size(), 300u);
}

// The file must be a regular file of a few MB at most (a FIFO would block the start for ever, a
// link to /dev/zero would be read without end); it holds at most 4096 cameras, listed and
// generated together; a host part of 0 or 255 is no camera address.
TEST(FleetFile, RefusesUnreadableOversizedAndUnusableFiles) {
    QTemporaryDir dir;
    std::vector<camsim::CameraProfile> fleet;
    std::string error;
    auto manyCameras = [](int n) {
        std::string text = "[";
        for (int i = 0; i < n; ++i)
            text += i ? ",{}" : "{}";
        return text + "]";
    };
    struct Case {
        const char* name;
        std::function<std::string()> make;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"fifo",
         [&] {
             const QString path = dir.filePath("fifo.json");
             EXPECT_EQ(0, mkfifo(QFile::encodeName(path).constData(), 0600));
             return path.toStdString();
         },
         false},
        {"link to /dev/zero",
         [&] {
             const QString path = dir.filePath("zero.json");
             EXPECT_TRUE(QFile::link("/dev/zero", path));
             return path.toStdString();
         },
         false},
        {"9 MB of blanks",
         [&] {
             const QString path = dir.filePath("big.json");
             QFile f(path);
             EXPECT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("[]");
             f.write(QByteArray(9 << 20, ' '));
             return path.toStdString();
         },
         false},
        {"4097 cameras", [&] { return writeFile(dir, manyCameras(4097).c_str()); }, false},
        {"4096 cameras and 4096 generated",
         [&] {
             const std::string text = "{\"cameras\": " + manyCameras(4096) + ", \"generate\": 4096}";
             return writeFile(dir, text.c_str());
         },
         false},
        {"4000 cameras and 97 generated",
         [&] {
             const std::string text = "{\"cameras\": " + manyCameras(4000) + ", \"generate\": 97}";
             return writeFile(dir, text.c_str());
         },
         false},
        {"4000 cameras and 96 generated",
         [&] {
             const std::string text = "{\"cameras\": " + manyCameras(4000) + ", \"generate\": 96}";
             return writeFile(dir, text.c_str());
         },
         true},
        {"4097 generated", [&] { return writeFile(dir, R"({"cameras": [], "generate": 4097})"); }, false},
        {"host part 0", [&] { return writeFile(dir, R"([{"mac": "A", "ip": "127.0.1.0"}])"); }, false},
        {"host part 255", [&] { return writeFile(dir, R"([{"mac": "A", "ip": "127.0.0.255"}])"); }, false},
        {"host parts 1 and 254",
         [&] {
             return writeFile(dir, R"([{"mac": "A", "ip": "127.0.1.1"}, {"mac": "B", "ip": "127.0.0.254"}])");
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = c.make();
        QElapsedTimer clock;
        clock.start();
        error.clear();
        EXPECT_EQ(c.accepted, camsim::readFleetFile(path, &fleet, &error)) << error;
        // A read that blocks (a FIFO without a writer) never returns; a thread-checked build reads
        // 4096 cameras in up to 10 s.
        EXPECT_LT(clock.elapsed(), 30000);
        EXPECT_EQ(c.accepted, error.empty()) << error;
    }
    EXPECT_EQ(fleet.size(), 2u);
}

// Generated addresses skip host parts 0 and 255, across the /16 boundary too (they are computed
// per index, no longer by stepping from the first).
TEST(FleetFile, GeneratedAddressesSkipZeroAndBroadcast) {
    const auto fleet = camsim::defaultFleet(70000);
    ASSERT_EQ(fleet.size(), 70000u);
    EXPECT_EQ(fleet[243].ip, "127.0.0.254");
    EXPECT_EQ(fleet[244].ip, "127.0.1.1");
    EXPECT_EQ(fleet[244 + 253].ip, "127.0.1.254");
    EXPECT_EQ(fleet[244 + 254].ip, "127.0.2.1");
    EXPECT_EQ(fleet[254 * 256 - 10].ip, "127.1.0.1");
    std::set<std::string> ips;
    for (const auto& c : fleet) {
        const std::string last = c.ip.substr(c.ip.rfind('.') + 1);
        ASSERT_TRUE(last != "0" && last != "255") << c.ip;
        ips.insert(c.ip);
    }
    EXPECT_EQ(ips.size(), fleet.size());
}
