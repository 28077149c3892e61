#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// tkcalc adjust: raises, lowers or reshapes a library drag function's curve by a step, as the curve
// editor's buttons do, prints the points and, with --save, writes the library. Gives the exit status,
// or nothing when the arguments are not this command.
std::optional<int> runAdjustCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
