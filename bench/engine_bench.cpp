// Speed of the calculator's two everyday jobs on the first-run inputs: one compute (zeroing plus
// the correction at 685 m) and the 0-3000 m correction table in 5 m steps.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "BCdrag.h"
#include "CBulletDimensions.h"
#include "CorrectionTable.h"
#include "ShotInputs.h"
#include "StandardDragSet.h"
#include "../tests/ReferenceSolve.h"
#include "solve/Paths.h"

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

// The way of stepping the passes a benchmark's argument names (0 plain, 1 sse2, 2 avx2), taken for
// the benchmark and given back after it; a path the processor cannot run skips the benchmark.
class PathForBenchmark {
public:
    explicit PathForBenchmark(benchmark::State& state)
        : before_(solve::lanePath()), taken_(solve::setLanePath(static_cast<solve::LanePath>(state.range(0)))) {
        if (taken_)
            state.SetLabel(solve::nameOf(solve::lanePath()));
        else
            state.SkipWithError("this processor cannot run the path");
    }
    ~PathForBenchmark() { solve::setLanePath(before_); }
    bool taken() const { return taken_; }

private:
    solve::LanePath before_;
    bool taken_;
};

// The same table on each way of stepping the passes, both cores.
void BM_TableOnPath(benchmark::State& state) {
    const PathForBenchmark path(state);
    if (!path.taken()) return;
    BallisticSolver main, zeroing;
    firstRunInputs(main);
    zeroRifle(main, zeroing, kZeroing);
    for (auto _ : state) {
        BallisticSolver solver = main;
        TableFill fill = fillCorrectionTable(solver, TableRange{0, 3000, 5}, DriftOptions{}, {}, 0);
        benchmark::DoNotOptimize(fill);
    }
}
BENCHMARK(BM_TableOnPath)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ComputeOnPath(benchmark::State& state) {
    const PathForBenchmark path(state);
    if (!path.taken()) return;
    BallisticSolver main, zeroing;
    firstRunInputs(main);
    for (auto _ : state) {
        ShotAnswer answer = computeShot(main, zeroing, kZeroing, 685.0, DriftOptions{});
        benchmark::DoNotOptimize(answer);
    }
}
BENCHMARK(BM_ComputeOnPath)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The table as a user of tkcalc gets it: the whole process (start, reading the data folder, the
// table, its text on the standard output) with the first-run inputs, in an empty data folder.
void BM_TkcalcTable(benchmark::State& state) {
    const std::string tkcalc = TRAJEKTON_TKCALC;
    char folder[] = "/tmp/tk_bench_XXXXXX";
    if (!mkdtemp(folder)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    std::string dataDir = folder;
    std::string arg0 = "tkcalc", arg1 = "--data-dir", arg3 = "--table", arg4 = "0:3000:5";
    char* argv[] = {arg0.data(), arg1.data(), dataDir.data(), arg3.data(), arg4.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid;
        if (posix_spawn(&pid, tkcalc.c_str(), &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("tkcalc did not start");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("tkcalc failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    rmdir(folder);
}
BENCHMARK(BM_TkcalcTable)->Unit(benchmark::kMillisecond)->UseRealTime();

// For comparison, the table the straightforward way: one row after another on one thread, each
// solve pass by pass from the muzzle as written out plainly (tests/ReferenceSolve.cpp), every
// pass filling the target row.
void BM_TablePassByPass(benchmark::State& state) {
    BallisticSolver main, zeroing;
    firstRunInputs(main);
    zeroRifle(main, zeroing, kZeroing);
    for (auto _ : state) {
        BallisticSolver solver = main;
        std::vector<DistanceCorrections> rows;
        for (double d : TableRange{0, 3000, 5}.distances()) {
            solver.targetDistance = d;
            const double g = solver.correctionFromAngle(d, d == 0 ? solver.solveLaunchAngle(d) : referenceSolve(solver, d));
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
