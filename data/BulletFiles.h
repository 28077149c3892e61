#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "CBulletDimensions.h"
#include "CBulletsArray.h"

// The files of the drag-from-geometry calculator: the current bullet ("bullet_dim_current.dat") and
// the bullet database ("bullets_dim2.dat") in the data folder, and how the files of older versions
// are taken over: "bullet_dim.dat" and "bullets_dim.dat" (twist in millimetres) in the data folder,
// and copies of the two current files at the root of the current drive.
//
// Layouts (little-endian, no header beyond what is listed):
//   current bullet, exactly 192 bytes: name CP1251 zero-terminated [0,100), padding [100,104),
//     velocity, L, D, L1, D1, twist (in), weight, D2, L2, ogive radius as doubles [104,184),
//     nose shape int32 [184,188), padding [188,192). No unique number.
//   database: int32 count, then count records of 288 bytes: name UTF-16 in 100 units, zero-terminated
//     and zero-filled [0,200), the same ten doubles [200,280), nose shape int32 [280,284), unique
//     number int32 [284,288). An empty database is an empty file.
//
// Safety beyond what older versions did:
//   - every file is written through a temporary file that is renamed over the old one, so a failed
//     write leaves the old file as it was;
//   - an older file is removed only after the new one has been written, and only when it was read
//     whole; a file that could not be read is never removed;
//   - an older file (legacy name or root-folder copy) is taken over only while the data folder has
//     no current file of that kind, so an older file that cannot be removed never overwrites newer
//     data on the next start (and a root folder that is the data folder itself changes nothing);
//   - readers work on bytes, never read past their end, allocate only what the bytes can hold and
//     keep the whole records read before a short end.
namespace BulletFiles {

inline constexpr std::string_view kCurrentFileName = "bullet_dim_current.dat";
inline constexpr std::string_view kLegacyCurrentFileName = "bullet_dim.dat";
inline constexpr std::string_view kDatabaseFileName = "bullets_dim2.dat";
inline constexpr std::string_view kLegacyDatabaseFileName = "bullets_dim.dat";

inline constexpr size_t kCurrentFileSize = 192;
inline constexpr size_t kDatabaseRecordSize = 288;
inline constexpr size_t kDatabaseNameUnits = 100;
inline constexpr double kMillimetresPerInch = 25.4;  // older files keep the twist in mm per turn

// Files larger than these are treated as files that cannot be opened.
inline constexpr size_t kCurrentFileReadLimit = 64u << 10;
inline constexpr size_t kDatabaseFileReadLimit = 64u << 20;  // over 230,000 records

// ---- Bytes

// The current bullet when no file gives one: "Lapua Scenar 167gr", twist 11 in, Secant.
CBulletDimensions BuiltInCurrent();

// The 192 bytes of the current-bullet file (the unique number is not kept).
std::string CurrentToBytes(const CBulletDimensions& bullet);
// The record of a current-bullet file; nothing unless the bytes are exactly 192. Its unique number
// is the default 1. The nose shape is kept as stored, even when it is no known shape.
std::optional<CBulletDimensions> ParseCurrent(std::string_view bytes);
// The same for "bullet_dim.dat": the twist converted from mm to inches.
std::optional<CBulletDimensions> ParseLegacyCurrent(std::string_view bytes);

// The bytes of the database file; empty for an empty array.
std::string DatabaseToBytes(const CBulletsArray& bullets);

struct ParsedDatabase {
    CBulletsArray bullets;
    // False when the bytes end before the announced records do (the whole records before the end
    // are kept), or the count is cut short or negative (nothing is kept).
    bool complete = true;
};
// Empty bytes give an empty database. Bytes after the announced records are ignored.
ParsedDatabase ParseDatabase(std::string_view bytes);
// The same for "bullets_dim.dat": every twist converted from mm to inches.
ParsedDatabase ParseLegacyDatabase(std::string_view bytes);

// ---- Files

struct Folders {
    std::filesystem::path data;  // the program's data folder
    std::filesystem::path root;  // where older versions kept copies; empty: not looked at
};
// The root of the current drive (of the working folder; "/" on Linux); empty when unknown.
std::filesystem::path CurrentDriveRoot();

enum class Source {
    BuiltIn,     // no file gave it
    DataFolder,  // the data folder's current file
    LegacyFile,  // an older file of the data folder, taken over
    RootCopy,    // a copy at the root folder, taken over
};

// What a load gave. When an older file was taken over, `saved` tells whether the data folder's file
// was written and `oldFileRemoved` whether the older file is gone; a file that could not be removed
// is for the caller to report (nothing fails: the data folder's file now wins on the next start).
struct CurrentLoad {
    CBulletDimensions bullet = BuiltInCurrent();
    Source source = Source::BuiltIn;
    bool saved = true;
    bool oldFileRemoved = true;
};

struct DatabaseLoad {
    CBulletsArray bullets;
    Source source = Source::BuiltIn;
    // False when the file was shorter than its count announced: loading stopped there and the
    // records before it are kept (for the caller to report). An older file read this way is kept.
    bool complete = true;
    bool saved = true;
    bool oldFileRemoved = true;
};

// Write the data folder's files; false (old file unchanged) when the write fails.
bool SaveCurrent(const std::filesystem::path& dataFolder, const CBulletDimensions& bullet);
bool SaveDatabase(const std::filesystem::path& dataFolder, const CBulletsArray& bullets);

// Takes over a 192-byte "bullet_dim.dat" of the data folder (twist divided by 25.4), writing the
// current-bullet file; nothing when there is no such file to take over (none, not 192 bytes long,
// or the data folder has a current-bullet file already).
std::optional<CurrentLoad> ImportLegacyCurrent(const std::filesystem::path& dataFolder);
// A root-folder copy of the current-bullet file (taken over into the data folder), else the data
// folder's file, else the built-in values. Files not exactly 192 bytes long are not read.
CurrentLoad LoadCurrent(const Folders& folders);
// The current bullet when the calculator opens: ImportLegacyCurrent, else LoadCurrent.
CurrentLoad OpenCurrent(const Folders& folders);

// Takes over "bullets_dim.dat" of the data folder (every twist divided by 25.4), writing the
// database file; nothing when there is no such file to take over (none, or the data folder has a
// database file already).
std::optional<DatabaseLoad> ImportLegacyDatabase(const std::filesystem::path& dataFolder);
// A root-folder copy of the database file (taken over into the data folder), else the data folder's
// file (an empty file is an empty database), else the built-in list.
DatabaseLoad LoadDatabase(const Folders& folders);
// The database when the calculator opens: ImportLegacyDatabase, else LoadDatabase.
DatabaseLoad OpenDatabase(const Folders& folders);

}  // namespace BulletFiles
