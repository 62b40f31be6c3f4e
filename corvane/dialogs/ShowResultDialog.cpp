#include "ShowResultDialog.h"

#include "Cmodifytableview.h"
#include "CommonDelegate.h"
#include "fields/FixedFieldText.h"

#include <algorithm>

namespace {

using fixedfield::utf8Text;

// Family columns of the other-parameter table, in the order of the caller's titles.
constexpr int kOtherParamColumnOrder[15] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0, 1};

} // namespace

ShowResultDialog::ShowResultDialog(const QStringList& headerList, QWidget* parent, int width, int height)
    : ResultTableDialog(headerList, parent, width, height) {
    resultTable = new Cmodifytableview(headers, this);
    resultTable->setItemDelegate(new CommonDelegate(resultTable));
    placeTable(resultTable, tr("Modify device:"), tr("Modify failed:"));
}

QString ShowResultDialog::statusText(int status) const {
    switch (status) {
    case 1:
        return tr("Success");
    case 2:
        return tr("Failed");
    case 3:
        return tr("Receive Timeout");
    default:
        return QString();
    }
}

template <class Record> void ShowResultDialog::showStatusResults(const std::vector<Record>& records) {
    int successes = 0;
    for (const Record& record : records) {
        resultTable->appendRow({utf8Text(record.ip), statusText(record.status)});
        if (record.status == 1)
            ++successes;
    }
    setCounts(static_cast<int>(records.size()), successes);
}

void ShowResultDialog::showBatchResult(std::vector<DeviceResultInfo> records) {
    showStatusResults(records);
}

void ShowResultDialog::showSetIpResult(std::vector<NetInfoResultInfo> records) {
    showStatusResults(records);
}

void ShowResultDialog::showOtherParamResult(std::vector<OtherParamResultInfo> records, int enabledCount,
                                            const std::set<std::size_t>& leftOut) {
    int successes = 0;
    for (std::size_t index = 0; index < records.size(); ++index) {
        const OtherParamResultInfo& record = records[index];
        const bool busy = leftOut.count(index) > 0;
        QStringList row{utf8Text(record.ip)};
        int succeeded = 0;
        for (int family : kOtherParamColumnOrder) {
            if (record.flags[family] != 1)
                continue;
            const bool ok = !busy && record.results[family] == 1;
            row << (busy ? tr("Busy") : ok ? tr("Success") : tr("Failed"));
            if (ok)
                ++succeeded;
        }
        resultTable->appendRow(row);
        if (succeeded >= enabledCount)
            ++successes;
    }
    setCounts(static_cast<int>(records.size()), successes);
}

void ShowResultDialog::showAudioTestResult(std::vector<FixturePendingInfo> records) {
    showFixtureResults(resultTable, records, &FixturePendingInfo::audio);
}

void ShowResultDialog::showSDCardResult(std::vector<SdCardResultInfo> records) {
    int successes = 0;
    for (const SdCardResultInfo& record : records) {
        QString text;
        if (record.status == 1 && record.cardUnavailable == 1) {
            text = tr("SD card unavailable");
        } else if (record.status == 1) {
            text = tr("SD total capacity : ") + QString::number(record.totalCapacity) +
                   QStringLiteral(" | ") + tr("SD surplus capacity : ") +
                   QString::number(record.freeCapacity);
            ++successes;
        } else {
            text = statusText(record.status);
        }
        resultTable->appendRow({utf8Text(record.ip), text});
    }
    setCounts(static_cast<int>(records.size()), successes);
}

void ShowResultDialog::showTestDetail(const FixtureGpioItem* items, int count) {
    hideCounts();
    resultTable->setColorMode(1);
    if (!items)
        return;
    count = std::clamp(count, 0, kFixtureGpioMax);
    for (int i = 0; i < count; ++i)
        resultTable->appendRow(
            {utf8Text(items[i].name), utf8Text(items[i].function), utf8Text(items[i].status)});
}
