// Reads a whole file only when it is a regular file no larger than a bound: a FIFO, a device
// or an oversized file is refused without blocking and without reading it.
#pragma once

#include <cstddef>
#include <string>

namespace winport {

enum class FileReadResult { Ok, Missing, NotRegular, TooLarge, Error };

// On Ok, *out holds the file's bytes; otherwise *why says what was wrong.
FileReadResult readRegularFile(const std::string& path, std::size_t maxBytes, std::string* out,
                               std::string* why);

} // namespace winport
