#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// tkcalc send and sync: the drag function manager's "Послать функцию на PDA" and "Синхронизировать
// с PDA" onto a device given as a folder (--device), the same way. Gives the exit status, or nothing
// when the arguments are not one of these commands.
std::optional<int> runTransferCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
