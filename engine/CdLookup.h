#pragma once
#include <cstddef>
#include <vector>

#include "DragFunc.h"

class EngineReporter;

// The Cd lookup of a drag function for a trajectory, giving exactly what DragFunc::cdAt gives.
// Along a trajectory the Mach number changes a little per step, so the search starts where the
// last one stopped; that is only valid for tables whose Mach numbers never decrease, so any other
// table is searched from the start every time. Keeps a pointer to the function: rebuild it when
// the function's points change.
// The stretch of the table between the two points the last search stopped at: while
// lower < mach <= upper, cdAt answers cdLower + slope * (mach - lower). (Never true for a table
// searched from the start every time.)
struct CdSegment {
    double lower, upper, cdLower, slope;
};

class CdLookup {
public:
    explicit CdLookup(const DragFunc& func);
    double cdAt(double mach, EngineReporter* reporter);
    CdSegment segment() const;

private:
    static double reportEmpty(EngineReporter* reporter);

    const DragElement* points_;
    size_t count_;
    bool nonDecreasing_;
    size_t hint_ = 1;
    // (cd[j] - cd[j-1]) / (mach[j] - mach[j-1]) for each j, worked out once: the same quotient
    // the interpolation would divide out at every lookup.
    std::vector<double> slopes_;
};

// The interpolation step shared by both lookups: between points i = j - 1 and j.
double interpolateCd(const DragElement* points, size_t j, double mach);
// The search of the lookup from the start: the first j >= 1 with mach <= points[j].mach,
// searching no further than the last point.
size_t linearSearchCd(const DragElement* points, size_t count, double mach);

inline CdSegment CdLookup::segment() const {
    if (!nonDecreasing_) return {1, 0, 0, 0};  // lower above upper: no Mach number is inside
    return {points_[hint_ - 1].mach, points_[hint_].mach, points_[hint_ - 1].cd, slopes_[hint_]};
}

// Lookups are made at every integration step, so this one is inline.
inline double CdLookup::cdAt(double mach, EngineReporter* reporter) {
    if (nonDecreasing_) {
        // Still between the two points the last search stopped at (the usual case along a
        // trajectory): that is where a search stops, and no end of the table or repeated Mach
        // number is involved.
        const DragElement* p = points_;
        const size_t j = hint_;
        const double upper = p[j].mach, lower = p[j - 1].mach;
        if (mach <= upper && mach > lower) return p[j - 1].cd + slopes_[j] * (mach - lower);
    }
    const size_t n = count_;
    if (n == 0) return reportEmpty(reporter);
    const DragElement* p = points_;
    if (mach > p[n - 1].mach) return p[n - 1].cd;
    if (mach < p[0].mach) return p[0].cd;
    if (n == 1) return p[0].cd;
    if (!nonDecreasing_ || mach != mach) return interpolateCd(p, linearSearchCd(p, n, mach), mach);
    // Here p[0] <= mach <= p[n-1] and the table never decreases, so the answer is the one j in
    // [1, n-1] with mach <= p[j] and (j == 1 or p[j-1] < mach); walk the hint there.
    size_t j = hint_;
    while (!(mach <= p[j].mach)) ++j;
    while (j > 1 && mach <= p[j - 1].mach) --j;
    hint_ = j;
    const size_t i = j - 1;
    if (p[j].mach == p[i].mach) return p[i].cd;
    return p[i].cd + slopes_[j] * (mach - p[i].mach);
}

