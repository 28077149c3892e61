#pragma once
#include <string>

// A number written as "%.*f" would write it, with a point whatever the locale; except that a number
// shown as zero has no minus sign ("0.0", not "-0.0" for -0.04 or -0.0).
std::string formatFixed(double value, int decimals);
