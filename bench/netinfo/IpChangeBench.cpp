// IP change ("Modify IP Start Address") of a simulated fleet: the time from the button to the
// result table, for N/4 and N cameras. Pings go to the stand-in ping next to this program.
// Usage: bench_ip_change [CAMERAS] [SCALE]
#include "MainFrame.h"
#include "BenchFleet.h"
#include "Cmodifytableview.h"
#include "ShowResultDialog.h"
#include "camsim/SimControl.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"
#include "winport/WinPort.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

void waitUntil(const std::function<bool()>& done, const char* what) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (clock.elapsed() > 300000) {
            std::fprintf(stderr, "timed out waiting for %s\n", what);
            std::exit(1);
        }
    }
}

QPushButton* buttonOf(MainFrame& frame, const QString& text) {
    for (QPushButton* b : frame.findChildren<QPushButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

// Milliseconds from the click on "Modify" (the IP one) to the result table, and its rows.
double ipChangeMs(int count, const char* start, int* rows) {
    camsim::useFleet(camsim::defaultFleet(count));
    MainFrame frame;
    auto* box = frame.findChild<QComboBox*>("networkCardTypeBox");
    box->setCurrentIndex(box->findText("[127.0.0.1]", Qt::MatchContains));
    buttonOf(frame, "Device Search")->click();
    CTableView* table = frame.deviceTable();
    waitUntil(
        [&] {
            if (table->rowCount() < count)
                return false;
            for (int r = 0; r < count; ++r) {
                if (table->getData(r, CTableView::ColStatus).toString() != "Login Successful")
                    return false;
            }
            return true;
        },
        "the logins");
    table->setIsCheckAll(true);
    OZM::_SC_SETIP_DATA_ info;
    std::memset(&info, 0, sizeof info);
    info.mode = 1;
    std::strcpy(info.ip, start);
    std::strcpy(info.mask, "255.0.0.0");
    std::strcpy(info.gateway, "127.0.0.1");
    ozmParamsMgr()->setIpInfo(&info);

    QElapsedTimer clock;
    double tableMs = -1;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* shown = qobject_cast<ShowResultDialog*>(QApplication::activeModalWidget())) {
            tableMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            *rows = shown->table()->rowCount();
            shown->reject();
        }
    });
    poll.start();
    clock.start();
    QPushButton* modify = nullptr;
    for (QPushButton* b : frame.findChildren<QPushButton*>()) {
        if (b->text() == "Modify") {
            modify = b; // the IP row's button comes first
            break;
        }
    }
    modify->click(); // returns when the busy indicator has closed
    waitUntil([&] { return tableMs >= 0; }, "the result table");
    frame.close();
    return tableMs;
}

} // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir dir;
    qputenv("CORVANE_CONFIG_DIR", dir.path().toUtf8());
    qputenv("CORVANE_PROGRAM_DIR", dir.path().toUtf8());
    qputenv("CORVANE_LOG_DIR", dir.path().toUtf8());
    qputenv("CORVANE_FIXTURE_HOST", "127.0.0.1"); // never the fixture's default network address
    qputenv("CORVANE_FIXTURE_PORT", "1");
    QApplication app(argc, argv);
    benchfleet::useSimPing();
    const int large = argc > 1 ? std::atoi(argv[1]) : 1000;
    const double scale = argc > 2 ? std::atof(argv[2]) : 0.01;
    winport::setTimeScale(scale);
    if (!OzmLogic::instance()->init(&app))
        return 1;
    camsim::setCallRecording(false); // the stand-in would keep every call's bytes
    int smallRows = 0, largeRows = 0;
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    const double smallMs = ipChangeMs(large / 4, "127.1.0.1", &smallRows);
    const double childCpu0 = benchfleet::childCpuSeconds();
    const double largeMs = ipChangeMs(large, "127.2.0.1", &largeRows);
    const double largePingCpu = benchfleet::childCpuSeconds() - childCpu0;
    std::printf(
        "IP change, button to result table at scale %.3g: %d cameras %.0f ms (%d rows), %d cameras %.0f ms "
        "(%d rows), ratio %.2f (linear growth: 4.00)\n",
        scale, large / 4, smallMs, smallRows, large, largeMs, largeRows, largeMs / smallMs);
    // The address probes are processes of their own, one after the other.
    std::printf("ping processes of the %d-camera run: %.2f s CPU; load before the runs %.2f\n", large,
                largePingCpu, load[0]);
    return 0;
}
