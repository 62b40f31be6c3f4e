// Modal result table of a batch: one row per device, the device and failure counts above.
#pragma once

#include "ResultTableDialog.h"

#include <set>
#include <vector>

#include "../engine/DeviceResultInfo.h"
#include "../engine/OtherParamResultInfo.h"
#include "../mainwindow/FixturePendingInfo.h"
#include "../mainwindow/NetInfoResultInfo.h"

class Cmodifytableview;

class ShowResultDialog : public ResultTableDialog {
    Q_OBJECT
public:
    ShowResultDialog(const QStringList& headers, QWidget* parent, int width, int height);

    void showBatchResult(std::vector<DeviceResultInfo> records);
    void showSetIpResult(std::vector<NetInfoResultInfo> records);
    // The records at the indices in leftOut were not run (their camera was still busy): their
    // cells say "Busy" and they count as failed.
    void showOtherParamResult(std::vector<OtherParamResultInfo> records, int enabledCount,
                              const std::set<std::size_t>& leftOut = {});
    void showAudioTestResult(std::vector<FixturePendingInfo> records);
    void showSDCardResult(std::vector<SdCardResultInfo> records);
    void showTestDetail(const FixtureGpioItem* items, int count);

    Cmodifytableview* table() const { return resultTable; }

private:
    QString statusText(int status) const;
    // One row per record, its address and its status text; status 1 succeeded. Then the counts.
    template <class Record> void showStatusResults(const std::vector<Record>& records);

    Cmodifytableview* resultTable = nullptr;
};
