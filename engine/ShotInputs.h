#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "BallisticSolver.h"
#include "DragFunc.h"
#include "Shot.h"

// Everything a shot is computed from, in the units the calculator shows by default (metric; click
// values in MOA; pressure in mm Hg; target angle in degrees). The defaults are the first-run values.
// Every program fills one of these (from its settings, its fields or its command line) and hands it
// to the engine through loadSolver.
struct ShotInputs {
    // Cartridge.
    std::string dragFunctionName = "G1";         // UTF-8
    std::optional<int32_t> dragFunctionNumber;   // with the name: that entry of the library
    std::optional<double> stabilityFactor;       // replaces the chosen function's own when set
    double muzzleVelocity = 792.0;               // m/s at mvTemperature
    double ballisticCoefficient = 0.447;
    double mvTemperature = 30.0;                 // °C
    double mvTemperatureChange = 2.5;            // % per 15 °C
    bool mvCorrectionOff = false;

    // Rifle.
    double sightHeight = 5.5;                    // cm
    double zeroDistance = 100.0;                 // m
    double clickVertical = 0.25;                 // MOA
    double clickHorizontal = 0.25;               // MOA

    // Shot.
    double distance = 685.0;                     // m
    double targetAngle = 0.0;                    // degrees
    double windSpeed = 1.0;                      // m/s
    double windAzimuth = 90.0;                   // degrees, where the wind comes from; 0 = head wind
    double temperature = 15.0;                   // °C
    double pressure = 754.0;                     // mm Hg
    double humidity = 55.0;                      // %

    // Zeroing atmosphere.
    bool sameAtmosphere = true;
    double zeroTemperature = 15.0;               // °C
    double zeroPressure = 754.0;                 // mm Hg
    double zeroHumidity = 55.0;                  // %

    // Options.
    bool addDerivation = false;
    bool addVerticalDrift = false;
    bool manualDrift = false;
    double manualDriftPercent = 10.0;            // %

    bool operator==(const ShotInputs&) const = default;
};

// The values a number input may take: from `low` to `high`, each end in or out of the range.
struct InputLimits {
    double low = -1e308;
    double high = 1e308;
    bool lowIncluded = true;
    bool highIncluded = true;

    // False for a value that is not finite.
    bool contains(double value) const;
    // "от 0 до 100", "больше 0", "не меньше 0", ...; empty for a range without ends.
    std::string text() const;
};

// One input as every front end names it: the key (tkcalc's --set name), where it lives, its unit
// and the Russian label a message names it by.
struct InputField {
    const char* key;
    std::variant<double ShotInputs::*, bool ShotInputs::*, std::optional<double> ShotInputs::*> member;
    const char* label;  // Russian, capitalised
    const char* unit;   // empty for flags and plain numbers
    InputLimits limits = {};

    bool isFlag() const { return std::holds_alternative<bool ShotInputs::*>(member); }
    // The number input itself (nullptr for a flag or an optional input).
    double* number(ShotInputs& inputs) const;
    const double* number(const ShotInputs& inputs) const;
    // "Начальная скорость, м/с"; the label alone without a unit.
    std::string labelWithUnit() const;
    // Why the value cannot be this input's (Russian, naming neither the input nor the value:
    // "допустимо от 0 до 100 %"); empty when it can. A value that is not finite never can.
    std::string refusal(double value) const;
    // The same naming both: "Влажность, %: допустимо от 0 до 100 %, получено 120".
    std::string refusalMessage(double value) const;
};

// The inputs in the order a shooter reads them, each with the limits of a real shot.
std::span<const InputField> inputFields();
const InputField* findInputField(std::string_view key);
// The first input out of its limits, as refusalMessage names it; empty when every one is within.
std::string refusalOf(const ShotInputs& inputs);

// Fills the solver's inputs and current drag function (the solver's own copy, with the inputs'
// stability factor when one is given) as the calculator's Compute does. The only writer of a
// solver's inputs outside the engine.
void loadSolver(const ShotInputs& inputs, const DragFunc& dragFunction, BallisticSolver& solver);
// The drag function a solve on these inputs uses: the chosen one, with the inputs' stability factor
// when one is given.
DragFunc shotDragFunction(const ShotInputs& inputs, const DragFunc& chosen);
ZeroingAtmosphere zeroingAtmosphere(const ShotInputs& inputs);
DriftOptions driftOptions(const ShotInputs& inputs);

// What a solve on these inputs derives before it integrates (air density ratio, speed of sound,
// temperature-corrected muzzle velocity, the wind azimuth taken) and the sight-line angle a level
// shot shows with this zero angle (a sloped one shows 0: it keeps the last level value). No solve
// is run; the target row and the zero line rise are empty.
ShotSummary preparedSummary(const ShotInputs& inputs, const DragFunc& dragFunction, double zeroAngle);
