// tools/run's simulated line: the fixture results it writes (tools/demo-fixture-results), read
// as fixture-sim reads them, against the fleet Corvane starts with. The README promises that
// cameras 1 to 7 pass and the eighth fails its audio and one GPIO check.
#include "CShowtableviewEx.h"
#include "Cmodifyresultmodel.h"
#include "CmodifyresultmodelEx.h"
#include "Cmodifytableview.h"
#include "FleetTest.h"
#include "MainFrame.h"
#include "ProgressBarDialog.h"
#include "SearchLogin.h"
#include "ShowResultDialog.h"
#include "ShowResultDlgEx.h"

#include "FixtureSim.h"
#include "camsim/SimControl.h"

#include <QDir>
#include <QPoint>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using Action = harness::ModalCloser::Action;

// The rows of a result table, as many columns as it has.
template <typename View, typename Model> QList<QStringList> rowsOf(const View* view, const Model* model) {
    QList<QStringList> rows;
    for (int r = 0; r < view->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model->columnCount(); ++c)
            row << view->getData(r, c).toString();
        rows << row;
    }
    return rows;
}

// "ip result; ip result; ..." of a table's rows.
std::string text(const QList<QStringList>& rows) {
    QStringList lines;
    for (const QStringList& row : rows)
        lines << row.join(' ');
    return lines.join("; ").toStdString();
}

class DemoLineFixture : public mwtest::FleetTest {
protected:
    void SetUp() override {
        // The fleet Corvane starts with when tools/run names none.
        qunsetenv("CORVANE_SIM_FLEET");
        mwtest::FleetTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(sim.start());
        qputenv("CORVANE_FIXTURE_PORT", QByteArray::number(sim.port()));
        closer().setDecider([this](QWidget* widget) { return decide(widget); });
    }
    void TearDown() override {
        sim.stop();
        qputenv("CORVANE_FIXTURE_PORT", "1");
        mwtest::FleetTest::TearDown();
    }

    // Busy indicators stay; result tables are read and closed; the GPIO table's row `detailRow`
    // is double-clicked once first.
    Action decide(QWidget* widget) {
        if (qobject_cast<ProgressBarDialog*>(widget))
            return Action::Leave;
        if (auto* table = qobject_cast<ShowResultDlgEx*>(widget)) {
            if (detailRow >= 0) {
                const int row = detailRow;
                detailRow = -1;
                QTimer::singleShot(0, table, [table, row] {
                    CShowtableviewEx* view = table->table();
                    const QPoint at = view->visualRect(view->resultModel()->index(row, 0)).center();
                    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
                });
                return Action::Leave;
            }
            tables << rowsOf(table->table(), table->table()->resultModel());
            return Action::Reject;
        }
        if (auto* table = qobject_cast<ShowResultDialog*>(widget)) {
            tables << rowsOf(table->table(), table->table()->resultModel());
            return Action::Reject;
        }
        return Action::Reject;
    }

    FixtureSim sim;
    QList<QList<QStringList>> tables;
    int detailRow = -1;
};

TEST_F(DemoLineFixture, SevenCamerasPassAndTheEighthFailsItsAudioAndOneGpioCheck) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString results = dir.filePath("fixture-results.json");
    QProcess script;
    script.setStandardOutputFile(results);
    script.start(qEnvironmentVariable("CORVANE_SOURCE_DIR") + "/tools/demo-fixture-results", QStringList());
    ASSERT_TRUE(script.waitForFinished(10000)) << "tools/demo-fixture-results did not end within 10 s";
    ASSERT_EQ(script.exitCode(), 0);
    std::string error;
    ASSERT_TRUE(sim.loadResults(results.toStdString(), &error)) << error;
    // A camera the file does not name gets an answer that is none of its own.
    sim.setUnknown(FixtureSim::Unknown::NoMac);

    const std::vector<camsim::CameraProfile> fleet = camsim::fleet();
    ASSERT_EQ(fleet.size(), 8u);
    MainFrame frame;
    ASSERT_TRUE(frametest::searchAndCheck(frame, 8));
    ASSERT_TRUE(FixtureSim::waitFor([&] { return sim.clients() == 1; }, 5000));

    QList<QStringList> expected;
    for (std::size_t i = 0; i < fleet.size(); ++i)
        expected << QStringList{QString::fromStdString(fleet[i].ip), i < 7 ? "OK" : "NG"};

    frametest::button(frame, "Audio Detection")->click();
    ASSERT_EQ(tables.size(), 1);
    EXPECT_EQ(text(tables[0]), text(expected));

    detailRow = 7;
    frametest::button(frame, "GPIO Detection")->click();
    ASSERT_EQ(tables.size(), 3) << "the eighth camera's items, then the GPIO table";
    int failing = 0;
    for (const QStringList& item : tables[1])
        failing += item.value(2) == "NG" ? 1 : 0;
    EXPECT_GE(tables[1].size(), 2) << "passing items beside the failing one";
    EXPECT_EQ(failing, 1) << "one GPIO check fails";
    EXPECT_EQ(text(tables[2]), text(expected));
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(frame.fixtureRecords().at(static_cast<std::size_t>(i)).gpioCount, 4)
            << "camera " << i + 1 << " has the all-pass result's four items";
}

} // namespace
