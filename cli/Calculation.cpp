#include "Calculation.h"

#include <algorithm>

namespace {
// A zeroed main solver and the collector its messages go to.
struct Session {
    BallisticSolver main;
    BallisticSolver zeroing;
    MessageCollector messages;
    ZeroingResult zeroingResult;

    Session(const ShotInputs& inputs, const DragFunc& dragFunction) {
        loadSolver(inputs, dragFunction, main);
        main.reporter = &messages;
    }

    Calculation finish(std::vector<CorrectionRow> rows) {
        Calculation c;
        c.dragFunction = main.dragFunction;
        c.zeroing = zeroingResult;
        c.shownZeroAngle = main.shownZeroAngle;
        c.airDensityRatio = main.airDensityRatio;
        c.correctedMuzzleVelocity = main.correctedMuzzleVelocity;
        c.speedOfSound = main.speedOfSound;
        c.rows = std::move(rows);
        c.messages = messages.take();
        return c;
    }
};

CorrectionRow rowOf(const DistanceCorrections& corrections) { return {corrections, shownCorrections(corrections)}; }
}  // namespace

bool Calculation::converged() const {
    return zeroing.converged &&
           std::all_of(rows.begin(), rows.end(), [](const CorrectionRow& r) { return r.corrections.converged; });
}

Calculation computeAtDistance(const ShotInputs& inputs, const DragFunc& dragFunction) {
    Session s(inputs, dragFunction);
    const ShotAnswer answer =
        computeShot(s.main, s.zeroing, zeroingAtmosphere(inputs), inputs.distance, driftOptions(inputs));
    s.zeroingResult = answer.zeroing;
    return s.finish({rowOf(answer.corrections)});
}

Calculation computeTable(const ShotInputs& inputs, const DragFunc& dragFunction, const TableRange& range) {
    Session s(inputs, dragFunction);
    s.zeroingResult = zeroRifle(s.main, s.zeroing, zeroingAtmosphere(inputs));
    const DriftOptions options = driftOptions(inputs);
    TableFill fill = fillCorrectionTable(s.main, range.clamped(), options);
    std::vector<CorrectionRow> rows;
    rows.reserve(fill.rows.size());
    for (const DistanceCorrections& c : fill.rows) rows.push_back(rowOf(c));
    // Only the solver's derived values are wanted from this solve; its own answer is not shown.
    correctionsAt(s.main, inputs.distance, options);
    return s.finish(std::move(rows));
}
