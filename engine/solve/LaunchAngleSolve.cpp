#include "LaunchAngleSolve.h"

#include "PassTrace.h"
#include "Paths.h"

namespace solve {

LaunchAngleSolve::LaunchAngleSolve(BallisticSolver& solver, double distance, const FirstPasses* traces)
    : s_(solver), distance_(distance), targetBefore_(solver.targetRow) {
    s_.prepareSolve(distance);
    // A solve at distance 0 is one table pass; leave it to the plain way.
    if (distance == 0) {
        result_ = s_.solvePassByPass(distance);
        done_ = true;
        return;
    }
    const size_t n = PassTrace::stepsFor(distance, s_.stepMetres);
    if (traces && s_.targetDistance != 0 && n <= traces->first.size() && n <= traces->second.size() &&
        traces->first.angle == 0 && traces->second.angle == 2) {
        // Every solve starts with these two passes; the muzzle row they write does not depend on
        // the launch angle.
        s_.writeMuzzleRow();
        for (const PassTrace* trace : {&traces->first, &traces->second}) {
            s_.endHeight = trace->heightAfter(n);
            if (!trace->completeAfter(n)) s_.converged = false;
            if (s_.finishPass(k_, distance, result_)) {
                // Ending on a traced pass: its target row was not kept, so solve the plain way.
                s_.targetRow = targetBefore_;
                result_ = s_.solvePassByPass(distance);
                done_ = true;
                return;
            }
        }
    }
    terms_.reserve(n);
    startPass();
}

void LaunchAngleSolve::startPass() {
    s_.writeMuzzleRow();
    pass_.emplace(s_, s_.solveDistance, Pass::Sideways::Deferred, &terms_);
}

void LaunchAngleSolve::passEnded() {
    s_.endHeight = pass_->y;
    if (pass_->incomplete) s_.converged = false;
    if (s_.finishPass(k_, distance_, result_))
        finish();
    else
        startPass();
}

void LaunchAngleSolve::finish() {
    done_ = true;
    if (pass_->recordedSteps == 0) {
        // The last pass filled nothing (every corrector ended exactly on the tolerance), so the
        // row would hold an earlier pass's values: solve again the plain way.
        s_.targetRow = targetBefore_;
        result_ = s_.solvePassByPass(distance_);
        return;
    }
    StepState st = pass_->recordedState();
    Pass::addUpSideways(terms_, pass_->recordedSteps, s_.stepFeet, st.z, st.t);
    s_.fillTargetFromStep(st);
    s_.applyZeroTargetDistance();
}

void LaunchAngleSolve::runTogether(LaunchAngleSolve* const* solves, size_t count) {
    Pass* passes[8];
    LaunchAngleSolve* owners[8];
    bool more[8];
    for (;;) {
        size_t active = 0;
        for (size_t i = 0; i < count && active < 8; ++i) {
            if (solves[i]->done()) continue;
            passes[active] = &solves[i]->pass();
            owners[active++] = solves[i];
        }
        if (active == 0) return;
        stepUntilOneEnds(passes, active, more);
        for (size_t i = 0; i < active; ++i)
            if (!more[i]) owners[i]->passEnded();
    }
}

double LaunchAngleSolve::solve(BallisticSolver& solver, double distance, const FirstPasses* traces) {
    LaunchAngleSolve one(solver, distance, traces);
    LaunchAngleSolve* solves[] = {&one};
    runTogether(solves, 1);
    return one.result();
}

}  // namespace solve
