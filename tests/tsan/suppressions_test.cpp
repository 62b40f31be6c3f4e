// The ThreadSanitizer set-up (tests/tsan.supp, support/harness/TsanQtHandOver.cpp) hides what Qt does
// inside its queued hand-over, and nothing of our code that Qt calls: a race on a member between a
// worker thread and a GUI-thread slot is reported, data handed over through queued signals and calls
// is not.
#include "harness/QtApp.h"

#include <QByteArray>
#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

#include <string>

namespace {

struct ChildRun {
    int exitCode = -1;
    QByteArray errors;
};

ChildRun runChild(const char* mode) {
    harness::qtApp();
    QProcess child;
    child.setProgram(QDir::currentPath() + "/race_child");
    child.setArguments({mode});
    child.start();
    ChildRun run;
    if (!child.waitForStarted(10000) || !child.waitForFinished(120000)) {
        child.kill();
        child.waitForFinished(5000);
        return run;
    }
    run.errors = child.readAllStandardError();
    if (child.exitStatus() == QProcess::NormalExit) {
        run.exitCode = child.exitCode();
    }
    return run;
}

TEST(TsanSuppressions, RaceBetweenWorkerAndGuiSlotIsReported) {
    for (const char* slotRunBy : {"signal", "call"}) {
        const ChildRun run = runChild(slotRunBy);
        const std::string errors = run.errors.toStdString();
        EXPECT_NE(0, run.exitCode) << slotRunBy << "\n" << errors;
        EXPECT_TRUE(run.errors.contains("WARNING: ThreadSanitizer: data race")) << slotRunBy << "\n"
                                                                                << errors;
        EXPECT_TRUE(run.errors.contains("onTick") && run.errors.contains("race_child.cpp"))
            << slotRunBy << "\n"
            << errors;
    }
}

TEST(TsanSuppressions, QueuedHandOverIsNotReported) {
    const ChildRun run = runChild("handover");
    EXPECT_EQ(0, run.exitCode) << run.errors.toStdString();
    EXPECT_FALSE(run.errors.contains("ThreadSanitizer")) << run.errors.toStdString();
}

} // namespace
