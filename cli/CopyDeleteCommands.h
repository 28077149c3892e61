#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// tkcalc copy and delete: the drag function manager's "Сделать копию" and "Удалить" on the data
// folder's library, which is then saved. Gives the exit status, or nothing when the arguments are
// not one of these commands.
std::optional<int> runCopyDeleteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
