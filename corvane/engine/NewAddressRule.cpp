#include "NewAddressRule.h"

#include "net/DottedQuad.h"
#include "quillet/Quillet.h"

namespace newaddress {

bool validStart(const std::string& text, std::uint32_t* value) {
    std::uint32_t address = 0;
    if (!dottedquad::parse(text, &address) || !isHost(address))
        return false;
    if (value)
        *value = address;
    return true;
}

Verdict judge(std::uint32_t address, std::uint32_t mask, const std::function<bool(const std::string&)>& held,
              const std::function<Verdict(const std::string&)>& ping) {
    if (dottedquad::isSubnetEdge(address, mask))
        return Verdict::Edge;
    const std::string text = dottedquad::format(address);
    // The camera it was sent to may not be there yet: the address is silent but taken.
    if (held && held(text))
        return Verdict::Held;
    const Verdict verdict = ping(text);
    return verdict == Verdict::Free || verdict == Verdict::NoVerdict ? verdict : Verdict::Used;
}

void logPassedOver(const char* where, Verdict verdict, const std::string& candidate) {
    const char* format = nullptr;
    switch (verdict) {
    case Verdict::Used:
        format = "pNewIp is used,pNewIp = %s";
        break;
    case Verdict::Held:
        format = "pNewIp is held by a change in progress,pNewIp = %s";
        break;
    case Verdict::Edge:
        format = "pNewIp is the subnet's network or broadcast address,pNewIp = %s";
        break;
    default:
        return;
    }
    Qx_Write_Log(300, where, format, candidate.c_str());
}

} // namespace newaddress
