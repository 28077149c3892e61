#pragma once
#include <filesystem>
#include <string>

#include "CorrectionTable.h"
#include "DragLibrary.h"
#include "SettingsRecord.h"
#include "ShotInputs.h"

// What the desktop program keeps in its data folder, read the way the desktop program reads it at
// start: "settings.dat", "table_settings.dat" and the drag function library (an older
// "bc_cdm2.dat" is migrated once into "bc_cdm3.dat"). tkcalc never writes the settings.
struct StoredData {
    std::filesystem::path dataFolder;
    std::filesystem::path libraryPath;     // "bc_cdm3.dat"
    std::filesystem::path oldLibraryPath;  // "bc_cdm2.dat"
    SettingsRecord settings;               // the first-run values when there is no file
    TableSettingsRecord tableSettings;
    DragLibrary library;
    StartLoad libraryLoad = StartLoad::SampleAdded;
};

// The folder: `dataDir` when given (the older library is then looked for there too); else the
// desktop program's data folder, which is the program folder when its "dir_setting.dat" says so and
// the folder can be written, else the user's data folder (the older library in the program folder).
StoredData loadStoredData(const std::filesystem::path& dataDir);
// The same with the program folder and the user's data folder given.
StoredData loadStoredData(const std::filesystem::path& dataDir, const std::filesystem::path& programFolder,
                          const std::filesystem::path& userFolder);

// The inputs the desktop program starts from with these settings. The target angle starts at 0,
// as the desktop's start-up shows it whatever was stored.
ShotInputs inputsFromSettings(const SettingsRecord& settings);

// The stored table range and step.
TableRange tableRangeFromSettings(const TableSettingsRecord& table);
