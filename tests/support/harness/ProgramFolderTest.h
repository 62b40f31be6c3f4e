// The set-up the window tests share: the application, and a temporary working folder per test
// that stands in for the program folder; optionally the stand-in ping first on PATH.
#pragma once

#include "harness/QtApp.h"
#include "harness/TestDir.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace harness {

class ProgramFolderTest : public harness::QtTest {
protected:
    void SetUp() override {
        harness::QtTest::SetUp();
        _folder = std::make_unique<harness::TestDir>();
        ASSERT_TRUE(_folder->enter());
        _folder->setEnv("CORVANE_PROGRAM_DIR", _folder->path().toUtf8());
    }
    void TearDown() override {
        _folder.reset();
        harness::QtTest::TearDown();
    }

    harness::TestDir& folder() { return *_folder; }
    const harness::TestDir& folder() const { return *_folder; }
    // The build's stand-in ping first on PATH; returns where it is.
    QString putStandInPingFirst() {
        const QByteArray simPing = qgetenv("CORVANE_BIN_DIR") + "/simping";
        _folder->setEnv("PATH", simPing + ":" + qgetenv("PATH"));
        return QString::fromUtf8(simPing + "/ping");
    }

private:
    std::unique_ptr<harness::TestDir> _folder;
};

} // namespace harness
