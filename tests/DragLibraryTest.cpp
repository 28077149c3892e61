#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "DragLibrary.h"
#include "FileIO.h"
#include "TextCodec.h"

namespace fs = std::filesystem;

namespace {
// Little-endian values appended byte by byte, independently of the program's writers.
void put(std::string& b, const void* v, size_t n) {
    const auto* p = static_cast<const unsigned char*>(v);
    for (size_t i = 0; i < n; ++i) b.push_back(static_cast<char>(p[i]));  // little-endian host
}
void putI32(std::string& b, int32_t v) { put(b, &v, 4); }
void putF64(std::string& b, double v) { put(b, &v, 8); }
void putText(std::string& b, std::u16string_view text, size_t units) {
    for (size_t i = 0; i < units; ++i) {
        const char16_t u = i < text.size() ? text[i] : 0;
        b.push_back(static_cast<char>(u & 0xFF));
        b.push_back(static_cast<char>(u >> 8));
    }
}

struct Rec {
    std::u16string name;
    int32_t number;
    int32_t kind;
    std::vector<DragElement> points;
    double length = 0, diameter = 0, weight = 0;
};
// One record as the files hold it: the older record (V2) lacks length, diameter and weight.
std::string record(const Rec& r, bool old = false) {
    std::string b;
    putText(b, r.name, 50);
    putText(b, u"Описание", 256);
    putI32(b, r.number);
    putF64(b, 0.25);  // sectional density
    putF64(b, 1.5);   // stability factor
    b.push_back(1);   // flag byte
    putF64(b, 10);    // twist
    putI32(b, r.kind);
    if (!old) {
        putF64(b, r.length);
        putF64(b, r.diameter);
        putF64(b, r.weight);
    }
    putI32(b, static_cast<int32_t>(r.points.size()));
    for (const DragElement& p : r.points) {
        putF64(b, p.cd);  // Cd before Mach
        putF64(b, p.mach);
    }
    return b;
}
std::string withCount(int32_t count, const std::string& records) {
    std::string b;
    putI32(b, count);
    return b + records;
}

const Rec kSpecial{u"Пуля Ёё№", 11, 2, {{0.5, 0.2}, {1.0, 0.4}}, 1.2, 0.308, 168};
const Rec kCopy{u"G7 копия", 12, 1, {}, 0, 0, 0};

DragFunc special(const char* utf8Name, int32_t number) {
    DragFunc f;
    f.setName(utf8ToCp1251(utf8Name));
    f.uniqueNumber = number;
    f.kind = DragFuncKind::Special;
    return f;
}

struct Recorder : LibraryReporter {
    std::vector<std::string> shown;
    void show(std::string_view utf8) override { shown.emplace_back(utf8); }
};

class DragLibraryFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tk_library_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    void write(const fs::path& p, const std::string& bytes) {
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        ASSERT_TRUE(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush());
    }
    std::string read(const fs::path& p) { return readWholeFile(p).value_or("<missing>"); }
    fs::path dir;
};
}  // namespace

TEST_F(DragLibraryFiles, SavesOnlyTheNonStandardEntriesInLibraryOrder) {
    DragLibrary library;
    ASSERT_TRUE(library.saveLibrary(dir / "bc_cdm3.dat"));
    EXPECT_EQ(read(dir / "bc_cdm3.dat"), std::string(4, '\0'));

    library.addLibraryBytes(withCount(2, record(kSpecial) + record(kCopy)));
    library.insertAt(11, library.at(3));  // a standard entry between them is not written
    ASSERT_TRUE(library.saveLibrary(dir / "bc_cdm3.dat"));
    EXPECT_EQ(read(dir / "bc_cdm3.dat"), withCount(2, record(kSpecial) + record(kCopy)));
    DragLibrary back;
    EXPECT_EQ(back.loadLibrary(dir / "bc_cdm3.dat"), LibraryRead::Complete);
    ASSERT_EQ(back.size(), 12u);
    EXPECT_TRUE(back.at(10) == library.at(10) && back.at(11) == library.at(12));
}

TEST_F(DragLibraryFiles, ReadsRecordsAsStoredAndWritesThemBack) {
    DragLibrary library;
    Rec unknownKind{u"X", 40, 7, {{2.0, 0.3}}};
    ASSERT_EQ(library.addLibraryBytes(withCount(3, record(kSpecial) + record(kCopy) + record(unknownKind))),
              LibraryRead::Complete);
    ASSERT_EQ(library.size(), 13u);
    const DragFunc& f = library.at(10);
    EXPECT_EQ(cp1251ToUtf8(f.name), "Пуля Ёё№");
    EXPECT_EQ(f.uniqueNumber, 11);
    EXPECT_EQ(f.kind, DragFuncKind::Special);
    ASSERT_EQ(f.points.size(), 2u);
    EXPECT_EQ(f.points[1].mach, 1.0);  // Cd comes first in the file
    EXPECT_EQ(f.bulletWeight, 168);
    EXPECT_TRUE(library.at(11).points.empty());
    EXPECT_EQ(static_cast<int32_t>(library.at(12).kind), 7);  // kept, and written back as it was
    EXPECT_EQ(library.libraryBytes(), withCount(3, record(kSpecial) + record(kCopy) + record(unknownKind)));
}

TEST_F(DragLibraryFiles, StartMigratesTheOldLibraryOnceItIsSafelyWritten) {
    const fs::path oldPath = dir / "bc_cdm2.dat", newPath = dir / "bc_cdm3.dat";
    const std::string oldBytes = withCount(2, record(kSpecial, true) + record(kCopy, true));
    write(oldPath, oldBytes);
    write(newPath, withCount(1, record({u"Прежняя", 30, 2, {}})));  // replaced, not read

    DragLibrary library;
    EXPECT_EQ(library.loadAtStart(oldPath, newPath), StartLoad::Migrated);
    EXPECT_FALSE(fs::exists(oldPath));
    ASSERT_EQ(library.size(), 12u);
    for (size_t i : {10u, 11u}) {
        EXPECT_EQ(library.at(i).bulletLength, 0);
        EXPECT_EQ(library.at(i).bulletDiameter, 0);
        EXPECT_EQ(library.at(i).bulletWeight, 0);
    }
    EXPECT_EQ(library.at(10).uniqueNumber, 11);
    EXPECT_EQ(library.at(11).kind, DragFuncKind::StandardCopy);
    EXPECT_EQ(library.at(10).points.size(), 2u);
    Rec migrated = kSpecial;
    migrated.length = migrated.diameter = migrated.weight = 0;
    EXPECT_EQ(read(newPath), withCount(2, record(migrated) + record(kCopy)));

    // When the new library cannot be written the old file stays, and goes with the first save that
    // gets through.
    write(oldPath, oldBytes);
    const fs::path unwritable = dir / "missing" / "bc_cdm3.dat";
    DragLibrary again;
    EXPECT_EQ(again.loadAtStart(oldPath, unwritable), StartLoad::MigrationPending);
    EXPECT_EQ(read(oldPath), oldBytes);
    EXPECT_EQ(again.size(), 12u);
    fs::create_directories(unwritable.parent_path());
    ASSERT_TRUE(again.saveLibrary(unwritable));
    EXPECT_FALSE(fs::exists(oldPath));
}

TEST_F(DragLibraryFiles, MissingEmptyShortAndLyingFiles) {
    DragLibrary missing;
    EXPECT_EQ(missing.loadAtStart(dir / "bc_cdm2.dat", dir / "bc_cdm3.dat"), StartLoad::SampleAdded);
    ASSERT_EQ(missing.size(), 11u);
    EXPECT_STREQ(missing.at(10).name, "Sierra MatchKing, 168gr");
    EXPECT_EQ(missing.at(10).uniqueNumber, 11);

    write(dir / "bc_cdm3.dat", "");
    DragLibrary empty;
    EXPECT_EQ(empty.loadAtStart(dir / "bc_cdm2.dat", dir / "bc_cdm3.dat"), StartLoad::Library);
    EXPECT_EQ(empty.size(), 10u);

    // A count of two thousand million in ten bytes; a third record cut short; a short count.
    std::string lying;
    putI32(lying, 2000000000);
    lying.append(6, '\x01');
    const std::string cut = withCount(3, record(kSpecial) + record(kCopy) + record(kCopy).substr(0, 600));
    for (bool old : {false, true}) {
        DragLibrary library;
        auto add = [&](const std::string& b) {
            return old ? library.addOldLibraryBytes(b) : library.addLibraryBytes(b);
        };
        EXPECT_EQ(add(lying), LibraryRead::Truncated);
        EXPECT_EQ(add("\x01\x00"), LibraryRead::Truncated);
        EXPECT_EQ(add(withCount(-3, "")), LibraryRead::Complete);
        EXPECT_EQ(library.size(), 10u);
        const std::string cutOld = withCount(3, record(kSpecial, true) + record(kCopy, true).substr(0, 600));
        EXPECT_EQ(add(old ? cutOld : cut), LibraryRead::Truncated);
        EXPECT_EQ(library.size(), old ? 11u : 12u);  // the whole records before the cut are kept
    }
}

TEST_F(DragLibraryFiles, AFailedWriteLeavesTheOldFile) {
    // A name so long that the temporary file beside it cannot be created (also for root).
    const fs::path path = dir / std::string(252, 'n');
    write(path, "old bytes");
    DragLibrary library;
    library.add(special("A", 11));
    EXPECT_FALSE(library.saveLibrary(path));
    EXPECT_FALSE(DragLibrary::writeSingleRecord(library.at(10), path));
    EXPECT_EQ(read(path), "old bytes");
    EXPECT_FALSE(library.saveLibrary(dir / "missing" / "bc_cdm3.dat"));
}

// What the library could not take in whole is copied aside before a save overwrites it.
TEST_F(DragLibraryFiles, WhatCouldNotBeReadIsKeptBeforeItIsOverwritten) {
    const fs::path library = dir / "bc_cdm3.dat";
    const fs::path backup = dir / "bc_cdm3.dat.bak";

    // A stray empty old library makes a migration that would replace the user's library unread.
    const std::string users = withCount(1, record(kSpecial));
    write(library, users);
    write(dir / "bc_cdm2.dat", "");
    DragLibrary migrated;
    EXPECT_EQ(migrated.loadAtStart(dir / "bc_cdm2.dat", library), StartLoad::Migrated);
    EXPECT_EQ(read(library), std::string(4, '\0'));
    EXPECT_EQ(read(backup), users);
    EXPECT_EQ(migrated.kept(), LibraryKept::ReplacedByMigration);  // the program tells the user
    EXPECT_EQ(migrated.keptFile(), library);

    // A library cut short: saved whole again, the original kept once.
    const std::string cut = withCount(2, record(kSpecial) + record(kCopy)).substr(0, 700);
    write(library, cut);
    fs::remove(backup);
    DragLibrary shortened;
    EXPECT_EQ(shortened.loadLibrary(library), LibraryRead::Truncated);
    EXPECT_EQ(shortened.kept(), LibraryKept::CutShort);
    ASSERT_TRUE(shortened.saveLibrary(library));
    EXPECT_EQ(read(backup), cut);
    write(backup, "older");
    ASSERT_TRUE(shortened.saveLibrary(library));
    EXPECT_EQ(read(backup), "older");  // only before the first overwrite

    // A library read whole leaves no copy.
    fs::remove(backup);
    DragLibrary whole;
    EXPECT_EQ(whole.loadLibrary(library), LibraryRead::Complete);
    EXPECT_EQ(whole.kept(), LibraryKept::None);
    ASSERT_TRUE(whole.saveLibrary(library));
    EXPECT_FALSE(fs::exists(backup));
}

TEST_F(DragLibraryFiles, SingleRecordFiles) {
    DragLibrary library;
    library.addLibraryBytes(withCount(1, record(kSpecial)));
    ASSERT_TRUE(DragLibrary::writeSingleRecord(library.at(10), dir / "drag_function.dat"));
    EXPECT_EQ(read(dir / "drag_function.dat"), record(kSpecial));  // no count
    const auto back = DragLibrary::readSingleRecordFile(dir / "drag_function.dat");
    ASSERT_TRUE(back);
    EXPECT_TRUE(*back == library.at(10));

    const auto old = DragLibrary::readSingleOldRecord(record(kCopy, true));
    ASSERT_TRUE(old);
    EXPECT_EQ(cp1251ToUtf8(old->name), "G7 копия");
    EXPECT_EQ(old->uniqueNumber, 12);
    EXPECT_FALSE(DragLibrary::readSingleOldRecord(record(kSpecial, true).substr(0, 660)));
    EXPECT_FALSE(DragLibrary::readSingleRecord(""));
    EXPECT_FALSE(DragLibrary::readSingleRecordFile(dir / "none.dat"));
}

TEST(DragLibrary, StandardSetNumbersAndLookups) {
    DragLibrary library;
    ASSERT_EQ(library.size(), 10u);
    EXPECT_STREQ(library.at(0).name, "G1");
    EXPECT_EQ(library.at(0).uniqueNumber, 1);
    EXPECT_EQ(library.nextUniqueNumber(), 11);
    library.add(special("Тест Ёж", 11));
    library.add(special("G7", 12));
    library.add(special("G1", 13));  // a special function named like a standard one
    EXPECT_EQ(library.nextUniqueNumber(), 14);

    EXPECT_EQ(library.findByNameAndNumber("G7", 12).kind, DragFuncKind::Special);
    EXPECT_EQ(library.findByNameAndNumber("G7", 5).kind, DragFuncKind::Standard);
    EXPECT_EQ(library.findByNameAndNumber("G7", 3).uniqueNumber, 1);     // another number: G1
    EXPECT_EQ(library.findByNameAndNumber("Пропала", 13).uniqueNumber, 13);  // the "G1" with that number
    EXPECT_EQ(library.findStandardByName("G7").uniqueNumber, 5);
    EXPECT_EQ(library.findStandardByName(utf8ToCp1251("Тест Ёж")).uniqueNumber, 1);

    EXPECT_EQ(library.findNumberByNameIgnoringCase(utf8ToCp1251("тЕСТ ёЖ")), 11);
    EXPECT_EQ(library.findNumberByNameIgnoringCase("sierra"), 0);
    EXPECT_EQ(library.findNumberByNameIgnoringCase("ra4"), 10);
    EXPECT_EQ(foldCaseCp1251('\xB9'), '\xB9');  // № has no case
    EXPECT_TRUE(equalIgnoringCaseCp1251(utf8ToCp1251("ЇІЄЎ"), utf8ToCp1251("їієў")));

    DragLibrary big;
    big.add(special("Max", 2147483647));
    EXPECT_EQ(big.nextUniqueNumber(), 11);  // no overflow: the smallest free number above 10
}

TEST(DragLibrary, DeleteReplaceAndIndexOperations) {
    DragLibrary library;
    Recorder recorder;
    EXPECT_EQ(library.deleteByNameAndNumber("G7", 5, &recorder), DeleteResult::Refused);
    library.add(special("g1", 11));
    EXPECT_EQ(library.deleteByNameAndNumber("g1", 11, &recorder), DeleteResult::Refused);
    EXPECT_EQ(library.deleteByNameAndNumber("Ra4", 10), DeleteResult::Refused);  // no reporter: no message
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0], "Стандартные функции G1, G7 и RA4\nудалению не подлежат");
    EXPECT_EQ(library.size(), 11u);

    EXPECT_EQ(library.deleteByNameAndNumber("G2", 3), DeleteResult::NotFound);  // G2 is number 2
    EXPECT_EQ(library.deleteByNameAndNumber("G2", 2), DeleteResult::Deleted);
    EXPECT_EQ(library.size(), 10u);
    EXPECT_STREQ(DragLibrary().at(2).name, "G2");  // back at the next start

    library.add(special("Новая", 12));
    EXPECT_EQ(library.deleteByNameAndNumber(utf8ToCp1251("Новая"), 12), DeleteResult::Deleted);
    EXPECT_EQ(library.nextUniqueNumber(), 12);  // the highest number may be handed out again

    EXPECT_EQ(library.replaceByNameAndNumber("GS", 9, special("Моя GS", 12)), 1u);
    EXPECT_EQ(library.at(7).uniqueNumber, 12);  // at the replaced entry's index
    EXPECT_EQ(library.replaceByNameAndNumber("GS", 9, special("X", 13)), 0u);

    EXPECT_FALSE(library.removeAt(10));
    EXPECT_FALSE(library.insertAt(11, special("X", 13)));
    EXPECT_TRUE(library.insertAt(10, special("X", 13)));
    while (!library.empty()) library.removeAt(0);
    EXPECT_STREQ(library.findByNameAndNumber("X", 13).name, "G1");  // an emptied library still answers
}
