#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>

#include "BulletFiles.h"
#include "CBulletDimensions.h"
#include "CBulletsArray.h"

namespace fs = std::filesystem;
using namespace BulletFiles;

namespace {

// Little-endian values put at literal offsets, independently of the writers.
void putU16(std::string& b, size_t at, uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}
void putI32(std::string& b, size_t at, int32_t v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}
void putF64(std::string& b, size_t at, double v) {
    uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) b[at + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

// A bullet with every number different, and a Cyrillic CP1251 name: "Пуля №5 ёЁ A".
CBulletDimensions sampleBullet() {
    CBulletDimensions b;
    b.setName("\xCF\xF3\xEB\xFF \xB9" "5 \xB8\xA8 A");
    b.velocity = 901.5;
    b.length = 33.1;
    b.diameter = 7.83;
    b.noseLength = 18.2;
    b.meplatDiameter = 1.45;
    b.twist = 9.5;
    b.weight = 12.96;
    b.baseDiameter = 6.6;
    b.boatTailLength = 4.1;
    b.ogiveRadius = 8.5;
    b.noseShape = NoseShape::Conical;
    b.uniqueNumber = 77;
    return b;
}

// The ten numbers from `at` on: velocity, L, D, L1, D1, twist, weight, D2, L2, ogive radius.
void putNumbers(std::string& f, size_t at, const CBulletDimensions& b, double twist) {
    const double v[] = {b.velocity, b.length, b.diameter, b.noseLength, b.meplatDiameter,
                        twist, b.weight, b.baseDiameter, b.boatTailLength, b.ogiveRadius};
    for (double x : v) {
        putF64(f, at, x);
        at += 8;
    }
}

// The 192 bytes of the current-bullet file for sampleBullet().
std::string sampleCurrentBytes(double twist) {
    std::string f(192, '\0');
    const char name[] = "\xCF\xF3\xEB\xFF \xB9" "5 \xB8\xA8 A";
    std::memcpy(f.data(), name, sizeof name - 1);
    putNumbers(f, 104, sampleBullet(), twist);
    putI32(f, 184, 2);
    return f;
}

// One 288-byte database record for a bullet; the name given as UTF-16 units.
std::string databaseRecord(std::u16string_view name, const CBulletDimensions& b, double twist) {
    std::string r(288, '\0');
    for (size_t i = 0; i < name.size(); ++i) putU16(r, 2 * i, name[i]);
    putNumbers(r, 200, b, twist);
    putI32(r, 280, static_cast<int32_t>(b.noseShape));
    putI32(r, 284, b.uniqueNumber);
    return r;
}

const std::u16string kSampleName16 = u"Пуля №5 ёЁ A";

std::string countBytes(int32_t count) {
    std::string c(4, '\0');
    putI32(c, 0, count);
    return c;
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A data folder and a stand-in for the drive's root, both empty, removed afterwards.
class BulletFilesOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device rd;
        base_ = fs::temp_directory_path() / ("tk_bullets_" + std::to_string(rd()) + std::to_string(rd()));
        folders_.data = base_ / "data";
        folders_.root = base_ / "root";
        fs::create_directories(folders_.data);
        fs::create_directories(folders_.root);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(base_, ec);
    }
    fs::path data(std::string_view name) const { return folders_.data / name; }
    fs::path root(std::string_view name) const { return folders_.root / name; }

    fs::path base_;
    Folders folders_;
};

}  // namespace

// ---- Records and the database in memory

TEST(BulletRecords, DefaultRecordAndBuiltInList) {
    const CBulletsArray list = CBulletsArray::BuiltIn();
    ASSERT_EQ(list.GetSize(), 11u);
    EXPECT_EQ(list[0], CBulletDimensions());
    EXPECT_EQ(list[0].nameText(), ".308Win, Lapua Scenar, 167gr");
    for (size_t i = 0; i < list.GetSize(); ++i) {
        EXPECT_EQ(list[i].uniqueNumber, static_cast<int32_t>(i + 1));
        EXPECT_EQ(list[i].noseShape, NoseShape::Secant);
        EXPECT_EQ(list[i].twist, 10.0);
    }
    EXPECT_EQ(list[1].nameText(), ".308Win, Sierra Match King 168gr");
    // The Cyrillic "В" of the maker's name is the CP1251 byte 0xC2.
    const CBulletDimensions& last = list[10];
    EXPECT_EQ(last.nameText(), ".338 Lapua Magnum, \xC2" "408 Lock Base, 250gr");
    const double want[] = {900, 37.7, 8.6, 19.6, 1.4, 16.2, 6.9, 7.6, 7.0};
    const double got[] = {last.velocity, last.length, last.diameter, last.noseLength, last.meplatDiameter,
                          last.weight, last.baseDiameter, last.boatTailLength, last.ogiveRadius};
    for (size_t i = 0; i < std::size(want); ++i) EXPECT_EQ(got[i], want[i]) << i;
}

TEST(BulletRecords, LongNamesAreCutTo99Bytes) {
    CBulletDimensions b;
    b.setName(std::string(150, '\xE0'));  // 150 Cyrillic "а", one byte each
    EXPECT_EQ(b.nameText(), std::string(99, '\xE0'));
    EXPECT_EQ(b.name[99], '\0');
}

TEST(BulletRecords, FindAndRemoveMatchNameAndNumberTogether) {
    CBulletsArray a;
    CBulletDimensions b;
    const std::pair<const char*, int32_t> rows[] = {{"X", 5}, {"X", 6}, {"XY", 5}, {"X", 6}};
    for (const auto& [name, number] : rows) {
        b.setName(name);
        b.uniqueNumber = number;
        b.velocity = static_cast<double>(a.GetSize());
        a.Add(b);
    }
    EXPECT_EQ(a.Find("X", 6).velocity, 1);
    EXPECT_EQ(a.Find("XY", 5).velocity, 2);
    // No match (a prefix, a known name under another number, an embedded zero): the first record.
    EXPECT_EQ(a.Find("", 5).velocity, 0);
    EXPECT_EQ(a.Find("XY", 6).velocity, 0);
    EXPECT_EQ(a.Find(std::string_view("X\0", 2), 6).velocity, 0);
    EXPECT_EQ(CBulletsArray().Find("X", 1), CBulletDimensions());

    EXPECT_EQ(a.RemoveMatching("X", 6), 2u);
    ASSERT_EQ(a.GetSize(), 2u);
    EXPECT_EQ(a[1].nameText(), "XY");
    EXPECT_FALSE(a.RemoveAt(2));
    EXPECT_TRUE(a.RemoveAt(0));
    EXPECT_EQ(a[0].nameText(), "XY");
}

TEST(BulletRecords, NextUniqueNumber) {
    CBulletsArray a;
    EXPECT_EQ(a.NextUniqueNumber(), 2);
    CBulletDimensions b;
    b.uniqueNumber = -7;
    a.Add(b);
    EXPECT_EQ(a.NextUniqueNumber(), 2);

    // Saving the same bullet twice adds it twice under consecutive numbers.
    CBulletsArray db = CBulletsArray::BuiltIn();
    for (int i = 0; i < 2; ++i) {
        b.uniqueNumber = db.NextUniqueNumber();
        db.Add(b);
    }
    EXPECT_EQ(db[11].uniqueNumber, 12);
    EXPECT_EQ(db[12].uniqueNumber, 13);

    // The greatest number already in use: the smallest free one from 2, never an overflow.
    for (int32_t n : {std::numeric_limits<int32_t>::max(), 2, 3, 3, 5}) {
        b.uniqueNumber = n;
        a.Add(b);
    }
    EXPECT_EQ(a.NextUniqueNumber(), 4);
}

// ---- File bytes

TEST(BulletFileBytes, CurrentFileLayout) {
    const std::string expected = sampleCurrentBytes(9.5);
    EXPECT_EQ(CurrentToBytes(sampleBullet()), expected);

    const std::optional<CBulletDimensions> read = ParseCurrent(expected);
    ASSERT_TRUE(read);
    CBulletDimensions want = sampleBullet();
    want.uniqueNumber = 1;  // the file keeps no number
    EXPECT_EQ(*read, want);

    // The older file keeps the twist in mm.
    const std::optional<CBulletDimensions> legacy = ParseLegacyCurrent(sampleCurrentBytes(254.0));
    ASSERT_TRUE(legacy);
    EXPECT_DOUBLE_EQ(legacy->twist, 10.0);
    EXPECT_EQ(legacy->velocity, 901.5);
}

TEST(BulletFileBytes, CurrentFileNameAndLength) {
    // A full 99-byte name keeps its terminator at byte 99.
    CBulletDimensions b;
    b.setName(std::string(120, 'n'));
    const std::string bytes = CurrentToBytes(b);
    ASSERT_EQ(bytes.size(), 192u);
    EXPECT_EQ(bytes.substr(0, 99), std::string(99, 'n'));
    EXPECT_EQ(bytes.substr(99, 5), std::string(5, '\0'));

    // A file whose name fills all 100 bytes without a terminator: cut to 99; padding ignored.
    std::string f = sampleCurrentBytes(10.0);
    std::memset(f.data(), 'z', 104);
    const std::optional<CBulletDimensions> read = ParseCurrent(f);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->nameText(), std::string(99, 'z'));
    EXPECT_EQ(read->velocity, 901.5);

    // An unknown nose shape is kept as stored.
    putI32(f, 184, -1);
    EXPECT_EQ(static_cast<int32_t>(ParseCurrent(f)->noseShape), -1);

    // Only a file of exactly 192 bytes is read.
    for (const std::string& other : {std::string(), f.substr(0, 191), f + '\0'}) {
        EXPECT_FALSE(ParseCurrent(other));
        EXPECT_FALSE(ParseLegacyCurrent(other));
    }
}

TEST(BulletFileBytes, DatabaseFileLayout) {
    CBulletsArray a;
    a.Add(sampleBullet());
    CBulletDimensions second;  // the default record, number 1
    a.Add(second);

    std::string expected = countBytes(2);
    expected += databaseRecord(kSampleName16, sampleBullet(), 9.5);
    expected += databaseRecord(u".308Win, Lapua Scenar, 167gr", second, 10.0);
    ASSERT_EQ(expected.size(), 4u + 2 * 288);
    EXPECT_EQ(DatabaseToBytes(a), expected);

    const ParsedDatabase read = ParseDatabase(expected);
    EXPECT_TRUE(read.complete);
    ASSERT_EQ(read.bullets.GetSize(), 2u);
    EXPECT_EQ(read.bullets[0], sampleBullet());
    EXPECT_EQ(read.bullets[1], second);

    const ParsedDatabase legacy = ParseLegacyDatabase(countBytes(1) + databaseRecord(u"a", second, 254.0));
    ASSERT_EQ(legacy.bullets.GetSize(), 1u);
    EXPECT_DOUBLE_EQ(legacy.bullets[0].twist, 10.0);
}

TEST(BulletFileBytes, DatabaseNameField) {
    CBulletDimensions b;
    // 100 units with no terminator: cut to 99 bytes. Unknown units give their low byte.
    std::u16string full(100, u'Я');
    full[0] = u'\u0141';  // low byte 0x41
    ParsedDatabase read = ParseDatabase(countBytes(1) + databaseRecord(full, b, 10.0));
    ASSERT_EQ(read.bullets.GetSize(), 1u);
    EXPECT_EQ(read.bullets[0].nameText(), std::string("A").append(98, '\xDF'));

    // Units after the terminator are ignored.
    std::string rec = databaseRecord(u"ab", b, 10.0);
    putU16(rec, 8, u'Z');
    read = ParseDatabase(countBytes(1) + rec);
    EXPECT_EQ(read.bullets[0].nameText(), "ab");

    // A 99-byte name fills 99 units and keeps its terminator.
    b.setName(std::string(99, '\xFF'));
    CBulletsArray a;
    a.Add(b);
    const std::string bytes = DatabaseToBytes(a);
    EXPECT_EQ(bytes.substr(4, 2), "\x4F\x04");  // я = U+044F
    EXPECT_EQ(bytes.substr(4 + 198, 2), std::string(2, '\0'));
}

TEST(BulletFileBytes, EmptyShortAndDamagedDatabases) {
    EXPECT_EQ(DatabaseToBytes(CBulletsArray()), "");
    for (const std::string& empty : {std::string(), countBytes(0) + "trailing"}) {
        const ParsedDatabase read = ParseDatabase(empty);
        EXPECT_TRUE(read.complete);
        EXPECT_TRUE(read.bullets.IsEmpty());
    }

    const CBulletDimensions b = sampleBullet();
    // Three announced, two and a half there: the two whole records are kept.
    std::string f = countBytes(3) + databaseRecord(kSampleName16, b, 9.5) + databaseRecord(u"2", b, 9.5);
    f += databaseRecord(u"3", b, 9.5).substr(0, 144);
    ParsedDatabase read = ParseDatabase(f);
    EXPECT_FALSE(read.complete);
    ASSERT_EQ(read.bullets.GetSize(), 2u);
    EXPECT_EQ(read.bullets[1].nameText(), "2");

    // A huge count in a 10-byte file allocates nothing and reads nothing.
    read = ParseDatabase(countBytes(2000000000) + "abcdef");
    EXPECT_FALSE(read.complete);
    EXPECT_TRUE(read.bullets.IsEmpty());

    for (const std::string& bad : {countBytes(-1) + databaseRecord(u"x", b, 1.0), std::string("\x01\x00", 2)}) {
        read = ParseDatabase(bad);
        EXPECT_FALSE(read.complete);
        EXPECT_TRUE(read.bullets.IsEmpty());
    }
}

TEST(BulletFileBytes, AnyBytesReadWithoutHarmAndWriteBackStably) {
    std::mt19937 random(1234);
    const std::string good = DatabaseToBytes(CBulletsArray::BuiltIn());
    for (int round = 0; round < 300; ++round) {
        // A good file cut anywhere with one byte changed, or noise with a small count.
        std::string bytes = good.substr(0, random() % (good.size() + 1));
        if (!bytes.empty()) bytes[random() % bytes.size()] ^= static_cast<char>(1 + random() % 255);
        if (round % 2 == 0) {
            for (char& c : bytes) c = static_cast<char>(random());
            if (bytes.size() >= 4) putI32(bytes, 0, static_cast<int32_t>(random() % 4));
        }
        const std::string written = DatabaseToBytes(ParseLegacyDatabase(bytes).bullets);
        const ParsedDatabase again = ParseDatabase(written);
        EXPECT_TRUE(again.complete);
        EXPECT_EQ(DatabaseToBytes(again.bullets), written);

        bytes.resize(192);
        const std::string current = CurrentToBytes(ParseCurrent(bytes).value());
        EXPECT_EQ(CurrentToBytes(ParseCurrent(current).value()), current);
    }
}

// ---- Files and their migrations

TEST_F(BulletFilesOnDisk, FirstStartWithNoFiles) {
    const CurrentLoad current = OpenCurrent(folders_);
    EXPECT_EQ(current.source, Source::BuiltIn);
    EXPECT_EQ(current.bullet.nameText(), "Lapua Scenar 167gr");
    EXPECT_EQ(current.bullet.twist, 11.0);
    EXPECT_EQ(current.bullet, BuiltInCurrent());

    const DatabaseLoad db = OpenDatabase(folders_);
    EXPECT_EQ(db.source, Source::BuiltIn);
    ASSERT_EQ(db.bullets.GetSize(), 11u);
    EXPECT_TRUE(fs::is_empty(folders_.data));  // nothing is written until something is saved

    ASSERT_TRUE(SaveDatabase(folders_.data, db.bullets));
    const std::string file = readFile(data(kDatabaseFileName));
    EXPECT_EQ(file.size(), 4u + 11 * 288);
    EXPECT_EQ(file.substr(0, 4), countBytes(11));
}

TEST_F(BulletFilesOnDisk, SavedFilesLoadBack) {
    CBulletDimensions b = sampleBullet();
    ASSERT_TRUE(SaveCurrent(folders_.data, b));
    EXPECT_EQ(readFile(data(kCurrentFileName)), sampleCurrentBytes(9.5));
    CurrentLoad current = OpenCurrent(folders_);
    EXPECT_EQ(current.source, Source::DataFolder);
    b.uniqueNumber = 1;
    EXPECT_EQ(current.bullet, b);

    CBulletsArray a = CBulletsArray::BuiltIn();
    a.Add(sampleBullet());
    ASSERT_TRUE(SaveDatabase(folders_.data, a));
    const DatabaseLoad db = OpenDatabase(folders_);
    EXPECT_EQ(db.source, Source::DataFolder);
    EXPECT_TRUE(db.complete);
    ASSERT_EQ(db.bullets.GetSize(), 12u);
    EXPECT_EQ(db.bullets[11], sampleBullet());

    // A current file of another length is not read: the built-in values.
    writeFile(data(kCurrentFileName), sampleCurrentBytes(9.5) + "x");
    current = OpenCurrent(folders_);
    EXPECT_EQ(current.source, Source::BuiltIn);
    EXPECT_EQ(current.bullet, BuiltInCurrent());
}

TEST_F(BulletFilesOnDisk, EmptiedOrShortDatabaseFile) {
    // Every record deleted: an empty file, read back as an empty list, not the built-in one.
    ASSERT_TRUE(SaveDatabase(folders_.data, CBulletsArray()));
    EXPECT_EQ(fs::file_size(data(kDatabaseFileName)), 0u);
    DatabaseLoad db = OpenDatabase(folders_);
    EXPECT_EQ(db.source, Source::DataFolder);
    EXPECT_TRUE(db.complete);
    EXPECT_TRUE(db.bullets.IsEmpty());

    writeFile(data(kDatabaseFileName), countBytes(5) + databaseRecord(u"one", sampleBullet(), 9.5) + "tail");
    db = OpenDatabase(folders_);
    EXPECT_FALSE(db.complete);
    ASSERT_EQ(db.bullets.GetSize(), 1u);
    EXPECT_EQ(db.bullets[0].nameText(), "one");
}

TEST_F(BulletFilesOnDisk, LegacyCurrentFileIsTakenOverInInches) {
    writeFile(data(kLegacyCurrentFileName), sampleCurrentBytes(279.4));
    const CurrentLoad current = OpenCurrent(folders_);
    EXPECT_EQ(current.source, Source::LegacyFile);
    EXPECT_TRUE(current.saved);
    EXPECT_TRUE(current.oldFileRemoved);
    EXPECT_DOUBLE_EQ(current.bullet.twist, 11.0);
    EXPECT_FALSE(fs::exists(data(kLegacyCurrentFileName)));
    EXPECT_EQ(readFile(data(kCurrentFileName)), sampleCurrentBytes(279.4 / 25.4));
    EXPECT_EQ(OpenCurrent(folders_).source, Source::DataFolder);

    // One of another length is left where it is, unread.
    fs::remove(data(kCurrentFileName));
    writeFile(data(kLegacyCurrentFileName), "short");
    EXPECT_EQ(OpenCurrent(folders_).bullet, BuiltInCurrent());
    EXPECT_EQ(readFile(data(kLegacyCurrentFileName)), "short");
    EXPECT_FALSE(fs::exists(data(kCurrentFileName)));
}

TEST_F(BulletFilesOnDisk, LegacyDatabaseIsTakenOverInInches) {
    CBulletDimensions b = sampleBullet();
    std::string legacy = countBytes(2) + databaseRecord(kSampleName16, b, 254.0);
    b.uniqueNumber = 78;
    legacy += databaseRecord(u"второй", b, 177.8);
    writeFile(data(kLegacyDatabaseFileName), legacy);

    const DatabaseLoad db = OpenDatabase(folders_);
    EXPECT_EQ(db.source, Source::LegacyFile);
    EXPECT_TRUE(db.complete && db.saved && db.oldFileRemoved);
    ASSERT_EQ(db.bullets.GetSize(), 2u);
    EXPECT_DOUBLE_EQ(db.bullets[0].twist, 10.0);
    EXPECT_DOUBLE_EQ(db.bullets[1].twist, 7.0);
    EXPECT_EQ(db.bullets[1].nameText(), "\xE2\xF2\xEE\xF0\xEE\xE9");
    EXPECT_FALSE(fs::exists(data(kLegacyDatabaseFileName)));

    const ParsedDatabase onDisk = ParseDatabase(readFile(data(kDatabaseFileName)));
    ASSERT_EQ(onDisk.bullets.GetSize(), 2u);
    EXPECT_DOUBLE_EQ(onDisk.bullets[0].twist, 10.0);
    EXPECT_EQ(onDisk.bullets[1].uniqueNumber, 78);
}

TEST_F(BulletFilesOnDisk, ShortLegacyDatabaseIsKeptAfterTakingOverWhatItHolds) {
    const std::string legacy = countBytes(3) + databaseRecord(u"a", sampleBullet(), 254.0);
    writeFile(data(kLegacyDatabaseFileName), legacy);
    const DatabaseLoad db = OpenDatabase(folders_);
    EXPECT_EQ(db.source, Source::LegacyFile);
    EXPECT_FALSE(db.complete);
    EXPECT_TRUE(db.saved);
    EXPECT_FALSE(db.oldFileRemoved);
    ASSERT_EQ(db.bullets.GetSize(), 1u);
    EXPECT_EQ(readFile(data(kLegacyDatabaseFileName)), legacy);
    // From now on the data folder's file is read; the older file is left as it was.
    EXPECT_EQ(OpenDatabase(folders_).source, Source::DataFolder);
    EXPECT_EQ(readFile(data(kLegacyDatabaseFileName)), legacy);
}

TEST_F(BulletFilesOnDisk, OlderFilesNeverOverwriteTheCurrentOnes) {
    ASSERT_TRUE(SaveCurrent(folders_.data, sampleBullet()));
    CBulletsArray one;
    one.Add(sampleBullet());
    ASSERT_TRUE(SaveDatabase(folders_.data, one));
    const std::string legacyCurrent = sampleCurrentBytes(254.0);
    const std::string legacyDb = DatabaseToBytes(CBulletsArray::BuiltIn());
    for (const fs::path& folder : {folders_.data, folders_.root}) {
        writeFile(folder / kLegacyCurrentFileName, legacyCurrent);
        writeFile(folder / kLegacyDatabaseFileName, legacyDb);
    }
    writeFile(root(kCurrentFileName), legacyCurrent);
    writeFile(root(kDatabaseFileName), legacyDb);

    EXPECT_EQ(OpenCurrent(folders_).source, Source::DataFolder);
    EXPECT_EQ(OpenCurrent(folders_).bullet.twist, 9.5);
    EXPECT_EQ(OpenDatabase(folders_).bullets.GetSize(), 1u);
    EXPECT_EQ(readFile(data(kLegacyCurrentFileName)), legacyCurrent);
    EXPECT_EQ(readFile(root(kDatabaseFileName)), legacyDb);
}

TEST_F(BulletFilesOnDisk, RootFolderCopiesAreMovedIntoTheDataFolder) {
    writeFile(root(kCurrentFileName), sampleCurrentBytes(9.5));
    CBulletsArray a;
    a.Add(sampleBullet());
    writeFile(root(kDatabaseFileName), DatabaseToBytes(a));

    const CurrentLoad current = OpenCurrent(folders_);
    EXPECT_EQ(current.source, Source::RootCopy);
    EXPECT_TRUE(current.saved && current.oldFileRemoved);
    EXPECT_EQ(current.bullet.twist, 9.5);  // no unit change
    EXPECT_FALSE(fs::exists(root(kCurrentFileName)));
    EXPECT_EQ(readFile(data(kCurrentFileName)), sampleCurrentBytes(9.5));

    const DatabaseLoad db = OpenDatabase(folders_);
    EXPECT_EQ(db.source, Source::RootCopy);
    EXPECT_TRUE(db.saved && db.oldFileRemoved);
    ASSERT_EQ(db.bullets.GetSize(), 1u);
    EXPECT_FALSE(fs::exists(root(kDatabaseFileName)));
    EXPECT_EQ(readFile(data(kDatabaseFileName)), DatabaseToBytes(a));

    // A root-folder copy of the wrong length is not read and not removed.
    fs::remove(data(kCurrentFileName));
    writeFile(root(kCurrentFileName), "x");
    EXPECT_EQ(OpenCurrent(folders_).source, Source::BuiltIn);
    EXPECT_TRUE(fs::exists(root(kCurrentFileName)));
}

TEST_F(BulletFilesOnDisk, RootFolderCopyStaysWhenTheNewFileCannotBeWritten) {
    writeFile(root(kCurrentFileName), sampleCurrentBytes(9.5));
    writeFile(root(kDatabaseFileName), DatabaseToBytes(CBulletsArray::BuiltIn()));
    Folders missing = folders_;
    missing.data = base_ / "no such folder";

    const CurrentLoad current = OpenCurrent(missing);
    EXPECT_EQ(current.source, Source::RootCopy);
    EXPECT_FALSE(current.saved);
    EXPECT_FALSE(current.oldFileRemoved);
    EXPECT_EQ(current.bullet.velocity, 901.5);  // still used for this session
    EXPECT_EQ(readFile(root(kCurrentFileName)), sampleCurrentBytes(9.5));

    const DatabaseLoad db = OpenDatabase(missing);
    EXPECT_FALSE(db.saved);
    EXPECT_FALSE(db.oldFileRemoved);
    EXPECT_EQ(db.bullets.GetSize(), 11u);
    EXPECT_TRUE(fs::exists(root(kDatabaseFileName)));
    EXPECT_FALSE(SaveCurrent(missing.data, current.bullet));
}

TEST_F(BulletFilesOnDisk, RootFolderThatCannotBeReadOrIsTheDataFolder) {
    Folders f = folders_;
    f.root = base_ / "no such root";
    EXPECT_EQ(OpenCurrent(f).source, Source::BuiltIn);
    EXPECT_EQ(OpenDatabase(f).source, Source::BuiltIn);
    f.root.clear();
    EXPECT_EQ(OpenDatabase(f).source, Source::BuiltIn);

    // The data folder at the root itself: its files are simply read, never removed.
    ASSERT_TRUE(SaveCurrent(folders_.data, sampleBullet()));
    f.root = folders_.data;
    EXPECT_EQ(OpenCurrent(f).source, Source::DataFolder);
    EXPECT_TRUE(fs::exists(data(kCurrentFileName)));

#if !defined(_WIN32)
    EXPECT_EQ(CurrentDriveRoot(), fs::path("/"));
#endif
}
