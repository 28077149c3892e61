#pragma once
#include <vector>

#include "DragFunc.h"
#include "ResultsElement.h"

class EngineReporter;
namespace solve {
class LaunchAngleSolve;
struct StepState;
}  // namespace solve

// The ballistic engine: every input of a shot, the air model, the integration state and its
// results. Inputs are metric; the engine works in feet, ft/s, inches, grains, °F and inHg.
class BallisticSolver {
public:
    BallisticSolver();

    // Results.
    std::vector<ResultsElement> rows;  // appended by table passes; never cleared by the engine
    ResultsElement workRow;
    ResultsElement targetRow;
    DragFunc dragFunction;             // the solver's own copy

    // Inputs and derived values.
    double shownZeroAngle = 0.0;       // MOA
    double airDensityRatio = 0.0;
    double windSideSign = 0.0;
    double targetDistance = 500.0;     // m
    double windSpeed = 0.0;            // m/s
    double windAzimuth = 90.0;         // degrees, direction the wind comes from; 0 = head wind
    double targetAngle = 0.0;          // degrees
    double spareInput = 0.0;
    double windAzimuthNormalized = 0.0;
    double zeroDistance = 100.0;       // m
    double sightHeight = 5.0;          // cm
    double clickVertical = 0.25;       // MOA
    double clickHorizontal = 0.25;     // MOA
    double bulletWeightGrams = 9.53;
    double muzzleVelocity = 807.0;     // m/s at mvTemperature
    double ballisticCoefficient = 0.447;
    double mvTemperature = 15.0;       // °C
    double mvTemperatureChange = 2.5;  // % per 15 °C
    bool mvCorrectionOff = false;
    double airTemperature = 15.0;      // °C
    double airPressure = 750.0;        // mm Hg
    double humidity = 78.0;            // %
    double speedOfSound = 0.0;         // m/s
    double zeroLineRise = 0.0;         // inches
    double zeroAngle = 0.0;            // MOA
    double zeroTimeOfFlight = 0.0;     // s
    double correctedMuzzleVelocity = 0.0;
    double bulletWeightGrains = 0.0;
    double outputStep = 0.0;
    double solveDistance = 0.0;
    double passMaxDistance = 0.0;
    double endHeight = 0.0;            // ft
    double angleHistory[22] = {};      // entries 1..21, MOA
    double heightHistory[21] = {};     // entries 1..20, ft
    double gravity = 32.174;
    double tolerance = 0.00001;
    double stepMetres = 1.0;
    double stepFeet = 3.280839895013123;
    double densityLapse1 = -0.00003158;
    double densityLapse2 = 0.0;
    double temperatureLapse1 = -6.015e-6;
    double temperatureLapse2 = 0.0;
    double dragConstant = -0.0002048757;
    double soundSpeedFactor = 49.19;
    double launchSpeed = 3000.0;       // ft/s
    double effectiveBC = 0.4;
    double boreHeight = 1.5;           // inches
    double launchAngle = 0.0;          // MOA
    double densityFactor = 1.0;
    double airTemperatureF = 59.0;
    double tableStep = 100.0;
    double tableMaxDistance = 1000.0;
    double windRange = 0.0;            // mph after prepareInputs, ft/s during a solve
    double windCross = 0.0;

    // Where engine messages go; none shows nothing.
    EngineReporter* reporter = nullptr;
    // Whether the last launch-angle solve met its end: false when it stopped after its 20th pass
    // without reaching the line of sight, when a corrector needed more than kMaxCorrectorIterations
    // or when a pass was longer than kMaxPassMetres.
    bool converged = true;

    static constexpr int kMaxPasses = 20;
    static constexpr int kMaxCorrectorIterations = 1000;
    static constexpr double kMaxPassMetres = 100000.0;

    void prepareInputs();
    double computeAtmosphere(double temperatureC, double pressureMmHg, double humidityPercent);
    static double saturationVapourPressure(double temperatureF);

    // One pass at the launch angle: to solveDistance, filling the target row from its last
    // recorded step, or (solveDistance 0) to passMaxDistance, appending a row every outputStep.
    void runPass();
    // The launch angle that puts the bullet on the line of sight at the distance: passes at 0 and
    // 2 MOA, then by the secant rule until the height at the distance is within 0.00001 ft (at
    // most kMaxPasses). The result and the target row are those of the solve pass by pass; the
    // passes are integrated side by side and with less bookkeeping (engine/solve).
    double solveLaunchAngle(double distance);

    double correctionAt(double distance);
    static double driftAngle(double stabilityFactor);
    // Vertical wind drift, MOA, for a horizontal wind correction in MOA.
    double verticalWindDrift(double horizontalMoa, bool manualDrift, double manualDriftPercent) const;
    // Spin drift (derivation), cm, at a time of flight.
    double spinDrift(double timeOfFlight) const;

    // The part of correctionAt after the solve, given the launch angle it found.
    double correctionFromAngle(double distance, double launchAngleAtDistance);

private:
    // The solve machinery's way to the steps of a solve below.
    friend class solve::LaunchAngleSolve;
    void prepareSolve(double distance);
    bool finishPass(int& k, double distance, double& result);
    // The solve as described, every pass filling the target row (what the fast solve falls back
    // on where it cannot know the target row).
    double solvePassByPass(double distance);
    void writeMuzzleRow();
    void fillTargetFromStep(const solve::StepState& st);
    void applyZeroTargetDistance();
};

// Kinetic energy, J, of a bullet of `grains` at `metresPerSecond`, by the rows' formula (the rows
// themselves carry it for bulletWeightGrams).
double bulletEnergy(double metresPerSecond, double grains);
