#include <gtest/gtest.h>

#include <cstring>

#include "CorrectionTable.h"
#include "LanePaths.h"
#include "ReferenceSolve.h"
#include "StandardDragSet.h"

namespace {
bool sameBits(const void* a, const void* b, size_t n) { return std::memcmp(a, b, n) == 0; }

BallisticSolver zeroedFirstRun() {
    BallisticSolver s, zeroing;
    s.muzzleVelocity = 792;
    s.mvTemperature = 30;
    s.sightHeight = 5.5;
    s.windSpeed = 4;
    s.windAzimuth = 250;
    s.airPressure = 754;
    s.humidity = 55;
    s.targetDistance = 685;
    s.dragFunction.stabilityFactor = 1.6;
    zeroRifle(s, zeroing, {});
    return s;
}
}  // namespace

TEST(TableRange, LoopAndLimits) {
    EXPECT_EQ(TableRange{}.distances().size(), 8u);
    const TableRange cut = TableRange{-20, 5000, 5}.clamped();
    EXPECT_EQ(cut.first, 0);
    EXPECT_EQ(cut.last, 3000);
    EXPECT_EQ(cut.distances().size(), 601u);
    EXPECT_EQ(cut.pastLast(), 3005);
    EXPECT_TRUE((TableRange{800, 100, 100}.distances().empty()));
    EXPECT_EQ((TableRange{800, 100, 100}.pastLast()), 800);
    EXPECT_TRUE((TableRange{0, 100, 0}.distances().empty()));
    EXPECT_TRUE((TableRange{0, 100, -5}.distances().empty()));
}

// The fill on each way of stepping the passes.
class FillOnEveryPath : public OnEveryLanePath {};
TRAJEKTON_ON_EVERY_LANE_PATH(FillOnEveryPath);

// The parallel fill must give exactly the rows, in order, and leave the solver exactly as a
// sequential fill with correctionsAt does.
TEST_P(FillOnEveryPath, ParallelFillEqualsSequentialFill) {
    const BallisticSolver start = zeroedFirstRun();
    DriftOptions options;
    options.addDerivation = true;
    options.addVerticalDrift = true;
    const TableRange range{0, 3000, 25};

    BallisticSolver sequential = start;
    std::vector<DistanceCorrections> expected;
    for (double d : range.distances()) expected.push_back(correctionsAt(sequential, d, options));
    sequential.targetDistance = range.pastLast();

    for (unsigned threads : {1u, 2u, 0u}) {
        SCOPED_TRACE(threads);
        BallisticSolver parallel = start;
        const TableFill fill = fillCorrectionTable(parallel, range, options, {}, threads);
        ASSERT_FALSE(fill.cancelled);
        ASSERT_EQ(fill.rows.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            const DistanceCorrections& a = fill.rows[i];
            const DistanceCorrections& b = expected[i];
            ASSERT_EQ(a.distance, b.distance);
            EXPECT_TRUE(sameBits(&a.row, &b.row, sizeof a.row)) << a.distance;
            EXPECT_TRUE(sameBits(&a.vertical, &b.vertical, sizeof a.vertical)) << a.distance;
            EXPECT_TRUE(sameBits(&a.horizontal, &b.horizontal, sizeof a.horizontal)) << a.distance;
            EXPECT_EQ(a.converged, b.converged);
        }
        EXPECT_EQ(parallel.targetDistance, sequential.targetDistance);
        EXPECT_TRUE(sameBits(&parallel.targetRow, &sequential.targetRow, sizeof parallel.targetRow));
        EXPECT_EQ(parallel.shownZeroAngle, sequential.shownZeroAngle);
        EXPECT_EQ(parallel.rows.size(), sequential.rows.size());  // the row at 0 makes a table pass
    }
}

// A corrector that needs several iterations per step (a very small tolerance) takes the paths the
// usual one-iteration steps never take; the rows must still be the sequential ones.
TEST_P(FillOnEveryPath, ManyCorrectorIterationsGiveTheSameRows) {
    BallisticSolver start = zeroedFirstRun();
    start.tolerance = 1e-14;
    const TableRange range{0, 1200, 100};
    BallisticSolver sequential = start;
    std::vector<DistanceCorrections> expected;
    for (double d : range.distances()) expected.push_back(correctionsAt(sequential, d, {}));
    BallisticSolver parallel = start;
    const TableFill fill = fillCorrectionTable(parallel, range, {}, {}, 2);
    ASSERT_EQ(fill.rows.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(sameBits(&fill.rows[i].row, &expected[i].row, sizeof expected[i].row)) << expected[i].distance;
        EXPECT_TRUE(sameBits(&fill.rows[i].vertical, &expected[i].vertical, sizeof expected[i].vertical));
    }
    // And the same as the plain pass-by-pass solve.
    BallisticSolver plain = start;
    plain.targetDistance = 900;
    referenceSolve(plain, 900);
    const ResultsElement& row = fill.rows[9].row;
    EXPECT_TRUE(sameBits(&plain.targetRow.horizontalCm, &row.horizontalCm, sizeof(double)));
    EXPECT_TRUE(sameBits(&plain.targetRow.velocity, &row.velocity, sizeof(double)));
    EXPECT_TRUE(sameBits(&plain.targetRow.timeOfFlight, &row.timeOfFlight, sizeof(double)));
}

TEST(CorrectionTable, ProgressAndCancel) {
    const BallisticSolver start = zeroedFirstRun();
    BallisticSolver s = start;
    size_t last = 0, calls = 0;
    const TableFill fill = fillCorrectionTable(s, TableRange{100, 1000, 10}, {}, [&](size_t done, size_t total) {
        EXPECT_LE(done, total);
        EXPECT_GE(done, last);
        last = done;
        ++calls;
        return true;
    }, 1);
    EXPECT_EQ(fill.rows.size(), 91u);
    EXPECT_EQ(last, 91u);
    EXPECT_GT(calls, 1u);

    // Cancelled at once (the first report comes before any row), and after a few rows.
    for (unsigned threads : {1u, 2u}) {
        BallisticSolver c = start;
        const TableFill cancelled =
            fillCorrectionTable(c, TableRange{0, 3000, 5}, {}, [](size_t, size_t) { return false; }, threads);
        EXPECT_TRUE(cancelled.cancelled);
        EXPECT_TRUE(cancelled.rows.empty());
        EXPECT_EQ(c.targetDistance, start.targetDistance);
    }
    BallisticSolver c = start;
    const TableFill later = fillCorrectionTable(
        c, TableRange{0, 3000, 5}, {}, [](size_t done, size_t) { return done < 10; }, 1);
    EXPECT_TRUE(later.cancelled);
    EXPECT_TRUE(later.rows.empty());
    EXPECT_EQ(c.targetDistance, start.targetDistance);
}

TEST(CorrectionTable, EmptyRangeLeavesTheCounterAtTheFirstDistance) {
    BallisticSolver s = zeroedFirstRun();
    const TableFill fill = fillCorrectionTable(s, TableRange{800, 100, 100}, {});
    EXPECT_TRUE(fill.rows.empty());
    EXPECT_EQ(s.targetDistance, 800);
}
