#pragma once
#include <istream>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "DragFunc.h"

// tkcalc list, import and export: the drag function library of the data folder. Gives the exit
// status, or nothing when the arguments are not one of these commands.
std::optional<int> runLibraryCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                                     std::ostream& err);

// A drag function as `tkcalc list --json` writes it (values that are not numbers as null); without
// its number, kind and description when `withIdentity` is false.
nlohmann::ordered_json dragFunctionJson(const DragFunc& f, bool withIdentity = true);
