#include "MallocArenas.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace corvane {

void capMallocArenas() {
#if defined(M_ARENA_MAX)
    mallopt(M_ARENA_MAX, kMallocArenas);
#endif
}

} // namespace corvane
