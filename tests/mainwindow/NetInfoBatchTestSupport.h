// The network-information batches' tests against the simulated fleet with the stand-in ping:
// access to the window's batch state, the fixture (search, check, status texts, sent requests)
// and the byte helpers.
#pragma once

#include <cstdio>

#include "DeviceManager.h"
#include "MainFrame.h"
#include "NetInfoBatch.h"
#include "FleetTest.h"
#include "LongLimits.h"
#include "ProgressBarDialog.h"
#include "ResultTables.h"
#include "SearchLogin.h"
#include "ShowResultDialog.h"

#include "camsim/SimControl.h"
#include "harness/LogCapture.h"
#include "ozmlogic/ParamsMgr.h"
#include "quillet/Quillet.h"
#include "tarsel/CTableView.h"
#include "winport/WinPort.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <thread>

class MainFrameTestAccess {
public:
    // The button named `which`; the search button for any other name.
    static QPushButton* button(MainFrame& f, const std::string& which) {
        const std::map<std::string, QPushButton* MainFrame::*> buttons = {
            {"modifyIp", &MainFrame::_modifyIpBtn},           {"openDhcp", &MainFrame::_openDhcpBtn},
            {"closeDhcp", &MainFrame::_closeDhcpBtn},         {"openNetcom", &MainFrame::_openFullNetcomBtn},
            {"closeNetcom", &MainFrame::_closeFullNetcomBtn}, {"reboot", &MainFrame::_rebootBtn},
            {"simple", &MainFrame::_simpleRecoveryBtn},       {"full", &MainFrame::_fullRecoveryBtn}};
        const auto it = buttons.find(which);
        return f.*(it == buttons.end() ? &MainFrame::_searchBtn : it->second);
    }
    static std::vector<NetInfoResultInfo> netInfo(MainFrame& f) { return f._netBatch->records(); }
    static std::vector<DeviceResultInfo> reboots(MainFrame& f) {
        std::lock_guard<std::mutex> lock(f._pendingMutex);
        return f._rebootList;
    }
    static void setNetInfo(MainFrame& f, std::vector<NetInfoResultInfo> list) {
        f._netBatch->withRecords([&](PendingList<NetInfoResultInfo>& records) { records = std::move(list); });
    }
    static void setReboots(MainFrame& f, std::vector<DeviceResultInfo> list) {
        std::lock_guard<std::mutex> lock(f._pendingMutex);
        f._rebootList = std::move(list);
    }
    static void open(MainFrame& f, int kind, std::uint64_t start) {
        f._openKind = kind;
        f._batchStartTick = start;
    }
    static void sweep(MainFrame& f, int kind, int n, std::uint64_t now) { f.sweep(kind, n, now); }
    static bool batchRunning(MainFrame& f) { return f._netBatch->started(); }
};

namespace netinfotest {

using Access = MainFrameTestAccess;

inline OZM::_SC_SETIP_DATA_ ipRecord(std::uint32_t mode, const char* ip, const char* mask = "255.0.0.0",
                                     const char* gateway = "127.0.0.1") {
    OZM::_SC_SETIP_DATA_ info;
    std::memset(&info, 0, sizeof info);
    info.mode = mode;
    std::snprintf(info.ip, sizeof info.ip, "%s", ip);
    std::snprintf(info.mask, sizeof info.mask, "%s", mask);
    std::snprintf(info.gateway, sizeof info.gateway, "%s", gateway);
    return info;
}

inline std::string text(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t width) {
    std::string out;
    for (std::size_t i = offset; i < offset + width && i < bytes.size() && bytes[i]; ++i)
        out += static_cast<char>(bytes[i]);
    return out;
}

inline std::uint32_t u32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

class NetInfoBatchTest : public mwtest::FleetTest {
protected:
    void SetUp() override {
        mwtest::FleetTest::SetUp();
        if (HasFatalFailure())
            return;
        const QByteArray simPing = qgetenv("CORVANE_BIN_DIR") + "/simping";
        _path = qgetenv("PATH");
        qputenv("PATH", simPing + ":" + _path);
        // Nothing may be pinged but through the stand-in.
        ASSERT_EQ(QStandardPaths::findExecutable("ping"), QString(simPing + "/ping"));
        closer().setDecider([this](QWidget* w) {
            if (qobject_cast<ProgressBarDialog*>(w)) {
                // Taken first: the closer polls again while the action runs the event loop.
                const std::function<void()> action = std::move(onBusy);
                onBusy = nullptr;
                if (action)
                    action();
                return harness::ModalCloser::Action::Leave;
            }
            if (auto* table = qobject_cast<ShowResultDialog*>(w))
                tables.push_back(frametest::readTable(*table));
            return harness::ModalCloser::Action::Reject;
        });
    }
    void TearDown() override {
        qunsetenv("CORVANE_SIM_PING_UP");
        qunsetenv("CORVANE_SIM_PING_UNROUTABLE");
        qunsetenv("CORVANE_SIM_PING_LOG");
        if (!_path.isNull()) // SetUp got that far
            qputenv("PATH", _path);
        mwtest::FleetTest::TearDown();
    }

    // Searches the loopback card, waits for every login (but refused ones: "Login Failed") and
    // checks every row. Call it as ASSERT_NO_FATAL_FAILURE(searchAndCheckAll(...)).
    static void searchAndCheckAll(MainFrame& frame, int count, int refused = 0) {
        ASSERT_TRUE(frametest::searchAndLogin(frame, count - refused, refused));
        frame.deviceTable()->setIsCheckAll(true);
        ASSERT_EQ(frame.checkedRows().size(), count);
    }
    // An empty log of the stand-in ping's arguments in the test's folder, which outlives every
    // ping of the test.
    QString usePingLog() const {
        const QString log = dir() + "/pings.log";
        QFile::remove(log);
        qputenv("CORVANE_SIM_PING_LOG", log.toUtf8());
        return log;
    }
    static QString status(MainFrame& frame, int row) {
        return frame.deviceTable()->getData(row, CTableView::ColStatus).toString();
    }
    static std::vector<std::string> sentNewIps() {
        std::vector<std::string> ips;
        for (const camsim::CallRecord& call : camsim::calls("KVX_NET_ModifyNetInfo"))
            ips.push_back(text(call.in, 92, 16));
        return ips;
    }

    std::function<void()> onBusy;
    std::vector<frametest::ShownTable> tables;

private:
    QByteArray _path;
};

} // namespace netinfotest
