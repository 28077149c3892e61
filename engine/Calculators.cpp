#include "Calculators.h"

#include <cmath>

#include "RoundTo.h"

double millerStability(const MillerInputs& in) {
    const double d = in.diameterInches;
    const double n = in.twistInches / d;   // twist in calibres
    const double l = in.lengthInches / d;  // length in calibres
    const double sg0 = 30 * in.weightGrains / (n * n * std::pow(d, 3) * l * (1 + l * l));
    const double velocityFactor = std::pow((in.velocity * 3.280839895) / 2800, 0.3333333333333333);
    const double airFactor = ((in.temperature * 1.8 + 32 + 460) / 519) * (29.92 / (in.pressure / 25.4002));
    return RoundTo(sg0 * velocityFactor * airFactor, 4);
}

double sectionalDensity(double weightGrains, double diameterInches) {
    return RoundTo(weightGrains / 7000 / (diameterInches * diameterInches), 4);
}

double convertBallisticCoefficient(double bc, double velocity, const DragFunc& source, const DragFunc& target) {
    const double mach = velocity / 340.3;
    const double cdSource = source.cdAt(mach);
    const double cdTarget = target.cdAt(mach);
    return RoundTo(cdTarget * (bc / cdSource), 4);
}

double leadCm(double targetSpeedKmh, double timeOfFlight) { return (targetSpeedKmh / 3.6) * timeOfFlight * 100; }

namespace {
// Angles are not given within 30 m: the drift there is too small to dial.
double moaBeyond30(double cm, double distance) { return distance <= 30 ? 0.0 : moaAtDistance(cm, distance); }
}  // namespace

double leadIn(AddInfoUnit unit, double targetSpeedKmh, const AddInfoTarget& at) {
    const double a = leadCm(targetSpeedKmh, at.timeOfFlight);
    const double d = at.distance;
    switch (unit) {
        case AddInfoUnit::Cm: return std::floor(a + 0.5);
        case AddInfoUnit::Moa: return RoundTo(moaBeyond30(a, d), 2);
        case AddInfoUnit::Mil: return RoundTo(a * 10 / d, 2);
        case AddInfoUnit::Clicks: return RoundTo(moaBeyond30(a, d) / at.clickHorizontal, 1);
    }
    return 0.0;
}

double spinDriftIn(AddInfoUnit unit, const BallisticSolver& solver, const AddInfoTarget& at) {
    const double x = solver.spinDrift(at.timeOfFlight);
    const double d = at.distance;
    switch (unit) {
        case AddInfoUnit::Cm: return RoundTo(x, 1);
        case AddInfoUnit::Moa: return RoundTo(moaBeyond30(x, d), 2);
        case AddInfoUnit::Mil: return RoundTo(x * 10 / d, 2);
        // Clicks are an angle too: none within 30 m, like the MOA beside them.
        case AddInfoUnit::Clicks: return d <= 30 ? 0.0 : RoundTo(x / at.clickValueCm, 2);
    }
    return 0.0;
}

double verticalWindDriftIn(AddInfoUnit unit, const BallisticSolver& solver, const AddInfoTarget& at, bool manualDrift,
                           double manualDriftPercent) {
    const double sg = solver.dragFunction.stabilityFactor;
    if (sg == 0) return 0.0;
    const double hw = solver.targetRow.horizontalMoa;
    const double s = solver.windSideSign;
    const double j = manualDrift
                         ? manualDriftPercent / 100 * hw
                         : -(std::tan(BallisticSolver::driftAngle(sg) / 57.29577951308232) * std::fabs(hw) * s);
    const double m = -(std::fabs(j) * s);  // MOA, the sign following the wind side
    const double d = at.distance;
    const double y = std::tan(m / 3437.7467707849396) * d * 100;
    switch (unit) {
        case AddInfoUnit::Cm: return std::floor(y * 10 + 0.5) / 10;
        case AddInfoUnit::Moa: return RoundTo(m, 2);
        case AddInfoUnit::Mil: return RoundTo(y * 10 / d, 2);
        case AddInfoUnit::Clicks: return RoundTo(y / at.clickValueCm, 2);
    }
    return 0.0;
}
