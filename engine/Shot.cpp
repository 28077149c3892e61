#include "Shot.h"

#include <algorithm>
#include <cmath>

#include "Angles.h"
#include "solve/PassTrace.h"
#include "solve/LaunchAngleSolve.h"

#include "RoundTo.h"

namespace {
void copyZeroingInputs(const BallisticSolver& main, BallisticSolver& zeroing, const ZeroingAtmosphere& atmosphere) {
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
}

// Stores the zeroing solve's answer in both solvers.
ZeroingResult takeZero(BallisticSolver& main, BallisticSolver& zeroing, double zeroAngle) {
    ZeroingResult result;
    result.zeroAngle = zeroAngle;
    result.converged = zeroing.converged;
    result.timeOfFlight = zeroing.targetRow.timeOfFlight;
    zeroing.zeroAngle = result.zeroAngle;
    main.zeroAngle = result.zeroAngle;
    main.zeroTimeOfFlight = result.timeOfFlight;
    return result;
}
}  // namespace

ShotSummary summaryOf(const BallisticSolver& s) {
    return ShotSummary{s.targetRow,    s.shownZeroAngle, s.airDensityRatio,       s.speedOfSound,
                       s.correctedMuzzleVelocity, s.zeroLineRise, s.windAzimuthNormalized};
}

ZeroingResult zeroRifle(BallisticSolver& main, BallisticSolver& zeroing, const ZeroingAtmosphere& atmosphere) {
    copyZeroingInputs(main, zeroing, atmosphere);
    return takeZero(main, zeroing, zeroing.solveLaunchAngle(zeroing.zeroDistance));
}

ShotAnswer computeShot(BallisticSolver& main, BallisticSolver& zeroing, const ZeroingAtmosphere& atmosphere,
                       double distance, const DriftOptions& options) {
    ShotAnswer answer;
    if (!(distance > 0)) {
        answer.zeroing = zeroRifle(main, zeroing, atmosphere);
        answer.corrections = correctionsAt(main, distance, options);
        answer.summary = summaryOf(main);
        return answer;
    }
    copyZeroingInputs(main, zeroing, atmosphere);
    main.targetDistance = distance;
    // The main solve does not need the zero angle until it is over, so the two solves run side by
    // side; when both integrate the same trajectories (the zeroing atmosphere is the current one),
    // their first two passes are integrated once, as far as the farther distance.
    const bool shared = solve::samePassInputs(main, zeroing);
    const solve::FirstPasses traces =
        solve::traceFirstPasses(main, shared ? std::max(distance, main.zeroDistance) : distance);
    solve::LaunchAngleSolve zeroSolve(zeroing, zeroing.zeroDistance, shared ? &traces : nullptr);
    solve::LaunchAngleSolve mainSolve(main, distance, &traces);
    solve::LaunchAngleSolve* solves[] = {&zeroSolve, &mainSolve};
    solve::LaunchAngleSolve::runTogether(solves, 2);

    answer.zeroing = takeZero(main, zeroing, zeroSolve.result());
    answer.corrections =
        correctionsFromVertical(main, distance, main.correctionFromAngle(distance, mainSolve.result()), options);
    answer.summary = summaryOf(main);
    return answer;
}

DistanceCorrections correctionsAt(BallisticSolver& main, double distance, const DriftOptions& options) {
    main.targetDistance = distance;
    return correctionsFromVertical(main, distance, main.correctionAt(distance), options);
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
    out.horizontal.moa = r > 30 ? moaAtDistance(D, r) : 0;
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
