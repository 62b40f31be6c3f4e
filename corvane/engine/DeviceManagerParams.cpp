// Family appliers of the network and system families: TCP/IP, Port, DDNS, P2P, GB28181,
// Account, Time and Maintain. Each reads the device's record, overwrites the fields the stored
// record defines and writes it back; everything else returns to the device as it came.
#include "DeviceManager.h"

#include "DeviceTableRow.h"
#include "OtherParamFields.h"
#include "PingHelper.h"
#include "kvxnet/KvxNetSdk.h"

using namespace otherparam;

namespace {

std::uint8_t byte(std::int64_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace

bool DeviceManager::otherLoginSlot(const QStringList* row, LoginSlot* out) {
    if (!row || row->isEmpty())
        return false;
    const std::vector<LoginSlot> matching = slotsForMac(row->value(DeviceColumn::Mac).toStdString());
    if (matching.empty())
        return false; // no effect: the run's time limit settles the family
    *out = matching.front();
    return true;
}

bool DeviceManager::openApplier(const QStringList* row, const char* function, const char* notLoggedIn,
                                ApplierContext* out, int line) {
    out->job = currentJob();
    if (!out->job.templates || !otherLoginSlot(row, &out->slot))
        return false;
    out->ip = fieldText(out->slot.ip, sizeof out->slot.ip);
    out->handle = static_cast<int>(out->slot.hIPCLogin);
    out->loggedIn = out->slot.loggedIn();
    if (!out->loggedIn && notLoggedIn)
        Qx_Write_Log(300, function, "[Line:%d] %s, ip:%s", line, notLoggedIn, out->ip.c_str());
    return true;
}

int DeviceManager::modifyTcpInfo(QStringList* qstrList) {
    static const char* const fn = "DeviceManager::modifyTcpInfo";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin<0", &c) || !c.loggedIn)
        return -1;
    const std::string newIp = qstrList->value(DeviceColumn::NewIp).toStdString();
    if (!PingHelper::parseDottedQuad(newIp, nullptr)) {
        Qx_Write_Log(300, fn, "[Line:%d] no new address, ip:%s", __LINE__, c.ip.c_str());
        return -1;
    }
    const OZM::_SC_TCP_IP_DATA& t = c.templates().tcpIp;
    auto rec = zeroed<KvxNetProperty>();
    if (!KVX_NET_GetNetPropertyEx(c.handle, rec.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetNetPropertyEx", c.ip);
        return -1;
    }
    rec->dhcp = byte(t.dhcp);
    copyField(rec->ip, newIp);
    copyField(rec->mask, t.mask);
    copyField(rec->gateway, t.gateway);
    copyField(rec->dns, t.dns);
    rec->fullNetcom = byte(t.fullNetcom);
    // A refused change is a failure: the device keeps its address.
    if (!KVX_NET_SetNetPropertyEx(c.handle, rec.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_SetNetPropertyEx", c.ip);
        return -1;
    }
    return 0;
}

int DeviceManager::modifyPortInfo(QStringList* qstrList) {
    static const char* const fn = "DeviceManager::modifyPortInfo";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin <0", &c) || !c.loggedIn)
        return -1;
    const OZM::_SC_PORT_DATA& t = c.templates().port;
    const struct {
        std::uint8_t code;
        std::int32_t port;
        const char* name;
    } protocols[] = {{KVX_AGREEMENT_RTSP, t.rtspPort, "KVX_AGREEMENT_RTSP"},
                     {KVX_AGREEMENT_HTTPS, t.httpsPort, "KVX_AGREEMENT_HTTPS"},
                     {KVX_AGREEMENT_ONVIF, t.onvifPort, "KVX_AGREEMENT_ONVIF"},
                     {KVX_AGREEMENT_HTTP, t.httpPort, "KVX_AGREEMENT_HTTP"}};
    for (const auto& p : protocols) {
        KvxAgreementProperty rec;
        std::memset(&rec, 0, sizeof rec);
        rec.enable = 1;
        rec.protocol = p.code;
        rec.port = static_cast<std::uint16_t>(p.port & 0xFFFF);
        if (p.code == KVX_AGREEMENT_ONVIF)
            rec.onvifEnable = byte(t.onvifEnable);
        if (!KVX_NET_SetAgreementProperty(c.handle, 0, &rec, 1)) {
            logCallFailed(fn, __LINE__, p.name, c.ip); // the later protocols are not sent
            return -1;
        }
    }
    return 0;
}

void DeviceManager::modifyDDNSInfo(QStringList* qstrList) {
    static const char* const fn = "DeviceManager::modifyDDNSInfo";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin < 0", &c))
        return;
    const OZM::_SC_DDNS_DATA& t = c.templates().ddns;
    auto rec = zeroed<KvxDdnsInfo>();
    bool ok = false;
    if (!c.loggedIn) {
        // reported by openApplier
    } else if (!KVX_NET_GetDDNS2(c.handle, 0, rec.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetDDNS2", c.ip);
    } else {
        rec->enable = t.enable;
        rec->provider = t.provider;
        copyField(rec->domain, t.domain);
        copyField(rec->user, t.user);
        copyField(rec->password, t.password);
        ok = KVX_NET_SetDDNS2(c.handle, 0, rec.get()) != 0;
        if (!ok)
            logCallFailed(fn, __LINE__, "KVX_NET_SetDDNS2", c.ip);
    }
    finishFamily(qstrList->value(DeviceColumn::Mac), OZM::FamilyDdns, ok, RowText::DdnsSuccess,
                 RowText::DdnsFailed);
}

void DeviceManager::modifyP2PInfo(QStringList* qstrList) {
    static const char* const fn = "DeviceManager::modifyP2PInfo";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin < 0", &c))
        return;
    auto rec = zeroed<KvxP2pInfo>();
    bool ok = false;
    if (!c.loggedIn) {
        // reported by openApplier
    } else if (!KVX_NET_GetP2P(c.handle, rec.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetP2P", c.ip);
    } else {
        rec->enable = byte(c.templates().p2p);
        ok = KVX_NET_SetP2P(c.handle, rec.get()) != 0;
        if (!ok)
            logCallFailed(fn, __LINE__, "KVX_NET_SetP2P", c.ip);
    }
    finishFamily(qstrList->value(DeviceColumn::Mac), OZM::FamilyP2p, ok, RowText::P2pSuccess,
                 RowText::P2pFailed);
}

void DeviceManager::modify28181Info(QStringList* qstrList) {
    ApplierContext c;
    if (!openApplier(qstrList, "DeviceManager::modify28181Info", nullptr, &c))
        return;
    const OZM::_SC_GB28181_DATA& t = c.templates().gb28181;
    auto rec = zeroed<KvxGb28181Params>();
    bool ok = false;
    if (c.loggedIn && KVX_NET_GetGB28181Params(c.handle, 0, rec.get())) {
        rec->enable = t.enable;
        rec->accessMethod = t.accessMethod;
        copyField(rec->serverId, t.sipServerId);
        copyField(rec->serverDomain, t.sipServerDomain);
        copyField(rec->serverAddress, t.sipServerAddress);
        rec->serverPort = t.sipServerPort;
        copyField(rec->user, t.user);
        copyField(rec->authId, t.authId);
        copyField(rec->password, t.password);
        rec->localSipPort = t.localSipPort;
        rec->status = t.status;
        rec->stream = t.stream;
        rec->transport = t.transport;
        rec->regValidity = t.registerValidity;
        rec->heartbeatPeriod = t.heartbeatPeriod;
        rec->regInterval = t.registerInterval;
        rec->maxHeartbeatTimeouts = t.maxHeartbeatTimeouts;
        copyField(rec->alarmId, t.alarmId);
        ok = KVX_NET_SetGB28181Params(c.handle, 0, rec.get()) != 0;
    }
    finishFamily(qstrList->value(DeviceColumn::Mac), OZM::FamilyGb28181, ok, RowText::Gb28181Success,
                 RowText::Gb28181Failed);
}

void DeviceManager::modifyAccount(QStringList* qstrList) {
    static const char* const fn = "DeviceManager::modifyAccount";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin < 0", &c))
        return;
    const OZM::_SC_ACCOUNT_DATA& t = c.templates().account;
    const QString mac = qstrList->value(DeviceColumn::Mac);
    auto rec = zeroed<KvxUserConfig>();
    copyField(rec->user, t.user);
    copyField(rec->password, t.password);
    rec->userType = byte(t.userType);
    bool ok = false;
    if (c.loggedIn) {
        ok = KVX_NET_UserConfig(c.handle, rec.get(), 0) != 0;
        if (!ok)
            logCallFailed(fn, __LINE__, "KVX_NET_UserConfig", c.ip);
    }
    const QString user = QString::fromLatin1(fieldText(rec->user, sizeof rec->user).c_str());
    const QString password = QString::fromLatin1(fieldText(rec->password, sizeof rec->password).c_str());
    // Later logins use the new account.
    finishFamily(
        mac, OZM::FamilyAccount, ok, RowText::AccountSuccess, RowText::AccountFailed,
        [&] { setSearchInfoAccount(mac.toStdString(), rec->user, rec->password, false); },
        [&] {
            notifyTexts(14, {mac, user, password});
        });
}

void DeviceManager::modifyTimeInfo(QStringList* qstrList) {
    static const char* const fn = "DeviceManager::modifyTimeInfo";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin <0", &c))
        return;
    const OZM::_SC_SETTIME_DATA_& t = c.templates().time;
    const int h = c.handle;
    auto time = zeroed<KvxTimeParam>();
    auto dst = zeroed<KvxDstProperty>();
    bool ok = false;
    if (!c.loggedIn) {
        // reported by openApplier
    } else if (!KVX_NET_GetTimeParam(h, time.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetTimeParam", c.ip);
    } else if (!KVX_NET_GetDstProperty(h, dst.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetDstProperty", c.ip);
    } else {
        dst->enable = t.summerTime;
        dst->startMonth = t.summerStartMonth;
        dst->startHour = t.summerStartHour;
        dst->startWeekday = t.summerStartWeekday;
        dst->startWeek = byte(t.summerStartWeek + 1);
        dst->endMonth = t.summerEndMonth;
        dst->endHour = t.summerEndHour;
        dst->endWeekday = t.summerEndWeekday;
        dst->endWeek = byte(t.summerEndWeek + 1);
        static const std::uint8_t offsets[] = {30, 60, 90};
        dst->offsetMinutes = t.summerOffset < 3 ? offsets[t.summerOffset] : 120;

        time->year = t.year;
        time->month = t.month;
        time->day = t.day;
        time->hour = t.hour;
        time->minute = t.minute;
        time->second = t.second;
        time->updateMethod = t.updateMethod == 0 ? 2 : t.updateMethod == 1 ? 0 : 1;
        time->timeZone = t.timeZone;
        time->nvrSync = t.syncNvr;
        // Bit 0: automatic synchronisation on; bits 2..7 and the next byte: the interval.
        const std::uint32_t interval = static_cast<std::uint32_t>(t.ntpInterval);
        time->ntpFlags =
            static_cast<std::uint8_t>((t.ntpAutoSync == 0 ? 1u : 0u) | ((interval & 0x3Fu) << 2));
        time->ntpInterval = static_cast<std::uint8_t>((interval >> 6) & 0xFFu);
        copyField(time->ntpServer, t.ntpServer);
        if (!KVX_NET_SetDstProperty(h, dst.get())) {
            logCallFailed(fn, __LINE__, "KVX_NET_SetDstProperty", c.ip);
        } else {
            ok = KVX_NET_SetTimeParam(h, time.get()) != 0;
            if (!ok)
                logCallFailed(fn, __LINE__, "KVX_NET_SetTimeParam", c.ip);
        }
    }
    finishFamily(qstrList->value(DeviceColumn::Mac), OZM::FamilyTime, ok, RowText::TimeSuccess,
                 RowText::TimeFailed);
}

void DeviceManager::modifyMaintain(QStringList* qstrList) {
    static const char* const fn = "DeviceManager::modifyMaintain";
    ApplierContext c;
    if (!openApplier(qstrList, fn, "hIPCLogin <0", &c))
        return;
    const OZM::_SC_SETRESTARTREGULARLY_DATA_& t = c.templates().maintain;
    auto rec = zeroed<KvxRebootExProperty>();
    bool ok = false;
    if (!c.loggedIn) {
        // reported by openApplier
    } else if (!KVX_NET_GetSystemRebootExProperty(c.handle, rec.get())) {
        logCallFailed(fn, __LINE__, "KVX_NET_GetSystemRebootExProperty", c.ip);
    } else {
        rec->enable = byte(t.enable);
        rec->period = byte(t.period);
        rec->day = byte(t.dayOfMonth);
        rec->hour = byte(t.hour);
        rec->minute = byte(t.minute);
        rec->spare = byte(t.spare);
        rec->weekday = byte(t.weekday);
        ok = KVX_NET_SetSystemRebootExProperty(c.handle, rec.get()) != 0;
        if (!ok)
            logCallFailed(fn, __LINE__, "KVX_NET_SetSystemRebootExProperty", c.ip);
    }
    finishFamily(qstrList->value(DeviceColumn::Mac), OZM::FamilyMaintain, ok, RowText::MaintainSuccess,
                 RowText::MaintainFailed);
}
