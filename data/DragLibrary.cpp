#include "DragLibrary.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <set>

#include "ByteReader.h"
#include "ByteWriter.h"
#include "FileIO.h"
#include "LibraryRecord.h"
#include "StandardDragSet.h"

namespace fs = std::filesystem;

const std::string_view kStandardNotDeletableMessage =
    "Стандартные функции G1, G7 и RA4\nудалению не подлежат";

namespace {
template <size_t N>
std::string_view textOf(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}

// Capital -> small letter for every cased letter of the code page.
constexpr std::array<unsigned char, 256> makeFoldTable() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c) t[c] = static_cast<unsigned char>(c + 0x20);
    for (int c = 0xC0; c <= 0xDF; ++c) t[c] = static_cast<unsigned char>(c + 0x20);  // А-Я
    // Ђ Ѓ Љ Њ Ќ Ћ Џ Ў Ј Ґ Ё Є Ї І Ѕ
    const unsigned char pairs[][2] = {{0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D},
                                      {0x8E, 0x9E}, {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4},
                                      {0xA8, 0xB8}, {0xAA, 0xBA}, {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE}};
    for (const auto& p : pairs) t[p[0]] = p[1];
    return t;
}
constexpr std::array<unsigned char, 256> kFold = makeFoldTable();

bool isUndeletable(std::string_view name) {
    return equalIgnoringCaseCp1251(name, "G1") || equalIgnoringCaseCp1251(name, "G7") ||
           equalIgnoringCaseCp1251(name, "RA4");
}

// The G1 of the standard set, for a library whose entry 0 was removed by index.
DragFunc standardG1() {
    DragFunc g1;
    standardFunction("G1", g1);
    return g1;
}
}  // namespace

char foldCaseCp1251(char c) { return static_cast<char>(kFold[static_cast<unsigned char>(c)]); }

bool equalIgnoringCaseCp1251(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldCaseCp1251(a[i]) != foldCaseCp1251(b[i])) return false;
    return true;
}

DragLibrary::DragLibrary() { makeStandardSet(entries_); }

void DragLibrary::add(const DragFunc& f) { entries_.push_back(f); }

bool DragLibrary::removeAt(size_t index) {
    if (index >= entries_.size()) return false;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

bool DragLibrary::insertAt(size_t index, const DragFunc& f) {
    if (index > entries_.size()) return false;
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), f);
    return true;
}

int32_t DragLibrary::nextUniqueNumber() const {
    int32_t largest = 10;
    for (const DragFunc& f : entries_) largest = std::max(largest, f.uniqueNumber);
    if (largest < std::numeric_limits<int32_t>::max()) return largest + 1;
    // A file handed out the largest number there is: take the smallest free one above 10 instead.
    std::set<int32_t> used;
    for (const DragFunc& f : entries_) used.insert(f.uniqueNumber);
    int32_t n = 11;
    while (used.count(n)) ++n;  // at most entries_.size() steps
    return n;
}

DragFunc DragLibrary::findByNameAndNumber(std::string_view name, int32_t number) const {
    for (const DragFunc& f : entries_)
        if (f.uniqueNumber == number && textOf(f.name) == name) return f;
    for (const DragFunc& f : entries_)
        if (f.uniqueNumber == number && textOf(f.name) == "G1") return f;
    return entries_.empty() ? standardG1() : entries_.front();
}

DragFunc DragLibrary::findStandardByName(std::string_view name) const {
    for (const DragFunc& f : entries_)
        if (f.kind == DragFuncKind::Standard && textOf(f.name) == name) return f;
    for (const DragFunc& f : entries_)
        if (f.kind == DragFuncKind::Standard && textOf(f.name) == "G1") return f;
    return entries_.empty() ? standardG1() : entries_.front();
}

int32_t DragLibrary::findNumberByNameIgnoringCase(std::string_view name) const {
    for (const DragFunc& f : entries_)
        if (equalIgnoringCaseCp1251(textOf(f.name), name)) return f.uniqueNumber;
    return 0;
}

DeleteResult DragLibrary::deleteByNameAndNumber(std::string_view name, int32_t number,
                                                LibraryReporter* reporter) {
    if (isUndeletable(name)) {
        if (reporter) reporter->show(kStandardNotDeletableMessage);
        return DeleteResult::Refused;
    }
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].uniqueNumber == number && textOf(entries_[i].name) == name) {
            removeAt(i);
            return DeleteResult::Deleted;
        }
    }
    return DeleteResult::NotFound;
}

size_t DragLibrary::replaceByNameAndNumber(std::string_view name, int32_t number, const DragFunc& f) {
    size_t replaced = 0;
    for (DragFunc& entry : entries_) {
        if (entry.uniqueNumber == number && textOf(entry.name) == name) {
            entry = f;
            ++replaced;
        }
    }
    return replaced;
}

LibraryRead DragLibrary::addOldLibraryBytes(std::string_view bytes) {
    if (bytes.empty()) return LibraryRead::Complete;
    ByteReader in(bytes);
    const int32_t count = in.i32();
    if (!in.ok()) return LibraryRead::Truncated;
    // The count is not trusted: each record is read only while the bytes last, so a count of two
    // thousand million in a short file costs nothing.
    for (int32_t i = 0; i < count; ++i) {
        DragFuncOld old;
        if (!readLibraryRecordV2(in, old)) return LibraryRead::Truncated;  // a record cut short is dropped
        DragFunc f;
        f.copyFromOld(old);
        entries_.push_back(std::move(f));
    }
    return LibraryRead::Complete;
}

LibraryRead DragLibrary::addLibraryBytes(std::string_view bytes) {
    if (bytes.empty()) return LibraryRead::Complete;
    ByteReader in(bytes);
    const int32_t count = in.i32();
    if (!in.ok()) return LibraryRead::Truncated;
    for (int32_t i = 0; i < count; ++i) {
        DragFunc f;
        if (!readLibraryRecordV3(in, f)) return LibraryRead::Truncated;
        // The kind is kept as stored, also a value the program does not know (the engine handles
        // anything but Special like a standard function).
        entries_.push_back(std::move(f));
    }
    return LibraryRead::Complete;
}

bool DragLibrary::loadOldLibrary(const fs::path& path) {
    const std::optional<std::string> bytes = readWholeFile(path, kMaxLibraryFileBytes);
    if (!bytes) return false;
    addOldLibraryBytes(*bytes);
    return true;
}

LibraryRead DragLibrary::loadLibrary(const fs::path& path) {
    const std::optional<std::string> bytes = readWholeFile(path, kMaxLibraryFileBytes);
    std::error_code ec;
    if (!bytes) {
        // A file that is there but could not be read is kept (see saveLibrary).
        if (fs::exists(path, ec)) keep(path, LibraryKept::Unreadable);
        makeSampleFunction(entries_, nextUniqueNumber());
        return LibraryRead::Missing;
    }
    const LibraryRead read = addLibraryBytes(*bytes);
    if (read == LibraryRead::Truncated) keep(path, LibraryKept::CutShort);
    return read;
}

void DragLibrary::keep(const fs::path& file, LibraryKept why) {
    keptFiles_.keep(file);
    kept_ = why;
    keptFile_ = file;
}

std::string DragLibrary::libraryBytes() const {
    ByteWriter out;
    int32_t count = 0;
    for (const DragFunc& f : entries_)
        if (f.kind != DragFuncKind::Standard) ++count;
    out.i32(count);
    for (const DragFunc& f : entries_)
        if (f.kind != DragFuncKind::Standard) writeLibraryRecordV3(out, f);
    return out.take();
}

bool DragLibrary::saveLibrary(const fs::path& path) {
    // A library file whose content was not all taken in (unreadable, cut short, or replaced by a
    // migration without being read) is copied to "<name>.bak" before it is first overwritten, so
    // that what could not be read is not lost; without the copy the file is not overwritten.
    if (!keptFiles_.beforeOverwrite(path)) return false;
    // Written to a temporary file and renamed over the old one, so that a failed write leaves the old
    // library as it was rather than cut short.
    if (!writeFileAtomically(path, libraryBytes())) return false;
    // A migration finishes with the first save that gets through: only now may the old file go.
    if (!pendingOldLibrary_.empty() && path == pendingLibraryPath_ && removeFile(pendingOldLibrary_)) {
        pendingOldLibrary_.clear();
        pendingLibraryPath_.clear();
    }
    return true;
}

StartLoad DragLibrary::loadAtStart(const fs::path& oldLibraryPath, const fs::path& libraryPath) {
    if (loadOldLibrary(oldLibraryPath)) {
        // The old file is deleted only once the migrated functions are safely in the new library;
        // until then it stays and is migrated again at the next start.
        pendingOldLibrary_ = oldLibraryPath;
        pendingLibraryPath_ = libraryPath;
        // A migration replaces the library file without reading it.
        std::error_code ec;
        if (fs::exists(libraryPath, ec)) keep(libraryPath, LibraryKept::ReplacedByMigration);
        saveLibrary(libraryPath);
        return pendingOldLibrary_.empty() ? StartLoad::Migrated : StartLoad::MigrationPending;
    }
    return loadLibrary(libraryPath) == LibraryRead::Missing ? StartLoad::SampleAdded : StartLoad::Library;
}

std::string DragLibrary::singleRecordBytes(const DragFunc& f) {
    ByteWriter out;
    writeLibraryRecordV3(out, f);
    return out.take();
}

bool DragLibrary::writeSingleRecord(const DragFunc& f, const fs::path& path) {
    return writeFileAtomically(path, singleRecordBytes(f));
}

std::optional<DragFunc> DragLibrary::readSingleRecord(std::string_view bytes) {
    ByteReader in(bytes);
    DragFunc f;
    if (!readLibraryRecordV3(in, f)) return std::nullopt;
    return f;
}

std::optional<DragFunc> DragLibrary::readSingleRecordFile(const fs::path& path) {
    const std::optional<std::string> bytes = readWholeFile(path, kMaxLibraryFileBytes);
    if (!bytes) return std::nullopt;
    return readSingleRecord(*bytes);
}

std::optional<DragFuncOld> DragLibrary::readSingleOldRecord(std::string_view bytes) {
    ByteReader in(bytes);
    DragFuncOld f;
    if (!readLibraryRecordV2(in, f)) return std::nullopt;
    return f;
}

std::optional<DragFuncOld> DragLibrary::readSingleOldRecordFile(const fs::path& path) {
    const std::optional<std::string> bytes = readWholeFile(path, kMaxLibraryFileBytes);
    if (!bytes) return std::nullopt;
    return readSingleOldRecord(*bytes);
}
