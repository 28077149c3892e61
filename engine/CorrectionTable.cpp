#include "CorrectionTable.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "PassTrace.h"

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
        return fill;
    }

    // Every row's solve starts with the same two passes (launch angle 0, then 2 MOA) from the same
    // prepared state: integrate them once, as far as the farthest row, and let each row cut them.
    BallisticSolver prototype = main;
    prototype.rows.clear();
    double farthest = 0;
    for (double d : distances) farthest = std::max(farthest, d);
    PassTrace first, second;
    {
        BallisticSolver a = prototype, b = prototype;
        a.reporter = b.reporter = nullptr;  // the rows' own solves report whatever these would
        first = a.tracePass(0, farthest);
        second = b.tracePass(2, farthest);
    }

    std::vector<RowResult> results(total);
    std::optional<BallisticSolver> lastState;
    std::atomic<size_t> nextTask{0};
    std::atomic<size_t> done{0};
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::condition_variable finished;

    // The far rows cost most, so they go first; each task solves one row on a fresh copy.
    auto solveTask = [&](size_t task) {
        const size_t index = total - 1 - task;
        BallisticSolver local = prototype;
        results[index].corrections = correctionsAt(local, distances[index], options, &first, &second);
        results[index].newRows = std::move(local.rows);
        if (index == total - 1) lastState.emplace(std::move(local));
    };
    auto work = [&] {
        for (;;) {
            if (cancel.load(std::memory_order_relaxed)) return;
            const size_t task = nextTask.fetch_add(1);
            if (task >= total) return;
            solveTask(task);
            if (done.fetch_add(1) + 1 == total) {
                std::lock_guard<std::mutex> lock(mutex);
                finished.notify_all();
            }
        }
    };

    unsigned count = threads ? threads : std::max(1u, std::thread::hardware_concurrency());
    count = static_cast<unsigned>(std::min<size_t>(count, total));
    if (count == 1) {
        // One thread: the calling thread solves and reports after every row.
        for (size_t task = 0; task < total && !cancel; ++task) {
            if (progress && !progress(task, total)) cancel = true;
            else solveTask(task), done = task + 1;
        }
    } else {
        std::vector<std::thread> pool;
        pool.reserve(count);
        for (unsigned i = 0; i < count; ++i) pool.emplace_back(work);
        {
            std::unique_lock<std::mutex> lock(mutex);
            while (done.load() < total && !cancel.load()) {
                finished.wait_for(lock, std::chrono::milliseconds(50));
                if (progress && done.load() < total && !progress(done.load(), total)) cancel = true;
            }
        }
        for (auto& t : pool) t.join();
    }
    if (cancel && done.load() < total) {
        fill.cancelled = true;
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
    return fill;
}
