// What the benches of the whole simulated line share: the program's surroundings as its main()
// sets them up, and the process figures they print.
#pragma once

namespace harness {
class TestDir;
}

namespace benchline {

// A field of /proc/self/status as a number (kB for the memory fields); -1 when it is missing.
long statusField(const char* name);
inline long rssKb() {
    return statusField("VmRSS:");
}

// stdout by lines, the allocator's arenas capped, the fixture on a closed loopback port (the
// caller may set its own), Corvane's time scale 0.01 and the offscreen platform unless set, the
// application; then dir entered as the program folder, the framework started, a 5 s search
// time and English. False (said on stderr) when the folder cannot be entered.
bool enterLine(harness::TestDir& dir);

} // namespace benchline
