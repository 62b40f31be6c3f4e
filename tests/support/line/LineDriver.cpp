#include "LineDriver.h"

#include "Cmodifytableview.h"
#include "Cmodifyupgradeview.h"
#include "CShowtableviewEx.h"
#include "CmodifyresultmodelEx.h"
#include "Cmodifyresultmodel.h"
#include "MainFrame.h"
#include "ProgressBarDialog.h"
#include "ShowResultDialog.h"
#include "ShowResultDlgEx.h"
#include "TipDialog.h"
#include "modifyupgradewidget.h"

#include "SearchLogin.h"
#include "harness/QtApp.h"
#include "harness/Watchdog.h"
#include "tarsel/CTableView.h"

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>

namespace line {

namespace {

ShownTable readUpgrade(const modifyupgradewidget& window) {
    const Cmodifyupgradeview* view = window.view();
    ShownTable shown;
    shown.className = QStringLiteral("modifyupgradewidget");
    for (int c = 0; c < 3; ++c)
        shown.headers << view->resultModel()->headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < view->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < 3; ++c)
            row << view->getData(r, c).toString();
        shown.rows << row;
    }
    shown.devices = window.modifyNumberText();
    shown.failed = window.failedNumberText();
    return shown;
}

bool upgradeEnded(const QString& progress) {
    return progress == QLatin1String("100") || progress == QLatin1String("0");
}

} // namespace

LineDriver::LineDriver(MainFrame& frame, int stuckMs)
    : _frame(frame), _stuckMs(stuckMs), _closer(harness::ModalCloser::Action::Reject) {
    _closer.setDecider([this](QWidget* widget) { return decide(widget); });
    // Busy indicators stay up to stuckMs; the upgrade window until every device has ended.
    _closer.setLimits(stuckMs + 30000, 10000);
}

bool LineDriver::search(int count, int timeoutMs) {
    return frametest::searchAndLogin(_frame, count, 0, timeoutMs);
}

int LineDriver::loggedIn() const {
    return column(CTableView::ColStatus).count(QStringLiteral("Login Successful"));
}

void LineDriver::checkAll(bool on) {
    _frame.deviceTable()->setIsCheckAll(on);
}

QStringList LineDriver::column(int col) const {
    QStringList out;
    const CTableView* table = _frame.deviceTable();
    for (int r = 0; r < table->rowCount(); ++r)
        out << table->getData(r, col).toString();
    return out;
}

std::vector<ShownTable> LineDriver::run(const std::string& step, const std::function<void()>& slot) {
    const harness::Step named(step);
    const harness::Deadline limit("the step \"" + step + "\" to end", _stuckMs + 60000);
    _tables.clear();
    _longestBusy = 0;
    _busy.invalidate();
    slot();
    // A window still open when the slot returned (none should be) is handled before the next run.
    harness::waitFor([] { return harness::ModalCloser::findModal() == nullptr; }, 2000);
    return _tables;
}

harness::ModalCloser::Action LineDriver::decide(QWidget* widget) {
    using Action = harness::ModalCloser::Action;
    if (qobject_cast<ProgressBarDialog*>(widget)) {
        if (!_busy.isValid())
            _busy.start();
        _longestBusy = std::max(_longestBusy, _busy.elapsed());
        if (_busy.elapsed() > _stuckMs) {
            _stuck = true;
            _busy.invalidate();
            return Action::Close; // as its owner would: the operator cannot
        }
        return Action::Leave;
    }
    _busy.invalidate();
    Action action = Action::Reject;
    if (_extra && _extra(widget, &action))
        return action;
    if (auto* tip = qobject_cast<TipDialog*>(widget)) {
        _tips << tip->textLabel->text();
        return Action::Accept;
    }
    if (auto* dialog = qobject_cast<ShowResultDialog*>(widget)) {
        _tables.push_back(frametest::readTable(*dialog));
        return Action::Reject;
    }
    if (auto* dialog = qobject_cast<ShowResultDlgEx*>(widget)) {
        _tables.push_back(frametest::readTable(*dialog));
        return Action::Reject;
    }
    if (auto* window = qobject_cast<modifyupgradewidget*>(widget)) {
        // Closed once every checked device has reached an end state.
        const Cmodifyupgradeview* view = window->view();
        if (view->rowCount() < _frame.checkedRows().size())
            return Action::Leave;
        for (int r = 0; r < view->rowCount(); ++r) {
            if (!upgradeEnded(view->getData(r, 1).toString()))
                return Action::Leave;
        }
        _tables.push_back(readUpgrade(*window));
        return Action::Close;
    }
    if (auto* box = qobject_cast<QMessageBox*>(widget)) {
        _tips << box->text();
        return Action::Accept;
    }
    return Action::Reject;
}

} // namespace line
