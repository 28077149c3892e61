// The correction table as the user gets it: the table dialog's fill (engine table, formatting, the
// list's rows) on the headless window, 0-3000 m in 5 m steps with the default columns and with all.
#include <benchmark/benchmark.h>

#include "CDlgTableResults.h"
#include "HeadlessBackend.h"
#include "ShotInputs.h"
#include "StandardDragSet.h"

namespace {

void BM_TableDialogFill(benchmark::State& state) {
    ui::HeadlessBackend screen;
    BallisticSolver main, zeroing;
    ShotInputs inputs;  // the first-run shot
    DragFunc g1;
    standardFunction("G1", g1);
    loadSolver(inputs, g1, main);
    zeroRifle(main, zeroing, zeroingAtmosphere(inputs));
    TableSettingsRecord table;
    table.firstDistance = 0;
    table.lastDistance = 3000;
    table.distanceStep = 5;
    if (state.range(0) == 1) {
        table.showTimeOfFlight = table.showVerticalCm = table.showVerticalMil = table.showVerticalClicks = 1;
        table.showHorizontalCm = table.showHorizontalMil = table.showHorizontalClicks = 1;
    }
    CDlgTableResults dlg(main, inputs, g1, table);
    ui::openHeadless(dlg);
    const BallisticSolver zeroed = main;
    for (auto _ : state) {
        dlg.fill();
        state.PauseTiming();
        main = zeroed;  // every fill starts from the zeroed solver, as from the calculator
        state.ResumeTiming();
    }
    dlg.destroy();
}
// 0: the default columns; 1: all eleven.
BENCHMARK(BM_TableDialogFill)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
