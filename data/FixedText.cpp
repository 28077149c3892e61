#include "FixedText.h"

#include <charconv>

std::string formatFixed(double value, int decimals) {
    char buffer[400];  // a double in fixed notation has at most 309 integer digits
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return "?";
    return std::string(buffer, result.ptr);
}
