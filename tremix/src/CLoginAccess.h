// The fixture protocol on a connection: frame handling and the three requests.
#pragma once

#include "CNetAccess.h"

namespace tremix {

class CLoginAccess : public CNetAccess {
public:
    explicit CLoginAccess(IAccessEvent* sink) : CNetAccess(sink) {}
    ~CLoginAccess() override;

    // 0 with out filled, -1 on failure (out unchanged).
    int GetDevList(FixtureDevInfo* out);
    int GetTestResult(const char* mac, FixtureTestResult* out);
    // Sends a heartbeat without waiting for its reply; 0 sent, -1 not.
    int SendHeartbeat();

protected:
    void RunOnce() override;
    void ProcessCMD(const FixtureFrameHeader& header, const char* payload, std::size_t length) override;

private:
    void Lost();
};

} // namespace tremix
