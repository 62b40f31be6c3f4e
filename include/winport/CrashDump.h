// Crash dump on fatal signals (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT): the handler writes
// <folder>/<prefix><version>_yyyy_MM_dd_HH_mm_ss.dmp (local time) with the signal, the fault
// address, the process and thread ids and a backtrace, then lets the process die with the
// same signal. The dump is always a new file (never through a link, never over a file): when the
// name is taken, "_1" to "_9" go before ".dmp". The handler uses only async-signal-safe calls
// (backtrace is preloaded at install); the folder, the names and the local-time offset are fixed
// at install.
#pragma once

#include <cstdint>
#include <string>

namespace winport {

// Installs the handlers (on an alternate signal stack for the installing thread). An empty
// folder means the program's own folder. False when the folder is too long to hold a name.
bool installCrashDump(const std::string& folder, const std::string& prefix = "Corvane_",
                      const std::string& version = "1.0.0");

// The program's folder (of /proc/self/exe), without a trailing slash.
std::string programFolder();

// Formats seconds since the epoch, shifted by utcOffset seconds, as "yyyy_MM_dd_HH_mm_ss"
// into out (at least 20 bytes); async-signal-safe. Returns the characters written (19).
int formatDumpTime(std::int64_t epochSeconds, std::int64_t utcOffset, char* out);

} // namespace winport
