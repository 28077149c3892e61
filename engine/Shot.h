#pragma once
#include "BallisticSolver.h"
#include "ResultsElement.h"

// What every caller (main dialog, results table, handheld, tkcalc) does with the two solvers: zero
// the rifle, then turn the engine's answer at a distance into the corrections the shooter dials.

// The atmosphere the rifle was zeroed in: the current one, or a stored one.
struct ZeroingAtmosphere {
    bool sameAsCurrent = true;
    double temperature = 15.0;  // °C
    double pressure = 754.0;    // mm Hg
    double humidity = 55.0;     // %
};

struct DriftOptions {
    bool addDerivation = false;     // subtract the spin drift from the horizontal correction
    bool addVerticalDrift = false;  // add the cross wind's vertical drift to the vertical correction
    bool manualDrift = false;       // vertical drift as a fixed share of the horizontal wind correction
    double manualDriftPercent = 10.0;
};

struct Corrections {
    double moa = 0.0;
    double mil = 0.0;
    double cm = 0.0;
    double clicks = 0.0;
};

struct DistanceCorrections {
    double distance = 0.0;       // as asked, m
    ResultsElement row;          // the main solver's target row after the solve
    Corrections vertical;        // unrounded, after the optional drifts
    Corrections horizontal;
    bool converged = true;
};

struct ZeroingResult {
    double zeroAngle = 0.0;      // MOA
    double timeOfFlight = 0.0;   // s, to the zero distance
    bool converged = true;
};

// Copies the shot inputs and the current drag function of `main` into `zeroing` with the chosen
// atmosphere, solves at the zero distance, and stores the zero angle in both solvers and the
// zeroing time of flight in `main`. The zeroing solver also takes main's mvCorrectionOff: with the
// temperature correction off, a shot at the zero distance in the zeroing atmosphere needs none.
ZeroingResult zeroRifle(BallisticSolver& main, BallisticSolver& zeroing, const ZeroingAtmosphere& atmosphere);

// What callers read of the main solver after an operation, besides the corrections.
struct ShotSummary {
    ResultsElement targetRow;              // of the last solve
    double shownZeroAngle = 0.0;           // MOA: the angle between sight line and bore shown
    double airDensityRatio = 0.0;
    double speedOfSound = 0.0;             // m/s
    double correctedMuzzleVelocity = 0.0;  // m/s
    double zeroLineRise = 0.0;             // inches, of the last sloped shot
    double windAzimuth = 0.0;              // degrees, as the solve took it
};
ShotSummary summaryOf(const BallisticSolver& solver);

struct ShotAnswer {
    ZeroingResult zeroing;
    DistanceCorrections corrections;
    ShotSummary summary;
};

// What the calculator does for one shot: zeroRifle, then correctionsAt the distance, with the
// same results bit for bit, but with the work of the two solves shared and overlapped.
ShotAnswer computeShot(BallisticSolver& main, BallisticSolver& zeroing, const ZeroingAtmosphere& atmosphere,
                       double distance, const DriftOptions& options);

// The corrections at a distance on a zeroed main solver (sets its targetDistance).
DistanceCorrections correctionsAt(BallisticSolver& main, double distance, const DriftOptions& options);

// The rest of correctionsAt once the main solver's correctionAt has given the vertical correction g
// (MOA) at the distance.
DistanceCorrections correctionsFromVertical(BallisticSolver& main, double distance, double g,
                                            const DriftOptions& options);

// The corrections as the program shows them: each rounded to two decimals; all 0 at distance 0.
struct ShownCorrections {
    Corrections vertical;
    Corrections horizontal;
};
ShownCorrections shownCorrections(const DistanceCorrections& c);
