// Installs the crash dump into argv[1] and crashes the way argv[2] says.
#include "winport/CrashDump.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// A real fault: the undefined-behaviour check would end the process before the signal.
static __attribute__((noinline, no_sanitize("undefined"))) void writeNowhere() {
    volatile int* volatile nowhere = nullptr; // read back, so no compiler drops the write
    *nowhere = 1;
}

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: crash_child FOLDER segv|bus|fpe|ill|abort\n");
        return 2;
    }
    if (!winport::installCrashDump(argv[1])) {
        return 3;
    }
    const char* how = argv[2];
    if (!std::strcmp(how, "segv")) {
        writeNowhere();
    } else if (!std::strcmp(how, "fpe")) {
        std::raise(SIGFPE);
    } else if (!std::strcmp(how, "ill")) {
        __builtin_trap();
    } else if (!std::strcmp(how, "bus")) {
        std::raise(SIGBUS);
    } else if (!std::strcmp(how, "abort")) {
        std::abort();
    }
    return 0;
}
