#include "spindra/CThread_Windows.h"

namespace ThreadLib {

CThread_Windows::~CThread_Windows() = default;

bool CThread_Windows::CreateThread(bool, int) {
    if (m_active.load())
        return false;
    m_active.store(true);
    if (!Start([this] { ThreadProc(); })) {
        m_active.store(false);
        return false;
    }
    return true;
}

bool CThread_Windows::DestroyThread() {
    Exit();
    if (IsCurrentThread())
        return false;
    Join();
    return true;
}

void CThread_Windows::ThreadProc() {
    Run();
    m_active.store(false);
    OnAutoDeleteObj();
}

} // namespace ThreadLib
