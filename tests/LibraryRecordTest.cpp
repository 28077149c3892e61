#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "LibraryRecord.h"
#include "TextCodec.h"

namespace {
void put16(std::string& b, size_t at, uint16_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>(v >> 8);
}
void put32(std::string& b, size_t at, int32_t v) { std::memcpy(&b[at], &v, 4); }  // little-endian host
void put64(std::string& b, size_t at, double v) { std::memcpy(&b[at], &v, 8); }

DragFunc sample() {
    DragFunc f;
    f.setName(utf8ToCp1251("Тест Ёё№"));
    f.setDescription(utf8ToCp1251("Пуля 7,62"));
    f.uniqueNumber = 17;
    f.sectionalDensity = 0.253;
    f.stabilityFactor = 1.5;
    f.flagByte = true;
    f.twist = 10;
    f.kind = DragFuncKind::Special;
    f.bulletLength = 1.215;
    f.bulletDiameter = 0.308;
    f.bulletWeight = 168;
    f.points = {{0.5, 0.2}, {1.0, 0.4}};
    return f;
}
}  // namespace

// The record built byte by byte at its offsets, independently of the writer.
TEST(LibraryRecord, V3LayoutByteForByte) {
    std::string expected(673 + 32, '\0');
    const char16_t name[] = {0x0422, 0x0435, 0x0441, 0x0442, 0x20, 0x0401, 0x0451, 0x2116};
    for (size_t i = 0; i < 8; ++i) put16(expected, 2 * i, name[i]);
    const char16_t description[] = {0x041F, 0x0443, 0x043B, 0x044F, 0x20, '7', ',', '6', '2'};
    for (size_t i = 0; i < 9; ++i) put16(expected, 100 + 2 * i, description[i]);
    put32(expected, 612, 17);
    put64(expected, 616, 0.253);
    put64(expected, 624, 1.5);
    expected[632] = 1;
    put64(expected, 633, 10);
    put32(expected, 641, 2);
    put64(expected, 645, 1.215);
    put64(expected, 653, 0.308);
    put64(expected, 661, 168);
    put32(expected, 669, 2);
    put64(expected, 673, 0.2);  // Cd first
    put64(expected, 681, 0.5);
    put64(expected, 689, 0.4);
    put64(expected, 697, 1.0);

    ByteWriter w;
    writeLibraryRecordV3(w, sample());
    EXPECT_EQ(w.data(), expected);

    ByteReader r(expected);
    DragFunc back;
    ASSERT_TRUE(readLibraryRecordV3(r, back));
    EXPECT_TRUE(r.atEnd());
    EXPECT_TRUE(back == sample());
}

TEST(LibraryRecord, V2IsV3WithoutTheBulletNumbers) {
    DragFuncOld old;
    std::strcpy(old.name, "Old");
    old.uniqueNumber = 12;
    old.kind = DragFuncKind::StandardCopy;
    old.points = {{2.0, 0.3}};
    ByteWriter w;
    writeLibraryRecordV2(w, old);
    ASSERT_EQ(w.data().size(), 649u + 16);
    std::string n(4, '\0');
    put32(n, 0, 1);
    EXPECT_EQ(w.data().substr(645, 4), n);
    ByteReader r(w.data());
    DragFuncOld back;
    ASSERT_TRUE(readLibraryRecordV2(r, back));
    EXPECT_STREQ(back.name, "Old");
    EXPECT_EQ(back.kind, DragFuncKind::StandardCopy);
    ASSERT_EQ(back.points.size(), 1u);
    EXPECT_EQ(back.points[0].mach, 2.0);
    EXPECT_EQ(back.points[0].cd, 0.3);
}

TEST(LibraryRecord, TextConversionAndFields) {
    // Every byte except the Cyrillic ones comes back as itself; Ё, ё, № and А..я map as tabled.
    for (int b = 1; b < 256; ++b) {
        const char c = static_cast<char>(b);
        EXPECT_EQ(fromUtf16Cyrillic(toUtf16Cyrillic(c)), c) << b;
    }
    EXPECT_EQ(toUtf16Cyrillic(static_cast<char>(0xC0)), u'\u0410');
    EXPECT_EQ(toUtf16Cyrillic(static_cast<char>(0xFF)), u'\u044F');
    EXPECT_EQ(toUtf16Cyrillic(static_cast<char>(0x80)), u'\u0080');
    EXPECT_EQ(fromUtf16Cyrillic(u'\u20AC'), static_cast<char>(0xAC));  // other units: their low byte

    // A name of exactly 49 bytes round-trips; 50 units without a terminator are cut to 49.
    DragFunc f;
    f.setName(std::string(49, 'x'));
    ByteWriter w;
    writeLibraryRecordV3(w, f);
    std::string bytes = w.data();
    ByteReader r(bytes);
    DragFunc back;
    ASSERT_TRUE(readLibraryRecordV3(r, back));
    EXPECT_EQ(std::string(back.name), std::string(49, 'x'));
    put16(bytes, 98, 'y');
    ByteReader r2(bytes);
    ASSERT_TRUE(readLibraryRecordV3(r2, back));
    EXPECT_EQ(std::string(back.name), std::string(49, 'x'));
    // Any non-zero flag byte reads as set.
    bytes[632] = 7;
    ByteReader r3(bytes);
    back.flagByte = false;
    ASSERT_TRUE(readLibraryRecordV3(r3, back));
    EXPECT_TRUE(back.flagByte);
}

TEST(LibraryRecord, ShortAndLyingRecords) {
    ByteWriter w;
    writeLibraryRecordV3(w, sample());
    const std::string full = w.data();
    // Cut inside the points: the points read so far are kept.
    ByteReader cut(std::string_view(full).substr(0, 673 + 20));
    DragFunc f;
    EXPECT_FALSE(readLibraryRecordV3(cut, f));
    EXPECT_EQ(f.points.size(), 1u);
    // A count of two thousand million in a short record allocates nothing large and fails cleanly.
    std::string lying = full.substr(0, 673);
    put32(lying, 669, 2000000000);
    ByteReader r(lying);
    EXPECT_FALSE(readLibraryRecordV3(r, f));
    EXPECT_TRUE(f.points.empty());
    EXPECT_LT(f.points.capacity(), 16u);
    // A negative count means no points.
    put32(lying, 669, -5);
    ByteReader neg(lying);
    EXPECT_TRUE(readLibraryRecordV3(neg, f));
    EXPECT_TRUE(f.points.empty());
    // Cut before the count.
    ByteReader tiny(std::string_view(full).substr(0, 10));
    EXPECT_FALSE(readLibraryRecordV3(tiny, f));
}
