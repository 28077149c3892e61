#include "BulletFiles.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <system_error>
#include <utility>

#include "ByteReader.h"
#include "ByteWriter.h"
#include "FileIO.h"
#include "LibraryRecord.h"

namespace fs = std::filesystem;

namespace BulletFiles {
namespace {

constexpr size_t kNameBytes = CBulletDimensions::kNameSize;
constexpr size_t kNameMaxChars = kNameBytes - 1;

// The name as stored: at most 99 bytes, so the field always keeps its terminator.
std::string_view storedName(const CBulletDimensions& b) { return b.nameText().substr(0, kNameMaxChars); }

// The ten doubles, in the order both files keep them.
void writeNumbers(ByteWriter& out, const CBulletDimensions& b) {
    for (double v : {b.velocity, b.length, b.diameter, b.noseLength, b.meplatDiameter, b.twist, b.weight,
                     b.baseDiameter, b.boatTailLength, b.ogiveRadius})
        out.f64(v);
}

void readNumbers(ByteReader& in, CBulletDimensions& b) {
    for (double* v : {&b.velocity, &b.length, &b.diameter, &b.noseLength, &b.meplatDiameter, &b.twist,
                      &b.weight, &b.baseDiameter, &b.boatTailLength, &b.ogiveRadius})
        *v = in.f64();
}

// One database record; the reader holds at least kDatabaseRecordSize bytes.
CBulletDimensions readDatabaseRecord(ByteReader& in) {
    std::u16string units;
    bool ended = false;
    for (size_t i = 0; i < kDatabaseNameUnits; ++i) {
        const char16_t u = in.u16();
        if (u == 0) ended = true;
        if (!ended && units.size() < kNameMaxChars) units.push_back(u);
    }
    CBulletDimensions b;
    b.setName(fromUtf16Cyrillic(units));
    readNumbers(in, b);
    b.noseShape = static_cast<NoseShape>(in.i32());
    b.uniqueNumber = in.i32();
    return b;
}

void twistToInches(CBulletDimensions& b) { b.twist /= kMillimetresPerInch; }

// True when the file is there, or when whether it is cannot be told (then it is not overwritten).
bool mayExist(const fs::path& path) {
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    return exists || ec;
}

fs::path fileIn(const fs::path& folder, std::string_view name) { return folder / fs::path(name); }

}  // namespace

// ---- Bytes

CBulletDimensions BuiltInCurrent() {
    CBulletDimensions b;
    b.setName("Lapua Scenar 167gr");
    b.velocity = 810.0;
    b.length = 31.3;
    b.diameter = 7.82;
    b.noseLength = 15.9;
    b.meplatDiameter = 1.6;
    b.twist = 11.0;
    b.weight = 10.82;
    b.baseDiameter = 6.1;
    b.boatTailLength = 5.3;
    b.ogiveRadius = 6.0;
    b.noseShape = NoseShape::Secant;
    return b;
}

std::string CurrentToBytes(const CBulletDimensions& bullet) {
    ByteWriter out;
    const std::string_view name = storedName(bullet);
    out.bytes(name);
    out.zeros(kNameBytes - name.size());
    out.zeros(4);
    writeNumbers(out, bullet);
    out.i32(static_cast<int32_t>(bullet.noseShape));
    out.zeros(4);
    return out.take();
}

std::optional<CBulletDimensions> ParseCurrent(std::string_view bytes) {
    if (bytes.size() != kCurrentFileSize) return std::nullopt;
    ByteReader in(bytes);
    std::string_view name = in.bytes(kNameBytes);
    name = name.substr(0, std::min(name.find('\0'), kNameMaxChars));
    CBulletDimensions b;
    b.setName(name);
    in.skip(4);
    readNumbers(in, b);
    b.noseShape = static_cast<NoseShape>(in.i32());
    in.skip(4);
    return b;
}

std::optional<CBulletDimensions> ParseLegacyCurrent(std::string_view bytes) {
    std::optional<CBulletDimensions> b = ParseCurrent(bytes);
    if (b) twistToInches(*b);
    return b;
}

std::string DatabaseToBytes(const CBulletsArray& bullets) {
    ByteWriter out;
    if (bullets.IsEmpty()) return out.take();
    // The count is an int32: records past its greatest value (no real database comes near) are not written.
    const size_t count = std::min<size_t>(bullets.GetSize(), std::numeric_limits<int32_t>::max());
    out.i32(static_cast<int32_t>(count));
    for (size_t i = 0; i < count; ++i) {
        const CBulletDimensions& b = bullets[i];
        const std::u16string name = toUtf16Cyrillic(storedName(b));
        for (char16_t u : name) out.u16(u);
        out.zeros(2 * (kDatabaseNameUnits - name.size()));
        writeNumbers(out, b);
        out.i32(static_cast<int32_t>(b.noseShape));
        out.i32(b.uniqueNumber);
    }
    return out.take();
}

ParsedDatabase ParseDatabase(std::string_view bytes) {
    ParsedDatabase out;
    if (bytes.empty()) return out;
    ByteReader in(bytes);
    const int32_t count = in.i32();
    if (!in.ok() || count < 0) {
        out.complete = false;
        return out;
    }
    const size_t announced = static_cast<size_t>(count);
    // Room only for the records the bytes can hold, whatever the count says.
    out.bullets.Reserve(std::min(announced, in.remaining() / kDatabaseRecordSize));
    for (size_t i = 0; i < announced; ++i) {
        if (in.remaining() < kDatabaseRecordSize) {
            out.complete = false;
            break;
        }
        out.bullets.Add(readDatabaseRecord(in));
    }
    return out;
}

ParsedDatabase ParseLegacyDatabase(std::string_view bytes) {
    ParsedDatabase out = ParseDatabase(bytes);
    for (CBulletDimensions& b : out.bullets) twistToInches(b);
    return out;
}

// ---- Files

fs::path CurrentDriveRoot() {
    std::error_code ec;
    const fs::path here = fs::current_path(ec);
    return ec ? fs::path() : here.root_path();
}

bool SaveCurrent(const fs::path& dataFolder, const CBulletDimensions& bullet) {
    return writeFileAtomically(fileIn(dataFolder, kCurrentFileName), CurrentToBytes(bullet));
}

bool SaveDatabase(const fs::path& dataFolder, const CBulletsArray& bullets) {
    return writeFileAtomically(fileIn(dataFolder, kDatabaseFileName), DatabaseToBytes(bullets));
}

std::optional<CurrentLoad> ImportLegacyCurrent(const fs::path& dataFolder) {
    if (mayExist(fileIn(dataFolder, kCurrentFileName))) return std::nullopt;
    const fs::path legacy = fileIn(dataFolder, kLegacyCurrentFileName);
    const std::optional<std::string> bytes = readWholeFile(legacy, kCurrentFileReadLimit);
    if (!bytes) return std::nullopt;
    // A file of another length is left where it is, unread: it is nothing this program can use, and
    // nothing it could not read is removed.
    const std::optional<CBulletDimensions> bullet = ParseLegacyCurrent(*bytes);
    if (!bullet) return std::nullopt;
    CurrentLoad r;
    r.bullet = *bullet;
    r.source = Source::LegacyFile;
    r.saved = SaveCurrent(dataFolder, r.bullet);
    r.oldFileRemoved = r.saved && removeFile(legacy);
    return r;
}

CurrentLoad LoadCurrent(const Folders& folders) {
    CurrentLoad r;
    const fs::path dataFile = fileIn(folders.data, kCurrentFileName);
    if (!folders.root.empty() && !mayExist(dataFile)) {
        const fs::path rootFile = fileIn(folders.root, kCurrentFileName);
        if (const std::optional<std::string> bytes = readWholeFile(rootFile, kCurrentFileReadLimit)) {
            if (const std::optional<CBulletDimensions> bullet = ParseCurrent(*bytes)) {
                r.bullet = *bullet;
                r.source = Source::RootCopy;
                r.saved = SaveCurrent(folders.data, r.bullet);
                r.oldFileRemoved = r.saved && removeFile(rootFile);
                return r;
            }
        }
    }
    if (const std::optional<std::string> bytes = readWholeFile(dataFile, kCurrentFileReadLimit)) {
        if (const std::optional<CBulletDimensions> bullet = ParseCurrent(*bytes)) {
            r.bullet = *bullet;
            r.source = Source::DataFolder;
        }
    }
    return r;
}

CurrentLoad OpenCurrent(const Folders& folders) {
    if (std::optional<CurrentLoad> r = ImportLegacyCurrent(folders.data)) return *r;
    return LoadCurrent(folders);
}

namespace {
// Takes over an older database file read into `parsed`: the data folder's file is written first, the
// older file removed only when that worked and the older file was read whole.
DatabaseLoad takeOver(ParsedDatabase parsed, Source source, const fs::path& dataFolder, const fs::path& oldFile) {
    DatabaseLoad r;
    r.bullets = std::move(parsed.bullets);
    r.source = source;
    r.complete = parsed.complete;
    r.saved = SaveDatabase(dataFolder, r.bullets);
    r.oldFileRemoved = r.saved && r.complete && removeFile(oldFile);
    return r;
}
}  // namespace

std::optional<DatabaseLoad> ImportLegacyDatabase(const fs::path& dataFolder) {
    if (mayExist(fileIn(dataFolder, kDatabaseFileName))) return std::nullopt;
    const fs::path legacy = fileIn(dataFolder, kLegacyDatabaseFileName);
    const std::optional<std::string> bytes = readWholeFile(legacy, kDatabaseFileReadLimit);
    if (!bytes) return std::nullopt;
    return takeOver(ParseLegacyDatabase(*bytes), Source::LegacyFile, dataFolder, legacy);
}

DatabaseLoad LoadDatabase(const Folders& folders) {
    const fs::path dataFile = fileIn(folders.data, kDatabaseFileName);
    if (!folders.root.empty() && !mayExist(dataFile)) {
        const fs::path rootFile = fileIn(folders.root, kDatabaseFileName);
        if (const std::optional<std::string> bytes = readWholeFile(rootFile, kDatabaseFileReadLimit))
            return takeOver(ParseDatabase(*bytes), Source::RootCopy, folders.data, rootFile);
    }
    DatabaseLoad r;
    if (const std::optional<std::string> bytes = readWholeFile(dataFile, kDatabaseFileReadLimit)) {
        ParsedDatabase parsed = ParseDatabase(*bytes);
        r.bullets = std::move(parsed.bullets);
        r.complete = parsed.complete;
        r.source = Source::DataFolder;
    } else {
        r.bullets = CBulletsArray::BuiltIn();
    }
    return r;
}

DatabaseLoad OpenDatabase(const Folders& folders) {
    if (std::optional<DatabaseLoad> r = ImportLegacyDatabase(folders.data)) return std::move(*r);
    return LoadDatabase(folders);
}

}  // namespace BulletFiles
