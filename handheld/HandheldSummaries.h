#pragma once
#include <string>

#include "DragFunc.h"
#include "ShotInputs.h"

// The four summaries of the input overview "Ввод данных", built again whenever one of its screens
// closes with OK. Lines are separated by "\n" (the window layer's line break).

// "Патрон:\nG1\n792/30/2.5/0.447": name, muzzle velocity, temperature of the measurement, velocity
// change, and the BC (none for a function of its own, kind Special).
std::string cartridgeSummary(const ShotInputs& in, const DragFunc& f);
// "Атмосфера:\n15гр/754мм.рт.ст./55": temperature, pressure in mm Hg, humidity.
std::string atmosphereSummary(const ShotInputs& in);
// "Приц.:\n100/5.5/0.25/0.25\n": zero distance, sight height, vertical and horizontal click values;
// in MIL (× 0.290888233 rounded to 4 decimals) when the clicks are set in MIL.
std::string rifleSummary(const ShotInputs& in, bool clicksInMil);
// "Пристрелка на месте" when zeroed here, else "Атм. пристрелки:  15/754/55".
std::string zeroingSummary(const ShotInputs& in);
