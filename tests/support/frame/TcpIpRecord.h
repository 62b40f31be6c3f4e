// The TCP/IP page's record as the tests store it: an address, a mask, a gateway and a DNS server.
#pragma once

#include "ozmlogic/ParamRecords.h"

#include <cstdio>

namespace frametest {

inline OZM::_SC_TCP_IP_DATA tcpIpRecord(const char* ip, const char* mask = "255.0.0.0",
                                        const char* gateway = "127.0.0.1", const char* dns = "127.0.0.1") {
    OZM::_SC_TCP_IP_DATA tcp{};
    std::snprintf(tcp.ip, sizeof tcp.ip, "%s", ip);
    std::snprintf(tcp.mask, sizeof tcp.mask, "%s", mask);
    std::snprintf(tcp.gateway, sizeof tcp.gateway, "%s", gateway);
    std::snprintf(tcp.dns, sizeof tcp.dns, "%s", dns);
    return tcp;
}

} // namespace frametest
