#include "ozmlogic/IClientUiElement.h"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>

namespace {

// The registered callback with a generation number. A call in flight counts against the
// generation it entered; a change of registration waits until no call of an older
// generation is still running, except the calls of the changing thread itself (a callback
// that clears the registration, or a notify that re-enters through it).
struct Channel {
    std::mutex mutex;
    std::condition_variable idle;
    NotifyCallBack callback = nullptr;
    void* user = nullptr;
    std::uint64_t generation = 0;
    std::map<std::uint64_t, int> inFlight;
};

Channel& channel() {
    static Channel c;
    return c;
}

// Calls this thread is running, per generation.
thread_local std::map<std::uint64_t, int> t_ownCalls;

bool olderCallsDone(const Channel& c, std::uint64_t generation) {
    for (const auto& [gen, count] : c.inFlight) {
        if (gen >= generation) {
            break;
        }
        const auto own = t_ownCalls.find(gen);
        const int mine = own == t_ownCalls.end() ? 0 : own->second;
        if (count > mine) {
            return false;
        }
    }
    return true;
}

} // namespace

void IClientUiElement::setNotifyCallBack(NotifyCallBack callback, void* user) {
    Channel& c = channel();
    std::unique_lock<std::mutex> lock(c.mutex);
    c.callback = callback;
    c.user = callback ? user : nullptr;
    const std::uint64_t generation = ++c.generation;
    c.idle.wait(lock, [&] { return olderCallsDone(c, generation); });
}

void IClientUiElement::notify(const OZM::_NOTIFY_PARAM* param) {
    Channel& c = channel();
    NotifyCallBack callback = nullptr;
    void* user = nullptr;
    std::uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(c.mutex);
        if (!c.callback) {
            return;
        }
        callback = c.callback;
        user = c.user;
        generation = c.generation;
        ++c.inFlight[generation];
    }
    ++t_ownCalls[generation];
    struct Leave {
        Channel& c;
        std::uint64_t generation;
        ~Leave() {
            if (--t_ownCalls[generation] == 0) {
                t_ownCalls.erase(generation);
            }
            std::lock_guard<std::mutex> lock(c.mutex);
            if (--c.inFlight[generation] == 0) {
                c.inFlight.erase(generation);
            }
            c.idle.notify_all();
        }
    } leave{c, generation};
    callback(param, user);
}
