#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// tkcalc estimate: the drag function, BC and stability estimated from a bullet's shape, starting from
// the data folder's current bullet or a database record (both only read). Gives the exit status, or
// nothing when the arguments are not this command.
std::optional<int> runEstimateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
