#include "StoredData.h"

#include "DataPaths.h"

namespace fs = std::filesystem;

StoredData loadStoredData(const fs::path& dataDir) { return loadStoredData(dataDir, programFolder(), userDataFolder()); }

StoredData loadStoredData(const fs::path& dataDir, const fs::path& program, const fs::path& userFolder) {
    StoredData data;
    data.folder = dataDir.empty() ? DataFolder::find(program, userFolder) : DataFolder::at(dataDir);
    loadSettingsFile(data.folder.settings(), data.settings);
    loadSettingsFile(data.folder.tableSettings(), data.tableSettings);
    data.libraryLoad = data.library.loadAtStart(data.folder.oldLibrary(), data.folder.library());
    return data;
}
