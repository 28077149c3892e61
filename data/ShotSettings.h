#pragma once
#include <string>
#include <vector>

#include "CorrectionTable.h"
#include "SettingsRecord.h"
#include "ShotInputs.h"

// The shot's inputs as the settings files keep them, both ways, for the desktop's and the handheld's
// record. Click values are kept in MOA and pressures in mm Hg whatever the units shown; the target
// angle is kept as last shown (degrees, or its cosine in the cosine mode) but a program starts with
// the target level, so it is not read back. Everything of the record that is not an input (units
// shown, last results, unit selections) is left as it was.
ShotInputs shotInputsFrom(const SettingsRecord& record);
ShotInputs shotInputsFrom(const HandheldSettingsRecord& record);
void storeShotInputs(const ShotInputs& inputs, SettingsRecord& record);
void storeShotInputs(const ShotInputs& inputs, HandheldSettingsRecord& record);

// What a start takes from the records it has read: a value that is not a number, or lies outside
// what the program accepts, goes back to its first-run value, field by field, and the Russian label
// of each one replaced is added to `replaced` (a random file of the right length must not set a
// distance of 8.8e264 m).
//
// The shot's inputs, each within the limits of its field of inputFields().
ShotInputs sanitizedShotInputs(const SettingsRecord& record, std::vector<std::string>& replaced);
ShotInputs sanitizedShotInputs(const HandheldSettingsRecord& record, std::vector<std::string>& replaced);
// The last results the dialog shows again (sight-line angle, air density ratio) and the curve step,
// each when it is not finite.
void sanitizeShownValues(SettingsRecord& record, std::vector<std::string>& replaced);
// The table range: first and last distance from 0 to 3000 m, a step of 100, 50, 25, 10 or 5 m (or
// 1 m, which the handheld's table also offers).
void sanitizeTableSettings(TableSettingsRecord& table, std::vector<std::string>& replaced, bool oneMetreStep = false);

// The target angle as the record shows it: degrees, or the cosine rounded to three decimals.
double shownTargetAngle(double degrees, int32_t angleMode);

// The stored table range and step.
TableRange tableRangeFrom(const TableSettingsRecord& table);
