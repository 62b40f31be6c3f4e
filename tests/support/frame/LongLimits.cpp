#include "LongLimits.h"

#include "harness/Slowdown.h"
#include "winport/WinPort.h"

#include <algorithm>

namespace frametest {

namespace {
// The program's login limit in program milliseconds, as the operator sees it fail.
constexpr double kLoginLimitMs = 30000;
} // namespace

LongLimits::LongLimits() : _before(winport::timeScale()) {
    const double wanted = kLoginLimitRealMs * harness::kSlowdown / kLoginLimitMs;
    winport::setTimeScale(std::max(_before, wanted));
}

LongLimits::~LongLimits() {
    winport::setTimeScale(_before);
}

} // namespace frametest
