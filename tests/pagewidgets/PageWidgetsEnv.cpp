// The parameter store is one per process: its folder is set once, before any test runs.
#include "harness/QtApp.h"
#include "harness/TestDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class StoreEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_dir = std::make_unique<harness::TestDir>();
        harness::qtApp();
    }
    void TearDown() override { m_dir.reset(); }

private:
    std::unique_ptr<harness::TestDir> m_dir;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new StoreEnvironment);

} // namespace
