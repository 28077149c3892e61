#pragma once
#include "RoundTo.h"

// Pressure is kept in mm Hg and shown in mm Hg or hPa; the unit check box names the unit shown.
inline const char* pressureUnitText(bool hpa) { return hpa ? "hPa" : "мм.рт.столба"; }

// The conversions of a shown value when the unit changes, to 0.1.
inline double hpaFromMmHg(double mmHg) { return RoundTo(mmHg * 1013.25 / 760.0, 1); }
inline double mmHgFromHpa(double hpa) { return RoundTo(hpa * 760.0 / 1013.25, 1); }
