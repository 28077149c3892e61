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
class CdLookup {
public:
    explicit CdLookup(const DragFunc& func);
    double cdAt(double mach, EngineReporter* reporter);

private:
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
