#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "BallisticSolver.h"
#include "DragFunc.h"
#include "DragLibrary.h"
#include "Shot.h"

// Everything tkcalc feeds the engine with, in the units the main dialog uses (metric; click values
// in MOA; pressure in mm Hg; target angle in degrees). The defaults are the first-run values of the
// program's settings; stored settings can later fill the same structure.
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
    double windAzimuth = 90.0;                   // degrees
    double temperature = 15.0;                   // °C
    double pressure = 754.0;                     // mm Hg
    double humidity = 55.0;                      // %

    // Zeroing atmosphere.
    bool sameAtmosphere = true;
    double zeroTemperature = 15.0;
    double zeroPressure = 754.0;
    double zeroHumidity = 55.0;

    // Options.
    bool addDerivation = false;
    bool addVerticalDrift = false;
    bool manualDrift = false;
    double manualDriftPercent = 10.0;
};

// One input that `--set NAME=VALUE` can change.
struct InputField {
    const char* name;
    std::variant<double ShotInputs::*, bool ShotInputs::*, std::optional<double> ShotInputs::*> member;
    const char* description;  // Russian, with the unit
    bool nonNegative = false;
};

std::span<const InputField> inputFields();
const InputField* findInputField(std::string_view name);

// Reads a number as the command line takes it: a point as the decimal separator, nothing after
// the number, finite. On failure gives nothing and a Russian explanation in `error`.
std::optional<double> parseNumber(std::string_view text, std::string& error);

// Sets one input by its name (flags take 0 or 1 only). False with a Russian message on bad input;
// the message does not repeat the name.
bool applySetting(ShotInputs& inputs, std::string_view name, std::string_view value, std::string& error);
// The same for "NAME=VALUE"; the message names the input.
bool applyAssignment(ShotInputs& inputs, std::string_view assignment, std::string& error);

// "NAME" or "NAME#NUMBER" as --drag and export take it; a "#" not followed by a whole number is
// part of the name.
std::pair<std::string, std::optional<int32_t>> splitNameAndNumber(const std::string& text);

// A library entry by name (UTF-8) and, when given, number: the first with exactly that name,
// else (without a number) the first with that name in another letter case; nullptr when there
// is none.
const DragFunc* findDragFunction(const DragLibrary& library, std::string_view utf8Name,
                                 std::optional<int32_t> number = std::nullopt);

// Fills the main solver's inputs and current drag function as the main dialog's Compute does.
void loadSolver(const ShotInputs& inputs, const DragFunc& dragFunction, BallisticSolver& main);
ZeroingAtmosphere zeroingAtmosphere(const ShotInputs& inputs);
DriftOptions driftOptions(const ShotInputs& inputs);
