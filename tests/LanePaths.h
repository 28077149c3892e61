#pragma once
#include <gtest/gtest.h>

#include "solve/Paths.h"

// Tests that run once on every way the engine can step its passes (plain, sse2, avx2); a path
// this processor cannot run is reported as skipped, so the output says which ran.
class OnEveryLanePath : public ::testing::TestWithParam<solve::LanePath> {
protected:
    void SetUp() override {
        if (!solve::canRun(GetParam())) GTEST_SKIP() << "this processor cannot run " << solve::nameOf(GetParam());
        ASSERT_TRUE(solve::setLanePath(GetParam()));
    }
    void TearDown() override { solve::setLanePath(before_); }

private:
    solve::LanePath before_ = solve::lanePath();
};

#define TRAJEKTON_ON_EVERY_LANE_PATH(Suite)                                                                     \
    INSTANTIATE_TEST_SUITE_P(Lanes, Suite,                                                                     \
                             ::testing::Values(solve::LanePath::Plain, solve::LanePath::Sse2, solve::LanePath::Avx2), \
                             [](const ::testing::TestParamInfo<solve::LanePath>& info) {                      \
                                 return std::string(solve::nameOf(info.param));                               \
                             })
