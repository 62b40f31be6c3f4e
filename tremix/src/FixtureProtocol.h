// The fixture wire protocol: frame header, requests, and the copy of replies into the records.
#pragma once

#include "tremix/Tremix.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace Json {
class Value;
}

namespace tremix {

struct FixtureFrameHeader {
    std::uint8_t mark;      // 0xF0
    std::uint8_t version;   // 0x01
    std::uint8_t type;      // FrameType
    std::uint8_t flag;      // 0x01
    std::uint8_t length[2]; // payload length, little-endian
    std::uint8_t reserved[2];
};
static_assert(sizeof(FixtureFrameHeader) == 8, "FixtureFrameHeader layout");

constexpr std::uint8_t kFrameMark = 0xF0;
constexpr std::size_t kFrameHeaderSize = 8;
constexpr std::size_t kMaxPayload = 0xFFFF;
enum FrameType : std::uint8_t { kFrameRequest = 0, kFrameReply = 1, kFramePush = 2 };

inline std::size_t payloadLength(const std::uint8_t* header) {
    return static_cast<std::size_t>(header[4]) | (static_cast<std::size_t>(header[5]) << 8);
}

extern const char* const kCmdHeartbeat;
extern const char* const kCmdDeviceList;
extern const char* const kCmdTestResult;

// Request payloads: compact JSON with sorted keys and a trailing line feed.
std::string heartbeatRequest();
std::string deviceListRequest();
std::string testResultRequest(const char* mac);
// Header of the given type followed by the payload (at most 65535 bytes; longer payloads are cut).
std::string buildFrame(std::uint8_t type, const std::string& payload);

// Parses a JSON object; false for invalid JSON, a non-object, or anything the parser throws.
bool parseJsonObject(const char* text, std::size_t length, Json::Value& out);
// Type-checked reads: a missing key or a value of another type reads as "" / 0; a text is read
// whole, zero bytes included.
std::string jsonString(const Json::Value& object, const char* key);
int jsonInt(const Json::Value& object, const char* key);

// Copies a test_result object into out (zeroed first); a zero byte inside a text is stored as
// '?'. False, leaving out unchanged, when the text is not a JSON object or its "mac" is missing,
// empty, not a string or holds a zero byte.
bool parseTestResult(const char* text, std::size_t length, FixtureTestResult& out);
bool parseTestResult(const Json::Value& object, FixtureTestResult& out);
// Copies a device_list object into out: non-empty texts replace the fields, port_num is always
// written. False for text that is not a JSON object.
bool parseDevList(const char* text, std::size_t length, FixtureDevInfo& out);
bool parseDevList(const Json::Value& object, FixtureDevInfo& out);

// The one key of a device by its MAC, whatever the spelling: letters lower-cased, everything but
// letters and digits dropped (case, colons, dashes, spaces). A MAC of none of those keeps its
// text (behind '='); an empty MAC, or one with a zero byte inside, has no key (empty).
// Questions, reply matching and the push store all use it.
std::string macKey(const std::string& mac);
// Whether two MAC texts name one device (neither without a key).
bool macMatches(const std::string& a, const std::string& b);

} // namespace tremix
