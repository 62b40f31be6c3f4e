// The fixture protocol on a connection: frame handling and the three requests.
#pragma once

#include "CNetAccess.h"

namespace tremix {

class CLoginAccess : public CNetAccess {
public:
    explicit CLoginAccess(IAccessEvent* sink) : CNetAccess(sink) {}
    ~CLoginAccess() override;

    // 0 with out filled, -1 on failure (out unchanged). Sent through the gate by sendByNs at the
    // latest. pushed, when given, copies a push that came after sentNs into out (true) for a
    // request without a reply in time.
    int GetDevList(FixtureDevInfo* out, std::uint64_t sendByNs);
    int GetTestResult(const char* mac, FixtureTestResult* out, std::uint64_t sendByNs,
                      const std::function<bool(std::uint64_t sentNs)>& pushed = nullptr);
    // Sends a heartbeat within one socket wait, without waiting for its reply; 0 sent, -1 not.
    int SendHeartbeat();

protected:
    void RunOnce() override;
    void ProcessCMD(const FixtureFrameHeader& header, const char* payload, std::size_t length) override;

private:
    void Lost();
};

} // namespace tremix
