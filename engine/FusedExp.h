#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>

#if defined(__AVX2__) && defined(__FMA__)
#include <immintrin.h>
#endif

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


#if defined(__AVX2__) && defined(__FMA__)
// exp() above on every lane of a register at once (where the unit is built for AVX2 and FMA):
// the same operations on each lane, so the same bits, for arguments on the main path in every
// lane (onMainPath).
using Doubles2 = double __attribute__((vector_size(16)));
using Doubles4 = double __attribute__((vector_size(32)));

inline Doubles2 fmaLanes(Doubles2 a, Doubles2 b, Doubles2 c) {
    return reinterpret_cast<Doubles2>(_mm_fmadd_pd(reinterpret_cast<__m128d>(a), reinterpret_cast<__m128d>(b),
                                                   reinterpret_cast<__m128d>(c)));
}
inline Doubles4 fmaLanes(Doubles4 a, Doubles4 b, Doubles4 c) {
    return reinterpret_cast<Doubles4>(_mm256_fmadd_pd(reinterpret_cast<__m256d>(a), reinterpret_cast<__m256d>(b),
                                                      reinterpret_cast<__m256d>(c)));
}

using Bits2 = uint64_t __attribute__((vector_size(16)));
using Bits4 = uint64_t __attribute__((vector_size(32)));
template <class D>
struct BitsFor;
template <>
struct BitsFor<Doubles2> {
    using type = Bits2;
};
template <>
struct BitsFor<Doubles4> {
    using type = Bits4;
};
template <class D>
using BitsOf = typename BitsFor<D>::type;

template <class D>
D lanesOf(uint64_t bits) {
    D out{};
    for (size_t i = 0; i < sizeof(D) / sizeof(double); ++i) out[i] = fromBits(bits);
    return out;
}

// 2^-54 <= |x| < 512 in every lane (not a number in none).
template <class D>
bool onMainPath(D x) {
    const D a = reinterpret_cast<D>(reinterpret_cast<BitsOf<D>>(x) & 0x7fffffffffffffffULL);
    const auto in = (a >= 0x1p-54) & (a < 512.0);
    for (size_t i = 0; i < sizeof(D) / sizeof(double); ++i)
        if (!in[i]) return false;
    return true;
}

template <class D>
[[gnu::always_inline]] inline D expLanes(D x) {
    using U = BitsOf<D>;
    D kd = fmaLanes(x, lanesOf<D>(0x40671547652b82feULL), lanesOf<D>(0x4338000000000000ULL));
    const U ki = reinterpret_cast<U>(kd);
    kd = kd - lanesOf<D>(0x4338000000000000ULL);
    D r = fmaLanes(kd, lanesOf<D>(0xbf762e42fefa0000ULL), x);
    r = fmaLanes(kd, lanesOf<D>(0xbd0cf79abc9e3b3aULL), r);
    const U idx = 2 * (ki & 0x7f);
    D tail;
    U sbits;
    for (size_t i = 0; i < sizeof(D) / sizeof(double); ++i) {
        tail[i] = fromBits(kTable[idx[i]]);
        sbits[i] = kTable[idx[i] + 1];
    }
    sbits = sbits + (ki << 45);
    const D r2 = r * r;
    D tmp = fmaLanes(fmaLanes(r, lanesOf<D>(0x3fc555555555543cULL), lanesOf<D>(0x3fdffffffffffdbdULL)), r2, r + tail);
    tmp = fmaLanes(r2 * r2, fmaLanes(r, lanesOf<D>(0x3f81111167a4d017ULL), lanesOf<D>(0x3fa55555cf172b91ULL)), tmp);
    const D scale = reinterpret_cast<D>(sbits);
    return fmaLanes(scale, tmp, scale);
}
#endif
}  // namespace

// Whether exp() above may stand in for std::exp here: a processor with FMA and AVX2 (where the
// library takes the same way), and equal to the library's on a spread of arguments (checked once).
bool usable();

}  // namespace fused_exp
