#include "Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace tremix {

namespace {
bool debugEnabled() {
    static const bool enabled = [] {
        const char* v = std::getenv("TREMIX_DEBUG");
        return v && *v && *v != '0';
    }();
    return enabled;
}
} // namespace

void debugTrace(const char* format, ...) {
    if (!debugEnabled())
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    std::fputs(buffer, stderr);
}

// The library's other traces go to standard output, and only when TREMIX_DEBUG asks too: a
// normal run of a program using the library prints nothing there.
void trace(const char* format, ...) {
    if (!debugEnabled())
        return;
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

} // namespace tremix
