#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "DataFolder.h"
#include "DragLibrary.h"
#include "SettingsRecord.h"
#include "ShotInputs.h"

// What the desktop program keeps in its data folder, read the way the desktop program reads it at
// start: "settings.dat", "table_settings.dat" and the drag function library (an older
// "bc_cdm2.dat" is migrated once into "bc_cdm3.dat"). tkcalc never writes the settings.
// Values the program cannot use (not numbers, out of their limits) are back at their first-run
// values, as the desktop program takes them.
struct StoredData {
    DataFolder folder = DataFolder::at({});
    SettingsRecord settings;               // the first-run values when there is no file
    ShotInputs inputs;                     // of `settings`, unusable ones replaced
    TableSettingsRecord tableSettings;     // unusable range values replaced
    DragLibrary library;
    StartLoad libraryLoad = StartLoad::SampleAdded;
    SettingsFileRead settingsRead = SettingsFileRead::Missing;
    SettingsFileRead tableSettingsRead = SettingsFileRead::Missing;
    std::vector<std::string> replacedSettings;       // labels of the replaced inputs
    std::vector<std::string> replacedTableSettings;  // labels of the replaced table values
};

// The folder: `dataDir` when given (--data-dir; the older library is then looked for there too);
// else the desktop program's data folder (DataFolder::find). Only that default folder may be
// missing (before the first run: the first-run values apply, and an import makes it); a given
// folder that is empty, missing or not a folder gives nothing, with a Russian message naming it in
// `error`.
std::optional<StoredData> loadStoredData(const std::optional<std::filesystem::path>& dataDir, std::string& error);
// Only the folder, as loadStoredData finds it, with nothing read or written.
std::optional<DataFolder> findDataFolder(const std::optional<std::filesystem::path>& dataDir, std::string& error);
// The same with the program folder and the user's data folder given, and no check of `dataDir`
// (empty: the default folder).
StoredData loadStoredData(const std::filesystem::path& dataDir, const std::filesystem::path& programFolder,
                          const std::filesystem::path& userFolder);

// What the stored settings could not give, one Russian line each ("Предупреждение: ..."): a file
// that is there but was not taken, values replaced. The table settings only when they are used.
std::vector<std::string> storedSettingsWarnings(const StoredData& data, bool tableSettingsUsed);

// Writes the library back into the data folder, making the folder first when it is missing (only
// the default one can be: a given one must exist). False with a Russian message in `error` naming
// what stood in the way; a library file already there is left as it was.
bool saveStoredLibrary(StoredData& data, std::string& error);
