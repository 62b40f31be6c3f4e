// What the two address batches (the IP change and the other-parameter run) share: the range of
// start addresses they accept and the judgement of each candidate address before it is handed
// out, with its log line.
#pragma once

#include "PingHelper.h"

#include <cstdint>
#include <functional>
#include <string>

namespace newaddress {

// Host addresses handed out to cameras: 1.0.0.0 up to 223.255.255.255.
constexpr std::uint32_t kFirstHost = 0x01000000u;
constexpr std::uint32_t kHostEnd = PingHelper::kHostAddressEnd;

inline bool isHost(std::uint32_t address) {
    return address >= kFirstHost && address < kHostEnd;
}

// A strict dotted quad within the host range; value (may be null) gets it in host order.
bool validStart(const std::string& text, std::uint32_t* value = nullptr);

enum class Verdict { Free, Used, Edge, Held, NoVerdict };

// The subnet's network and broadcast addresses and an address that a live device thread holds
// are passed over unpinged; otherwise the ping decides (held and ping as PingHelper::probe).
Verdict judge(std::uint32_t address, std::uint32_t mask, const std::function<bool(const std::string&)>& held,
              const std::function<int(const std::string&)>& ping);

// Logs why a candidate was passed over (Used, Edge, Held); nothing for the other verdicts.
void logPassedOver(const char* where, Verdict verdict, const std::string& candidate);

} // namespace newaddress
