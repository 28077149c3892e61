#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "PassStepper.h"

// What a single-distance pass at one launch angle gives at each whole metre: the height that
// would end a pass there, and the state the target row would be filled from (the last step whose
// corrector did not end exactly on the tolerance). The sideways drift and time of that state are
// added up only when asked for: a solve needs them only when it ends on one of these passes.
class PassTrace {
public:
    double angle = 0.0;  // launch angle, MOA

    size_t size() const { return heights_.size(); }
    // Height above the line of sight, ft, after n steps (1 <= n <= size()).
    double heightAfter(size_t n) const { return heights_[n - 1]; }
    // Whether every corrector of the first n steps met its tolerance within the limit.
    bool completeAfter(size_t n) const { return n < firstIncomplete_; }
    // The state the target row takes after n steps; false when no step up to n fills it.
    bool recordAfter(size_t n, StepState& out) const;

    // Number of steps of a single-distance pass to this distance.
    static size_t stepsFor(double distance, double stepMetres);

private:
    friend class BallisticSolver;
    double stepFeet_ = 0.0;
    std::vector<double> heights_;
    std::vector<StepState> states_;     // each step's distance and velocity
    std::vector<uint32_t> recordedAt_;  // after n steps: the number of the step the row comes from
    std::vector<SidewaysStep> terms_;   // what each step adds to the sideways drift and the time
    size_t firstIncomplete_ = SIZE_MAX;
};

// The traces of the two passes every solve starts with: launch angle 0, then 2 MOA.
struct FirstPasses {
    PassTrace first;
    PassTrace second;
};
