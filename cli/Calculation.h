#pragma once
#include <vector>

#include "CorrectionTable.h"
#include "DragFunc.h"
#include "EngineReporter.h"
#include "Shot.h"
#include "ShotInputs.h"

// One distance: the engine's corrections and what the program shows of them.
// The row's energy is that of the function's bullet (none without a weight: see hasEnergy).
struct CorrectionRow {
    DistanceCorrections corrections;
    ShownCorrections shown;
};

// What one tkcalc command computed.
struct Calculation {
    DragFunc dragFunction;           // the main solver's current function
    ZeroingResult zeroing;
    ShotSummary summary;             // at the inputs' distance
    std::vector<CorrectionRow> rows; // one for a single distance; the table's rows otherwise
    std::vector<EngineMessage> messages;

    // The zeroing and every row's solve met their ends.
    bool converged() const;
    // Whether the rows' energy means anything: only a function that carries its bullet's weight
    // gives one (the standard functions carry none).
    bool hasEnergy() const;
};

// The main dialog's Compute: zero the rifle, then the corrections at the inputs' distance.
Calculation computeAtDistance(const ShotInputs& inputs, const DragFunc& dragFunction);

// The results table over the range (clamped by the table's rules); the summary is what the
// inputs derive (as the main dialog shows them when its table closes), even for an empty table.
Calculation computeTable(const ShotInputs& inputs, const DragFunc& dragFunction, const TableRange& range);
