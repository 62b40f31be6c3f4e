// The engine's batch operations on the checked device rows: time sync, reboot, simple and
// full recovery, OSD, SD-card check and the ten-times zoom. Column 1 of a row is the IP
// text, column 8 the MAC text that selects the login slots.
#include "DeviceManager.h"

#include "DeviceTableRow.h"
#include "ProgressBarDialog.h"
#include "ShowResultDialog.h"
#include "fields/FixedFieldText.h"
#include "kvxnet/KvxNetSdk.h"
#include "ozmlogic/ParamsMgr.h"
#include "quillet/Quillet.h"

#include <QDateTime>
#include <QLabel>
#include <QProgressBar>
#include <QTextCodec>

#include <cstring>
#include <memory>

namespace {

// The device's account after a simple recovery.
const char kDefaultUser[] = "mivel";
const char kDefaultPassword[] = "mivel";

using fixedfield::fieldLength;

// Copies at most size - 1 bytes of text into a fixed field, always terminated, rest zero.
void copyBounded(char* field, std::size_t size, const QByteArray& text) {
    fixedfield::copyField(field, size, text.constData(), static_cast<std::size_t>(text.size()));
}

QString slotMac(const LoginSlot& slot) {
    return QString::fromLatin1(slot.mac, static_cast<int>(fieldLength(slot.mac, sizeof slot.mac)));
}

QString fromLocal8Bit(const char* field, std::size_t size) {
    return fixedfield::gbkText(field, size);
}

// A zero-filled SDK record owned by the caller.
template <typename T> std::unique_ptr<T> zeroedRecord() {
    auto record = std::make_unique<T>();
    std::memset(record.get(), 0, sizeof(T));
    return record;
}

// Busy indicator of the time-sync and OSD batches; accepted and deleted when it goes.
class BatchProgress {
public:
    BatchProgress(QWidget* parent, const QString& title, int rows) : dialog(new ProgressBarDialog(parent)) {
        dialog->titleLabel->setText(title);
        dialog->show();
        dialog->progressBar->setRange(0, rows);
    }
    ~BatchProgress() { dialog->accept(); }
    void setValue(int value) { dialog->progressBar->setValue(value); }

private:
    std::unique_ptr<ProgressBarDialog> dialog;
};

} // namespace

void DeviceManager::batchSyncTime(QVector<QStringList> rows) {
    std::vector<DeviceResultInfo> results;
    {
        BatchProgress progress(this, tr("Modify SyncTime...."), rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            const std::string mac = rows[i].value(DeviceColumn::Mac).toStdString();
            for (const LoginSlot& slot : slotsForMac(mac)) {
                const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> info = findSearchInfo(mac);
                if (!info) {
                    Qx_Write_Log(300, "DeviceManager::batchSyncTime", "cannot findSearchInfo, mac:%s",
                                 mac.c_str());
                    continue;
                }
                DeviceResultInfo result;
                std::memset(&result, 0, sizeof result);
                copyBounded(result.mac, sizeof result.mac,
                            QByteArray(info->mac, fieldLength(info->mac, sizeof info->mac)));
                copyBounded(result.ip, sizeof result.ip,
                            QByteArray(info->ip, fieldLength(info->ip, sizeof info->ip)));
                result.status = 3;
                if (slot.loggedIn()) {
                    auto time = zeroedRecord<KvxTimeParam>();
                    const int handle = static_cast<int>(slot.hIPCLogin);
                    if (KVX_NET_GetTimeParam(handle, time.get())) {
                        // One snapshot, so that date and time belong to the same moment.
                        const QDateTime now = QDateTime::currentDateTime();
                        time->year = static_cast<std::uint16_t>(now.date().year());
                        time->month = static_cast<std::uint8_t>(now.date().month());
                        time->day = static_cast<std::uint8_t>(now.date().day());
                        time->hour = static_cast<std::uint8_t>(now.time().hour());
                        time->minute = static_cast<std::uint8_t>(now.time().minute());
                        time->second = static_cast<std::uint8_t>(now.time().second());
                        time->updateMethod = 1;
                        if (KVX_NET_SetTimeParam(handle, time.get())) {
                            notifyRowText(2, slotMac(slot), RowText::SyncTimeSuccess);
                            result.status = 1;
                        } else {
                            notifyRowText(2, slotMac(slot), RowText::SyncTimeFailed);
                            result.status = 2;
                        }
                    }
                }
                results.push_back(result);
            }
            progress.setValue(i);
        }
    }
    ShowResultDialog dialog({tr("IP"), tr("Set SyncTime")}, nullptr, 354, 239);
    dialog.showBatchResult(results);
    dialog.exec();
}

int DeviceManager::rebootDevices(QStringList row) {
    if (row.isEmpty())
        return -1;
    rebootDevice(&row);
    return 0;
}

void DeviceManager::rebootDevice(const QStringList* row) {
    if (!row || row->isEmpty())
        return;
    const std::string mac = row->value(DeviceColumn::Mac).toStdString();
    const std::vector<LoginSlot> matching = slotsForMac(mac);
    if (matching.empty())
        return;
    const LoginSlot& slot = matching.front(); // the first matching slot only
    if (slot.loggedIn() && KVX_NET_Reboot(static_cast<int>(slot.hIPCLogin))) {
        notifyRowText(11, slotMac(slot), RowText::RebootSuccess);
        const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> info = findSearchInfo(mac);
        reloginDevice(info.get());
    } else {
        notifyRowText(11, slotMac(slot), RowText::RebootFailed);
    }
}

int DeviceManager::simpleRecoveryDevices(QStringList row) {
    if (row.isEmpty())
        return -1;
    simpleRecovery(&row);
    return 0;
}

void DeviceManager::simpleRecovery(const QStringList* row) {
    if (!row || row->isEmpty())
        return;
    const std::string mac = row->value(DeviceColumn::Mac).toStdString();
    for (const LoginSlot& slot : slotsForMac(mac)) {
        if (!slot.loggedIn())
            continue; // no message: the main window's sweep times it out
        auto restore = zeroedRecord<KvxRestoreInfo>();
        const QString slotText = slotMac(slot);
        if (KVX_NET_RestoreDefaultNew(static_cast<int>(slot.hIPCLogin), restore.get())) {
            setSearchInfoAccount(mac, kDefaultUser, kDefaultPassword, true);
            notifyRowText(13, slotText, RowText::SimpleRecoverySuccess);
            notifyTexts(9, {slotText, QString("%1").arg(80, 0, 10, QLatin1Char(' ')),
                            QString("%1").arg(554, 0, 10, QLatin1Char(' '))});
            notifyTexts(14,
                        {slotText, QString::fromLatin1(kDefaultUser), QString::fromLatin1(kDefaultPassword)});
            const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> info = findSearchInfo(mac);
            reloginDevice(info.get());
        } else {
            notifyRowText(13, slotText, RowText::SimpleRecoveryFailed);
        }
    }
}

int DeviceManager::fullRecoveryDevices(QStringList row) {
    if (row.isEmpty())
        return -1;
    DeviceTask task;
    task.type = DeviceTask::FullRecovery;
    task.row = row;
    {
        std::lock_guard<std::mutex> lock(m_taskLock);
        m_tasks.push_back(std::move(task));
    }
    m_taskWake.notify_one();
    return 0;
}

void DeviceManager::fullRecovery(const QStringList* row) {
    if (!row || row->isEmpty())
        return;
    for (const LoginSlot& slot : slotsForMac(row->value(DeviceColumn::Mac).toStdString())) {
        bool ok = false;
        if (slot.loggedIn()) {
            auto restore = zeroedRecord<KvxRestoreInfo>();
            restore->full = 1;
            ok = KVX_NET_RestoreDefaultNew(static_cast<int>(slot.hIPCLogin), restore.get()) != 0;
        }
        notifyRowText(12, slotMac(slot), ok ? RowText::FullRecoverySuccess : RowText::FullRecoveryFailed);
    }
}

void DeviceManager::batchModifyOSD(QVector<QStringList> rows) {
    OZM::_SC_SETOSD_DATA_ stored;
    std::memset(&stored, 0, sizeof stored);
    ozmParamsMgr()->getOsdInfo(&stored);
    const std::size_t textLength = fieldLength(stored.text, sizeof stored.text);
    const QString name = fromLocal8Bit(stored.text, sizeof stored.text);

    std::vector<DeviceResultInfo> results;
    {
        BatchProgress progress(this, tr("Modify OSD...."), rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            for (const LoginSlot& slot : slotsForMac(rows[i].value(DeviceColumn::Mac).toStdString())) {
                DeviceResultInfo result;
                std::memset(&result, 0, sizeof result);
                copyBounded(result.ip, sizeof result.ip, rows[i].value(DeviceColumn::Ip).toUtf8());
                result.status = 3;
                if (slot.loggedIn()) {
                    auto osd = zeroedRecord<KvxOsdInfo>();
                    const int handle = static_cast<int>(slot.hIPCLogin);
                    if (KVX_NET_GetOSD2(handle, 0, osd.get())) {
                        osd->position = static_cast<std::uint8_t>(stored.position);
                        osd->showTime = static_cast<std::uint8_t>(stored.showTime);
                        osd->dateFormat = static_cast<std::uint8_t>(stored.dateFormat);
                        osd->showText = static_cast<std::uint8_t>(stored.showText);
                        // The stored text is at most 200 bytes; the device field holds 201.
                        static_assert(sizeof osd->text > sizeof stored.text,
                                      "OSD text fits with its terminator");
                        std::memset(osd->text, 0, sizeof osd->text);
                        std::memcpy(osd->text, stored.text, textLength);
                        if (KVX_NET_SetOSD2(handle, 0, osd.get())) {
                            notifyRowText(2, slotMac(slot), RowText::OsdSuccess);
                            result.status = 1;
                            notifyTexts(1, {slotMac(slot), name});
                        } else {
                            notifyRowText(2, slotMac(slot), RowText::OsdFailed);
                            result.status = 2;
                        }
                    }
                }
                results.push_back(result);
                progress.setValue(i);
            }
        }
    }
    ShowResultDialog dialog({tr("IP"), tr("Set OSD")}, nullptr, 354, 239);
    dialog.showBatchResult(results);
    dialog.exec();
}

void DeviceManager::checkSDCard(QVector<QStringList> rows) {
    std::vector<SdCardResultInfo> results;
    for (const QStringList& row : rows) {
        for (const LoginSlot& slot : slotsForMac(row.value(DeviceColumn::Mac).toStdString())) {
            SdCardResultInfo result;
            std::memset(&result, 0, sizeof result);
            copyBounded(result.ip, sizeof result.ip, row.value(DeviceColumn::Ip).toUtf8());
            result.status = 3;
            if (slot.loggedIn()) {
                auto storage = zeroedRecord<KvxStorageInfo>();
                int length = 0;
                if (KVX_NET_GetStorageInfo2(static_cast<int>(slot.hIPCLogin), 0, 1, 255, storage.get(), 10,
                                            &length)) {
                    result.status = 1;
                    result.cardUnavailable = storage->cardUnavailable;
                    result.totalCapacity = storage->totalCapacity;
                    result.freeCapacity = storage->freeCapacity;
                } else {
                    result.status = 2;
                }
            }
            results.push_back(result);
        }
    }
    ShowResultDialog dialog({tr("IP"), tr("check SD card")}, nullptr, 400, 239);
    dialog.showSDCardResult(results);
    dialog.exec();
}

void DeviceManager::batchTenZoom(QVector<QStringList> rows) {
    for (const QStringList& row : rows) {
        for (const LoginSlot& slot : slotsForMac(row.value(DeviceColumn::Mac).toStdString())) {
            if (!slot.loggedIn())
                continue;
            const int handle = static_cast<int>(slot.hIPCLogin);
            auto block = zeroedRecord<KvxCpldData>();
            if (!KVX_NET_GetCpldData(handle, block.get())) {
                notifyRowText(2, slotMac(slot), RowText::CpldReadFailed);
                Qx_Write_Log(300, "DeviceManager::batchTenZoom",
                             "[Line:%d] KVX_NET_GetCpldData Failed, ip:%s", __LINE__,
                             std::string(slot.ip, fieldLength(slot.ip, sizeof slot.ip)).c_str());
                break; // the scan of this row ends
            }
            block->tenZoom = KVX_CPLD_TEN_ZOOM_ON;
            int length = static_cast<int>(sizeof(KvxCpldData));
            if (KVX_NET_SetCpldData(handle, block.get(), &length))
                notifyRowText(2, slotMac(slot), RowText::TenZoomSuccess);
            else
                notifyRowText(2, slotMac(slot), RowText::TenZoomFailed);
        }
    }
}
