#pragma once
#include <cmath>
#include <limits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "BallisticSolver.h"
#include "CdLookup.h"
#include "FusedExp.h"

struct Vec {
    double x, y, z;
};

// What a pass keeps of a step for the target row: the values the row is filled from.
struct StepState {
    double d, z, vx, vy, vz, t;
};

// What a step adds to the sideways drift and the time of flight, for passes that add them up only
// when they turn out to be needed (see PassStepper::Sideways::Deferred).
struct SidewaysStep {
    double groundSum;   // vx + px, ft/s
    double sidewaysSum; // vz + pz, ft/s
};

// One pass of the integrator, one step at a time. Everything the steps read is copied in at the
// start: the pass sees the solver as it was when the pass began.
//
// Two things are done with less work than the plain formulas suggest, with the same results bit
// for bit:
// - the corrector's test h = |V1 - V0| / V1 > tolerance is decided from V1 squared when that is
//   clearly on one side (it nearly always is); only near the limit are the root and the quotient
//   taken;
// - in Deferred mode the sideways drift z and the time t, which nothing in the pass reads, are not
//   added up; each step keeps its two terms so that they can be added up afterwards, in the same
//   order, for the one pass whose target row is wanted.
class PassStepper {
public:
    enum class Sideways { EveryStep, Deferred };

    PassStepper(const BallisticSolver& s, double end, Sideways mode = Sideways::EveryStep,
                std::vector<SidewaysStep>* deferred = nullptr)
        : lookup_(s.dragFunction),
          reporter_(s.reporter),
          windRange_(s.windRange),
          windCross_(s.windCross),
          K_(s.densityFactor * s.dragConstant / s.effectiveBC),
          T0_(s.airTemperatureF + 459.67),
          temperatureLapse1_(s.temperatureLapse1),
          temperatureLapse2_(s.temperatureLapse2),
          densityLapse1_(s.densityLapse1),
          densityLapse2_(s.densityLapse2),
          soundSpeedFactor_(s.soundSpeedFactor),
          gravity_(s.gravity),
          tolerance_(s.tolerance),
          stepFeet_(s.stepFeet),
          stepMetres_(s.stepMetres),
          end_(end),
          deferred_(mode == Sideways::Deferred ? deferred : nullptr) {
        if (deferred_) deferred_->clear();
        // Bounds on V1² / V0² inside which h is surely below the tolerance, and outside which it
        // is surely above; the 1e-12 margins dwarf every rounding involved.
        if (tolerance_ > 0 && tolerance_ < 0.5) {
            const double lo = 1 / ((1 + tolerance_) * (1 + tolerance_));
            const double hi = 1 / ((1 - tolerance_) * (1 - tolerance_));
            surelyBelowLo_ = lo * (1 + 1e-12);
            surelyBelowHi_ = hi * (1 - 1e-12);
            surelyAboveLo_ = lo * (1 - 1e-12);
            surelyAboveHi_ = hi * (1 + 1e-12);
            quickTest_ = true;
        }
        // The launch angle turns into radians with this shorter constant.
        const double theta = s.launchAngle / 3437.74677;
        v_ = {std::cos(theta) * s.launchSpeed, std::sin(theta) * s.launchSpeed, 0};
        y = s.boreHeight / 12;
        const Air air = airAt(y);
        F_ = derivative(v_, std::sqrt(airspeedSquared(v_)), air);
    }

    // One step. Afterwards `state` (z and t only in EveryStep mode), `y` and `onTolerance`
    // describe it; returns false when the pass ends with this step.
    bool step() {
        beginStep();
        while (correctOnce()) {
        }
        return endStep();
    }

    // The step in its phases: beginStep, correctOnce until it returns false, endStep (PassPair
    // and runToEnd do the same with the state in registers).
    void beginStep() {
        previousD_ = d_;
        previousZ_ = z_;
        previousT_ = t_;
        d_ = d_ + stepMetres_;
        const double step = stepFeet_;
        p_ = {v_.x + step * F_.x, v_.y + step * F_.y, v_.z + step * F_.z};
        // The derivative is taken at the height of the start of the step in every iteration.
        air_ = airAt(y);
        iterations_ = 0;
    }

    // One corrector iteration; true when another is needed.
    bool correctOnce() {
        const double step = stepFeet_;
        const Vec& v = v_;
        const Vec& F = F_;
        const double V0 = std::sqrt(airspeedSquared(p_));
        G_ = derivative(p_, V0, air_);
        const Vec& G = G_;
        p_ = {v.x + step * (G.x + F.x) / 2, v.y + step * (G.y + F.y) / 2, v.z + step * (G.z + F.z) / 2};
        return needsAnotherIteration(airspeedSquared(p_), V0);
    }

    // From V0 and the squared airspeed of the new p: whether the corrector must go on.
    bool needsAnotherIteration(double A1, double V0) {
        const double V0sq = V0 * V0;
        bool again;
        // (Only for a finite A1: with an infinite one the quotient is not a number.)
        const bool quick = quickTest_ && A1 <= std::numeric_limits<double>::max();
        if (quick && A1 > V0sq * surelyBelowLo_ && A1 < V0sq * surelyBelowHi_) {
            again = false;
            onTolerance = false;
        } else if (quick && (A1 < V0sq * surelyAboveLo_ || A1 > V0sq * surelyAboveHi_)) {
            again = true;
            onTolerance = false;
        } else {
            const double V1 = std::sqrt(A1);
            const double h = std::fabs(V1 - V0) / V1;
            again = h > tolerance_;
            onTolerance = h == tolerance_;
        }
        if (again && ++iterations_ >= BallisticSolver::kMaxCorrectorIterations) {
            incomplete = true;
            return false;
        }
        return again;
    }

    bool endStep() {
        advance();
        return finishStep();
    }

    // Moves the bullet over the step with the corrected velocity p.
    void advance() {
        const double step = stepFeet_;
        const Vec& v = v_;
        const Vec& p = p_;
        const double groundSum = v.x + p.x;
        y = y + step * (v.y + p.y) / groundSum;
        if (deferred_) {
            deferred_->push_back({groundSum, v.z + p.z});
        } else {
            z_ = z_ + step * (v.z + p.z) / groundSum;
            t_ = t_ + 2 * step / groundSum;
        }
    }

    // The step's bookkeeping; false when the pass ends with it.
    bool finishStep() {
        noteRecord();
        v_ = p_;
        F_ = G_;
        ++steps_;
        if (!deferred_) state = StepState{d_, z_, p_.x, p_.y, p_.z, t_};
        return notAtEnd();
    }

    // Before a step's velocity replaces the last one: when the step does not fill the target
    // row and the last one did, keep the last one's state.
    void noteRecord() {
        if (!onTolerance)
            recordedSteps = steps_ + 1;
        else if (recordedSteps == steps_ && steps_ > 0)
            kept_ = StepState{previousD_, previousZ_, v_.x, v_.y, v_.z, previousT_};
    }

    bool notAtEnd() {
        // Written so that a distance that is not a number ends the pass instead of never.
        if (!(d_ < end_)) return false;
        if (d_ >= BallisticSolver::kMaxPassMetres) {
            incomplete = true;
            return false;
        }
        return true;
    }

    // Steps independent passes side by side until one of them ends; `more[i]` tells which are
    // still going. Two Deferred passes go in the two halves of SSE2 registers (see PassPair).
    static void stepUntilOneEnds(PassStepper* const* passes, size_t count, bool* more);

    // A Deferred pass to its end, its state kept in registers from step to step: step() over and
    // over, with the same operations in the same order.
    void runToEnd() {
        const double step = stepFeet_;
        Vec v = v_, F = F_;
        double height = y;
        for (;;) {
            previousD_ = d_;
            d_ = d_ + stepMetres_;
            const Air air = airAt(height);
            iterations_ = 0;
            Vec p{v.x + step * F.x, v.y + step * F.y, v.z + step * F.z};
            const double V0 = std::sqrt(airspeedSquared(p));
            Vec G = derivative(p, V0, air);
            p = {v.x + step * (G.x + F.x) / 2, v.y + step * (G.y + F.y) / 2, v.z + step * (G.z + F.z) / 2};
            bool again = needsAnotherIteration(airspeedSquared(p), V0);
            if (again) {
                v_ = v;
                F_ = F;
                p_ = p;
                G_ = G;
                air_ = air;
                while (again) again = correctOnce();
                p = p_;
                G = G_;
            }
            const double groundSum = v.x + p.x;
            height = height + step * (v.y + p.y) / groundSum;
            deferred_->push_back({groundSum, v.z + p.z});
            if (onTolerance) v_ = v;  // the record may need the last velocity
            noteRecord();
            v = p;
            F = G;
            ++steps_;
            if (!notAtEnd()) break;
        }
        v_ = v;
        F_ = F;
        y = height;
    }


    // Distance and velocity after the last step (z and t are not kept in Deferred mode).
    StepState lastStep() const { return StepState{d_, z_, v_.x, v_.y, v_.z, t_}; }

    // z and t after the first `steps` steps of a Deferred pass, added up as the pass would have.
    static void addUpSideways(const std::vector<SidewaysStep>& terms, size_t steps, double stepFeet, double& z,
                              double& t) {
        z = 0;
        t = 0;
        for (size_t n = 0; n < steps; ++n) {
            z = z + stepFeet * terms[n].sidewaysSum / terms[n].groundSum;
            t = t + 2 * stepFeet / terms[n].groundSum;
        }
    }

    StepState state{};
    double y = 0;
    bool onTolerance = false;
    // The last step whose corrector did not end exactly on the tolerance: the one the target row
    // is filled from (recordedSteps 0: none yet).
    size_t recordedSteps = 0;
    // The state of that step.
    StepState recordedState() const { return recordedSteps == steps_ ? lastStep() : kept_; }
    bool incomplete = false;  // a corrector gave up, or the pass was cut at kMaxPassMetres

private:
    friend class PassPair;

    struct Air {
        double soundSpeed;  // ft/s, at the height
        double density;     // relative to the ground
    };

    double exp(double x) const { return fusedExp_ ? fused_exp::exp(x) : std::exp(x); }

    Air airAt(double height) const {
        const double T = T0_ * exp((temperatureLapse1_ + temperatureLapse2_ * height) * height);
        return {std::sqrt(T) * soundSpeedFactor_, exp((densityLapse1_ + densityLapse2_ * height) * height)};
    }

    double airspeedSquared(const Vec& u) const {
        const double ax = u.x - windRange_;
        const double az = u.z - windCross_;
        return ax * ax + u.y * u.y + az * az;
    }

    // Derivative of the velocity with respect to x at velocity u (airspeed V).
    Vec derivative(const Vec& u, double V, const Air& air) {
        const double M = V / air.soundSpeed;
        const double cd = lookup_.cdAt(M, reporter_);
        const double U = cd * K_ * V * air.density / u.x;
        return {(u.x - windRange_) * U, U * u.y - gravity_ / u.x, U * (u.z - windCross_)};
    }

    CdLookup lookup_;
    EngineReporter* reporter_;
    const double windRange_, windCross_, K_, T0_;
    const double temperatureLapse1_, temperatureLapse2_, densityLapse1_, densityLapse2_;
    const double soundSpeedFactor_, gravity_, tolerance_, stepFeet_, stepMetres_, end_;
    std::vector<SidewaysStep>* deferred_;
    const bool fusedExp_ = fused_exp::usable();
    bool quickTest_ = false;
    double surelyBelowLo_ = 0, surelyBelowHi_ = 0, surelyAboveLo_ = 0, surelyAboveHi_ = 0;
    Vec v_{}, F_{}, p_{}, G_{};
    Air air_{};
    int iterations_ = 0;
    size_t steps_ = 0;
    double z_ = 0, t_ = 0, d_ = 0;
    StepState kept_{};
    double previousD_ = 0, previousZ_ = 0, previousT_ = 0;  // before the step under way
};

#if defined(__SSE2__)
// Two Deferred passes stepped together: the arithmetic of each step's first corrector iteration
// and of the advance is done on both in the two halves of SSE2 registers, where their state stays
// from step to step (it is written back to the passes by store(), and on destruction). Every packed
// operation is the same IEEE operation as its scalar one, in the same order, so each pass gets the
// bits it gets alone; the two chains of dependent operations overlap.
class PassPair {
public:
    PassPair(PassStepper& a, PassStepper& b)
        : a_(a),
          b_(b),
          step_(pair(a.stepFeet_, b.stepFeet_)),
          wr_(pair(a.windRange_, b.windRange_)),
          wc_(pair(a.windCross_, b.windCross_)),
          K_(pair(a.K_, b.K_)),
          gravity_(pair(a.gravity_, b.gravity_)),
          vx_(pair(a.v_.x, b.v_.x)),
          vy_(pair(a.v_.y, b.v_.y)),
          vz_(pair(a.v_.z, b.v_.z)),
          Fx_(pair(a.F_.x, b.F_.x)),
          Fy_(pair(a.F_.y, b.F_.y)),
          Fz_(pair(a.F_.z, b.F_.z)),
          y_(pair(a.y, b.y)) {}
    PassPair(const PassPair&) = delete;
    PassPair& operator=(const PassPair&) = delete;
    ~PassPair() { store(); }

    // The height of pass 0 or 1 after the last step.
    double height(int lane) const { return lane == 0 ? first(y_) : second(y_); }

    // Writes the state kept here back into the two passes.
    void store() {
        storeLane(a_, 0);
        storeLane(b_, 1);
    }

    void step(bool& moreA, bool& moreB) {
        PassStepper& a = a_;
        PassStepper& b = b_;
        // The air at the heights the steps start from.
        a.air_ = a.airAt(first(y_));
        b.air_ = b.airAt(second(y_));
        a.previousD_ = a.d_;
        b.previousD_ = b.d_;
        a.d_ = a.d_ + a.stepMetres_;
        b.d_ = b.d_ + b.stepMetres_;
        a.iterations_ = b.iterations_ = 0;

        // Predictor, then V0, the derivative G at p and the corrected p.
        v2 px = _mm_add_pd(vx_, _mm_mul_pd(step_, Fx_));
        v2 py = _mm_add_pd(vy_, _mm_mul_pd(step_, Fy_));
        v2 pz = _mm_add_pd(vz_, _mm_mul_pd(step_, Fz_));
        v2 ax = _mm_sub_pd(px, wr_), az = _mm_sub_pd(pz, wc_);
        const v2 V0 = _mm_sqrt_pd(_mm_add_pd(_mm_add_pd(_mm_mul_pd(ax, ax), _mm_mul_pd(py, py)), _mm_mul_pd(az, az)));
        const v2 M = _mm_div_pd(V0, pair(a.air_.soundSpeed, b.air_.soundSpeed));
        const v2 cd = pair(a.lookup_.cdAt(first(M), a.reporter_), b.lookup_.cdAt(second(M), b.reporter_));
        const v2 U = _mm_div_pd(
            _mm_mul_pd(_mm_mul_pd(_mm_mul_pd(cd, K_), V0), pair(a.air_.density, b.air_.density)), px);
        v2 Gx = _mm_mul_pd(ax, U);
        v2 Gy = _mm_sub_pd(_mm_mul_pd(U, py), _mm_div_pd(gravity_, px));
        v2 Gz = _mm_mul_pd(U, az);
        // Halving by a multiplication: x * 0.5 and x / 2 are the same number, bit for bit.
        const v2 half = _mm_set1_pd(0.5);
        px = _mm_add_pd(vx_, _mm_mul_pd(_mm_mul_pd(step_, _mm_add_pd(Gx, Fx_)), half));
        py = _mm_add_pd(vy_, _mm_mul_pd(_mm_mul_pd(step_, _mm_add_pd(Gy, Fy_)), half));
        pz = _mm_add_pd(vz_, _mm_mul_pd(_mm_mul_pd(step_, _mm_add_pd(Gz, Fz_)), half));
        ax = _mm_sub_pd(px, wr_);
        az = _mm_sub_pd(pz, wc_);
        const v2 A1 = _mm_add_pd(_mm_add_pd(_mm_mul_pd(ax, ax), _mm_mul_pd(py, py)), _mm_mul_pd(az, az));
        bool againA = a.needsAnotherIteration(first(A1), first(V0));
        bool againB = b.needsAnotherIteration(second(A1), second(V0));
        if (againA || againB) {
            // Rare: more corrector iterations, each pass on its own.
            store();
            a.p_ = {first(px), first(py), first(pz)};
            b.p_ = {second(px), second(py), second(pz)};
            a.G_ = {first(Gx), first(Gy), first(Gz)};
            b.G_ = {second(Gx), second(Gy), second(Gz)};
            while (againA) againA = a.correctOnce();
            while (againB) againB = b.correctOnce();
            px = pair(a.p_.x, b.p_.x);
            py = pair(a.p_.y, b.p_.y);
            pz = pair(a.p_.z, b.p_.z);
            Gx = pair(a.G_.x, b.G_.x);
            Gy = pair(a.G_.y, b.G_.y);
            Gz = pair(a.G_.z, b.G_.z);
        }

        // Advance; the sideways terms are kept for later.
        const v2 groundSum = _mm_add_pd(vx_, px);
        y_ = _mm_add_pd(y_, _mm_div_pd(_mm_mul_pd(step_, _mm_add_pd(vy_, py)), groundSum));
        const v2 sideways = _mm_add_pd(vz_, pz);
        a.deferred_->push_back({first(groundSum), first(sideways)});
        b.deferred_->push_back({second(groundSum), second(sideways)});
        if (a.onTolerance || b.onTolerance) store();  // the record may need the last velocity
        a.noteRecord();
        b.noteRecord();
        vx_ = px;
        vy_ = py;
        vz_ = pz;
        Fx_ = Gx;
        Fy_ = Gy;
        Fz_ = Gz;
        ++a.steps_;
        ++b.steps_;
        moreA = a.notAtEnd();
        moreB = b.notAtEnd();
    }

private:
    using v2 = __m128d;
    static v2 pair(double x, double y) { return _mm_set_pd(y, x); }
    static double first(v2 v) { return _mm_cvtsd_f64(v); }
    static double second(v2 v) { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
    static double lane(v2 v, int i) { return i == 0 ? first(v) : second(v); }

    void storeLane(PassStepper& s, int i) {
        s.v_ = {lane(vx_, i), lane(vy_, i), lane(vz_, i)};
        s.F_ = {lane(Fx_, i), lane(Fy_, i), lane(Fz_, i)};
        s.y = lane(y_, i);
    }

    PassStepper& a_;
    PassStepper& b_;
    const v2 step_, wr_, wc_, K_, gravity_;
    v2 vx_, vy_, vz_, Fx_, Fy_, Fz_, y_;
};
#endif

inline void PassStepper::stepUntilOneEnds(PassStepper* const* passes, size_t count, bool* more) {
#if defined(__SSE2__)
    if (count == 2 && passes[0]->deferred_ && passes[1]->deferred_) {
        PassPair pair(*passes[0], *passes[1]);
        do pair.step(more[0], more[1]);
        while (more[0] && more[1]);
        return;
    }
#endif
    if (count == 1 && passes[0]->deferred_) {
        passes[0]->runToEnd();
        more[0] = false;
        return;
    }
    bool all = true;
    while (all) {
        for (size_t i = 0; i < count; ++i) {
            more[i] = passes[i]->step();
            all = all && more[i];
        }
    }
}
