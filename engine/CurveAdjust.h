#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "DragElement.h"

// The curve editor's arithmetic: raising, lowering and reshaping a whole drag curve by a step, free
// of any window (the curve editor and tkcalc adjust both use it).

// The six buttons of the curve editor.
enum class CurveButton {
    Raise,       // "Поднять график": every Cd += s
    Lower,       // "Опустить график": every Cd -= s
    LowerPeak,   // "Опустить вершину": the peak adjustment with +s
    RaisePeak,   // "Поднять вершину": the peak adjustment with -s
    RaiseRight,  // "Поднять правую сторону": the right-side adjustment with -s
    LowerRight,  // "Опустить правую сторону": the right-side adjustment with +s
};

// How a press ended. Only Changed changes the points; every other end leaves them as they were.
enum class CurveAdjustEnd {
    Changed,
    BadStep,           // the step is not a finite number above 0
    NoPoints,          // nothing to move
    NoPointAboveZero,  // the peak and right-side buttons find no peak
    PeakAtLastPoint,   // they divide by the Mach distance from the peak to the last point: 0
    NothingMoves,      // no point would change (the peak buttons on four points or fewer)
    WouldReachZero,    // some Cd would become 0 or less, or no number at all: refused as a whole
};

struct CurveAdjustResult {
    CurveAdjustEnd end = CurveAdjustEnd::Changed;
    CurveButton button = CurveButton::Raise;
    // WouldReachZero: the first point that would fail (index from 0), its Mach and the Cd it would get.
    size_t point = 0;
    double mach = 0.0;
    double cd = 0.0;
    bool changed() const { return end == CurveAdjustEnd::Changed; }
};

// Applies a button with step `step` to the points (ascending Mach is assumed, as the lookup assumes
// it). The peak is the first point with the largest Cd above 0; the peak and right-side
// adjustments move only the points after the fourth that lie no more than two before the peak.
CurveAdjustResult adjustCurve(std::vector<DragElement>& points, CurveButton button, double step);

// Why a press changed nothing, for a message box or the command line (UTF-8); empty for Changed.
std::string curveAdjustMessage(const CurveAdjustResult& result);

// Sorts the points into ascending Mach order, keeping the order of points with equal Mach. A Mach
// that is not a number sorts after all others.
void sortByMach(std::vector<DragElement>& points);
