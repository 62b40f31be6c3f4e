// Helpers of the other-parameter appliers: the fixed-field text helpers, zeroed
// SDK records and the failure log line.
#pragma once

#include "fields/FixedField.h"
#include "quillet/Quillet.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

namespace otherparam {

using fixedfield::copyField;
using fixedfield::fieldLength;
using fixedfield::fieldText;

// A zero-filled SDK record on the heap, owned by the caller.
template <typename T> std::unique_ptr<T> zeroed() {
    auto record = std::make_unique<T>();
    std::memset(record.get(), 0, sizeof(T));
    return record;
}

// "[Line:N] CALL Failed, ip:IP" under the applier's name.
inline void logCallFailed(const char* function, int line, const char* call, const std::string& ip) {
    Qx_Write_Log(300, function, "[Line:%d] %s Failed, ip:%s", line, call, ip.c_str());
}

} // namespace otherparam
