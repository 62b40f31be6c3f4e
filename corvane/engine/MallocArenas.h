// The engine runs a thread for each camera of an other-parameters run (hundreds at once). The C
// library gives such threads up to eight heaps (arenas) per core, each keeping its own free pages,
// so the process's resident memory creeps up run after run while the memory in use stays level. A
// few shared arenas are enough for threads that mostly wait on the network.
#pragma once

namespace corvane {

constexpr int kMallocArenas = 4;

// Caps the number of malloc arenas; call once at start, before the workers run.
void capMallocArenas();

} // namespace corvane
