// Tracked operations: reboot and the two recoveries, the check timer with its sweeps, the
// end handler with the result tables.
#include "MainFrame.h"

#include "DeviceManager.h"
#include "DeviceTableRow.h"
#include "NetInfoBatch.h"
#include "dialogs/ProgressBarDialog.h"
#include "dialogs/ShowResultDialog.h"
#include "dialogs/TipDialog.h"
#include "fields/FixedField.h"
#include "quillet/Quillet.h"
#include "winport/WinPort.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

namespace {

constexpr int kCheckIntervalMs = 2000;

using fixedfield::copyField;
using fixedfield::fieldText;

// Limit factor and cap in seconds, when a record is finished and what a time-out does.
struct SweepRule {
    int kind;
    int factor;
    int cap;
    bool needsLogin;                  // status 1 finishes only with a login result
    bool loginGivenUpEnds;            // login state 1003 counts as a login result
    bool failedLoginStays;            // a failed login (1002) is left alone at the limit
    std::optional<RowText> loginText; // text when the login is given up (rules that need one)
    RowText timeoutText;
};

const SweepRule kRules[] = {
    {4, 60, 180, true, true, false, RowText::LoginFailed, RowText::ModifyIpTimeout},
    {5, 20, 120, false, false, false, std::nullopt, RowText::FullNetcomTimeout},
    {6, 60, 180, true, false, true, RowText::LoginFailed, RowText::RebootTimeout},
    {9, 60, 180, true, false, true, RowText::LoginTimeout, RowText::SimpleRecoveryTimeout},
    {10, 20, 180, false, false, false, std::nullopt, RowText::FullRecoveryTimeout},
};

const SweepRule* ruleOf(int kind) {
    for (const SweepRule& rule : kRules) {
        if (rule.kind == kind)
            return &rule;
    }
    return nullptr;
}

template <class Record> bool finished(const Record& record, const SweepRule& rule) {
    if (record.status == 2 || record.status == 3)
        return true;
    if (record.status != 1)
        return false;
    if (!rule.needsLogin)
        return true;
    return record.loginState == 1001 || record.loginState == 1002 ||
           (rule.loginGivenUpEnds && record.loginState == 1003);
}

// Counts the finished records of the rule's kind, or (timedOut) marks the rest and collects
// the row texts to send.
template <class Record>
int sweepList(PendingList<Record>& list, const SweepRule& rule, bool timedOut,
              std::vector<std::pair<QString, RowText>>& texts) {
    int count = 0;
    for (Record& record : list) {
        if (static_cast<int>(record.kind) != rule.kind)
            continue;
        if (!timedOut) {
            if (finished(record, rule))
                ++count;
            continue;
        }
        const QString mac = QString::fromStdString(fieldText(record.mac, sizeof record.mac));
        if (rule.needsLogin && record.status == 1 && record.loginState != 1001 &&
            !(rule.failedLoginStays && record.loginState == 1002) &&
            !(rule.loginGivenUpEnds && record.loginState == 1003)) {
            record.loginState = 1003;
            texts.emplace_back(mac, *rule.loginText);
        } else if (record.status == 0) {
            record.status = 3;
            texts.emplace_back(mac, rule.timeoutText);
        }
    }
    return count;
}

} // namespace

// ---- Reboot and recoveries ----

void MainFrame::onReboot() {
    runDeviceBatch(6);
}

void MainFrame::onSimpleRecovery() {
    runDeviceBatch(9);
}

void MainFrame::onFullRecovery() {
    runDeviceBatch(10);
}

void MainFrame::runDeviceBatch(int kind) {
    if (_checkedRows.isEmpty()) {
        TipDialog::showWarning(tr("Please select the device first!"));
        return;
    }
    // A running IP or DHCP thread would add its records to this operation's lists.
    stopNetBatch();
    if (_checkTimer) {
        _checkTimer->stop();
        _batchStartTick = GetTickCount();
    }
    if (ProgressBarDialog** progress = progressOf(kind); progress && *progress) {
        (*progress)->close();
        *progress = nullptr;
    }
    clearPendingLists();
    _openKind = kind;
    int records = 0;
    const QVector<QStringList> rows = _checkedRows;
    for (const QStringList& row : rows) {
        if (!_engine)
            break;
        const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> info =
            _engine->findSearchInfo(row.value(DeviceColumn::Mac).toStdString());
        if (info) {
            DeviceResultInfo record;
            std::memset(&record, 0, sizeof record);
            record.kind = static_cast<std::uint32_t>(kind);
            copyField(record.mac, sizeof record.mac, fieldText(info->mac, sizeof info->mac));
            copyField(record.ip, sizeof record.ip, fieldText(info->ip, sizeof info->ip));
            {
                std::lock_guard<std::mutex> lock(_pendingMutex);
                _rebootList.push_back(record);
            }
            ++records;
        } else if (kind == 6) {
            Qx_Write_Log(300, "MainFrame::onReboot", "onReboot pSerachResp is null");
            continue;
        }
        if (kind == 6)
            _engine->rebootDevices(row);
        else if (kind == 9)
            _engine->simpleRecoveryDevices(row);
        else
            _engine->fullRecoveryDevices(row);
    }
    startCheckTimer();
    if (records == 0) {
        emit modifyParamEnd(kind); // nothing to wait for
        return;
    }
    if (kind == 6)
        showProgress(kind, tr("Rebooting...."));
    else if (kind == 9)
        showProgress(kind, tr("SimpleRecovery...."));
    else
        showProgress(kind, tr("FullRecoverying...."));
}

// ---- Busy indicators and the check timer ----

ProgressBarDialog** MainFrame::progressOf(int kind) {
    switch (kind) {
    case 4:
        return &_modifyIpProgress;
    case 5:
        return &_fullNetcomProgress;
    case 6:
        return &_rebootProgress;
    case 9:
        return &_simpleRecoveryProgress;
    case 10:
        return &_fullRecoveryProgress;
    default:
        return nullptr;
    }
}

void MainFrame::showProgress(int kind, const QString& title) {
    ProgressBarDialog** slot = progressOf(kind);
    if (!slot || *slot)
        return;
    // Owned here; the end handler only closes it and forgets it.
    auto dialog = std::make_unique<ProgressBarDialog>(nullptr);
    dialog->titleLabel->setText(title);
    *slot = dialog.get();
    dialog->exec();
    if (*slot == dialog.get())
        *slot = nullptr;
}

void MainFrame::startCheckTimer() {
    _batchStartTick = GetTickCount();
    if (_checkTimer) {
        _checkTimer->stop();
        _checkTimer->start(winport::timerInterval(kCheckIntervalMs));
    }
}

void MainFrame::onCheckTimerSlot() {
    if (_openKind < 0)
        return;
    int netKind = -1, rebootKind = -1;
    int netCount = 0, rebootCount = 0;
    _netBatch->withRecords([&](const PendingList<NetInfoResultInfo>& list) {
        if (!list.empty()) {
            netKind = list.front().kind;
            netCount = static_cast<int>(list.size());
        }
    });
    {
        std::lock_guard<std::mutex> lock(_pendingMutex);
        if (!_rebootList.empty()) {
            rebootKind = static_cast<int>(_rebootList.front().kind);
            rebootCount = static_cast<int>(_rebootList.size());
        }
    }
    if (netKind == 5) {
        checkFullNetcomTimeout(netCount);
        return;
    }
    if (netKind == 4) {
        checkModifyIpTimeout(netCount);
        return;
    }
    if (rebootCount == 0) {
        // No record to wait for (a search emptied the lists, or the batch found no camera).
        if (netCount == 0 && !(_openKind == 4 && _netBatch->running()))
            emit modifyParamEnd(_openKind);
        return;
    }
    if (rebootKind == 6)
        checkRebootTimeout(rebootCount);
    else if (rebootKind == 10)
        checkFullRecoveryTimeout(rebootCount);
    else if (rebootKind == 9)
        checkSimpleRecoveryTimeout(rebootCount);
}

void MainFrame::checkModifyIpTimeout(int n) {
    takeChangeRelogins();
    if (_netBatch->running())
        return; // the thread still sends; the limit starts with its last request
    sweep(4, n, GetTickCount());
}

void MainFrame::takeChangeRelogins() {
    if (!_engine)
        return;
    std::vector<QString> notRenewed;
    _netBatch->forEachChanged([&](NetInfoResultInfo& record, AddressLedger::Change change) {
        if (record.kind != 4 || record.status != 1 || record.loginState != 0)
            return;
        switch (_engine->changeRelogin(change)) {
        case DeviceManager::ChangeRelogin::LoggedIn:
            record.loginState = 1001;
            break;
        case DeviceManager::ChangeRelogin::Failed:
            record.loginState = 1002;
            break;
        case DeviceManager::ChangeRelogin::NotRenewed:
            record.loginState = 1003;
            notRenewed.push_back(QString::fromStdString(fieldText(record.mac, sizeof record.mac)));
            break;
        case DeviceManager::ChangeRelogin::Pending:
            break;
        }
    });
    for (const QString& mac : notRenewed)
        notifyRow(2, mac, RowText::NoReloginAfterIpChange);
}

void MainFrame::checkFullNetcomTimeout(int n) {
    sweep(5, n, GetTickCount());
}

void MainFrame::checkRebootTimeout(int n) {
    sweep(6, n, GetTickCount());
}

void MainFrame::checkFullRecoveryTimeout(int n) {
    sweep(10, n, GetTickCount());
}

void MainFrame::checkSimpleRecoveryTimeout(int n) {
    sweep(9, n, GetTickCount());
}

void MainFrame::sweep(int kind, int n, std::uint64_t now) {
    const SweepRule* rule = ruleOf(kind);
    if (!rule)
        return;
    const std::uint64_t limitMs = std::min<std::uint64_t>(static_cast<std::uint64_t>(rule->factor) *
                                                              static_cast<std::uint64_t>(std::max(n, 0)),
                                                          static_cast<std::uint64_t>(rule->cap)) *
                                  1000u;
    const std::uint64_t start = _batchStartTick.load();
    const std::uint64_t elapsed = now > start ? now - start : 0;
    const bool timedOut = elapsed >= limitMs;
    std::vector<std::pair<QString, RowText>> texts;
    int count = 0;
    if (kind == 4 || kind == 5) {
        count = _netBatch->withRecords(
            [&](PendingList<NetInfoResultInfo>& list) { return sweepList(list, *rule, timedOut, texts); });
    } else {
        std::lock_guard<std::mutex> lock(_pendingMutex);
        count = sweepList(_rebootList, *rule, timedOut, texts);
    }
    if (!timedOut && count < n)
        return;
    for (const auto& entry : texts)
        notifyRow(2, entry.first, entry.second);
    emit modifyParamEnd(kind);
}

// ---- End of an operation ----

void MainFrame::onModifyParamEnd(int cmd_type) {
    if (cmd_type == 0 || cmd_type == 1) {
        onFixtureTestEnd(cmd_type);
        return;
    }
    if (_checkTimer)
        _checkTimer->stop();
    _openKind = -1;
    if (ProgressBarDialog** progress = progressOf(cmd_type); progress && *progress) {
        (*progress)->close();
        *progress = nullptr;
    }
    QString title;
    switch (cmd_type) {
    case 4:
        title = tr("Set IP");
        break;
    case 6:
        title = tr("Reboot");
        break;
    case 9:
        title = tr("SimpleRecovery");
        break;
    case 10:
        title = tr("Full Recovery");
        break;
    default:
        return; // full netcom ends without a table
    }
    std::vector<NetInfoResultInfo> netInfo;
    if (cmd_type == 4) {
        netInfo = _netBatch->records();
        if (_netBatch->takeRangeUsedUp()) {
            TipDialog::showWarning(tr("No free IP address is left: the remaining devices were not changed!"));
            if (netInfo.empty())
                return; // nothing was sent: no table
        }
    }
    ShowResultDialog table(QStringList{tr("IP"), title}, nullptr, 354, 239);
    if (cmd_type == 4) {
        table.showSetIpResult(std::move(netInfo));
    } else {
        std::vector<DeviceResultInfo> copy;
        {
            std::lock_guard<std::mutex> lock(_pendingMutex);
            copy = _rebootList;
        }
        table.showBatchResult(std::move(copy));
    }
    table.exec();
}
