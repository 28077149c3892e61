#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "ByteWriter.h"
#include "DragLibrary.h"
#include "ExchangeFiles.h"
#include "ExchangeImportExport.h"
#include "FileIO.h"
#include "LibraryRecord.h"
#include "TextCodec.h"

namespace fs = std::filesystem;

namespace {
std::string nameOf(const DragFunc& f) { return std::string(f.name, strnlen(f.name, sizeof f.name)); }
std::string descriptionOf(const DragFunc& f) {
    return std::string(f.description, strnlen(f.description, sizeof f.description));
}

DragFunc knownFunction() {
    DragFunc f;
    f.setName("Sierra MatchKing, 168gr");
    f.setDescription(utf8ToCp1251("Пуля 7,62 Ёё№"));
    f.uniqueNumber = 23;
    f.sectionalDensity = 0.253;
    f.stabilityFactor = 1.5;
    f.twist = 10;
    f.bulletLength = 1.215;
    f.bulletDiameter = 0.308;
    f.bulletWeight = 168;
    f.kind = DragFuncKind::Special;
    f.points = {{0.5, 0.2}, {1.0, 0.4}, {2.25, 0.3125}};
    return f;
}
}  // namespace

TEST(ExchangeSnr, KnownFunctionBytes) {
    const std::string expected =
        "CFM, Sierra MatchKing 168gr, 0.0, 0.0, 0.03086, Trajekton, 0.253, 1.500, 0.308, 168.0\r\n"
        "Пуля 7,62 Ёё№\r\n"
        "0.200\t0.500\r\n"
        "0.400\t1.000\r\n"
        "0.312\t2.250\r\n";
    EXPECT_EQ(formatSnr(knownFunction()), expected);

    DragFunc empty;
    empty.setName("");
    empty.setDescription("");
    EXPECT_EQ(formatSnr(empty), "CFM, , 0.0, 0.0, 0.00000, Trajekton, 0.000, 0.000, 0.000, 0.0\r\n\r\n");
}

TEST(ExchangeSnr, RoundTripKeepsWhatTheFormatCarries) {
    DragFunc f;
    f.setName(utf8ToCp1251("Лапуа Scenar, №3 Ёлка ёж"));
    f.setDescription(utf8ToCp1251("Ёмкое описание: ёлочка №5, вес 10,9 г"));
    f.uniqueNumber = 40;
    f.sectionalDensity = 0.25349;
    f.stabilityFactor = 1.4567;
    f.twist = 12;
    f.bulletLength = 1.23456;
    f.bulletDiameter = 0.30849;
    f.bulletWeight = 167.96;
    f.kind = DragFuncKind::StandardCopy;
    f.points = {{0.1234, 0.56789}, {3.0, 0.25}};

    const DragFunc g = parseSnr(formatSnr(f));
    EXPECT_EQ(nameOf(g), utf8ToCp1251("Лапуа Scenar №3 Ёлка ёж"));  // the comma is gone
    EXPECT_EQ(descriptionOf(g), descriptionOf(f));
    EXPECT_DOUBLE_EQ(g.sectionalDensity, 0.253);
    EXPECT_DOUBLE_EQ(g.stabilityFactor, 1.457);
    EXPECT_DOUBLE_EQ(g.bulletDiameter, 0.308);
    EXPECT_DOUBLE_EQ(g.bulletWeight, 168.0);
    EXPECT_DOUBLE_EQ(g.bulletLength, 1.23);
    EXPECT_EQ(g.twist, 0.0);
    EXPECT_EQ(g.uniqueNumber, 0);
    EXPECT_EQ(g.kind, DragFuncKind::Special);
    ASSERT_EQ(g.points.size(), 2u);
    EXPECT_DOUBLE_EQ(g.points[0].mach, 0.123);
    EXPECT_DOUBLE_EQ(g.points[0].cd, 0.568);
    EXPECT_DOUBLE_EQ(g.points[1].mach, 3.0);
    EXPECT_DOUBLE_EQ(g.points[1].cd, 0.25);
}

// Every byte of the program's texts survives: Ё, ё and № through their Cyrillic code points, the
// other bytes of 0x80-0xBF as the code points of the same value.
TEST(ExchangeSnr, EveryTextByteRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != ',' && b != '\r' && b != '\n') all += static_cast<char>(b);
    EXPECT_EQ(snrTextFromUtf8(snrTextToUtf8(all)), all);

    EXPECT_EQ(snrTextToUtf8("\xA8\xB8\xB9"), "Ёё№");
    EXPECT_EQ(snrTextToUtf8("\x80\xB0\xBF"), "\xC2\x80\xC2\xB0\xC2\xBF");
    EXPECT_EQ(snrTextToUtf8("\xC0\xFF"), "Ая");

    DragFunc f;
    f.setName("A\x80\xA8\xB9 z");
    f.setDescription(std::string(255, '\xB9'));  // 765 bytes of UTF-8, written whole
    const std::string file = formatSnr(f);
    std::string numbers;
    for (int i = 0; i < 255; ++i) numbers += "№";
    EXPECT_NE(file.find("\r\n" + numbers + "\r\n"), std::string::npos);
    const DragFunc g = parseSnr(file);
    EXPECT_EQ(nameOf(g), nameOf(f));
    EXPECT_EQ(descriptionOf(g), descriptionOf(f));
}

TEST(ExchangeSnr, ForeignTextReadsAsWellAsItCan) {
    EXPECT_EQ(snrTextFromUtf8("€ 😀 x"), "? ? x");       // no byte for them in the program's texts
    EXPECT_EQ(snrTextFromUtf8("\xC0\xE0 \xB9"), "\xC0\xE0 \xB9");  // not UTF-8: CP1251 as it is
    EXPECT_EQ(snrTextFromUtf8("\xC0\xAC"), "\xC0\xAC");   // an overlong comma is no comma
    EXPECT_EQ(snrTextFromUtf8("ab\0cd"), "ab");
    EXPECT_EQ(snrTextFromUtf8(std::string_view("ab\0cd", 5)), "ab");
}

TEST(ExchangeSnr, LongTextIsCutOnWholeCharacters) {
    std::string name;
    for (int i = 0; i < 60; ++i) name += "Ж";
    std::string description;
    for (int i = 0; i < 300; ++i) description += "№";
    const DragFunc f = parseSnr("CFM, " + name + ", 0.0\r\n" + description + "\r\n");
    EXPECT_EQ(nameOf(f), std::string(49, '\xC6'));
    EXPECT_EQ(descriptionOf(f), std::string(255, '\xB9'));

    // A cut that ends in a blank leaves the name as the next reading would see it.
    const DragFunc g = parseSnr("CFM, " + std::string(48, 'a') + "   b\r\n");
    EXPECT_EQ(nameOf(g), std::string(48, 'a'));
    EXPECT_EQ(nameOf(parseSnr(formatSnr(g))), nameOf(g));
}

TEST(ExchangeSnr, HeaderFieldsAndPointLines) {
    // Nine fields: no weight; an empty tenth field: no weight either.
    DragFunc f = parseSnr("CFM, X, 0.0, 0.0, 0.0254, Trajekton, 0.25, 1.5, 0.308\r\n\r\n");
    EXPECT_EQ(f.bulletWeight, 0.0);
    EXPECT_DOUBLE_EQ(f.bulletLength, 1.0);
    EXPECT_DOUBLE_EQ(f.bulletDiameter, 0.308);
    f = parseSnr("CFM, X, 0.0, 0.0, 0.0254, Trajekton, 0.25, 1.5, 0.308, \r\n");
    EXPECT_EQ(f.bulletWeight, 0.0);
    f = parseSnr("CFM,X,0,0,0,T,0,0,0,155.5,extra,fields\n");
    EXPECT_DOUBLE_EQ(f.bulletWeight, 155.5);

    // Point lines: trimmed, skipped when empty or without a tab, Cd before Mach; other lines kept.
    f = parseSnr("CFM, X\r\nd\r\n 0.3\t0.5 \r\n0.7\r\n\r\n   \r\n\t\r\n0.4\t\t1.0\t9\r\nabc\tdef\r\n0.2\t3");
    ASSERT_EQ(f.points.size(), 4u);
    EXPECT_DOUBLE_EQ(f.points[0].cd, 0.3);
    EXPECT_DOUBLE_EQ(f.points[0].mach, 0.5);
    EXPECT_DOUBLE_EQ(f.points[1].cd, 0.4);
    EXPECT_DOUBLE_EQ(f.points[1].mach, 1.0);
    EXPECT_EQ(f.points[2].cd, 0.0);  // text that is no number reads as 0
    EXPECT_EQ(f.points[2].mach, 0.0);
    EXPECT_DOUBLE_EQ(f.points[3].cd, 0.2);  // the last line needs no line end
    EXPECT_DOUBLE_EQ(f.points[3].mach, 3.0);

    // An empty file: an empty name, no points.
    f = parseSnr("");
    EXPECT_EQ(nameOf(f), "");
    EXPECT_EQ(descriptionOf(f), "");
    EXPECT_TRUE(f.points.empty());
    EXPECT_EQ(f.kind, DragFuncKind::Special);
}

TEST(ExchangeSnr, LineBreaksInsideTextAreWrittenAsBlanks) {
    DragFunc f;
    f.setName("two\r\nlines");
    f.setDescription("first\r\nsecond\tline");
    f.points = {{1.0, 0.5}};
    const DragFunc g = parseSnr(formatSnr(f));
    EXPECT_EQ(nameOf(g), "two  lines");
    EXPECT_EQ(descriptionOf(g), "first  second\tline");
    EXPECT_EQ(g.points.size(), 1u);
}

TEST(ExchangeHeader, SplitsAtCommasAndTrims) {
    auto fields = splitHeaderFields(" a ,\tb\t, ,c\r");
    ASSERT_EQ(fields.size(), 4u);
    EXPECT_EQ(fields[0], "a");
    EXPECT_EQ(fields[1], "b");
    EXPECT_EQ(fields[2], "");
    EXPECT_EQ(fields[3], "c");
    EXPECT_EQ(splitHeaderFields("").size(), 1u);
    EXPECT_EQ(splitHeaderFields("a,").size(), 2u);

    std::string many;
    for (int i = 1; i <= 150; ++i) many += std::to_string(i) + ",";
    fields = splitHeaderFields(many);
    ASSERT_EQ(fields.size(), kMaxHeaderFields);
    EXPECT_EQ(fields.back(), "99");
}

TEST(ExchangeNumbers, LenientReading) {
    EXPECT_EQ(readLenientNumber("1.5"), 1.5);
    EXPECT_EQ(readLenientNumber("  \t1.5abc"), 1.5);
    EXPECT_EQ(readLenientNumber("-.5"), -0.5);
    EXPECT_EQ(readLenientNumber("+2."), 2.0);
    EXPECT_EQ(readLenientNumber("1e3x"), 1000.0);
    EXPECT_EQ(readLenientNumber("2.5E-1"), 0.25);
    EXPECT_EQ(readLenientNumber("1e"), 1.0);     // no exponent digits: the number before it
    EXPECT_EQ(readLenientNumber("1e+"), 1.0);
    EXPECT_EQ(readLenientNumber("1.2.3"), 1.2);
    EXPECT_EQ(readLenientNumber("1,5"), 1.0);    // a comma is never a decimal separator
    EXPECT_EQ(readLenientNumber("0x10"), 0.0);
    EXPECT_EQ(readLenientNumber(""), 0.0);
    EXPECT_EQ(readLenientNumber("abc"), 0.0);
    EXPECT_EQ(readLenientNumber("."), 0.0);
    EXPECT_EQ(readLenientNumber("-"), 0.0);
    EXPECT_EQ(readLenientNumber("inf"), 0.0);
    EXPECT_EQ(readLenientNumber("nan"), 0.0);
    EXPECT_EQ(readLenientNumber("1e999"), 0.0);  // too large for a double
    EXPECT_EQ(readLenientNumber("- 1"), 0.0);
    EXPECT_EQ(readLenientNumber(std::string(100000, '0') + "7.25"), 7.25);
}

TEST(ExchangeDrg, HeaderGivesNameSectionalDensityAndLength) {
    const std::string header = "Lapua, Scenar 167gr GB422 ,0.01089, 0.00782,0.0312 ,x";
    const DragFunc f = parseDrg(header + "\r\n0.230\t0.50\r\n\r\n  0.400\t1.00  \r\n");
    EXPECT_EQ(descriptionOf(f), header);
    EXPECT_EQ(nameOf(f), "Scenar 167gr GB422");
    // (10.89 g × 15.4 / 7000) / (7.82 mm / 25.4)² = 0.25276 (0.2533 with 15.432 grains per gram).
    EXPECT_DOUBLE_EQ(f.sectionalDensity, 0.2528);
    EXPECT_DOUBLE_EQ(f.bulletLength, 1.23);  // 31.2 mm
    EXPECT_EQ(f.stabilityFactor, 0.0);
    EXPECT_EQ(f.bulletDiameter, 0.0);
    EXPECT_EQ(f.bulletWeight, 0.0);
    EXPECT_EQ(f.twist, 0.0);
    EXPECT_EQ(f.kind, DragFuncKind::Special);
    ASSERT_EQ(f.points.size(), 2u);
    EXPECT_DOUBLE_EQ(f.points[1].cd, 0.4);
    EXPECT_DOUBLE_EQ(f.points[1].mach, 1.0);
}

TEST(ExchangeDrg, LineWithoutTabIsAPointWithCdZero) {
    const DragFunc f = parseDrg("h,n,0.01,0.008,0.03\n0.7\n0.3\t0.9\n");
    ASSERT_EQ(f.points.size(), 2u);
    EXPECT_EQ(f.points[0].cd, 0.0);
    EXPECT_DOUBLE_EQ(f.points[0].mach, 0.7);
    // The same line in a ".snr" file is no point.
    EXPECT_EQ(parseSnr("h,n\nd\n0.7\n0.3\t0.9\n").points.size(), 1u);
}

TEST(ExchangeDrg, NumbersTheFieldsCannotHoldReadAsZero) {
    DragFunc f = parseDrg("");
    EXPECT_EQ(nameOf(f), "");
    EXPECT_EQ(f.sectionalDensity, 0.0);
    EXPECT_TRUE(f.points.empty());
    f = parseDrg("a,b,0.01,0,0.03\n");
    EXPECT_EQ(f.sectionalDensity, 0.0);
    f = parseDrg("a,b,0,0,1e306\n");
    EXPECT_EQ(f.bulletLength, 0.0);  // past what a double holds in inches × 100
}

TEST(ExchangeBinary, ProRecord) {
    EXPECT_FALSE(parsePro("").has_value());

    DragFuncOld old;
    old.uniqueNumber = 5;
    std::strcpy(old.name, "Old");
    old.sectionalDensity = 0.3;
    old.points = {{0.5, 0.2}, {1.0, 0.4}};
    ByteWriter w;
    writeLibraryRecordV2(w, old);
    const std::string record = w.take();

    auto read = parsePro(record + "trailing bytes");
    ASSERT_TRUE(read.has_value());
    EXPECT_STREQ(read->name, "Old");
    EXPECT_EQ(read->points.size(), 2u);
    EXPECT_FALSE(parsePro(record.substr(0, record.size() - 1)).has_value());
    EXPECT_FALSE(parsePro(record.substr(0, 100)).has_value());
}

// Garbage of every shape reads without harm, bounded by its size.
TEST(ExchangeRobustness, GarbageAndHugeLines) {
    std::string bytes(1 << 20, ',');
    EXPECT_EQ(splitHeaderFields(bytes).size(), kMaxHeaderFields);
    EXPECT_EQ(parseSnr(bytes).points.size(), 0u);
    EXPECT_EQ(parseDrg(bytes).points.size(), 0u);

    bytes.assign(1 << 20, '\xFF');
    EXPECT_EQ(nameOf(parseSnr("x," + bytes)).size(), 49u);
    EXPECT_EQ(descriptionOf(parseSnr("x\n" + bytes)).size(), 255u);
    EXPECT_EQ(descriptionOf(parseDrg(bytes)).size(), 255u);

    std::string lines;
    for (int i = 0; i < 10000; ++i) lines += "\t\n";
    EXPECT_EQ(parseSnr("h\nd\n" + lines).points.size(), 0u);
    EXPECT_EQ(parseDrg("h\n" + lines).points.size(), 0u);

    std::string noise;
    unsigned state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        noise += static_cast<char>(state >> 16);
    }
    const DragFunc f = parseSnr(noise);
    const DragFunc g = parseDrg(noise);
    EXPECT_LE(f.points.size(), noise.size());
    EXPECT_LE(g.points.size(), noise.size());
    EXPECT_TRUE(std::isfinite(g.sectionalDensity));
    EXPECT_FALSE(parsePro(noise.substr(0, 600)).has_value());
}

namespace {
struct Recorder : ExchangeReporter {
    std::vector<std::string> shown;
    std::vector<std::string> asked;
    bool answer = false;
    void show(std::string_view utf8) override { shown.emplace_back(utf8); }
    bool askYesNo(std::string_view utf8) override {
        asked.emplace_back(utf8);
        return answer;
    }
};

DragFuncOld proRecord(std::string_view utf8Name, DragFuncKind kind) {
    DragFuncOld old;
    const std::string name = utf8ToCp1251(utf8Name);
    std::memset(old.name, 0, sizeof old.name);
    std::memcpy(old.name, name.data(), std::min(name.size(), sizeof old.name - 1));
    old.uniqueNumber = 3;
    old.sectionalDensity = 0.28;
    old.stabilityFactor = 1.7;
    old.twist = 11;
    old.kind = kind;
    old.points = {{0.9, 0.31}, {1.2, 0.42}};
    return old;
}

std::string proBytes(const DragFuncOld& old) {
    ByteWriter w;
    writeLibraryRecordV2(w, old);
    return w.take();
}

class ExchangeFilesOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tk_exchange_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path write(const std::string& name, const std::string& bytes) {
        const fs::path p = dir / name;
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    fs::path dir;
    Recorder reporter;
};
}  // namespace

TEST_F(ExchangeFilesOnDisk, SnrExportThenImport) {
    const fs::path path = dir / "Sierra_MatchKing_168gr.snr";
    ASSERT_TRUE(exportSnr(knownFunction(), path, reporter));
    EXPECT_TRUE(reporter.shown.empty());
    EXPECT_EQ(readWholeFile(path).value_or(""), formatSnr(knownFunction()));

    DragLibrary library;
    library.add(knownFunction());  // number 23
    ASSERT_TRUE(importSnr(library, path));
    ASSERT_EQ(library.size(), 12u);
    const DragFunc& f = library.at(11);
    EXPECT_EQ(nameOf(f), "Sierra MatchKing 168gr");
    EXPECT_EQ(f.uniqueNumber, 24);
    EXPECT_EQ(f.kind, DragFuncKind::Special);
    EXPECT_EQ(f.twist, 0.0);
    EXPECT_EQ(f.points.size(), 3u);
}

TEST_F(ExchangeFilesOnDisk, SnrExportThatCannotWriteLeavesNoFile) {
    const fs::path path = dir / "missing folder" / "f.snr";
    EXPECT_FALSE(exportSnr(knownFunction(), path, reporter));
    EXPECT_EQ(reporter.shown, std::vector<std::string>{"Не могу записать файл"});
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(ExchangeFilesOnDisk, ImportCountsTheFilesThatCouldBeRead) {
    const std::vector<fs::path> paths = {write("a.snr", formatSnr(knownFunction())), dir / "gone.snr",
                                         write("b.snr", "")};
    DragLibrary library;
    EXPECT_EQ(importFiles(library, ImportKind::Snr, paths, reporter), 2);
    EXPECT_EQ(reporter.shown, std::vector<std::string>{"Импортировано функций: 2"});
    ASSERT_EQ(library.size(), 12u);
    EXPECT_EQ(library.at(10).uniqueNumber, 11);
    EXPECT_EQ(library.at(11).uniqueNumber, 12);
    EXPECT_EQ(nameOf(library.at(11)), "");  // an empty file: a function with an empty name

    EXPECT_EQ(importFiles(library, ImportKind::Drg, std::vector<fs::path>{dir}, reporter), 0);
    EXPECT_EQ(reporter.shown.back(), "Импортировано функций: 0");
}

TEST_F(ExchangeFilesOnDisk, DrgImport) {
    DragLibrary library;
    ASSERT_TRUE(importDrg(library, write("scenar.drg", "Lapua,Scenar,0.01089,0.00782,0.0312\r\n0.23\t0.5\r\n")));
    ASSERT_EQ(library.size(), 11u);
    EXPECT_EQ(nameOf(library.at(10)), "Scenar");
    EXPECT_EQ(library.at(10).uniqueNumber, 11);
    EXPECT_EQ(library.at(10).kind, DragFuncKind::Special);
    EXPECT_FALSE(importDrg(library, dir / "gone.drg"));
}

TEST_F(ExchangeFilesOnDisk, ProEmptyCountsButAddsNothing) {
    DragLibrary library;
    const std::vector<fs::path> paths = {write("empty.pro", ""), write("short.pro", std::string(600, 'x'))};
    EXPECT_EQ(importFiles(library, ImportKind::Pro, paths, reporter), 2);
    EXPECT_EQ(reporter.shown, std::vector<std::string>{"Импортировано функций 2"});
    EXPECT_EQ(library.size(), 10u);
}

TEST_F(ExchangeFilesOnDisk, ProNewNameIsAddedAsACopyOfItsKind) {
    DragLibrary library;
    ASSERT_TRUE(importPro(library, write("g7.pro", proBytes(proRecord("Моя G7", DragFuncKind::Standard))), reporter));
    EXPECT_TRUE(reporter.asked.empty());
    ASSERT_EQ(library.size(), 11u);
    const DragFunc& f = library.at(10);
    EXPECT_EQ(nameOf(f), utf8ToCp1251("Моя G7"));
    EXPECT_EQ(f.uniqueNumber, 11);  // not the stored 3
    EXPECT_EQ(f.kind, DragFuncKind::StandardCopy);
    EXPECT_EQ(f.twist, 11.0);
    EXPECT_EQ(f.bulletWeight, 0.0);
    EXPECT_EQ(f.points.size(), 2u);
}

TEST_F(ExchangeFilesOnDisk, ProSameNameInAnotherCase) {
    DragFunc mine = knownFunction();
    mine.setName(utf8ToCp1251("Пуля Ёж"));
    DragLibrary library;
    library.add(mine);  // entry 10, number 23
    const fs::path path = write("p.pro", proBytes(proRecord("пуля ёЖ", DragFuncKind::Special)));

    // Yes: replaced in its place, the imported function with its new number and its own name.
    DragLibrary yes = library;
    reporter.answer = true;
    ASSERT_TRUE(importPro(yes, path, reporter));
    EXPECT_EQ(reporter.asked, std::vector<std::string>{"С таким именем уже есть.\nПерезаписать?"});
    EXPECT_TRUE(reporter.shown.empty());
    ASSERT_EQ(yes.size(), 11u);
    EXPECT_EQ(nameOf(yes.at(10)), utf8ToCp1251("пуля ёЖ"));
    EXPECT_EQ(yes.at(10).uniqueNumber, 24);
    EXPECT_DOUBLE_EQ(yes.at(10).sectionalDensity, 0.28);

    // No: added after it with " copy".
    DragLibrary no = library;
    reporter.answer = false;
    ASSERT_TRUE(importPro(no, path, reporter));
    EXPECT_EQ(reporter.shown, std::vector<std::string>{"Записываю с прибавкой copy"});
    ASSERT_EQ(no.size(), 12u);
    EXPECT_EQ(nameOf(no.at(10)), utf8ToCp1251("Пуля Ёж"));
    EXPECT_EQ(nameOf(no.at(11)), utf8ToCp1251("пуля ёЖ copy"));
    EXPECT_EQ(no.at(11).uniqueNumber, 24);
}

TEST_F(ExchangeFilesOnDisk, ProCopyOfALongNameKeepsTheSuffix) {
    DragLibrary library;
    DragFunc mine;
    mine.setName(std::string(49, 'a'));
    mine.uniqueNumber = 11;
    library.add(mine);
    addProFunction(library, proRecord(std::string(49, 'A'), DragFuncKind::Special), reporter);
    ASSERT_EQ(library.size(), 12u);
    EXPECT_EQ(nameOf(library.at(11)), std::string(44, 'A') + " copy");
}

TEST_F(ExchangeFilesOnDisk, ReadsAnyKindByExtension) {
    std::string error;
    auto f = readDragFunctionFile(write("a.SNR", formatSnr(knownFunction())), error);
    ASSERT_TRUE(f.has_value()) << error;
    EXPECT_EQ(nameOf(*f), "Sierra MatchKing 168gr");
    EXPECT_EQ(f->kind, DragFuncKind::Special);

    f = readDragFunctionFile(write("b.drg", "L,B,0.01,0.008,0.03\n0.3\t1\n"), error);
    ASSERT_TRUE(f.has_value()) << error;
    EXPECT_EQ(nameOf(*f), "B");

    f = readDragFunctionFile(write("c.pro", proBytes(proRecord("G1 old", DragFuncKind::Standard))), error);
    ASSERT_TRUE(f.has_value()) << error;
    EXPECT_EQ(f->uniqueNumber, 3);
    EXPECT_EQ(f->kind, DragFuncKind::StandardCopy);

    const fs::path dat = dir / "drag_function.dat";
    ASSERT_TRUE(DragLibrary::writeSingleRecord(knownFunction(), dat));
    f = readDragFunctionFile(dat, error);
    ASSERT_TRUE(f.has_value()) << error;
    EXPECT_TRUE(*f == knownFunction());

    // What cannot serve as a drag function, each with its explanation.
    const auto fails = [&](const fs::path& p) {
        error.clear();
        const bool failed = !readDragFunctionFile(p, error).has_value() && !error.empty();
        return failed;
    };
    EXPECT_TRUE(fails(write("d.txt", formatSnr(knownFunction()))));
    EXPECT_TRUE(fails(dir / "gone.snr"));
    EXPECT_TRUE(fails(write("e.pro", "")));
    EXPECT_TRUE(fails(write("f.dat", DragLibrary::singleRecordBytes(knownFunction()).substr(0, 700))));
    EXPECT_TRUE(fails(write("g.snr", "CFM, no points\r\n\r\n")));
    DragFunc bad = knownFunction();
    bad.points[1].cd = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(fails(write("h.dat", DragLibrary::singleRecordBytes(bad))));
}
