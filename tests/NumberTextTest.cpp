#include <gtest/gtest.h>

#include "FixedText.h"
#include "NumberText.h"

namespace {

// A correction that rounds to nothing is no correction: a shooter reading "-0.0" turns the turret the
// other way for nothing. Anything that shows a digit other than zero keeps its sign.
TEST(NumberText, AZeroIsShownWithoutAMinus) {
    EXPECT_EQ(formatFixed(-0.0, 1), "0.0");
    EXPECT_EQ(formatFixed(-0.04, 1), "0.0");
    EXPECT_EQ(formatFixed(-0.004, 2), "0.00");
    EXPECT_EQ(formatFixed(-0.4, 0), "0");
    EXPECT_EQ(formatFixed(-0.06, 1), "-0.1");
    EXPECT_EQ(formatFixed(-0.01, 2), "-0.01");
    EXPECT_EQ(formatFixed(-10.0, 1), "-10.0");
    EXPECT_EQ(formatFixed(-100.0, 0), "-100");
    EXPECT_EQ(formatFixed(0.04, 1), "0.0");
    EXPECT_EQ(formatFixed(2.5, 2), "2.50");

    EXPECT_EQ(ui::formatNumber(-0.0), "0");
    EXPECT_EQ(ui::formatNumber(0.0), "0");
    EXPECT_EQ(ui::formatNumber(-0.25), "-0.25");
    EXPECT_EQ(ui::formatNumber(-1e-20), "-1e-20");
    EXPECT_EQ(ui::formatNumber(-685.0), "-685");
}

}  // namespace
