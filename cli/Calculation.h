#pragma once
#include <vector>

#include "CorrectionTable.h"
#include "DragFunc.h"
#include "EngineReporter.h"
#include "Shot.h"
#include "ShotInputs.h"

// One distance: the engine's corrections and what the program shows of them.
struct CorrectionRow {
    DistanceCorrections corrections;
    ShownCorrections shown;
};

// What one tkcalc command computed.
struct Calculation {
    DragFunc dragFunction;           // the main solver's current function
    ZeroingResult zeroing;
    double shownZeroAngle = 0.0;     // MOA, as the main solver keeps it
    double airDensityRatio = 0.0;
    double correctedMuzzleVelocity = 0.0;
    double speedOfSound = 0.0;
    std::vector<CorrectionRow> rows; // one for a single distance; the table's rows otherwise
    std::vector<EngineMessage> messages;

    // The zeroing and every row's solve met their ends.
    bool converged() const;
};

// The main dialog's Compute: zero the rifle, then the corrections at the inputs' distance.
Calculation computeAtDistance(const ShotInputs& inputs, const DragFunc& dragFunction);

// The results table over the range (clamped by the table's rules). Afterwards the main solver is
// brought back to the inputs' distance, as the main dialog does when its table closes, so that
// the solver's derived values are those of the inputs even for an empty table.
Calculation computeTable(const ShotInputs& inputs, const DragFunc& dragFunction, const TableRange& range);
