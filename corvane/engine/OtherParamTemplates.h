// The records one other-parameter run applies: the enable flags and the family records as
// the run loaded them from the parameter store. Each run owns its own, read-only once the
// device threads start, so a later run never changes what an earlier run's threads read.
#pragma once

#include "ozmlogic/ParamRecords.h"

#include <cstdint>

struct OtherParamTemplates {
    OZM::SC_OTHERPARAMENABLE enable{};
    OZM::_SC_TCP_IP_DATA tcpIp{};
    OZM::_SC_PORT_DATA port{};
    OZM::_SC_DDNS_DATA ddns{};
    std::int32_t p2p = 0;
    OZM::_SC_GB28181_DATA gb28181{};
    OZM::_SC_SETVIDEO_DATA_ video{};
    OZM::_SC_SETAUDIO_DATA_ audio{};
    OZM::_SC_SETOSD_DATA_ osd{};
    OZM::_SC_IMAGE_DATA_ image{};
    OZM::_SC_SETPRIVACYMASKINFO_DATA_ privacy{};
    OZM::_SC_ALARM_DATA_ alarm{};
    OZM::_SC_ACCOUNT_DATA account{};
    OZM::_SC_SETTIME_DATA_ time{};
    OZM::_SC_SETRESTARTREGULARLY_DATA_ maintain{};
    OZM::_SC_SETAUDIOINPUT_DATA_ audioBoard{};

    // A family takes part only when its flag is exactly 1.
    bool enabled(int family) const {
        return family >= 0 && family < OZM::FamilyCount && enable.flag[family] == 1;
    }
};

#include <memory>

// What a device thread of a run works with: its run and that run's records.
struct OtherParamJob {
    std::uint64_t runId = 0; // 0: no run
    std::shared_ptr<const OtherParamTemplates> templates;
};
