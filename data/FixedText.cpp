#include "FixedText.h"

#include <charconv>

std::string formatFixed(double value, int decimals) {
    char buffer[400];  // a double in fixed notation has at most 309 integer digits
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return "?";
    std::string text(buffer, result.ptr);
    // "-0.00" tells the shooter to turn the other way for nothing.
    if (text.size() > 1 && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
    return text;
}
