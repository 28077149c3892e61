#pragma once
#include <filesystem>
#include <string>

#include "SettingsRecord.h"

inline constexpr const char* kLibraryFileName = "bc_cdm3.dat";
inline constexpr const char* kOldLibraryFileName = "bc_cdm2.dat";

// Why the data files cannot be written where they are kept.
enum class FolderProblem {
    None,          // a file can be written there
    FileInTheWay,  // the folder, or a folder on its path, is a file
    CannotMake,    // the folder is missing and could not be made
    NotWritable,   // the folder is there, but no file can be written in it
};

// Where the programs keep their files: the user's data folder, or the program folder when
// "dir_setting.dat" (always in the program folder) asks for it and the program folder can be
// written. Names every file of the folder.
class DataFolder {
public:
    // The desktop program's start: the user's folder is made when missing (the current folder stands
    // in when there is none); "dir_setting.dat" is read over `record`, written back at once, and
    // whether the program folder took it is kept in the record; the files follow the record. What
    // stands in the way of writing the data files is in problem() and programFolderRefused().
    static DataFolder openAtStart(const std::filesystem::path& programFolder, const std::filesystem::path& userFolder,
                                  FolderSettingRecord& record);
    // The same choice made without writing anything (for tkcalc, which reads what the desktop
    // program keeps). The older library is looked for in the program folder.
    static DataFolder find(const std::filesystem::path& programFolder, const std::filesystem::path& userFolder);
    // A folder given by the user; the older library is looked for there too.
    static DataFolder at(const std::filesystem::path& folder);

    // The one test of whether a folder can be written: a complete file can be written in it (the
    // way every file is written, through a temporary file) and removed again.
    static bool writable(const std::filesystem::path& folder);

    const std::filesystem::path& folder() const { return folder_; }
    bool inProgramFolder() const { return inProgramFolder_; }

    std::filesystem::path settings() const { return folder_ / kSettingsFileName; }
    std::filesystem::path tableSettings() const { return folder_ / kTableSettingsFileName; }
    std::filesystem::path library() const { return folder_ / kLibraryFileName; }
    std::filesystem::path oldLibrary() const { return oldLibraryFolder_ / kOldLibraryFileName; }
    std::filesystem::path folderSetting() const { return programFolder_ / kFolderSettingFileName; }

    // The data files move to the program folder (the option was set while the program runs).
    void moveToProgramFolder();

    // Makes the data folder when it is missing and finds out whether files can be written in it
    // (at start, and again before a save: the user may have put things right meanwhile).
    FolderProblem prepare();
    // As the last prepare() found it.
    FolderProblem problem() const { return problem_; }
    bool ready() const { return problem_ == FolderProblem::None; }
    // Why, in Russian, naming what is in the way: "«/home/u/x» - файл, а не папка"; empty when ready.
    std::string problemText() const;
    // "Сохранять данные в папке приложения" is asked for, but the program folder cannot be written:
    // the data files stay in the user's folder.
    bool programFolderRefused() const { return programFolderRefused_; }

private:
    std::filesystem::path programFolder_;
    std::filesystem::path folder_;
    std::filesystem::path oldLibraryFolder_;
    bool inProgramFolder_ = false;
    bool programFolderRefused_ = false;
    FolderProblem problem_ = FolderProblem::None;
    std::filesystem::path inTheWay_;  // the file standing for a folder (FileInTheWay)
};
