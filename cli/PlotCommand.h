#pragma once
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Canvas.h"

// tkcalc plot: the drag function window's picture of a library function or a drag function file,
// written as a PNG or SVG file. Gives the exit status, or nothing when the arguments are not this
// command.
std::optional<int> runPlotCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The picture's size as --size gives it ("640x400"), within kMinPlotSize..kMaxPlotSize; nothing,
// with a Russian explanation in `error`, otherwise.
inline constexpr ui::Size kDefaultPlotSize{640, 400};
inline constexpr ui::Size kMinPlotSize{160, 120};
inline constexpr ui::Size kMaxPlotSize{4000, 4000};
std::optional<ui::Size> parsePlotSize(const std::string& text, std::string& error);
