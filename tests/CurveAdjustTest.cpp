#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <vector>

#include "ByteWriter.h"
#include "CurveAdjust.h"
#include "DragLibrary.h"
#include "ExchangeFiles.h"
#include "ExchangeImportExport.h"
#include "FileIO.h"
#include "LibraryRecord.h"

namespace fs = std::filesystem;

namespace {

// A bullet's curve with its peak at the seventh point (Mach 1.05): four points before the peak
// qualify for the shaping buttons (k > 3), two of them just before it.
std::vector<DragElement> tenPoints() {
    return {{0.5, 0.20}, {0.7, 0.20}, {0.8, 0.21}, {0.9, 0.24}, {0.95, 0.30},
            {1.0, 0.36}, {1.05, 0.40}, {1.5, 0.38}, {2.0, 0.33}, {3.0, 0.28}};
}

std::vector<double> cds(const std::vector<DragElement>& points) {
    std::vector<double> v;
    for (const DragElement& p : points) v.push_back(p.cd);
    return v;
}

void expectCds(const std::vector<DragElement>& points, const std::vector<double>& expected) {
    ASSERT_EQ(points.size(), expected.size());
    for (size_t i = 0; i < points.size(); ++i) EXPECT_NEAR(points[i].cd, expected[i], 1e-12) << "point " << i;
}

}  // namespace

// Raising and lowering move every point by the step, the Mach numbers stay.
TEST(CurveAdjust, RaiseAndLowerMoveEveryPointByTheStep) {
    std::vector<DragElement> p = tenPoints();
    ASSERT_TRUE(adjustCurve(p, CurveButton::Raise, 0.05).changed());
    expectCds(p, {0.25, 0.25, 0.26, 0.29, 0.35, 0.41, 0.45, 0.43, 0.38, 0.33});
    EXPECT_EQ(p[9].mach, 3.0);
    ASSERT_TRUE(adjustCurve(p, CurveButton::Lower, 0.1).changed());
    expectCds(p, {0.15, 0.15, 0.16, 0.19, 0.25, 0.31, 0.35, 0.33, 0.28, 0.23});
}

// The peak buttons move the peak by the step and leave the last point; the two points before the
// peak move by more than the step, the first four never.
TEST(CurveAdjust, PeakButtonsMoveThePeakByTheStepAndKeepTheLastPoint) {
    std::vector<DragElement> p = tenPoints();
    ASSERT_TRUE(adjustCurve(p, CurveButton::LowerPeak, 0.01).changed());
    // Ck -= 0.01 * (3 - Mk) / (3 - 1.05), worked out by hand.
    expectCds(p, {0.20, 0.20, 0.21, 0.24, 0.3 - 0.01 * 2.05 / 1.95, 0.36 - 0.01 * 2.0 / 1.95, 0.39,
                  0.38 - 0.01 * 1.5 / 1.95, 0.33 - 0.01 / 1.95, 0.28});
    EXPECT_EQ(p[0].cd, 0.20);
    EXPECT_EQ(p[3].cd, 0.24);
    EXPECT_EQ(p[9].cd, 0.28);
    EXPECT_GT(0.30 - p[4].cd, 0.01);

    p = tenPoints();
    ASSERT_TRUE(adjustCurve(p, CurveButton::RaisePeak, 0.01).changed());
    EXPECT_NEAR(p[6].cd, 0.41, 1e-12);
    EXPECT_NEAR(p[8].cd, 0.33 + 0.01 / 1.95, 1e-12);
    EXPECT_EQ(p[9].cd, 0.28);
}

// The right-side buttons keep the peak and move the last point by the step; the points before the
// peak tilt the other way.
TEST(CurveAdjust, RightSideButtonsKeepThePeakAndMoveTheLastPoint) {
    std::vector<DragElement> p = tenPoints();
    ASSERT_TRUE(adjustCurve(p, CurveButton::LowerRight, 0.02).changed());
    expectCds(p, {0.20, 0.20, 0.21, 0.24, 0.3 + 0.02 * 0.1 / 1.95, 0.36 + 0.02 * 0.05 / 1.95, 0.40,
                  0.38 - 0.02 * 0.45 / 1.95, 0.33 - 0.02 * 0.95 / 1.95, 0.26});
    EXPECT_EQ(p[6].cd, 0.40);

    p = tenPoints();
    ASSERT_TRUE(adjustCurve(p, CurveButton::RaiseRight, 0.02).changed());
    EXPECT_NEAR(p[9].cd, 0.30, 1e-12);
    EXPECT_LT(p[4].cd, 0.30);
}

// What the curve editor's buttons cannot do leaves the table exactly as it was, and says why.
TEST(CurveAdjust, PressesThatCannotWorkChangeNothingAndSaySo) {
    // Four points: no index above 3.
    std::vector<DragElement> four = {{0.5, 0.2}, {1.0, 0.4}, {1.5, 0.35}, {2.0, 0.3}};
    const std::vector<DragElement> fourBefore = four;
    for (CurveButton b : {CurveButton::LowerPeak, CurveButton::RaisePeak, CurveButton::LowerRight,
                          CurveButton::RaiseRight}) {
        const CurveAdjustResult r = adjustCurve(four, b, 0.01);
        EXPECT_EQ(r.end, CurveAdjustEnd::NothingMoves);
        EXPECT_FALSE(curveAdjustMessage(r).empty());
    }
    EXPECT_EQ(cds(four), cds(fourBefore));

    // The peak at the last point: the Mach distance the adjustments divide by is 0.
    std::vector<DragElement> rising = {{0.5, 0.1}, {0.8, 0.2}, {1.0, 0.3}, {1.2, 0.4}, {1.5, 0.5}, {2.0, 0.6}};
    EXPECT_EQ(adjustCurve(rising, CurveButton::LowerPeak, 0.01).end, CurveAdjustEnd::PeakAtLastPoint);
    EXPECT_EQ(adjustCurve(rising, CurveButton::RaiseRight, 0.01).end, CurveAdjustEnd::PeakAtLastPoint);
    EXPECT_EQ(rising[5].cd, 0.6);
    EXPECT_EQ(rising[4].cd, 0.5);

    // No Cd above 0: no peak. Raising still works.
    std::vector<DragElement> flat = {{0.5, 0}, {0.9, 0}, {1.0, 0}, {1.1, 0}, {1.34, 0}, {1.79, 0}};
    EXPECT_EQ(adjustCurve(flat, CurveButton::RaisePeak, 0.01).end, CurveAdjustEnd::NoPointAboveZero);
    EXPECT_EQ(cds(flat), std::vector<double>(6, 0.0));
    EXPECT_TRUE(adjustCurve(flat, CurveButton::Raise, 0.01).changed());

    std::vector<DragElement> none;
    EXPECT_EQ(adjustCurve(none, CurveButton::Raise, 0.01).end, CurveAdjustEnd::NoPoints);
    EXPECT_EQ(curveAdjustMessage(adjustCurve(none, CurveButton::LowerRight, 0.01)), "Драг-функция не содержит данных");

    std::vector<DragElement> p = tenPoints();
    for (double bad : {0.0, -0.01, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_EQ(adjustCurve(p, CurveButton::Raise, bad).end, CurveAdjustEnd::BadStep) << bad;
    EXPECT_EQ(cds(p), cds(tenPoints()));
}

// A press that would take any Cd to 0 or below is refused whole: not one point moves, and the
// message names the first point that would fail.
TEST(CurveAdjust, APressThatWouldTakeACdToZeroIsRefusedWhole) {
    std::vector<DragElement> p = tenPoints();
    CurveAdjustResult r = adjustCurve(p, CurveButton::Lower, 0.2);
    EXPECT_EQ(r.end, CurveAdjustEnd::WouldReachZero);
    EXPECT_EQ(r.point, 0u);
    EXPECT_EQ(cds(p), cds(tenPoints()));
    EXPECT_NE(curveAdjustMessage(r).find("точки 1 (0.500 Маха) стал бы 0,"), std::string::npos)
        << curveAdjustMessage(r);

    // Raising the right side tilts the points before the peak down: a large step takes the fifth
    // point below 0 while the others would still be fine.
    r = adjustCurve(p, CurveButton::RaiseRight, 10);
    EXPECT_EQ(r.end, CurveAdjustEnd::WouldReachZero);
    EXPECT_EQ(r.point, 4u);
    EXPECT_LT(r.cd, 0);
    EXPECT_EQ(cds(p), cds(tenPoints()));
}

// The table editor saves points in ascending Mach order; rows with equal Mach keep their order.
TEST(CurveAdjust, SortingByMachIsStableAndPutsNoNumberLast) {
    std::vector<DragElement> p = {{1.0, 0.4}, {std::nan(""), 0.9}, {0.5, 0.2}, {1.0, 0.3}, {0.7, 0.25}};
    sortByMach(p);
    ASSERT_EQ(p.size(), 5u);
    EXPECT_EQ(p[0].mach, 0.5);
    EXPECT_EQ(p[1].mach, 0.7);
    EXPECT_EQ(p[2].cd, 0.4);
    EXPECT_EQ(p[3].cd, 0.3);
    EXPECT_TRUE(std::isnan(p[4].mach));
}

// Imported functions reach the library in Mach order too, and a ".pro" whose numbers are no
// numbers is not imported.
TEST(CurveAdjust, ImportSortsThePointsAndRefusesAProWithoutNumbers) {
    const fs::path dir = fs::temp_directory_path() / ("tk_import_sort_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    DragFunc f;
    f.setName("unsorted");
    f.points = {{1.2, 0.42}, {0.9, 0.31}, {2.0, 0.35}};
    ASSERT_TRUE(writeFileAtomically(dir / "u.snr", formatSnr(f)));
    DragLibrary library;
    ASSERT_TRUE(importSnr(library, dir / "u.snr"));
    EXPECT_EQ(library.at(library.size() - 1).points[0].mach, 0.9);
    EXPECT_EQ(library.at(library.size() - 1).points[2].mach, 2.0);

    DragFuncOld old;
    std::strcpy(old.name, "pro");
    old.sectionalDensity = 0.3;
    old.points = {{1.2, 0.42}, {0.9, 0.31}};
    ByteWriter w;
    writeLibraryRecordV2(w, old);
    ASSERT_TRUE(writeFileAtomically(dir / "good.pro", w.take()));
    old.twist = std::nan("");
    ByteWriter bad;
    writeLibraryRecordV2(bad, old);
    ASSERT_TRUE(writeFileAtomically(dir / "bad.pro", bad.take()));
    struct Silent : ExchangeReporter {
        void show(std::string_view) override {}
        bool askYesNo(std::string_view) override { return false; }
    } reporter;
    const size_t before = library.size();
    const std::vector<fs::path> files = {dir / "good.pro", dir / "bad.pro"};
    EXPECT_EQ(importFiles(library, ImportKind::Pro, files, reporter), 1);
    ASSERT_EQ(library.size(), before + 1);
    EXPECT_EQ(library.at(before).points[0].mach, 0.9);
    fs::remove_all(dir);
}
