#pragma once
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "FileIO.h"

// The program-wide option blocks and their files. Each block is the image of one fixed-size file
// without header or version: a file is taken only when its length is exactly the block's size.
// Numbers are little-endian (doubles IEEE 754 binary64, integers signed 32-bit); flags are int32,
// 0 off and any other value on. Padding and unused bytes are always written as 0.
//
// The structs lay their fields out at the file's offsets (checked below), but the files are read
// and written field by field, so they come out the same on any host.

inline constexpr const char* kSettingsFileName = "settings.dat";
inline constexpr const char* kTableSettingsFileName = "table_settings.dat";
inline constexpr const char* kFolderSettingFileName = "dir_setting.dat";

// Unit codes of the additional-data selections (derivation / vertical drift, lead).
enum : int32_t { kAddInfoUnitCm = 0, kAddInfoUnitMoa = 1, kAddInfoUnitMil = 2, kAddInfoUnitClicks = 3 };
// Click unit of the desktop record.
enum : int32_t { kClickUnitMoa = 0, kClickUnitMil = 1 };
// Target angle entry.
enum : int32_t { kAngleModeDegrees = 0, kAngleModeCosine = 1 };

// MOA per MIL as the click display uses it: click values are kept in MOA and shown in MIL as
// MOA × this.
inline constexpr double kMilPerMoaClick = 0.290888233;

// "settings.dat": every input of the main dialog and all options, 304 bytes.
struct SettingsRecord {
    static constexpr size_t kSize = 304;

    char dragFuncName[50] = {'G', '1'};  // CP1251, NUL-terminated inside the field
    uint8_t pad50[2] = {};
    int32_t dragFuncNumber = 0;
    double muzzleVelocity = 792.0;        // m/s
    double ballisticCoefficient = 0.447;
    double mvMeasureTemperature = 30.0;   // °C at which the muzzle velocity was measured
    double mvChangePercent = 2.5;         // velocity change for the temperature correction, %
    uint8_t mvCorrectionOff = 0;          // 1: temperature correction of the muzzle velocity off
    uint8_t pad89[7] = {};
    double sightHeight = 5.5;             // cm over the bore
    double clickVertical = 0.25;          // MOA, whatever the click unit
    double clickHorizontal = 0.25;        // MOA
    double airTemperature = 15.0;         // °C
    double windSpeed = 1.0;               // m/s
    double zeroDistance = 100.0;          // m
    double shownZeroAngle = 0.0;          // result: last angle between sight line and bore, MOA
    double airDensityRatio = 0.0;         // result: last air density ratio
    double reserved160 = 0.0;             // carried unchanged
    double airPressure = 754.0;           // mm Hg, whatever the pressure unit
    double humidity = 55.0;               // %
    double targetAngleField = 0.0;        // degrees or cosine, as last displayed
    double zeroHumidity = 55.0;           // zeroing atmosphere
    double zeroPressure = 754.0;          // mm Hg
    double zeroTemperature = 15.0;        // °C
    double targetDistance = 685.0;        // m
    double windAzimuth = 90.0;            // degrees
    int32_t pressureInHpa = 0;            // flag: pressure shown in hPa
    int32_t addDerivation = 0;            // flag: derivation subtracted from the horizontal correction
    double curveStep = 0.01;              // drag function editor's raise/lower step
    int32_t sameZeroAtmosphere = 1;       // flag: zeroing atmosphere = current atmosphere
    int32_t angleMode = kAngleModeDegrees;
    int32_t addVerticalWindDrift = 0;     // flag
    int32_t addInfoDriftUnit = kAddInfoUnitCm;  // derivation and vertical wind drift
    int32_t clickUnit = kClickUnitMoa;
    int32_t addInfoLeadUnit = kAddInfoUnitCm;   // lead of a moving target
    int32_t manualDrift = 0;              // flag: vertical drift = percentage of the horizontal
    uint8_t pad276[4] = {};
    double manualDriftPercent = 10.0;
    uint8_t unused288[16] = {};

    // The name as CP1251 bytes up to its terminating NUL (all 50 bytes when a file gave none).
    std::string dragFuncNameText() const;
    // Stores a CP1251 name, cut to 49 bytes, NUL-padded.
    void setDragFuncName(std::string_view cp1251);

    std::string toBytes() const;
    // Takes exactly kSize bytes; any other length leaves the record as it was and gives false.
    bool fromBytes(std::string_view bytes);

    bool operator==(const SettingsRecord&) const = default;
};

// The distance steps the results table offers, m.
inline constexpr double kTableSteps[5] = {100.0, 50.0, 25.0, 10.0, 5.0};

// "table_settings.dat": range and columns of the results table, 72 bytes. Column flags: the
// column is shown when on.
struct TableSettingsRecord {
    static constexpr size_t kSize = 72;

    double lastDistance = 800.0;   // m
    double firstDistance = 100.0;  // m
    double distanceStep = 100.0;   // m
    int32_t showVelocity = 1;
    uint8_t unused28[4] = {};
    int32_t showTimeOfFlight = 0;
    uint8_t unused36[4] = {};
    int32_t showVerticalCm = 0;
    int32_t showVerticalMoa = 1;
    int32_t showVerticalMil = 0;
    int32_t showVerticalClicks = 0;
    int32_t showHorizontalCm = 0;
    int32_t showHorizontalMoa = 1;
    int32_t showHorizontalMil = 0;
    int32_t showHorizontalClicks = 0;

    std::string toBytes() const;
    bool fromBytes(std::string_view bytes);

    bool operator==(const TableSettingsRecord&) const = default;
};

// "dir_setting.dat" in the program folder: where the data files live, 304 bytes.
struct FolderSettingRecord {
    static constexpr size_t kSize = 304;

    int32_t keepInProgramFolder = 0;    // flag: "Сохранять данные в папке приложения"
    int32_t programFolderAccepted = 0;  // flag: the program folder took the last write of the file
    uint8_t unused8[296] = {};

    // The data folder is the program folder: asked for, and the program folder can be written.
    bool dataInProgramFolder() const { return keepInProgramFolder != 0 && programFolderAccepted != 0; }

    std::string toBytes() const;
    bool fromBytes(std::string_view bytes);

    bool operator==(const FolderSettingRecord&) const = default;
};

// The handheld program's "settings.dat", 360 bytes: the same inputs and options in another
// layout, with the drag function name as 50 UTF-16 units and two result units of its main
// screen. Its fields carry the desktop record's names where they hold the same value.
struct HandheldSettingsRecord {
    static constexpr size_t kSize = 360;

    // Units of the main screen's two results.
    enum : int32_t { kResultMoa = 0, kResultMil = 1, kResultCm = 2, kResultClicks = 3 };

    char16_t dragFuncName[50] = {u'G', u'1'};  // NUL-terminated inside the field
    int32_t dragFuncNumber = 0;
    double muzzleVelocity = 792.0;
    double ballisticCoefficient = 0.447;
    double mvMeasureTemperature = 30.0;
    double mvChangePercent = 2.5;
    uint8_t mvCorrectionOff = 0;
    uint8_t pad137[7] = {};
    double sightHeight = 5.5;
    double clickVertical = 0.25;          // MOA
    double clickHorizontal = 0.25;        // MOA
    double airTemperature = 15.0;
    double windSpeed = 1.0;
    double zeroDistance = 100.0;
    double shownZeroAngle = 0.0;          // result
    double airDensityRatio = 0.0;         // result
    double zeroLineRise = 0.0;            // result
    double airPressure = 754.0;           // mm Hg
    double humidity = 55.0;
    double targetAngleField = 0.0;
    double zeroHumidity = 55.0;
    double zeroPressure = 754.0;
    double zeroTemperature = 15.0;
    double targetDistance = 685.0;
    double windAzimuth = 90.0;
    int32_t pressureInHpa = 0;            // flag
    int32_t addDerivation = 0;            // flag
    double reserved288 = 0.01;            // carried unchanged (the desktop's curve step)
    int32_t zeroInCurrentAtmosphere = 1;  // flag: "Пристрелка на месте"
    int32_t verticalResultUnit = kResultMoa;
    int32_t angleMode = kAngleModeDegrees;
    int32_t addInfoDriftUnit = kAddInfoUnitCm;  // first selection of the additional-data screen
    int32_t clicksInMil = 0;              // flag: click values entered in MIL
    int32_t horizontalResultUnit = kResultMoa;
    int32_t addVerticalWindDrift = 0;     // flag
    int32_t addInfoLeadUnit = kAddInfoUnitCm;   // second selection of the additional-data screen
    int32_t manualDrift = 0;              // flag
    uint8_t pad332[4] = {};
    double manualDriftPercent = 10.0;
    uint8_t unused344[16] = {};

    // The name up to its terminating zero unit (all 50 units when a file gave none).
    std::u16string dragFuncNameText() const;
    // Stores a name, cut to 49 units (one less when the cut would split a surrogate pair).
    void setDragFuncName(std::u16string_view units);

    std::string toBytes() const;
    bool fromBytes(std::string_view bytes);

    bool operator==(const HandheldSettingsRecord&) const = default;
};

// The values both records hold, copied from one to the other; everything else in the target
// stays as it was. Shared: name (CP1251 <-> UTF-16 by the library's Cyrillic conversion, cut to
// 49 characters) and number, every input from muzzle velocity to wind azimuth, the three results
// (the desktop's reserved slot at 160 is the handheld's zero line rise at 208), the flags for
// pressure unit, derivation, vertical wind drift, manual drift with its percentage, the
// same-atmosphere flag (the handheld's "Пристрелка на месте"), angle mode, the two
// additional-data unit selections, the click unit (desktop 0 MOA / 1 MIL <-> handheld flag; a
// desktop code other than 0 counts as MIL) and the desktop's curve step <-> the handheld's reserved
// double at 288. Only on the handheld: the two result units of its main screen.
void copySharedSettings(const SettingsRecord& from, HandheldSettingsRecord& to);
void copySharedSettings(const HandheldSettingsRecord& from, SettingsRecord& to);

template <class R>
concept SettingsBlock = requires(R r, const R cr, std::string_view bytes) {
    { R::kSize } -> std::convertible_to<size_t>;
    { cr.toBytes() } -> std::same_as<std::string>;
    { r.fromBytes(bytes) } -> std::same_as<bool>;
};

// What reading a settings file found.
enum class SettingsFileRead {
    Missing,   // no such file: the record is as it was
    Taken,     // read over the record
    NotTaken,  // there, but unreadable or of the wrong length: the record is as it was
};

// Reads the file over the record when its length is exactly the record's size; a missing,
// unreadable or wrongly sized file leaves the record as it was (a longer file is not even read
// into memory).
template <SettingsBlock R>
SettingsFileRead readSettingsFile(const std::filesystem::path& path, R& record) {
    const auto bytes = readWholeFile(path, R::kSize);
    if (bytes && record.fromBytes(*bytes)) return SettingsFileRead::Taken;
    std::error_code ec;
    return std::filesystem::exists(path, ec) ? SettingsFileRead::NotTaken : SettingsFileRead::Missing;
}

// The same; true when the record was read.
template <SettingsBlock R>
bool loadSettingsFile(const std::filesystem::path& path, R& record) {
    return readSettingsFile(path, record) == SettingsFileRead::Taken;
}

// Why a file that is there was not taken, in Russian: "длина 100 байт вместо 304", "не читается".
std::string notTakenReason(const std::filesystem::path& path, size_t expectedSize);

// Writes the whole record. Unlike a create-and-truncate write, the bytes go to a temporary file
// that replaces the old one only when complete, so a failed write leaves the old file as it was.
// False when the file could not be written.
template <SettingsBlock R>
bool saveSettingsFile(const std::filesystem::path& path, const R& record) {
    return writeFileAtomically(path, record.toBytes());
}

struct FolderSettingResult {
    bool fileRead = false;            // "dir_setting.dat" was there with the right length
    bool programFolderWritable = false;  // writing it back succeeded (also kept at offset 4)
    bool dataInProgramFolder = false;    // the data files move to the program folder
};

// Writes "dir_setting.dat". True also when the write fails but the file already holds the
// record's choice of folder: a program folder that cannot be written is usual (an installed
// program), and only a choice made while the program ran is then lost.
bool saveFolderSetting(const std::filesystem::path& path, const FolderSettingRecord& record);

// The start-up step of the folder setting: read "dir_setting.dat" from the program folder over
// the record, write the record back at once, keep in the record whether that write succeeded,
// and tell whether the data folder becomes the program folder (asked for and writable).
FolderSettingResult applyFolderSetting(const std::filesystem::path& programFolder, FolderSettingRecord& record);
