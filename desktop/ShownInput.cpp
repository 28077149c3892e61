#include "ShownInput.h"

#include <cmath>

#include "NumberText.h"

std::string ShownInput::label() const { return *unit ? std::string(field->label) + ", " + unit : field->label; }

std::string ShownInput::refusal(double shown, std::optional<double> input) const {
    if (input && field->refusal(*input).empty()) return "";
    // The limits shown are within the table's, so a refused value is outside them too; the table's
    // own message stands in should rounding ever say otherwise.
    if (limits.contains(shown)) return field->refusalMessage(input.value_or(shown));
    return label() + ": допустимо " + limits.text() + (*unit && unitAfterNumbers ? std::string(" ") + unit : std::string()) +
           ", получено " + ui::formatNumber(shown);
}

ShownInput shownAsIs(const InputField& field) { return ShownInput{&field, field.unit, field.limits}; }

ShownInput shownScaled(const InputField& field, const char* unit, double factor, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const InputLimits& l = field.limits;
    InputLimits shown = l;
    if (l.low > -1e308) {
        shown.low = std::ceil(l.low * factor * scale) / scale;
        shown.lowIncluded = l.lowIncluded || shown.low != l.low * factor;
    }
    if (l.high < 1e308) {
        shown.high = std::floor(l.high * factor * scale) / scale;
        shown.highIncluded = l.highIncluded || shown.high != l.high * factor;
    }
    return ShownInput{&field, unit, shown};
}

ShownInput shownPressure(const InputField& field, bool hpa) {
    return hpa ? shownScaled(field, "hPa", 1013.25 / 760.0, 0) : shownAsIs(field);
}
