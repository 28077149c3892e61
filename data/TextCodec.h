#pragma once
#include <string>
#include <string_view>

// The Windows-1251 code page of the program's texts, to and from UTF-8 (the user-interface and
// text-file boundary).
std::string cp1251ToUtf8(std::string_view text);
// Characters with no CP1251 byte become '?'; `lossless` (when given) tells whether any did.
std::string utf8ToCp1251(std::string_view text, bool* lossless = nullptr);
