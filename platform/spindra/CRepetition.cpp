#include "spindra/CRepetition.h"

namespace ThreadLib {

CRepetition::~CRepetition() = default;

void CRepetition::Run() {
    if (Init()) {
        while (!IsExit())
            RunProc();
    }
    ExitRun();
}

} // namespace ThreadLib
