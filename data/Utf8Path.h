#pragma once
#include <filesystem>
#include <string_view>

// A path from the UTF-8 text the programs hold (arguments, typed or stored folder names). A path made
// from a narrow string would, on Windows, read it in the ANSI code page and lose every letter outside
// it; bytes that are not UTF-8 become U+FFFD there, so nothing throws. Elsewhere the bytes are the path.
std::filesystem::path utf8Path(std::string_view text);
