#include "LibraryThread.h"

namespace tremix {

namespace {
thread_local bool t_libraryThread = false;
}

void markLibraryThread() {
    t_libraryThread = true;
}
bool onLibraryThread() {
    return t_libraryThread;
}

} // namespace tremix
