#pragma once
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DragLibrary.h"
#include "ShotInputs.h"

// How tkcalc's command line names and writes the shot's inputs.

// Reads a number as the command line takes it: a point as the decimal separator, nothing after
// the number, finite. On failure gives nothing and a Russian explanation in `error`.
std::optional<double> parseNumber(std::string_view text, std::string& error);

// Sets one input by its key (flags take 0 or 1 only), within the input's limits. False with a
// Russian message on bad input; the message does not repeat the key.
bool applySetting(ShotInputs& inputs, std::string_view key, std::string_view value, std::string& error);
// The same for "KEY=VALUE"; the message names the input.
bool applyAssignment(ShotInputs& inputs, std::string_view assignment, std::string& error);

// "NAME" or "NAME#NUMBER" as --drag and export take it; a "#" not followed by a whole number is
// part of the name.
std::pair<std::string, std::optional<int32_t>> splitNameAndNumber(const std::string& text);

// A library entry by name (UTF-8) and, when given, number: the first with exactly that name,
// else (without a number) the first with that name in another letter case; nullptr when there
// is none.
const DragFunc* findDragFunction(const DragLibrary& library, std::string_view utf8Name,
                                 std::optional<int32_t> number = std::nullopt);

// A subcommand's refusal of its arguments, or of what they name (a function, a bullet, a file).
struct BadCommand {
    std::string message;
};
// Says it the way every subcommand does ("tkcalc: ошибка: …" and where the help is) and gives the
// status for bad input.
int reportBadCommand(const BadCommand& bad, std::ostream& err);

// "«text»": how tkcalc's messages quote what the user typed.
std::string inQuotes(std::string_view text);

// NAME VALUE or NAME=VALUE anywhere among a subcommand's arguments (the last one counts); the rest
// in order. Throws BadCommand when the value is missing.
std::vector<std::string> takePathOption(const std::vector<std::string>& args, std::string_view name,
                                        std::optional<std::filesystem::path>& value);
// The same for --data-dir.
std::vector<std::string> takeDataDir(const std::vector<std::string>& args, std::optional<std::filesystem::path>& dataDir);
