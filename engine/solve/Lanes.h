#pragma once
// The lane types the integration step is written over: a plain double, two doubles in an SSE2
// register and four in an AVX2 register. They are only register plumbing: + - * / and the square
// root (each one IEEE operation per lane, as on a double), comparisons giving a mask, and access
// to single lanes. Everything here has internal linkage: each path's translation unit, compiled
// for its own processor, keeps its own copy.
#include <cmath>
#include <cstddef>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace solve {
namespace {

template <class L>
struct LaneTraits;

template <>
struct LaneTraits<double> {
    static constexpr size_t width = 1;
    using Mask = bool;
};

inline double sqrtOf(double x) { return std::sqrt(x); }
inline double lane(double x, size_t) { return x; }
inline void setLane(double& x, size_t, double value) { x = value; }
// Whether the mask holds in every lane that is not idle.
inline bool allOf(bool m, bool idle) { return m || idle; }

#if defined(__SSE2__)
using Lanes2 = double __attribute__((vector_size(16)));
using Mask2 = long long __attribute__((vector_size(16)));

template <>
struct LaneTraits<Lanes2> {
    static constexpr size_t width = 2;
    using Mask = Mask2;
};

inline Lanes2 sqrtOf(Lanes2 x) { return reinterpret_cast<Lanes2>(_mm_sqrt_pd(reinterpret_cast<__m128d>(x))); }
inline double lane(Lanes2 x, size_t i) { return x[i]; }
inline void setLane(Lanes2& x, size_t i, double value) { x[i] = value; }
inline bool allOf(Mask2 m, Mask2 idle) { return _mm_movemask_pd(reinterpret_cast<__m128d>(m | idle)) == 0x3; }
#endif

#if defined(__AVX2__)
using Lanes4 = double __attribute__((vector_size(32)));
using Mask4 = long long __attribute__((vector_size(32)));

template <>
struct LaneTraits<Lanes4> {
    static constexpr size_t width = 4;
    using Mask = Mask4;
};

inline Lanes4 sqrtOf(Lanes4 x) { return reinterpret_cast<Lanes4>(_mm256_sqrt_pd(reinterpret_cast<__m256d>(x))); }
inline double lane(Lanes4 x, size_t i) { return x[i]; }
inline void setLane(Lanes4& x, size_t i, double value) { x[i] = value; }
inline bool allOf(Mask4 m, Mask4 idle) { return _mm256_movemask_pd(reinterpret_cast<__m256d>(m | idle)) == 0xf; }
#endif

template <class L>
constexpr size_t widthOf = LaneTraits<L>::width;

template <class L>
using MaskOf = typename LaneTraits<L>::Mask;

// The mask of the lanes from `count` on (lanes without a pass of their own).
template <class L>
MaskOf<L> idleLanes(size_t count) {
    if constexpr (widthOf<L> == 1) {
        return count == 0;
    } else {
        MaskOf<L> m{};
        for (size_t i = count; i < widthOf<L>; ++i) m[i] = -1;
        return m;
    }
}

// Lane i from values[i]; lanes past `count` repeat the last value.
template <class L, class Get>
L lanesOf(size_t count, Get&& get) {
    L out{};
    for (size_t i = 0; i < widthOf<L>; ++i) setLane(out, i, get(i < count ? i : count - 1));
    return out;
}

}  // namespace
}  // namespace solve
