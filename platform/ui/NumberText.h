#pragma once
#include <optional>
#include <string>
#include <string_view>

// Numbers in dialog fields, the same whatever the machine's locale.
namespace ui {

// "%.*g" with 15 significant digits (the exact "%g" rules: plain or exponent form, no trailing zeros);
// a negative zero is "0".
std::string formatNumber(double v);

// The field's number: optional blanks, a number with a point or a comma as the decimal separator
// (as "%lf" reads it: sign, digits, exponent, inf, nan), optional blanks, nothing else. Nothing when
// the text is not such a number.
std::optional<double> parseNumber(std::string_view text);
std::optional<int> parseInteger(std::string_view text);

}  // namespace ui
