#include "ShownInput.h"

#include <cmath>

#include "NumberText.h"
#include "PressureUnit.h"
#include "RoundTo.h"
#include "SettingsRecord.h"
#include "ShotSettings.h"

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

ShownInput shownIn(const InputField& field, ShownUnit unit) {
    switch (unit) {
        case ShownUnit::Hpa: return shownPressure(field, true);
        case ShownUnit::ClickMil: return shownScaled(field, "MIL", kMilPerMoaClick, 4);
        case ShownUnit::Cosine: {
            // The cosines, to the three decimals the field shows, whose angle the limits take.
            std::optional<double> low, high;
            for (int k = -1000; k <= 1000; ++k) {
                const std::optional<double> degrees = inputFromShown(k / 1000.0, ShownUnit::Cosine);
                if (!degrees || !field.limits.contains(*degrees)) continue;
                if (!low) low = k / 1000.0;
                high = k / 1000.0;
            }
            return ShownInput{&field, "cos", InputLimits{low.value_or(1.0), high.value_or(1.0)}, false};
        }
        case ShownUnit::AsIs:
        case ShownUnit::ClickMoa: break;
    }
    return shownAsIs(field);
}

double shownValue(double input, ShownUnit unit) {
    switch (unit) {
        case ShownUnit::Hpa: return std::floor(input * 1013.25 / 760.0 + 0.5);
        case ShownUnit::ClickMoa: return RoundTo(input, 3);
        case ShownUnit::ClickMil: return RoundTo(input * kMilPerMoaClick, 4);
        case ShownUnit::Cosine: return shownTargetAngle(input, kAngleModeCosine);
        case ShownUnit::AsIs: break;
    }
    return input;
}

std::optional<double> inputFromShown(double shown, ShownUnit unit) {
    switch (unit) {
        case ShownUnit::Hpa: return mmHgFromHpa(shown);
        case ShownUnit::ClickMil: return shown / kMilPerMoaClick;
        case ShownUnit::Cosine:
            if (!(shown >= -1.0 && shown <= 1.0)) return std::nullopt;
            return std::floor(std::acos(shown) * 180.0 / 3.141592653589793 + 0.5);
        case ShownUnit::AsIs:
        case ShownUnit::ClickMoa: break;
    }
    return shown;
}
