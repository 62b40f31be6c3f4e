#include "ParamDialogTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

namespace paramtest {

QString storeFolder() {
    static QTemporaryDir* const dir = [] {
        auto* d = new QTemporaryDir;
        qputenv("CORVANE_CONFIG_DIR", d->path().toUtf8());
        return d;
    }();
    return dir->path();
}

QStringList messagesOf(const std::function<void()>& call) {
    harness::ModalCloser closer(harness::ModalCloser::Action::Accept);
    call();
    QStringList texts;
    for (const harness::SeenDialog& seen : closer.seen()) {
        if (seen.className == "TipDialog" && !seen.labels.isEmpty())
            texts << seen.labels.last();
    }
    return texts;
}

OZM::_SC_TCP_IP_DATA validTcpIp() {
    OZM::_SC_TCP_IP_DATA r{};
    setField(r.ip, "127.0.0.20");
    setField(r.mask, "255.0.0.0");
    setField(r.gateway, "127.0.0.1");
    setField(r.dns, "127.0.0.53");
    r.fullNetcom = 1;
    return r;
}

OZM::_SC_PORT_DATA validPort() {
    return {8080, 8554, 8443, 8999, 1};
}

OZM::_SC_DDNS_DATA validDdns() {
    OZM::_SC_DDNS_DATA r{};
    r.enable = 1;
    r.provider = 2;
    setField(r.domain, "camera.example");
    setField(r.user, "operator");
    setField(r.password, "Secret42");
    setField(r.passwordConfirm, "Secret42");
    return r;
}

OZM::_SC_GB28181_DATA validGb() {
    OZM::_SC_GB28181_DATA r{};
    r.enable = 1;
    r.localSipPort = 5060;
    setField(r.sipServerId, "34020000002000000001");
    setField(r.sipServerDomain, "3402000000");
    setField(r.sipServerAddress, "127.0.0.9");
    r.sipServerPort = 15060;
    setField(r.user, "34020000001320000001");
    setField(r.authId, "34020000001320000002");
    setField(r.password, "gbpass");
    setField(r.passwordConfirm, "gbpass");
    r.registerValidity = 3600;
    r.status = 1;
    r.heartbeatPeriod = 60;
    r.stream = 1;
    r.transport = 1;
    r.registerInterval = 60;
    r.maxHeartbeatTimeouts = 3;
    setField(r.alarmId, "34020000001340000001");
    return r;
}

void storeValidNetworkRecords() {
    ParamsMgr* store = ozmParamsMgr();
    const auto tcp = validTcpIp();
    const auto port = validPort();
    const auto ddns = validDdns();
    const auto gb = validGb();
    const OZM::SC_OTHERPARAMENABLE flags{};
    store->setTcpIpInfo(&tcp);
    store->setPortParamInfo(&port);
    store->setDDNSInfo(&ddns);
    store->setGb28181Info(&gb);
    store->setP2pInfo(0);
    store->setOtherParamEnable(&flags);
}

void ParamDialogTest::SetUpTestSuite() {
    storeFolder();
    ozmParamsMgr();
}

void ParamDialogTest::SetUp() {
    harness::QtTest::SetUp();
    ASSERT_EQ(QDir(storeFolder()).absolutePath(),
              QDir(QFileInfo(ozmParamsMgr()->filePath()).path()).absolutePath());
    storeValidNetworkRecords();
}

} // namespace paramtest
