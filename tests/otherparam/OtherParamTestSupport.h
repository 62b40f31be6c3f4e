// The other-parameter run's tests against the simulated fleet: byte helpers, the run's closer
// (frametest::RunCloser) and the fixture (a logged-in fleet, a ping wrapper that logs every address).
#pragma once

#include "../batches/BatchTestSupport.h"

#include "ProgressBarDialog.h"
#include "RestartPing.h"
#include "frame/FamilyCaptions.h"
#include "harness/LogCapture.h"
#include "ozmlogic/ParamsMgr.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <functional>
#include <set>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

using namespace batchtest;

namespace otherparamtest {

inline std::uint32_t u32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b.at(at)) | (std::uint32_t(b.at(at + 1)) << 8) |
           (std::uint32_t(b.at(at + 2)) << 16) | (std::uint32_t(b.at(at + 3)) << 24);
}
inline std::uint16_t u16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
inline std::string text(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::string(reinterpret_cast<const char*>(&b.at(at)));
}
inline bool contains(const std::vector<std::uint8_t>& b, const std::string& needle) {
    return std::search(b.begin(), b.end(), needle.begin(), needle.end()) != b.end();
}
template <typename T> inline void putBytes(std::vector<std::uint8_t>& b, std::size_t at, T value) {
    std::memcpy(&b.at(at), &value, sizeof value);
}

using frametest::RunCloser;

inline const QStringList kAllHeaders = frametest::resultTitles();

using harness::holdGuiThreadUntil;

class OtherParamTest : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        winport::setTimeScale(0.01);
        // Every ping goes through a wrapper that logs the address and may take its time.
        ASSERT_TRUE(bin.isValid());
        pingLog = bin.filePath("pings.log");
        QFile script(bin.filePath("ping"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$5\" >> \"" + pingLog.toUtf8() +
                     "\"\n[ -n \"$OTHERPARAM_PING_DELAY\" ] && sleep \"$OTHERPARAM_PING_DELAY\"\nexec \"" +
                     qgetenv("CORVANE_BIN_DIR") + "/simping/ping\" \"$@\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        oldPath = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8() + ":" + oldPath);
        qunsetenv("CORVANE_SIM_PING_UP");
        qunsetenv("OTHERPARAM_PING_DELAY");
        ParamsMgr* store = ozmParamsMgr();
        store->setWaitInfo(360);
        OZM::SC_OTHERPARAMENABLE none{};
        store->setOtherParamEnable(&none);
    }
    void TearDown() override {
        engine.reset();
        qputenv("PATH", oldPath);
        qunsetenv("CORVANE_SIM_PING_UP");
        qunsetenv("OTHERPARAM_PING_DELAY");
        BatchTest::TearDown();
    }
    void useCameras(int count) {
        camsim::useFleet(camsim::defaultFleet(count));
        fleet = camsim::fleet();
    }
    static void enable(std::initializer_list<int> families) {
        OZM::SC_OTHERPARAMENABLE flags{};
        for (int f : families)
            flags.flag[f] = 1;
        ozmParamsMgr()->setOtherParamEnable(&flags);
    }
    QStringList pings() const {
        QFile f(pingLog);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    // Status texts of camera i from the appliers and the run (login texts left out).
    QStringList statuses(std::size_t i) {
        QStringList out;
        for (const auto& note : notes->with(2, mac(i)))
            if (note.texts.value(1) != "Logging in...")
                out << note.texts.value(1);
        return out;
    }
    int loginsTo(const std::string& address) const {
        int n = 0;
        for (const auto& call : camsim::calls("KVX_NET_Login"))
            n += call.text == address ? 1 : 0;
        return n;
    }
    bool waitThreads() {
        return enginetest::waitFor([&] { return engine->otherParamThreads() == 0; }, 20000);
    }
    // Starts a run on these rows and waits for its device threads to end.
    bool runToTheEnd(const QVector<QStringList>& rows) {
        const int started = engine->startOtherParamConfig(rows);
        EXPECT_EQ(started, 0) << "the run was refused";
        return started == 0 && waitThreads();
    }

    QTemporaryDir bin;
    QString pingLog;
    QByteArray oldPath;
};

} // namespace otherparamtest
