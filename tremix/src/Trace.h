// The library's traces: debug lines (a 1024-byte buffer, shown on stderr when TREMIX_DEBUG is set)
// and plain lines on standard output, also only when TREMIX_DEBUG is set.
#pragma once

namespace tremix {

void debugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
void trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace tremix

#define TREMIX_DEBUG_LINE(fmt, ...) ::tremix::debugTrace("[%s:%d]" fmt, __func__, __LINE__, ##__VA_ARGS__)
