#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "CBulletsArray.h"

// tkcalc bullets [--json], tkcalc bullets show NAME[#N]: the bullet database of the data folder, as
// the drag-from-shape calculator would open it, only read. Gives the exit status, or nothing when
// the arguments are not this command.
std::optional<int> runBulletsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// A database record by name (UTF-8) and, when given, number: the first with exactly that name.
std::optional<CBulletDimensions> findBullet(const CBulletsArray& bullets, const std::string& nameAndNumber);
// "есть: "NAME#N", ..." or "база пуль пуста", for a message about a bullet not found.
std::string bulletList(const CBulletsArray& bullets);
