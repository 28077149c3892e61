#include "HandheldSummaries.h"

#include <cstdio>

#include "DragFuncKind.h"
#include "RoundTo.h"
#include "SettingsRecord.h"

namespace {
template <class... Args>
std::string format(const char* f, Args... args) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, f, args...);
    return buffer;
}
}  // namespace

std::string cartridgeSummary(const ShotInputs& in, const DragFunc& f) {
    const std::string bc = f.kind == DragFuncKind::Special ? "" : format("/%.3f", in.ballisticCoefficient);
    return format("Патрон:\n%s\n%.0f/%.0f/%.1f%s", in.dragFunctionName.c_str(), in.muzzleVelocity, in.mvTemperature,
                  in.mvTemperatureChange, bc.c_str());
}

std::string atmosphereSummary(const ShotInputs& in) {
    return format("Атмосфера:\n%.0fгр/%.0fмм.рт.ст./%.0f", in.temperature, in.pressure, in.humidity);
}

std::string rifleSummary(const ShotInputs& in, bool clicksInMil) {
    const double v = clicksInMil ? RoundTo(in.clickVertical * kMilPerMoaClick, 4) : RoundTo(in.clickVertical, 3);
    const double h = clicksInMil ? RoundTo(in.clickHorizontal * kMilPerMoaClick, 4) : RoundTo(in.clickHorizontal, 3);
    return format("Приц.:\n%.0f/%.1f/%.2f/%.2f\n", in.zeroDistance, in.sightHeight, v, h);
}

std::string zeroingSummary(const ShotInputs& in) {
    if (in.sameAtmosphere) return "Пристрелка на месте";
    return format("Атм. пристрелки:  %.0f/%.0f/%.0f", in.zeroTemperature, in.zeroPressure, in.zeroHumidity);
}
