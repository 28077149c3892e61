#pragma once
#include <cstddef>
#include <functional>
#include <vector>

#include "Shot.h"

// The results table's range rules: a first distance below 0 becomes 0, a last one above 3000
// becomes 3000.
struct TableRange {
    double first = 100.0;
    double last = 800.0;
    double step = 100.0;

    TableRange clamped() const;
    // The distances the table's loop visits: first, first + step, ... while not above last (each
    // one the previous plus the step). None when the step is not above 0.
    std::vector<double> distances() const;
    // Where that loop leaves its counter: the first distance past the last one.
    double pastLast() const;
};

// Called from the calling thread while a fill runs: rows done so far and rows in all. Returning
// false cancels the fill.
using TableProgress = std::function<bool(size_t done, size_t total)>;

struct TableFill {
    std::vector<DistanceCorrections> rows;  // in distance order; empty when cancelled
    bool cancelled = false;
    ShotSummary summary;                    // the main solver afterwards
};

// Fills the correction table on a zeroed main solver: for each distance of the (already clamped)
// range, exactly what correctionsAt on the main solver gives, in order. Rows are solved in
// parallel on copies of the solver (threads = 0: one per core). Afterwards the main solver is left
// as the sequential fill leaves it (targetDistance one step past the last distance, the state of
// the last solve), unless the fill was cancelled, which leaves it as it was. The solver's reporter
// is called from the fill's threads, so it must be safe to share (MessageCollector is).
TableFill fillCorrectionTable(BallisticSolver& main, const TableRange& range, const DriftOptions& options,
                              const TableProgress& progress = {}, unsigned threads = 0);
