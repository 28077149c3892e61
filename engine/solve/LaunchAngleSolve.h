#pragma once
#include <optional>
#include <vector>

#include "BallisticSolver.h"
#include "Pass.h"

namespace solve {

class PassTrace;
struct FirstPasses;

// A launch-angle solve taken one pass at a time, so that a caller can step the passes of several
// solves side by side (the table fill does). Gives exactly what the solve pass by pass gives:
//   LaunchAngleSolve solve(solver, distance);
//   while (!solve.done()) { step solve.pass() to its end; solve.passEnded(); }
//   solve.result();
// Only the last pass fills the target row (what earlier passes would write there is overwritten).
class LaunchAngleSolve {
public:
    // With traces, the first two passes are cut from them (traces too short are not used).
    LaunchAngleSolve(BallisticSolver& solver, double distance, const FirstPasses* traces = nullptr);
    LaunchAngleSolve(const LaunchAngleSolve&) = delete;
    LaunchAngleSolve& operator=(const LaunchAngleSolve&) = delete;

    bool done() const { return done_; }
    double result() const { return result_; }
    // The pass under way; valid while not done.
    Pass& pass() { return *pass_; }
    // Call when the pass's last step has been taken.
    void passEnded();

    // Runs independent solves (at most 8) to their ends, their passes stepped side by side.
    static void runTogether(LaunchAngleSolve* const* solves, size_t count);
    // One solve on its own: BallisticSolver::solveLaunchAngle.
    static double solve(BallisticSolver& solver, double distance, const FirstPasses* traces = nullptr);
    // Prepares the solver's integration state for a solve at the distance, as a solve does.
    static void prepare(BallisticSolver& solver, double distance) { solver.prepareSolve(distance); }

private:
    void startPass();
    void finish();

    BallisticSolver& s_;
    double distance_;
    int k_ = 0;
    double result_ = 0;
    bool done_ = false;
    ResultsElement targetBefore_;
    std::vector<SidewaysStep> terms_;
    std::optional<Pass> pass_;
};

}  // namespace solve
