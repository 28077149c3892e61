#include "StoredData.h"

#include "DataPaths.h"
#include "TextCodec.h"

namespace fs = std::filesystem;

StoredData loadStoredData(const fs::path& dataDir) { return loadStoredData(dataDir, programFolder(), userDataFolder()); }

StoredData loadStoredData(const fs::path& dataDir, const fs::path& program, const fs::path& userFolder) {
    StoredData data;
    if (!dataDir.empty()) {
        data.dataFolder = dataDir;
        data.oldLibraryPath = dataDir / "bc_cdm2.dat";
    } else {
        data.dataFolder = userFolder;
        FolderSettingRecord folder;
        if (!program.empty() && loadSettingsFile(program / kFolderSettingFileName, folder) && folder.keepInProgramFolder &&
            folderIsWritable(program))
            data.dataFolder = program;
        data.oldLibraryPath = program / "bc_cdm2.dat";
    }
    data.libraryPath = data.dataFolder / "bc_cdm3.dat";
    loadSettingsFile(data.dataFolder / kSettingsFileName, data.settings);
    loadSettingsFile(data.dataFolder / kTableSettingsFileName, data.tableSettings);
    data.libraryLoad = data.library.loadAtStart(data.oldLibraryPath, data.libraryPath);
    return data;
}

ShotInputs inputsFromSettings(const SettingsRecord& s) {
    ShotInputs in;
    in.dragFunctionName = cp1251ToUtf8(s.dragFuncNameText());
    in.dragFunctionNumber = s.dragFuncNumber;
    in.muzzleVelocity = s.muzzleVelocity;
    in.ballisticCoefficient = s.ballisticCoefficient;
    in.mvTemperature = s.mvMeasureTemperature;
    in.mvTemperatureChange = s.mvChangePercent;
    in.mvCorrectionOff = s.mvCorrectionOff != 0;
    in.sightHeight = s.sightHeight;
    in.zeroDistance = s.zeroDistance;
    in.clickVertical = s.clickVertical;
    in.clickHorizontal = s.clickHorizontal;
    in.distance = s.targetDistance;
    in.targetAngle = 0;
    in.windSpeed = s.windSpeed;
    in.windAzimuth = s.windAzimuth;
    in.temperature = s.airTemperature;
    in.pressure = s.airPressure;
    in.humidity = s.humidity;
    in.sameAtmosphere = s.sameZeroAtmosphere != 0;
    in.zeroTemperature = s.zeroTemperature;
    in.zeroPressure = s.zeroPressure;
    in.zeroHumidity = s.zeroHumidity;
    in.addDerivation = s.addDerivation != 0;
    in.addVerticalDrift = s.addVerticalWindDrift != 0;
    in.manualDrift = s.manualDrift != 0;
    in.manualDriftPercent = s.manualDriftPercent;
    return in;
}

TableRange tableRangeFromSettings(const TableSettingsRecord& t) {
    return TableRange{t.firstDistance, t.lastDistance, t.distanceStep};
}
