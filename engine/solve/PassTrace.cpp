#include "PassTrace.h"

#include <cmath>
#include <cstring>
#include <optional>

#include "BallisticSolver.h"
#include "LaunchAngleSolve.h"
#include "Pass.h"
#include "Paths.h"

namespace solve {

size_t PassTrace::stepsFor(double distance, double stepMetres) {
    // Count the way a pass counts: one step at least, then on while below the distance. With the
    // usual one-metre step that is the distance rounded up.
    if (stepMetres == 1.0 && distance > 1 && distance <= BallisticSolver::kMaxPassMetres)
        return static_cast<size_t>(std::ceil(distance));
    double d = stepMetres;
    size_t n = 1;
    while (d < distance && d < BallisticSolver::kMaxPassMetres) d = d + stepMetres, ++n;
    return n;
}

BallisticSolver withoutRows(BallisticSolver& solver) {
    // Rather than copy the rows only to throw them away, move them aside for the copy and back.
    std::vector<ResultsElement> kept = std::move(solver.rows);
    solver.rows.clear();
    BallisticSolver copy = solver;
    solver.rows = std::move(kept);
    return copy;
}

FirstPasses traceFirstPasses(BallisticSolver& solver, double maxMetres) {
    // Two copies prepared as a solve prepares them, launched at 0 and 2 MOA, stepped side by side.
    BallisticSolver copies[2] = {withoutRows(solver), withoutRows(solver)};
    FirstPasses out;
    PassTrace* traces[2] = {&out.first, &out.second};
    std::vector<SidewaysStep> terms[2];  // not wanted, but a Deferred pass keeps them
    std::optional<Pass> passes[2];
    const size_t expected = PassTrace::stepsFor(maxMetres, solver.stepMetres);
    for (int i = 0; i < 2; ++i) {
        LaunchAngleSolve::prepare(copies[i], maxMetres);
        copies[i].launchAngle = i == 0 ? 0 : 2;
        traces[i]->angle = copies[i].launchAngle;
        traces[i]->heights.reserve(expected);
        terms[i].reserve(expected);
        passes[i].emplace(copies[i], maxMetres, Pass::Sideways::Deferred, &terms[i], &traces[i]->heights);
    }
    Pass* both[2] = {&*passes[0], &*passes[1]};
    bool more[2];
    stepUntilOneEnds(both, 2, more);
    for (int i = 0; i < 2; ++i) traces[i]->firstIncomplete = passes[i]->firstIncomplete;
    return out;
}

bool samePassInputs(BallisticSolver& a, BallisticSolver& b) {
    BallisticSolver x = withoutRows(a), y = withoutRows(b);
    x.reporter = y.reporter = nullptr;
    LaunchAngleSolve::prepare(x, 1);
    LaunchAngleSolve::prepare(y, 1);
    auto same = [](double p, double q) { return std::memcmp(&p, &q, sizeof p) == 0; };
    const double BallisticSolver::*fields[] = {
        &BallisticSolver::launchSpeed,       &BallisticSolver::boreHeight,        &BallisticSolver::windRange,
        &BallisticSolver::windCross,         &BallisticSolver::densityFactor,     &BallisticSolver::effectiveBC,
        &BallisticSolver::airTemperatureF,   &BallisticSolver::tolerance,         &BallisticSolver::stepFeet,
        &BallisticSolver::stepMetres,        &BallisticSolver::temperatureLapse1, &BallisticSolver::temperatureLapse2,
        &BallisticSolver::densityLapse1,     &BallisticSolver::densityLapse2,     &BallisticSolver::dragConstant,
        &BallisticSolver::soundSpeedFactor,  &BallisticSolver::gravity,
    };
    for (auto field : fields)
        if (!same(x.*field, y.*field)) return false;
    const auto& p = x.dragFunction.points;
    const auto& q = y.dragFunction.points;
    return p.size() == q.size() && (p.empty() || std::memcmp(p.data(), q.data(), p.size() * sizeof p[0]) == 0);
}

}  // namespace solve
