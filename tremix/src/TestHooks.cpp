#include "TestHooks.h"

#include <atomic>

namespace tremix {

namespace {
std::atomic<const TestHooks*> g_hooks{nullptr};
}

void setTestHooks(const TestHooks* hooks) {
    g_hooks.store(hooks, std::memory_order_release);
}

const TestHooks* testHooks() {
    return g_hooks.load(std::memory_order_acquire);
}

} // namespace tremix
