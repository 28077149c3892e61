#include <gtest/gtest.h>

#include <cmath>

#include "BallisticSolver.h"
#include "Calculators.h"
#include "StandardDragSet.h"

namespace {
MillerInputs bullet69() {
    MillerInputs in;
    in.weightGrains = 69;
    in.twistInches = 10;
    in.diameterInches = 0.224;
    in.lengthInches = 0.9;
    in.velocity = 960;
    in.temperature = 15;
    in.pressure = 750;
    return in;
}

DragFunc standard(const char* name) {
    DragFunc f;
    EXPECT_TRUE(standardFunction(name, f)) << name;
    return f;
}

// A solver at the moment the additional data is asked for: a stability factor and a zero time of flight.
BallisticSolver solverWith(double stabilityFactor, double zeroTimeOfFlight = 0.2) {
    BallisticSolver s;
    s.dragFunction = solverDefaultG1();
    s.dragFunction.stabilityFactor = stabilityFactor;
    s.zeroTimeOfFlight = zeroTimeOfFlight;
    return s;
}

AddInfoTarget at(double distance, double timeOfFlight, double clickValueCm = 3.64, double clickHorizontal = 0.25) {
    return AddInfoTarget{distance, timeOfFlight, clickValueCm, clickHorizontal};
}
}  // namespace

TEST(MillerStability, KnownBulletAndTheCorrectionsAtStandardConditions) {
    EXPECT_DOUBLE_EQ(millerStability(bullet69()), 1.4139);

    // At 2800 ft/s, 59 °F and 29.92 inHg the velocity and air factors are 1: the plain formula is left.
    MillerInputs standardDay = bullet69();
    standardDay.velocity = 2800 / 3.280839895;
    standardDay.pressure = 29.92 * 25.4002;
    EXPECT_DOUBLE_EQ(millerStability(standardDay), 1.3416);

    // Thinner air stabilises more, a slower bullet less.
    MillerInputs thin = bullet69();
    thin.pressure = 600;
    EXPECT_GT(millerStability(thin), 1.4139);
    MillerInputs slow = bullet69();
    slow.velocity = 700;
    EXPECT_LT(millerStability(slow), 1.4139);
}

TEST(MillerStability, ZeroInputsGiveNoNumberInsteadOfFailing) {
    for (double MillerInputs::*field : {&MillerInputs::diameterInches, &MillerInputs::twistInches,
                                        &MillerInputs::lengthInches, &MillerInputs::pressure}) {
        MillerInputs in = bullet69();
        in.*field = 0;
        EXPECT_FALSE(std::isfinite(millerStability(in)));
    }
    EXPECT_FALSE(std::isfinite(millerStability(MillerInputs{})));
}

TEST(SectionalDensity, RoundedToFourDecimals) {
    EXPECT_DOUBLE_EQ(sectionalDensity(168, 0.308), 0.253);
    EXPECT_DOUBLE_EQ(sectionalDensity(175, 0.308), 0.2635);
    EXPECT_FALSE(std::isfinite(sectionalDensity(168, 0)));
}

TEST(BallisticCoefficientConversion, SameLawRoundTripAndDirection) {
    const DragFunc g1 = standard("G1"), g7 = standard("G7");
    // The same law on both sides changes nothing but the rounding.
    EXPECT_DOUBLE_EQ(convertBallisticCoefficient(0.44567, 800, g1, g1), 0.4457);
    EXPECT_DOUBLE_EQ(convertBallisticCoefficient(0.44567, 250, g7, g7), 0.4457);

    // A boat-tail bullet's G7 BC is about half its G1 BC at supersonic speed.
    const double bcG7 = convertBallisticCoefficient(0.447, 800, g1, g7);
    EXPECT_GT(bcG7, 0.447 * 0.4);
    EXPECT_LT(bcG7, 0.447 * 0.6);
    // Both Cd values are taken at the same Mach number: converting back returns the start.
    EXPECT_NEAR(convertBallisticCoefficient(bcG7, 800, g7, g1), 0.447, 0.0005);
    // The match is at velocity / 340.3: beyond the end of both tables the Cd stay flat.
    EXPECT_DOUBLE_EQ(convertBallisticCoefficient(0.447, 340.3 * 50, g1, g7),
                     convertBallisticCoefficient(0.447, 340.3 * 60, g1, g7));
}

TEST(AddInfoLead, EveryUnit) {
    // 3.6 km/h is 1 m/s: half a second of flight moves the target 50 cm.
    EXPECT_DOUBLE_EQ(leadCm(3.6, 0.5), 50);
    const AddInfoTarget t = at(500, 0.5);
    EXPECT_EQ(leadIn(AddInfoUnit::Cm, 3.6, t), 50);
    EXPECT_DOUBLE_EQ(leadIn(AddInfoUnit::Moa, 3.6, t), 3.44);
    EXPECT_DOUBLE_EQ(leadIn(AddInfoUnit::Mil, 3.6, t), 1);
    EXPECT_DOUBLE_EQ(leadIn(AddInfoUnit::Clicks, 3.6, t), 13.8);  // 3.4377 / 0.25 clicks, to 0.1
    EXPECT_NEAR(moaAtDistance(2.9088821687, 100), 1.0, 1e-6);

    // Centimetres are whole.
    EXPECT_EQ(leadIn(AddInfoUnit::Cm, 4, at(500, 0.77)), 86);  // 85.56 cm
    EXPECT_EQ(leadIn(AddInfoUnit::Cm, 4, at(500, 0.76)), 84);  // 84.44 cm

    // Within 30 m no angle is given, but the MIL value is.
    for (double d : {30.0, 12.0}) {
        EXPECT_EQ(leadIn(AddInfoUnit::Moa, 3.6, at(d, 0.5)), 0);
        EXPECT_EQ(leadIn(AddInfoUnit::Clicks, 3.6, at(d, 0.5)), 0);
    }
    EXPECT_DOUBLE_EQ(leadIn(AddInfoUnit::Mil, 3.6, at(30, 0.5)), 16.67);
    EXPECT_GT(leadIn(AddInfoUnit::Moa, 3.6, at(31, 0.5)), 0);
    // At distance 0 the MIL value has nothing to divide by.
    EXPECT_FALSE(std::isfinite(leadIn(AddInfoUnit::Mil, 3.6, at(0, 0.5))));
}

TEST(AddInfoSpinDrift, CountedFromTheZeroAndInEveryUnit) {
    const BallisticSolver s = solverWith(1.5, 0.2);
    // One second beyond the zero: (1.5 + 1.2) × 1.25 × 2.54 cm.
    const AddInfoTarget t = at(500, 1.2);
    EXPECT_DOUBLE_EQ(spinDriftIn(AddInfoUnit::Cm, s, t), 8.6);
    EXPECT_DOUBLE_EQ(spinDriftIn(AddInfoUnit::Moa, s, t), 0.59);
    EXPECT_DOUBLE_EQ(spinDriftIn(AddInfoUnit::Mil, s, t), 0.17);
    EXPECT_DOUBLE_EQ(spinDriftIn(AddInfoUnit::Clicks, s, t), 2.36);  // 8.5725 / 3.64

    // Nearer than the zero the bullet has flown less than the zero time: no drift in any unit.
    for (AddInfoUnit u : {AddInfoUnit::Cm, AddInfoUnit::Moa, AddInfoUnit::Mil, AddInfoUnit::Clicks})
        EXPECT_EQ(spinDriftIn(u, s, at(60, 0.12)), 0) << static_cast<int>(u);

    // Within 30 m the angular units give 0 although the drift itself is not.
    const BallisticSolver closeZero = solverWith(1.5, 0.01);
    EXPECT_GT(spinDriftIn(AddInfoUnit::Cm, closeZero, at(30, 0.5)), 0);
    EXPECT_EQ(spinDriftIn(AddInfoUnit::Moa, closeZero, at(30, 0.5)), 0);
    EXPECT_EQ(spinDriftIn(AddInfoUnit::Clicks, closeZero, at(30, 0.5)), 0);

    EXPECT_EQ(spinDriftIn(AddInfoUnit::Cm, solverWith(0), t), 0);
}

TEST(AddInfoVerticalDrift, FromTheDriftAngleOrAShareOfTheHorizontalCorrection) {
    BallisticSolver s = solverWith(2.2);  // drift angle 21 degrees
    s.targetRow.horizontalMoa = 4;
    s.windSideSign = 1;  // wind from the right half: the correction gets smaller
    const AddInfoTarget t = at(500, 0.8, 3.64);
    const double m = -std::tan(21 / 57.29577951308232) * 4;
    const double y = std::tan(m / 3437.7467707849396) * 500 * 100;
    EXPECT_DOUBLE_EQ(verticalWindDriftIn(AddInfoUnit::Moa, s, t, false, 10), -1.54);
    EXPECT_DOUBLE_EQ(verticalWindDriftIn(AddInfoUnit::Cm, s, t, false, 10), std::floor(y * 10 + 0.5) / 10);
    EXPECT_NEAR(verticalWindDriftIn(AddInfoUnit::Cm, s, t, false, 10), -22.3, 1e-9);
    EXPECT_DOUBLE_EQ(verticalWindDriftIn(AddInfoUnit::Mil, s, t, false, 10), -0.45);
    EXPECT_DOUBLE_EQ(verticalWindDriftIn(AddInfoUnit::Clicks, s, t, false, 10), -6.14);  // -22.33 / 3.64
    s.windSideSign = -1;
    EXPECT_DOUBLE_EQ(verticalWindDriftIn(AddInfoUnit::Moa, s, t, false, 10), 1.54);

    // By hand: 10 % of a −4 MOA correction with the wind from 270 degrees adds 0.4 MOA.
    s.targetRow.horizontalMoa = -4;
    EXPECT_DOUBLE_EQ(verticalWindDriftIn(AddInfoUnit::Moa, s, t, true, 10), 0.4);
    EXPECT_DOUBLE_EQ(verticalWindDriftIn(AddInfoUnit::Cm, s, t, true, 10), 5.8);

    // No stability factor, no drift, whatever the setting.
    s.dragFunction.stabilityFactor = 0;
    for (bool manual : {false, true}) EXPECT_EQ(verticalWindDriftIn(AddInfoUnit::Moa, s, t, manual, 10), 0);
}
