#pragma once
#include "Angles.h"
#include "BallisticSolver.h"
#include "DragFunc.h"

// The small calculators: gyroscopic stability and sectional density for the drag function editor,
// BC conversion and the additional data at the target for the main calculator. Results come out
// rounded as they are shown; nothing is checked, so a zero where a divisor belongs gives an infinite
// or undefined result and the dialogs decide how to show it.

// The bullet and the air for Miller's twist formula.
struct MillerInputs {
    double weightGrains = 0.0;
    double twistInches = 0.0;  // inches per turn
    double diameterInches = 0.0;
    double lengthInches = 0.0;
    double velocity = 0.0;     // m/s
    double temperature = 0.0;  // °C
    double pressure = 0.0;     // mm Hg
};

// Gyroscopic stability factor by Miller's formula with its velocity and atmosphere corrections,
// to 4 decimals.
double millerStability(const MillerInputs& in);

// Sectional density, lb/in², to 4 decimals.
double sectionalDensity(double weightGrains, double diameterInches);

// A ballistic coefficient for the `source` drag law as one for `target`, matched at a velocity
// (m/s), to 4 decimals.
double convertBallisticCoefficient(double bc, double velocity, const DragFunc& source, const DragFunc& target);

// The units the additional data can be shown in, in the order of their lists.
enum class AddInfoUnit { Cm = 0, Moa = 1, Mil = 2, Clicks = 3 };

// The shot at the target that the additional data is worked out for.
struct AddInfoTarget {
    double distance = 0.0;         // m
    double timeOfFlight = 0.0;     // s, as shown
    double clickValueCm = 0.0;     // one vertical click at the distance, cm, as shown
    double clickHorizontal = 0.0;  // MOA
};

// How far a target crossing at a speed moves during the time of flight, cm (unrounded).
double leadCm(double targetSpeedKmh, double timeOfFlight);

// The lead in a unit: whole centimetres; MOA and clicks 0 within 30 m, where angles are not given.
double leadIn(AddInfoUnit unit, double targetSpeedKmh, const AddInfoTarget& at);

// The spin drift at the target (the solver's stability factor and zero time of flight) in a unit;
// MOA and clicks 0 within 30 m.
double spinDriftIn(AddInfoUnit unit, const BallisticSolver& solver, const AddInfoTarget& at);

// The vertical drift a cross wind causes at the target, in a unit, from the solver's horizontal wind
// correction, wind side and stability factor, or as a share of the horizontal correction when
// `manualDrift` is set. 0 when the stability factor is 0.
double verticalWindDriftIn(AddInfoUnit unit, const BallisticSolver& solver, const AddInfoTarget& at, bool manualDrift,
                           double manualDriftPercent);
