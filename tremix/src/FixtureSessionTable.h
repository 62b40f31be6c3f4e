// The sessions by handle (1..127); logins to the same endpoint share one session. The table has a
// lock of its own; a session is freed only under it and the library lock.
#pragma once

#include "CClient.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace tremix {

class FixtureSessionTable {
public:
    static constexpr int kMaxHandle = 127;

    struct Entry {
        char host[128] = {};
        std::int32_t port = 0;
        std::unique_ptr<CClient> client;
        std::int32_t refcount = 0;
    };

    // First handle whose host (exact bytes) and port match and which has a client; 0 if none.
    int find(const char* host, std::int32_t port) const;
    // Takes the first free entry for a new session; its handle, or 0 when all are in use.
    int add(const char* host, std::int32_t port, std::unique_ptr<CClient> client);
    // Drops one reference; the last one ends the session and frees the entry. -1 for a handle
    // out of range or a free entry, else the remaining count.
    int release(int handle);
    // The entry's client, or null for a handle out of range or a free entry.
    CClient* client(int handle) const;
    // Adds a reference; the new count.
    int addRef(int handle);

private:
    mutable std::mutex m_lock;
    Entry m_entries[kMaxHandle + 1];
};

} // namespace tremix
