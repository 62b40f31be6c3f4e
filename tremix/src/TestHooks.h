// Observation and fault points for tests; none is set in a normal run. Every hook of a request runs
// on the calling thread of the request it reports.
#pragma once

#include <cstdint>
#include <string>

namespace tremix {

struct TestHooks {
    // Just before a request's step through the gate, outside every lock of the library.
    void (*beforeSend)(const std::string& key, void* user) = nullptr;
    // The request found its device's question open (or its device already asked) and waits.
    void (*waiting)(const std::string& key, void* user) = nullptr;
    // The request went out on the connection whose local port is localPort, at atNs.
    void (*sent)(const std::string& key, int localPort, std::uint64_t atNs, void* user) = nullptr;
    // The request got no answer and left its device's question open, at atNs.
    void (*gaveUp)(const std::string& key, std::uint64_t atNs, void* user) = nullptr;
    // The request failed unsent: its device's question did not close in time.
    void (*refused)(const std::string& key, void* user) = nullptr;
    // On the connection thread, after connect() has returned and before the link is marked up.
    void (*connected)(void* user) = nullptr;
    // The send buffer size for each new connection, in bytes (0: the system's).
    int (*sendBuffer)(void* user) = nullptr;
    void* user = nullptr;
};

// Null clears. The hooks must stay valid while any request may run.
void setTestHooks(const TestHooks* hooks);
const TestHooks* testHooks();

} // namespace tremix
