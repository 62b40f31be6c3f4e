// The sessions by handle (1..127); logins to the same endpoint share one session. The table has a
// lock of its own, so that a logout can wake the session's waiting request while that request
// holds the library lock; a session is freed only under both.
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
    // Adds a reference; the new count. A session that a logout was about to end goes on.
    int addRef(int handle);
    // When the next release of handle ends its session, wakes the session's waiting request.
    void interruptIfLast(int handle);

private:
    mutable std::mutex m_lock;
    Entry m_entries[kMaxHandle + 1];
};

} // namespace tremix
