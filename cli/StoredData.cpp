#include "StoredData.h"

#include <system_error>

#include "DataPaths.h"
#include "ShotSettings.h"

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

std::optional<DataFolder> findDataFolder(const std::optional<fs::path>& dataDir, std::string& error) {
    if (dataDir) {
        error = dataDirRefusal(*dataDir);
        if (!error.empty()) return std::nullopt;
        return DataFolder::at(*dataDir);
    }
    return DataFolder::find(programFolder(), userDataFolder());
}

StoredData loadStoredData(const fs::path& dataDir, const fs::path& program, const fs::path& userFolder) {
    StoredData data;
    data.folder = dataDir.empty() ? DataFolder::find(program, userFolder) : DataFolder::at(dataDir);
    data.settingsRead = readSettingsFile(data.folder.settings(), data.settings);
    data.inputs = sanitizedShotInputs(data.settings, data.replacedSettings);
    data.tableSettingsRead = readSettingsFile(data.folder.tableSettings(), data.tableSettings);
    sanitizeTableSettings(data.tableSettings, data.replacedTableSettings);
    data.libraryLoad = data.library.loadAtStart(data.folder.oldLibrary(), data.folder.library());
    return data;
}

namespace {
void warnAbout(const fs::path& file, SettingsFileRead read, size_t size, const std::vector<std::string>& replaced,
               std::vector<std::string>& lines) {
    const std::string name = "«" + file.string() + "»";
    if (read == SettingsFileRead::NotTaken)
        lines.push_back("Предупреждение: " + name + " не прочитан (" + notTakenReason(file, size) +
                        "); взяты значения первого запуска");
    if (replaced.empty()) return;
    std::string line = "Предупреждение: недопустимые значения в " + name + " заменены значениями первого запуска: ";
    for (size_t i = 0; i < replaced.size(); ++i) line += (i ? ", " : "") + replaced[i];
    lines.push_back(line);
}
}  // namespace

std::vector<std::string> storedSettingsWarnings(const StoredData& data, bool tableSettingsUsed) {
    std::vector<std::string> lines;
    warnAbout(data.folder.settings(), data.settingsRead, SettingsRecord::kSize, data.replacedSettings, lines);
    if (tableSettingsUsed)
        warnAbout(data.folder.tableSettings(), data.tableSettingsRead, TableSettingsRecord::kSize,
                  data.replacedTableSettings, lines);
    return lines;
}

bool saveStoredLibrary(StoredData& data, std::string& error) {
    const fs::path library = data.folder.library();
    std::error_code ec;
    const bool existed = fs::exists(library, ec);
    if (data.folder.prepare() != FolderProblem::None && !fs::is_directory(data.folder.folder(), ec)) {
        error = "не удалось создать папку данных «" + data.folder.folder().string() + "»: " + data.folder.problemText();
        return false;
    }
    if (data.library.saveLibrary(library)) return true;
    error = "не удалось записать библиотеку «" + library.string() + "»" + (existed ? "; прежний файл не изменён" : "");
    return false;
}
