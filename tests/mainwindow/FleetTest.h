// Fixture for the main-window tests against the simulated fleet: a fresh fleet each test and a
// five-second search without full netcom.
#pragma once

#include "MainWindowTestSupport.h"

#include "camsim/SimControl.h"
#include "ozmlogic/ParamsMgr.h"

namespace mwtest {

class FleetTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        camsim::resetWorld();
        ozmParamsMgr()->setSearchTime(5);
        ozmParamsMgr()->setSearchFullNetcom(0);
    }
    void TearDown() override {
        camsim::resetWorld();
        MainWindowTest::TearDown();
    }
};

} // namespace mwtest
