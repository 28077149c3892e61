#include "ShotInputs.h"

#include <cmath>
#include <cstdio>

namespace {
// What a real shot can have, chosen generously: high mountains, deserts and arctic cold all pass.
constexpr InputLimits kTemperature{-70.0, 70.0};           // °C
constexpr InputLimits kPressure{100.0, 1100.0};            // mm Hg: above 9000 m to below the Dead Sea
constexpr InputLimits kHumidity{0.0, 100.0};               // %
constexpr InputLimits kPercent{0.0, 100.0};
constexpr InputLimits kAboveZeroTo(double high) { return InputLimits{0.0, high, false, true}; }

const InputField kFields[] = {
    {"muzzle-velocity", &ShotInputs::muzzleVelocity, "Начальная скорость", "м/с", kAboveZeroTo(2000)},
    {"bc", &ShotInputs::ballisticCoefficient, "Баллистический коэффициент", "", kAboveZeroTo(5)},
    {"mv-temperature", &ShotInputs::mvTemperature, "Температура при замере скорости", "°C", kTemperature},
    {"mv-change", &ShotInputs::mvTemperatureChange, "Изменение скорости на 15 °C", "%", {-50.0, 50.0}},
    {"mv-correction-off", &ShotInputs::mvCorrectionOff, "Температурная поправка скорости выключена", ""},
    {"sight-height", &ShotInputs::sightHeight, "Высота прицела над стволом", "см", {0.0, 50.0}},
    {"zero-distance", &ShotInputs::zeroDistance, "Дистанция пристрелки", "м", kAboveZeroTo(3000)},
    {"click-vertical", &ShotInputs::clickVertical, "Цена вертикального клика", "MOA", kAboveZeroTo(10)},
    {"click-horizontal", &ShotInputs::clickHorizontal, "Цена горизонтального клика", "MOA", kAboveZeroTo(10)},
    {"distance", &ShotInputs::distance, "Дистанция до цели", "м", {0.0, 5000.0}},
    {"target-angle", &ShotInputs::targetAngle, "Угол места цели", "град.", {-90.0, 90.0, false, false}},
    {"wind-speed", &ShotInputs::windSpeed, "Скорость ветра", "м/с", {0.0, 60.0}},
    {"wind-azimuth", &ShotInputs::windAzimuth, "Азимут ветра (откуда дует, 0 - в лицо)", "град.", {-3600.0, 3600.0}},
    {"temperature", &ShotInputs::temperature, "Температура воздуха", "°C", kTemperature},
    {"pressure", &ShotInputs::pressure, "Атмосферное давление", "мм рт. ст.", kPressure},
    {"humidity", &ShotInputs::humidity, "Влажность", "%", kHumidity},
    {"same-atmosphere", &ShotInputs::sameAtmosphere, "Атмосфера пристрелки та же, что сейчас", ""},
    {"zero-temperature", &ShotInputs::zeroTemperature, "Температура при пристрелке", "°C", kTemperature},
    {"zero-pressure", &ShotInputs::zeroPressure, "Давление при пристрелке", "мм рт. ст.", kPressure},
    {"zero-humidity", &ShotInputs::zeroHumidity, "Влажность при пристрелке", "%", kHumidity},
    {"add-derivation", &ShotInputs::addDerivation, "Учитывать деривацию", ""},
    {"add-vertical-drift", &ShotInputs::addVerticalDrift, "Учитывать вертикальный ветровой снос", ""},
    {"manual-drift", &ShotInputs::manualDrift, "Вертикальный снос - процент от горизонтальной поправки", ""},
    {"manual-drift-percent", &ShotInputs::manualDriftPercent, "Этот процент", "%", kPercent},
    {"stability-factor", &ShotInputs::stabilityFactor, "Фактор стабильности пули (для выбранной драг-функции)", "",
     {0.0, 10.0}},
};

std::string numberText(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", v);
    return buffer;
}

bool open(double end) { return end <= -1e308 || end >= 1e308; }
}  // namespace

bool InputLimits::contains(double v) const {
    if (!std::isfinite(v)) return false;
    const bool aboveLow = lowIncluded ? v >= low : v > low;
    const bool belowHigh = highIncluded ? v <= high : v < high;
    return aboveLow && belowHigh;
}

std::string InputLimits::text() const {
    const bool hasLow = !open(low), hasHigh = !open(high);
    if (hasLow && hasHigh) {
        if (lowIncluded && highIncluded) return "от " + numberText(low) + " до " + numberText(high);
        return std::string(lowIncluded ? "не меньше " : "больше ") + numberText(low) + " и " +
               (highIncluded ? "не больше " : "меньше ") + numberText(high);
    }
    if (hasLow) return std::string(lowIncluded ? "не меньше " : "больше ") + numberText(low);
    if (hasHigh) return std::string(highIncluded ? "не больше " : "меньше ") + numberText(high);
    return "";
}

double* InputField::number(ShotInputs& inputs) const {
    auto m = std::get_if<double ShotInputs::*>(&member);
    return m ? &(inputs.**m) : nullptr;
}

const double* InputField::number(const ShotInputs& inputs) const {
    auto m = std::get_if<double ShotInputs::*>(&member);
    return m ? &(inputs.**m) : nullptr;
}

std::string InputField::labelWithUnit() const {
    return *unit ? std::string(label) + ", " + unit : std::string(label);
}

std::string InputField::refusal(double value) const {
    if (limits.contains(value)) return "";
    return "допустимо " + limits.text() + (*unit ? std::string(" ") + unit : std::string());
}

std::string InputField::refusalMessage(double value) const {
    const std::string why = refusal(value);
    return why.empty() ? why : labelWithUnit() + ": " + why + ", получено " + numberText(value);
}

std::span<const InputField> inputFields() { return kFields; }

std::string refusalOf(const ShotInputs& inputs) {
    for (const InputField& f : kFields) {
        double value;
        if (const double* v = f.number(inputs)) value = *v;
        else if (auto o = std::get_if<std::optional<double> ShotInputs::*>(&f.member); o && inputs.**o) value = *(inputs.**o);
        else continue;
        if (std::string message = f.refusalMessage(value); !message.empty()) return message;
    }
    return "";
}

const InputField* findInputField(std::string_view key) {
    for (const InputField& f : kFields)
        if (key == f.key) return &f;
    return nullptr;
}

void loadSolver(const ShotInputs& in, const DragFunc& dragFunction, BallisticSolver& solver) {
    solver.muzzleVelocity = in.muzzleVelocity;
    solver.ballisticCoefficient = in.ballisticCoefficient;
    solver.mvTemperature = in.mvTemperature;
    solver.mvTemperatureChange = in.mvTemperatureChange;
    solver.mvCorrectionOff = in.mvCorrectionOff;
    solver.sightHeight = in.sightHeight;
    solver.airTemperature = in.temperature;
    solver.humidity = in.humidity;
    solver.windSpeed = in.windSpeed;
    solver.targetDistance = in.distance;
    solver.windAzimuth = in.windAzimuth;
    solver.zeroDistance = in.zeroDistance;
    solver.airPressure = in.pressure;
    solver.targetAngle = in.targetAngle;
    solver.clickVertical = in.clickVertical;
    solver.clickHorizontal = in.clickHorizontal;
    solver.dragFunction = shotDragFunction(in, dragFunction);
}

DragFunc shotDragFunction(const ShotInputs& in, const DragFunc& chosen) {
    DragFunc f = chosen;
    if (in.stabilityFactor) f.stabilityFactor = *in.stabilityFactor;
    return f;
}

ZeroingAtmosphere zeroingAtmosphere(const ShotInputs& in) {
    return ZeroingAtmosphere{in.sameAtmosphere, in.zeroTemperature, in.zeroPressure, in.zeroHumidity};
}

DriftOptions driftOptions(const ShotInputs& in) {
    return DriftOptions{in.addDerivation, in.addVerticalDrift, in.manualDrift, in.manualDriftPercent};
}

ShotSummary preparedSummary(const ShotInputs& inputs, const DragFunc& dragFunction, double zeroAngle) {
    BallisticSolver s;
    loadSolver(inputs, dragFunction, s);
    s.prepareInputs();
    ShotSummary summary = summaryOf(s);
    summary.targetRow = ResultsElement{};
    summary.shownZeroAngle = inputs.targetAngle == 0 ? zeroAngle : 0.0;
    return summary;
}
