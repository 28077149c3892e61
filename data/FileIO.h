#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Files of the user's, read and written safely.

// The whole file, or nothing when it cannot be opened or is longer than maxBytes (then nothing is
// allocated for it).
std::optional<std::string> readWholeFile(const std::filesystem::path& path, size_t maxBytes = 64u << 20);

// Writes the bytes to a temporary file in the same folder, flushes it to the disk and renames it
// over `path`. False, with the old file left as it was, when any of it fails.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Removes a file; false when it is still there afterwards (a missing file counts as removed).
bool removeFile(const std::filesystem::path& path);
