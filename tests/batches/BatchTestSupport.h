// The engine's batches against the simulated fleet: a logged-in fleet, the parameter store in
// a temporary folder, and the result table the batch shows.
#pragma once

#include "../engine/EngineTestSupport.h"

#include "LongLimits.h"
#include "RunCloser.h"
#include "harness/QtApp.h"
#include "harness/TestDir.h"

#include <QVector>

namespace batchtest {

using frametest::ShownTable;
// Closes every result dialog the code opens and records its table.
using TableCloser = frametest::RunCloser;

class BatchTest : public enginetest::EngineTest {
protected:
    void SetUp() override {
        harness::qtApp();
        enginetest::EngineTest::SetUp();
        camsim::useFleet(camsim::defaultFleet(3));
        fleet = camsim::fleet();
    }

    // Logs the fleet in; the cameras listed in wrongPassword fail their login. The login limit
    // has several seconds of real time meanwhile. Call it as ASSERT_NO_FATAL_FAILURE(loginFleet()).
    void loginFleet(const std::vector<int>& wrongPassword = {}) {
        const frametest::LongLimits limits;
        std::vector<DSC_SEARCH_RESPONSE_INFO> records;
        for (const auto& camera : fleet)
            records.push_back(enginetest::searchRecord(camera));
        for (int i : wrongPassword)
            std::snprintf(records.at(i).password, sizeof records[i].password, "wrong");
        searchFound(records, static_cast<int>(records.size()));
        ASSERT_TRUE(enginetest::waitFor(
            [&] {
                for (std::size_t i = 0; i < fleet.size(); ++i)
                    if (notes->with(10, mac(i)).empty())
                        return false;
                return !notes->with(6).empty();
            },
            20000));
        for (std::size_t i = 0; i < fleet.size(); ++i) {
            const bool wrong =
                std::find(wrongPassword.begin(), wrongPassword.end(), int(i)) != wrongPassword.end();
            const std::vector<LoginSlot> logins = engine->slotsForMac(fleet[i].mac);
            ASSERT_FALSE(logins.empty()) << i;
            ASSERT_EQ(logins[0].loggedIn(), !wrong) << i;
        }
        camsim::clearCallLog();
        notes->clear();
    }

    // The device-table row of camera i: column 1 IP, column 8 MAC.
    QStringList row(std::size_t i) const {
        QStringList cells;
        for (int c = 0; c < 19; ++c)
            cells << QString();
        cells[1] = QString::fromStdString(fleet.at(i).ip);
        cells[8] = QString::fromStdString(fleet.at(i).mac);
        return cells;
    }
    QVector<QStringList> rows(std::initializer_list<std::size_t> which) const {
        QVector<QStringList> out;
        for (std::size_t i : which)
            out << row(i);
        return out;
    }
    // The SDK calls of one function that reached camera i.
    std::vector<camsim::CallRecord> callsTo(const std::string& function, std::size_t i) const {
        std::vector<camsim::CallRecord> out;
        for (const auto& call : camsim::calls(function))
            if (call.camera == fleet.at(i).mac)
                out.push_back(call);
        return out;
    }
    // The texts of the code's messages for camera i, in order.
    QStringList texts(int code, std::size_t i) {
        QStringList out;
        for (const auto& note : notes->with(code, mac(i)))
            out << note.texts.mid(1).join("|");
        return out;
    }
};

} // namespace batchtest
