// Runs the main window's operations as the buttons do and closes the modal windows they open:
// busy indicators stay until their work ends (or a limit passes), result tables and the upgrade
// window are read and closed, message boxes are recorded and accepted.
#pragma once

#include "ResultTables.h"
#include "harness/ModalCloser.h"

#include <QElapsedTimer>
#include <QList>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class MainFrame;

namespace line {

// What one result window showed (the upgrade window too, as "modifyupgradewidget").
using ShownTable = frametest::ShownTable;

class LineDriver {
public:
    // A busy indicator up longer than stuckMs of real time is closed and counts as stuck.
    explicit LineDriver(MainFrame& frame, int stuckMs = 120000);

    // Picks the loopback card, searches and waits until `count` rows say "Login Successful"
    // (frametest::searchAndLogin).
    bool search(int count, int timeoutMs);
    int loggedIn() const;
    void checkAll(bool on);
    // Status column text of every row, in table order.
    QStringList column(int col) const;

    // Runs one slot of the window as the named step; returns the tables it showed (the call
    // returns when the slot's modal windows have closed). A step still running stuckMs + 60 s
    // after its start ends the process with the watchdog's report.
    std::vector<ShownTable> run(const std::string& step, const std::function<void()>& slot);
    // Handles a dialog the driver does not know: return true when it was dealt with.
    void setExtra(std::function<bool(QWidget*, harness::ModalCloser::Action*)> extra) {
        _extra = std::move(extra);
    }

    QStringList tips() const { return _tips; }
    bool stuck() const { return _stuck; }
    // The longest time (ms of real time) a busy indicator stayed open in the last run.
    qint64 longestBusyMs() const { return _longestBusy; }

private:
    harness::ModalCloser::Action decide(QWidget* widget);

    MainFrame& _frame;
    int _stuckMs;
    harness::ModalCloser _closer;
    std::function<bool(QWidget*, harness::ModalCloser::Action*)> _extra;
    std::vector<ShownTable> _tables;
    QStringList _tips;
    QElapsedTimer _busy;
    qint64 _longestBusy = 0;
    bool _stuck = false;
};

} // namespace line
