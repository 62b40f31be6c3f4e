// One camera's login in the engine's login table.
#pragma once

#include <cstdint>

class DeviceManager;

struct LoginSlot {
    enum State : std::int32_t { LoggedIn = 0, LoggingIn = 1, Failed = 2, TimedOut = 3 };

    DeviceManager* owner = nullptr; // the SDK callback ignores a slot without owner
    std::int32_t index = 0;         // the slot's own position
    char mac[18] = {};              // empty: slot not in use
    char ip[18] = {};               // address at the time of the login
    std::uint32_t hIPCLogin = 0;    // SDK login handle; 0 = none
    std::int32_t state = LoggedIn;
    std::uint64_t startTick = 0; // program milliseconds (monotonic) of the last attempt
    bool inLoginCall = false;    // KVX_NET_Login has not returned yet
    bool nameWanted = false;     // the name read found the login in progress: read it on success
    std::uint64_t change = 0;    // the IP change whose relogin this login is, 0 none

    // The one test for "logged in" across the engine: a handle whose login succeeded.
    bool loggedIn() const { return hIPCLogin != 0 && state == LoggedIn; }
    // A login (or relogin) whose call or answer is still to come.
    bool loggingIn() const { return state == LoggingIn; }
    // What a relogin renews: a handle, whatever its state (a failed or dropped session keeps
    // it), or a login call that may still return one.
    bool renewable() const { return hIPCLogin != 0 || inLoginCall; }
};
