// The firmware-upgrade batch against the simulated fleet: one line per address, the progress
// code mapping, early failures, a device that stops reporting.
#include "BatchTestSupport.h"

#include "Cmodifyupgradeview.h"
#include "modifyupgradewidget.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTimer>

using namespace batchtest;

namespace {

bool endState(const QString& progress) {
    return progress == "100" || progress == "0";
}

class UpgradeBatch : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        ASSERT_TRUE(folder.isValid());
        package = writePackage("firmware.bin", QByteArray(2048, 'p'));
    }

    QString writePackage(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(folder.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Runs the batch; the window is closed once every line has ended (or after limitMs).
    void runBatch(const QVector<QStringList>& batchRows, const QString& path, int expectedLines,
                  int limitMs = 5000) {
        QElapsedTimer clock;
        clock.start();
        harness::ModalCloser closer(harness::ModalCloser::Action::Close, 5);
        closer.setDecider([&](QWidget* widget) {
            auto* window = qobject_cast<modifyupgradewidget*>(widget);
            if (!window)
                return harness::ModalCloser::Action::Accept;
            const auto results = engine->upgradeResults();
            bool done = static_cast<int>(results.size()) >= expectedLines;
            for (const auto& entry : results)
                done = done && endState(entry.value(1));
            if (done || clock.elapsed() > limitMs) {
                shownRows.clear();
                for (int r = 0; r < window->view()->rowCount(); ++r)
                    shownRows << QStringList{window->view()->getData(r, 0).toString(),
                                             window->view()->getData(r, 1).toString(),
                                             window->view()->getData(r, 2).toString()};
                failedText = window->failedNumberText();
                return harness::ModalCloser::Action::Close;
            }
            return harness::ModalCloser::Action::Leave;
        });
        engine->batchUpgrade(batchRows, path);
    }

    QStringList line(std::size_t i) const {
        for (const auto& r : shownRows)
            if (r.value(0) == QString::fromStdString(fleet.at(i).ip))
                return r;
        return {};
    }

    QTemporaryDir folder;
    QString package;
    QList<QStringList> shownRows;
    QString failedText;
};

} // namespace

TEST_F(UpgradeBatch, WindowFillsLiveOneLinePerDevice) {
    std::vector<camsim::CameraProfile> cameras = camsim::defaultFleet(4);
    camsim::useFleet(cameras);
    fleet = camsim::fleet();
    ASSERT_NO_FATAL_FAILURE(loginFleet({2}));
    camsim::inject({fleet[1].mac, "KVX_NET_Upgrade:result", true, false, 0, -1}); // 1282 at the end
    camsim::inject({fleet[3].mac, "KVX_NET_Upgrade", true, false, 0, -1});        // refused
    QList<int> seenProgress;
    QObject::connect(engine.get(), &DeviceManager::upgradeDate, engine.get(),
                     [&](const QStringList&, int num) { seenProgress << num; });

    runBatch(rows({0, 1, 2, 3}), package, 4);

    ASSERT_EQ(shownRows.size(), 4);
    EXPECT_EQ(line(0), QStringList({QString::fromStdString(fleet[0].ip), "100", "Upgrade Success!"}));
    EXPECT_EQ(line(1).mid(1), QStringList({"0", "Upgrade failed!"}));
    EXPECT_EQ(line(2).mid(1), QStringList({"0", "Connect Failed!"}));
    EXPECT_EQ(line(3).mid(1), QStringList({"0", "Upgrade failed!"}));
    EXPECT_EQ(failedText, "3");
    EXPECT_TRUE(seenProgress.contains(0));
    EXPECT_TRUE(seenProgress.contains(100));

    // The SDK got the path and the package's first bytes.
    const auto properties = callsTo("KVX_NET_GetUpgradeFileProperty", 0);
    ASSERT_EQ(properties.size(), 1u);
    ASSERT_EQ(properties[0].in.size(), 1032u);
    EXPECT_EQ(properties[0].in[7], 0);
    EXPECT_EQ(properties[0].in[8], 'p');
    EXPECT_EQ(properties[0].in[1031], 'p');
    EXPECT_EQ(callsTo("KVX_NET_Upgrade", 0).at(0).text, package.toStdString());
    EXPECT_TRUE(callsTo("KVX_NET_GetUpgradeFileProperty", 2).empty());
}

TEST_F(UpgradeBatch, PackageErrors) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    runBatch(rows({0}), QDir(folder.path()).filePath("missing.bin"), 1);
    EXPECT_EQ(line(0).mid(1), QStringList({"0", "Package error!"}));
    EXPECT_TRUE(callsTo("KVX_NET_GetUpgradeFileProperty", 0).empty());

    const QString empty = writePackage("empty.bin", QByteArray()); // the SDK rejects it with 2
    runBatch(rows({0}), empty, 1);
    EXPECT_EQ(line(0).mid(1), QStringList({"0", "Package error!"}));
    EXPECT_EQ(callsTo("KVX_NET_GetUpgradeFileProperty", 0).size(), 1u);
    EXPECT_TRUE(callsTo("KVX_NET_Upgrade", 0).empty());
}

TEST_F(UpgradeBatch, PathReachesTheSdkAsGbk) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    const QString path = writePackage(QString::fromUtf8("固件.bin"), QByteArray(64, 'q'));
    runBatch(rows({0}), path, 1);
    const auto upgrades = callsTo("KVX_NET_Upgrade", 0);
    ASSERT_EQ(upgrades.size(), 1u);
    const QByteArray gbk = QTextCodec::codecForName("GBK")->fromUnicode(path);
    EXPECT_EQ(QByteArray::fromStdString(upgrades[0].text), gbk);
    EXPECT_EQ(line(0).mid(1), QStringList({"100", "Upgrade Success!"}));

    // A path of 512 bytes or more: the SDK gets its first 511 bytes, terminated.
    QString deep = folder.path();
    while (QFile::encodeName(deep).size() < 600)
        deep += "/" + QString(100, 'd');
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString longPath =
        writePackage(QDir(folder.path()).relativeFilePath(deep) + "/fw.bin", QByteArray(64, 'q'));
    const QByteArray longGbk = QTextCodec::codecForName("GBK")->fromUnicode(longPath);
    ASSERT_GE(longGbk.size(), 512);
    runBatch(rows({0}), longPath, 1);
    const auto longUpgrades = callsTo("KVX_NET_Upgrade", 0);
    ASSERT_EQ(longUpgrades.size(), 2u);
    EXPECT_EQ(longUpgrades[1].text, longGbk.left(511).toStdString());
}

TEST_F(UpgradeBatch, ProgressCodeMappingAndSharedAddress) {
    const QStringList device{"00:11:22:33:44:55", "127.0.0.77"};
    const std::vector<std::pair<int, QStringList>> expected = {
        {0, {"127.0.0.77", "1", "Upgrading..."}},         {37, {"127.0.0.77", "37", "Upgrading..."}},
        {100, {"127.0.0.77", "100", "Upgrade Success!"}}, {-1, {"127.0.0.77", "0", "Upgrade failed!"}},
        {-2, {"127.0.0.77", "0", "Connect Failed!"}},     {-3, {"127.0.0.77", "0", "Package error!"}},
    };
    for (const auto& [code, entry] : expected) {
        engine->onUpgradeProgress(device, code);
        const auto results = engine->upgradeResults();
        ASSERT_EQ(results.size(), 1) << code; // one line per address
        EXPECT_EQ(results[0], entry) << code;
    }
    engine->onUpgradeProgress({"66:11:22:33:44:55", "127.0.0.78"}, 5);
    EXPECT_EQ(engine->upgradeResults().size(), 2);
}

TEST_F(UpgradeBatch, NoMatchingDeviceShowsAnEmptyWindow) {
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    QStringList stranger = row(0);
    stranger[8] = "00:00:00:00:00:00";
    runBatch({stranger}, package, 0);
    EXPECT_TRUE(shownRows.isEmpty());
    EXPECT_TRUE(camsim::callLog().empty());
}

TEST_F(UpgradeBatch, SilentDeviceTimesOut) {
    winport::setTimeScale(0.002); // the 120 s stall limit in 240 ms
    ASSERT_NO_FATAL_FAILURE(loginFleet());
    camsim::inject({fleet[0].mac, "KVX_NET_Upgrade", false, true, 0, -1}); // started, never reports
    // One report of 37 per cent, then silence.
    QTimer::singleShot(winport::timerInterval(2000), engine.get(), [&] {
        emit engine->upgradeDate({mac(0), QString::fromStdString(fleet[0].ip)}, 37);
    });
    runBatch(rows({0}), package, 1, 20000);
    EXPECT_EQ(line(0).mid(1), QStringList({"0", "Upgrade failed!"}));
    EXPECT_EQ(engine->upgradeResults().value(0).value(2), "Upgrade failed!");
}
