#pragma once
#include <optional>
#include <string>

#include "Calculation.h"
#include "CorrectionTable.h"
#include "ShotInputs.h"

// The three ways tkcalc prints a calculation. `table` is the asked range (before clamping) when
// the calculation is a table, nothing for a single distance.

// Russian text as the main dialog and the table dialog show the values.
std::string textReport(const ShotInputs& inputs, const Calculation& calc, const std::optional<TableRange>& table);

// RFC 4180, UTF-8, CRLF line ends, a point as the decimal separator, one header row. Numbers at
// full round-trip precision; a value that is not a finite number is an empty field.
std::string csvReport(const Calculation& calc);

// One JSON object; numbers at full round-trip precision, non-finite numbers as null.
std::string jsonReport(const ShotInputs& inputs, const Calculation& calc, bool table);

// Whether any shown value (the eight rounded corrections, velocity, time of flight, energy) is
// not a finite number.
bool hasNonFiniteResults(const Calculation& calc);
