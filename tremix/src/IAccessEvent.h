// The session's sink for what its connection reports.
#pragma once

namespace tremix {

class IAccessEvent {
public:
    enum Type { kConnected = 0, kLost = 1, kHeartbeatReply = 2, kPushedResult = 3 };

    virtual ~IAccessEvent() = default;
    // kConnected / kLost with index -1; kPushedResult with index = payload length, data = payload.
    virtual int MessageNotify(int type, int index, void* data) = 0;
};

} // namespace tremix
