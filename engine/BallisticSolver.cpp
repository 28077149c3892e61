#include "BallisticSolver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "Angles.h"
#include "CdLookup.h"
#include "EngineReporter.h"
#include "StandardDragSet.h"
#include "solve/LaunchAngleSolve.h"
#include "solve/Pass.h"
#include "solve/Paths.h"

namespace {
constexpr double kFeetPerMetre = 3.280839895;

double energyOf(double speed, double grains) { return speed * speed * grains / 450400 * 1.357; }

double angularMoa(double cm, double d) { return d > 30 ? moaAtDistance(cm, d) : 0; }

// The horizontal fields, velocity, energy and time of a row from the state of one step.
void fillFromStep(ResultsElement& row, const solve::StepState& s, double clickHorizontal, double grains) {
    const double speed = std::sqrt(s.vx * s.vx + s.vy * s.vy + s.vz * s.vz);
    row.distance = s.d;
    row.horizontalCm = s.z * 12 * 2.54;
    row.horizontalMil = row.horizontalCm * 10 / s.d;
    row.horizontalMoa = angularMoa(row.horizontalCm, s.d);
    row.horizontalClicks = row.horizontalMoa / clickHorizontal;
    row.velocity = speed / kFeetPerMetre;
    row.energy = energyOf(speed, grains);
    row.timeOfFlight = s.t;
}
}  // namespace

double bulletEnergy(double metresPerSecond, double grains) { return energyOf(metresPerSecond * kFeetPerMetre, grains); }

BallisticSolver::BallisticSolver() : dragFunction(solverDefaultG1()) {}

double BallisticSolver::saturationVapourPressure(double T) {
    static const double kF[] = {-40, 0, 32, 59, 70, 100, 130};
    static const double kE[] = {0.006, 0.045, 0.18, 0.5, 0.74, 1.93, 4.53};
    if (T <= -40) return 0.006;
    if (T >= 130) return 4.53;
    size_t j = 1;
    while (j < 6 && !(kF[j] > T)) ++j;
    const size_t i = j - 1;
    return kE[i] + (kE[j] - kE[i]) / (kF[j] - kF[i]) * (T - kF[i]);
}

double BallisticSolver::computeAtmosphere(double t, double p, double h) {
    airTemperatureF = t * 1.8 + 32;
    const double e = saturationVapourPressure(airTemperatureF);
    const double T = airTemperatureF + 459.67;
    const double factor = (1 - (e / 29.53) * ((h - 78) * 0.00378)) * ((p / 25.4002) / 29.53) * (518.67 / T);
    airDensityRatio = factor;
    speedOfSound = std::sqrt(T) * 49.19 / kFeetPerMetre;
    return factor;
}

void BallisticSolver::prepareInputs() {
    densityFactor = computeAtmosphere(airTemperature, airPressure, humidity);

    windAzimuthNormalized = windAzimuth;
    if (windAzimuthNormalized < -360 || windAzimuthNormalized > 360)
        windAzimuthNormalized = std::fmod(std::trunc(windAzimuth), 360.0);
    // The side the wind blows from, taken from the azimuth in [0, 360): -270 is the wind from 90.
    double from = std::fmod(windAzimuthNormalized, 360.0);
    if (from < 0) from += 360;
    windSideSign = from <= 180 ? 1 : -1;

    // The cosine and sine are cut to five decimals before use.
    const double a = windAzimuthNormalized * 3.141592653589793 / 180;
    const double w = windSpeed;
    const double r = -std::floor(std::cos(a) * 100000) * w / 100000;
    windRange = r * 2.236941851;
    windCross = std::floor(std::sin(a) * 100000) * w / 100000 * 2.236941851;

    const double v = mvCorrectionOff
                         ? muzzleVelocity
                         : ((airTemperature - mvTemperature) * mvTemperatureChange / 15 + 100) * (muzzleVelocity / 100);
    correctedMuzzleVelocity = v;
    launchSpeed = r * kFeetPerMetre + v * kFeetPerMetre;
    boreHeight = sightHeight / 2.54;

    if (dragFunction.kind == DragFuncKind::Special) {
        if (dragFunction.sectionalDensity == 0) {
            if (reporter) reporter->report(EngineMessage::ZeroSectionalDensity);
        } else {
            effectiveBC = dragFunction.sectionalDensity;
        }
    } else {
        effectiveBC = ballisticCoefficient;
    }
    bulletWeightGrains = bulletWeightGrams * 15.43;
}

void BallisticSolver::runPass() {
    const double end = solveDistance != 0 ? solveDistance : passMaxDistance;
    const bool tableMode = solveDistance == 0;

    writeMuzzleRow();
    solve::Pass pass(*this, end);
    struct Table {
        BallisticSolver& s;
        double next;
    } table{*this, outputStep};
    if (tableMode) {
        rows.push_back(workRow);
        pass.watchSteps(
            [](void* context, const solve::Pass& p) {
                Table& t = *static_cast<Table*>(context);
                BallisticSolver& s = t.s;
                const solve::StepState& st = p.state;
                if (st.d < t.next) return;
                ResultsElement& row = s.workRow;
                row.distance = st.d;
                row.verticalCm = p.y * 12 * 2.54;
                row.verticalMil = row.verticalCm * 10 / st.d;
                row.verticalMoa = angularMoa(row.verticalCm, st.d);
                row.verticalClicks = row.verticalMoa / s.clickVertical;
                fillFromStep(row, st, s.clickHorizontal, s.bulletWeightGrains);
                s.rows.push_back(row);
                t.next = t.next + s.outputStep;
            },
            &table);
    }
    solve::Pass* passes[] = {&pass};
    bool more;
    solve::stepUntilOneEnds(passes, 1, &more);
    endHeight = pass.y;
    if (pass.incomplete) converged = false;
    // Only the last recorded step's values survive in the target row.
    if (!tableMode && pass.recordedSteps > 0) fillTargetFromStep(pass.recordedState());
    applyZeroTargetDistance();
}

void BallisticSolver::prepareSolve(double distance) {
    prepareInputs();
    boreHeight = -boreHeight;
    outputStep = tableStep;
    passMaxDistance = tableMaxDistance;
    solveDistance = distance;
    windRange = windRange * 22 / 15;
    windCross = windCross * 22 / 15;
    launchAngle = 0;
    // A distance that is not a number still ends (after one step per pass), but answers nothing.
    converged = !std::isnan(distance);
}

// After a pass: true when the solve ends, with its result.
bool BallisticSolver::finishPass(int& k, double distance, double& result) {
    if (std::fabs(endHeight) < 0.00001) {
        solveDistance = 0;
        result = launchAngle;
        return true;
    }
    k = k + 1;
    angleHistory[k] = launchAngle;
    heightHistory[k] = endHeight;
    const double next = k == 1 ? launchAngle + 2
                               : angleHistory[k] + (0 - heightHistory[k]) * (angleHistory[k - 1] - angleHistory[k]) /
                                                       (heightHistory[k - 1] - heightHistory[k]);
    angleHistory[k + 1] = next;
    if (k < kMaxPasses) launchAngle = next;
    if (distance == 0) {
        result = launchAngle;
        return true;
    }
    if (k >= kMaxPasses) {
        // The history is full and the angle can no longer change: stop with the last one.
        converged = false;
        result = launchAngle;
        return true;
    }
    return false;
}

void BallisticSolver::writeMuzzleRow() {
    workRow = ResultsElement{};
    workRow.verticalCm = boreHeight * 2.54;
    workRow.velocity = launchSpeed / kFeetPerMetre;
    workRow.energy = energyOf(launchSpeed, bulletWeightGrains);
}

double BallisticSolver::solvePassByPass(double distance) {
    prepareSolve(distance);
    int k = 0;
    double result = 0;
    for (;;) {
        runPass();
        if (finishPass(k, distance, result)) return result;
    }
}

double BallisticSolver::solveLaunchAngle(double distance) { return solve::LaunchAngleSolve::solve(*this, distance); }

void BallisticSolver::fillTargetFromStep(const solve::StepState& st) {
    fillFromStep(targetRow, st, clickHorizontal, bulletWeightGrains);
}

void BallisticSolver::applyZeroTargetDistance() {
    if (targetDistance == 0) {
        targetRow.energy = 0;
        targetRow.timeOfFlight = 0;
        targetRow.velocity = correctedMuzzleVelocity;
    }
}

double BallisticSolver::correctionAt(double D) {
    return correctionFromAngle(D, solveLaunchAngle(D));
}

double BallisticSolver::correctionFromAngle(double D, double thetaD) {
    const double Z = zeroDistance;
    const double s = sightHeight / 2.54;
    const double thetaZ = zeroAngle;
    const double alpha = targetAngle;
    double g;
    if (alpha == 0) {
        shownZeroAngle = thetaZ;
        g = thetaD - thetaZ;
    } else {
        const double X = D * 100 / 2.54;
        const double A = std::tan(thetaD / 3437.7467707849396) * X - s;
        const double R = std::tan(thetaZ / 3437.7467707849396) * (Z * 100) / 2.54;
        zeroLineRise = R;
        // The slope uses 57.3 degrees per radian.
        g = D > 30 ? moaAtDistance((std::cos(alpha / 57.3) * A + s - R / Z * D) * 2.54, D) : 0;
    }
    targetRow.verticalMoa = g;
    targetRow.verticalClicks = g / clickVertical;
    targetRow.verticalCm = std::tan(g / 3437.7467707849396) * D * 100;
    targetRow.verticalMil = targetRow.verticalCm * 10 / D;
    return g;
}

double BallisticSolver::driftAngle(double sg) {
    static const double kSg[] = {1, 1.1, 1.2, 1.3, 1.4, 1.5, 2, 2.4, 3};
    static const double kDeg[] = {0, 7.5, 12, 14, 15.5, 16.5, 20, 22, 24};
    if (sg <= 1) return 0;
    if (sg >= 3) return 24;
    size_t j = 1;
    while (j < 8 && !(kSg[j] > sg)) ++j;
    const size_t i = j - 1;
    return kDeg[i] + (kDeg[j] - kDeg[i]) / (kSg[j] - kSg[i]) * (sg - kSg[i]);
}

double BallisticSolver::verticalWindDrift(double h, bool manualDrift, double manualDriftPercent) const {
    const double m = manualDrift ? manualDriftPercent / 100 * h
                                 : std::tan(driftAngle(dragFunction.stabilityFactor) / 57.29577951308232) * std::fabs(h);
    return -std::fabs(m) * windSideSign;
}

double BallisticSolver::spinDrift(double t) const {
    const double sg = dragFunction.stabilityFactor;
    if (sg == 0) return 0;
    return std::pow(std::max(t - zeroTimeOfFlight, 0.0), 1.83) * ((sg + 1.2) * 1.25) * 2.54;
}
