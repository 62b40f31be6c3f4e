// Network-information batches: the IP change, the DHCP switch and the full-netcom switch
// through the LAN search library's modify calls, and their answers.
#include "MainFrame.h"

#include "AddressProbeQueue.h"
#include "DeviceManager.h"
#include "DeviceTableRow.h"
#include "NetInfoBatch.h"
#include "NewAddressRule.h"
#include "PingHelper.h"
#include "dialogs/ProgressBarDialog.h"
#include "dialogs/SetIPDialog.h"
#include "dialogs/TipDialog.h"
#include "fields/FixedField.h"
#include "net/DottedQuad.h"
#include "kvxnet/DscSearch.h"
#include "ozmlogic/ParamsMgr.h"
#include "quillet/Quillet.h"
#include "winport/WinPort.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char kAccessText[] = "Vorn_Kd";
const char kDhcpMacText[] = "Vorn_Tsa";

using fixedfield::fieldText;

// A longer text is cut to size - 1; bytes after the terminator keep what they held.
constexpr auto putText = &fixedfield::overwriteField;

using dottedquad::format;

// A zeroed request with the tag, the request type and the access text.
DSC_MODIFY_NETINFO_REQUEST baseRequest() {
    DSC_MODIFY_NETINFO_REQUEST request;
    std::memset(&request, 0, sizeof request);
    putText(request.tag, sizeof request.tag, DSC_TAG);
    request.type = DSC_TYPE_MODIFY_REQUEST;
    putText(request.access, sizeof request.access, kAccessText);
    return request;
}

// The camera fields from its search record: MAC (twice), current address and account.
void fillCamera(DSC_MODIFY_NETINFO_REQUEST& request, const DSC_SEARCH_RESPONSE_INFO& record) {
    const std::string mac = fieldText(record.mac, sizeof record.mac);
    putText(request.mac, sizeof request.mac, mac);
    putText(request.ip, sizeof request.ip, fieldText(record.ip, sizeof record.ip));
    putText(request.mac2, sizeof request.mac2, mac);
    putText(request.user, sizeof request.user, fieldText(record.user, sizeof record.user));
    putText(request.password, sizeof request.password, fieldText(record.password, sizeof record.password));
}

NetInfoResultInfo pendingRecord(int kind, const DSC_SEARCH_RESPONSE_INFO& record) {
    NetInfoResultInfo info;
    std::memset(&info, 0, sizeof info);
    info.kind = kind;
    putText(info.ip, sizeof info.ip, fieldText(record.ip, sizeof record.ip));
    putText(info.mac, sizeof info.mac, fieldText(record.mac, sizeof record.mac));
    info.startTime = static_cast<std::int32_t>(static_cast<std::uint32_t>(_time64(nullptr)));
    return info;
}

void showWarning(const QString& text) {
    TipDialog::showWarning(text);
}

} // namespace

bool MainFrame::validStartAddress(const OZM::_SC_SETIP_DATA_& info) {
    if (!newaddress::validStart(fieldText(info.ip, sizeof info.ip)))
        return false;
    return PingHelper::parseDottedQuad(fieldText(info.mask, sizeof info.mask), nullptr) &&
           PingHelper::parseDottedQuad(fieldText(info.gateway, sizeof info.gateway), nullptr);
}

void MainFrame::notifyRow(int code, const QStringList& texts) {
    QStringList list = texts;
    OZM::_NOTIFY_PARAM param;
    param.type = code;
    param.data = &list;
    handleDeviceEvent(&param);
}

void MainFrame::notifyRow(int code, const QString& mac, RowText text) {
    notifyRow(code, {mac, RowTexts::text(text)});
}

void MainFrame::stopNetBatch() {
    _netBatch->stop();
}

// ---- IP change ----

void MainFrame::onSetIP() {
    SetIPDialog dialog(nullptr);
    dialog.exec();
}

void MainFrame::onModifyIP() {
    if (_checkedRows.isEmpty()) {
        showWarning(tr("Please select the device first!"));
        return;
    }
    OZM::_SC_SETIP_DATA_ info;
    std::memset(&info, 0, sizeof info);
    ozmParamsMgr()->getIpInfo(&info);
    if (!validStartAddress(info)) {
        Qx_Write_Log(300, "MainFrame::onModifyIP", "invalid start address, ip:%s mask:%s gateway:%s",
                     fieldText(info.ip, sizeof info.ip).c_str(),
                     fieldText(info.mask, sizeof info.mask).c_str(),
                     fieldText(info.gateway, sizeof info.gateway).c_str());
        showWarning(tr("Please set a valid IP start address first!"));
        return;
    }
    // Set IP Start Address sends the start address unpinged: an address still on its way to a
    // camera is refused, not sent a second time.
    const std::string startIp = fieldText(info.ip, sizeof info.ip);
    if (info.mode == 0 && _engine && !_engine->addressLedger().mayHandOut(startIp)) {
        Qx_Write_Log(300, "MainFrame::onModifyIP", "pNewIp is held by a change in progress,pNewIp = %s",
                     startIp.c_str());
        showWarning(tr("The start address is still on its way to a camera: nothing was sent!"));
        return;
    }
    stopNetBatch();
    KVX_NET_StopModifyNetInfo();
    _netBatch->dropEnd(); // an end still queued belongs to the stopped run
    if (_checkTimer) {
        _checkTimer->stop();
        _batchStartTick = GetTickCount();
    }
    if (_modifyIpProgress) {
        _modifyIpProgress->close(); // its owner deletes it when exec() returns
        _modifyIpProgress = nullptr;
    }
    clearPendingLists();
    _openKind = 4;
    _netBatch->setRangeUsedUp(false);
    const QVector<QStringList> rows = _checkedRows;

    if (info.mode != 0) {
        _netBatch->start([this, info, rows] { batchModifyIpThd(info, rows); });
        startCheckTimer();
        showProgress(4, tr("Modifying IP...."));
        return;
    }

    // Set IP Start Address: the first row takes the start address itself.
    const std::string mac = rows.first().value(DeviceColumn::Mac).toStdString();
    const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> record = _engine ? _engine->findSearchInfo(mac) : nullptr;
    if (!record) {
        Qx_Write_Log(300, "MainFrame::onModifyIP", "cannot findSearchInfo, mac:%s", mac.c_str());
        emit modifyParamEnd(4); // nothing sent: the operation ends at once
        return;
    }
    const AddressLedger::Change change = _engine->addressLedger().sent(mac, startIp);
    if (change == 0) {
        Qx_Write_Log(300, "MainFrame::onModifyIP", "pNewIp is held by a change in progress,pNewIp = %s",
                     startIp.c_str());
        emit modifyParamEnd(4); // taken meanwhile: nothing sent
        return;
    }
    DSC_MODIFY_NETINFO_REQUEST request = baseRequest();
    fillCamera(request, *record);
    _netBatch->add(pendingRecord(4, *record), mac, change);
    request.changeMask = DSC_CHANGE_IP | DSC_CHANGE_MASK | DSC_CHANGE_GATEWAY;
    putText(request.newIp, sizeof request.newIp, startIp);
    putText(request.mask, sizeof request.mask, fieldText(info.mask, sizeof info.mask));
    putText(request.gateway, sizeof request.gateway, fieldText(info.gateway, sizeof info.gateway));
    KVX_NET_ModifyNetInfo(&request, &MainFrame::modifyNetInfoCallback, this);
    startCheckTimer();
    showProgress(4, tr("Modifying IP...."));
}

void MainFrame::batchModifyIpThd(OZM::_SC_SETIP_DATA_ info, QVector<QStringList> rows) {
    const char* const where = "MainFrame::batchModifyIpThd";
    std::uint32_t start = 0;
    newaddress::validStart(fieldText(info.ip, sizeof info.ip), &start); // validated by the slot
    std::uint32_t mask = 0xFFFFFFFFu;
    PingHelper::parseDottedQuad(fieldText(info.mask, sizeof info.mask), &mask);
    // One candidate at a time, in turn. The subnet's network and broadcast addresses and the
    // addresses that a change in progress holds are skipped unpinged; an address whose ping
    // could not run is not taken as free.
    AddressProbeQueue candidates(
        start, mask, 1,
        [this](const std::string& address) {
            return _engine && !_engine->addressLedger().mayHandOut(address);
        },
        [this](const std::string& address) { return pingHost(address); });
    for (const QStringList& row : rows) {
        if (_netBatch->stopping())
            break;
        std::uint32_t value = 0;
        newaddress::Verdict verdict = newaddress::Verdict::NoVerdict;
        bool usedUp = false;
        const std::string mac = row.value(DeviceColumn::Mac).toStdString();
        AddressLedger::Change change = 0; // the address held for this camera
        while (!_netBatch->stopping()) {
            if (!candidates.next(1, &value, &verdict)) {
                usedUp = true;
                break;
            }
            // Judged free; taken only if nothing came to hold it since.
            if (verdict == newaddress::Verdict::Free && _engine && !mac.empty() &&
                (change = _engine->addressLedger().sent(mac, format(value))) == 0)
                verdict = newaddress::Verdict::Held;
            if (verdict == newaddress::Verdict::Free || verdict == newaddress::Verdict::NoVerdict)
                break;
            newaddress::logPassedOver(where, verdict, format(value));
        }
        if (_netBatch->stopping() || usedUp) {
            if (change != 0)
                _engine->addressLedger().refused(change); // never sent: no camera takes it
        }
        if (_netBatch->stopping())
            break;
        if (usedUp) {
            // The rows left get nothing; the end of the batch says so.
            Qx_Write_Log(300, where, "laddr is 0xFFFFFFFF");
            _netBatch->setRangeUsedUp(true);
            break;
        }
        const bool noVerdict = verdict == newaddress::Verdict::NoVerdict;
        const std::string candidate = format(value);
        if (!_engine)
            continue;
        const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> record = _engine->findSearchInfo(mac);
        if (!record) {
            Qx_Write_Log(300, where, "cannot findSearchInfo, mac:%s", mac.c_str());
            if (change != 0)
                _engine->addressLedger().refused(change); // never sent: no camera takes it
            continue;                                     // the candidate stays used
        }
        if (noVerdict) {
            // Nothing is sent: the camera's change fails at once.
            Qx_Write_Log(300, where, "ping could not run, nothing sent to mac:%s,pNewIp = %s", mac.c_str(),
                         candidate.c_str());
            NetInfoResultInfo failed = pendingRecord(4, *record);
            failed.status = 2;
            _netBatch->add(failed);
            _netBatch->begun();
            notifyRow(2, QString::fromStdString(mac), RowText::ModifyIpFailed);
            continue;
        }
        DSC_MODIFY_NETINFO_REQUEST request = baseRequest();
        fillCamera(request, *record);
        _netBatch->add(pendingRecord(4, *record), mac, change);
        _netBatch->begun();
        request.changeMask = DSC_CHANGE_IP | DSC_CHANGE_MASK | DSC_CHANGE_GATEWAY;
        putText(request.mask, sizeof request.mask, fieldText(info.mask, sizeof info.mask));
        putText(request.gateway, sizeof request.gateway, fieldText(info.gateway, sizeof info.gateway));
        putText(request.newIp, sizeof request.newIp, candidate);
        KVX_NET_ModifyNetInfo(&request, &MainFrame::modifyNetInfoCallback, this);
    }
    // The time limit counts from the last request.
    _batchStartTick = GetTickCount();
}

// ---- DHCP switch ----

void MainFrame::onModifyDhcp() {
    if (_checkedRows.isEmpty()) {
        showWarning(tr("Please select the device first!"));
        return;
    }
    const std::uint8_t dhcp = sender() && sender() == _openDhcpBtn ? 1 : 0;
    stopNetBatch();
    KVX_NET_StopModifyNetInfo();
    _netBatch->dropEnd(); // an end still queued belongs to the stopped run
    clearPendingLists();
    _netBatch->start([this, rows = _checkedRows, dhcp] { batchModifyDhcpThd(rows, dhcp); });
}

void MainFrame::batchModifyDhcpThd(QVector<QStringList> rows, std::uint8_t dhcp) {
    for (const QStringList& row : rows) {
        if (_netBatch->stopping())
            break;
        if (!_engine)
            continue;
        const std::string mac = row.value(DeviceColumn::Mac).toStdString();
        const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> record = _engine->findSearchInfo(mac);
        if (!record) {
            Qx_Write_Log(300, "MainFrame::batchModifyDhcpThd", "cannot findSearchInfo, mac:%s", mac.c_str());
            continue;
        }
        DSC_MODIFY_NETINFO_REQUEST request = baseRequest();
        fillCamera(request, *record);
        putText(request.mac, sizeof request.mac, kDhcpMacText); // over the MAC copied first
        request.changeMask = DSC_CHANGE_DHCP;
        request.dhcp = dhcp;
        putText(request.newIp, sizeof request.newIp, "192.168.1.168");
        putText(request.mask, sizeof request.mask, "255.255.255.0");
        putText(request.gateway, sizeof request.gateway, "192.168.1.1");
        putText(request.address4, sizeof request.address4, "192.168.1.1");
        putText(request.mac3, sizeof request.mac3, fieldText(record->mac, sizeof record->mac));
        _netBatch->add(pendingRecord(4, *record));
        _netBatch->begun();
        KVX_NET_ModifyNetInfo(&request, &MainFrame::modifyNetInfoCallback, this);
    }
    _batchStartTick = GetTickCount();
}

// ---- Full netcom ----

void MainFrame::onFullNetcomEnable() {
    const bool on = sender() && sender() == _openFullNetcomBtn;
    ozmParamsMgr()->setFullNetcom(on ? 0 : 1);
    if (_checkedRows.isEmpty()) {
        showTextInfo();
        return;
    }
    stopNetBatch();
    KVX_NET_StopModifyNetInfo();
    _netBatch->dropEnd(); // an end still queued belongs to the stopped run
    clearPendingLists();
    _openKind = 5;
    int records = 0;
    for (const QStringList& row : _checkedRows) {
        const std::string mac = row.value(DeviceColumn::Mac).toStdString();
        const std::unique_ptr<DSC_SEARCH_RESPONSE_INFO> record =
            _engine ? _engine->findSearchInfo(mac) : nullptr;
        if (!record) {
            // A request without the camera's MAC and account reaches no camera: not sent.
            Qx_Write_Log(300, "MainFrame::onFullNetcomEnable", "onFullNetcomEnable pSerachResp is null");
            continue;
        }
        DSC_MODIFY_NETINFO_REQUEST request = baseRequest();
        fillCamera(request, *record);
        _netBatch->add(pendingRecord(5, *record));
        ++records;
        request.changeMask = DSC_CHANGE_FULL_NETCOM;
        request.fullNetcom = on ? 1 : 0;
        request.reserved208 = 0;
        KVX_NET_ModifyNetInfo(&request, &MainFrame::modifyNetInfoCallback, this);
    }
    startCheckTimer();
    if (records == 0) {
        emit modifyParamEnd(5);
        return;
    }
    showProgress(5, on ? tr("Turning on full Netcom...") : tr("Turning off full Netcom..."));
}

// ---- Answers (the search library's thread) ----

int MainFrame::modifyNetInfoCallback(const DSC_MODIFY_NETINFO_RESPONSE* resp, void* user) {
    auto* frame = static_cast<MainFrame*>(user);
    if (!frame)
        return -1;
    frame->onModifyNetInfoResult(resp);
    return 0;
}

void MainFrame::onModifyNetInfoResult(const DSC_MODIFY_NETINFO_RESPONSE* resp) {
    if (!resp) {
        // Later requests of a batch thread join a run that ends later.
        _netBatch->runEnded();
        emit modifyNetInfoEnd();
        return;
    }
    if (fieldText(resp->tag, sizeof resp->tag) != DSC_TAG || resp->type != DSC_TYPE_MODIFY_RESPONSE)
        return;
    switch (resp->changeMask) {
    case 28:
        onModifyIpResult(*resp);
        break;
    case 256:
        onFullNetcomResult(*resp);
        break;
    case 2:
        onDhcpResult(*resp);
        break;
    default:
        break;
    }
}

void MainFrame::onModifyIpResult(const DSC_MODIFY_NETINFO_RESPONSE& resp) {
    // The row texts name the camera as its row does, however the answer spells the MAC.
    const std::string mac = _netBatch->recordMac(fieldText(resp.mac, sizeof resp.mac));
    const QString macText = QString::fromStdString(mac);
    const AddressLedger::Change change = _netBatch->change(mac);
    if (resp.result != 0) {
        if (_engine && change != 0)
            _engine->addressLedger().refused(change); // the camera stays where it is
        notifyRow(2, macText, RowText::ModifyIpFailed);
    } else {
        const QString ip = QString::fromStdString(fieldText(resp.newIp, sizeof resp.newIp));
        notifyRow(8, {macText, ip, RowTexts::text(RowText::NewIp, ip)});
        // The engine logs in again at the new address once the camera is back, and the camera
        // is waited for, when a relogin would renew its login; any other camera is not logged
        // in again, so nothing is left to wait for. Decided before a relogin is queued.
        const bool relogin = _engine && _engine->reloginRenews(mac);
        if (!reLoginDevice(&resp, relogin, change) || !relogin) {
            notifyRow(2, macText, RowText::NoReloginAfterIpChange);
            _netBatch->markReloginGivenUp(mac);
            return;
        }
    }
    _netBatch->mark(mac, resp.result != 0 ? 2 : 1);
}

void MainFrame::onFullNetcomResult(const DSC_MODIFY_NETINFO_RESPONSE& resp) {
    const std::string mac = _netBatch->recordMac(fieldText(resp.mac, sizeof resp.mac));
    const QString macText = QString::fromStdString(mac);
    if (resp.result == 0) {
        if (resp.fullNetcom == 1) {
            notifyRow(2, macText, RowText::FullNetcomOn);
            notifyRow(3, macText, RowText::FullNetcomEnabled);
        } else {
            notifyRow(3, macText, RowText::FullNetcomDisabled);
            notifyRow(2, macText, RowText::FullNetcomOff);
        }
        notifyRow(7, {macText, resp.column3Flag == 1 ? RowTexts::text(RowText::NetcomFlagSet) : QString()});
    } else {
        notifyRow(2, macText, RowText::FullNetcomFailed);
    }
    _netBatch->mark(mac, resp.result != 0 ? 2 : 1);
}

void MainFrame::onDhcpResult(const DSC_MODIFY_NETINFO_RESPONSE& resp) {
    const std::string mac = _netBatch->recordMac(fieldText(resp.mac2, sizeof resp.mac2));
    const QString macText = QString::fromStdString(mac);
    const bool open = resp.dhcp == 1;
    RowText text;
    if (resp.result == 0)
        text = open ? RowText::DhcpOpened : RowText::DhcpClosed;
    else
        text = open ? RowText::DhcpOpenFailed : RowText::DhcpCloseFailed;
    notifyRow(2, macText, text);
    _netBatch->mark(mac, resp.result != 0 ? 2 : 1);
}

// ---- End of the modification run (GUI thread) ----

void MainFrame::onModifyNetInfoEnd() {
    // Times out the unanswered records of the requests that the ended run held.
    for (const auto& entry : _netBatch->timeOutEnded())
        notifyRow(2, QString::fromStdString(entry.first), entry.second);
}
