// Speed of the calculator's two everyday jobs on the first-run inputs: one compute (zeroing plus
// the correction at 685 m) and the 0-3000 m correction table in 5 m steps.
#include <benchmark/benchmark.h>

#include "BCdrag.h"
#include "CBulletDimensions.h"
#include "CorrectionTable.h"
#include "ShotInputs.h"
#include "StandardDragSet.h"

namespace {
// The first-run inputs of the desktop program.
void firstRunInputs(BallisticSolver& s) {
    DragFunc g1;
    standardFunction("G1", g1);
    loadSolver(ShotInputs{}, g1, s);
}

const ZeroingAtmosphere kZeroing{true, 15.0, 754.0, 55.0};

void BM_Compute(benchmark::State& state) {
    BallisticSolver main, zeroing;
    firstRunInputs(main);
    for (auto _ : state) {
        ShotAnswer answer = computeShot(main, zeroing, kZeroing, 685.0, DriftOptions{});
        benchmark::DoNotOptimize(answer);
    }
}
BENCHMARK(BM_Compute)->Unit(benchmark::kMillisecond);

// The same answer the plain way: zeroing, then the solve at the distance, one pass after another.
void BM_ComputeSequential(benchmark::State& state) {
    BallisticSolver main, zeroing;
    firstRunInputs(main);
    for (auto _ : state) {
        zeroRifle(main, zeroing, kZeroing);
        DistanceCorrections c = correctionsAt(main, 685.0, DriftOptions{});
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_ComputeSequential)->Unit(benchmark::kMillisecond);

void BM_Table(benchmark::State& state) {
    BallisticSolver main, zeroing;
    firstRunInputs(main);
    zeroRifle(main, zeroing, kZeroing);
    const unsigned threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        BallisticSolver solver = main;
        TableFill fill = fillCorrectionTable(solver, TableRange{0, 3000, 5}, DriftOptions{}, {}, threads);
        benchmark::DoNotOptimize(fill);
    }
}
// 0: one thread per core; 1: a single core.
BENCHMARK(BM_Table)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// For comparison, the table the plain way on the same integrator step: one row after another, each
// solve pass by pass from the muzzle, every pass filling the target row.
void BM_TablePassByPass(benchmark::State& state) {
    BallisticSolver main, zeroing;
    firstRunInputs(main);
    zeroRifle(main, zeroing, kZeroing);
    for (auto _ : state) {
        BallisticSolver solver = main;
        std::vector<DistanceCorrections> rows;
        for (double d : TableRange{0, 3000, 5}.distances()) {
            solver.targetDistance = d;
            const double g = solver.correctionFromAngle(d, solver.solveLaunchAngleReference(d));
            rows.push_back(correctionsFromVertical(solver, d, g, DriftOptions{}));
        }
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_TablePassByPass)->Unit(benchmark::kMillisecond)->UseRealTime();

// The drag estimate from a bullet's shape as the dialog runs it: the calculation on the default
// bullet, its 70-point table and the check of every result.
void BM_EstimateFromShape(benchmark::State& state) {
    BCdrag estimate;
    estimate.takeBullet(CBulletDimensions{});
    for (auto _ : state) {
        BCdrag b = estimate;
        BCdragWarnings warnings = b.Calculate();
        std::vector<DragElement> table = b.estimatedDragTable();
        BCdragCheck check = b.check(table);
        benchmark::DoNotOptimize(warnings);
        benchmark::DoNotOptimize(table.data());
        benchmark::DoNotOptimize(check);
    }
}
BENCHMARK(BM_EstimateFromShape)->Unit(benchmark::kMicrosecond);
}  // namespace

BENCHMARK_MAIN();
