#include "winport/BoundedFileRead.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace winport {

FileReadResult readRegularFile(const std::string& path, std::size_t maxBytes, std::string* out,
                               std::string* why) {
    out->clear();
    // O_NONBLOCK: opening a FIFO without a writer must not wait.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        *why = std::strerror(error);
        return error == ENOENT ? FileReadResult::Missing : FileReadResult::Error;
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        *why = std::strerror(errno);
        return FileReadResult::Error;
    }
    if (!S_ISREG(st.st_mode)) {
        *why = "not a regular file";
        return FileReadResult::NotRegular;
    }
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxBytes) {
        *why = "larger than " + std::to_string(maxBytes) + " bytes";
        return FileReadResult::TooLarge;
    }
    // The file may grow while it is read: never take more than the bound.
    std::string bytes(maxBytes + 1 > 65536 ? 65536 : maxBytes + 1, '\0');
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (bytes.size() > maxBytes)
                break;
            bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
        }
        const ssize_t n = ::read(fd, &bytes[used], bytes.size() - used);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *why = std::strerror(errno);
            return FileReadResult::Error;
        }
        if (n == 0)
            break;
        used += static_cast<std::size_t>(n);
    }
    if (used > maxBytes) {
        *why = "larger than " + std::to_string(maxBytes) + " bytes";
        return FileReadResult::TooLarge;
    }
    bytes.resize(used);
    *out = std::move(bytes);
    return FileReadResult::Ok;
}

} // namespace winport
