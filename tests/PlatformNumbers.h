#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

// Unrounded engine numbers against figures stored from a run on Linux. Within one platform the engine
// gives the same bits every time, and on Linux these are the stored ones. Windows' C library computes
// the mathematical functions (atan, exp, pow ...) in its own way, which may differ from glibc's in the
// last bit, so there an unrounded number agrees within a few units in the last place; the values the
// programs show, rounded, are identical everywhere.
#if defined(_WIN32)
inline constexpr int64_t kUlpsFromLinux = 8;
#else
inline constexpr int64_t kUlpsFromLinux = 0;
#endif

// How many representable doubles lie between a and b (both finite, of one sign or zero).
inline int64_t ulpsBetween(double a, double b) {
    int64_t ia = 0, ib = 0;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    return ia > ib ? ia - ib : ib - ia;
}

inline ::testing::AssertionResult asStoredFromLinux(double got, double stored) {
    if (std::isfinite(got) && std::signbit(got) == std::signbit(stored) && ulpsBetween(got, stored) <= kUlpsFromLinux)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << std::hexfloat << got << " is " << ulpsBetween(got, stored)
                                         << " units in the last place from the stored " << stored << " (allowed "
                                         << kUlpsFromLinux << ")";
}
