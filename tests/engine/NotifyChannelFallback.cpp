// The notification channel, for builds without the framework's own.
#include "ozmlogic/IClientUiElement.h"

#include <mutex>
#include <shared_mutex>

namespace {
std::shared_mutex g_lock;
NotifyCallBack g_callback = nullptr;
void* g_user = nullptr;
} // namespace

void IClientUiElement::setNotifyCallBack(NotifyCallBack callback, void* user) {
    std::unique_lock<std::shared_mutex> lock(g_lock);
    g_callback = callback;
    g_user = user;
}

void IClientUiElement::notify(const OZM::_NOTIFY_PARAM* param) {
    std::shared_lock<std::shared_mutex> lock(g_lock);
    if (g_callback)
        g_callback(param, g_user);
}
