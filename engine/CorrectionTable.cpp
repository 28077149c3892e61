#include "CorrectionTable.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "solve/PassTrace.h"
#include "solve/LaunchAngleSolve.h"
#include "solve/Paths.h"

TableRange TableRange::clamped() const {
    TableRange r = *this;
    if (r.first < 0) r.first = 0;
    if (r.last > 3000) r.last = 3000;
    return r;
}

std::vector<double> TableRange::distances() const {
    std::vector<double> out;
    if (!(step > 0)) return out;
    for (double d = first; d <= last; d = d + step) out.push_back(d);
    return out;
}

double TableRange::pastLast() const {
    double d = first;
    if (!(step > 0)) return d;
    while (d <= last) d = d + step;
    return d;
}

namespace {
// Row solves one thread keeps going side by side at most.
constexpr size_t kMaxLanes = 16;

struct RowResult {
    DistanceCorrections corrections;
    std::vector<ResultsElement> newRows;  // what the row's solve appended to the solver's rows
};
}  // namespace

TableFill fillCorrectionTable(BallisticSolver& main, const TableRange& range, const DriftOptions& options,
                              const TableProgress& progress, unsigned threads) {
    TableFill fill;
    const std::vector<double> distances = range.distances();
    const size_t total = distances.size();
    if (total == 0) {
        main.targetDistance = range.pastLast();
        fill.summary = summaryOf(main);
        return fill;
    }

    // Every row's solve starts with the same two passes (launch angle 0, then 2 MOA) from the same
    // prepared state: integrate them once, as far as the farthest row, and let each row cut them.
    BallisticSolver prototype = solve::withoutRows(main);
    double farthest = 0;
    for (double d : distances) farthest = std::max(farthest, d);
    const solve::FirstPasses shared = solve::traceFirstPasses(prototype, farthest);
    // Three groups of as many as the processor steps side by side: the chains of dependent
    // operations of one group's step overlap with the others'.
    const size_t lanesPerThread = std::min(kMaxLanes, 3 * solve::laneWidth());

    std::vector<RowResult> results(total);
    std::optional<BallisticSolver> lastState;
    std::atomic<size_t> nextTask{0};
    std::atomic<size_t> done{0};
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::condition_variable finished;

    // A worker keeps a few rows' solves going side by side on its thread (see
    // solve::stepUntilOneEnds) and takes the next row whenever one finishes. The far rows cost
    // most, so they go first. Each row is solved on a fresh copy of the prepared solver.
    struct Lane {
        size_t index = 0;
        std::optional<BallisticSolver> solver;
        std::optional<solve::LaunchAngleSolve> solve;
    };
    auto finishRow = [&](Lane& lane) {
        const size_t index = lane.index;
        const double d = distances[index];
        BallisticSolver& solver = *lane.solver;
        const double g = solver.correctionFromAngle(d, lane.solve->result());
        results[index].corrections = correctionsFromVertical(solver, d, g, options);
        results[index].newRows = std::move(solver.rows);
        lane.solve.reset();
        if (index == total - 1) lastState.emplace(std::move(solver));
        lane.solver.reset();
        if (done.fetch_add(1) + 1 == total) {
            std::lock_guard<std::mutex> lock(mutex);
            finished.notify_all();
        }
    };
    auto work = [&](const std::function<bool()>& keepGoing) {
        Lane lanes[kMaxLanes];
        solve::Pass* passes[kMaxLanes];
        Lane* owners[kMaxLanes];
        bool more[kMaxLanes];
        for (;;) {
            size_t active = 0;
            for (size_t l = 0; l < lanesPerThread; ++l) {
                Lane& lane = lanes[l];
                while (!lane.solve) {
                    if (cancel.load(std::memory_order_relaxed) || (keepGoing && !keepGoing())) {
                        cancel = true;
                        break;
                    }
                    const size_t task = nextTask.fetch_add(1);
                    if (task >= total) break;
                    lane.index = total - 1 - task;
                    const double d = distances[lane.index];
                    lane.solver.emplace(prototype);
                    lane.solver->targetDistance = d;
                    lane.solve.emplace(*lane.solver, d, &shared);
                    if (lane.solve->done()) finishRow(lane);
                }
                if (lane.solve) {
                    passes[active] = &lane.solve->pass();
                    owners[active++] = &lane;
                }
            }
            if (active == 0) return;
            solve::stepUntilOneEnds(passes, active, more);
            for (size_t i = 0; i < active; ++i) {
                if (more[i]) continue;
                owners[i]->solve->passEnded();
                if (owners[i]->solve->done()) finishRow(*owners[i]);
            }
        }
    };

    unsigned count = threads ? threads : std::max(1u, std::thread::hardware_concurrency());
    // A short table is still shared out, a group of lanes to a thread at least.
    const size_t group = solve::laneWidth();
    count = static_cast<unsigned>(std::min<size_t>(count, (total + group - 1) / group));
    if (count <= 1) {
        // One thread: the calling thread solves and reports between rows.
        work([&] { return !progress || progress(done.load(), total); });
    } else if (!progress || progress(0, total)) {
        std::vector<std::thread> pool;
        pool.reserve(count);
        for (unsigned i = 0; i < count; ++i) pool.emplace_back(work, std::function<bool()>{});
        {
            std::unique_lock<std::mutex> lock(mutex);
            while (done.load() < total && !cancel.load()) {
                finished.wait_for(lock, std::chrono::milliseconds(50));
                if (progress && done.load() < total && !progress(done.load(), total)) cancel = true;
            }
        }
        for (auto& t : pool) t.join();
    } else {
        cancel = true;
    }
    if (cancel && done.load() < total) {
        fill.cancelled = true;
        fill.summary = summaryOf(main);
        return fill;
    }
    if (progress) progress(total, total);

    fill.rows.reserve(total);
    for (RowResult& r : results) {
        fill.rows.push_back(r.corrections);
        main.rows.insert(main.rows.end(), r.newRows.begin(), r.newRows.end());
    }
    // Leave the main solver as the last row's solve left it (its rows are main's own, grown above).
    std::vector<ResultsElement> keptRows = std::move(main.rows);
    main = std::move(*lastState);
    main.rows = std::move(keptRows);
    main.targetDistance = range.pastLast();
    fill.summary = summaryOf(main);
    return fill;
}
