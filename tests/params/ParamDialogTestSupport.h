// Fixture for the parameter dialog tests: one store folder for the whole process (the store is
// a process singleton), the dialog's widgets reached through a friend, and the message boxes
// that a call shows, closed and collected.
#pragma once

#include "Gb28181Page.h"
#include "OtherParamConfigDlg.h"
#include "ProgressBarDialog.h"
#include "TcpIpPage.h"
#include "harness/ModalCloser.h"
#include "harness/QtApp.h"
#include "ozmlogic/ParamsMgr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

class OtherParamConfigDlgTestAccess {
public:
    using D = OtherParamConfigDlg;
    static MultiTreeWidget* tree(D& d) { return d._treeWidget; }
    static QStackedLayout* stack(D& d) { return d._stackedLayout; }
    static QFrame* frame(D& d, int i) { return d._pageFrame[i]; }
    static QCheckBox* enable(D& d, int i) { return d._enableCheck[i]; }
    static QPushButton* saveButton(D& d) { return d._saveBtn; }

    static QCheckBox* dhcp(D& d) { return d._tcpIpPage->_dhcpCheck; }
    static QLineEdit* ip(D& d) { return d._tcpIpPage->_ipEdit; }
    static QLineEdit* mask(D& d) { return d._tcpIpPage->_maskEdit; }
    static QLineEdit* gateway(D& d) { return d._tcpIpPage->_gatewayEdit; }
    static QLineEdit* dns(D& d) { return d._tcpIpPage->_dnsEdit; }
    static QComboBox* fullNetcom(D& d) { return d._tcpIpPage->_fullNetcomCombo; }
    static QPushButton* testButton(D& d) { return d._tcpIpPage->_testBtn; }
    static bool testRunning(D& d) { return d._tcpIpPage->_pingThread.joinable(); }
    static QWidget* testBusy(D& d) { return d._tcpIpPage->_testBusy.get(); }

    static QLineEdit* http(D& d) { return d._httpPortEdit; }
    static QLineEdit* rtsp(D& d) { return d._rtspPortEdit; }
    static QLineEdit* https(D& d) { return d._httpsPortEdit; }
    static QLineEdit* onvif(D& d) { return d._onvifPortEdit; }
    static QCheckBox* onvifEnable(D& d) { return d._onvifCheck; }

    static QCheckBox* ddns(D& d) { return d._ddnsCheck; }
    static QComboBox* ddnsType(D& d) { return d._ddnsTypeCombo; }
    static QLineEdit* domain(D& d) { return d._domainEdit; }
    static QLineEdit* ddnsUser(D& d) { return d._ddnsUserEdit; }
    static QLineEdit* ddnsPassword(D& d) { return d._ddnsPasswordEdit; }
    static QLineEdit* ddnsConfirm(D& d) { return d._ddnsConfirmEdit; }
    static QPushButton* applyLink(D& d) { return d._applyLinkBtn; }
    static QPushButton* helpLink(D& d) { return d._helpLinkBtn; }

    static QCheckBox* p2p(D& d) { return d._p2pCheck; }

    static QCheckBox* gbEnable(D& d) { return d._gb28181Page->_gbEnableCheck; }
    static QComboBox* gbStatus(D& d) { return d._gb28181Page->_gbStatusCombo; }
    static QComboBox* gbStream(D& d) { return d._gb28181Page->_gbStreamCombo; }
    static QComboBox* gbTransport(D& d) { return d._gb28181Page->_gbTransportCombo; }
    // The GB28181 editors in the order of the save's checks: local port, server ID, domain,
    // server port, user, auth ID, valid period, heartbeat, interval, time-outs, alarm ID,
    // password, confirmation; then the server address.
    static std::vector<QLineEdit*> gbEdits(D& d) {
        const Gb28181Page& p = *d._gb28181Page;
        return {p._gbLocalPortEdit, p._gbServerIdEdit,     p._gbServerDomainEdit, p._gbServerPortEdit,
                p._gbUserEdit,      p._gbAuthIdEdit,       p._gbValidPeriodEdit,  p._gbHeartbeatEdit,
                p._gbIntervalEdit,  p._gbTimeoutsEdit,     p._gbAlarmIdEdit,      p._gbPasswordEdit,
                p._gbConfirmEdit,   p._gbServerAddressEdit};
    }
    // Hints in the same order (no hint for the server address).
    static std::vector<QWidget*> gbHints(D& d) {
        using H = Gb28181Page;
        QWidget* const* hint = d._gb28181Page->_gbHint;
        return {hint[H::HintLocalPort],   hint[H::HintServerId],  hint[H::HintServerDomain],
                hint[H::HintServerPort],  hint[H::HintUser],      hint[H::HintAuthId],
                hint[H::HintValidPeriod], hint[H::HintHeartbeat], hint[H::HintInterval],
                hint[H::HintTimeouts],    hint[H::HintAlarmId],   hint[H::HintPassword],
                hint[H::HintConfirm]};
    }

    static bool saveTcpIp(D& d) { return d.saveTcpIpInfo(); }
    static bool savePort(D& d) { return d.savePortParamInfo(); }
    static bool saveDdns(D& d) { return d.saveDDNSInfo(); }
    static bool saveGb(D& d) { return d.saveGb28181Info(); }
    static void saveP2p(D& d) { d.saveP2PInfo(); }
};

namespace paramtest {

using A = OtherParamConfigDlgTestAccess;

// The store's folder, fixed for the process before the store is first used.
QString storeFolder();

// Runs call with a closer that accepts every modal dialog; returns the message of each message
// box shown, in order.
QStringList messagesOf(const std::function<void()>& call);

template <typename T> bool sameBytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// A record as a fresh store reads it from storeFolder().
template <typename T> T freshRecord(void (ParamsMgr::*get)(T*) const) {
    T r{};
    (ParamsMgr(storeFolder()).*get)(&r);
    return r;
}

// Fills a text field to its last byte (no terminating zero inside the field).
template <std::size_t N> void fillField(char (&field)[N], char c) {
    std::memset(field, c, N);
}
template <std::size_t N> void setField(char (&field)[N], const char* text) {
    std::memset(field, 0, N);
    std::strncpy(field, text, N - 1);
}

// A valid value for every record of the network pages (all saves pass with them).
OZM::_SC_TCP_IP_DATA validTcpIp();
OZM::_SC_PORT_DATA validPort();
OZM::_SC_DDNS_DATA validDdns();
OZM::_SC_GB28181_DATA validGb();
// Stores the valid records, P2P 0 and every flag 0.
void storeValidNetworkRecords();

class ParamDialogTest : public harness::QtTest {
protected:
    static void SetUpTestSuite();
    void SetUp() override;

    std::unique_ptr<OtherParamConfigDlg> open() { return std::make_unique<OtherParamConfigDlg>(); }
};

} // namespace paramtest
