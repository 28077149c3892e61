#pragma once
#include <vector>

// What a single-distance pass at one launch angle gives at each whole metre: the height that
// would end a pass there, and the state the target row would be filled from (the last step whose
// corrector did not end exactly on the tolerance).
class PassTrace {
public:
    struct Step {
        double height = 0.0;     // ft above the line of sight at the end of this step
        double distance = 0.0;   // m, of the step the target row takes its values from
        double sideways = 0.0;   // ft
        double vx = 0.0, vy = 0.0, vz = 0.0;  // ft/s
        double time = 0.0;       // s
        bool recorded = false;   // false: no step up to here fills the target row
        bool complete = true;    // every corrector up to here met its tolerance within the limit
    };

    double angle = 0.0;          // launch angle, MOA
    std::vector<Step> steps;     // steps[n - 1] for the pass that ends after n steps

    // Number of steps of a single-distance pass to this distance.
    static size_t stepsFor(double distance, double stepMetres);
};

// The traces of the two passes every solve starts with: launch angle 0, then 2 MOA.
struct FirstPasses {
    PassTrace first;
    PassTrace second;
};
