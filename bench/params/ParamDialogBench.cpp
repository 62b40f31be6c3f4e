// Time from the request to open the parameter dialog (construction with every page built and
// loaded, then show) to its first paint, median of N runs, against an empty OzmDialog.
// Usage: params_dialog_bench [RUNS]   (store in a temporary folder; QT_QPA_PLATFORM as set)
#include "OtherParamConfigDlg.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/OzmDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

class FirstPaint : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

double timeToFirstPaintMs(const std::function<std::unique_ptr<QDialog>()>& make) {
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QDialog> dialog = make();
    FirstPaint probe;
    dialog->installEventFilter(&probe);
    dialog->show();
    while (!probe.painted && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    dialog->removeEventFilter(&probe);
    return ms;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir store;
    qputenv("CORVANE_CONFIG_DIR", store.path().toUtf8());
    QApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? std::atoi(argv[1]) : 10);
    ozmParamsMgr();

    std::vector<double> empty, full;
    for (int i = 0; i < runs; ++i) {
        empty.push_back(timeToFirstPaintMs([] { return std::make_unique<OzmDialog>(); }));
        full.push_back(timeToFirstPaintMs([] {
            auto dialog = std::make_unique<OtherParamConfigDlg>();
            dialog->setTitleText(QObject::tr("Other Settings"));
            return dialog;
        }));
    }
    std::printf("empty OzmDialog:       median %.1f ms over %d runs\n", median(empty), runs);
    std::printf("OtherParamConfigDlg:   median %.1f ms over %d runs\n", median(full), runs);
    return 0;
}
