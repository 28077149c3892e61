#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "FusedExp.h"

// Where the integrator computes the exponential itself it must give the library's bits exactly.
TEST(FusedExp, SameBitsAsTheLibrary) {
    if (!fused_exp::usable()) GTEST_SKIP() << "the library's exponential is used on this machine";
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> integratorArgs(-1e-3, 1e-3), wide(-745, 710);
    for (int i = 0; i < 2000000; ++i) {
        const double x = i % 2 ? integratorArgs(random) : wide(random);
        ASSERT_EQ(fused_exp::toBits(fused_exp::exp(x)), fused_exp::toBits(std::exp(x))) << std::hexfloat << x;
    }
    for (double x : {0.0, -0.0, 1e-300, -1e-17, 0x1p-54, 512.0, -745.2, 709.8, 1e6, -1e6, double(INFINITY), -double(INFINITY)})
        EXPECT_EQ(fused_exp::toBits(fused_exp::exp(x)), fused_exp::toBits(std::exp(x))) << x;
    EXPECT_TRUE(std::isnan(fused_exp::exp(std::nan(""))));
}
