// A walk through every window of Corvane: the main window against the simulated fleet and a fake
// fixture, through a search, the batches of every button, every dialog, result table, preview and
// parameter page they open; a visitor sees each window once it is shown.
#pragma once

#include "harness/ProgramFolderTest.h"
#include "ozmlogic/ParamsMgr.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class QWidget;

namespace mwtest {

// Called for each visible top-level window (and each parameter page) once it is shown, with a
// description of where the tour is. The window stays open until the visitor returns.
using TourVisitor = std::function<void(QWidget* window, const QString& where)>;

class WindowTour {
public:
    // Success: every button's batch on cameras and a fixture that answer. Failure: the paths
    // that go wrong: a refused login, a time sync and a ten-times zoom that get no answer, a
    // refused reboot and a camera that does not log in again after its reboot, refused network
    // changes, a camera without login after an IP change, the fixture's "NOGET" and both test
    // time-outs, an upgrade without package and one whose package is missing.
    enum class Paths { Success, Failure };

    explicit WindowTour(TourVisitor visitor);
    ~WindowTour();

    // Runs the whole tour in the language code ("zh_CN", "en_US"), which takes effect through the
    // framework as at a start. Needs the test's application, a working folder that stands in for
    // the program folder (CORVANE_PROGRAM_DIR) and the stand-in ping first on PATH. False when a
    // step could not be completed; error() says which.
    bool run(const QString& language, Paths paths = Paths::Success);
    QString error() const;
    // The where of every visit, in order.
    QStringList visits() const;

    WindowTour(const WindowTour&) = delete;
    WindowTour& operator=(const WindowTour&) = delete;

private:
    class Walker;
    std::unique_ptr<Walker> _walker;
};

// A test that runs the tour: its own working folder as the program folder, the stand-in ping first
// on PATH, and the source language again afterwards. The tour closes the windows itself: no other
// closer may run beside it.
class TourTest : public harness::ProgramFolderTest {
protected:
    void SetUp() override {
        harness::ProgramFolderTest::SetUp();
        if (HasFatalFailure())
            return;
        putStandInPingFirst();
    }
    void TearDown() override {
        ozmParamsMgr()->setCurrentLanCode("en_US");
        harness::ProgramFolderTest::TearDown();
    }
};

} // namespace mwtest
