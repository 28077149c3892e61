#include "SettingsRecord.h"

#include <algorithm>
#include <cstring>

#include "ByteReader.h"
#include "ByteWriter.h"
#include "LibraryRecord.h"

namespace fs = std::filesystem;

// The structs mirror their files byte for byte.
#define TK_AT(Type, field, offset) static_assert(offsetof(Type, field) == (offset), #Type "::" #field)

static_assert(sizeof(SettingsRecord) == SettingsRecord::kSize);
TK_AT(SettingsRecord, dragFuncName, 0);
TK_AT(SettingsRecord, pad50, 50);
TK_AT(SettingsRecord, dragFuncNumber, 52);
TK_AT(SettingsRecord, muzzleVelocity, 56);
TK_AT(SettingsRecord, ballisticCoefficient, 64);
TK_AT(SettingsRecord, mvMeasureTemperature, 72);
TK_AT(SettingsRecord, mvChangePercent, 80);
TK_AT(SettingsRecord, mvCorrectionOff, 88);
TK_AT(SettingsRecord, pad89, 89);
TK_AT(SettingsRecord, sightHeight, 96);
TK_AT(SettingsRecord, clickVertical, 104);
TK_AT(SettingsRecord, clickHorizontal, 112);
TK_AT(SettingsRecord, airTemperature, 120);
TK_AT(SettingsRecord, windSpeed, 128);
TK_AT(SettingsRecord, zeroDistance, 136);
TK_AT(SettingsRecord, shownZeroAngle, 144);
TK_AT(SettingsRecord, airDensityRatio, 152);
TK_AT(SettingsRecord, reserved160, 160);
TK_AT(SettingsRecord, airPressure, 168);
TK_AT(SettingsRecord, humidity, 176);
TK_AT(SettingsRecord, targetAngleField, 184);
TK_AT(SettingsRecord, zeroHumidity, 192);
TK_AT(SettingsRecord, zeroPressure, 200);
TK_AT(SettingsRecord, zeroTemperature, 208);
TK_AT(SettingsRecord, targetDistance, 216);
TK_AT(SettingsRecord, windAzimuth, 224);
TK_AT(SettingsRecord, pressureInHpa, 232);
TK_AT(SettingsRecord, addDerivation, 236);
TK_AT(SettingsRecord, curveStep, 240);
TK_AT(SettingsRecord, sameZeroAtmosphere, 248);
TK_AT(SettingsRecord, angleMode, 252);
TK_AT(SettingsRecord, addVerticalWindDrift, 256);
TK_AT(SettingsRecord, addInfoDriftUnit, 260);
TK_AT(SettingsRecord, clickUnit, 264);
TK_AT(SettingsRecord, addInfoLeadUnit, 268);
TK_AT(SettingsRecord, manualDrift, 272);
TK_AT(SettingsRecord, pad276, 276);
TK_AT(SettingsRecord, manualDriftPercent, 280);
TK_AT(SettingsRecord, unused288, 288);

static_assert(sizeof(TableSettingsRecord) == TableSettingsRecord::kSize);
TK_AT(TableSettingsRecord, lastDistance, 0);
TK_AT(TableSettingsRecord, firstDistance, 8);
TK_AT(TableSettingsRecord, distanceStep, 16);
TK_AT(TableSettingsRecord, showVelocity, 24);
TK_AT(TableSettingsRecord, unused28, 28);
TK_AT(TableSettingsRecord, showTimeOfFlight, 32);
TK_AT(TableSettingsRecord, unused36, 36);
TK_AT(TableSettingsRecord, showVerticalCm, 40);
TK_AT(TableSettingsRecord, showVerticalMoa, 44);
TK_AT(TableSettingsRecord, showVerticalMil, 48);
TK_AT(TableSettingsRecord, showVerticalClicks, 52);
TK_AT(TableSettingsRecord, showHorizontalCm, 56);
TK_AT(TableSettingsRecord, showHorizontalMoa, 60);
TK_AT(TableSettingsRecord, showHorizontalMil, 64);
TK_AT(TableSettingsRecord, showHorizontalClicks, 68);

static_assert(sizeof(FolderSettingRecord) == FolderSettingRecord::kSize);
TK_AT(FolderSettingRecord, keepInProgramFolder, 0);
TK_AT(FolderSettingRecord, programFolderAccepted, 4);
TK_AT(FolderSettingRecord, unused8, 8);

static_assert(sizeof(HandheldSettingsRecord) == HandheldSettingsRecord::kSize);
TK_AT(HandheldSettingsRecord, dragFuncName, 0);
TK_AT(HandheldSettingsRecord, dragFuncNumber, 100);
TK_AT(HandheldSettingsRecord, muzzleVelocity, 104);
TK_AT(HandheldSettingsRecord, ballisticCoefficient, 112);
TK_AT(HandheldSettingsRecord, mvMeasureTemperature, 120);
TK_AT(HandheldSettingsRecord, mvChangePercent, 128);
TK_AT(HandheldSettingsRecord, mvCorrectionOff, 136);
TK_AT(HandheldSettingsRecord, pad137, 137);
TK_AT(HandheldSettingsRecord, sightHeight, 144);
TK_AT(HandheldSettingsRecord, clickVertical, 152);
TK_AT(HandheldSettingsRecord, clickHorizontal, 160);
TK_AT(HandheldSettingsRecord, airTemperature, 168);
TK_AT(HandheldSettingsRecord, windSpeed, 176);
TK_AT(HandheldSettingsRecord, zeroDistance, 184);
TK_AT(HandheldSettingsRecord, shownZeroAngle, 192);
TK_AT(HandheldSettingsRecord, airDensityRatio, 200);
TK_AT(HandheldSettingsRecord, zeroLineRise, 208);
TK_AT(HandheldSettingsRecord, airPressure, 216);
TK_AT(HandheldSettingsRecord, humidity, 224);
TK_AT(HandheldSettingsRecord, targetAngleField, 232);
TK_AT(HandheldSettingsRecord, zeroHumidity, 240);
TK_AT(HandheldSettingsRecord, zeroPressure, 248);
TK_AT(HandheldSettingsRecord, zeroTemperature, 256);
TK_AT(HandheldSettingsRecord, targetDistance, 264);
TK_AT(HandheldSettingsRecord, windAzimuth, 272);
TK_AT(HandheldSettingsRecord, pressureInHpa, 280);
TK_AT(HandheldSettingsRecord, addDerivation, 284);
TK_AT(HandheldSettingsRecord, reserved288, 288);
TK_AT(HandheldSettingsRecord, zeroInCurrentAtmosphere, 296);
TK_AT(HandheldSettingsRecord, verticalResultUnit, 300);
TK_AT(HandheldSettingsRecord, angleMode, 304);
TK_AT(HandheldSettingsRecord, addInfoDriftUnit, 308);
TK_AT(HandheldSettingsRecord, clicksInMil, 312);
TK_AT(HandheldSettingsRecord, horizontalResultUnit, 316);
TK_AT(HandheldSettingsRecord, addVerticalWindDrift, 320);
TK_AT(HandheldSettingsRecord, addInfoLeadUnit, 324);
TK_AT(HandheldSettingsRecord, manualDrift, 328);
TK_AT(HandheldSettingsRecord, pad332, 332);
TK_AT(HandheldSettingsRecord, manualDriftPercent, 336);
TK_AT(HandheldSettingsRecord, unused344, 344);

#undef TK_AT

namespace {

// Each record lists its fields once, in file order, to one of these two: the writer appends them,
// the reader takes them back. Padding is written as zeros and read as zeros whatever the file has.
class FieldWriter {
public:
    void f64(double v) { out_.f64(v); }
    void i32(int32_t v) { out_.i32(v); }
    void u8(uint8_t v) { out_.u8(v); }
    template <size_t N>
    void pad(const uint8_t (&)[N]) { out_.zeros(N); }
    template <size_t N>
    void text(const char (&field)[N]) { out_.bytes(std::string_view(field, N)); }
    template <size_t N>
    void text(const char16_t (&field)[N]) {
        for (char16_t unit : field) out_.u16(unit);
    }
    std::string take() { return out_.take(); }

private:
    ByteWriter out_;
};

class FieldReader {
public:
    explicit FieldReader(std::string_view bytes) : in_(bytes) {}
    void f64(double& v) { v = in_.f64(); }
    void i32(int32_t& v) { v = in_.i32(); }
    void u8(uint8_t& v) { v = in_.u8(); }
    template <size_t N>
    void pad(uint8_t (&field)[N]) {
        in_.skip(N);
        std::fill(field, field + N, uint8_t{0});
    }
    template <size_t N>
    void text(char (&field)[N]) {
        const std::string_view b = in_.bytes(N);
        std::fill(field, field + N, '\0');
        std::copy(b.begin(), b.end(), field);
    }
    template <size_t N>
    void text(char16_t (&field)[N]) {
        for (char16_t& unit : field) unit = in_.u16();
    }
    bool ok() const { return in_.ok() && in_.atEnd(); }

private:
    ByteReader in_;
};

template <class F, class R>
void settingsFields(F& f, R& r) {
    f.text(r.dragFuncName);
    f.pad(r.pad50);
    f.i32(r.dragFuncNumber);
    f.f64(r.muzzleVelocity);
    f.f64(r.ballisticCoefficient);
    f.f64(r.mvMeasureTemperature);
    f.f64(r.mvChangePercent);
    f.u8(r.mvCorrectionOff);
    f.pad(r.pad89);
    f.f64(r.sightHeight);
    f.f64(r.clickVertical);
    f.f64(r.clickHorizontal);
    f.f64(r.airTemperature);
    f.f64(r.windSpeed);
    f.f64(r.zeroDistance);
    f.f64(r.shownZeroAngle);
    f.f64(r.airDensityRatio);
    f.f64(r.reserved160);
    f.f64(r.airPressure);
    f.f64(r.humidity);
    f.f64(r.targetAngleField);
    f.f64(r.zeroHumidity);
    f.f64(r.zeroPressure);
    f.f64(r.zeroTemperature);
    f.f64(r.targetDistance);
    f.f64(r.windAzimuth);
    f.i32(r.pressureInHpa);
    f.i32(r.addDerivation);
    f.f64(r.curveStep);
    f.i32(r.sameZeroAtmosphere);
    f.i32(r.angleMode);
    f.i32(r.addVerticalWindDrift);
    f.i32(r.addInfoDriftUnit);
    f.i32(r.clickUnit);
    f.i32(r.addInfoLeadUnit);
    f.i32(r.manualDrift);
    f.pad(r.pad276);
    f.f64(r.manualDriftPercent);
    f.pad(r.unused288);
}

template <class F, class R>
void tableSettingsFields(F& f, R& r) {
    f.f64(r.lastDistance);
    f.f64(r.firstDistance);
    f.f64(r.distanceStep);
    f.i32(r.showVelocity);
    f.pad(r.unused28);
    f.i32(r.showTimeOfFlight);
    f.pad(r.unused36);
    f.i32(r.showVerticalCm);
    f.i32(r.showVerticalMoa);
    f.i32(r.showVerticalMil);
    f.i32(r.showVerticalClicks);
    f.i32(r.showHorizontalCm);
    f.i32(r.showHorizontalMoa);
    f.i32(r.showHorizontalMil);
    f.i32(r.showHorizontalClicks);
}

template <class F, class R>
void folderSettingFields(F& f, R& r) {
    f.i32(r.keepInProgramFolder);
    f.i32(r.programFolderAccepted);
    f.pad(r.unused8);
}

template <class F, class R>
void handheldSettingsFields(F& f, R& r) {
    f.text(r.dragFuncName);
    f.i32(r.dragFuncNumber);
    f.f64(r.muzzleVelocity);
    f.f64(r.ballisticCoefficient);
    f.f64(r.mvMeasureTemperature);
    f.f64(r.mvChangePercent);
    f.u8(r.mvCorrectionOff);
    f.pad(r.pad137);
    f.f64(r.sightHeight);
    f.f64(r.clickVertical);
    f.f64(r.clickHorizontal);
    f.f64(r.airTemperature);
    f.f64(r.windSpeed);
    f.f64(r.zeroDistance);
    f.f64(r.shownZeroAngle);
    f.f64(r.airDensityRatio);
    f.f64(r.zeroLineRise);
    f.f64(r.airPressure);
    f.f64(r.humidity);
    f.f64(r.targetAngleField);
    f.f64(r.zeroHumidity);
    f.f64(r.zeroPressure);
    f.f64(r.zeroTemperature);
    f.f64(r.targetDistance);
    f.f64(r.windAzimuth);
    f.i32(r.pressureInHpa);
    f.i32(r.addDerivation);
    f.f64(r.reserved288);
    f.i32(r.zeroInCurrentAtmosphere);
    f.i32(r.verticalResultUnit);
    f.i32(r.angleMode);
    f.i32(r.addInfoDriftUnit);
    f.i32(r.clicksInMil);
    f.i32(r.horizontalResultUnit);
    f.i32(r.addVerticalWindDrift);
    f.i32(r.addInfoLeadUnit);
    f.i32(r.manualDrift);
    f.pad(r.pad332);
    f.f64(r.manualDriftPercent);
    f.pad(r.unused344);
}

template <class R, class Fields>
std::string recordBytes(const R& record, Fields fields) {
    FieldWriter w;
    fields(w, record);
    return w.take();
}

// Reads into a copy first, so that the record changes only when all of it was read.
template <class R, class Fields>
bool readRecord(R& record, std::string_view bytes, Fields fields) {
    if (bytes.size() != R::kSize) return false;
    R read;
    FieldReader r(bytes);
    fields(r, read);
    if (!r.ok()) return false;
    record = read;
    return true;
}

template <class T, size_t N>
size_t lengthUpToZero(const T (&field)[N]) {
    return static_cast<size_t>(std::find(field, field + N, T{}) - field);
}

}  // namespace

std::string SettingsRecord::dragFuncNameText() const {
    return std::string(dragFuncName, lengthUpToZero(dragFuncName));
}

void SettingsRecord::setDragFuncName(std::string_view cp1251) {
    const size_t n = std::min(cp1251.size(), sizeof dragFuncName - 1);
    std::fill(std::begin(dragFuncName), std::end(dragFuncName), '\0');
    std::copy_n(cp1251.begin(), n, dragFuncName);
}

std::string SettingsRecord::toBytes() const {
    return recordBytes(*this, [](auto& f, auto& r) { settingsFields(f, r); });
}

bool SettingsRecord::fromBytes(std::string_view bytes) {
    return readRecord(*this, bytes, [](auto& f, auto& r) { settingsFields(f, r); });
}

std::string TableSettingsRecord::toBytes() const {
    return recordBytes(*this, [](auto& f, auto& r) { tableSettingsFields(f, r); });
}

bool TableSettingsRecord::fromBytes(std::string_view bytes) {
    return readRecord(*this, bytes, [](auto& f, auto& r) { tableSettingsFields(f, r); });
}

std::string FolderSettingRecord::toBytes() const {
    return recordBytes(*this, [](auto& f, auto& r) { folderSettingFields(f, r); });
}

bool FolderSettingRecord::fromBytes(std::string_view bytes) {
    return readRecord(*this, bytes, [](auto& f, auto& r) { folderSettingFields(f, r); });
}

std::u16string HandheldSettingsRecord::dragFuncNameText() const {
    return std::u16string(dragFuncName, lengthUpToZero(dragFuncName));
}

void HandheldSettingsRecord::setDragFuncName(std::u16string_view units) {
    const size_t room = std::size(dragFuncName) - 1;
    size_t n = std::min(units.size(), room);
    // A character outside the basic plane is two units; keep it whole or not at all.
    if (units.size() > room && n > 0 && units[n - 1] >= 0xD800 && units[n - 1] <= 0xDBFF) --n;
    std::fill(std::begin(dragFuncName), std::end(dragFuncName), u'\0');
    std::copy_n(units.begin(), n, dragFuncName);
}

std::string HandheldSettingsRecord::toBytes() const {
    return recordBytes(*this, [](auto& f, auto& r) { handheldSettingsFields(f, r); });
}

bool HandheldSettingsRecord::fromBytes(std::string_view bytes) {
    return readRecord(*this, bytes, [](auto& f, auto& r) { handheldSettingsFields(f, r); });
}

namespace {
// Everything the two records hold under the same name and meaning, in either direction.
template <class From, class To>
void copyCommonFields(const From& s, To& d) {
    d.dragFuncNumber = s.dragFuncNumber;
    d.muzzleVelocity = s.muzzleVelocity;
    d.ballisticCoefficient = s.ballisticCoefficient;
    d.mvMeasureTemperature = s.mvMeasureTemperature;
    d.mvChangePercent = s.mvChangePercent;
    d.mvCorrectionOff = s.mvCorrectionOff;
    d.sightHeight = s.sightHeight;
    d.clickVertical = s.clickVertical;
    d.clickHorizontal = s.clickHorizontal;
    d.airTemperature = s.airTemperature;
    d.windSpeed = s.windSpeed;
    d.zeroDistance = s.zeroDistance;
    d.shownZeroAngle = s.shownZeroAngle;
    d.airDensityRatio = s.airDensityRatio;
    d.airPressure = s.airPressure;
    d.humidity = s.humidity;
    d.targetAngleField = s.targetAngleField;
    d.zeroHumidity = s.zeroHumidity;
    d.zeroPressure = s.zeroPressure;
    d.zeroTemperature = s.zeroTemperature;
    d.targetDistance = s.targetDistance;
    d.windAzimuth = s.windAzimuth;
    d.pressureInHpa = s.pressureInHpa;
    d.addDerivation = s.addDerivation;
    d.angleMode = s.angleMode;
    d.addVerticalWindDrift = s.addVerticalWindDrift;
    d.addInfoDriftUnit = s.addInfoDriftUnit;
    d.addInfoLeadUnit = s.addInfoLeadUnit;
    d.manualDrift = s.manualDrift;
    d.manualDriftPercent = s.manualDriftPercent;
}
}  // namespace

void copySharedSettings(const SettingsRecord& from, HandheldSettingsRecord& to) {
    copyCommonFields(from, to);
    const std::string name = from.dragFuncNameText();
    std::u16string units;
    for (char c : name) units.push_back(toUtf16Cyrillic(c));
    to.setDragFuncName(units);
    to.zeroLineRise = from.reserved160;
    to.reserved288 = from.curveStep;
    to.zeroInCurrentAtmosphere = from.sameZeroAtmosphere;
    to.clicksInMil = from.clickUnit != kClickUnitMoa ? 1 : 0;
}

void copySharedSettings(const HandheldSettingsRecord& from, SettingsRecord& to) {
    copyCommonFields(from, to);
    std::string name;
    for (char16_t u : from.dragFuncNameText()) name.push_back(fromUtf16Cyrillic(u));
    to.setDragFuncName(name);
    to.reserved160 = from.zeroLineRise;
    to.curveStep = from.reserved288;
    to.sameZeroAtmosphere = from.zeroInCurrentAtmosphere;
    to.clickUnit = from.clicksInMil != 0 ? kClickUnitMil : kClickUnitMoa;
}

std::string notTakenReason(const fs::path& path, size_t expectedSize) {
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    if (ec) return "не читается";
    if (size != expectedSize) return "длина " + std::to_string(size) + " байт вместо " + std::to_string(expectedSize);
    return readWholeFile(path, expectedSize) ? "" : "не читается";
}

bool saveFolderSetting(const fs::path& path, const FolderSettingRecord& record) {
    if (saveSettingsFile(path, record)) return true;
    FolderSettingRecord onDisk;
    const bool asked = record.keepInProgramFolder != 0;
    if (!loadSettingsFile(path, onDisk)) return !asked;  // no file says "not asked for" too
    return (onDisk.keepInProgramFolder != 0) == asked;
}

FolderSettingResult applyFolderSetting(const fs::path& programFolder, FolderSettingRecord& record) {
    const fs::path file = programFolder / kFolderSettingFileName;
    FolderSettingResult result;
    result.fileRead = loadSettingsFile(file, record);
    result.programFolderWritable = saveSettingsFile(file, record);
    record.programFolderAccepted = result.programFolderWritable ? 1 : 0;
    result.dataInProgramFolder = record.dataInProgramFolder();
    return result;
}
