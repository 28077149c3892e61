#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "DataFolder.h"
#include "DragFunc.h"
#include "DragLibrary.h"
#include "KeptFiles.h"
#include "SettingsRecord.h"
#include "ShotInputs.h"

// What the field calculator keeps for the whole run, and its files: the settings record (360 bytes,
// the handheld's own), the table settings, the drag function library and the current function, all
// in the handheld's data folder. Every write goes through the data layer's safe saves (a temporary
// file renamed over the old one).
class HandheldSession {
public:
    explicit HandheldSession(std::filesystem::path folder);

    // The start: the folder made when missing; table settings and settings read when they have
    // exactly their length (a desktop "settings.dat" of 304 bytes is not taken, and is kept aside as
    // "settings.dat.bak" before the first save); the library (an older "bc_cdm2.dat" migrated, and
    // deleted only once the new library is written); the current function found by the stored name
    // and number.
    void load();

    const DataFolder& folder() const { return folder_; }
    HandheldSettingsRecord& settings() { return settings_; }
    const HandheldSettingsRecord& settings() const { return settings_; }
    TableSettingsRecord& tableSettings() { return tableSettings_; }
    DragLibrary& library() { return library_; }
    const DragLibrary& library() const { return library_; }
    ShotInputs& inputs() { return inputs_; }
    const ShotInputs& inputs() const { return inputs_; }
    const DragFunc& dragFunction() const { return dragFunction_; }
    void setDragFunction(const DragFunc& f);

    // The inputs into the settings record, then the two settings files written; the paths of those
    // that could not be written.
    std::vector<std::filesystem::path> saveSettings();

    // The library into "bc_cdm3.dat", unless the file changed on disk since this program last read or
    // wrote it (a sync from the desktop while it runs): then the file is read again instead of
    // overwritten, and the current function follows it (true). False when writing failed.
    enum class LibrarySave { Written, ReadAgain, Failed };
    LibrarySave saveLibrary();
    // Reads "bc_cdm3.dat" again when it changed on disk since it was last read or written; true then.
    bool reloadLibraryIfChanged();

    // What the start found that the user must know (a folder that cannot be written, values put back
    // to their first-run values), in Russian; empty when all is well.
    std::string startProblems() const;

private:
    DataFolder folder_;
    HandheldSettingsRecord settings_;
    TableSettingsRecord tableSettings_;
    DragLibrary library_;
    KeptFiles kept_;
    ShotInputs inputs_;
    DragFunc dragFunction_;
    std::vector<std::string> replaced_;
    std::optional<std::string> libraryOnDisk_;  // the library file's bytes as last read or written
};
