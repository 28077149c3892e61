#include "DataFolder.h"

#include <random>
#include <string>
#include <system_error>

#include "FileIO.h"

namespace fs = std::filesystem;

DataFolder DataFolder::openAtStart(const fs::path& programFolder, const fs::path& userFolder,
                                   FolderSettingRecord& record) {
    DataFolder d;
    d.programFolder_ = d.oldLibraryFolder_ = programFolder;
    std::error_code ec;
    if (userFolder.empty()) {
        d.folder_ = fs::current_path(ec);
    } else {
        d.folder_ = userFolder;
        fs::create_directories(userFolder, ec);
    }
    const FolderSettingResult folder = applyFolderSetting(programFolder, record);
    if (folder.dataInProgramFolder) d.moveToProgramFolder();
    d.programFolderRefused_ = record.keepInProgramFolder != 0 && !folder.programFolderWritable;
    d.prepare();
    return d;
}

DataFolder DataFolder::find(const fs::path& programFolder, const fs::path& userFolder) {
    DataFolder d;
    d.programFolder_ = d.oldLibraryFolder_ = programFolder;
    d.folder_ = userFolder;
    FolderSettingRecord record;
    if (!programFolder.empty() && loadSettingsFile(d.folderSetting(), record) && record.keepInProgramFolder != 0 &&
        writable(programFolder))
        d.moveToProgramFolder();
    return d;
}

DataFolder DataFolder::at(const fs::path& folder) {
    DataFolder d;
    d.programFolder_ = d.folder_ = d.oldLibraryFolder_ = folder;
    return d;
}

bool DataFolder::writable(const fs::path& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return false;
    std::random_device rd;
    const fs::path probe = folder / (".trajekton-write-test-" + std::to_string(rd()));
    const bool ok = writeFileAtomically(probe, "x");
    fs::remove(probe, ec);
    return ok;
}

void DataFolder::moveToProgramFolder() {
    folder_ = programFolder_;
    inProgramFolder_ = true;
}

FolderProblem DataFolder::prepare() {
    std::error_code ec;
    inTheWay_.clear();
    if (!fs::is_directory(folder_, ec)) fs::create_directories(folder_, ec);
    if (fs::is_directory(folder_, ec)) {
        problem_ = writable(folder_) ? FolderProblem::None : FolderProblem::NotWritable;
        return problem_;
    }
    problem_ = FolderProblem::CannotMake;
    for (fs::path p = folder_; !p.empty(); p = p.parent_path()) {
        std::error_code ignored;
        if (fs::exists(p, ignored) && !fs::is_directory(p, ignored)) {
            problem_ = FolderProblem::FileInTheWay;
            inTheWay_ = p;
            break;
        }
        if (p == p.parent_path()) break;
    }
    return problem_;
}

std::string DataFolder::problemText() const {
    switch (problem_) {
        case FolderProblem::None: return "";
        case FolderProblem::FileInTheWay: return "«" + inTheWay_.string() + "» - файл, а не папка";
        case FolderProblem::CannotMake: return "папку не удалось создать (нет прав или диск только для чтения)";
        case FolderProblem::NotWritable:
            return "в папку нельзя записать файл (нет прав, диск заполнен или только для чтения)";
    }
    return "";
}
