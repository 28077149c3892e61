#pragma once
#include <string>

// A number written as "%.*f" would write it, with a point whatever the locale.
std::string formatFixed(double value, int decimals);
