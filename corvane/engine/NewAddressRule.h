// What the two address batches (the IP change and the other-parameter run) share: the range of
// host addresses they hand out, the verdict on each candidate address before it is handed out,
// with its log line.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace newaddress {

// Host addresses handed out to cameras: 1.0.0.0 up to and including 223.255.255.255 (multicast
// and reserved addresses beyond).
constexpr std::uint32_t kFirstHost = 0x01000000u;
constexpr std::uint32_t kLastHost = 0xDFFFFFFFu;

inline bool isHost(std::uint32_t address) {
    return address >= kFirstHost && address <= kLastHost;
}

// A strict dotted quad within the host range; value (may be null) gets it in host order.
bool validStart(const std::string& text, std::uint32_t* value = nullptr);

// A candidate's verdict. A ping gives Free (no answer, also no route to the address), Used (an
// answer, or text that is not an address) or NoVerdict (the ping could not run or judge: not
// taken as free); the rule adds Edge (the subnet's network or broadcast address) and Held (a
// change in progress sends a camera there).
enum class Verdict { Free, Used, Edge, Held, NoVerdict };

// Edge and Held addresses are passed over unpinged; otherwise the ping decides.
Verdict judge(std::uint32_t address, std::uint32_t mask, const std::function<bool(const std::string&)>& held,
              const std::function<Verdict(const std::string&)>& ping);

// Logs why a candidate was passed over (Used, Edge, Held); nothing for the other verdicts.
void logPassedOver(const char* where, Verdict verdict, const std::string& candidate);

} // namespace newaddress
