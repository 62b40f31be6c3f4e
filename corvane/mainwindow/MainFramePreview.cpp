// The main window's preview, PTZ and audio, image test and OSD buttons, and the preview on a
// double click in the device table.
#include "DeviceManager.h"
#include "DeviceTableRow.h"
#include "ImageTestDialog.h"
#include "MainFrame.h"
#include "PlayCheckDeviceDialog.h"
#include "PlayDialog.h"
#include "PtzAndAudioDeviceDialog.h"
#include "SetOsdDialog.h"
#include "TipDialog.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"

#include <QLabel>
#include <QPixmap>

namespace {

constexpr int kMaxMainStreamDevices = 4;
constexpr int kMaxSubStreamDevices = 10;

// Rows x columns of the preview grid for n devices.
QSize gridFor(int n) {
    if (n <= 1)
        return QSize(1, 1);
    if (n <= 4)
        return QSize(2, 2);
    return QSize(4, 3);
}

// The checks of the two grid previews; false after a warning.
bool previewAllowed(const QVector<QStringList>& rows) {
    if (rows.isEmpty()) {
        TipDialog::showWarning(MainFrame::tr("Please select the device first!"));
        return false;
    }
    if (ozmParamsMgr()->getStream() == 0) {
        if (rows.size() > kMaxMainStreamDevices) {
            TipDialog::showWarning(MainFrame::tr("Play the main stream, please select less than 4 units!"));
            return false;
        }
    } else if (rows.size() > kMaxSubStreamDevices) {
        TipDialog::showWarning(MainFrame::tr("Play the sub stream, please select less than 10 units!"));
        return false;
    }
    return true;
}

} // namespace

void MainFrame::onPlayCheckDevice() {
    if (!previewAllowed(_checkedRows))
        return;
    const QSize grid = gridFor(_checkedRows.size());
    PlayCheckDeviceDialog dialog(grid.height(), grid.width());
    dialog.startPlay(_checkedRows);
    dialog.exec();
}

void MainFrame::onPtzAndAudio() {
    if (!previewAllowed(_checkedRows))
        return;
    const QSize grid = gridFor(_checkedRows.size());
    PtzAndAudioDeviceDialog dialog(grid.height(), grid.width());
    dialog.startPlay(_checkedRows);
    dialog.exec();
}

void MainFrame::onImageTest() {
    if (_checkedRows.isEmpty()) {
        TipDialog::showWarning(tr("Please search for device!"));
        return;
    }
    ImageTestDialog dialog;
    connect(&dialog, &ImageTestDialog::removeRow, this, &MainFrame::onRemoveData);
    dialog.setDeviceList(_checkedRows);
    dialog.exec();
}

void MainFrame::onRemoveData(QString qstrMac, int size) {
    if (qstrMac.isEmpty())
        return;
    for (int i = 0; i < _checkedRows.size(); ++i) {
        if (_checkedRows[i].value(DeviceColumn::Mac) == qstrMac) {
            _checkedRows.remove(i);
            _checkedRowIndexStale = true;
            break;
        }
    }
    if (_engine)
        _engine->removeSearchInfo(qstrMac.toStdString());
    _deviceTable->removeData(qstrMac);
    _totalCountLabel->setText(QString::number(_deviceTable->rowCount()));
    _selectedCountLabel->setText(QString::number(size));
    if (size == 0)
        _deviceTable->setIsCheckAll(false);
}

void MainFrame::onSetOSD() {
    SetOsdDialog dialog;
    dialog.exec();
}

void MainFrame::onDoubleClickedPlay() {
    const QStringList row = _deviceTable->doubleClickedRowData();
    if (row.isEmpty())
        return;
    auto* dialog = new PlayDialog(this);
    dialog->titleLabel->setText(row.value(DeviceColumn::Ip));
    dialog->playDevice(row);
    dialog->exec();
}
