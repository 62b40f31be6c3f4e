// Closes the windows that a run of the program opens and records what they showed: result tables
// are read, message boxes noted, all accepted; the busy indicator is left to its owner unless it
// stays up longer than stuckMs (then it is closed as its owner would and the run counts as stuck).
#pragma once

#include "ResultTables.h"
#include "harness/ModalCloser.h"

#include <QElapsedTimer>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;

namespace frametest {

// The decisions alone, for a test whose fixture owns the closer.
class RunRecorder {
public:
    explicit RunRecorder(int stuckMs = 20000) : _stuckMs(stuckMs) {}
    harness::ModalCloser::Action decide(QWidget* widget);

    std::vector<ShownTable> tables;
    QStringList tips;
    QStringList busyTexts;        // the busy indicator's texts in the order shown
    std::function<void()> onBusy; // at every look at the busy indicator
    bool stuck = false;
    // What is done to result tables and message boxes once recorded.
    harness::ModalCloser::Action close = harness::ModalCloser::Action::Accept;

private:
    int _stuckMs;
    QElapsedTimer _busy;
};

class RunCloser : public RunRecorder {
public:
    explicit RunCloser(int stuckMs = 20000);

private:
    harness::ModalCloser _closer;
};

} // namespace frametest
