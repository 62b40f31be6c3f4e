// Marks the library's own threads, on which calls that take the library lock are refused.
#pragma once

namespace tremix {

void markLibraryThread();
bool onLibraryThread();

} // namespace tremix
