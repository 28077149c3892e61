#pragma once
#include <string>

// How the calculators show a result. A zero where a divisor belongs (a diameter, a distance, a
// click value left at 0) leaves no number: such a result reads "не определено" instead of the
// "inf" or "nan" the number formatting would give, which says nothing to a shooter.
inline constexpr const char* kUndefinedText = "не определено";

// Shown when such a result was to be handed back to the opener; the dialog stays open.
inline constexpr const char* kUndefinedMessage =
    "Значение не определено (деление на ноль).\nПроверьте исходные данные.";

// The number as dialogs show numbers ("%.*g", 15 digits), or kUndefinedText when it is infinite or
// undefined.
std::string resultText(double value);
