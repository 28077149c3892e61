#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class BallisticSolver;

namespace solve {

// What a single-distance pass at one launch angle gives at each whole metre: the height that
// would end a pass there. (A solve that ends on one of these passes, which hardly ever happens,
// is done again the plain way for its target row.)
class PassTrace {
public:
    double angle = 0.0;  // launch angle, MOA

    size_t size() const { return heights.size(); }
    // Height above the line of sight, ft, after n steps (1 <= n <= size()).
    double heightAfter(size_t n) const { return heights[n - 1]; }
    // Whether every corrector of the first n steps met its tolerance within the limit.
    bool completeAfter(size_t n) const { return n < firstIncomplete; }

    // Number of steps of a single-distance pass to this distance.
    static size_t stepsFor(double distance, double stepMetres);

    std::vector<double> heights;
    size_t firstIncomplete = SIZE_MAX;
};

// The traces of the two passes every solve starts with: launch angle 0, then 2 MOA.
struct FirstPasses {
    PassTrace first;
    PassTrace second;
};

// The first two passes of every solve on this solver's inputs, to maxMetres, keeping what each
// whole metre gives. The solver is left as it was.
FirstPasses traceFirstPasses(BallisticSolver& solver, double maxMetres);

// A copy of the solver with no rows (they only grow and nothing reads them back); the solver is
// left as it was.
BallisticSolver withoutRows(BallisticSolver& solver);

// Whether passes on the two solvers integrate the same trajectory at the same launch angle.
bool samePassInputs(BallisticSolver& a, BallisticSolver& b);

}  // namespace solve
