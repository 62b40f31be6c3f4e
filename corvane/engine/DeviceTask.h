// A task of the engine's worker or relogin queue. Each task owns a copy of its data.
#pragma once

#include "kvxnet/DscSearchRecords.h"

#include <QStringList>

#include <cstdint>

struct DeviceTask {
    enum Type : std::int32_t { Login = 2, Relogin = 3, FullRecovery = 10 };

    std::int32_t type = Login;
    std::uint64_t generation = 0;      // the search the task belongs to
    std::uint64_t change = 0;          // relogin: the IP change it follows (AddressLedger), 0 none
    DSC_SEARCH_RESPONSE_INFO record{}; // login and relogin
    QStringList row;                   // full recovery: the device row
};
