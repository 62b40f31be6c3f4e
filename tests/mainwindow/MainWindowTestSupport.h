// Fixture for the main-window tests: the application and framework, a temporary folder per
// test standing in for the program folder (ProgramFolderTest), and a closer that records and
// closes modal dialogs.
#pragma once

#include "MainFrame.h"

#include "harness/ProgramFolderTest.h"
#include "harness/ModalCloser.h"
#include "ozmlogic/OzmLogic.h"
#include "ozmlogic/ParamsMgr.h"
#include "tarsel/CTableView.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

namespace mwtest {

// Adds a device table row of a camera with the web port 80, the stream port 554 and admin/123456.
inline void addRow(MainFrame& frame, const QString& ip, const QString& mac,
                   const QString& serial = "SN0001") {
    QStringList row;
    for (int i = 0; i < CTableView::ColumnCount; ++i)
        row << QString();
    row[1] = ip;
    row[7] = serial;
    row[8] = mac;
    row[12] = "80";
    row[13] = "554";
    row[17] = "admin";
    row[18] = "123456";
    frame.deviceTable()->addRow(row);
}

class MainWindowTest : public harness::ProgramFolderTest {
protected:
    void SetUp() override {
        harness::ProgramFolderTest::SetUp();
        if (HasFatalFailure())
            return;
        // The store outlives a test; each test starts in the source language.
        ozmParamsMgr()->setCurrentLanCode("en_US");
        ASSERT_TRUE(OzmLogic::instance()->init(harness::qtApp()));
        _closer = std::make_unique<harness::ModalCloser>(harness::ModalCloser::Action::Reject);
    }
    void TearDown() override {
        _closer.reset();
        harness::ProgramFolderTest::TearDown();
    }

    QString dir() const { return folder().path(); }
    // The closer of this test (Reject unless a test gives it a decider).
    harness::ModalCloser& closer() { return *_closer; }
    const std::vector<harness::SeenDialog>& modals() const { return _closer->seen(); }
    // The message of each modal message box, in order.
    QStringList modalTexts() const {
        QStringList texts;
        for (const harness::SeenDialog& seen : modals()) {
            if (seen.className == "TipDialog" && !seen.labels.isEmpty())
                texts << seen.labels.last();
        }
        return texts;
    }
    // The first label text (the title) of each modal dialog, in order.
    QStringList modalTitles() const {
        QStringList titles;
        for (const harness::SeenDialog& seen : modals())
            titles << seen.labels.value(0);
        return titles;
    }

private:
    std::unique_ptr<harness::ModalCloser> _closer;
};

} // namespace mwtest
