#pragma once
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

// The target angle as the record shows it: degrees, or the cosine rounded to three decimals.
double shownTargetAngle(double degrees, int32_t angleMode);

// The stored table range and step.
TableRange tableRangeFrom(const TableSettingsRecord& table);
