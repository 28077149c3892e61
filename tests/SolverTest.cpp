#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "BallisticSolver.h"
#include "EngineReporter.h"
#include "LanePaths.h"
#include "ReferenceSolve.h"
#include "Shot.h"
#include "StandardDragSet.h"
#include "solve/PassTrace.h"
#include "solve/LaunchAngleSolve.h"
#include "solve/Pass.h"

namespace {
bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

::testing::AssertionResult sameRow(const ResultsElement& a, const ResultsElement& b) {
    const double* x = &a.distance;
    const double* y = &b.distance;
    for (int i = 0; i < 12; ++i)
        if (!sameBits(x[i], y[i]))
            return ::testing::AssertionFailure() << "field " << i << ": " << x[i] << " vs " << y[i];
    return ::testing::AssertionSuccess();
}

// The first-run inputs of the desktop program.
BallisticSolver firstRun() {
    BallisticSolver s;
    s.muzzleVelocity = 792;
    s.mvTemperature = 30;
    s.sightHeight = 5.5;
    s.windSpeed = 1;
    s.airPressure = 754;
    s.humidity = 55;
    s.targetDistance = 685;
    s.dragFunction = solverDefaultG1();
    return s;
}
}  // namespace

TEST(Atmosphere, StandardDayAndHumidity) {
    BallisticSolver s;
    const double factor = s.computeAtmosphere(15, 750, 78);
    EXPECT_EQ(s.airTemperatureF, 59.0);
    EXPECT_DOUBLE_EQ(factor, 750 / 25.4002 / 29.53);
    EXPECT_LT(factor, 1.0);
    EXPECT_DOUBLE_EQ(s.speedOfSound, 49.19 * std::sqrt(518.67) / 3.280839895);
    EXPECT_GT(s.speedOfSound, 341.0);

    // Water vapour is lighter than air: at 100 °F humid air is some 0.54 % thinner than at 78 %,
    // dry air denser.
    const double hot = 100.0 / 1.8 - 32 / 1.8;
    const double usual = s.computeAtmosphere(hot, 750, 78);
    const double wet = s.computeAtmosphere(hot, 750, 100);
    EXPECT_NEAR(wet / usual, 1 - 1.93 / 29.53 * 22 * 0.00378, 1e-12);
    EXPECT_NEAR(wet / usual, 0.9946, 1e-4);
    EXPECT_GT(s.computeAtmosphere(hot, 750, 0), usual);

    EXPECT_EQ(BallisticSolver::saturationVapourPressure(59), 0.5);
    EXPECT_DOUBLE_EQ(BallisticSolver::saturationVapourPressure(64.5), 0.62);
    EXPECT_EQ(BallisticSolver::saturationVapourPressure(-50), 0.006);
    EXPECT_EQ(BallisticSolver::saturationVapourPressure(140), 4.53);
    EXPECT_EQ(BallisticSolver::saturationVapourPressure(100), 1.93);
}

TEST(Preparation, WindComponentsAndAzimuth) {
    BallisticSolver s;
    s.windSpeed = 5;
    s.windAzimuth = 90;
    s.prepareInputs();
    EXPECT_EQ(s.windRange, 0);
    EXPECT_EQ(s.windCross, 5 * 2.236941851);
    EXPECT_EQ(s.windSideSign, 1);

    s.windAzimuth = 0;
    s.prepareInputs();
    EXPECT_EQ(s.windRange, -5 * 2.236941851);
    EXPECT_EQ(s.windCross, 0);
    EXPECT_NEAR(s.launchSpeed, (s.correctedMuzzleVelocity - 5) * 3.280839895, 1e-9);

    const struct {
        double in, normalized, side;
    } cases[] = {{450, 90, 1},      {-370.5, -10, -1}, {359.9, 359.9, -1}, {180, 180, 1}, {-90, -90, -1},
                 {-270, -270, 1},   {0, 0, 1},         {360, 360, 1},      {-360, -360, 1}, {-180, -180, 1},
                 {-0.5, -0.5, -1}};
    for (const auto& c : cases) {
        s.windAzimuth = c.in;
        s.prepareInputs();
        EXPECT_EQ(s.windAzimuthNormalized, c.normalized) << c.in;
        EXPECT_EQ(s.windSideSign, c.side) << c.in;
    }
}

TEST(Preparation, MuzzleVelocityTemperatureCorrection) {
    BallisticSolver s;
    s.muzzleVelocity = 800;
    s.mvTemperature = 15;
    s.mvTemperatureChange = 2.5;
    s.airTemperature = 30;
    s.prepareInputs();
    EXPECT_DOUBLE_EQ(s.correctedMuzzleVelocity, 820);
    s.airTemperature = 0;
    s.prepareInputs();
    EXPECT_DOUBLE_EQ(s.correctedMuzzleVelocity, 780);
    s.mvCorrectionOff = true;
    s.prepareInputs();
    EXPECT_EQ(s.correctedMuzzleVelocity, 800);
    EXPECT_EQ(s.boreHeight, 5.0 / 2.54);
    EXPECT_EQ(s.bulletWeightGrains, 9.53 * 15.43);
}

TEST(Preparation, SpecialFunctionUsesSectionalDensity) {
    BallisticSolver s;
    MessageCollector messages;
    s.reporter = &messages;
    s.dragFunction = sampleFunction();
    s.prepareInputs();
    EXPECT_EQ(s.effectiveBC, 0.253);
    EXPECT_TRUE(messages.take().empty());

    s.dragFunction.sectionalDensity = 0;
    s.prepareInputs();
    EXPECT_EQ(s.effectiveBC, 0.253);  // keeps the previous value
    const auto shown = messages.take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], EngineMessage::ZeroSectionalDensity);
}

TEST(Solve, ZeroingAndTheShotAtTheZeroDistance) {
    BallisticSolver main = firstRun(), zeroing;
    const ZeroingResult zero = zeroRifle(main, zeroing, {});
    EXPECT_TRUE(zero.converged);
    EXPECT_GT(zero.zeroAngle, 0);
    EXPECT_LT(zero.zeroAngle, 10);
    EXPECT_EQ(main.zeroAngle, zero.zeroAngle);
    EXPECT_EQ(zeroing.zeroAngle, zero.zeroAngle);
    EXPECT_GT(main.zeroTimeOfFlight, 0.1);

    const DistanceCorrections atZero = correctionsAt(main, 100, {});
    EXPECT_EQ(atZero.vertical.moa, 0);
    EXPECT_EQ(atZero.vertical.cm, 0);
    EXPECT_EQ(main.shownZeroAngle, zero.zeroAngle);

    const double far = main.solveLaunchAngle(500);
    EXPECT_GT(far, zero.zeroAngle);
    EXPECT_TRUE(main.converged);
    EXPECT_EQ(main.solveDistance, 0);
}

// With the temperature correction off the zeroing must not correct either: in the zeroing
// atmosphere the shot at the zero distance needs nothing.
TEST(Solve, ZeroingFollowsTheTemperatureCorrectionSwitch) {
    BallisticSolver main = firstRun(), zeroing;
    main.mvCorrectionOff = true;
    main.airTemperature = -10;  // far from the 30 °C of the velocity measurement
    zeroRifle(main, zeroing, {});
    EXPECT_TRUE(zeroing.mvCorrectionOff);
    EXPECT_EQ(correctionsAt(main, 100, {}).vertical.moa, 0);
}

TEST(Solve, StoredZeroingAtmosphere) {
    BallisticSolver main = firstRun(), zeroing;
    main.airTemperature = -20;
    zeroRifle(main, zeroing, ZeroingAtmosphere{false, 15, 754, 55});
    EXPECT_EQ(zeroing.airTemperature, 15);
    EXPECT_EQ(main.airTemperature, -20);
    // Colder air, slower bullet: it now strikes low at the zero distance.
    EXPECT_GT(correctionsAt(main, 100, {}).vertical.moa, 0);
}

TEST(Solve, DistancesAndRowRules) {
    BallisticSolver s = firstRun();
    s.windSpeed = 0;
    s.targetDistance = 250.5;
    s.solveLaunchAngle(250.5);
    EXPECT_EQ(s.targetRow.distance, 251);
    EXPECT_EQ(s.targetRow.horizontalCm, 0);
    EXPECT_EQ(s.targetRow.horizontalMoa, 0);

    s.windSpeed = 3;
    s.targetDistance = 25;
    s.solveLaunchAngle(25);
    EXPECT_NE(s.targetRow.horizontalCm, 0);
    EXPECT_EQ(s.targetRow.horizontalMoa, 0);  // 30 m or less

    // Distance 0: one table pass to 1000 m from angle 0, then the first update.
    s.targetDistance = 0;
    const size_t before = s.rows.size();
    EXPECT_EQ(s.solveLaunchAngle(0), 2);
    ASSERT_EQ(s.rows.size(), before + 11);
    EXPECT_EQ(s.rows[before].distance, 0);
    EXPECT_EQ(s.rows[before + 10].distance, 1000);
    EXPECT_EQ(s.rows[before + 1].verticalMoa, atan(s.rows[before + 1].verticalCm / 10000) * 360 * 60 / 6283.185307179586 * 1000);
    EXPECT_EQ(s.targetRow.velocity, s.correctedMuzzleVelocity);
    EXPECT_EQ(s.targetRow.timeOfFlight, 0);
}

// The solves, the table fill and the compute below run on each way of stepping the passes.
class SolveOnEveryPath : public OnEveryLanePath {};
TRAJEKTON_ON_EVERY_LANE_PATH(SolveOnEveryPath);

// The solve does less work than the plain pass-by-pass way (the sideways drift and time are added
// up for the last pass only, the corrector's test mostly without a root); the results must be
// the same bit for bit, over shots that exercise every branch.
TEST_P(SolveOnEveryPath, SameBitsAsThePlainWay) {
    struct Shot {
        const char* drag;
        double velocity, bc, wind, azimuth, angle, temperature;
        bool correctionOff;
    };
    const Shot shots[] = {
        {"G1", 792, 0.447, 1, 90, 0, 15, false},   {"G7", 850, 0.243, 7, 45, 0, -25, false},
        {"G1", 320, 0.2, 4, 300, 0, 35, true},     {"GS", 450, 0.1, 2, 180, 20, 5, false},
        {"sample", 800, 0.447, 5, 270, -15, 15, false}, {"RA4", 330, 0.12, 3, 0, 0, 15, false},
        {"G1", 792, 0.447, 10, 1000, 30, 15, false},
    };
    for (const Shot& shot : shots) {
        BallisticSolver fast = firstRun();
        if (std::string(shot.drag) == "sample") fast.dragFunction = sampleFunction();
        else ASSERT_TRUE(standardFunction(shot.drag, fast.dragFunction));
        fast.muzzleVelocity = shot.velocity;
        fast.ballisticCoefficient = shot.bc;
        fast.windSpeed = shot.wind;
        fast.windAzimuth = shot.azimuth;
        fast.targetAngle = shot.angle;
        fast.airTemperature = shot.temperature;
        fast.mvCorrectionOff = shot.correctionOff;
        auto expectSame = [](BallisticSolver& fast, double a, BallisticSolver& plain, double b) {
            EXPECT_TRUE(sameBits(a, b)) << a << " vs " << b;
            EXPECT_TRUE(sameRow(fast.targetRow, plain.targetRow));
            EXPECT_TRUE(sameBits(fast.endHeight, plain.endHeight));
            EXPECT_EQ(0, std::memcmp(fast.angleHistory, plain.angleHistory, sizeof fast.angleHistory));
            EXPECT_EQ(fast.converged, plain.converged);
        };
        const double distances[] = {1.0, 30.0, 31.0, 100.0, 250.5, 685.0, 1500.0, 3000.0};
        std::vector<BallisticSolver> together, plains;
        std::vector<double> results;
        for (double d : distances) {
            SCOPED_TRACE(std::string(shot.drag) + " at " + std::to_string(d));
            BallisticSolver plain = fast;
            fast.targetDistance = plain.targetDistance = d;
            together.push_back(fast);
            const double a = fast.solveLaunchAngle(d);
            const double b = referenceSolve(plain, d);
            expectSame(fast, a, plain, b);
            plains.push_back(plain);
            results.push_back(b);
        }
        // All eight solves with their passes side by side, lanes ending at different steps.
        std::optional<solve::LaunchAngleSolve> solves[8];
        solve::LaunchAngleSolve* each[8];
        for (size_t i = 0; i < 8; ++i) each[i] = &solves[i].emplace(together[i], distances[i]);
        solve::LaunchAngleSolve::runTogether(each, 8);
        for (size_t i = 0; i < 8; ++i) {
            SCOPED_TRACE(std::string(shot.drag) + " at " + std::to_string(distances[i]) + " side by side");
            expectSame(together[i], each[i]->result(), plains[i], results[i]);
        }
    }
}

// Solves that share their first two passes through traces give what a solve of their own gives.
TEST_P(SolveOnEveryPath, SharedFirstPassesGiveTheSameBits) {
    using solve::LaunchAngleSolve;
    BallisticSolver s = firstRun();
    s.windAzimuth = 230;
    s.windSpeed = 6;
    const solve::FirstPasses traces = solve::traceFirstPasses(s, 1200);
    for (double d : {0.5, 5.0, 99.0, 100.0, 777.0, 1200.0}) {
        BallisticSolver shared = s, own = s;
        shared.targetDistance = own.targetDistance = d;
        const double x = LaunchAngleSolve::solve(shared, d, &traces);
        const double y = referenceSolve(own, d);
        EXPECT_TRUE(sameBits(x, y)) << d;
        EXPECT_TRUE(sameRow(shared.targetRow, own.targetRow)) << d;
    }
    // A trajectory that stays on the line of sight: the solve ends on the first traced pass, and
    // the target row comes from the trace.
    BallisticSolver flat = s;
    flat.gravity = 0;
    flat.sightHeight = 0;
    const solve::FirstPasses flatTraces = solve::traceFirstPasses(flat, 500);
    for (double d : {40.0, 500.0}) {
        BallisticSolver shared = flat, own = flat;
        shared.targetDistance = own.targetDistance = d;
        EXPECT_EQ(LaunchAngleSolve::solve(shared, d, &flatTraces), 0);
        referenceSolve(own, d);
        EXPECT_TRUE(sameRow(shared.targetRow, own.targetRow)) << d;
        EXPECT_NE(shared.targetRow.horizontalCm, 0);
    }

    // Beyond the traces the solve integrates on its own.
    BallisticSolver shared = s, own = s;
    EXPECT_TRUE(sameBits(LaunchAngleSolve::solve(shared, 1300, &traces), referenceSolve(own, 1300)));
}

TEST(Solve, HopelessInputsEndAndSaySo) {
    BallisticSolver s = firstRun();
    s.ballisticCoefficient = 0;  // every number of the pass becomes non-finite
    s.solveLaunchAngle(300);
    EXPECT_FALSE(s.converged);
    EXPECT_EQ(s.solveDistance, 300);  // a solve that did not converge keeps its distance

    BallisticSolver n = firstRun();
    n.solveLaunchAngle(std::nan(""));  // ends after one step per pass instead of never
    EXPECT_FALSE(n.converged);

    BallisticSolver e = firstRun();
    MessageCollector messages;
    e.reporter = &messages;
    e.dragFunction.points.clear();
    e.solveLaunchAngle(200);
    EXPECT_EQ(messages.take().size(), 1u);
}

TEST(Corrections, SlopedLineOfSight) {
    BallisticSolver main = firstRun(), zeroing;
    main.windSpeed = 0;
    zeroRifle(main, zeroing, {});
    const double level = main.correctionAt(500);
    const double shownBefore = main.shownZeroAngle;
    main.targetAngle = 30;
    const double sloped = main.correctionAt(500);
    EXPECT_LT(sloped, level);
    EXPECT_GT(sloped, 0);
    EXPECT_EQ(main.shownZeroAngle, shownBefore);
    EXPECT_GT(main.zeroLineRise, 0);

    EXPECT_EQ(main.correctionAt(30), 0);
    EXPECT_EQ(main.targetRow.verticalCm, 0);
    EXPECT_NE(main.correctionAt(31), 0);
}

TEST(Corrections, DriftAngleSpinDriftAndVerticalWindDrift) {
    EXPECT_NEAR(BallisticSolver::driftAngle(1.05), 3.75, 1e-12);
    EXPECT_NEAR(BallisticSolver::driftAngle(2.2), 21, 1e-12);
    EXPECT_EQ(BallisticSolver::driftAngle(0.9), 0);
    EXPECT_EQ(BallisticSolver::driftAngle(3.5), 24);
    EXPECT_EQ(BallisticSolver::driftAngle(1.5), 16.5);

    BallisticSolver s;
    EXPECT_EQ(s.spinDrift(3.0), 0);  // no stability factor, no drift
    s.dragFunction.stabilityFactor = 1.5;
    s.zeroTimeOfFlight = 0.2;
    EXPECT_DOUBLE_EQ(s.spinDrift(1.2), (1.5 + 1.2) * 1.25 * 2.54);
    EXPECT_EQ(s.spinDrift(0.1), 0);

    s.windAzimuth = 270;
    s.prepareInputs();
    EXPECT_DOUBLE_EQ(s.verticalWindDrift(-4, true, 10), 0.4);
    s.windAzimuth = 90;
    s.prepareInputs();
    EXPECT_DOUBLE_EQ(s.verticalWindDrift(-4, true, 10), -0.4);
    EXPECT_DOUBLE_EQ(s.verticalWindDrift(2, false, 10), -std::tan(16.5 / 57.29577951308232) * 2);
}

TEST(Corrections, OptionsChangeOnlyTheirOwnSide) {
    BallisticSolver main = firstRun(), zeroing;
    main.dragFunction.stabilityFactor = 1.8;
    zeroRifle(main, zeroing, {});
    const DistanceCorrections plain = correctionsAt(main, 685, {});
    DriftOptions derivation;
    derivation.addDerivation = true;
    const DistanceCorrections spun = correctionsAt(main, 685, derivation);
    EXPECT_TRUE(sameBits(spun.vertical.moa, plain.vertical.moa));
    EXPECT_LT(spun.horizontal.cm, plain.horizontal.cm);
    EXPECT_DOUBLE_EQ(plain.horizontal.cm - spun.horizontal.cm, main.spinDrift(plain.row.timeOfFlight));
    // Nearer than the zero, the bullet is faster than at the zero: no derivation.
    EXPECT_TRUE(sameBits(correctionsAt(main, 50, derivation).horizontal.cm, correctionsAt(main, 50, {}).horizontal.cm));

    DriftOptions vertical;
    vertical.addVerticalDrift = true;
    const DistanceCorrections lifted = correctionsAt(main, 685, vertical);
    EXPECT_TRUE(sameBits(lifted.horizontal.cm, plain.horizontal.cm));
    EXPECT_LT(lifted.vertical.moa, plain.vertical.moa);  // wind from 90°: the correction gets smaller

    // Units of one answer agree with each other.
    const double r = plain.row.distance;
    EXPECT_DOUBLE_EQ(plain.vertical.cm, std::tan(plain.vertical.moa / 3437.7467707849396) * r * 100);
    EXPECT_DOUBLE_EQ(plain.vertical.mil, plain.vertical.cm * 10 / r);
    EXPECT_DOUBLE_EQ(plain.vertical.clicks, plain.vertical.moa / 0.25);
}

TEST(Corrections, FirstRunShotIsPlausible) {
    BallisticSolver main = firstRun(), zeroing;
    zeroRifle(main, zeroing, {});
    const DistanceCorrections c = correctionsAt(main, 685, {});
    const ShownCorrections shown = shownCorrections(c);
    EXPECT_TRUE(c.converged);
    // A .308-class bullet zeroed at 100 m: some 5 m of drop at 685 m, a little wind drift.
    EXPECT_GT(c.vertical.cm, 400);
    EXPECT_LT(c.vertical.cm, 650);
    EXPECT_GT(c.row.velocity, 350);
    EXPECT_LT(c.row.velocity, 480);
    EXPECT_GT(c.horizontal.cm, 10);
    EXPECT_LT(c.horizontal.cm, 60);
    EXPECT_EQ(shown.vertical.moa, std::floor(c.vertical.moa * 100 + 0.5) / 100);

    DistanceCorrections atZero = correctionsAt(main, 0, {});
    const ShownCorrections zeros = shownCorrections(atZero);
    EXPECT_EQ(zeros.vertical.cm, 0);
    EXPECT_EQ(zeros.horizontal.clicks, 0);
    EXPECT_EQ(atZero.row.velocity, main.correctedMuzzleVelocity);
}

// computeShot overlaps and shares the zeroing and the main solve; it must leave both solvers and
// the answer exactly as zeroRifle followed by correctionsAt does.
TEST_P(SolveOnEveryPath, ComputeShotEqualsZeroingThenCorrections) {
    const ZeroingAtmosphere atmospheres[] = {{true, 15, 754, 55}, {false, -5, 720, 90}};
    DriftOptions options;
    options.addDerivation = options.addVerticalDrift = true;
    for (const ZeroingAtmosphere& atmosphere : atmospheres) {
        for (double d : {0.0, 40.0, 100.0, 685.0, 2200.0}) {
            for (double zero : {50.0, 100.0, 300.0}) {
                SCOPED_TRACE(std::to_string(d) + " m, zero " + std::to_string(zero));
                BallisticSolver main = firstRun(), zeroing;
                main.zeroDistance = zero;
                main.targetAngle = d == 2200 ? 10 : 0;
                main.dragFunction.stabilityFactor = 1.4;
                BallisticSolver plainMain = main, plainZeroing = zeroing;
                const ShotAnswer fast = computeShot(main, zeroing, atmosphere, d, options);
                const ZeroingResult zr = zeroRifle(plainMain, plainZeroing, atmosphere);
                const DistanceCorrections c = correctionsAt(plainMain, d, options);
                EXPECT_TRUE(sameBits(fast.zeroing.zeroAngle, zr.zeroAngle));
                EXPECT_TRUE(sameBits(fast.zeroing.timeOfFlight, zr.timeOfFlight));
                EXPECT_TRUE(sameRow(fast.corrections.row, c.row));
                EXPECT_EQ(0, std::memcmp(&fast.corrections.vertical, &c.vertical, sizeof c.vertical));
                EXPECT_EQ(0, std::memcmp(&fast.corrections.horizontal, &c.horizontal, sizeof c.horizontal));
                EXPECT_TRUE(sameRow(main.targetRow, plainMain.targetRow));
                EXPECT_TRUE(sameRow(zeroing.targetRow, plainZeroing.targetRow));
                EXPECT_TRUE(sameBits(main.zeroTimeOfFlight, plainMain.zeroTimeOfFlight));
                EXPECT_TRUE(sameBits(main.shownZeroAngle, plainMain.shownZeroAngle));
                EXPECT_TRUE(sameBits(main.zeroLineRise, plainMain.zeroLineRise));
                EXPECT_EQ(main.rows.size(), plainMain.rows.size());
            }
        }
    }
}

// The corrector's test decided from squared speeds must answer as h = |V1 - V0| / V1 > tolerance
// does, at the limit and beyond the finite numbers.
TEST(Solve, CorrectorTestAgreesWithTheQuotient) {
    BallisticSolver s = firstRun();
    s.prepareInputs();
    solve::Pass pass(s, 100);
    auto exact = [&](double A1, double V0, bool& onTolerance) {
        const double V1 = std::sqrt(A1);
        const double h = std::fabs(V1 - V0) / V1;
        onTolerance = h == s.tolerance;
        return h > s.tolerance;
    };
    std::vector<std::pair<double, double>> cases;  // (A1, V0)
    for (double V0 : {1.0, 812.5, 2650.0, 1e-200, 1e200}) {
        for (double ratio : {1.0, 1 - 1e-5, 1 + 1e-5, 1 - 2e-5, 1 + 2e-5, 1 / (1 + 1e-5), 1 / (1 - 1e-5), 0.5, 3.0}) {
            const double V1 = V0 * ratio;
            for (double nudge : {-2.0, -1.0, 0.0, 1.0, 2.0}) {
                double A1 = V1 * V1;
                for (int k = 0; k < std::abs(static_cast<int>(nudge)); ++k)
                    A1 = std::nextafter(A1, nudge > 0 ? INFINITY : 0.0);
                cases.emplace_back(A1, V0);
            }
        }
    }
    const double inf = std::numeric_limits<double>::infinity();
    for (auto c : {std::pair{inf, 800.0}, {800.0, inf}, {inf, inf}, {0.0, 0.0}, {0.0, 5.0}, {25.0, 0.0},
                   {std::nan(""), 5.0}, {25.0, std::nan("")}})
        cases.push_back(c);
    for (auto [A1, V0] : cases) {
        bool onTolerance = false;
        const bool expected = exact(A1, V0, onTolerance);
        EXPECT_EQ(pass.needsAnotherIteration(A1, V0), expected) << "A1 " << A1 << " V0 " << V0;
        if (!expected) {
            EXPECT_EQ(pass.onTolerance, onTolerance);
        }
    }
}
