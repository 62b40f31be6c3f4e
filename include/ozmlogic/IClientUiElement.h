// Client framework: notification message and channel.
#pragma once

#include <cstdint>

namespace OZM {

// One notification: a code and its data. Code 5: data holds the count itself (an intptr_t
// value); code 6: null; every other code: a QStringList* whose first item is the device's MAC.
// The sender owns the data; receivers copy what they keep.
struct _NOTIFY_PARAM {
    std::int32_t type = 0;
    void* data = nullptr;
};

} // namespace OZM

using NotifyCallBack = int (*)(const OZM::_NOTIFY_PARAM* param, void* user);

class IClientUiElement {
public:
    virtual ~IClientUiElement() = default;

    // Receives a notification passed on by the main window.
    virtual void setNotify(const OZM::_NOTIFY_PARAM* param) = 0;

    // Registers the one process-wide callback; (nullptr, nullptr) clears it and returns only
    // after every call already inside the old callback has finished.
    static void setNotifyCallBack(NotifyCallBack callback, void* user);

    // Runs the registered callback with the message and its user pointer on the caller's
    // thread before returning. Nothing happens when no callback is registered.
    void notify(const OZM::_NOTIFY_PARAM* param);
};
