#include "SimUpTable.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

constexpr char SimUpTable::kMagic[8];

SimUpTable::~SimUpTable() {
    close();
}

void SimUpTable::close() {
    if (m_table)
        ::munmap(m_table, kFileBytes);
    m_table = nullptr;
}

bool SimUpTable::create(const std::string& path) {
    close();
    const std::string tmp = path + ".tmp" + std::to_string(static_cast<long long>(::getpid()));
    // The temporary name is predictable: never follow a link planted there.
    std::remove(tmp.c_str());
    const int fd = ::open(tmp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    void* map = MAP_FAILED;
    if (::ftruncate(fd, static_cast<off_t>(kFileBytes)) == 0)
        map = ::mmap(nullptr, kFileBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED) {
        std::remove(tmp.c_str());
        return false;
    }
    m_table = static_cast<unsigned char*>(map);
    std::memcpy(m_table, kMagic, sizeof kMagic);
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        close();
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

void SimUpTable::set(std::uint32_t hostOrder, bool up) {
    if (!m_table || (hostOrder >> 24) != 127)
        return;
    m_table[kHeaderBytes + (hostOrder & 0xFFFFFF)] = up ? 1 : 0;
}

bool SimUpTable::readUp(const char* path, std::uint32_t hostOrder) {
    if (!path || (hostOrder >> 24) != 127)
        return false;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    char magic[sizeof kMagic] = {};
    unsigned char byte = 0;
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                    static_cast<std::size_t>(st.st_size) == kFileBytes &&
                    ::pread(fd, magic, sizeof magic, 0) == static_cast<ssize_t>(sizeof magic) &&
                    std::memcmp(magic, kMagic, sizeof magic) == 0 &&
                    ::pread(fd, &byte, 1, static_cast<off_t>(kHeaderBytes + (hostOrder & 0xFFFFFF))) == 1;
    ::close(fd);
    return ok && byte != 0;
}
