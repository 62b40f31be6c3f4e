// Tremix: access to the production-line test fixture. A C interface of seven functions; the
// records are owned by the caller. Functions return 1 for success and 0 for failure
// (PTQ_FT_Login: a session handle 1..127, 0 on failure).
#pragma once

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#define TREMIX_API __declspec(dllimport)
#else
#define TREMIX_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Session events: 0 connected, 2 connection lost (another attempt follows), 3 connection lost
// (reconnect budget used up). reserved is always 0; user is the login record's user.
enum { FIXTURE_EVENT_CONNECTED = 0, FIXTURE_EVENT_LOST_RETRYING = 2, FIXTURE_EVENT_LOST_GIVEN_UP = 3 };

typedef void (*FixtureEventCallback)(int32_t handle, int32_t event, int32_t reserved, void* user);

typedef struct FixtureLoginInfo {
    char host[128]; // host name or address, zero-terminated within the field
    int32_t port;
    uint8_t reserved[4];
    void* user;                    // handed back to the callback unchanged
    FixtureEventCallback callback; // may be null
} FixtureLoginInfo;

typedef struct FixtureDevInfo {
    char version[32];
    char uuid[32];
    char mode[16];
    int32_t port_num;
} FixtureDevInfo;

typedef struct FixtureGpioItem {
    char name[20];
    char function[32];
    char status[16];
} FixtureGpioItem;

typedef struct FixtureNetItem {
    char name[20];
    char status[16];
} FixtureNetItem;

#define FIXTURE_MAX_ITEMS 128

// Texts are zero-terminated within their fields. A zero byte inside a text the fixture sent is
// stored as '?', so that a text never reads as a shorter one ("OK\u0000NG" is not "OK"); an item
// name of zero bytes only is empty.
typedef struct FixtureTestResult {
    char uuid[32];
    int32_t port;
    char mac[18];
    char uart[18];
    // Number of filled entries, never more than FIXTURE_MAX_ITEMS: entry i holds item i of the
    // fixture's list (a malformed item with the texts that came, empty otherwise). Items past
    // the first FIXTURE_MAX_ITEMS are dropped, except that when the kept entries all read OK (a
    // name and the status "OK") and a dropped item does not, the last entry holds the first such
    // item instead: a list whose only failure lies past the kept entries never reads OK.
    int32_t gpioCount;
    FixtureGpioItem gpio[FIXTURE_MAX_ITEMS];
    char audio[16];
    int32_t networkCount; // as gpioCount
    FixtureNetItem network[FIXTURE_MAX_ITEMS];
} FixtureTestResult;

// Counts a start-up; 1 when the library is ready.
TREMIX_API int32_t PTQ_FT_Startup(void);
// Undoes one start-up (never below zero).
TREMIX_API void PTQ_FT_Cleanup(void);
// Connect and socket time-out in seconds, reconnect budget (-1: no limit), seconds between attempts.
// Applies to every later connection attempt of every session.
TREMIX_API void PTQ_FT_SetWaitTime(int32_t waitSeconds, int32_t maxReconnect,
                                   int32_t reconnectIntervalSeconds);
// Opens (or joins) the session to host:port; sessions are told apart by the host as written. The
// connection comes up in the background and is reported through the callback. Returns the
// handle, 0 on failure.
TREMIX_API int32_t PTQ_FT_Login(const FixtureLoginInfo* info);
// Releases one login of the session; the last one ends it. Returns within one request wait (10 s
// at time scale 1) whatever the fixture does: 1, or 0 when the handle is unknown or the library
// lock could not be had in that time (the session is left as it was).
TREMIX_API int32_t PTQ_FT_Logout(int32_t handle);
// Asks the fixture for its device information; the device list is one device of its own under
// the rule below, and the call is bounded the same way.
TREMIX_API int32_t PTQ_FT_GetDevList(int32_t handle, FixtureDevInfo* out);
// The test result of one device, asked of the fixture.
//
// Replies carry no request identity, so for each fixture address the library lets at most one
// request per device be on its way or one question be open (the device is its MAC, case and
// separators ignored; audio and GPIO ask the same question). The fixture address is the numeric
// address the connection reached and the port: "127.0.0.1", "127.1" and "localhost" are one
// fixture. Whether a request may go on the wire is decided, and the request registered as on its
// way, under the lock the fixture's replies are offered under; the frame is written after it:
// - a request that went out and got no answer in its wait (10 s) leaves its device's question
//   open; nothing else is asked of that device until a reply for it comes (it answers the earlier
//   request: it is dropped and logged) or the silence limit (50 s after the give-up) has passed.
//   The limit is judged on what has arrived: it ends a question only once every byte that arrived
//   before it has been parsed (an incomplete frame holds what came after its first byte), and
//   never while no connection is up; a new connection has parsed what came before its connect()
//   began, not what came between that and the moment it is marked up. An incomplete frame (also
//   an incomplete header) whose first byte came a request's wait ago is dropped;
// - a result the fixture pushed decides a request only when no reply came in time, the push was
//   received after the request was sent (its connection had parsed all that came before a moment
//   after the send), and the device had no open question when the request started; a push that
//   comes while the question is open is not kept. The answer is still owed then, so the question
//   opens all the same;
// - questions belong to the fixture, not to the session: a logout and a new login keep them, also a
//   login under another spelling of the fixture's address. A new process starts with none, so
//   within the silence limit of a give-up a restarted program can take the answer owed to its
//   predecessor.
// This rests on two assumptions about the fixture: it answers a request at most once, and within
// 50 s of the request's give-up.
//
// Bounds: a call returns within one question wait and one request wait (20 s at time scale 1) of
// being called, whatever other threads do: it goes on the wire within the first 10 s (waiting for
// the library lock, for its device's earlier request or open question, and for the connection to
// take its bytes) or fails unsent, then waits at most 10 s for its answer. A frame partly written
// by then counts as sent and ends the connection (the reconnect follows); no send waits while it
// holds a lock that replies or other devices' requests need, also when the fixture stops reading.
// What one caller's wait costs another: nothing for another device (requests for different devices
// wait side by side, without the library lock); for the same device, the later call waits for the
// earlier one's answer or question, within its own first 10 s. A logout or login holds the library
// lock only for its own work (the logout that ends a session wakes the requests waiting on it at
// once and waits for them to leave).
TREMIX_API int32_t PTQ_FT_GetTestResult(int32_t handle, const char* mac, FixtureTestResult* out);

#ifdef __cplusplus
}

static_assert(offsetof(FixtureLoginInfo, host) == 0, "FixtureLoginInfo layout");
static_assert(offsetof(FixtureLoginInfo, port) == 128, "FixtureLoginInfo layout");
static_assert(offsetof(FixtureLoginInfo, reserved) == 132, "FixtureLoginInfo layout");
static_assert(offsetof(FixtureLoginInfo, user) == 136, "FixtureLoginInfo layout");
static_assert(offsetof(FixtureLoginInfo, callback) == 136 + sizeof(void*), "FixtureLoginInfo layout");
static_assert(sizeof(FixtureLoginInfo) == 136 + 2 * sizeof(void*), "FixtureLoginInfo layout");
static_assert(sizeof(FixtureDevInfo) == 84 && offsetof(FixtureDevInfo, uuid) == 32 &&
                  offsetof(FixtureDevInfo, mode) == 64 && offsetof(FixtureDevInfo, port_num) == 80,
              "FixtureDevInfo layout");
static_assert(sizeof(FixtureGpioItem) == 68 && offsetof(FixtureGpioItem, function) == 20 &&
                  offsetof(FixtureGpioItem, status) == 52,
              "FixtureGpioItem layout");
static_assert(sizeof(FixtureNetItem) == 36 && offsetof(FixtureNetItem, status) == 20,
              "FixtureNetItem layout");
static_assert(sizeof(FixtureTestResult) == 13408, "FixtureTestResult layout");
static_assert(offsetof(FixtureTestResult, port) == 32 && offsetof(FixtureTestResult, mac) == 36 &&
                  offsetof(FixtureTestResult, uart) == 54 && offsetof(FixtureTestResult, gpioCount) == 72 &&
                  offsetof(FixtureTestResult, gpio) == 76 && offsetof(FixtureTestResult, audio) == 8780 &&
                  offsetof(FixtureTestResult, networkCount) == 8796 &&
                  offsetof(FixtureTestResult, network) == 8800,
              "FixtureTestResult layout");
#endif
