#pragma once
#include <optional>
#include <string>

#include "ShotInputs.h"

// An input of the shot as a dialog field shows it: in the table's unit, or in one the user chose
// (hPa for mm Hg, MIL for MOA clicks, a cosine for the target angle). A value is checked in the
// table's unit, after the conversion the dialog makes; the message names the field and gives the
// limits in the unit shown.
struct ShownInput {
    const InputField* field = nullptr;
    const char* unit = "";  // the unit shown
    InputLimits limits;     // in the unit shown: rounded inwards, so every value they allow is taken
    bool unitAfterNumbers = true;  // "100 %", but a cosine is a plain number

    // "Атмосферное давление, hPa".
    std::string label() const;
    // Why the field cannot hold `shown`, whose value in the table's unit is `input` (nothing when it
    // has none): "Атмосферное давление, hPa: допустимо от 134 до 1466 hPa, получено 2000". Empty
    // when it can.
    std::string refusal(double shown, std::optional<double> input) const;
};

// Shown as the table has it.
ShownInput shownAsIs(const InputField& field);
// Shown as `factor` × the table's value, at `decimals` decimals.
ShownInput shownScaled(const InputField& field, const char* unit, double factor, int decimals);
// The pressure fields: in mm Hg, or in hPa as whole numbers.
ShownInput shownPressure(const InputField& field, bool hpa);

// The units a calculator field may show its input in besides the table's own. Both calculators
// (desktop and handheld) convert through these, so the same typed value gives the same input.
enum class ShownUnit {
    AsIs,
    Hpa,       // pressure in hPa, whole numbers (kept in mm Hg)
    ClickMoa,  // a click value in MOA to 3 decimals
    ClickMil,  // a click value in MIL to 4 decimals (kept in MOA)
    Cosine,    // the target angle as its cosine, to 3 decimals (kept in whole degrees)
};
ShownInput shownIn(const InputField& field, ShownUnit unit);
// The input as the field shows it.
double shownValue(double input, ShownUnit unit);
// The field's value in the input's own unit; nothing when it has none (a cosine outside -1...1 has
// no angle: it would give a NaN angle).
std::optional<double> inputFromShown(double shown, ShownUnit unit);
