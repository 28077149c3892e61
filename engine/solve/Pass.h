#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "CdLookup.h"

class BallisticSolver;
class EngineReporter;

namespace solve {

template <class L>
struct Vec3 {
    L x, y, z;
};
using Vec = Vec3<double>;

// What a pass keeps of a step for the target row: the values the row is filled from.
struct StepState {
    double d, z, vx, vy, vz, t;
};

// What a step adds to the sideways drift and the time of flight, for passes that add them up only
// when they turn out to be needed (Pass::Sideways::Deferred).
struct SidewaysStep {
    double groundSum;   // vx + px, ft/s
    double sidewaysSum; // vz + pz, ft/s
};

// What a pass reads of the solver, copied when it starts: the pass sees the solver as it was then
// (and the lane stepper has it lane by lane).
template <class L>
struct Inputs {
    L windRange, windCross, K, T0, temperatureLapse1, temperatureLapse2, densityLapse1, densityLapse2;
    L soundSpeedFactor, gravity, tolerance, stepFeet, stepMetres, end;
    // Inside (surelyBelowLo, surelyBelowHi) times V0² the corrector's test is surely met (an empty
    // interval where it cannot be decided this way).
    L surelyBelowLo, surelyBelowHi;
};
using PassInputs = Inputs<double>;

// One pass of the integrator: its inputs, the state between steps, and the bookkeeping of each
// step (the distance, the step the target row is filled from, the end). The arithmetic of a step
// is done by the lane stepper (LaneStepper.h), for several passes at once.
//
// Two things are done with less work than the plain formulas suggest, with the same results bit
// for bit:
// - the corrector's test h = |V1 - V0| / V1 > tolerance is decided from V1 squared when that is
//   clearly below the limit (it nearly always is); only otherwise are the root and the quotient
//   taken;
// - in Deferred mode the sideways drift z and the time t, which nothing in the pass reads, are not
//   added up; each step keeps its two terms so that they can be added up afterwards, in the same
//   order, for the one pass whose target row is wanted.
class Pass {
public:
    enum class Sideways { EveryStep, Deferred };

    // With `heights`, the height after every step is appended to it (see FirstPasses).
    Pass(const BallisticSolver& s, double end, Sideways mode = Sideways::EveryStep,
         std::vector<SidewaysStep>* deferred = nullptr, std::vector<double>* heights = nullptr);

    // Called after every step with the pass (state and y describe the step).
    void watchSteps(void (*onStep)(void* context, const Pass& pass), void* context) {
        onStep_ = onStep;
        context_ = context;
    }

    // From V0 and the squared airspeed of the corrected velocity: whether the corrector must go on
    // (sets onTolerance; counts the iterations and gives up at the limit).
    bool needsAnotherIteration(double A1, double V0);
    // Cd at a Mach number, refreshing `segment`.
    double cdAt(double mach);
    // The bookkeeping of `count` steps once their arithmetic is done, from the two sums of each
    // step's advance and the height and velocity after it, `stride` apart in each array (the lane
    // stepper keeps them in blocks, a column per pass). onTolerance holds for all of them (it is
    // only ever true for one step on its own, with v still the velocity before it). False when the
    // pass ends with the last.
    bool finishSteps(size_t count, size_t stride, const double* groundSums, const double* sidewaysSums,
                     const double* heights, const double* px, const double* py, const double* pz);

    // The state of the step the target row is filled from (z and t not kept in Deferred mode).
    StepState recordedState() const {
        return recordedSteps == steps_ ? StepState{d, z_, v.x, v.y, v.z, t_} : kept_;
    }
    // z and t after the first `steps` steps of a Deferred pass, added up as the pass would have.
    static void addUpSideways(const std::vector<SidewaysStep>& terms, size_t steps, double stepFeet, double& z,
                              double& t);

    const PassInputs in;

    // Between steps (the lane stepper keeps them in registers during a run of steps).
    Vec v{}, F{};
    double y = 0;
    double d = 0;
    CdSegment segment{};

    StepState state{};  // after the last step, in EveryStep mode
    bool onTolerance = false;
    // The last step whose corrector did not end exactly on the tolerance: the one the target row
    // is filled from (recordedSteps 0: none yet).
    size_t recordedSteps = 0;
    bool incomplete = false;  // a corrector gave up, or the pass was cut at kMaxPassMetres
    size_t firstIncomplete = SIZE_MAX;  // with heights: how many heights there were when it happened

private:
    bool finishStep(double groundSum, double sidewaysSum, double height, const Vec& p);
    // After the distance has grown by a step: false when the pass ends here.
    bool goesOn();

    CdLookup lookup_;
    EngineReporter* reporter_;
    std::vector<SidewaysStep>* deferred_;
    std::vector<double>* heights_;
    void (*onStep_)(void*, const Pass&) = nullptr;
    void* context_ = nullptr;
    int iterations_ = 0;
    size_t steps_ = 0;
    double z_ = 0, t_ = 0;
    StepState kept_{};
};

}  // namespace solve
