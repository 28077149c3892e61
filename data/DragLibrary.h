#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DragFunc.h"
#include "DragFuncOld.h"
#include "KeptFiles.h"

// Shows the library's messages to the user (a message box in the program, a recorder in tests).
class LibraryReporter {
public:
    virtual ~LibraryReporter() = default;
    virtual void show(std::string_view utf8) = 0;
};

// "Стандартные функции G1, G7 и RA4\nудалению не подлежат"
extern const std::string_view kStandardNotDeletableMessage;

// What a library file gave.
enum class LibraryRead {
    Missing,    // the file could not be opened (or is too large to be a library file); nothing added
    Complete,   // every announced record was read (an empty file counts as complete)
    Truncated,  // the file ended early; the whole records before that point were added
};

enum class DeleteResult {
    Deleted,
    Refused,   // G1, G7 or RA4 (in any letter case): nothing removed, the message shown
    NotFound,
};

// How the library was filled at start.
enum class StartLoad {
    Migrated,         // the old library was read, written as the new library and deleted
    MigrationPending, // the old library was read, but the new library could not be written or the
                      // old file not deleted: it stays until a later save to the library path gets
                      // through (else it is read again at the next start)
    Library,          // the library file was read (also when empty or cut short)
    SampleAdded,      // no library file: the standard set and the sample function
};

// A library file the last load did not take in whole, kept as "<name>.bak" (before the first save
// over it; a migration saves at once).
enum class LibraryKept {
    None,
    Unreadable,           // there, but it could not be read: the sample function was added instead
    CutShort,             // it ended before its count did: the whole records before that were added
    ReplacedByMigration,  // the old library was migrated over it without reading it
};

// The library files keep names and descriptions as UTF-16, records as LibraryRecordV3 ("bc_cdm3.dat",
// single ".dat" files) or LibraryRecordV2 ("bc_cdm2.dat", ".pro" files). Readers work on bytes in
// memory (the file is read whole first, bounded by kMaxLibraryFileBytes); they never read past the
// end and never allocate more than the bytes can hold.
constexpr size_t kMaxLibraryFileBytes = size_t{64} << 20;

// The drag function library: an ordered array of drag functions, identified by name and number.
// Built with the ten standard functions (G1 is entry 0); standard functions are never stored.
class DragLibrary {
public:
    DragLibrary();

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // Requires index < size().
    const DragFunc& at(size_t index) const { return entries_[index]; }
    DragFunc& at(size_t index) { return entries_[index]; }
    const DragFunc& operator[](size_t index) const { return entries_[index]; }
    std::vector<DragFunc>::const_iterator begin() const { return entries_.begin(); }
    std::vector<DragFunc>::const_iterator end() const { return entries_.end(); }
    const std::vector<DragFunc>& entries() const { return entries_; }

    void add(const DragFunc& f);
    // False (and nothing changed) when the index is out of range; insertAt accepts index == size().
    bool removeAt(size_t index);
    bool insertAt(size_t index, const DragFunc& f);

    // The largest number in the library, but not less than 10, plus 1.
    int32_t nextUniqueNumber() const;

    // Names are CP1251 bytes compared exactly unless the function says otherwise.
    // The entry with that name and number; else the "G1" with that number; else entry 0.
    DragFunc findByNameAndNumber(std::string_view name, int32_t number) const;
    // The Standard entry with that name; else the Standard "G1"; else entry 0.
    DragFunc findStandardByName(std::string_view name) const;
    // The number of the first entry with that name in any letter case (Latin and Cyrillic); 0 when none.
    int32_t findNumberByNameIgnoringCase(std::string_view name) const;
    // Removes the entry with that name and number, but never one named G1, G7 or RA4 in any letter
    // case: then the message is shown through the reporter (when given) and nothing is removed.
    DeleteResult deleteByNameAndNumber(std::string_view name, int32_t number,
                                       LibraryReporter* reporter = nullptr);
    // Each entry with that name and number is replaced by `f` at its index. Returns how many were.
    size_t replaceByNameAndNumber(std::string_view name, int32_t number, const DragFunc& f);

    // "bc_cdm2.dat": adds its functions with their stored numbers and kinds, bullet length, diameter
    // and weight 0. True when the file could be read (also when empty). It does not delete the file:
    // loadAtStart does once the migrated library is safely written.
    bool loadOldLibrary(const std::filesystem::path& path);
    LibraryRead addOldLibraryBytes(std::string_view bytes);
    // "bc_cdm3.dat": adds its functions with their stored numbers and kinds; when the file cannot be
    // opened, adds the sample function numbered by nextUniqueNumber instead.
    LibraryRead loadLibrary(const std::filesystem::path& path);
    LibraryRead addLibraryBytes(std::string_view bytes);

    // Writes every entry that is not Standard, in library order, after their count. The file is
    // replaced whole or not at all: a failed write leaves the old file as it was. Nothing is reported.
    // A library file this library could not take in whole at start (unreadable, cut short, or
    // replaced by a migration) is first copied to "<name>.bak".
    bool saveLibrary(const std::filesystem::path& path);
    std::string libraryBytes() const;

    // Start-up: the old library when there is one (migrated: written to libraryPath, and deleted only
    // after that write succeeded), else the library file, else the sample function.
    StartLoad loadAtStart(const std::filesystem::path& oldLibraryPath,
                          const std::filesystem::path& libraryPath);
    // Whether a load (at start, or loadLibrary) left a library file it did not take in whole, and
    // which: it is copied to KeptFiles::copyPath(file) before it is first overwritten.
    LibraryKept kept() const { return kept_; }
    const std::filesystem::path& keptFile() const { return keptFile_; }

    // Single-record files: "drag_function.dat" and ".dat" exports (one LibraryRecordV3) and ".pro"
    // (one LibraryRecordV2). Readers give nothing when the bytes end before the record does; bytes
    // after the record are ignored.
    static bool writeSingleRecord(const DragFunc& f, const std::filesystem::path& path);
    static std::string singleRecordBytes(const DragFunc& f);
    static std::optional<DragFunc> readSingleRecord(std::string_view bytes);
    static std::optional<DragFunc> readSingleRecordFile(const std::filesystem::path& path);
    static std::optional<DragFuncOld> readSingleOldRecord(std::string_view bytes);
    static std::optional<DragFuncOld> readSingleOldRecordFile(const std::filesystem::path& path);

private:
    void keep(const std::filesystem::path& file, LibraryKept why);

    std::vector<DragFunc> entries_;
    // A library file not all taken in, copied aside before the first save overwrites it.
    KeptFiles keptFiles_;
    LibraryKept kept_ = LibraryKept::None;
    std::filesystem::path keptFile_;
    // A migrated old library still on disk, removed by the first save to pendingLibraryPath_.
    std::filesystem::path pendingOldLibrary_;
    std::filesystem::path pendingLibraryPath_;
};

// Letter case folded for CP1251 text: Latin A-Z and every Cyrillic capital (А-Я, Ё and the other
// Cyrillic letters of the code page) to its small letter; other bytes unchanged.
char foldCaseCp1251(char c);
bool equalIgnoringCaseCp1251(std::string_view a, std::string_view b);
