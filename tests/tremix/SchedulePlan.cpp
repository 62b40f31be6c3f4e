#include "SchedulePlan.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace schedule {

namespace {

// TREMIX_ADVERSARY names what the adversary may do (default all): reconnect, disturb (drop the
// link, or wait for it to come back, just before a call sends), broken, garbage, push, relogin,
// early (an owed answer written the moment a new link is accepted, which the library is slow to
// mark up), stream (frames that never end on a frame boundary), stall (a fixture that reads
// nothing, with small socket buffers, while many threads ask), alias (a logout and a login to
// another spelling of the fixture's address).
bool allowed(const char* what) {
    const char* list = std::getenv("TREMIX_ADVERSARY");
    if (!list || !*list)
        return true;
    const std::string text = std::string(",") + list + ",";
    return text.find(std::string(",") + what + ",") != std::string::npos;
}

} // namespace

std::vector<std::string> spellings(std::uint64_t seed, int device) {
    char base[18];
    std::snprintf(base, sizeof base, "AA:%02X:%02X:%02X:%02X:%02X", static_cast<unsigned>(seed >> 24 & 0xFF),
                  static_cast<unsigned>(seed >> 16 & 0xFF), static_cast<unsigned>(seed >> 8 & 0xFF),
                  static_cast<unsigned>(seed & 0xFF), static_cast<unsigned>(device + 0xA0) & 0xFFu);
    std::string lower = base, dashes = base, bare;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::replace(dashes.begin(), dashes.end(), ':', '-');
    for (char c : std::string(base))
        if (c != ':')
            bare.push_back(c);
    return {base, lower, dashes, bare, std::string(base) + " "};
}

Plan makePlan(std::uint64_t seed) {
    static const bool kinds[] = {allowed("reconnect"), allowed("broken"),  allowed("garbage"),
                                 allowed("push"),      allowed("relogin"), allowed("early"),
                                 allowed("stream"),    allowed("stall"),   allowed("alias")};
    static const bool disturbAllowed = allowed("disturb");
    std::mt19937_64 rng(seed);
    Plan plan;
    plan.devices = 2 + static_cast<int>(rng() % 3);
    const int threads = 1 + static_cast<int>(rng() % 4);
    const bool disturbing = rng() % 5 < 3;
    std::uint64_t span = 0;
    for (int t = 0; t < threads; ++t) {
        std::vector<Action> actions(2 + rng() % 4);
        std::uint64_t length = 0;
        for (Action& a : actions) {
            a.devList = rng() % 10 == 0;
            a.device = static_cast<int>(rng() % static_cast<unsigned>(plan.devices));
            a.spelling = static_cast<int>(rng() % 5);
            a.pauseNs = uniform(rng, 0, 3 * kW / 2);
            a.disturb = disturbing && rng() % 4 == 0 ? 1 + static_cast<int>(rng() % 2) : 0;
            if (!disturbAllowed)
                a.disturb = 0;
            length += a.pauseNs + kW;
        }
        span = std::max(span, length);
        plan.threads.push_back(actions);
    }
    const int events = static_cast<int>(rng() % 7);
    bool broken = false;
    for (int i = 0; i < events; ++i) {
        Event e;
        const unsigned kind = rng() % 10;
        e.kind = kind < 3   ? Event::Reconnect
                 : kind < 6 ? Event::Push
                 : kind < 7 ? Event::Broken
                 : kind < 8 ? Event::Garbage
                            : Event::Relogin;
        if (e.kind == Event::Broken && broken)
            e.kind = Event::Garbage;
        broken = broken || e.kind == Event::Broken;
        e.atNs = uniform(rng, 0, span);
        e.device = static_cast<int>(rng() % static_cast<unsigned>(plan.devices));
        e.spelling = static_cast<int>(rng() % 5);
        e.ok = rng() % 2 == 0;
        if (kinds[e.kind])
            plan.events.push_back(e);
    }
    // One schedule in six attacks one device as well (with one of the attacks allowed).
    std::vector<Event::Kind> attacks;
    for (int k = Event::Early; k <= Event::Alias; ++k)
        if (kinds[k])
            attacks.push_back(static_cast<Event::Kind>(k));
    if (rng() % 6 == 0 && !attacks.empty()) {
        Event e;
        e.kind = attacks[rng() % attacks.size()];
        e.atNs = uniform(rng, 0, span);
        e.device = static_cast<int>(rng() % static_cast<unsigned>(plan.devices));
        e.spelling = static_cast<int>(rng() % 5);
        e.ok = rng() % 2 == 0;
        plan.events.push_back(e);
    }
    std::sort(plan.events.begin(), plan.events.end(),
              [](const Event& a, const Event& b) { return a.atNs < b.atNs; });
    return plan;
}

} // namespace schedule
