#include "RunCloser.h"

#include "ProgressBarDialog.h"
#include "ShowResultDialog.h"
#include "ShowResultDlgEx.h"
#include "TipDialog.h"

#include <QLabel>

namespace frametest {

harness::ModalCloser::Action RunRecorder::decide(QWidget* widget) {
    if (auto* progress = qobject_cast<ProgressBarDialog*>(widget)) {
        const QString shown = progress->titleLabel->text();
        if (busyTexts.isEmpty() || busyTexts.last() != shown)
            busyTexts << shown;
        if (onBusy) {
            // A copy: the call may set another.
            const std::function<void()> call = onBusy;
            call();
        }
        if (!_busy.isValid())
            _busy.start();
        if (_busy.elapsed() > _stuckMs) {
            stuck = true;
            _busy.invalidate();
            return harness::ModalCloser::Action::Close;
        }
        return harness::ModalCloser::Action::Leave;
    }
    _busy.invalidate();
    if (auto* tip = qobject_cast<TipDialog*>(widget))
        tips << tip->textLabel->text();
    if (auto* dialog = qobject_cast<ShowResultDialog*>(widget))
        tables.push_back(readTable(*dialog));
    if (auto* dialog = qobject_cast<ShowResultDlgEx*>(widget))
        tables.push_back(readTable(*dialog));
    return close;
}

RunCloser::RunCloser(int stuckMs) : RunRecorder(stuckMs), _closer(harness::ModalCloser::Action::Accept, 3) {
    _closer.setDecider([this](QWidget* widget) { return decide(widget); });
}

} // namespace frametest
