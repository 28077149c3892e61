#pragma once
// The integration step, written once over a lane type (Lanes.h): each lane steps a pass of its
// own, with the same operations in the same order as every other lane, so each pass gets the bits
// it gets alone. The Cd lookup and the exponential are per lane; the rare further corrector
// iterations are done one lane at a time with the same formulas on doubles. Included by each
// path's translation unit (and by Pass.cpp for the first derivative); internal linkage throughout.
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>

#include "FusedExp.h"
#include "Lanes.h"
#include "BallisticSolver.h"
#include "Pass.h"

namespace solve {
namespace {

template <class L>
struct Air {
    L soundSpeed;  // ft/s, at the height
    L density;     // relative to the ground
};

// The physics of a step.
template <class L, class Exp>
Air<L> airAt(const Inputs<L>& c, L height, Exp&& exp) {
    const L T = c.T0 * exp((c.temperatureLapse1 + c.temperatureLapse2 * height) * height);
    return {sqrtOf(T) * c.soundSpeedFactor, exp((c.densityLapse1 + c.densityLapse2 * height) * height)};
}

template <class L>
L airspeedSquared(const Inputs<L>& c, const Vec3<L>& u) {
    const L ax = u.x - c.windRange;
    const L az = u.z - c.windCross;
    return ax * ax + u.y * u.y + az * az;
}

// Derivative of the velocity with respect to x at velocity u (airspeed V, drag coefficient cd).
template <class L>
Vec3<L> derivative(const Inputs<L>& c, const Vec3<L>& u, L V, const Air<L>& air, L cd) {
    const L U = cd * c.K * V * air.density / u.x;
    return {(u.x - c.windRange) * U, U * u.y - c.gravity / u.x, U * (u.z - c.windCross)};
}

template <class L>
Vec3<L> predicted(const Inputs<L>& c, const Vec3<L>& v, const Vec3<L>& F) {
    const L step = c.stepFeet;
    return {v.x + step * F.x, v.y + step * F.y, v.z + step * F.z};
}

template <class L>
Vec3<L> corrected(const Inputs<L>& c, const Vec3<L>& v, const Vec3<L>& F, const Vec3<L>& G) {
    const L step = c.stepFeet;
    return {v.x + step * (G.x + F.x) / 2, v.y + step * (G.y + F.y) / 2, v.z + step * (G.z + F.z) / 2};
}

// The corrector iterations after the first, for one pass: from the corrected velocity p and the
// derivative G of the first one, until the test is met (rare: the first one nearly always is).
inline void correctFurther(Pass& pass, const Vec3<double>& v, const Vec3<double>& F, const Air<double>& air,
                           Vec3<double>& p, Vec3<double>& G) {
    const Inputs<double>& c = pass.in;
    bool again = true;
    while (again) {
        const double V0 = sqrtOf(airspeedSquared(c, p));
        G = derivative(c, p, V0, air, pass.cdAt(V0 / air.soundSpeed));
        p = corrected(c, v, F, G);
        again = pass.needsAnotherIteration(airspeedSquared(c, p), V0);
    }
}

// Up to widthOf<L> passes stepped side by side, their state in lanes from step to step. What each
// step leaves for the passes' bookkeeping is kept in a block and handed over every kBlock steps
// (and whenever a pass ends or a corrector needs more than its quick test), so that the steps run
// without calls; finish() hands over the rest and writes the state back into the passes. Lanes
// past the passes given repeat the last pass and are ignored.
template <class L, class Exp>
class LaneStepper {
public:
    static constexpr size_t kWidth = widthOf<L>;
    static constexpr size_t kBlock = 16;

    LaneStepper(Pass* const* passes, size_t count, Exp exp) : count_(count), exp_(exp), idle_(idleLanes<L>(count)) {
        for (size_t i = 0; i < kWidth; ++i) passes_[i] = passes[i < count ? i : count - 1];
        auto of = [&](auto get) { return lanesOf<L>(count, [&](size_t i) { return get(*passes_[i]); }); };
        auto input = [&](double Inputs<double>::*m) { return of([m](const Pass& p) { return p.in.*m; }); };
        using I = Inputs<double>;
        c_ = {input(&I::windRange),     input(&I::windCross),     input(&I::K),
              input(&I::T0),            input(&I::temperatureLapse1), input(&I::temperatureLapse2),
              input(&I::densityLapse1), input(&I::densityLapse2), input(&I::soundSpeedFactor),
              input(&I::gravity),       input(&I::tolerance),     input(&I::stepFeet),
              input(&I::stepMetres),    input(&I::end),           input(&I::surelyBelowLo),
              input(&I::surelyBelowHi)};
        auto vec = [&](Vec Pass::*m) {
            return Vec3<L>{of([m](const Pass& p) { return (p.*m).x; }), of([m](const Pass& p) { return (p.*m).y; }),
                           of([m](const Pass& p) { return (p.*m).z; })};
        };
        v_ = vec(&Pass::v);
        F_ = vec(&Pass::F);
        y_ = of([](const Pass& p) { return p.y; });
        d_ = of([](const Pass& p) { return p.d; });
        for (size_t i = 0; i < kWidth; ++i) {
            loadSegment(i);
            more_[i] = true;
        }
    }

    // One step of every pass; false when one of them (or more) ends with it.
    bool step() {
        const Inputs<L>& c = c_;
        const Air<L> air = airAt(c, y_, [this](L x) { return expOf(x); });
        // Predictor, then V0, the derivative G at p and the corrected p.
        Vec3<L> p = predicted(c, v_, F_);
        const L V0 = sqrtOf(airspeedSquared(c, p));
        Vec3<L> G = derivative(c, p, V0, air, cdAt(V0 / air.soundSpeed));
        p = corrected(c, v_, F_, G);
        const L A1 = airspeedSquared(c, p);
        const L V0sq = V0 * V0;
        const MaskOf<L> surelyMet = (A1 > V0sq * c.surelyBelowLo) & (A1 < V0sq * c.surelyBelowHi) &
                                    (A1 <= std::numeric_limits<double>::max());
        const bool quiet = allOf(surelyMet, idle_);
        if (!quiet) {
            handOver();
            for (size_t i = 0; i < count_; ++i) {
                Pass& pass = *passes_[i];
                if (!pass.needsAnotherIteration(lane(A1, i), lane(V0, i))) continue;
                // Rare: more corrector iterations, this pass on its own.
                Vec3<double> pi = laneOf(p, i), Gi = laneOf(G, i);
                const Air<double> airI{lane(air.soundSpeed, i), lane(air.density, i)};
                correctFurther(pass, laneOf(v_, i), laneOf(F_, i), airI, pi, Gi);
                setLaneOf(p, i, pi);
                setLaneOf(G, i, Gi);
                loadSegment(i);
            }
        }

        // Advance.
        const L groundSum = v_.x + p.x;
        const L height = y_ + c.stepFeet * (v_.y + p.y) / groundSum;
        const L sidewaysSum = v_.z + p.z;
        d_ = d_ + c.stepMetres;
        const MaskOf<L> going = (d_ < c.end) & (d_ < BallisticSolver::kMaxPassMetres);
        const size_t n = pending_++;
        store(groundSums_[n], groundSum);
        store(sidewaysSums_[n], sidewaysSum);
        store(heights_[n], height);
        store(px_[n], p.x);
        store(py_[n], p.y);
        store(pz_[n], p.z);
        bool all = true;
        if (!quiet) {
            // The record may need the last velocity.
            for (size_t i = 0; i < count_; ++i)
                if (passes_[i]->onTolerance) passes_[i]->v = laneOf(v_, i);
        }
        if (!quiet || pending_ == kBlock || !allOf(going, idle_)) all = handOver();
        y_ = height;
        v_ = p;
        F_ = G;
        return all;
    }

    // Hands over the steps not yet bookkept and writes the state back into the passes; more[i]
    // tells which go on.
    void finish(bool* more) {
        handOver();
        for (size_t i = 0; i < count_; ++i) {
            Pass& pass = *passes_[i];
            pass.v = laneOf(v_, i);
            pass.F = laneOf(F_, i);
            pass.y = lane(y_, i);
            more[i] = more_[i];
        }
    }

private:
    // The block's steps to the passes; false when one of them ended.
    bool handOver() {
        bool all = true;
        if (pending_ == 0) return all;
        for (size_t i = 0; i < count_; ++i) {
            more_[i] = passes_[i]->finishSteps(pending_, kWidth, &groundSums_[0][i], &sidewaysSums_[0][i],
                                               &heights_[0][i], &px_[0][i], &py_[0][i], &pz_[0][i]);
            all = all && more_[i];
        }
        pending_ = 0;
        return all;
    }

    static void store(double (&out)[kWidth], L value) { std::memcpy(out, &value, sizeof value); }

    L expOf(L x) const {
        if constexpr (std::is_invocable_r_v<L, const Exp&, L>) {
            return exp_(x);  // the path's exponential takes whole registers
        } else {
            L out{};
            for (size_t i = 0; i < kWidth; ++i) setLane(out, i, exp_(lane(x, i)));
            return out;
        }
    }

    // Cd lane by lane: at once while each Mach number stays in its segment of the table.
    L cdAt(L M) {
        const MaskOf<L> inside = (M <= segUpper_) & (M > segLower_);
        if (allOf(inside, idle_)) return segCd_ + segSlope_ * (M - segLower_);
        L cd{};
        for (size_t i = 0; i < count_; ++i) {
            setLane(cd, i, passes_[i]->cdAt(lane(M, i)));
            loadSegment(i);
        }
        return cd;
    }

    void loadSegment(size_t i) {
        const CdSegment& s = passes_[i]->segment;
        setLane(segLower_, i, s.lower);
        setLane(segUpper_, i, s.upper);
        setLane(segCd_, i, s.cdLower);
        setLane(segSlope_, i, s.slope);
    }

    static Vec3<double> laneOf(const Vec3<L>& u, size_t i) { return {lane(u.x, i), lane(u.y, i), lane(u.z, i)}; }
    static void setLaneOf(Vec3<L>& u, size_t i, const Vec3<double>& value) {
        setLane(u.x, i, value.x);
        setLane(u.y, i, value.y);
        setLane(u.z, i, value.z);
    }

    Pass* passes_[kWidth];
    size_t count_;
    Exp exp_;
    MaskOf<L> idle_;
    Inputs<L> c_;
    Vec3<L> v_, F_;
    L y_, d_;
    L segLower_{}, segUpper_{}, segCd_{}, segSlope_{};
    bool more_[kWidth];
    size_t pending_ = 0;
    alignas(32) double groundSums_[kBlock][kWidth];
    alignas(32) double sidewaysSums_[kBlock][kWidth];
    alignas(32) double heights_[kBlock][kWidth];
    alignas(32) double px_[kBlock][kWidth];
    alignas(32) double py_[kBlock][kWidth];
    alignas(32) double pz_[kBlock][kWidth];
};

// Steps up to 16 passes, in groups of the lane width, until one of them ends.
template <class L, class Exp>
void stepUntilOneEndsIn(Pass* const* passes, size_t count, bool* more, Exp exp) {
    using Stepper = LaneStepper<L, Exp>;
    constexpr size_t W = Stepper::kWidth;
    constexpr size_t kMaxGroups = (16 + W - 1) / W;
    const size_t groups = (count + W - 1) / W;
    alignas(Stepper) unsigned char storage[kMaxGroups][sizeof(Stepper)];
    Stepper* steppers[kMaxGroups];
    for (size_t g = 0; g < groups; ++g) {
        const size_t first = g * W;
        steppers[g] = new (storage[g]) Stepper(passes + first, count - first < W ? count - first : W, exp);
    }
    bool going = true;
    while (going)
        for (size_t g = 0; g < groups; ++g) going = steppers[g]->step() && going;
    for (size_t g = 0; g < groups; ++g) {
        steppers[g]->finish(more + g * W);
        steppers[g]->~Stepper();
    }
}

}  // namespace
}  // namespace solve
