// Control of the simulated camera fleet behind the camera SDK and the LAN search library:
// fleet set-up, fault injection and the call log. For tests and tools only; the system
// itself sees nothing but the KVX_NET_ functions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace camsim {

// One simulated camera. Times are program milliseconds (scaled by CORVANE_TIME_SCALE).
struct CameraProfile {
    std::string mac;
    std::string serial;
    std::string ip; // must lie in 127.0.0.0/8
    std::string mask = "255.0.0.0";
    std::string gateway = "127.0.0.1";
    std::string dns = "127.0.0.1";
    int httpPort = 80;
    int rtspPort = 554;
    int httpsPort = 443;
    int onvifPort = 8000;
    std::string user = "admin";
    std::string password = "12345";
    std::string deviceType = "IPCAMERA";
    std::string name;              // OSD text, the name the device table shows
    std::string model = "IPC-SIM"; // search record text at offset 384
    int dhcp = 0;
    int fullNetcom = 0;
    int column3Flag = 0;
    bool online = true;
    bool silentLogin = false; // logins get no 1536/1537
    int loginDelayMs = 100;   // login call to its message
    int rebootMs = 8000;      // offline time of a reboot
    bool sdCardPresent = true;
    std::uint32_t sdTotal = 30436;
    std::uint32_t sdFree = 29000;
};

// Fault injection: matches the camera (MAC, current address or "*") and the call (function
// name or "*"). Pseudo-calls: "KVX_NET_Upgrade:result" (fail: 1282 instead of 1281),
// "KVX_NET_Login:return" (delayMs: the login call returns that much later, after its answer
// may already have been delivered).
// fail: the call returns its failure value (asynchronous answers report failure);
// silent: asynchronous answers never come (synchronous calls fail);
// delayMs: the call blocks, or its answer comes, that much later.
// times: how many matching calls it applies to, -1 for all;
// held: the call (after its delay) blocks until releaseHeldCalls() or resetWorld().
struct Injection {
    std::string camera = "*";
    std::string call = "*";
    bool fail = false;
    bool silent = false;
    int delayMs = 0;
    int times = -1;
    bool held = false;
};

// One SDK or search call as the stand-in received it.
struct CallRecord {
    std::uint64_t seq = 0;
    std::string function;
    std::vector<long long> args;   // integer arguments in order (handles, channels, counts)
    std::string text;              // text argument (address, file path), if any
    std::string camera;            // MAC of the camera the call reached, empty when none
    std::vector<std::uint8_t> in;  // record bytes as passed in
    std::vector<std::uint8_t> out; // record bytes after the call
    long long result = 0;
};

// Timing of the asynchronous parts, program milliseconds.
struct Timing {
    int searchFirstAnswerMs = 20;
    int searchAnswerStepMs = 10;
    int modifyAnswerMs = 300;
    int modifyRunEndMs = 3000; // quiet time after the last request before the null record
    int rebootGraceMs = 500;   // a reboot-causing call to the camera going offline
    int upgradeStepMs = 500;
};

// The default fleet: count cameras from 127.0.0.11 upwards.
std::vector<CameraProfile> defaultFleet(int count = 8);
// Reads a fleet file (JSON, see the README). False with a reason on any error.
bool readFleetFile(const std::string& path, std::vector<CameraProfile>* out, std::string* error);

// Replaces the fleet. Drops every login, stream and run without callbacks; keeps the
// Startup count, injections and the call log.
void useFleet(const std::vector<CameraProfile>& cameras);
// Back to the fleet of CORVANE_SIM_FLEET (or the default); clears injections, timing and log.
void resetWorld();

// Current state of the fleet (addresses, ports, accounts and online flags as they are now).
std::vector<CameraProfile> fleet();
bool findCamera(const std::string& macOrAddress, CameraProfile* out);
void setOnline(const std::string& mac, bool online);
void rebootCamera(const std::string& mac);
// A camera's stored record of a family ("osd", "time", "dst", "storage", "cpld", "net",
// "ddns", "p2p", "gb28181", "encScope", "encPro", "audio", "audioEnc", "fillLight",
// "videoParam", "videoCover", "md", "alarm", "rebootEx"); empty when unknown.
std::vector<std::uint8_t> paramBytes(const std::string& mac, const std::string& family);
bool setParamBytes(const std::string& mac, const std::string& family, const std::vector<std::uint8_t>& bytes);

void inject(const Injection& injection);
void clearInjections();
// Lets the calls that a held injection blocks go on: every one, or those to one camera (MAC);
// calls matched later are held again.
void releaseHeldCalls(const std::string& mac = "*");
// Calls blocked by a held injection right now (all, or those to one camera).
int heldCalls(const std::string& mac = "*");
void setTiming(const Timing& timing);
Timing timing();

std::vector<CallRecord> callLog();
std::vector<CallRecord> calls(const std::string& function);
void clearCallLog();
// The log keeps the latest calls, up to 8 MB of records (a test reads the calls it made since its
// last clear). Whether calls are recorded: on by default; reset() turns it on again.
void setCallRecording(bool on);

int startupCount();
int sessionCount();     // logins not yet logged out
int liveSessionCount(); // of those, the logins the camera has accepted
int streamCount();
int pictureCount(); // pictures shown in windows; call on the GUI thread
// The state file that the stand-in ping reads.
std::string stateFilePath();

} // namespace camsim
