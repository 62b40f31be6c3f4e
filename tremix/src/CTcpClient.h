// A TCP client socket.
#pragma once

#include "CBaseSocket.h"

#include <atomic>

namespace tremix {

class CTcpClient : public CBaseSocket {
public:
    // Connects within waitMs milliseconds; 1 connected (blocking mode), 0 not. A set cancel flag
    // ends the wait early.
    int Connect(const char* host, int port, int waitMs, const std::atomic<bool>* cancel = nullptr);

    // Connection attempts made by this process (tests count them).
    static int attempts();
    // A fault point for tests: the next n connects of this process wait ms real milliseconds
    // (ended early by the cancel flag, which fails them) before they connect.
    static void HoldNextConnects(int n, int ms);

private:
    static std::atomic<int> s_attempts;
    static std::atomic<int> s_holdConnects;
    static std::atomic<int> s_holdMs;
};

} // namespace tremix
