#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>


// What a single-distance pass at one launch angle gives at each whole metre: the height that
// would end a pass there. (A solve that ends on one of these passes, which hardly ever happens,
// is done again the plain way for its target row.)
class PassTrace {
public:
    double angle = 0.0;  // launch angle, MOA

    size_t size() const { return heights_.size(); }
    // Height above the line of sight, ft, after n steps (1 <= n <= size()).
    double heightAfter(size_t n) const { return heights_[n - 1]; }
    // Whether every corrector of the first n steps met its tolerance within the limit.
    bool completeAfter(size_t n) const { return n < firstIncomplete_; }

    // Number of steps of a single-distance pass to this distance.
    static size_t stepsFor(double distance, double stepMetres);

private:
    friend class BallisticSolver;
    std::vector<double> heights_;
    size_t firstIncomplete_ = SIZE_MAX;
};

// The traces of the two passes every solve starts with: launch angle 0, then 2 MOA.
struct FirstPasses {
    PassTrace first;
    PassTrace second;
};
