#pragma once
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// tkcalc list, import and export: the drag function library of the data folder. Gives the exit
// status, or nothing when the arguments are not one of these commands.
std::optional<int> runLibraryCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                                     std::ostream& err);
