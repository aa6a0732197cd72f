// Runs a test once per processor tier, through the static archive's hook.
//
//   class MyTest : public TierTest {};
//   TEST_P(MyTest, ...) { ... }  // runs on the tier GetParam() names
//   KARPA_INSTANTIATE_TIERS(MyTest);
//
// A tier the processor lacks is reported as skipped. The detected tier is put
// back after each case.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "frame/cpu.hpp"

class TierTest : public ::testing::TestWithParam<karpa::Tier> {
protected:
    void SetUp() override {
        if (!karpa::forceTier(GetParam())) {
            GTEST_SKIP() << "this processor lacks the " << karpa::tierName(GetParam()) << " tier";
        }
    }
    void TearDown() override { karpa::forceTier(karpa::detectedTier()); }
};

#define KARPA_INSTANTIATE_TIERS(suite)                                                                   \
    INSTANTIATE_TEST_SUITE_P(Tiers, suite,                                                               \
                             ::testing::Values(karpa::Tier::baseline, karpa::Tier::avx2, karpa::Tier::avx512), \
                             [](const ::testing::TestParamInfo<karpa::Tier>& info) {                     \
                                 return std::string(karpa::tierName(info.param));                        \
                             })
