// The "Other Parameters" button: the engine runs the stored families on the checked rows.
#include "MainFrame.h"

#include "DeviceManager.h"

void MainFrame::onModifyOtherParameters() {
    if (_checkedRows.isEmpty()) {
        showTextInfo();
        return;
    }
    if (_engine)
        _engine->startOtherParamConfig(QVector<QStringList>(_checkedRows));
}
