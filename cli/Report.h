#pragma once
#include <optional>
#include <string>

#include "Calculation.h"
#include "CorrectionTable.h"
#include "ShotInputs.h"

// The three ways tkcalc prints a calculation. `table` is the asked range (before clamping) when
// the calculation is a table, nothing for a single distance. The energy is printed only when the
// function carries a bullet weight (Calculation::hasEnergy).

// Russian text as the main dialog and the table dialog show the values, the sign conventions under it.
std::string textReport(const ShotInputs& inputs, const Calculation& calc, const std::optional<TableRange>& table);

// RFC 4180, UTF-8, CRLF line ends, a point as the decimal separator, one header row. Numbers at
// full round-trip precision; a value that is not a finite number is an empty field.
std::string csvReport(const Calculation& calc);

// One JSON object; numbers at full round-trip precision, non-finite numbers as null.
std::string jsonReport(const ShotInputs& inputs, const Calculation& calc, bool table);

// Whether any shown value (the eight rounded corrections, velocity, time of flight, the energy when
// shown) is not a finite number.
bool hasNonFiniteResults(const Calculation& calc);

// The drift options asked for that add nothing with the stability factor of the function used.
struct DriftsLeftOut {
    bool derivation = false;     // no stability factor: the spin drift is 0
    bool verticalDrift = false;  // taken from the stability factor, which is 1 or below
    double stabilityFactor = 0;
    std::string dragFunction;    // UTF-8

    // What is left out and why, in Russian, starting in small letters ("не учтена деривация: ...");
    // empty when nothing asked for is.
    std::string text() const;
};
DriftsLeftOut driftsLeftOut(const ShotInputs& inputs, const Calculation& calc);

// Which way the wind azimuth and the corrections point (Russian, two lines): under the text, and
// in the help.
extern const char* const kSignConventions;
