#pragma once
// The lane types the integration step is written over: a plain double, two doubles in an SSE2
// register and four in an AVX2 register. They are only register plumbing: + - * / and the square
// root (each one IEEE operation per lane, as on a double), comparisons giving a mask, and access
// to single lanes. Everything here has internal linkage: each path's translation unit, compiled
// for its own processor, keeps its own copy.
#include <cmath>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace solve {
namespace {

template <class L>
constexpr size_t widthOf = sizeof(L) / sizeof(double);
// What comparing lanes gives: a bool, or a lane of all ones or all zeros each.
template <class L>
using MaskOf = decltype(L{} < L{});

inline double sqrtOf(double x) { return std::sqrt(x); }
inline double lane(double x, size_t) { return x; }
inline void setLane(double& x, size_t, double value) { x = value; }
template <class L>
double lane(const L& x, size_t i) {
    return x[i];
}
template <class L>
void setLane(L& x, size_t i, double value) {
    x[i] = value;
}
// Whether the mask holds in every lane that is not idle.
inline bool allOf(bool m, bool idle) { return m || idle; }

#if defined(__SSE2__)
using Lanes2 = double __attribute__((vector_size(16)));
inline Lanes2 sqrtOf(Lanes2 x) { return reinterpret_cast<Lanes2>(_mm_sqrt_pd(reinterpret_cast<__m128d>(x))); }
inline bool allOf(MaskOf<Lanes2> m, MaskOf<Lanes2> idle) {
    return _mm_movemask_pd(reinterpret_cast<__m128d>(m | idle)) == 0x3;
}
#endif

#if defined(__AVX2__)
using Lanes4 = double __attribute__((vector_size(32)));
inline Lanes4 sqrtOf(Lanes4 x) { return reinterpret_cast<Lanes4>(_mm256_sqrt_pd(reinterpret_cast<__m256d>(x))); }
inline bool allOf(MaskOf<Lanes4> m, MaskOf<Lanes4> idle) {
    return _mm256_movemask_pd(reinterpret_cast<__m256d>(m | idle)) == 0xf;
}
#endif

// The mask of the lanes from `count` on (lanes without a pass of their own).
template <class L>
MaskOf<L> idleLanes(size_t count) {
    MaskOf<L> m{};
    if constexpr (widthOf<L> == 1) {
        m = count == 0;
    } else {
        for (size_t i = count; i < widthOf<L>; ++i) m[i] = -1;
    }
    return m;
}

// Lane i from get(i); lanes past `count` repeat the last one.
template <class L, class Get>
L lanesOf(size_t count, Get&& get) {
    double values[widthOf<L>];
    for (size_t i = 0; i < widthOf<L>; ++i) values[i] = get(i < count ? i : count - 1);
    L out;
    std::memcpy(&out, values, sizeof out);
    return out;
}

}  // namespace
}  // namespace solve
