// The Windows kernel calls the system keeps (sleeps, tick counts, events, calendar time),
// on POSIX. Sleep, GetTickCount and WaitForSingleObject run in program time: real time
// divided by the time scale CORVANE_TIME_SCALE (default 1), so that tests can run the
// system's long waits quickly. Sleep(1000) at scale 0.01 takes 10 ms of real time and
// advances GetTickCount by about 1000.
#pragma once

#include <cstdint>

using DWORD = std::uint32_t;
using BOOL = int;
using HANDLE = void*;

constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;

// Sleeps for ms milliseconds of program time.
void Sleep(DWORD ms);
// Milliseconds of program time on a monotonic clock since the process started; 64 bits.
std::uint64_t GetTickCount();
std::uint64_t GetTickCount64();

// Events: auto-reset unless manualReset. Returns null on failure. The name is ignored.
HANDLE CreateEvent(void* attributes, BOOL manualReset, BOOL initialState, const char* name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Waits in program time (INFINITE: no limit). WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitForSingleObject(HANDLE event, DWORD ms);
// Frees an event made by CreateEvent. Null is ignored.
BOOL CloseHandle(HANDLE handle);

// Seconds since the epoch (calendar time, not scaled).
std::int64_t _time64(std::int64_t* out);

namespace winport {

// CORVANE_TIME_SCALE, read once: a number in (0, 1000]; anything else counts as 1.
double timeScale();
// The same parse for another variable (Tremix reads TREMIX_TIME_SCALE).
double envTimeScale(const char* variable);
// Overrides the scale for this process (tests); <= 0 restores the environment's value.
void setTimeScale(double scale);

// Real milliseconds for a timer interval given in program milliseconds; at least 1.
int timerInterval(int programMs);
// A program-time span in real milliseconds (rounded, at least 0).
std::uint64_t toRealMs(std::uint64_t programMs);

// Unscaled variants for libraries that scale by their own variable.
void sleepRealMs(std::uint64_t ms);
std::uint64_t realTickMs();
// Waits on an event for real milliseconds (INFINITE: no limit).
DWORD waitEventRealMs(HANDLE event, DWORD ms);

} // namespace winport
