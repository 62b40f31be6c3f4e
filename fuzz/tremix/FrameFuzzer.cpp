// libFuzzer target: the receive buffer's frame cutter and the JSON-to-record copy.
// The first input byte chooses the receive sizes; the rest is the byte stream from the fixture.
#include "CFrameBuffer.h"
#include "FixtureProtocol.h"

#include <json/json.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

template <std::size_t N> void checkText(const char (&field)[N]) {
    check(std::memchr(field, '\0', N) != nullptr);
}

void checkResult(const FixtureTestResult& r) {
    checkText(r.uuid);
    checkText(r.mac);
    checkText(r.uart);
    checkText(r.audio);
    check(std::strlen(r.uart) <= 16);
    // The counts are the entries filled, within the record.
    check(r.gpioCount >= 0 && r.gpioCount <= FIXTURE_MAX_ITEMS);
    check(r.networkCount >= 0 && r.networkCount <= FIXTURE_MAX_ITEMS);
    for (int i = 0; i < FIXTURE_MAX_ITEMS; ++i) {
        checkText(r.gpio[i].name);
        checkText(r.gpio[i].function);
        checkText(r.gpio[i].status);
        checkText(r.network[i].name);
        checkText(r.network[i].status);
    }
}

void handleFrame(const tremix::FixtureFrameHeader& header, const char* payload, std::size_t length) {
    check(header.mark == tremix::kFrameMark);
    Json::Value object;
    if (!tremix::parseJsonObject(payload, length, object))
        return;
    const std::string cmd = tremix::jsonString(object, "cmd");
    const std::string mac = tremix::jsonString(object, "mac");
    (void)tremix::macMatches(mac, "AA:BB:CC:DD:EE:FF");
    (void)cmd;
    FixtureTestResult result;
    std::memset(&result, 0x5A, sizeof result);
    if (tremix::parseTestResult(object, result)) {
        check(!mac.empty() && mac.find('\0') == std::string::npos);
        checkResult(result);
    }
    FixtureDevInfo dev;
    std::memset(&dev, 0, sizeof dev);
    if (tremix::parseDevList(object, dev)) {
        checkText(dev.version);
        checkText(dev.uuid);
        checkText(dev.mode);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t step = 1 + data[0] * 37u;
    ++data;
    --size;

    // Cut the stream as it would arrive in receives of `step` bytes.
    tremix::CFrameBuffer buffer(120000);
    std::size_t pos = 0;
    std::size_t frames = 0;
    while (pos < size) {
        const std::size_t n = std::min(step, size - pos);
        check(buffer.Append(data + pos, n) == n);
        pos += n;
        std::size_t pending = 0;
        frames += buffer.Cut(handleFrame, &pending);
        check(buffer.Count() < tremix::kFrameHeaderSize + tremix::kMaxPayload);
        if (buffer.Count() > 0)
            check(buffer.WritePtr()[-static_cast<std::ptrdiff_t>(buffer.Count())] == tremix::kFrameMark);
    }
    (void)frames;

    // The whole input as one JSON text.
    FixtureTestResult result;
    std::memset(&result, 0, sizeof result);
    if (tremix::parseTestResult(reinterpret_cast<const char*>(data), size, result))
        checkResult(result);
    return 0;
}
