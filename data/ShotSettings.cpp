#include "ShotSettings.h"

#include <algorithm>
#include <cmath>

#include "LibraryRecord.h"
#include "RoundTo.h"
#include "TextCodec.h"

namespace {
int32_t& sameAtmosphereFlag(SettingsRecord& r) { return r.sameZeroAtmosphere; }
const int32_t& sameAtmosphereFlag(const SettingsRecord& r) { return r.sameZeroAtmosphere; }
int32_t& sameAtmosphereFlag(HandheldSettingsRecord& r) { return r.zeroInCurrentAtmosphere; }
const int32_t& sameAtmosphereFlag(const HandheldSettingsRecord& r) { return r.zeroInCurrentAtmosphere; }

// Every input both records keep under the same name, listed once for both directions: `copy(field,
// input)` takes the record's field into the input or the input into the field.
template <class Record, class Inputs, class Copy>
void shotFields(Record& r, Inputs& in, Copy copy) {
    copy(r.muzzleVelocity, in.muzzleVelocity);
    copy(r.ballisticCoefficient, in.ballisticCoefficient);
    copy(r.mvMeasureTemperature, in.mvTemperature);
    copy(r.mvChangePercent, in.mvTemperatureChange);
    copy(r.mvCorrectionOff, in.mvCorrectionOff);
    copy(r.sightHeight, in.sightHeight);
    copy(r.zeroDistance, in.zeroDistance);
    copy(r.clickVertical, in.clickVertical);
    copy(r.clickHorizontal, in.clickHorizontal);
    copy(r.targetDistance, in.distance);
    copy(r.windSpeed, in.windSpeed);
    copy(r.windAzimuth, in.windAzimuth);
    copy(r.airTemperature, in.temperature);
    copy(r.airPressure, in.pressure);
    copy(r.humidity, in.humidity);
    copy(sameAtmosphereFlag(r), in.sameAtmosphere);
    copy(r.zeroTemperature, in.zeroTemperature);
    copy(r.zeroPressure, in.zeroPressure);
    copy(r.zeroHumidity, in.zeroHumidity);
    copy(r.addDerivation, in.addDerivation);
    copy(r.addVerticalWindDrift, in.addVerticalDrift);
    copy(r.manualDrift, in.manualDrift);
    copy(r.manualDriftPercent, in.manualDriftPercent);
}

// A flag is on for any value but 0 and written as 1.
struct IntoInputs {
    template <class F>
    void operator()(const F& field, bool& input) const { input = field != 0; }
    void operator()(const double& field, double& input) const { input = field; }
};
struct IntoRecord {
    template <class F>
    void operator()(F& field, const bool& input) const { field = input ? 1 : 0; }
    void operator()(double& field, const double& input) const { field = input; }
};

template <class Record>
ShotInputs inputsOf(const Record& r, std::string utf8Name) {
    ShotInputs in;
    shotFields(r, in, IntoInputs{});
    in.dragFunctionName = std::move(utf8Name);
    in.dragFunctionNumber = r.dragFuncNumber;
    in.targetAngle = 0;
    return in;
}

template <class Record>
void storeInto(const ShotInputs& in, Record& r) {
    shotFields(r, in, IntoRecord{});
    r.dragFuncNumber = in.dragFunctionNumber.value_or(0);
    r.targetAngleField = shownTargetAngle(in.targetAngle, r.angleMode);
}
}  // namespace

ShotInputs shotInputsFrom(const SettingsRecord& r) { return inputsOf(r, cp1251ToUtf8(r.dragFuncNameText())); }

ShotInputs shotInputsFrom(const HandheldSettingsRecord& r) {
    return inputsOf(r, cp1251ToUtf8(fromUtf16Cyrillic(r.dragFuncNameText())));
}

void storeShotInputs(const ShotInputs& in, SettingsRecord& r) {
    storeInto(in, r);
    r.setDragFuncName(utf8ToCp1251(in.dragFunctionName));
}

void storeShotInputs(const ShotInputs& in, HandheldSettingsRecord& r) {
    storeInto(in, r);
    r.setDragFuncName(toUtf16Cyrillic(utf8ToCp1251(in.dragFunctionName)));
}

double shownTargetAngle(double degrees, int32_t angleMode) {
    if (angleMode == kAngleModeCosine) return RoundTo(std::cos(degrees * 3.141592653589793 / 180.0), 3);
    return degrees;
}

namespace {
ShotInputs sanitized(ShotInputs in, std::vector<std::string>& replaced) {
    const ShotInputs firstRun;
    for (const InputField& field : inputFields()) {
        double* value = field.number(in);
        if (value && !field.refusal(*value).empty()) {
            *value = *field.number(firstRun);
            replaced.emplace_back(field.label);
        }
    }
    return in;
}
}  // namespace

ShotInputs sanitizedShotInputs(const SettingsRecord& record, std::vector<std::string>& replaced) {
    return sanitized(shotInputsFrom(record), replaced);
}

ShotInputs sanitizedShotInputs(const HandheldSettingsRecord& record, std::vector<std::string>& replaced) {
    return sanitized(shotInputsFrom(record), replaced);
}

namespace {
template <class Record>
void replaceIf(bool bad, double Record::*field, Record& r, const char* label, std::vector<std::string>& replaced) {
    if (!bad) return;
    r.*field = Record{}.*field;
    replaced.emplace_back(label);
}
}  // namespace

void sanitizeShownValues(SettingsRecord& r, std::vector<std::string>& replaced) {
    replaceIf(!std::isfinite(r.shownZeroAngle), &SettingsRecord::shownZeroAngle, r,
              "Угол наклона прицельной линии к стволу", replaced);
    replaceIf(!std::isfinite(r.airDensityRatio), &SettingsRecord::airDensityRatio, r,
              "Относительная плотность воздуха", replaced);
    replaceIf(!std::isfinite(r.curveStep), &SettingsRecord::curveStep, r, "Шаг изменения кривой драг-функции",
              replaced);
}

void sanitizeTableSettings(TableSettingsRecord& t, std::vector<std::string>& replaced, bool oneMetreStep) {
    // As far as the table computes (TableRange::clamped).
    constexpr InputLimits kDistance{0.0, 3000.0};
    const bool knownStep =
        std::find(std::begin(kTableSteps), std::end(kTableSteps), t.distanceStep) != std::end(kTableSteps) ||
        (oneMetreStep && t.distanceStep == 1.0);
    replaceIf(!kDistance.contains(t.firstDistance), &TableSettingsRecord::firstDistance, t,
              "Начальная дистанция таблицы", replaced);
    replaceIf(!kDistance.contains(t.lastDistance), &TableSettingsRecord::lastDistance, t,
              "Конечная дистанция таблицы", replaced);
    replaceIf(!knownStep, &TableSettingsRecord::distanceStep, t, "Шаг таблицы", replaced);
}

TableRange tableRangeFrom(const TableSettingsRecord& t) { return TableRange{t.firstDistance, t.lastDistance, t.distanceStep}; }
