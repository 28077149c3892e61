#pragma once
#include <string_view>
#include <vector>

#include "DragFunc.h"

// The ten standard drag functions (G1, G7, G2, G5, G6, G8, GI, GL, GS, RA4, in that order, numbered
// 1, 5, 2, 3, 4, 6, 7, 8, 9, 10), appended to the library.
void makeStandardSet(std::vector<DragFunc>& library);

// The sample special function "Sierra MatchKing, 168gr", appended with the given number (the
// library's next number).
void makeSampleFunction(std::vector<DragFunc>& library, int32_t uniqueNumber);
DragFunc sampleFunction();

// The standard function with that name, as the set has it (number and description); false when
// the name is not a standard one.
bool standardFunction(std::string_view name, DragFunc& out);

// The G1 table as a new solver carries it: name "G1", no description, number 0.
DragFunc solverDefaultG1();

// Fixed lookups over the G1 and G7 tables for the bullet-shape estimator: 0.5 and 0.17 at Mach 5
// and above. Never called with a negative Mach number.
double cdG1Fixed(double mach);
double cdG7Fixed(double mach);
