// The key under which the engine and the main window match a camera's MAC text: letters and
// digits only, in lower case, so that "00:1A:2B:00:00:01", "00-1a-2b-00-00-01" and "001a2b000001"
// name one camera. Batch records, the address ledger, the search records and the login table are
// matched by it.
#pragma once

#include <string>

namespace mackey {

// The key of a MAC text; empty for an empty text. A text without any letter or digit keys as
// itself (marked so that it never equals the key of a real MAC).
std::string key(const std::string& mac);

} // namespace mackey
