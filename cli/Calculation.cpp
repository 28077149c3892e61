#include "Calculation.h"

#include <algorithm>

namespace {
// A loaded main solver and the collector its messages go to.
struct Session {
    BallisticSolver main;
    BallisticSolver zeroing;
    MessageCollector messages;

    DragFunc dragFunction;

    Session(const ShotInputs& inputs, const DragFunc& chosen) : dragFunction(shotDragFunction(inputs, chosen)) {
        loadSolver(inputs, chosen, main);
        main.reporter = &messages;
    }

    Calculation finish(const ZeroingResult& zeroing, const ShotSummary& summary, std::vector<CorrectionRow> rows) {
        // The engine's rows carry the energy of its own fixed bullet (bulletWeightGrams, which no
        // input sets; and none at distance 0): the energy shown is the chosen bullet's at the
        // row's velocity.
        for (CorrectionRow& r : rows)
            r.corrections.row.energy =
                dragFunction.bulletWeight > 0 ? bulletEnergy(r.corrections.row.velocity, dragFunction.bulletWeight) : 0.0;
        Calculation c;
        c.dragFunction = dragFunction;
        c.zeroing = zeroing;
        c.summary = summary;
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

bool Calculation::hasEnergy() const { return dragFunction.bulletWeight > 0; }

Calculation computeAtDistance(const ShotInputs& inputs, const DragFunc& dragFunction) {
    Session s(inputs, dragFunction);
    const ShotAnswer answer =
        computeShot(s.main, s.zeroing, zeroingAtmosphere(inputs), inputs.distance, driftOptions(inputs));
    return s.finish(answer.zeroing, answer.summary, {rowOf(answer.corrections)});
}

Calculation computeTable(const ShotInputs& inputs, const DragFunc& dragFunction, const TableRange& range) {
    Session s(inputs, dragFunction);
    const ZeroingResult zeroing = zeroRifle(s.main, s.zeroing, zeroingAtmosphere(inputs));
    const TableFill fill = fillCorrectionTable(s.main, range.clamped(), driftOptions(inputs));
    std::vector<CorrectionRow> rows;
    rows.reserve(fill.rows.size());
    for (const DistanceCorrections& c : fill.rows) rows.push_back(rowOf(c));
    return s.finish(zeroing, preparedSummary(inputs, dragFunction, zeroing.zeroAngle), std::move(rows));
}
