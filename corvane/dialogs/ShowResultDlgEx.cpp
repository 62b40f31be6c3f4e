#include "ShowResultDlgEx.h"

#include "CShowtableviewEx.h"
#include "CommonDelegateEx.h"
#include "ShowResultDialog.h"

#include <cstring>

ShowResultDlgEx::ShowResultDlgEx(const QStringList& headerList, QWidget* parent, int width, int height)
    : ResultTableDialog(headerList, parent, width, height) {
    resultTable = new CShowtableviewEx(headers, this);
    resultTable->setItemDelegate(new CommonDelegateEx(resultTable));
    placeTable(resultTable, tr("Modify device:"), tr("Modify failed:"));
    connect(resultTable, &CShowtableviewEx::leftdoubleClicked, this, &ShowResultDlgEx::onDoubleClickedShow);
}

void ShowResultDlgEx::showGpioTestResult(std::vector<FixturePendingInfo> records) {
    if (records.empty())
        return;
    deviceRecords = records;
    showFixtureResults(resultTable, deviceRecords, &FixturePendingInfo::result);
}

void ShowResultDlgEx::onDoubleClickedShow(QStringList list) {
    if (list.isEmpty() || list.first().isEmpty() || deviceRecords.empty())
        return;
    const QByteArray ip = list.first().toUtf8();
    const FixturePendingInfo* found = nullptr;
    for (const FixturePendingInfo& record : deviceRecords) {
        const std::size_t length = strnlen(record.ip, sizeof(record.ip));
        if (length == static_cast<std::size_t>(ip.size()) &&
            std::memcmp(record.ip, ip.constData(), length) == 0) {
            found = &record;
            break;
        }
    }
    if (!found)
        return;
    const QStringList titles{tr("Interface"), tr("Features"), tr("Test Result")};
    ShowResultDialog detail(titles, nullptr, 720, 576);
    detail.showTestDetail(found->gpio, found->gpioCount);
    detail.exec();
}
