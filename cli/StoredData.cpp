#include "StoredData.h"

#include <system_error>

#include "DataPaths.h"

namespace fs = std::filesystem;

namespace {
std::string dataDirRefusal(const fs::path& dataDir) {
    const std::string named = "«" + dataDir.string() + "»";
    if (dataDir.empty()) return "у параметра «--data-dir» нет значения";
    std::error_code ec;
    const fs::file_status status = fs::status(dataDir, ec);
    if (status.type() == fs::file_type::not_found) return "--data-dir: папка " + named + " не существует";
    if (ec) return "--data-dir: нет доступа к папке " + named;
    if (!fs::is_directory(status)) return "--data-dir: " + named + " - не папка";
    return "";
}
}  // namespace

std::optional<StoredData> loadStoredData(const std::optional<fs::path>& dataDir, std::string& error) {
    if (dataDir) {
        error = dataDirRefusal(*dataDir);
        if (!error.empty()) return std::nullopt;
    }
    return loadStoredData(dataDir.value_or(fs::path()), programFolder(), userDataFolder());
}

StoredData loadStoredData(const fs::path& dataDir, const fs::path& program, const fs::path& userFolder) {
    StoredData data;
    data.folder = dataDir.empty() ? DataFolder::find(program, userFolder) : DataFolder::at(dataDir);
    loadSettingsFile(data.folder.settings(), data.settings);
    loadSettingsFile(data.folder.tableSettings(), data.tableSettings);
    data.libraryLoad = data.library.loadAtStart(data.folder.oldLibrary(), data.folder.library());
    return data;
}
