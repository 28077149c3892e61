#include "Shot.h"

#include <cmath>

#include "RoundTo.h"

ZeroingResult zeroRifle(BallisticSolver& main, BallisticSolver& zeroing, const ZeroingAtmosphere& atmosphere) {
    zeroing.targetDistance = main.targetDistance;
    zeroing.windSpeed = main.windSpeed;
    zeroing.windAzimuth = main.windAzimuth;
    zeroing.targetAngle = main.targetAngle;
    zeroing.spareInput = main.spareInput;
    zeroing.windAzimuthNormalized = main.windAzimuthNormalized;
    zeroing.sightHeight = main.sightHeight;
    zeroing.zeroDistance = main.zeroDistance;
    zeroing.clickVertical = main.clickVertical;
    zeroing.clickHorizontal = main.clickHorizontal;
    zeroing.bulletWeightGrams = main.bulletWeightGrams;
    zeroing.muzzleVelocity = main.muzzleVelocity;
    zeroing.ballisticCoefficient = main.ballisticCoefficient;
    zeroing.mvTemperature = main.mvTemperature;
    zeroing.mvTemperatureChange = main.mvTemperatureChange;
    zeroing.mvCorrectionOff = main.mvCorrectionOff;
    zeroing.dragFunction = main.dragFunction;
    zeroing.reporter = main.reporter;
    if (atmosphere.sameAsCurrent) {
        zeroing.humidity = main.humidity;
        zeroing.airTemperature = main.airTemperature;
        zeroing.airPressure = main.airPressure;
    } else {
        zeroing.humidity = atmosphere.humidity;
        zeroing.airTemperature = atmosphere.temperature;
        zeroing.airPressure = atmosphere.pressure;
    }

    ZeroingResult result;
    result.zeroAngle = zeroing.solveLaunchAngle(zeroing.zeroDistance);
    result.converged = zeroing.converged;
    result.timeOfFlight = zeroing.targetRow.timeOfFlight;
    zeroing.zeroAngle = result.zeroAngle;
    main.zeroAngle = result.zeroAngle;
    main.zeroTimeOfFlight = result.timeOfFlight;
    return result;
}

DistanceCorrections correctionsAt(BallisticSolver& main, double distance, const DriftOptions& options,
                                  const PassTrace* first, const PassTrace* second) {
    main.targetDistance = distance;
    return correctionsFromVertical(main, distance, main.correctionAt(distance, first, second), options);
}

DistanceCorrections correctionsFromVertical(BallisticSolver& main, double distance, double g,
                                            const DriftOptions& options) {
    DistanceCorrections out;
    out.distance = distance;
    out.converged = main.converged;
    const ResultsElement& row = main.targetRow;
    if (options.addVerticalDrift)
        g = g + main.verticalWindDrift(row.horizontalMoa, options.manualDrift, options.manualDriftPercent);

    const double r = row.distance;
    out.vertical.moa = g;
    out.vertical.cm = std::tan(g / 3437.7467707849396) * r * 100;
    out.vertical.mil = out.vertical.cm * 10 / r;
    out.vertical.clicks = g / main.clickVertical;

    double D = row.horizontalCm;
    if (options.addDerivation) D = D - main.spinDrift(row.timeOfFlight);
    out.horizontal.cm = D;
    out.horizontal.moa = r > 30 ? std::atan(D / (r * 100)) * 360 * 60 / 6283.185307179586 * 1000 : 0;
    out.horizontal.mil = D * 10 / r;
    out.horizontal.clicks = out.horizontal.moa / main.clickHorizontal;

    out.row = row;
    return out;
}

ShownCorrections shownCorrections(const DistanceCorrections& c) {
    ShownCorrections s;
    if (c.distance == 0) return s;
    auto round = [](const Corrections& x) { return Corrections{RoundTo(x.moa, 2), RoundTo(x.mil, 2), RoundTo(x.cm, 2), RoundTo(x.clicks, 2)}; };
    s.vertical = round(c.vertical);
    s.horizontal = round(c.horizontal);
    return s;
}
