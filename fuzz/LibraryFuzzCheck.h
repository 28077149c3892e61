#pragma once
// Checks shared by the library file fuzz targets: two entries are the same when every number has the
// same bits (NaN included) and the texts read the same up to their terminators.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "DragFunc.h"
#include "DragFuncOld.h"

namespace fuzzcheck {
inline bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

template <class F>
bool sameCommon(const F& a, const F& b) {
    if (a.points.size() != b.points.size()) return false;
    for (size_t i = 0; i < a.points.size(); ++i)
        if (!sameBits(a.points[i].mach, b.points[i].mach) || !sameBits(a.points[i].cd, b.points[i].cd)) return false;
    return a.uniqueNumber == b.uniqueNumber && std::strncmp(a.name, b.name, sizeof a.name) == 0 &&
           std::strncmp(a.description, b.description, sizeof a.description) == 0 &&
           sameBits(a.stabilityFactor, b.stabilityFactor) && a.flagByte == b.flagByte &&
           sameBits(a.twist, b.twist) && sameBits(a.sectionalDensity, b.sectionalDensity) && a.kind == b.kind;
}

inline bool same(const DragFuncOld& a, const DragFuncOld& b) { return sameCommon(a, b); }
inline bool same(const DragFunc& a, const DragFunc& b) {
    return sameCommon(a, b) && sameBits(a.bulletLength, b.bulletLength) &&
           sameBits(a.bulletDiameter, b.bulletDiameter) && sameBits(a.bulletWeight, b.bulletWeight);
}

inline void check(bool condition) {
    if (!condition) std::abort();
}
}  // namespace fuzzcheck
