// Page 0, TCP/IP: the DHCP switch, address, mask, gateway, full netcom and DNS server, loaded
// from and saved into the TCP/IP record; and the "Test" of whether the address is free, whose
// ping runs on a thread of its own and is stopped through a flag. Texts are translated in the
// dialog's context.
#pragma once

#include "ParamPageKit.h"

#include <QCoreApplication>
#include <QObject>

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

class ProgressBarDialog;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

class TcpIpPage : public QObject {
    Q_DECLARE_TR_FUNCTIONS(OtherParamConfigDlg)

public:
    // Builds the widgets into content (the ones the dialog parents, with dialog as parent);
    // dialog owns the page.
    TcpIpPage(QWidget* dialog, QWidget* content);
    ~TcpIpPage() override;

    QCheckBox* dhcpCheck() const { return _dhcpCheck; }
    QPushButton* testButton() const { return _testBtn; }

    // Record to widgets, the fields enabled as the DHCP switch says.
    void load();
    // The address fields enabled and "Test" shown, or all disabled and "Test" hidden.
    void setFieldsEnabled(bool enabled);
    // The first failed check of the save, in order; none when the record may be stored.
    std::optional<pagekit::Refusal> check() const;
    // Widgets to a fresh record, stored.
    void save() const;

    // Tests the address field's text: at once when it is no address, else by a ping on its own
    // thread; the verdict comes as a message box. Ignored while a test runs.
    void startAddressTest();
    // Stops a running test and waits for its thread; closes the busy dialog.
    void abortAddressTest();

private:
    void onAddressTestDone(unsigned run, int outcome); // outcome: a PingHelper::Outcome
    void finishAddressTest(const QString& message);

    QCheckBox* _dhcpCheck = nullptr;
    QLineEdit* _ipEdit = nullptr;
    QPushButton* _testBtn = nullptr;
    QLineEdit* _maskEdit = nullptr;
    QLineEdit* _gatewayEdit = nullptr;
    QComboBox* _fullNetcomCombo = nullptr;
    QLineEdit* _dnsEdit = nullptr;
    // The running address test: the ping on a thread of its own, stopped through the flag.
    std::unique_ptr<ProgressBarDialog> _testBusy;
    std::thread _pingThread;
    std::atomic<bool> _pingCancel{false};
    unsigned _pingRun = 0; // tells a late verdict of an ended test from the current one

    friend class OtherParamConfigDlgTestAccess;
};
