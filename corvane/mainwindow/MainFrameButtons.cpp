// Operation buttons that hand the checked rows to the engine, the upgrade package choice and
// the start of the label program.
#include "MainFrame.h"

#include "DeviceManager.h"
#include "SysConfigDialog.h"
#include "dialogs/TipDialog.h"
#include "quillet/Quillet.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProcess>

namespace {

// The program folder is the one the label ini is written under ("<folder>/Pellora/PelloraInfo.ini"),
// so the label program always reads the ini this window wrote.
QString programFolder() {
    return QFileInfo(QFileInfo(SysConfigDialog::pelloraIniPath()).absolutePath()).absolutePath();
}

} // namespace

void MainFrame::onSyncTime() {
    if (_checkedRows.isEmpty()) {
        TipDialog::showWarning(tr("Please select the device first!"));
        return;
    }
    if (_engine)
        _engine->batchSyncTime(QVector<QStringList>(_checkedRows));
}

void MainFrame::onModifyOSD() {
    if (_checkedRows.isEmpty()) {
        TipDialog::showWarning(tr("Please select the device first!"));
        return;
    }
    if (_engine)
        _engine->batchModifyOSD(QVector<QStringList>(_checkedRows));
}

void MainFrame::onCheckSDcard() {
    if (_checkedRows.isEmpty()) {
        TipDialog::showWarning(tr("Please select the device first!"));
        return;
    }
    if (_engine)
        _engine->checkSDCard(QVector<QStringList>(_checkedRows));
}

void MainFrame::onTenZoom() {
    if (_checkedRows.isEmpty()) {
        TipDialog::showWarning(tr("Please select the device first!"));
        return;
    }
    if (_engine)
        _engine->batchTenZoom(QVector<QStringList>(_checkedRows));
}

void MainFrame::onSelectFilePath() {
    // CORVANE_OPEN_FILE answers the picker without showing it (empty: cancelled); for tests.
    // Every file: a package name here need not hold a dot, which "*.*" would demand.
    const QString path = qEnvironmentVariableIsSet("CORVANE_OPEN_FILE")
                             ? qEnvironmentVariable("CORVANE_OPEN_FILE")
                             : QFileDialog::getOpenFileName(this, tr("Open"), QString(), tr("All(*)"));
    _upgradeFileEdit->setText(path);
}

void MainFrame::onUpgrade() {
    if (_checkedRows.isEmpty()) {
        TipDialog::showWarning(tr("Please select the device first!"));
        return;
    }
    if (_upgradeFileEdit->text().isEmpty()) {
        TipDialog::showWarning(tr("Please choose upgrade package!"));
        return;
    }
    if (_engine)
        _engine->batchUpgrade(QVector<QStringList>(_checkedRows), _upgradeFileEdit->text());
}

void MainFrame::onPellora() {
    if (_checkedRows.size() != 1) {
        TipDialog::showWarning(tr("Please select a device!"));
        return;
    }
    if (!_pelloraProcess) {
        _pelloraProcess = new QProcess(this);
        // Reported after start() has returned, from the event loop; the warning runs its own
        // loop, so it is shown from a queued call rather than inside the process's notifier.
        connect(
            _pelloraProcess, &QProcess::errorOccurred, this,
            [this](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart)
                    return;
                const QString program = _pelloraProcess->program();
                Qx_Write_Log(300, "MainFrame::onPellora", "cannot start %s: %s",
                             QFile::encodeName(program).constData(),
                             _pelloraProcess->errorString().toUtf8().constData());
                TipDialog::showWarning(tr("The label program cannot be started!"));
            },
            Qt::QueuedConnection);
    }
    // Ends a label program still running from an earlier click.
    _pelloraProcess->close();
    const QString folder = programFolder();
    _pelloraProcess->setWorkingDirectory(folder);
    _pelloraProcess->start(folder + "/Pellora/Pellora", {QStringLiteral("-style"), QStringLiteral("fusion")},
                           QIODevice::ReadWrite);
}
