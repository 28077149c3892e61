#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "BCdrag.h"
#include "CBulletDimensions.h"
#include "DragFunc.h"

namespace {
// The built-in first bullet: .308Win Lapua Scenar 167gr, Secant 6 calibres, 810 m/s, twist 10 in.
BCdrag defaultBullet(int32_t noseShape = 1) {
    BCdrag b;
    b.takeBullet(CBulletDimensions{});
    b.noseShape = noseShape;
    return b;
}

struct Estimate {
    BCdrag b;
    BCdragWarnings warnings;
    std::vector<DragElement> table;
    BCdragCheck check;
};

Estimate run(BCdrag b) {
    Estimate e{b, {}, {}, {}};
    e.warnings = e.b.Calculate();
    e.table = e.b.estimatedDragTable();
    e.check = e.b.check(e.table);
    return e;
}
}  // namespace

// The figures shooters compare with: optimal twist, stability factor and shown sectional density of
// the default bullet for each nose shape, and the same bullet slowed down.
TEST(BCdrag, DefaultBulletStabilityForEachNoseAndVelocity) {
    struct Case {
        int32_t nose;
        double velocity, twistForStability, stabilityFactor;
    };
    for (Case c : {Case{1, 810, 11.5, 1.97}, Case{0, 810, 11.3, 1.93}, Case{2, 810, 14.7, 3.25},
                   Case{1, 340, 7.5, 0.84}, Case{1, 300, 9.1, 1.24}}) {
        BCdrag b = defaultBullet(c.nose);
        b.velocity = c.velocity;
        Estimate e = run(b);
        EXPECT_DOUBLE_EQ(e.b.twistForStability, c.twistForStability) << c.nose << " " << c.velocity;
        EXPECT_DOUBLE_EQ(e.b.stabilityFactor, c.stabilityFactor) << c.nose << " " << c.velocity;
        EXPECT_FALSE(e.warnings.any());
        EXPECT_TRUE(e.check.usable());
    }
    BCdrag b = defaultBullet();
    b.Calculate();
    EXPECT_NEAR(b.sectionalDensity, 0.252, 0.0005);
    EXPECT_DOUBLE_EQ(b.twistUsed, 10.0);
}

// The BC a user sees for the default bullet, reckoned independently from the same formulas:
// 0.446 against G1 (form factor 0.56367), 0.224 against G7; the result names its law.
TEST(BCdrag, DefaultBulletBallisticCoefficientAgainstG1AndG7) {
    Estimate g1 = run(defaultBullet());
    EXPECT_DOUBLE_EQ(g1.b.ballisticCoefficient, 0.446);
    EXPECT_NEAR(g1.b.formFactor, 0.5636656715, 1e-9);
    EXPECT_NEAR(g1.b.tangentRadius, 5.3963803752, 1e-9);
    EXPECT_EQ(g1.b.ballisticCoefficientModel, ReferenceModel::G1);

    BCdrag b = defaultBullet();
    b.referenceModel = 7;  // anything but 0 is G7
    Estimate g7 = run(b);
    EXPECT_DOUBLE_EQ(g7.b.ballisticCoefficient, 0.224);
    EXPECT_EQ(g7.b.ballisticCoefficientModel, ReferenceModel::G7);
    EXPECT_EQ(referenceModelName(g7.b.ballisticCoefficientModel), "G7");
}

// The published check values of the drag estimate for a .308 secant bullet across the regimes.
TEST(BCdrag, ZeroYawCdMatchesReferenceValues) {
    struct Point {
        double mach, cd;
    };
    for (Point p : {Point{0.5, 0.1366}, Point{0.9, 0.1473}, Point{1.05, 0.4373}, Point{1.3, 0.4020},
                    Point{2.0, 0.3319}, Point{2.5, 0.2934}}) {
        EXPECT_NEAR(EstimateZeroYawCd(p.mach, 0.308, 3.9, 2.0, 0.5, 0.85, 0.2, 2.464, 5.2, 1), p.cd, 0.00005)
            << p.mach;
    }
}

// Without a boat-tail its term vanishes, and below Mach 0.85 it vanishes for any boat-tail: the
// estimate then does not depend on the boat-tail's taper. At Mach 1 exactly the subsonic boat-tail
// formula and the supersonic base ratio apply (values reckoned independently).
TEST(BCdrag, BoatTailTermAndTheMachOneBoundary) {
    const double flat = EstimateZeroYawCd(0.8, 0.308, 3.9, 2.0, 0.0, 0.85, 0.2, 2.464, 5.2, 1);
    EXPECT_DOUBLE_EQ(flat, EstimateZeroYawCd(0.8, 0.308, 3.9, 2.0, 0.5, 0.85, 0.2, 2.464, 5.2, 1));
    const double noTail = EstimateZeroYawCd(2.0, 0.308, 3.9, 2.0, 0.0, 0.85, 0.2, 2.464, 5.2, 1);
    const double noTailOtherTaper = EstimateZeroYawCd(2.0, 0.308, 3.9, 2.0, 0.0, 0.6, 0.2, 2.464, 5.2, 1);
    EXPECT_TRUE(std::isfinite(noTail));
    EXPECT_NE(noTail, noTailOtherTaper);  // the base still sees D2
    EXPECT_NE(noTail, EstimateZeroYawCd(2.0, 0.308, 3.9, 2.0, 0.5, 0.85, 0.2, 2.464, 5.2, 1));

    Estimate e = run(defaultBullet());
    EXPECT_NEAR(e.b.CdAtMach(1.0), 0.2898261044, 1e-9);
    EXPECT_NEAR(e.b.CdAtMach(0.975), 0.1910391775, 1e-9);
    EXPECT_NEAR(e.b.CdAtMach(1.025), 0.4564065333, 1e-9);
    EXPECT_NEAR(e.b.CdAtMach(5.0), 0.2021898752, 1e-9);
}

// The generated function: 70 points at exactly the decimals they name, Mach 0 first with the Cd of
// Mach 0.04, ascending, gaps at 0.65 and 1.025-1.40.
TEST(BCdrag, EstimatedTableHasSeventyExactAscendingPoints) {
    Estimate e = run(defaultBullet());
    ASSERT_EQ(e.table.size(), 70u);
    EXPECT_EQ(e.table[0].mach, 0.0);
    EXPECT_NEAR(e.table[0].cd, 0.1658831325, 1e-9);
    EXPECT_EQ(e.table[0].cd, e.b.CdAtMach(0.04));
    EXPECT_EQ(e.table[1].mach, 0.05);
    EXPECT_EQ(e.table[12].mach, 0.6);
    EXPECT_EQ(e.table[13].mach, 0.7);
    EXPECT_EQ(e.table[14].mach, 0.725);
    EXPECT_EQ(e.table[26].mach, 1.025);
    EXPECT_EQ(e.table[27].mach, 1.4);
    EXPECT_EQ(e.table[33].mach, 1.7);
    EXPECT_EQ(e.table[49].mach, 2.5);
    EXPECT_EQ(e.table[50].mach, 2.6);
    EXPECT_EQ(e.table[57].mach, 3.3);
    EXPECT_EQ(e.table[64].mach, 4.0);
    EXPECT_EQ(e.table[65].mach, 4.2);
    EXPECT_EQ(e.table[69].mach, 5.0);
    for (size_t i = 1; i < e.table.size(); ++i) EXPECT_LT(e.table[i - 1].mach, e.table[i].mach) << i;
    EXPECT_NEAR(e.table[13].cd, 0.1110762210, 1e-9);
    EXPECT_NEAR(e.table[27].cd, 0.4011422633, 1e-9);
}

// Each doubt about the shape is reported once, in the order the dialog shows them, and the numbers
// still come out.
TEST(BCdrag, WarningsComeAsFlagsInOrder) {
    BCdrag b = defaultBullet();
    b.noseLength = 7.0;       // L1/d 0.9
    b.meplatDiameter = 4.0;   // D1/d 0.51
    b.baseDiameter = 5.0;     // D2/d 0.64
    b.boatTailLength = 11.8;  // L2/d 1.51
    Estimate e = run(b);
    const std::vector<BCdragWarning> all{BCdragWarning::NoseTooShort, BCdragWarning::NoseTooBlunt,
                                         BCdragWarning::BaseTooSmall, BCdragWarning::BoatTailTooLong};
    EXPECT_EQ(e.warnings.inOrder(), all);
    EXPECT_TRUE(std::isfinite(e.b.ballisticCoefficient));
    EXPECT_EQ(bcDragWarningText(BCdragWarning::BaseTooSmall),
              "Диаметр донца пули слишком маленький\nРасчет может быть некорректным");

    BCdrag blunt = defaultBullet();
    blunt.meplatDiameter = 3.91;  // D1/d exactly 0.5
    EXPECT_EQ(run(blunt).warnings.inOrder(), std::vector<BCdragWarning>{BCdragWarning::NoseTooBlunt});
}

// A nose shape the record should not hold counts as Tangent and is stored back as 0.
TEST(BCdrag, UnknownNoseShapeIsTangent) {
    Estimate tangent = run(defaultBullet(0));
    for (int32_t shape : {-1, 3, 1000}) {
        Estimate e = run(defaultBullet(shape));
        EXPECT_EQ(e.b.noseShape, 0) << shape;
        EXPECT_EQ(e.b.ballisticCoefficient, tangent.b.ballisticCoefficient);
        EXPECT_EQ(e.b.stabilityFactor, tangent.b.stabilityFactor);
        EXPECT_EQ(e.table[30].cd, tangent.table[30].cd);
    }
}

// What is handed back to the library: points, name, rounded bullet data; number and kind untouched.
TEST(BCdrag, FillsTheDragFunction) {
    Estimate e = run(defaultBullet());
    DragFunc f;
    f.uniqueNumber = 42;
    f.kind = DragFuncKind::StandardCopy;
    e.b.fillDragFunc(f, std::string(60, 'x'), e.table);
    EXPECT_EQ(f.points.size(), 70u);
    EXPECT_EQ(f.nameText(), std::string(49, 'x'));
    EXPECT_DOUBLE_EQ(f.sectionalDensity, 0.252);
    EXPECT_DOUBLE_EQ(f.stabilityFactor, 1.97);
    EXPECT_DOUBLE_EQ(f.twist, 10.0);
    EXPECT_DOUBLE_EQ(f.bulletLength, 1.232);
    EXPECT_DOUBLE_EQ(f.bulletDiameter, 0.308);
    EXPECT_DOUBLE_EQ(f.bulletWeight, 167.0);
    EXPECT_EQ(f.uniqueNumber, 42);
    EXPECT_EQ(f.kind, DragFuncKind::StandardCopy);
}

// Results that cannot be used are told apart value by value: a weight of 0 gives a sectional
// density of 0 (which the solver would refuse); a secant radius of one calibre cannot reach the
// meplat, so the nose volume and with it the stability are not numbers while every Cd still is.
TEST(BCdrag, UnusableResultsAreDetected) {
    BCdrag light = defaultBullet();
    light.weight = 0;
    Estimate w0 = run(light);
    EXPECT_EQ(w0.b.sectionalDensity, 0.0);
    EXPECT_FALSE(w0.check.sectionalDensity);
    EXPECT_TRUE(w0.check.dragTable);
    EXPECT_FALSE(w0.check.usable());

    BCdrag sharp = defaultBullet();
    sharp.ogiveRadius = 1.0;
    Estimate r1 = run(sharp);
    EXPECT_TRUE(std::isnan(r1.b.stabilityFactor));
    EXPECT_TRUE(std::isnan(r1.b.twistForStability));
    EXPECT_FALSE(r1.check.stabilityFactor);
    EXPECT_TRUE(r1.check.dragTable);
    EXPECT_TRUE(r1.check.ballisticCoefficient);
    EXPECT_FALSE(r1.check.usable());

    BCdrag slowTwist = defaultBullet();
    slowTwist.twist = 0;  // infinite stability factor
    EXPECT_FALSE(run(slowTwist).check.stabilityFactor);

    Estimate good = run(defaultBullet());
    std::vector<DragElement> bad = good.table;
    bad[40].cd = 0.0;
    BCdragCheck c = good.b.check(bad);
    EXPECT_FALSE(c.dragTable);
    EXPECT_EQ(c.firstBadPoint, 40);
    bad.pop_back();
    bad[40].cd = 0.3;
    EXPECT_FALSE(good.b.check(bad).dragTable);  // not the 70 points
}

// Degenerate and non-numeric geometry never crashes and never passes as usable.
TEST(BCdrag, DegenerateGeometryGivesUnusableResultsWithoutCrashing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    double BCdrag::*fields[] = {&BCdrag::velocity,     &BCdrag::length,        &BCdrag::diameter,
                                &BCdrag::noseLength,   &BCdrag::meplatDiameter, &BCdrag::baseDiameter,
                                &BCdrag::boatTailLength, &BCdrag::twist,       &BCdrag::ogiveRadius,
                                &BCdrag::weight};
    for (int32_t shape : {0, 1, 2}) {
        for (double BCdrag::*field : fields) {
            for (double value : {0.0, nan, inf, -5.0}) {
                BCdrag b = defaultBullet(shape);
                b.*field = value;
                Estimate e = run(b);
                EXPECT_EQ(e.table.size(), 70u);
                // A NaN anywhere the estimate reads spoils it; only a non-secant nose ignores the radius.
                const bool read = field != &BCdrag::ogiveRadius || shape == 1;
                if (std::isnan(value) && read) {
                    EXPECT_FALSE(e.check.usable()) << shape;
                }
            }
        }
        for (double BCdrag::*field : {&BCdrag::length, &BCdrag::diameter, &BCdrag::weight, &BCdrag::noseLength}) {
            BCdrag b = defaultBullet(shape);
            b.*field = 0.0;
            EXPECT_FALSE(run(b).check.usable()) << shape;
        }
    }
    BCdrag none;  // every input 0
    Estimate e = run(none);
    EXPECT_FALSE(e.check.usable());
    EXPECT_FALSE(e.check.dragTable);
    EXPECT_EQ(e.table.size(), 70u);
}
