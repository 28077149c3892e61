#include "Pass.h"

#include <cmath>
#include <limits>

#include "BallisticSolver.h"
#include "LaneStepper.h"

namespace solve {

namespace {
PassInputs inputsFrom(const BallisticSolver& s, double end) {
    // Bounds on V1² / V0² inside which h is surely below the tolerance; the 1e-12 margins dwarf
    // every rounding involved. (None for a tolerance they would not fit.)
    const double tolerance = s.tolerance;
    double lo = 1, hi = 0;
    if (tolerance > 0 && tolerance < 0.5) {
        lo = 1 / ((1 + tolerance) * (1 + tolerance)) * (1 + 1e-12);
        hi = 1 / ((1 - tolerance) * (1 - tolerance)) * (1 - 1e-12);
    }
    return {s.windRange,         s.windCross,     s.densityFactor * s.dragConstant / s.effectiveBC,
            s.airTemperatureF + 459.67,          s.temperatureLapse1,
            s.temperatureLapse2, s.densityLapse1, s.densityLapse2,
            s.soundSpeedFactor,  s.gravity,       tolerance,
            s.stepFeet,          s.stepMetres,    end,
            lo,                  hi};
}
}  // namespace

Pass::Pass(const BallisticSolver& s, double end, Sideways mode, std::vector<SidewaysStep>* deferred,
           std::vector<double>* heights)
    : in(inputsFrom(s, end)),
      lookup_(s.dragFunction),
      reporter_(s.reporter),
      deferred_(mode == Sideways::Deferred ? deferred : nullptr),
      heights_(heights) {
    if (deferred_) deferred_->clear();
    segment = lookup_.segment();
    // The launch angle turns into radians with this shorter constant.
    const double theta = s.launchAngle / 3437.74677;
    v = {std::cos(theta) * s.launchSpeed, std::sin(theta) * s.launchSpeed, 0};
    y = s.boreHeight / 12;
    // (The library's exponential: the paths that compute it inline give the same bits.)
    const Air<double> air = airAt(in, y, [](double x) { return std::exp(x); });
    const double V = sqrtOf(airspeedSquared(in, v));
    F = derivative(in, v, V, air, cdAt(V / air.soundSpeed));
}

double Pass::cdAt(double mach) {
    const double cd = lookup_.cdAt(mach, reporter_);
    segment = lookup_.segment();
    return cd;
}

bool Pass::needsAnotherIteration(double A1, double V0) {
    const double V0sq = V0 * V0;
    bool again = false;
    onTolerance = false;
    // (Only for a finite A1: with an infinite one the quotient is not a number.)
    if (!(A1 <= std::numeric_limits<double>::max() && A1 > V0sq * in.surelyBelowLo && A1 < V0sq * in.surelyBelowHi)) {
        const double V1 = std::sqrt(A1);
        const double h = std::fabs(V1 - V0) / V1;
        again = h > in.tolerance;
        onTolerance = h == in.tolerance;
    }
    if (again && ++iterations_ >= BallisticSolver::kMaxCorrectorIterations) {
        incomplete = true;
        return false;
    }
    return again;
}

inline bool Pass::finishStep(double groundSum, double sidewaysSum, double height, const Vec& p) {
    const double dBefore = d, zBefore = z_, tBefore = t_;
    d = d + in.stepMetres;
    y = height;
    if (deferred_) {
        deferred_->push_back({groundSum, sidewaysSum});
    } else {
        z_ = z_ + in.stepFeet * sidewaysSum / groundSum;
        t_ = t_ + 2 * in.stepFeet / groundSum;
    }
    // Before the step's velocity replaces the last one: when the step does not fill the target
    // row and the last one did, keep the last one's state.
    if (!onTolerance)
        recordedSteps = steps_ + 1;
    else if (recordedSteps == steps_ && steps_ > 0)
        kept_ = StepState{dBefore, zBefore, v.x, v.y, v.z, tBefore};
    ++steps_;
    iterations_ = 0;
    if (!deferred_) state = StepState{d, z_, p.x, p.y, p.z, t_};
    const bool more = goesOn();
    if (heights_) {
        heights_->push_back(height);
        if (incomplete && firstIncomplete == SIZE_MAX) firstIncomplete = heights_->size();
    }
    if (onStep_) onStep_(context_, *this);
    return more;
}

inline bool Pass::goesOn() {
    // Written so that a distance that is not a number ends the pass instead of never.
    if (!(d < in.end)) return false;
    if (d >= BallisticSolver::kMaxPassMetres) {
        incomplete = true;
        return false;
    }
    return true;
}

bool Pass::finishSteps(size_t count, size_t stride, const double* groundSums, const double* sidewaysSums,
                       const double* heights, const double* px, const double* py, const double* pz) {
    if (deferred_ && !onStep_ && !onTolerance && count > 0) {
        // The usual case in short: the steps of a Deferred pass, all filling the target row; only
        // the last of them can end the pass or find it incomplete (the lane stepper hands steps
        // over when one ends, and the correctors of these steps met their tests at once).
        const size_t last = (count - 1) * stride;
        for (size_t at = 0; at <= last; at += stride) {
            d = d + in.stepMetres;
            deferred_->push_back({groundSums[at], sidewaysSums[at]});
            if (heights_) heights_->push_back(heights[at]);
        }
        y = heights[last];
        steps_ += count;
        recordedSteps = steps_;
        iterations_ = 0;
        const bool more = goesOn();
        if (heights_ && incomplete && firstIncomplete == SIZE_MAX) firstIncomplete = heights_->size();
        return more;
    }
    bool more = true;
    for (size_t j = 0, at = 0; j < count; ++j, at += stride)
        more = finishStep(groundSums[at], sidewaysSums[at], heights[at], Vec{px[at], py[at], pz[at]});
    onTolerance = false;  // until a corrector says otherwise
    return more;
}

void Pass::addUpSideways(const std::vector<SidewaysStep>& terms, size_t steps, double stepFeet, double& z,
                         double& t) {
    z = 0;
    t = 0;
    // The quotients of a stretch first (independent of each other, so they can be taken several
    // at a time), then the sums in order.
    constexpr size_t kStretch = 64;
    double zTerms[kStretch], tTerms[kStretch];
    for (size_t first = 0; first < steps; first += kStretch) {
        const size_t count = steps - first < kStretch ? steps - first : kStretch;
        const SidewaysStep* at = terms.data() + first;
        for (size_t n = 0; n < count; ++n) {
            zTerms[n] = stepFeet * at[n].sidewaysSum / at[n].groundSum;
            tTerms[n] = 2 * stepFeet / at[n].groundSum;
        }
        for (size_t n = 0; n < count; ++n) {
            z = z + zTerms[n];
            t = t + tTerms[n];
        }
    }
}

}  // namespace solve
