#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>

// The exponential the C library computes on x86-64 processors with FMA and AVX2 (glibc picks its
// FMA build of the exponential of ARM's optimized-routines there), written out so that it can be
// inlined into the integrator: the same operations on the same constants, so the same bits.
// It is used only where usesFusedExp() has found it equal to std::exp on this machine; outside
// the range its main path covers it simply calls std::exp.
namespace fused_exp {

extern const uint64_t kTable[256];

// Internal linkage: each translation unit keeps the copy compiled for its own processor (with FMA
// instructions where it is built for them, with calls to the library's fma elsewhere).
namespace {
inline double fromBits(uint64_t u) {
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}
inline uint64_t toBits(double d) {
    uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

inline double exp(double x) {
    const uint64_t bits = toBits(x);
    const uint32_t abstop = static_cast<uint32_t>(bits >> 52) & 0x7ff;
    // The main path: 2^-54 <= |x| < 512 (everything else, and not-a-number, the library's way).
    if (abstop - 0x3c9u > 0x3eu) return std::exp(x);
    const double invLn2N = fromBits(0x40671547652b82feULL);
    const double negLn2hiN = fromBits(0xbf762e42fefa0000ULL);
    const double negLn2loN = fromBits(0xbd0cf79abc9e3b3aULL);
    const double c2 = fromBits(0x3fdffffffffffdbdULL);
    const double c3 = fromBits(0x3fc555555555543cULL);
    const double c4 = fromBits(0x3fa55555cf172b91ULL);
    const double c5 = fromBits(0x3f81111167a4d017ULL);
    const double shift = fromBits(0x4338000000000000ULL);
    double kd = std::fma(x, invLn2N, shift);
    const uint64_t ki = toBits(kd);
    kd = kd - shift;
    double r = std::fma(kd, negLn2hiN, x);
    r = std::fma(kd, negLn2loN, r);
    const uint64_t idx = 2 * (ki & 0x7f);
    const double tail = fromBits(kTable[idx]);
    const uint64_t sbits = kTable[idx + 1] + (ki << 45);
    const double r2 = r * r;
    double tmp = std::fma(std::fma(r, c3, c2), r2, r + tail);
    tmp = std::fma(r2 * r2, std::fma(r, c5, c4), tmp);
    const double scale = fromBits(sbits);
    return std::fma(scale, tmp, scale);
}
}  // namespace

// Whether exp() above may stand in for std::exp here: a processor with FMA and AVX2 (where the
// library takes the same way), and equal to the library's on a spread of arguments (checked once).
bool usable();

}  // namespace fused_exp
