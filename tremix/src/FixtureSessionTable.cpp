#include "FixtureSessionTable.h"

#include "Trace.h"

#include <cstring>

namespace tremix {

int FixtureSessionTable::find(const char* host, std::int32_t port) const {
    std::lock_guard<std::mutex> lock(m_lock);
    for (int i = 1; i <= kMaxHandle; ++i) {
        const Entry& e = m_entries[i];
        if (e.client && e.port == port && std::strncmp(e.host, host, sizeof e.host) == 0)
            return i;
    }
    return 0;
}

int FixtureSessionTable::add(const char* host, std::int32_t port, std::unique_ptr<CClient> client) {
    std::lock_guard<std::mutex> lock(m_lock);
    for (int i = 1; i <= kMaxHandle; ++i) {
        Entry& e = m_entries[i];
        if (e.client)
            continue;
        std::strncpy(e.host, host, sizeof e.host - 1);
        e.host[sizeof e.host - 1] = '\0';
        e.port = port;
        e.refcount = 0;
        client->SetHandle(static_cast<std::int16_t>(i));
        e.client = std::move(client);
        return i;
    }
    return 0;
}

CClient* FixtureSessionTable::client(int handle) const {
    if (handle < 1 || handle > kMaxHandle)
        return nullptr;
    std::lock_guard<std::mutex> lock(m_lock);
    return m_entries[handle].client.get();
}

int FixtureSessionTable::addRef(int handle) {
    std::lock_guard<std::mutex> lock(m_lock);
    Entry& e = m_entries[handle];
    ++e.refcount;
    trace("增加引用计数：%d\n", e.refcount);
    return e.refcount;
}

int FixtureSessionTable::release(int handle) {
    if (handle < 1 || handle > kMaxHandle)
        return -1;
    std::unique_ptr<CClient> ended;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        Entry& e = m_entries[handle];
        if (!e.client)
            return -1;
        if (e.refcount > 0)
            --e.refcount;
        trace("减少引用计数：%d\n", e.refcount);
        if (e.refcount > 0)
            return e.refcount;
        e.port = -1;
        ended = std::move(e.client);
    }
    // Its requests are woken and its threads stopped outside the table lock (the caller holds the
    // library lock, which no request holds while it waits).
    ended->Logout();
    ended.reset();
    return 0;
}

} // namespace tremix
